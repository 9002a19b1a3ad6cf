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

#include "base/Exceptions.h"
#include "base/PropertyValue.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbelin {

class EFormDescriptionError : public Exception {
public:
    using Exception::Exception;
};

struct TFormNode {
    std::string Name;
    std::string ClassName;
    std::vector<std::pair<std::string, TPropertyValue>> Properties;
    std::vector<TFormNode> Children;
    int Line = 0;

    const TPropertyValue* Find(std::string_view property) const;
};

// Raises EFormDescriptionError "Form description line N: ..." on bad input.
TFormNode ParseFormDescription(std::string_view text);

} // namespace orbelin
