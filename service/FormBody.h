// application/x-www-form-urlencoded bodies.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

// '+' becomes a space and "%XY" the byte 0xXY (either letter case). Empty for
// a '%' not followed by two hexadecimal digits.
std::optional<std::string> percentDecode(std::string_view text);
// The same where the text lies (decoding never lengthens it); false for a
// bad escape, the text then left half decoded.
bool percentDecodeInPlace(std::string& text);

// The fields as they stand in the body, not decoded, in order; empty pieces
// ("a=1&&b=2") are skipped.
struct RawField {
    std::string_view name;
    std::string_view value;
};
std::vector<RawField> splitFormBody(std::string_view body);

using FormFields = std::map<std::string, std::string, std::less<>>;

// Fields separated by '&', name and value by the first '='; a field without
// '=' has an empty value and empty pieces ("a=1&&b=2") are skipped. Empty on a
// bad escape or on a name given twice.
std::optional<FormFields> parseFormBody(std::string_view body);

}  // namespace orbelin::service
