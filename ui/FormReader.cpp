#include "ui/FormReader.h"

#include "ui/ExtCtrls.h"
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
    void ReadChildren(const TFormNode& node, TWinControl* parent)
    {
        for (const TFormNode& child : node.Children) {
            const auto found = Registry().find(child.ClassName);
            if (found == Registry().end())
                throw FormDescriptionError(FForm.Name(), child.Line, "Class " + child.ClassName + " not found");
            TComponent* component = found->second(&FForm);
            component->SetName(child.Name);
            component->BeginLoading();
            FLoaded.push_back(component);
            auto* control = dynamic_cast<TControl*>(component);
            if (control && parent)
                control->SetParent(parent);
            Assign(*component, child);
            auto* container = dynamic_cast<TWinControl*>(component);
            if (!child.Children.empty() && !container)
                throw FormDescriptionError(FForm.Name(), child.Children.front().Line,
                                           "Control " + child.Name + " cannot hold other controls");
            ReadChildren(child, container);
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

} // namespace orbelin
