#pragma once
// The window procedure of a skinned frame, in three stages: what every
// skinned window needs (its size, background and colours, its end), then
// for a window whose frame the skin draws its state and commands, then,
// once the frame runs, the non-client area itself (its size, hit test,
// painting, activation, the mouse, the menu bar's items).

#include <windows.h>

#include <functional>

namespace orbelin {

class TSkinControlList;
class TSkinFrameInput;
class TSkinFramePainter;
class TWindowSubclass;
struct TSkinFrameState;

// What the frame does when its window asks for it.
struct TFrameLifeActions {
    std::function<void()> Start;           // the skin's start message
    std::function<void()> DetachOnDestroy; // the window is being destroyed
    std::function<void()> Finished;        // the window's last message has been handled
};

class TSkinFrameMessages {
public:
    TSkinFrameMessages(TSkinFrameState& state, TSkinFramePainter& painter, TSkinFrameInput& input,
                       TSkinControlList& controls, TWindowSubclass& subclass, TFrameLifeActions actions);
    TSkinFrameMessages(const TSkinFrameMessages&) = delete;
    TSkinFrameMessages& operator=(const TSkinFrameMessages&) = delete;

    LRESULT WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool StageOne(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageTwo(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageThree(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT Pass(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);

    TSkinFrameState& FState;
    TSkinFramePainter& FPainter;
    TSkinFrameInput& FInput;
    TSkinControlList& FControls;
    TWindowSubclass& FSubclass;
    TFrameLifeActions FActions;
};

} // namespace orbelin
