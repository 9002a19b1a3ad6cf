#pragma once
// An object of a skinned frame's non-client area that reacts to the mouse
// (a title button, an item of the menu bar). The objects of one frame share
// one hot object: the one under the pointer or pressed.

#include "skin/render/draw/SkinGeometry.h"

namespace orbelin {

class TNCObject {
public:
    // hot: the frame's slot for its hot object, which outlives the object.
    explicit TNCObject(TNCObject*& hot) : FHot(hot) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    enum TState : int { nsNormal = 1, nsPressed = 2, nsHot = 3 };

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    TSkinRect Rect; // frame coordinates
    bool Visible = false;
    int State = nsNormal;

protected:
    // The frame's hot object from now on, in this state, when visible.
    void BecomeHot(int state);

private:
    TNCObject*& FHot;
};

} // namespace orbelin
