#include "skin/render/core/SkinWindowInfo.h"

#include <algorithm>

namespace orbelin {

std::string WindowClassName(HWND window)
{
    char name[101] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string CaptionText(HWND window)
{
    char text[1001] = {};
    const auto n = SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return std::string(text, static_cast<size_t>(std::clamp<LRESULT>(n, 0, 1000)));
}

} // namespace orbelin
