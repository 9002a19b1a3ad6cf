#pragma once
// Date texts of HTTP headers and cookies (RFC 1123, RFC 850 and asctime forms).
// Date-time values are local unless a function says otherwise.

#include "base/DateTime.h"

#include <string>
#include <string_view>

namespace orbelin {

// Date and time of an internet date text, its zone ignored; 0 for an empty
// text or one that does not parse. The zone text that follows the time is
// stored in *zone when given. Never raises.
TDateTime InternetTextToDate(const std::string& text, std::string* zone = nullptr);
// The same date moved into local time using its zone. Raises only
// ENetFailedToRetreiveTimeZoneInfo (from LocalOffset).
TDateTime InternetTextToLocal(const std::string& text);
// "Sun, 6 Nov 1994 16:49:37 +0800" for a local value.
std::string DateToInternetText(TDateTime value, bool zeroAsGMT = false);

// Local time minus UTC as a fraction of a day.
TDateTime LocalOffset();
// "+hhmm" / "-hhmm" as a day fraction; 0 for any other text.
TDateTime ZoneTextToOffset(std::string_view text);
std::string OffsetToZoneText(TDateTime offset, bool zeroAsGMT);

// 1..7 for SUN..SAT and 1..12 for JAN..DEC (any letter case); 0 otherwise.
int DayNameIndex(std::string_view text);
int MonthNameIndex(std::string_view text);

} // namespace orbelin
