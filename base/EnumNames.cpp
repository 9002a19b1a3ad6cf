#include "base/EnumNames.h"

#include "base/Exceptions.h"

namespace orbelin {

void RaiseUnknownEnumName(std::string_view name)
{
    throw EConvertError("Invalid property value: " + std::string(name));
}

} // namespace orbelin
