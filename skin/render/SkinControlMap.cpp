#include "skin/render/SkinControlMap.h"

#include "skin/data/SkinData.h"
#include "skin/render/SkinButtons.h"
#include "skin/render/SkinFrame.h"
#include "skin/render/SkinManager.h"
#include "skin/render/SkinScrolling.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace orbelin {

namespace {

// Whether the frame already skins this control (an OnSkinControl object,
// or a window object of the same handle).
bool AlreadySkinned(const TSkinFrame& frame, TControl& control)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    for (const TSkinControl* skinned : frame.Controls()) {
        if (skinned->Owner() == &control)
            return true;
        if (windowed && windowed->HandleAllocated() && skinned->Window() == windowed->WindowHandle())
            return true;
    }
    return false;
}

void Attach(TSkinControl* object, TSkinFrame& frame, TSkinData& store, const TSkinChoice& choice, TControl& control)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (auto* bars = dynamic_cast<TSkinScrollBar*>(object); bars && windowed)
        bars->AttachScrolling(windowed, &store, choice.Recolour, &frame, &frame.ControlCanvas());
    else if (choice.OnParent && control.Parent())
        object->AttachWindow(control.Parent()->Handle(), &store, &frame, &frame.ControlCanvas());
    else if (choice.ByHandle && windowed)
        object->AttachWindow(windowed->Handle(), &store, &frame, &frame.ControlCanvas());
    else
        object->AttachControl(&frame, &store, choice.Recolour, &frame.ControlCanvas());
}

void SkinOne(TSkinFrame& frame, TWinControl& container, TControl& control, TSkinData& store);

void WalkInto(TSkinFrame& frame, TWinControl& container, TSkinData& store)
{
    // A copy: skinning may create windows, never controls, but stays safe if it did.
    std::vector<TControl*> children;
    for (int i = 0; i < container.ControlCount(); ++i)
        children.push_back(container.Controls(i));
    for (TControl* child : children)
        SkinOne(frame, container, *child, store);
}

void SkinOne(TSkinFrame& frame, TWinControl& container, TControl& control, TSkinData& store)
{
    if (SkippedByTag(static_cast<int>(control.Tag), store.DisableTag) || AlreadySkinned(frame, control))
        return;
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (windowed && !windowed->HandleAllocated()) {
        try {
            windowed->Handle();
        } catch (...) {
            return; // a control without a window stays plain
        }
    }
    if (store.OnSkinControl) {
        TComponent* supplied = nullptr;
        store.OnSkinControl(&frame, &store, &container, &control, std::string(control.ClassName()), supplied);
        if (auto* object = dynamic_cast<TSkinControl*>(supplied)) {
            if (std::find(frame.Controls().begin(), frame.Controls().end(), object) == frame.Controls().end())
                object->AttachControl(&frame, &store, object->SetColour(), &frame.ControlCanvas());
            if (windowed && TraitsOf(control).Panel)
                WalkInto(frame, *windowed, store);
            return;
        }
    }
    const TSkinChoice choice = ChooseComponentSkin(TraitsOf(control), store);
    if (choice.SetTransparent)
        control.SetProperty("Transparent", TPropertyValue(TIdentifier{"True"}));
    if (choice.SetFlat)
        control.SetProperty("Flat", TPropertyValue(TIdentifier{"True"}));
    if (choice.Kind == TSkinKind::RadioGroup || choice.Kind == TSkinKind::CheckGroup) {
        if (windowed)
            for (int i = 0; i < windowed->ControlCount(); ++i) {
                TControl& child = *windowed->Controls(i);
                const TSkinKind kind =
                    choice.Kind == TSkinKind::RadioGroup ? TSkinKind::RadioButton : TSkinKind::CheckBox;
                if (TSkinControl* object = CreateSkinObject(kind, &child))
                    Attach(object, frame, store, TSkinChoice{kind}, child);
            }
        return;
    }
    if (TSkinControl* object = CreateSkinObject(choice.Kind, &control))
        Attach(object, frame, store, choice, control);
    if (choice.WalkInto && windowed)
        WalkInto(frame, *windowed, store);
}

