#include <cstdio>
#include <string>

namespace orbelin {

// Native builds have no message box; the text goes to the error output.
void ShowPlatformMessage(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace orbelin
