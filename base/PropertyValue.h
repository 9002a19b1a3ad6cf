#pragma once
// A value of a published property as a form description writes it.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orbelin {

struct TIdentifier {
    std::string Name; // bsSingle, True, clBtnFace, poScreenCenter, ...
    bool operator==(const TIdentifier&) const = default;
};

struct TSetValue {
    std::vector<std::string> Members; // [fsBold, akLeft]
    bool operator==(const TSetValue&) const = default;
};

struct TStringListValue {
    std::vector<std::string> Items; // ( 'a' 'b' )
    bool operator==(const TStringListValue&) const = default;
};

struct TBinaryValue {
    std::vector<uint8_t> Bytes; // { 0A0B... }
    bool operator==(const TBinaryValue&) const = default;
};

class TPropertyValue {
public:
    using Variant = std::variant<int64_t, double, std::string, TIdentifier, TSetValue, TStringListValue, TBinaryValue>;

    TPropertyValue() = default;
    template <class T>
    TPropertyValue(T value) : FValue(std::move(value)) {}

    const Variant& Value() const { return FValue; }
    bool IsInteger() const { return std::holds_alternative<int64_t>(FValue); }
    bool IsString() const { return std::holds_alternative<std::string>(FValue); }
    bool IsIdentifier() const { return std::holds_alternative<TIdentifier>(FValue); }

    // Conversions raise EConvertError with the property text when they do not fit.
    int64_t AsInteger() const;
    double AsFloat() const;
    std::string AsString() const;           // string or identifier text
    bool AsBoolean() const;                 // True / False
    const std::string& AsIdentifier() const;
    const std::vector<std::string>& AsSet() const;
    const std::vector<std::string>& AsStrings() const;
    const std::vector<uint8_t>& AsBinary() const;
    bool SetContains(const char* member) const;

private:
    Variant FValue;
};

} // namespace orbelin
