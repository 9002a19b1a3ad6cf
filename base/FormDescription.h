#pragma once
// Reader of the text form descriptions that lay out windows and configure
// components:
//
//   object Form1: TForm1
//     Caption = 'Text'#13#10'more'
//     Items.Strings = ( 'one' 'two' )
//     Font.Style = [fsBold]
//     SkinStream = { 0A0B0C }
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Strings hold the bytes between the quotes unchanged (the resource is
// stored in the ANSI code page); '' is a quote, #n a byte, '+' joins pieces.

#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/PropertyValue.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbelin {

class EFormDescriptionError : public Exception {
public:
    using Exception::Exception;
};

struct TFormProperty {
    std::string Name;
    TPropertyValue Value;
    int Line = 0;
};

struct TFormNode {
    std::string Name;
    std::string ClassName;
    std::vector<TFormProperty> Properties;
    std::vector<TFormNode> Children;
    int Line = 0;

    const TPropertyValue* Find(std::string_view property) const;
};

// Raises EFormDescriptionError "Form description line N: ..." on bad input.
TFormNode ParseFormDescription(std::string_view text);

// The error of a description that parsed but does not fit the classes:
// "Form <form>, line <line>: <what>".
EFormDescriptionError FormDescriptionError(std::string_view form, int line, std::string_view what);

// The root form's event handler of that name, or an empty function.
using TMethodLookup = std::function<TNotifyEvent(std::string_view name)>;

// Gives component the properties and event handlers node lists, through the
// component's property table. An unknown property, an enumeration name or a
// value the property cannot take, and a handler the form lacks, raise
// EFormDescriptionError naming the form, the component, the property and
// the line.
void AssignProperties(TComponent& component, const TFormNode& node, std::string_view form,
                      const TMethodLookup& findMethod);

} // namespace orbelin
