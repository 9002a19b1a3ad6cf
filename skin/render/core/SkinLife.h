#pragma once
// When a skin object is freed, in one rule.
//
// The objects the skin hangs on a window -- a frame, a control skin, a menu
// bar, a popup menu skin -- are freed one way only. Each counts the calls of
// it in flight: the one entry for messages (SkinDispatch) holds the object
// for every message its window sends it and lets go when the message
// returns, and a loop the object runs on its own (a menu bar's menu, a
// frame's hover check) holds it the same way. Whoever lets an object go --
// the manager a frame or a popup skin, the frame its menu bar, the list of a
// window's controls a control skin -- calls Release: the object unhooks
// itself from its window, its component and its keeper, and is finished;
// it is deleted the moment nothing of it is in flight, at once when nothing
// runs, else when the last call returns. No component owns a skin object,
// and nothing else deletes one.

namespace orbelin {

class TSkinLife {
public:
    TSkinLife() = default;
    TSkinLife(const TSkinLife&) = delete;
    TSkinLife& operator=(const TSkinLife&) = delete;

    // Unhooks the object and finishes it. Its keeper drops its pointer
    // now: the object may be gone when Release returns.
    void Release();
    bool Released() const { return FReleased; }

protected:
    virtual ~TSkinLife() = default;
    // Takes the object off everything that could still call it; runs once,
    // from Release.
    virtual void Unhook() {}

private:
    friend class TInFlight;
    void DeleteWhenDone();

    int FInFlight = 0;
    bool FReleased = false;
};

// Held across one call of a skin object: the object outlives it.
class TInFlight {
public:
    explicit TInFlight(TSkinLife& life) : FLife(life) { ++FLife.FInFlight; }
    ~TInFlight()
    {
        --FLife.FInFlight;
        FLife.DeleteWhenDone();
    }
    TInFlight(const TInFlight&) = delete;
    TInFlight& operator=(const TInFlight&) = delete;

private:
    TSkinLife& FLife;
};

} // namespace orbelin
