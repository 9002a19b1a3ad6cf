#pragma once
// The skinned system menu of a frame: a popup menu of the frame's own
// (Restore, Maximize, Minimize, Close with Shift+F4) drawn by the skin with
// its menu glyphs, opened from the icon button or a right click on the
// caption; a second opening within the double-click time closes the window.
// Where the skin does not draw the system menu the window's own is shown.

#include <windows.h>

#include <functional>

namespace orbelin {

class TComponent;
class TImageList;
class TPopupMenu;
struct TSkinFrameState;

// What the items of the system menu do.
struct TSystemMenuActions {
    std::function<void()> Restore;
    std::function<void()> ToggleMaximize;
    std::function<void()> ToggleMinimize;
    std::function<void()> Close;
};

class TSkinSystemMenu {
public:
    // The glyphs are owned by owner (the frame), the menu by the frame's
    // form (or the frame); the frame tells Forget when either goes.
    TSkinSystemMenu(TComponent& owner, TSkinFrameState& state, TSystemMenuActions actions);
    TSkinSystemMenu(const TSkinSystemMenu&) = delete;
    TSkinSystemMenu& operator=(const TSkinSystemMenu&) = delete;

    // The items for what the window's caption offers (its availability bits).
    void Build();
    void Open(POINT screen);
    // The skin goes: an open menu closes (the frame frees it, Free).
    void Release();
    // Frees the menu; not while it is open.
    void Free();
    // The menu's own loop runs now.
    bool IsOpen() const { return FOpen; }
    // owner frees component: no longer ours to use.
    void Forget(const TComponent* component);

    TPopupMenu* Menu() const { return FMenu; }
    // The window's own system menu, or null.
    HMENU WindowMenu() const { return FWindowMenu; }
    void ReadWindowMenu();

private:
    void BuildGlyphs();

    TComponent& FOwner;
    TSkinFrameState& FState;
    TSystemMenuActions FActions;
    bool FOpen = false;
    TPopupMenu* FMenu = nullptr;        // owned through the component tree, freed by Free
    TImageList* FGlyphs = nullptr;      // owned through the component tree
    HMENU FWindowMenu = nullptr;
    DWORD FLastOpen = 0;
    DWORD FDoubleClickTime = 500;
};

} // namespace orbelin
