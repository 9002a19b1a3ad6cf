#include "skin/render/controls/SkinControlMap.h"

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinButtons.h"
#include "skin/render/controls/SkinControlList.h"
#include "skin/render/controls/SkinElementCtrls.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <cctype>
#include <string>

namespace orbelin {

namespace {

// Print previews make their pages' windows as they are shown: a control of
// one without a window yet is left alone.
bool IsPreviewForm(const TComponent* form)
{
    if (!form)
        return false;
    const std::string name = form->Name();
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("preview") != std::string::npos || name == "TQRStandardPreview" || name == "TppPrintPreview" ||
           name == "TdxfmStdPreview";
}

// Whether the window already skins this control (an OnSkinControl object,
// or a window object of the same handle), or leaves it alone.
bool AlreadySkinned(const TSkinControlList& controls, TControl& control, const TComponent* form)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    for (const TSkinControl* skinned : controls.Items()) {
        if (skinned->LifeState() == TSkinControl::lsDestroyed)
            continue; // its window is gone; the handle may be another's now
        if (skinned->Subject() == &control)
            return true;
        if (windowed && skinned->Window()) {
            if (!windowed->HandleAllocated())
                return IsPreviewForm(form);
            if (skinned->Window() == windowed->WindowHandle())
                return true;
        }
    }
    return false;
}

std::string UpperClassName(const TControl& control)
{
    std::string name(control.ClassName());
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void Attach(TSkinControl* object, const TControlSkinning& target, const TSkinChoice& choice, TControl& control)
{
    TSkinControlList& list = target.Controls;
    TSkinData* store = &target.Store;
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (auto* bars = dynamic_cast<TSkinScrollBar*>(object); bars && windowed)
        bars->AttachScrolling(windowed, store, choice.Recolour, &list, &list.Canvas());
    else if (choice.OnParent && control.Parent())
        object->AttachWindow(control.Parent()->Handle(), store, &list, &list.Canvas());
    else if (choice.ByHandle && windowed)
        object->AttachWindow(windowed->Handle(), store, &list, &list.Canvas());
    else
        object->AttachControl(&list, store, choice.Recolour, &list.Canvas());
}

void SkinOne(const TControlSkinning& target, TWinControl& container, TControl& control);

void WalkInto(const TControlSkinning& target, TWinControl& container)
{
    // A copy: skinning may create windows, never controls, but stays safe if it did.
    std::vector<TControl*> children;
    for (int i = 0; i < container.ControlCount(); ++i)
        children.push_back(container.Controls(i));
    for (TControl* child : children)
        SkinOne(target, container, *child);
}

void SkinOne(const TControlSkinning& target, TWinControl& container, TControl& control)
{
    TSkinData& store = target.Store;
    TSkinControlList& list = target.Controls;
    if (SkippedByTag(static_cast<int>(control.Tag), store.DisableTag) || AlreadySkinned(list, control, target.Form))
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
        store.OnSkinControl(&target.Sender, &store, &container, &control, UpperClassName(control), supplied);
        if (auto* object = dynamic_cast<TSkinControl*>(supplied)) {
            if (!list.Contains(object))
                object->AttachControl(&list, &store, object->SetColour(), &list.Canvas());
            if (windowed && TraitsOf(control).Panel)
                WalkInto(target, *windowed);
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
                    Attach(object, target, TSkinChoice{kind}, child);
            }
        return;
    }
    if (TSkinControl* object = CreateSkinObject(choice.Kind, &control))
        Attach(object, target, choice, control);
    if (choice.WalkInto && windowed)
        WalkInto(target, *windowed);
}

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
    t.ListView = dynamic_cast<TListView*>(&component) != nullptr;
    if (windowed && windowed->HandleAllocated())
        t.ScrollStyle = GetWindowLongPtrA(windowed->WindowHandle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL);
    return t;
}

TSkinControl* CreateSkinObject(TSkinKind kind, TComponent* subject)
{
    // Each object is kept by the list it registers with (SkinLife).
    switch (kind) {
    case TSkinKind::Button: return new TSkinButton(subject);
    case TSkinKind::BitButton: return new TSkinBitButton(subject);
    case TSkinKind::CheckBox: return new TSkinCheckBox(subject);
    case TSkinKind::RadioButton: return new TSkinRadioButton(subject);
    case TSkinKind::GroupBox: return new TSkinGroupBox(subject);
    case TSkinKind::Box: return new TSkinBox(subject);
    case TSkinKind::ScrollBar: return new TSkinScrollBar(subject);
    case TSkinKind::ListView: return new TSkinListView(subject);
    case TSkinKind::ComBox: return new TSkinComBox(subject);
    case TSkinKind::Edit: return new TSkinEdit(subject);
    case TSkinKind::Sizer: return new TSkinSizer(subject);
    case TSkinKind::UpDown: return new TSkinUpDown(subject);
    case TSkinKind::Progress: return new TSkinProgress(subject);
    case TSkinKind::TrackBar: return new TSkinTrackBar(subject);
    case TSkinKind::Tab: return new TSkinTab(subject);
    case TSkinKind::Tab31: return new TSkinTab31(subject);
    case TSkinKind::SpeedButton: return new TSkinSpeedButton(subject);
    case TSkinKind::ScControl: return new TSkinScControl(subject);
    case TSkinKind::None:
    case TSkinKind::WalkOnly:
    case TSkinKind::RadioGroup:
    case TSkinKind::CheckGroup: return nullptr;
    }
    return nullptr;
}

void SkinComponentControls(const TControlSkinning& target, TWinControl& container)
{
    WalkInto(target, container);
}

void SkinRawChild(const TControlSkinning& target, HWND window)
{
    TSkinControlList& list = target.Controls;
    if (list.Find(window))
        return;
    const TSkinChoice choice =
        ChooseRawSkin(WindowClassName(window), static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)));
    HWND skinned = choice.OnFirstChild ? GetWindow(window, GW_CHILD) : window;
    if (!skinned)
        return;
    if (TSkinControl* object = CreateSkinObject(choice.Kind, nullptr))
        object->AttachWindow(skinned, &target.Store, &list, &list.Canvas());
}

void SkinRawChildren(const TControlSkinning& target, HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children)
        SkinRawChild(target, child);
}

} // namespace orbelin
