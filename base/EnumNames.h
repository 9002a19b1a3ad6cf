#pragma once
// Enumeration values by the names form descriptions write ("bsDialog",
// "poScreenCenter", "xcButton"). One rule for every enumeration: a name that
// is not in the table is an error, never a silent default.

#include "base/AnsiText.h"

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

template <class E>
struct TEnumName {
    const char* Name;
    E Value;
};

// Raises EConvertError "Invalid property value: <name>".
[[noreturn]] void RaiseUnknownEnumName(std::string_view name);

// The value named name (any letter case) in a table of TEnumName rows.
template <class Names>
auto EnumFromName(const Names& names, std::string_view name)
{
    for (const auto& entry : names)
        if (SameText(entry.Name, name))
            return entry.Value;
    RaiseUnknownEnumName(name);
}

// Every member of a set, each looked up as EnumFromName does.
template <class Names>
auto EnumsFromNames(const Names& names, const std::vector<std::string>& members)
{
    std::vector<decltype(std::begin(names)->Value)> values;
    for (const std::string& member : members)
        values.push_back(EnumFromName(names, member));
    return values;
}

// The name of value in the table, or null when the table lacks it.
template <class Names, class E>
const char* EnumName(const Names& names, E value)
{
    for (const auto& entry : names)
        if (entry.Value == value)
            return entry.Name;
    return nullptr;
}

} // namespace orbelin
