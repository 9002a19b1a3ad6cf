#include "skin/render/core/SkinDispatch.h"

#include "ui/Application.h"

#include <commctrl.h>

namespace orbelin {

bool TWindowSubclass::Install(HWND window, THandler handler)
{
    if (FWindow || !IsWindow(window))
        return false;
    FHandler = std::move(handler);
    if (!SetWindowSubclass(window, &Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    FWindow = window;
    return true;
}

void TWindowSubclass::Remove()
{
    if (!FWindow)
        return;
    RemoveWindowSubclass(FWindow, &Procedure, reinterpret_cast<UINT_PTR>(this));
    FWindow = nullptr;
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return DefSubclassProc(FWindow, msg, wParam, lParam);
}

LRESULT CALLBACK TWindowSubclass::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data)
{
    auto* self = reinterpret_cast<TWindowSubclass*>(data);
    // No exception may cross into the system: it goes to the error box.
    LRESULT result = 0;
    TApplication::Guard([&] { result = self->FHandler(msg, wParam, lParam); });
    if (msg == WM_NCDESTROY && self->FWindow == window) {
        // The window's last message: the subclass leaves with it.
        RemoveWindowSubclass(window, &Procedure, reinterpret_cast<UINT_PTR>(self));
        self->FWindow = nullptr;
    }
    return result;
}

} // namespace orbelin
