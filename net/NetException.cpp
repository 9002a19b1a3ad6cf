#include "net/NetException.h"

#include "base/Format.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstring>
#endif

namespace orbelin {

std::string SystemErrorText(unsigned code)
{
#ifdef _WIN32
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
    std::string result(text, n);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
        result.pop_back();
    return result;
#else
    return std::strerror(static_cast<int>(code));
#endif
}

namespace {

std::string StubMessage(unsigned win32Error, const std::string& title)
{
    if (win32Error == 0)
        return title;
    return title + ": " + SystemErrorText(win32Error);
}

} // namespace

ENetWS2StubError::ENetWS2StubError(unsigned win32Error, std::string title)
    : ENetException(StubMessage(win32Error, title)), FTitle(std::move(title)), FWin32Error(win32Error),
      FWin32ErrorText(win32Error ? SystemErrorText(win32Error) : std::string())
{
}

} // namespace orbelin
