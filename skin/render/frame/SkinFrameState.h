#pragma once
// What a skinned frame knows of its window, shared by the frame's parts
// (painting, non-client input, the system menu, the menu bar): the window
// and its skin, the frame's metrics, the window's state and styles as the
// frame last saw them, and the non-client object under the pointer.

#include "skin/render/frame/SkinFrameLayout.h"

#include <windows.h>

namespace orbelin {

class ISkinEngine;
class TForm;
class TNCObject;
class TSkinData;
class TSkinMenuBar;

struct TSkinFrameState {
    enum TFrameState : int { fsAttached = 0, fsRunning = 1, fsReskinning = 3, fsDestroying = 4, fsFitting = 5, fsFinished = 6 };
    enum TWindowState : int { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
    enum TMdiRole : int { mrNone = 0, mrFrame = 1, mrChild = 2 };
    // The bits of Availability: what the window's caption offered before the skin took it.
    enum TAvailability : unsigned { avMaximize = 1, avMinimize = 2, avSystemMenu = 8, avCaption = 16 };

    explicit TSkinFrameState(ISkinEngine& engine) : Engine(engine) {}

    // The skin draws this window's frame (it skins main menus), not only its controls.
    bool FrameSkinned() const;
    bool IsMdiChild() const { return MdiRole == mrChild; }
    // An MDI child the frame leaves to the system (maximized or minimized).
    bool MdiChildNotNormal() const { return IsMdiChild() && WindowState != wsNormal; }
    // An MDI child whose client (its frame) shows a maximized child.
    bool InMaximizedClient() const;
    // The frame point (window-relative) of a screen point.
    POINT FramePoint(POINT screen) const;
    // The window state from the window's placement.
    void ReadWindowState();
    // Takes the caption styles off the window (or gives back what it had),
    // so that the system draws no caption of its own.
    void SetCaptionStyles(bool restore);

    ISkinEngine& Engine;
    HWND Window = nullptr;
    HWND OwnerWindow = nullptr;
    TForm* Form = nullptr; // null for a raw window (a message box, a dialog)
    TSkinData* Skin = nullptr;
    TFrameMetrics Metrics;
    RECT InitialClient{}; // the client area the skinned frame keeps
    int MenuBarHeight = 0;
    int FrameKind = fkPlain;
    int FrameState = fsAttached;
    int WindowState = wsNormal;
    int MdiRole = mrNone;
    HWND MdiClient = nullptr; // an MDI frame's client window
    bool Active = true;
    bool RightToLeft = false;
    LONG_PTR Style = 0;
    unsigned Availability = 0;
    TSkinMenuBar* MenuBar = nullptr; // let go by the frame (SkinLife)
    TNCObject* HotObject = nullptr;
    // A menu of the frame's menu bar is open (its own loop runs).
    bool InMenuLoop = false;
};

} // namespace orbelin
