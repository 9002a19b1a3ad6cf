#pragma once
// Creates the components a form description names and gives them their
// properties and event handlers.

#include "base/Component.h"
#include "base/FormDescription.h"

#include <functional>
#include <string>

namespace orbelin {

class TForm;

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Makes a class known to the reader by the name descriptions use ("TMemo").
void RegisterComponentClass(const std::string& className, TComponentFactory factory);

template <class T>
void RegisterComponentClass(const std::string& className)
{
    RegisterComponentClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// Applies root's properties to form, creates root's child objects (owned by
// form, parented along the nesting) and then runs Loaded on all of them.
void ReadFormDescription(TForm& form, const TFormNode& root);

} // namespace orbelin
