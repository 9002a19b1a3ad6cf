#include "skin/render/controls/SkinControlRules.h"

#include "base/AnsiText.h"
#include "skin/data/SkinData.h"

#include <algorithm>
#include <cctype>

namespace orbelin {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

using enum TSkinControlType;

TSkinChoice Make(TSkinKind kind, bool recolour = false) { return TSkinChoice{kind, recolour}; }

TSkinChoice FromSkin3rd(const std::string& kind, const TSkinData& store)
{
    const auto has = [&](TSkinControlType t) { return store.SkinControls.Contains(t); };
    TSkinChoice c;
    if (kind == "combobox" && has(xcCombo))
        c = Make(TSkinKind::ComBox);
    else if (kind == "edit" && has(xcEdit)) {
        c = Make(TSkinKind::Edit);
        c.ByHandle = true;
    } else if (kind == "radiobutton" && has(xcRadioButton))
        c = Make(TSkinKind::RadioButton);
    else if (kind == "panel" && has(xcPanel)) {
        c = Make(TSkinKind::Box, true);
        c.SetTransparent = true;
    } else if (kind == "trackbar" && has(xcButton)) {
        c = Make(TSkinKind::TrackBar);
        c.SetTransparent = true;
    } else if (kind == "button" && has(xcButton))
        c = Make(TSkinKind::Button);
    else if (kind == "tab" && has(xcTab) && store.Tabs) {
        c = Make(TSkinKind::Tab);
        c.ByHandle = true;
    } else if (kind == "progress" && has(xcProgress))
        c = Make(TSkinKind::Progress);
    else if (kind == "scrollbar" && has(xcScrollbar))
        c = Make(TSkinKind::ScrollBar, true);
    else if (kind == "radiogroup" && has(xcPanel))
        c = Make(TSkinKind::RadioGroup);
    else if (kind == "checkgroup" && has(xcPanel))
        c = Make(TSkinKind::CheckGroup);
    else if (kind == "checkbox" && has(xcCheckBox))
        c = Make(TSkinKind::CheckBox);
    return c;
}

} // namespace

bool SkippedByTag(int tag, int disableTag) { return tag % 100 == disableTag; }

std::string Skin3rdKind(const TSkinData& store, const std::string& className)
{
    const std::string prefix = Lower(className) + "=";
    for (const std::string& line : store.Skin3rd().Lines()) {
        const std::string lower = Lower(line);
        if (lower.rfind(prefix, 0) == 0)
            return lower.substr(lower.find('=') + 1, 50);
    }
    return {};
}

TSkinChoice ChooseComponentSkin(const TControlTraits& k, const TSkinData& store)
{
    const auto has = [&](TSkinControlType t) { return store.SkinControls.Contains(t); };
    const std::string n = Upper(k.ClassName);
    if (n == "TDBCOMBOBOXEH" || n == "TQRPREVIEW" || n == "TFRDESIGNERPAGE" || n == "TFRPBOX") {
        TSkinChoice walk = Make(TSkinKind::WalkOnly);
        walk.WalkInto = true;
        return walk;
    }
    // A Skin3rd line decides, also when its kind is unknown or switched off.
    if (const std::string kind = Skin3rdKind(store, n); !kind.empty())
        return FromSkin3rd(kind, store);

    TSkinChoice c;
    if (n == "TTABSET" && has(xcTab) && store.Tabs)
        c = Make(TSkinKind::Tab31);
    else if (n == "TTABBEDNOTEBOOK" && has(xcTab) && store.Tabs) {
        c = Make(TSkinKind::Tab);
        c.OnParent = true;
    } else if (n == "TMVCPANEL")
        c = Make(TSkinKind::None);
    else if (n == "TTRACKBAR" && has(xcButton))
        c = Make(TSkinKind::TrackBar);
    else if (n == "TUPDOWN" && has(xcButton))
        c = Make(TSkinKind::UpDown);
    else if (n == "TSPEEDBUTTON" && has(xcSpeedButton))
        c = Make(TSkinKind::SpeedButton);
    else if (n == "TSCROLLBAR" && has(xcScrollbar))
        c = Make(TSkinKind::ScControl);
    else if (n == "TDBNAVIGATOR" && has(xcPanel)) {
        c = Make(TSkinKind::Box, true);
        c.SetFlat = true;
    } else if (k.GroupBox && has(xcPanel)) {
        c = Make(TSkinKind::GroupBox, true);
        c.WalkInto = true;
    } else if (k.RadioButton && has(xcRadioButton))
        c = Make(TSkinKind::RadioButton);
    else if (k.ComboBox && has(xcCombo))
        c = Make(TSkinKind::ComBox);
    else if (n == "TDATETIMEPICKER" && has(xcEdit)) {
        c = Make(k.PickerMode == 1 ? TSkinKind::Edit : TSkinKind::ComBox);
        c.ByHandle = k.PickerMode == 1;
    } else if ((n == "TRICHEDIT" || n == "TWWDBRICHEDIT" || n == "TDXDBMEMO") && has(xcScrollbar))
        c = Make(TSkinKind::ScrollBar, true);
    else if (k.BitBtn)
        c = Make(has(xcBitBtn) ? TSkinKind::BitButton : TSkinKind::None);
    else if (k.Panel && has(xcPanel)) {
        c = Make(TSkinKind::Box, true);
        c.WalkInto = true;
    } else if ((n == "TDXTREELIST" || n == "TDXDBTREELIST" || n == "TDXDBGRID") && has(xcScrollbar))
        c = Make(TSkinKind::ScrollBar, false);
    else if (k.Memo && has(xcScrollbar))
        c = Make(TSkinKind::ScrollBar, true);
    else if (k.ListView && has(xcScrollbar))
        c = Make(TSkinKind::ListView, false);
    else if (has(xcScrollbar) && k.Windowed && (k.ScrollStyle || k.Memo || k.Tag == 55))
        c = Make(TSkinKind::ScrollBar, true);
    else if (k.Button && has(xcButton))
        c = Make(TSkinKind::Button);
    else if (k.Edit && has(xcEdit)) {
        c = Make(TSkinKind::Edit);
        c.ByHandle = true;
    } else if (k.Form) {
        c = Make(TSkinKind::Box, true);
        c.WalkInto = true;
    }
    return c;
}

TSkinChoice ChooseRawSkin(const std::string& className, uint32_t style)
{
    const std::string n = Lower(className);
    TSkinChoice c;
    c.ByHandle = true;
    if (n == "button") {
        if ((style & 7) == 7)
            c.Kind = TSkinKind::None; // group box
        else if ((style & 2) != 0 || (style & 5) == 5)
            c.Kind = TSkinKind::CheckBox;
        else if ((style & 9) == 9 || (style & 4) != 0)
            c.Kind = TSkinKind::RadioButton;
        else
            c.Kind = TSkinKind::Button;
    } else if (n == "combobox") {
        c.Kind = (style & 3) == 1 ? TSkinKind::None : TSkinKind::ComBox;
    } else if (n == "comboboxex32") {
        c.Kind = TSkinKind::ComBox;
        c.OnFirstChild = true;
    } else if (n == "scrollbar") {
        c.Kind = TSkinKind::Sizer;
    } else if (n == "systabcontrol32") {
        c.Kind = (style & 0x2000) != 0 ? TSkinKind::None : TSkinKind::Tab;
    } else if (n == "edit") {
        c.Kind = TSkinKind::Edit;
    }
    return c;
}

} // namespace orbelin
