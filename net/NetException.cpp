#include "net/NetException.h"

#include "base/SystemError.h"

namespace orbelin {

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
