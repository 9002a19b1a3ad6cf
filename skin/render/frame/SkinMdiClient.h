#pragma once
// The MDI client of a skinned MDI frame: its children get skinned frames as
// they are created, and the frame's skinned menu bar follows the menus the
// client is given and the maximized child whose buttons it shows.

#include "skin/render/core/SkinDispatch.h"

#include <windows.h>

namespace orbelin {

struct TSkinFrameState;

class TSkinMdiClient {
public:
    // life: the frame's, which the client's messages hold as they run.
    TSkinMdiClient(TSkinFrameState& frame, TSkinLife& life) : FFrame(frame), FLife(life) {}
    TSkinMdiClient(const TSkinMdiClient&) = delete;
    TSkinMdiClient& operator=(const TSkinMdiClient&) = delete;

    // Hooks the client and skins the children it already has.
    void Hook(HWND client);
    void Unhook() { FSubclass.Remove(); }

    // Whether the client's active child is maximized (its buttons then
    // live in the frame's menu bar).
    static bool ActiveChildMaximized(HWND client);

private:
    LRESULT Procedure(UINT msg, WPARAM wParam, LPARAM lParam);
    // After a change of children: the manager's flag follows the active
    // child, and the frame repaints its bar.
    void ChildrenChanged();
    void RebuildMenuBar();

    TSkinFrameState& FFrame;
    TSkinLife& FLife;
    TWindowSubclass FSubclass;
};

} // namespace orbelin
