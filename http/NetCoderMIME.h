#pragma once
// Base64 with the standard alphabet and "=" padding (RFC 4648).

#include <string>
#include <string_view>

namespace orbelin {

std::string EncodeBase64(std::string_view bytes);
// Decodes standard Base64; characters outside the alphabet (line breaks,
// blanks) are skipped and decoding stops at the first "=". Never raises.
std::string DecodeBase64(std::string_view text);

} // namespace orbelin
