#include "base/SystemMessage.h"

#include <windows.h>

namespace orbelin {

void ShowSystemMessage(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "", MB_OK | MB_TASKMODAL); }

} // namespace orbelin
