// The description parser on arbitrary text: every section and key rule,
// the caption-button filtering and the colour reader. Bitmap names resolve
// to nothing here (no archive), which keeps the target fast; bitmap
// decoding has its own target.
#include "base/Exceptions.h"
#include "skin/data/SkinData.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string ini(reinterpret_cast<const char*>(data), size);
    orbelin::TSkinData store(nullptr);
    store.LoadDescriptionText(ini);
    if (!store.SkinLoaded() || store.SysButtons.size() < 3)
        __builtin_trap();
    (void)orbelin::TSkinDescriptionLoader::ReadColor(ini, 0);
    return 0;
}
