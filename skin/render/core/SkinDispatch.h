#pragma once
// Puts a handler in front of a window's procedure and takes it out again.
// Several may stand on one window and leave in any order; the handler
// passes a message on with CallPrevious, from inside its own call only.
// The handler must not throw (the window's caller cannot take exceptions)
// nor destroy this object while it runs.

#include <windows.h>

#include <functional>

namespace orbelin {

class TWindowSubclass {
public:
    using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    TWindowSubclass() = default;
    ~TWindowSubclass() { Remove(); }
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // False when the window is gone or already hooked by this object.
    bool Install(HWND window, THandler handler);
    void Remove();
    bool Installed() const { return FWindow != nullptr; }
    HWND Window() const { return FWindow; }
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    HWND FWindow = nullptr;
    THandler FHandler;
};

} // namespace orbelin
