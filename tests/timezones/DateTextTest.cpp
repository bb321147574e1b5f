#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "timezones/DateText.h"
#include "timezones/FormatPattern.h"

using tavrin::DateTime;
using tavrin::FormatPattern;
using tavrin::ReadDateText;

namespace {

std::optional<DateTime> day(int y, int m, int d) {
    return DateTime::fromFields(y, m, d);
}
std::optional<DateTime> time(int h, int m, int s = 0) {
    return DateTime::fromSerial(0, h * 3600 + m * 60 + s);
}

}  // namespace

TEST(DateText, NumericDatesFollowThePatternsOrder) {
    EXPECT_EQ(ReadDateText("03/07/05", "mm/dd/yy"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("07/03/05", "dd/mm/yy"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("07.03.2005", "dd.mm.yyyy"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("05/03/07", "yy/mm/dd"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("3-7-2005"), day(2005, 3, 7));  // no pattern: month/day/year
    EXPECT_EQ(ReadDateText("3 7 05", "dddd"), day(2005, 3, 7));
    // The pattern's "mm" after an hour is minutes, not the month.
    EXPECT_EQ(ReadDateText("03/07/05 9:05 pm", "dd hh:mm yy"), DateTime::fromFields(2005, 3, 7, 21, 5));
}

TEST(DateText, YearsOfTwoFourAndOtherDigitCounts) {
    EXPECT_EQ(ReadDateText("1/1/29"), day(2029, 1, 1));
    EXPECT_EQ(ReadDateText("1/1/30"), day(1930, 1, 1));
    EXPECT_EQ(ReadDateText("1/1/5"), day(2005, 1, 1));
    EXPECT_EQ(ReadDateText("1/1/999"), day(999, 1, 1));
    EXPECT_EQ(ReadDateText("1/1/0100"), day(100, 1, 1));
    EXPECT_EQ(ReadDateText("12/31/9999"), day(9999, 12, 31));
    EXPECT_EQ(ReadDateText("1/1/0099"), std::nullopt);
    EXPECT_EQ(ReadDateText("1/1/10000"), std::nullopt);
}

TEST(DateText, IsoDatesWhateverThePattern) {
    EXPECT_EQ(ReadDateText("2005-03-07", "dd/mm/yy"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("2005-03-07", "mm/dd/yy"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("2005-03-07 21:05:30"), DateTime::fromFields(2005, 3, 7, 21, 5, 30));
    EXPECT_EQ(ReadDateText("2005-03-07T21:05:30"), DateTime::fromFields(2005, 3, 7, 21, 5, 30));
    // A pattern that itself starts with the year keeps its own order.
    EXPECT_EQ(ReadDateText("2005/07/03", "yyyy/dd/mm"), day(2005, 3, 7));
}

TEST(DateText, MonthNamesAndTheFormsTheCalendarUses) {
    EXPECT_EQ(ReadDateText("12 March 2005"), day(2005, 3, 12));
    EXPECT_EQ(ReadDateText("12 mar 2005"), day(2005, 3, 12));
    EXPECT_EQ(ReadDateText("12 SEPT 2005"), day(2005, 9, 12));
    EXPECT_EQ(ReadDateText("March 7, 2005"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("Mar 7 2005"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("7-Mar-05"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("March 2005"), day(2005, 3, 1));
    EXPECT_EQ(ReadDateText("3/2005"), day(2005, 3, 1));
    EXPECT_EQ(ReadDateText("12/2004", "dd/mm/yy"), day(2004, 12, 1));
    EXPECT_EQ(ReadDateText("05 Mar 07", "yy mmm dd"), day(2005, 3, 7));
}

TEST(DateText, WeekdayNamesAreSkippedEvenWhenWrong) {
    EXPECT_EQ(ReadDateText("Monday, March 7, 2005"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("mon 07 Mar 2005"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("Thurs 03/07/05"), day(2005, 3, 7));
    EXPECT_EQ(ReadDateText("Monday"), std::nullopt);
    EXPECT_EQ(ReadDateText("Monday Tuesday 03/07/05"), std::nullopt);
}

TEST(DateText, TimesWithAndWithoutHalfOfDay) {
    EXPECT_EQ(ReadDateText("21:05"), time(21, 5));
    EXPECT_EQ(ReadDateText("9:5:7"), time(9, 5, 7));
    EXPECT_EQ(ReadDateText("9:05 PM"), time(21, 5));
    EXPECT_EQ(ReadDateText("9:05pm"), time(21, 5));
    EXPECT_EQ(ReadDateText("12:30 AM"), time(0, 30));
    EXPECT_EQ(ReadDateText("12:30 PM"), time(12, 30));
    EXPECT_EQ(ReadDateText("17:30 PM"), time(17, 30));
    EXPECT_EQ(ReadDateText("5 P"), time(17, 0));
    EXPECT_EQ(ReadDateText("  05:30 PM  "), time(17, 30));
    EXPECT_EQ(ReadDateText("03/07/05 9:05 pm"), DateTime::fromFields(2005, 3, 7, 21, 5));
    EXPECT_EQ(ReadDateText("24:00"), std::nullopt);
    EXPECT_EQ(ReadDateText("23:60"), std::nullopt);
    EXPECT_EQ(ReadDateText("9:05 XM"), std::nullopt);
    EXPECT_EQ(ReadDateText("9:05 PM PM"), std::nullopt);
    EXPECT_EQ(ReadDateText("123:05"), std::nullopt);
}

TEST(DateText, UnreadableTexts) {
    for (std::string_view text : {"",
                                  "   ",
                                  "5",
                                  "2005",
                                  "March",
                                  "12 March",
                                  "02/30/05",
                                  "13/01/05",
                                  "02/29/2005",
                                  "0/1/05",
                                  "3/7/05 extra",
                                  "3/7/05,",
                                  "3//7/05",
                                  "3/7",
                                  "12March2005",
                                  "3/7/05 9:05:",
                                  "hello",
                                  "3/7/05 :",
                                  "1/2/3/4",
                                  "March 7 2005 March",
                                  "\xc3\xa9 3/7/05",
                                  "3/7/05\x01"}) {
        EXPECT_EQ(ReadDateText(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(ReadDateText(std::string_view("03/07/05\0", 9)), std::nullopt);
    EXPECT_EQ(ReadDateText(std::string_view("03/\0"
                                            "07/05",
                                            9)),
              std::nullopt);
    EXPECT_EQ(ReadDateText("02/29/2004"), day(2004, 2, 29));
}

TEST(DateText, PatternOrderFillsMissingFieldsFromMonthDayYear) {
    using Order = std::array<char, 3>;
    EXPECT_EQ(tavrin::dateOrderOf(""), (Order{'m', 'd', 'y'}));
    EXPECT_EQ(tavrin::dateOrderOf("dd/mm/yy"), (Order{'d', 'm', 'y'}));
    EXPECT_EQ(tavrin::dateOrderOf("dd/mm"), (Order{'d', 'm', 'y'}));
    EXPECT_EQ(tavrin::dateOrderOf("yyyy mmm"), (Order{'y', 'm', 'd'}));
    EXPECT_EQ(tavrin::dateOrderOf("yy dd"), (Order{'y', 'm', 'd'}));
    EXPECT_EQ(tavrin::dateOrderOf("dd hh:mm yy"), (Order{'m', 'd', 'y'}));
    EXPECT_EQ(tavrin::dateOrderOf("dddd, mmmm d, yyyy"), (Order{'m', 'd', 'y'}));
    EXPECT_EQ(tavrin::dateOrderOf("\"dd\" mm/yy/d"), (Order{'m', 'y', 'd'}));
}

TEST(DateText, EveryFullDatePatternReadsItsOwnTextBack) {
    const std::string_view twoDigit[] = {"mm/dd/yy",     "dd/mm/yy",  "dd.mm.yy",   "yy-mm-dd", "d/m/yy",
                                         "ddd d mmm yy", "mmm d, yy", "dd mmmm yy", "yy/dd/mm"};
    const std::string_view fourDigit[] = {"dd/mm/yyyy",         "yyyy-mm-dd",          "d mmmm yyyy",
                                          "dddd, mmmm d, yyyy", "ddd dd mmm yyyy",     "m/d/yyyy",
                                          "mmm d yyyy",         "mm/dd/yyyy hh:mm:ss", "yyyy mmmm dd dddd",
                                          "dd-mmm-yyyy",        "mm/yyyy/dd"};
    const std::int64_t from1930 = DateTime::fromFields(1930, 1, 1).days();
    const std::int64_t to2029 = DateTime::fromFields(2029, 12, 31).days();
    for (std::int64_t d = from1930; d <= to2029; d += 13) {
        const DateTime date = DateTime::fromSerial(d, 0);
        for (std::string_view p : twoDigit) {
            ASSERT_EQ(ReadDateText(FormatPattern(date, p), p), date) << p << ": " << FormatPattern(date, p);
        }
        // Date and time together, as the world-time lines write them.
        const DateTime withTime = date.addMinutes(d * 37 % 1440);
        for (std::string_view p : {"mm/dd/yy h:mm am/pm", "dd/mm/yy HH:MM", "yyyy-mm-dd hh:mm:ss"}) {
            ASSERT_EQ(ReadDateText(FormatPattern(withTime, p), p), withTime)
                << p << ": " << FormatPattern(withTime, p);
        }
    }
    const std::int64_t from100 = DateTime::fromFields(100, 1, 1).days();
    const std::int64_t to9999 = DateTime::fromFields(9999, 12, 31).days();
    for (std::int64_t d = from100; d <= to9999; d += 997) {
        for (const DateTime date :
             {DateTime::fromSerial(d, 0), DateTime::fromSerial(to9999 - d + from100, 0)}) {
            for (std::string_view p : fourDigit) {
                ASSERT_EQ(ReadDateText(FormatPattern(date, p), p), date)
                    << p << ": " << FormatPattern(date, p);
            }
        }
    }
}

TEST(DateText, TimePatternsReadTheirOwnTextBack) {
    for (int s = 0; s < 86400; s += 7) {
        const DateTime t = DateTime::fromSerial(0, s);
        const DateTime toMinute = DateTime::fromSerial(0, s - s % 60);
        EXPECT_EQ(ReadDateText(FormatPattern(t, "HH:MM:SS")), t);
        for (std::string_view p : {"h:mm AM/PM", "HH:MM", "hh:mm am/pm", "h:mm a/p"}) {
            ASSERT_EQ(ReadDateText(FormatPattern(t, p)), toMinute) << p << ": " << FormatPattern(t, p);
        }
    }
}

TEST(DateText, FormattingTextPassesUnreadableTextThrough) {
    EXPECT_EQ(FormatPattern("21:05:00", "HH:MM"), "21:05");
    EXPECT_EQ(FormatPattern("03/07/05", "dddd", "mm/dd/yy"), "Monday");
    EXPECT_EQ(FormatPattern("07/03/05", "dddd", "dd/mm/yy"), "Monday");
    EXPECT_EQ(FormatPattern("12 March 2005", "mm/dd/yy", "mm/dd/yy"), "03/12/05");
    EXPECT_EQ(FormatPattern("01 March 2005", "m"), "3");
    EXPECT_EQ(FormatPattern("3/2005", "mmmm yyyy"), "March 2005");
    EXPECT_EQ(FormatPattern("25:00", "HH:MM"), "25:00");
    EXPECT_EQ(FormatPattern("5:30 PM", "h:mm AM/PM"), "5:30 PM");
    EXPECT_EQ(FormatPattern("", "HH:MM"), "");
}

TEST(DateText, RandomTextIsReadOrRefusedNeverMisread) {
    std::mt19937 rng(7032005);
    const std::string_view pieces[] = {
        "0",    "1", "2", "3",     "5",   "9",      "12",  "29", "30", "31", "2005",
        "0100", "/", "-", ".",     ",",   ":",      " ",   "  ", "\t", "am", "PM",
        "a",    "p", "T", "March", "sep", "Monday", "thu", "x",  "\"", "\\", std::string_view("\0", 1)};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    const std::string_view formats[] = {"", "dd/mm/yy", "yyyy-mm-dd", "mmmm d, yyyy", "h:mm"};
    for (int i = 0; i < 30000; ++i) {
        std::string text;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) text += pieces[pick(rng)];
        const std::string_view format = formats[static_cast<std::size_t>(i) % std::size(formats)];
        const std::optional<DateTime> v = ReadDateText(text, format);
        if (!v) continue;
        // Whatever is read is a real date-time in range, and reads back the same from a plain form.
        const bool timeOnly = v->days() == 0;
        if (!timeOnly) {
            EXPECT_GE(v->year(), 100) << text;
            EXPECT_LE(v->year(), 9999) << text;
        }
        EXPECT_EQ(ReadDateText(FormatPattern(*v, "yyyy-mm-dd hh:mm:ss")), v) << text;
    }
}
