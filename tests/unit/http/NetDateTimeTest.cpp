#include "http/NetDateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace orbelin {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

TDateTime At(int y, int mo, int d, int h, int mi, int s) { return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, 0); }

struct DateCase {
    const char* Name;
    const char* Text;
    int Year, Month, Day, Hour, Minute, Second; // Year 0: the result is 0
    const char* Zone;
};

const DateCase kDates[] = {
    {"Rfc1123", "Sun, 06 Nov 1994 08:49:37 GMT", 1994, 11, 6, 8, 49, 37, "GMT"},
    {"Rfc850", "Sunday, 06-Nov-94 08:49:37 GMT", 1994, 11, 6, 8, 49, 37, "GMT"},
    {"Asctime", "Sun Nov  6 08:49:37 1994", 1994, 11, 6, 8, 49, 37, ""},
    {"NumericZoneLeft", "Sun, 06 Nov 1994 08:49:37 -0500", 1994, 11, 6, 8, 49, 37, "-0500"},
    {"TwoDigitYear79", "06 Nov 79 08:49:37 GMT", 2079, 11, 6, 8, 49, 37, "GMT"},
    {"TwoDigitYear80", "06 Nov 80 08:49:37 GMT", 1980, 11, 6, 8, 49, 37, "GMT"},
    {"NoDayName", "06 Nov 1994", 1994, 11, 6, 0, 0, 0, ""},
    {"LowerCaseNames", "sun, 06 nov 1994 08:49:37 gmt", 1994, 11, 6, 8, 49, 37, "gmt"},
    {"MissingSeconds", "06 Nov 1994 08:49 GMT", 1994, 11, 6, 8, 49, 0, "GMT"},
    {"SurroundingBlanks", "  Sun, 06 Nov 1994 08:49:37 GMT  ", 1994, 11, 6, 8, 49, 37, "GMT"},
    {"FullMonthName", "Sun, 06 November 1994 08:49:37 GMT", 0, 0, 0, 0, 0, 0, ""},
    {"Empty", "", 0, 0, 0, 0, 0, 0, ""},
    {"Garbage", "not a date at all", 0, 0, 0, 0, 0, 0, ""},
    {"HourOutOfRange", "06 Nov 1994 25:00:00 GMT", 0, 0, 0, 0, 0, 0, ""},
    {"DayOutOfRange", "31 Feb 1994 08:00:00 GMT", 0, 0, 0, 0, 0, 0, ""},
    {"DayNameOnly", "Sun", 0, 0, 0, 0, 0, 0, ""},
    // An unreadable year is looked for in the rest; 1900 when none is found.
    {"UnreadableYear", "06 Nov 99999999999 08:49:37", 1900, 11, 6, 0, 0, 0, "99999999999"},
    {"YearTooLarge", "06 Nov 10000 08:49:37", 0, 0, 0, 0, 0, 0, ""},
};

class InternetDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(InternetDate, Parses)
{
    const DateCase& c = GetParam();
    std::string zone = "unchanged";
    const TDateTime value = InternetTextToDate(c.Text, &zone);
    if (c.Year == 0) {
        EXPECT_EQ(value, 0.0);
        return;
    }
    EXPECT_NEAR(value, At(c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second), kSecond / 100);
    EXPECT_EQ(zone, c.Zone);
}

