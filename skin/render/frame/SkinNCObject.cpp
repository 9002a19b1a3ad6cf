#include "skin/render/frame/SkinNCObject.h"

namespace orbelin {

void TNCObject::BecomeHot(int state)
{
    if (!Visible)
        return;
    FHot = this;
    State = state;
    Paint();
}

void TNCObject::MouseDown()
{
    if (FHot && FHot != this)
        FHot->MouseLeave();
    BecomeHot(nsPressed);
}

void TNCObject::MouseUp()
{
    if (!Visible)
        return;
    State = nsHot;
    Paint();
}

void TNCObject::MouseEnter()
{
    if (FHot == this)
        return;
    if (FHot)
        FHot->MouseLeave();
    BecomeHot(nsHot);
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    FHot = nullptr;
    State = nsNormal;
    Paint();
}

} // namespace orbelin
