#include "base/SystemMessage.h"

#include <cstdio>

namespace orbelin {

void ShowSystemMessage(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

} // namespace orbelin
