#pragma once
// Holds a window still for one long command while its messages go on being
// dispatched: the commands that could start a second one, or touch what the
// running one works on, are disabled, the text boxes it read are read-only
// (selecting and copying still work), and the pointer shows the wait cursor
// over the program's windows. On every way out (the normal end, an error,
// the program closing) all return as they were: each command its enabled
// state, or the one its window decided meanwhile (Defer), each box its
// read-only state, and the keyboard focus to the command that the lock took
// it from.

#include "ui/Controls.h"
#include "ui/StdCtrls.h"

#include <vector>

namespace orbelin {

class TCommandLock {
public:
    explicit TCommandLock(const std::vector<TControl*>& commands, const std::vector<TMemo*>& boxes = {});
    ~TCommandLock();
    TCommandLock(const TCommandLock&) = delete;
    TCommandLock& operator=(const TCommandLock&) = delete;

    // An enabled state decided while the lock holds: for a held command it
    // applies when the lock ends, for any other control at once.
    void Defer(TControl& control, bool enabled);

private:
    struct TSaved {
        TControl* Control;
        bool Enabled;
    };
    struct TSavedBox {
        TMemo* Box;
        bool ReadOnly;
    };
    std::vector<TSaved> FSaved;
    std::vector<TSavedBox> FBoxes;
    HWND FFocus;
};

} // namespace orbelin
