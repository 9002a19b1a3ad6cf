#pragma once
// Holds a window still for one long command while its messages go on being
// dispatched: the commands that could start a second one, or touch what the
// running one works on, are disabled, and the pointer shows the wait cursor
// over the program's windows. On every way out (the normal end, an error,
// the program closing) both return as they were: each command its enabled
// state, or the one its window decided meanwhile (Defer), and the keyboard
// focus to the command that the lock took it from.

#include "ui/Controls.h"

#include <vector>

namespace orbelin {

class TCommandLock {
public:
    explicit TCommandLock(const std::vector<TControl*>& commands);
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
    std::vector<TSaved> FSaved;
    HWND FFocus;
};

} // namespace orbelin
