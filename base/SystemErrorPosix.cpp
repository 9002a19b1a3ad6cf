#include "base/SystemError.h"

#include <cerrno>
#include <cstring>

namespace orbelin {

std::string SystemErrorText(unsigned code) { return std::strerror(static_cast<int>(code)); }

std::string LastSystemErrorText() { return SystemErrorText(static_cast<unsigned>(errno)); }

} // namespace orbelin
