#include "base/SystemError.h"

#include "base/Format.h"

#include <windows.h>

namespace orbelin {

std::string SystemErrorText(unsigned code)
{
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
    std::string result(text, n);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
        result.pop_back();
    return result;
}

std::string LastSystemErrorText()
{
    const DWORD code = GetLastError();
    const std::string text = SystemErrorText(code);
    return text.empty() ? Format("System error %lu", static_cast<unsigned long>(code)) : text;
}

} // namespace orbelin
