#pragma once
// Which skin object a control gets: the mapping of component classes, of
// the store's Skin3rd lines and of a dialog's raw child windows. The
// decisions are plain functions of what a control is; the frame creates
// and attaches the objects they name.

#include <cstdint>
#include <string>

namespace orbelin {

class TSkinData;

enum class TSkinKind {
    None,        // no skin object
    WalkOnly,    // no skin object, but the controls inside are walked
    ComBox,
    Edit,
    RadioButton,
    Box,
    TrackBar,
    Button,
    BitButton,
    Tab,
    Tab31,
    Progress,
    ScrollBar,
    CheckBox,
    UpDown,
    GroupBox,
    RadioGroup,  // a radio button skin for each child control
    CheckGroup,  // a check box skin for each child control
    Sizer,
    SpeedButton,
    ScControl,   // a scroll bar control of its own
    ListView,    // scroll bars, and the header above the columns
};

struct TSkinChoice {
    TSkinKind Kind = TSkinKind::None;
    bool Recolour = false;      // the control shows the skin's face colour while skinned
    bool WalkInto = false;      // the controls inside get their skins too
    bool ByHandle = false;      // attached to the window handle, not the component
    bool OnParent = false;      // attached to the parent's window handle
    bool OnFirstChild = false;  // attached to the window's first child (an extended combo box)
    bool SetTransparent = false;
    bool SetFlat = false;
    bool operator==(const TSkinChoice&) const = default;
};

// What the mapping needs to know of a component control.
struct TControlTraits {
    std::string ClassName; // as the component names its class, "TButton"
    bool Windowed = false;
    bool GroupBox = false;
    bool RadioButton = false;
    bool ComboBox = false;
    bool BitBtn = false;
    bool Panel = false;
    bool Memo = false;
    bool Button = false;
    bool Edit = false;
    bool Form = false;
    bool ListView = false;
    bool ScrollStyle = false; // a vertical or horizontal scroll bar style
    int Tag = 0;
    int PickerMode = 0;       // a date-time picker's up-down presentation is 1
};

// A control whose Tag modulo 100 is the store's DisableTag stays plain.
bool SkippedByTag(int tag, int disableTag);
// The kind named by the first Skin3rd line "ClassName=kind" (letter case
// ignored), or an empty text when no line names the class.
std::string Skin3rdKind(const TSkinData& store, const std::string& className);
TSkinChoice ChooseComponentSkin(const TControlTraits& control, const TSkinData& store);
// A raw child window of a dialog by its class name and style.
TSkinChoice ChooseRawSkin(const std::string& className, uint32_t style);

} // namespace orbelin
