#include "skin/render/core/SkinDispatch.h"

#include "ui/Application.h"

#include <commctrl.h>

namespace orbelin {

// ------------------------------------------------------- TWindowSubclass

bool TWindowSubclass::Install(HWND window, TSkinLife& life, THandler handler)
{
    if (FWindow || !IsWindow(window))
        return false;
    FLife = &life;
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
    LRESULT result = 0;
    {
        // Nothing of self is touched once the hold is gone: it may take
        // the object, and self with it.
        const TInFlight hold(*self->FLife);
        TApplication::Guard([&] { result = self->FHandler(msg, wParam, lParam); });
        if (msg == WM_NCDESTROY && self->FWindow == window) {
            // The window's last message: the subclass leaves with it.
            RemoveWindowSubclass(window, &Procedure, reinterpret_cast<UINT_PTR>(self));
            self->FWindow = nullptr;
        }
    }
    return result;
}

// ------------------------------------------------------- TWindowProcHook

void TWindowProcHook::Install(TControl& component, TSkinLife& life, THandler handler)
{
    Remove();
    FComponent = &component;
    FPrevious = component.WindowProc;
    // The hold is the last thing the call lets go: when it takes the
    // object, giving the WindowProc back ends this very function, and
    // nothing of it is touched after.
    component.WindowProc = [object = &life, handler = std::move(handler)](TMessage& message) {
        const TInFlight hold(*object);
        handler(message);
    };
}

void TWindowProcHook::Remove()
{
    if (!FComponent)
        return;
    FComponent->WindowProc = FPrevious;
    FComponent = nullptr;
}

void TWindowProcHook::Forget()
{
    FComponent = nullptr;
    FPrevious = nullptr;
}

void TWindowProcHook::CallPrevious(TMessage& message) const
{
    if (FPrevious)
        FPrevious(message);
}

} // namespace orbelin
