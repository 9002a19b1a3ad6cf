#include "base/TimeZone.h"

#include <ctime>

namespace orbelin {

bool TryCurrentZoneBias(int& biasMinutes) noexcept
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr)
        return false;
    // tm_gmtoff already includes any daylight saving in force.
    biasMinutes = static_cast<int>(-local.tm_gmtoff / 60);
    return true;
}

} // namespace orbelin
