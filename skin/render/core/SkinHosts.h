#pragma once
// What the lower parts of the skin engine ask of those above them, as small
// interfaces: a skinned control of the window that keeps it, a frame or a
// menu of the manager that skins them. The frame and the manager implement
// them, so that nothing below has to know either.

#include <windows.h>

namespace orbelin {

class TSkinBitmap;
class TSkinControl;
class TSkinPopupMenu;

// What a skinned control needs of the window that keeps it.
class ISkinControlHost {
public:
    // True when the control was registered already.
    virtual bool RegisterControl(TSkinControl* control) = 0;
    virtual void UnregisterControl(TSkinControl* control) = 0;
    // The push button of a raw window that shows its hot look.
    virtual TSkinControl* HotControl() const = 0;
    virtual void SetHotControl(TSkinControl* control) = 0;
    virtual HWND Window() const = 0;
    // The control's window or component has gone: the host lets its skin
    // go (SkinLife).
    virtual void ControlFinished(TSkinControl* control) = 0;

protected:
    ~ISkinControlHost() = default;
};

// What the frames and menus need of the manager that skins them.
class ISkinEngine {
public:
    // Whether windows are skinned now.
    virtual bool SkinningActive() const = 0;
    // The active child of this MDI client is maximized. Each MDI frame has
    // its own: one frame's children never follow another's.
    virtual bool MdiChildMaximized(HWND client) const = 0;
    // Every child frame of this MDI client takes the look that goes with it.
    virtual void SetMdiMaximized(HWND client, bool maximized) = 0;
    // Posts one of the private skin messages to a window, if this manager
    // skins it: a window that was never skinned or is gone hears none.
    virtual void PostToFrame(HWND window, UINT msg) const = 0;
    // A child of a skinned MDI client, which no activation hook reports.
    virtual void SkinMdiChild(HWND child) = 0;
    // The popups opened from now on belong to a menu bar's drop-down menu.
    virtual void StartMenuBarTracking() = 0;
    // The popups open now belong to the menu bar's drop-down menu.
    virtual void MarkPopupsOfMenuBar() = 0;
    // The default icon of a main-form store, for a window without one; null without.
    virtual const TSkinBitmap* MainDefaultIcon() const = 0;
    // The frame's window is gone: the manager lets the frame go (SkinLife).
    virtual void FrameFinished() = 0;
    // The popup skin of a menu window, or null.
    virtual TSkinPopupMenu* PopupOf(HWND window) const = 0;

protected:
    ~ISkinEngine() = default;
};

} // namespace orbelin
