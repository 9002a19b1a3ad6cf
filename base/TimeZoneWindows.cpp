#include "base/TimeZone.h"

#include <windows.h>

namespace orbelin {

bool TryCurrentZoneBias(int& biasMinutes) noexcept
{
    TIME_ZONE_INFORMATION info{};
    switch (GetTimeZoneInformation(&info)) {
    case TIME_ZONE_ID_UNKNOWN:
        biasMinutes = static_cast<int>(info.Bias);
        return true;
    case TIME_ZONE_ID_STANDARD:
        biasMinutes = static_cast<int>(info.Bias + info.StandardBias);
        return true;
    case TIME_ZONE_ID_DAYLIGHT:
        biasMinutes = static_cast<int>(info.Bias + info.DaylightBias);
        return true;
    default:
        return false;
    }
}

} // namespace orbelin
