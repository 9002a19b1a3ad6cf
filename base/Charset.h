#pragma once
// Conversions between the ANSI code page (936), UTF-16 and UTF-8. Characters
// the target lacks become its default character ('?').

#include <string>
#include <string_view>

namespace orbelin {

std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
std::string AnsiToUtf8(std::string_view ansi);

// Code page 936 has no character outside the basic plane: each surrogate pair
// becomes one '?', so it shows as one default character, not two.
std::u16string FoldSupplementary(std::u16string_view text);

} // namespace orbelin
