#pragma once
// The common save-file dialog and the themed-controls marker.

#include "base/PropertyTable.h"

#include <windows.h>

#include <string>

namespace orbelin {

class TSaveDialog : public TComponent {
public:
    std::string_view ClassName() const override { return "TSaveDialog"; }
    explicit TSaveDialog(TComponent* owner) : TComponent(owner) {}

    // "Text files|*.txt|All files|*.*" as the form description writes it.
    std::string Filter;
    // With or without the leading dot; added when the user types no extension.
    std::string DefaultExt;
    std::string FileName;
    std::string Title;
    bool OverwritePrompt = false;

    // Runs the dialog modally; true when the user confirmed a file name.
    bool Execute(HWND owner = nullptr);
    const TPropertyTable<TComponent>& Properties() const override;

    // The dialog's filter buffer: '|' becomes NUL, ending with two NULs.
    static std::string FilterBuffer(const std::string& filter);
};

// Marks that the program asks for themed common controls; the request
// itself is the application manifest in the program's resources.
class TXPManifest : public TComponent {
public:
    std::string_view ClassName() const override { return "TXPManifest"; }
    using TComponent::TComponent;
};

} // namespace orbelin
