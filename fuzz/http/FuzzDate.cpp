#include "http/NetDateTime.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string zone;
    const TDateTime value = InternetTextToDate(text, &zone);
    InternetTextToLocal(text);
    ZoneTextToOffset(text);
    DayNameIndex(text);
    MonthNameIndex(text);
    // Any date that parsed formats and reads back to the same second.
    if (value != 0) {
        const std::string formatted = DateToInternetText(value, false);
        const TDateTime back = InternetTextToLocal(formatted);
        if (back - value > 1.0 / 86400 || value - back > 1.0 / 86400)
            __builtin_trap();
    }
    return 0;
}
