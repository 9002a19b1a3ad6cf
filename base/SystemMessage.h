#pragma once
// A message for the user from code that has no window of its own: a
// task-modal message box on Windows, a line on the error output elsewhere.

#include <string>

namespace orbelin {

void ShowSystemMessage(const std::string& text);

} // namespace orbelin
