#include "ui/WindowSearch.h"

#include "ui/CallbackException.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace orbelin {

namespace {

constexpr UINT kAnswerTimeoutMs = 2000;

std::string ClassName(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

bool SameClass(HWND window, std::string_view className)
{
    return className.empty() || lstrcmpiA(ClassName(window).c_str(), std::string(className).c_str()) == 0;
}

struct TTopSearch {
    DWORD Process;
    std::string_view Class;
    std::string_view Caption;
    HWND Found = nullptr;
    TCallbackException Error;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<TTopSearch*>(param);
    return search.Error.Run([&] {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if ((search.Process != 0 && process != search.Process) || !IsWindowVisible(window) ||
            !SameClass(window, search.Class) || (!search.Caption.empty() && WindowText(window) != search.Caption))
            return TRUE;
        search.Found = window;
        return FALSE;
    });
}

} // namespace

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length))
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &copied))
        return {};
    text.resize(std::min(static_cast<size_t>(copied), static_cast<size_t>(length)));
    return text;
}

std::vector<HWND> ChildWindows(HWND parent, std::string_view className)
{
    struct TSearch {
        std::string_view Class;
        std::vector<HWND> Found;
        TCallbackException Error;
    } search{className, {}, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<TSearch*>(param);
            return s.Error.Run([&] {
                if (SameClass(child, s.Class))
                    s.Found.push_back(child);
                return TRUE;
            });
        },
        reinterpret_cast<LPARAM>(&search));
    search.Error.Rethrow();
    return search.Found;
}

HWND ChildWithText(HWND parent, std::string_view className, std::string_view text)
{
    for (HWND child : ChildWindows(parent, className))
        if (WindowText(child) == text)
            return child;
    return nullptr;
}

HWND WaitForTopWindow(DWORD process, std::string_view className, std::string_view caption, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        TTopSearch search{process, className, caption, nullptr, {}};
        EnumWindows(&MatchTop, reinterpret_cast<LPARAM>(&search));
        search.Error.Rethrow();
        if (search.Found || std::chrono::steady_clock::now() >= end)
            return search.Found;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace orbelin
