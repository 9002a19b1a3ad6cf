#include "base/Component.h"

#include "base/AnsiText.h"
#include "base/PropertyTable.h"

#include <algorithm>

namespace orbelin {

TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Tell every component that asked; each removes its links to us.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) {
        FOwner->RemoveComponent(this);
        FOwner->Notification(this, TOperation::opRemove);
    }
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        FComponents.pop_back();
        child->FOwner = nullptr;
        delete child;
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    for (TComponent* c : FComponents)
        if (SameText(c->Name(), name))
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other)
{
    if (!other || other == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
        FFreeNotifies.push_back(other);
    if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) == other->FFreeNotifies.end())
        other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    std::erase(FFreeNotifies, other);
    std::erase(other->FFreeNotifies, this);
}

const TPropertyTable<TComponent>& TComponent::Properties() const
{
    static const TPropertyTable<TComponent> table({
        Setter("Name", &TComponent::SetName),
        Field("Tag", &TComponent::Tag),
    });
    return table;
}

bool TComponent::SetProperty(std::string_view name, const TPropertyValue& value)
{
    return Properties().SetProperty(*this, name, value);
}

bool TComponent::SetEvent(std::string_view name, TNotifyEvent handler)
{
    return Properties().SetEvent(*this, name, std::move(handler));
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* component) { FComponents.push_back(component); }

void TComponent::RemoveComponent(TComponent* component) { std::erase(FComponents, component); }

} // namespace orbelin
