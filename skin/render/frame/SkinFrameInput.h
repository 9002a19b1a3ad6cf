#pragma once
// The mouse in a skinned frame's non-client area: the title buttons and the
// menu bar items light up under the pointer (a timer notices when it has
// left), a press and release on a title button runs its action, a double
// click on the caption maximizes or restores, a right click opens the
// system menu. Also the window commands those actions post.

#include <windows.h>

namespace orbelin {

class TComponent;
class TNCObject;
class TSkinControlList;
class TSkinFramePainter;
class TSkinLife;
class TSkinSystemMenu;
class TTimer;
class TWindowSubclass;
struct TSkinFrameState;

class TSkinFrameInput {
public:
    static constexpr int HoverInterval = 250;

    // The hover timer is owned by owner (the frame), which tells Forget
    // when it frees it; its ticks hold life (the frame's) as they run.
    TSkinFrameInput(TComponent& owner, TSkinLife& life, TSkinFrameState& state, TSkinFramePainter& painter,
                    TSkinControlList& controls, TSkinSystemMenu& systemMenu, TWindowSubclass& subclass);
    TSkinFrameInput(const TSkinFrameInput&) = delete;
    TSkinFrameInput& operator=(const TSkinFrameInput&) = delete;

    // A non-client mouse message; false leaves it to the window.
    bool HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RunTitleAction(int action, POINT screen);
    // The title button or menu bar item at a frame point, or null.
    TNCObject* ObjectAt(POINT framePoint);

    void CloseWindow();
    void Restore();
    void ToggleMaximize();
    void ToggleMinimize();

    void CreateHoverTimer();
    void SetHoverTimer(bool enabled);
    TTimer* HoverTimer() const { return FHoverTimer; }
    void Forget(const TComponent* component);

private:
    void HoverCheck();
    void MdiCommand(WPARAM command);

    TComponent& FOwner;
    TSkinLife& FLife;
    TSkinFrameState& FState;
    TSkinFramePainter& FPainter;
    TSkinControlList& FControls;
    TSkinSystemMenu& FSystemMenu;
    TWindowSubclass& FSubclass;
    TTimer* FHoverTimer = nullptr; // owned through the component tree
};

} // namespace orbelin
