#pragma once
// Carries an exception out of a callback that the system calls while it
// enumerates (windows, children): the callback ends the enumeration instead
// of letting the exception cross the system, and the code that started the
// enumeration raises it again once the system has returned.
//
//   TCallbackException error;
//   EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&state)); // Visit: state.Error.Run(...)
//   error.Rethrow();

#include <windows.h>

#include <exception>

namespace orbelin {

class TCallbackException {
public:
    // The callback's body: its result, or FALSE (stop) once it raised.
    template <class F>
    BOOL Run(F&& body) noexcept
    {
        if (FError)
            return FALSE;
        try {
            return body();
        } catch (...) {
            FError = std::current_exception();
            return FALSE;
        }
    }
    bool Failed() const { return FError != nullptr; }
    void Rethrow() const
    {
        if (FError)
            std::rethrow_exception(FError);
    }

private:
    std::exception_ptr FError;
};

} // namespace orbelin
