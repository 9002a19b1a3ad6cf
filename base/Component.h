#pragma once
// Components: objects with an owner, a name and a Tag. An owner frees what it
// owns in reverse order of insertion; any component may ask to be told when
// another one is destroyed (free notification), so that references held
// across the program are forgotten in time.

#include "base/PropertyValue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

template <class T>
class TPropertyTable;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    // The class's name as form descriptions write it ("TButton"); the skin
    // engine chooses how to draw a control by it.
    virtual std::string_view ClassName() const { return "TComponent"; }

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    intptr_t Tag = 0;

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    TComponent* FindComponent(std::string_view name) const;
    // Frees the owned components, last inserted first. Derived destructors
    // call it first when their children still need the derived parts.
    void DestroyComponents();

    // Ask to be told (Notification opRemove) when other is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    // Points field at component and moves the free notification that keeps
    // field from dangling from the old component to the new one.
    template <class T>
    void Refer(T*& field, T* component)
    {
        if (field)
            RemoveFreeNotification(field);
        field = component;
        FreeNotification(component);
    }

    // True while a form description is being read into this component.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    // Runs once after the whole description of the owning form has been read.
    virtual void Loaded() { FLoading = false; }

    // The properties and events a form description may set on this class:
    // its base class's table and its own rows (see base/PropertyTable.h).
    virtual const TPropertyTable<TComponent>& Properties() const;
    // A published property by name. False for a name the class does not
    // publish; a value it cannot take raises EConvertError.
    bool SetProperty(std::string_view name, const TPropertyValue& value);
    // An event property ("OnClick") bound to a handler; false when the class
    // has no event of that name.
    bool SetEvent(std::string_view name, TNotifyEvent handler);

protected:
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;     // owned
    std::vector<TComponent*> FFreeNotifies;   // not owned, told on destruction
    bool FLoading = false;
};

} // namespace orbelin
