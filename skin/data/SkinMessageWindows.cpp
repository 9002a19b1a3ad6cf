#include <string>

// The one user32 call of this library, declared here so that the portable
// skin data code needs no Windows headers.
extern "C" __declspec(dllimport) int __stdcall MessageBoxA(void* window, const char* text, const char* caption, unsigned type);

namespace orbelin {

void ShowPlatformMessage(const std::string& text)
{
    constexpr unsigned MB_OK_TASKMODAL = 0x00000000u | 0x00002000u;
    MessageBoxA(nullptr, text.c_str(), "", MB_OK_TASKMODAL);
}

} // namespace orbelin
