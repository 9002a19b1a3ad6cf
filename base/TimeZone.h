#pragma once
// The platform's current time-zone state.

namespace orbelin {

// Minutes to add to local time to get UTC at this moment (a zone 8 hours east
// of UTC gives -480), composed as the platform's time-zone information says:
// the base bias plus the standard or the daylight bias in force. False when
// the platform cannot tell or reports a state it does not define.
bool TryCurrentZoneBias(int& biasMinutes) noexcept;

} // namespace orbelin
