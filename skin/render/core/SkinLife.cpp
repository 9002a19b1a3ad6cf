#include "skin/render/core/SkinLife.h"

namespace orbelin {

void TSkinLife::Release()
{
    if (FReleased)
        return;
    FReleased = true;
    Unhook();
    DeleteWhenDone();
}

void TSkinLife::DeleteWhenDone()
{
    if (FReleased && FInFlight == 0)
        delete this; // the only delete of a skin object
}

} // namespace orbelin
