#include "ui/FormReader.h"

#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Dialogs.h"

#include <map>

namespace orbelin {

namespace {

std::map<std::string, TComponentFactory, std::less<>>& Registry()
{
    static std::map<std::string, TComponentFactory, std::less<>> registry = [] {
        std::map<std::string, TComponentFactory, std::less<>> r;
        auto add = [&r]<class T>(const char* name) { r[name] = [](TComponent* o) -> TComponent* { return new T(o); }; };
        add.operator()<TLabel>("TLabel");
        add.operator()<TButton>("TButton");
        add.operator()<TBitBtn>("TBitBtn");
        add.operator()<TRadioButton>("TRadioButton");
        add.operator()<TGroupBox>("TGroupBox");
        add.operator()<TMemo>("TMemo");
        add.operator()<TComboBox>("TComboBox");
        add.operator()<TImage>("TImage");
        add.operator()<TBevel>("TBevel");
        add.operator()<TPanel>("TPanel");
        add.operator()<TEdit>("TEdit");
        add.operator()<TCheckBox>("TCheckBox");
        add.operator()<TSpeedButton>("TSpeedButton");
        add.operator()<TScrollBar>("TScrollBar");
        add.operator()<TUpDown>("TUpDown");
        add.operator()<TListView>("TListView");
        add.operator()<TMainMenu>("TMainMenu");
        add.operator()<TMenuItem>("TMenuItem");
        add.operator()<TTimer>("TTimer");
        add.operator()<TSaveDialog>("TSaveDialog");
        add.operator()<TXPManifest>("TXPManifest");
        return r;
    }();
    return registry;
}

class TReader {
public:
    explicit TReader(TForm& form) : FForm(form) {}

    void ReadRoot(const TFormNode& root)
    {
        FForm.SetName(root.Name);
        FLoaded.push_back(&FForm);
        FForm.BeginLoading();
        Assign(FForm, root);
        ReadChildren(root, &FForm);
        for (TComponent* c : FLoaded)
            c->Loaded();
    }

private:
    // Places a new component in what holds it in the description: a control
    // on its parent control, a menu item in its menu or parent item.
    bool Place(TComponent& component, TComponent* holder)
    {
        if (auto* control = dynamic_cast<TControl*>(&component)) {
            if (auto* parent = dynamic_cast<TWinControl*>(holder))
                control->SetParent(parent);
            return holder == nullptr || dynamic_cast<TWinControl*>(holder) != nullptr;
        }
        if (auto* item = dynamic_cast<TMenuItem*>(&component)) {
            if (auto* parentItem = dynamic_cast<TMenuItem*>(holder))
                parentItem->Add(item);
            else if (auto* popup = dynamic_cast<TPopupMenu*>(holder))
                popup->Items().Add(item);
            else if (auto* bar = dynamic_cast<TMainMenu*>(holder))
                bar->Items().Add(item);
            else
                return false;
            return true;
        }
        return holder == nullptr || holder == &FForm;
    }

    static bool CanHold(const TComponent& component)
    {
        return dynamic_cast<const TWinControl*>(&component) || dynamic_cast<const TMenuItem*>(&component) ||
               dynamic_cast<const TPopupMenu*>(&component) || dynamic_cast<const TMainMenu*>(&component);
    }

    void ReadChildren(const TFormNode& node, TComponent* holder)
    {
        for (const TFormNode& child : node.Children) {
            const auto found = Registry().find(child.ClassName);
            if (found == Registry().end())
                throw FormDescriptionError(FForm.Name(), child.Line, "Class " + child.ClassName + " not found");
            TComponent* component = found->second(&FForm);
            component->SetName(child.Name);
            component->BeginLoading();
            FLoaded.push_back(component);
            if (!Place(*component, holder))
                throw FormDescriptionError(FForm.Name(), child.Line, node.Name + " cannot hold " + child.Name);
            Assign(*component, child);
            if (!child.Children.empty() && !CanHold(*component))
                throw FormDescriptionError(FForm.Name(), child.Children.front().Line,
                                           "Control " + child.Name + " cannot hold other controls");
            ReadChildren(child, component);
        }
    }

    void Assign(TComponent& component, const TFormNode& node)
    {
        AssignProperties(component, node, FForm.Name(),
                         [this](std::string_view method) { return FForm.FindMethod(method); });
    }

    TForm& FForm;
    std::vector<TComponent*> FLoaded;
};

} // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory)
{
    Registry()[className] = std::move(factory);
}

void ReadFormDescription(TForm& form, const TFormNode& root) { TReader(form).ReadRoot(root); }

// A form reads its description here, where every class it may name is known.
void TForm::ReadDescription(const char* resourceName)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, resourceName, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes)
        throw EFormDescriptionError(std::string("Resource ") + resourceName + " not found");
    ReadDescriptionText(std::string_view(bytes, SizeofResource(module, info)));
}

void TForm::ReadDescriptionText(std::string_view text)
{
    ReadFormDescription(*this, ParseFormDescription(text));
    CreateHandle();
    CreateHints();
    if (OnCreate)
        OnCreate(this);
}

} // namespace orbelin
