#pragma once
// The one entry for the messages of the skin's objects.
//
// Three layers may stand on a skinned window, and a message meets them in a
// fixed order, whatever the order they were put there:
//  1. The manager's CBT hook (SkinManager) hears of the window's creation,
//     activation and destruction before the window does (HCBT_CREATEWND
//     before WM_NCCREATE, HCBT_ACTIVATE before WM_ACTIVATE, HCBT_DESTROYWND
//     before WM_DESTROY). It attaches and frees skins there; it sees no
//     other message.
//  2. The subclass (TWindowSubclass, comctl32's subclassing) sees every
//     message the window gets before the window's own procedure: a frame,
//     a popup menu skin, the skin of a raw window's control and an MDI
//     client's hook stand here. A subclass that someone else adds later
//     stands in front of ours.
//  3. The window's own procedure follows. For a component that is the
//     component layer's, which hands the message to the component's
//     WindowProc, where a frame's form hook and the skin of a component
//     control stand (TWindowProcHook). There they also see the component
//     messages (CM_...) that the component layer performs on a component
//     directly, which reach no window procedure.
// So a form that is skinned whole sees a window message in its subclass
// (the frame's stages) and again in its form hook, which takes only
// WM_SETTEXT, SKM_RESKIN and CM_DIALOGCHAR for itself; a component message
// it sees once, in its form hook.
//
// Both entries hold the object they call for the whole call (SkinLife): no
// object is freed while a message of it runs. An exception that leaves the
// subclass's handler goes to the application's error box, as the system
// cannot take one; one that leaves a WindowProc hook goes on to the
// component layer, which does the same.

#include "skin/render/core/SkinLife.h"
#include "ui/Controls.h"

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

    // Puts handler in front of the window's procedure, for life (the skin
    // object that handler belongs to). False when the window is gone or
    // already hooked by this object.
    bool Install(HWND window, TSkinLife& life, THandler handler);
    void Remove();
    bool Installed() const { return FWindow != nullptr; }
    HWND Window() const { return FWindow; }
    // Passes a message on, from inside the handler's own call only.
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    HWND FWindow = nullptr;
    TSkinLife* FLife = nullptr;
    THandler FHandler;
};

// The same in a component's replaceable WindowProc.
class TWindowProcHook {
public:
    using THandler = std::function<void(TMessage& message)>;

    TWindowProcHook() = default;
    ~TWindowProcHook() { Remove(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    void Install(TControl& component, TSkinLife& life, THandler handler);
    // Gives the component its WindowProc back.
    void Remove();
    // The component is gone: there is nothing to give back, nor to pass on to.
    void Forget();
    bool Installed() const { return FComponent != nullptr; }
    // Passes a message on to the component's own WindowProc; still right
    // after Remove, for the rest of a call in flight.
    void CallPrevious(TMessage& message) const;
    bool CanPassOn() const { return static_cast<bool>(FPrevious); }

private:
    TControl* FComponent = nullptr;
    TWndMethod FPrevious;
};

} // namespace orbelin
