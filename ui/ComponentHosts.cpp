#include "ui/ComponentHosts.h"

namespace orbelin {

namespace {

TExceptionHandler& ExceptionHandler()
{
    static TExceptionHandler handler;
    return handler;
}

} // namespace

void SetExceptionHandler(TExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void ReportException() noexcept
{
    try {
        if (const TExceptionHandler& handler = ExceptionHandler())
            handler();
    } catch (...) {
    }
}

} // namespace orbelin
