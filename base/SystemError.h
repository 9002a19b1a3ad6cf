#pragma once
// The platform's texts for its error codes (Win32 error codes on Windows,
// errno values elsewhere).

#include <string>

namespace orbelin {

// The text for code, without a trailing line break; empty when the platform
// has none.
std::string SystemErrorText(unsigned code);

// The text for the calling thread's last error (GetLastError or errno).
std::string LastSystemErrorText();

} // namespace orbelin
