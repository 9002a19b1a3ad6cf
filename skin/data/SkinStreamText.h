#pragma once
// The SkinStream property as a form description writes it: the 32-bit
// length and the packed skin as hexadecimal lines between braces.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

// The binary property value for a packed skin (a skin file's bytes).
std::vector<uint8_t> SkinStreamPropertyBytes(std::string_view packedSkin);

// "<indent>SkinStream = {" then lines of 64 hex digits indented by two more
// blanks, the last one closed by "}"; every line ends with CR LF.
std::string SkinStreamPropertyText(std::string_view packedSkin, int indent = 2);

} // namespace orbelin
