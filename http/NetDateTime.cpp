#include "http/NetDateTime.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "base/TimeZone.h"
#include "http/NetHTTPErrors.h"

#include <cmath>
#include <optional>

namespace orbelin {

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr double kMinutesPerDay = 1440.0;

// A plain decimal number with an optional sign; nothing else is accepted.
std::optional<int> Decimal(std::string_view text)
{
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size() || text.size() - i > 9)
        return std::nullopt;
    int value = 0;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9')
            return std::nullopt;
        value = value * 10 + (text[k] - '0');
    }
    return text[0] == '-' ? -value : value;
}

int DecimalOr(std::string_view text, int fallback) { return Decimal(text).value_or(fallback); }

void DropLeadingBlanks(std::string& text)
{
    size_t b = 0;
    while (b < text.size() && text[b] == ' ')
        ++b;
    text.erase(0, b);
}

int IndexIn(std::string_view text, const char* const* names, int count)
{
    const std::string upper = UpperCase(text);
    for (int i = 0; i < count; ++i)
        if (upper == UpperCase(names[i]))
            return i + 1;
    return 0;
}

// Reads the date fields of work in place; false when the parts are invalid.
bool ReadDate(std::string& work, TDateTime& result)
{
    const int dash = PosFirst("-", work);
    const int blank = PosFirst(" ", work);
    const char* delimiter = (dash > 1 && blank > 0 && dash < blank) ? "-" : " ";

    int day = 1, month = 0;
    std::string peek = work;
    if (MonthNameIndex(SplitOff(peek, delimiter)) > 0) {
        month = MonthNameIndex(SplitOff(work, delimiter));
        DropLeadingBlanks(work);
        day = DecimalOr(SplitOff(work, delimiter), 1);
    } else {
        day = DecimalOr(SplitOff(work, delimiter), 1);
        DropLeadingBlanks(work);
        month = MonthNameIndex(SplitOff(work, delimiter));
    }
    DropLeadingBlanks(work);

    std::string piece = SplitOff(work, " ");
    std::optional<int> year = Decimal(piece);
    if (!year) {
        // asctime puts the time before the year: the year is what remains.
        year = DecimalOr(work, 1900);
        work = piece;
    }
    if (*year < 80)
        *year += 2000;
    else if (*year < 100)
        *year += 1900;
    return TryEncodeDate(*year, month, day, result);
}

bool ReadTime(std::string& work, TDateTime& result)
{
    if (PosFirst(":", work) == 0)
        return true;
    std::string time = SplitOff(work, " ");
    const int hours = DecimalOr(SplitOff(time, ":"), 0);
    const int minutes = DecimalOr(SplitOff(time, ":"), 0);
    const int seconds = DecimalOr(SplitOff(time, " "), 0);
    TDateTime t = 0;
    if (!TryEncodeTime(hours, minutes, seconds, 0, t))
        return false;
    result += t;
    return true;
}

} // namespace

int DayNameIndex(std::string_view text) { return IndexIn(text, kDayNames, 7); }
int MonthNameIndex(std::string_view text) { return IndexIn(text, kMonthNames, 12); }

TDateTime InternetTextToDate(const std::string& text, std::string* zone)
{
    std::string work = Trim(text);
    if (zone)
        zone->clear();
    if (work.empty())
        return 0;
    if (DayNameIndex(Copy(work, 1, 3)) > 0) {
        SplitOff(work, " ");
        DropLeadingBlanks(work);
    }
    TDateTime result = 0;
    if (!ReadDate(work, result) || !ReadTime(work, result))
        return 0;
    DropLeadingBlanks(work);
    if (zone)
        *zone = work;
    return result;
}

TDateTime InternetTextToLocal(const std::string& text)
{
    std::string zone;
    const TDateTime value = InternetTextToDate(text, &zone);
    const TDateTime offset = zone.size() > 4 ? ZoneTextToOffset(zone) : 0;
    return value - offset + LocalOffset();
}

TDateTime LocalOffset()
{
    int bias = 0;
    if (!TryCurrentZoneBias(bias))
        throw ENetFailedToRetreiveTimeZoneInfo(SNetFailedTimeZoneInfo);
    return -bias / kMinutesPerDay;
}

TDateTime ZoneTextToOffset(std::string_view text)
{
    const std::string head = Copy(Trim(text), 1, 5);
    if (head.size() < 5 || (head[0] != '+' && head[0] != '-'))
        return 0;
    const auto digits = [](std::string_view s) { return s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9'; };
    const std::string_view h = std::string_view(head).substr(1, 2);
    const std::string_view m = std::string_view(head).substr(3, 2);
    if (!digits(h) || !digits(m))
        return 0;
    const double minutes = ((h[0] - '0') * 10 + (h[1] - '0')) * 60.0 + (m[0] - '0') * 10 + (m[1] - '0');
    return (head[0] == '-' ? -minutes : minutes) / kMinutesPerDay;
}

std::string OffsetToZoneText(TDateTime offset, bool zeroAsGMT)
{
    const long minutes = std::lround(std::fabs(offset) * kMinutesPerDay);
    if (minutes == 0 && zeroAsGMT)
        return "GMT";
    return Format("%c%.2ld%.2ld", offset >= 0 || minutes == 0 ? '+' : '-', minutes / 60, minutes % 60);
}

std::string DateToInternetText(TDateTime value, bool zeroAsGMT)
{
    const TDateParts d = DecodeDate(value);
    const TTimeParts t = DecodeTime(value);
    return Format("%s, %d %s %d %.2d:%.2d:%.2d %s", kDayNames[DayOfWeek(value) - 1], d.Day, kMonthNames[d.Month - 1],
                  d.Year, t.Hour, t.Minute, t.Second, OffsetToZoneText(LocalOffset(), zeroAsGMT).c_str());
}

} // namespace orbelin