INSTANTIATE_TEST_SUITE_P(Table, InternetDate, ::testing::ValuesIn(kDates),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(InternetDate, NamedZoneCountsAsZero)
{
    const TDateTime est = InternetTextToLocal("Sun, 06 Nov 1994 08:49:37 EST");
    EXPECT_NEAR(est, At(1994, 11, 6, 8, 49, 37) + LocalOffset(), kSecond / 100);
}

TEST(InternetDate, NumericZoneIsRemovedBeforeLocalOffset)
{
    const TDateTime value = InternetTextToLocal("Sun, 06 Nov 1994 08:49:37 -0500");
    EXPECT_NEAR(value, At(1994, 11, 6, 13, 49, 37) + LocalOffset(), kSecond / 100);
}

TEST(InternetDate, EmptyTextToLocalIsTheOffset)
{
    EXPECT_NEAR(InternetTextToLocal(""), LocalOffset(), 1e-12);
}

TEST(InternetDate, ZoneOffsets)
{
    EXPECT_NEAR(ZoneTextToOffset("+0800"), 8.0 / 24, 1e-12);
    EXPECT_NEAR(ZoneTextToOffset("-0530"), -5.5 / 24, 1e-12);
    EXPECT_NEAR(ZoneTextToOffset("  +0100xyz"), 1.0 / 24, 1e-12);
    EXPECT_EQ(ZoneTextToOffset("+08"), 0.0);
    EXPECT_EQ(ZoneTextToOffset("+08a0"), 0.0);
    EXPECT_EQ(ZoneTextToOffset("GMT"), 0.0);
    EXPECT_EQ(ZoneTextToOffset(""), 0.0);
}

TEST(InternetDate, OffsetTexts)
{
    EXPECT_EQ(OffsetToZoneText(8.0 / 24, false), "+0800");
    EXPECT_EQ(OffsetToZoneText(-5.5 / 24, true), "-0530");
    EXPECT_EQ(OffsetToZoneText(0, true), "GMT");
    EXPECT_EQ(OffsetToZoneText(0, false), "+0000");
}

TEST(InternetDate, NameIndexes)
{
    EXPECT_EQ(DayNameIndex("sun"), 1);
    EXPECT_EQ(DayNameIndex("SAT"), 7);
    EXPECT_EQ(DayNameIndex("Sunday"), 0);
    EXPECT_EQ(MonthNameIndex("jan"), 1);
    EXPECT_EQ(MonthNameIndex("Dec"), 12);
    EXPECT_EQ(MonthNameIndex("November"), 0);
    EXPECT_EQ(MonthNameIndex(""), 0);
}

TEST(InternetDate, FormatsWithLocalZone)
{
    const std::string zone = OffsetToZoneText(LocalOffset(), false);
    EXPECT_EQ(DateToInternetText(At(1994, 11, 6, 16, 49, 37)), "Sun, 6 Nov 1994 16:49:37 " + zone);
    EXPECT_EQ(DateToInternetText(At(2024, 2, 29, 0, 0, 5)), "Thu, 29 Feb 2024 00:00:05 " + zone);
}

TEST(InternetDate, FormattedTextReadsBackAsTheSameLocalTime)
{
    const TDateTime value = At(2031, 7, 14, 23, 59, 58);
    EXPECT_NEAR(InternetTextToLocal(DateToInternetText(value)), value, kSecond / 100);
}

#if !defined(_WIN32)
// Native only: the POSIX zone comes from TZ, so these pin one.
class WithZone : public ::testing::Test {
protected:
    void Use(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    void TearDown() override
    {
        if (FOld)
            setenv("TZ", FOld->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> FOld = std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

TEST_F(WithZone, EightHoursEast)
{
    Use("CST-8");
    EXPECT_NEAR(LocalOffset(), 8.0 / 24, 1e-12);
    EXPECT_EQ(DateToInternetText(At(1994, 11, 6, 16, 49, 37)), "Sun, 6 Nov 1994 16:49:37 +0800");
    EXPECT_NEAR(InternetTextToLocal("Sun, 06 Nov 1994 08:49:37 GMT"), At(1994, 11, 6, 16, 49, 37), kSecond / 100);
}

TEST_F(WithZone, UtcWithZeroAsGmt)
{
    Use("UTC0");
    EXPECT_EQ(DateToInternetText(At(1994, 11, 6, 8, 49, 37), true), "Sun, 6 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(DateToInternetText(At(1994, 11, 6, 8, 49, 37), false), "Sun, 6 Nov 1994 08:49:37 +0000");
}

TEST_F(WithZone, FiveHoursWest)
{
    Use("EST5");
    EXPECT_NEAR(InternetTextToLocal("Sun, 06 Nov 1994 08:49:37 -0500"), At(1994, 11, 6, 8, 49, 37), kSecond / 100);
}
#endif

} // namespace
} // namespace orbelin