std::string ClassOf(HWND window) { return TSkinManage::ClassNameOf(window); }

} // namespace

TControlTraits TraitsOf(TComponent& component)
{
    TControlTraits t;
    t.ClassName = std::string(component.ClassName());
    t.Tag = static_cast<int>(component.Tag);
    auto* windowed = dynamic_cast<TWinControl*>(&component);
    t.Windowed = windowed != nullptr;
    t.GroupBox = dynamic_cast<TGroupBox*>(&component) != nullptr;
    t.RadioButton = dynamic_cast<TRadioButton*>(&component) != nullptr;
    t.ComboBox = dynamic_cast<TComboBox*>(&component) != nullptr;
    t.BitBtn = dynamic_cast<TBitBtn*>(&component) != nullptr;
    t.Memo = dynamic_cast<TMemo*>(&component) != nullptr;
    t.Button = dynamic_cast<TButton*>(&component) != nullptr;
    t.Edit = t.Memo || dynamic_cast<TEdit*>(&component) != nullptr;
    t.Panel = dynamic_cast<TPanel*>(&component) != nullptr;
    t.Form = dynamic_cast<TForm*>(&component) != nullptr;
    if (windowed && windowed->HandleAllocated())
        t.ScrollStyle = GetWindowLongPtrA(windowed->WindowHandle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL);
    return t;
}

TSkinControl* CreateSkinObject(TSkinKind kind, TComponent* owner)
{
    // Each object is owned by owner (the control, or the frame for a raw window).
    switch (kind) {
    case TSkinKind::Button: return new TSkinButton(owner);
    case TSkinKind::BitButton: return new TSkinBitButton(owner);
    case TSkinKind::CheckBox: return new TSkinCheckBox(owner);
    case TSkinKind::RadioButton: return new TSkinRadioButton(owner);
    case TSkinKind::GroupBox: return new TSkinGroupBox(owner);
    case TSkinKind::Box: return new TSkinBox(owner);
    case TSkinKind::ScrollBar: return new TSkinScrollBar(owner);
    case TSkinKind::ComBox: return new TSkinComBox(owner);
    case TSkinKind::Edit: return new TSkinEdit(owner);
    case TSkinKind::Sizer: return new TSkinSizer(owner);
    case TSkinKind::UpDown: return new TSkinUpDown(owner);
    case TSkinKind::Progress: return new TSkinProgress(owner);
    case TSkinKind::TrackBar: return new TSkinTrackBar(owner);
    case TSkinKind::Tab: return new TSkinTab(owner);
    case TSkinKind::Tab31: return new TSkinTab31(owner);
    case TSkinKind::SpeedButton: return new TSkinSpeedButton(owner);
    case TSkinKind::ScControl: return new TSkinScControl(owner);
    case TSkinKind::None:
    case TSkinKind::WalkOnly:
    case TSkinKind::RadioGroup:
    case TSkinKind::CheckGroup: return nullptr;
    }
    return nullptr;
}

void SkinComponentControls(TSkinFrame& frame, TWinControl& container, TSkinData& store)
{
    WalkInto(frame, container, store);
}

void SkinRawChild(TSkinFrame& frame, HWND window, TSkinData& store)
{
    if (frame.FindControl(window))
        return;
    const TSkinChoice choice = ChooseRawSkin(ClassOf(window), static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)));
    HWND target = choice.OnFirstChild ? GetWindow(window, GW_CHILD) : window;
    if (!target)
        return;
    if (TSkinControl* object = CreateSkinObject(choice.Kind, &frame))
        object->AttachWindow(target, &store, &frame, &frame.ControlCanvas());
}

} // namespace orbelin
