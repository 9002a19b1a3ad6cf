#include "app/CommandLock.h"

#include "ui/Application.h"

#include <algorithm>

namespace orbelin {

TCommandLock::TCommandLock(const std::vector<TControl*>& commands, const std::vector<TMemo*>& boxes)
    : FFocus(GetFocus())
{
    FSaved.reserve(commands.size());
    for (TControl* command : commands)
        FSaved.push_back({command, command->Enabled()});
    for (TMemo* box : boxes) {
        FBoxes.push_back({box, box->ReadOnly()});
        box->SetReadOnly(true);
    }
    Application().SetCursorOverride(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    for (const TSaved& saved : FSaved)
        saved.Control->SetEnabled(false);
}

TCommandLock::~TCommandLock()
{
    for (const TSaved& saved : FSaved)
        saved.Control->SetEnabled(saved.Enabled);
    for (const TSavedBox& saved : FBoxes)
        saved.Box->SetReadOnly(saved.ReadOnly);
    Application().SetCursorOverride(nullptr);
    // Disabling the focused button left the focus nowhere; keys would reach
    // no control of the window until a click.
    HWND active = GetActiveWindow();
    if (FFocus && !GetFocus() && IsWindow(FFocus) && IsWindowEnabled(FFocus) && active &&
        (FFocus == active || IsChild(active, FFocus)))
        SetFocus(FFocus);
}

void TCommandLock::Defer(TControl& control, bool enabled)
{
    const auto held = std::find_if(FSaved.begin(), FSaved.end(), [&](const TSaved& s) { return s.Control == &control; });
    if (held != FSaved.end())
        held->Enabled = enabled;
    else
        control.SetEnabled(enabled);
}

} // namespace orbelin
