#include "base/PropertyValue.h"

#include "base/AnsiText.h"
#include "base/Exceptions.h"

namespace orbelin {

namespace {
[[noreturn]] void Mismatch(const char* wanted)
{
    throw EConvertError(std::string("Invalid property value: ") + wanted + " expected");
}
} // namespace

int64_t TPropertyValue::AsInteger() const
{
    if (const auto* v = std::get_if<int64_t>(&FValue))
        return *v;
    Mismatch("integer");
}

double TPropertyValue::AsFloat() const
{
    if (const auto* v = std::get_if<double>(&FValue))
        return *v;
    if (const auto* v = std::get_if<int64_t>(&FValue))
        return static_cast<double>(*v);
    Mismatch("number");
}

std::string TPropertyValue::AsString() const
{
    if (const auto* v = std::get_if<std::string>(&FValue))
        return *v;
    if (const auto* v = std::get_if<TIdentifier>(&FValue))
        return v->Name;
    if (const auto* v = std::get_if<int64_t>(&FValue))
        return IntToStr(*v);
    Mismatch("string");
}

bool TPropertyValue::AsBoolean() const
{
    if (const auto* v = std::get_if<TIdentifier>(&FValue)) {
        if (SameText(v->Name, "True"))
            return true;
        if (SameText(v->Name, "False"))
            return false;
    }
    Mismatch("True or False");
}

const std::string& TPropertyValue::AsIdentifier() const
{
    if (const auto* v = std::get_if<TIdentifier>(&FValue))
        return v->Name;
    Mismatch("identifier");
}

const std::vector<std::string>& TPropertyValue::AsSet() const
{
    if (const auto* v = std::get_if<TSetValue>(&FValue))
        return v->Members;
    Mismatch("set");
}

const std::vector<std::string>& TPropertyValue::AsStrings() const
{
    if (const auto* v = std::get_if<TStringListValue>(&FValue))
        return v->Items;
    Mismatch("string list");
}

const std::vector<uint8_t>& TPropertyValue::AsBinary() const
{
    if (const auto* v = std::get_if<TBinaryValue>(&FValue))
        return v->Bytes;
    Mismatch("binary data");
}

bool TPropertyValue::SetContains(const char* member) const
{
    for (const auto& m : AsSet())
        if (SameText(m, member))
            return true;
    return false;
}

} // namespace orbelin
