#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/timezones/DateText.h"
#include "core/timezones/FormatPattern.h"
#include "support/InstalledLocale.h"

using tavrin::CalendarNames;
using tavrin::DateTime;
using tavrin::formatPattern;
using tavrin::readDateText;

namespace {

DateTime day(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTime::fromFields(y, m, d, h, mi, s);
}
DateTime time(int h, int m, int s = 0) {
    return DateTime::fromSerial(0, h * 3600 + m * 60 + s);
}

struct Reading {
    std::string_view text, pattern;
    std::optional<DateTime> want;
    int yearIfMissing = 0;  // the year read into a day and month without one
    const CalendarNames* names = &CalendarNames::english();
};

TEST(DateText, ReadsDatesAndTimesAsThePatternOrders) {
    const std::optional<DateTime> none;
    const CalendarNames de = tavrin::test::installedLocaleNames("de_DE.UTF-8");
    const CalendarNames ja = tavrin::test::installedLocaleNames("ja_JP.UTF-8");
    // One short name for a weekday and a month: a date holds a month, so the month wins.
    CalendarNames it = CalendarNames::english();
    it.weekdaysShort[2] = "mar";
    it.monthsShort[2] = "mar";
    // clang-format off
    const Reading cases[] = {
        // Numeric dates follow the pattern's order; without one, month/day/year.
        // (What each pattern writes reads back: below.)
        {"3-7-2005", "", day(2005, 3, 7)}, {"3 7 05", "dddd", day(2005, 3, 7)},
        // The pattern's "mm" after an hour is minutes, not the month.
        {"03/07/05 9:05 pm", "dd hh:mm yy", day(2005, 3, 7, 21, 5)},
        // Years of two, four and other digit counts.
        {"1/1/29", "", day(2029, 1, 1)}, {"1/1/30", "", day(1930, 1, 1)}, {"1/1/5", "", day(2005, 1, 1)},
        {"1/1/999", "", day(999, 1, 1)}, {"1/1/0100", "", day(100, 1, 1)}, {"1/1/0099", "", none},
        {"1/1/10000", "", none}, {"12/31/9999", "", day(9999, 12, 31)}, {"02/29/2004", "", day(2004, 2, 29)},
        // ISO dates whatever the pattern; a pattern that starts with the year keeps its own order.
        {"2005-03-07", "dd/mm/yy", day(2005, 3, 7)}, {"2005-03-07", "mm/dd/yy", day(2005, 3, 7)},
        {"2005-03-07 21:05:30", "", day(2005, 3, 7, 21, 5, 30)},
        {"2005-03-07T21:05:30", "", day(2005, 3, 7, 21, 5, 30)},
        {"2005/07/03", "yyyy/dd/mm", day(2005, 3, 7)},
        // Month names and the forms the calendar uses.
        {"12 March 2005", "", day(2005, 3, 12)}, {"12 mar 2005", "", day(2005, 3, 12)},
        {"12 SEPT 2005", "", day(2005, 9, 12)}, {"March 7, 2005", "", day(2005, 3, 7)},
        {"Mar 7 2005", "", day(2005, 3, 7)}, {"7-Mar-05", "", day(2005, 3, 7)},
        {"March 2005", "", day(2005, 3, 1)}, {"3/2005", "", day(2005, 3, 1)},
        {"12/2004", "dd/mm/yy", day(2004, 12, 1)}, {"05 Mar 07", "yy mmm dd", day(2005, 3, 7)},
        // Weekday names are skipped even when wrong, but are no date on their own.
        {"Monday, March 7, 2005", "", day(2005, 3, 7)}, {"mon 07 Mar 2005", "", day(2005, 3, 7)},
        {"Thurs 03/07/05", "", day(2005, 3, 7)}, {"Monday", "", none}, {"Monday Tuesday 03/07/05", "", none},
        // Times with and without the half of the day.
        {"21:05", "", time(21, 5)}, {"9:5:7", "", time(9, 5, 7)}, {"9:05 PM", "", time(21, 5)},
        {"9:05pm", "", time(21, 5)}, {"12:30 AM", "", time(0, 30)}, {"12:30 PM", "", time(12, 30)},
        {"17:30 PM", "", time(17, 30)}, {"5 P", "", time(17, 0)}, {"  05:30 PM  ", "", time(17, 30)},
        {"24:00", "", none}, {"23:60", "", none}, {"9:05 XM", "", none}, {"9:05 PM PM", "", none},
        {"123:05", "", none}, {"03/07/05 9:05 pm", "", day(2005, 3, 7, 21, 5)},
        // A time alone with the pattern's quoted words; the words need the pattern, and the fields.
        {"21:05 Uhr", "HH:mm 'Uhr'", time(21, 5)}, {"21:05 Uhr", "", none}, {"21 Uhr", "HH 'Uhr'", none},
        // A year cut short, as patterns with an apostrophe before "yy" stored it before quotes held
        // words.
        {"07 Mar '05", "dd mmm 'yy", day(2005, 3, 7)}, {"Mar 7, '05", "", day(2005, 3, 7)}, {"7 'Mar 05", "", none},
        // Day and month without a year are read in the year the caller gives, in the pattern's order;
        // with none given they stay unreadable (below).
        {"7 Mar", "d mmm", day(2005, 3, 7), 2005}, {"Mar 7", "mmm d", day(2005, 3, 7), 2005},
        {"7/3", "d/m", day(2005, 3, 7), 2005}, {"3/7", "m/d", day(2005, 3, 7), 2005},
        {"7 Mar 9:30", "d mmm h:nn", day(2005, 3, 7, 9, 30), 2005}, {"29 Feb", "d mmm", none, 2005},
        {"7 Mar 2004", "d mmm", day(2004, 3, 7), 2005},
        // Names in the user's language, English ones whatever the language (stored text is English),
        // and the user's names in dates typed in another form than the pattern's.
        {"Mo 2. März", "ddd d. mmmm", day(2026, 3, 2), 2026, &de},
        {"7. December 2026", "d. mmmm yyyy", day(2026, 12, 7), 0, &de},
        {"7. März 2026", "dd.mm.yyyy", day(2026, 3, 7), 0, &de}, {"Mon 7 Dez 2026", "", day(2026, 12, 7), 0, &de},
        {"7. Dezember 2026", "d. mmmm yyyy", none},
        {"2026年3月2日", "yyyy'年'm'月'd'日'", day(2026, 3, 2), 0, &ja},
        {"13時05分", "H'時'mm'分'", time(13, 5), 0, &ja}, {"7 mar 2005", "", day(2005, 3, 7), 0, &it}};
    // clang-format on
    for (const Reading& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + std::string(c.pattern));
        EXPECT_EQ(readDateText(c.text, c.pattern, c.yearIfMissing, *c.names), c.want);
    }
}

TEST(DateText, UnreadableTexts) {
    using namespace std::string_view_literals;
    // clang-format off
    for (std::string_view text : {""sv, "   "sv, "5"sv, "2005"sv, "March"sv, "12 March"sv, "02/30/05"sv,
                                  "13/01/05"sv, "02/29/2005"sv, "0/1/05"sv, "3/7/05 extra"sv, "3/7/05,"sv,
                                  "3//7/05"sv, "3/7"sv, "12March2005"sv, "3/7/05 9:05:"sv, "hello"sv,
                                  "3/7/05 :"sv, "1/2/3/4"sv, "March 7 2005 March"sv, "\xc3\xa9 3/7/05"sv,
                                  "3/7/05\x01"sv, "03/07/05\0"sv, "03/\0" "07/05"sv})
        // clang-format on
        EXPECT_EQ(readDateText(text), std::nullopt) << '"' << text << '"';
}

TEST(DateText, PatternOrderFillsMissingFieldsFromMonthDayYear) {
    // clang-format off
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "mdy"}, {"dd/mm/yy", "dmy"}, {"dd/mm", "dmy"}, {"yyyy mmm", "ymd"}, {"yy dd", "ymd"},
        {"dd hh:mm yy", "mdy"}, {"dddd, mmmm d, yyyy", "mdy"}, {"\"dd\" mm/yy/d", "myd"}};
    // clang-format on
    for (const auto& [pattern, want] : cases) {
        const auto order = tavrin::dateOrderOf(pattern);
        EXPECT_EQ(std::string_view(order.data(), order.size()), want) << pattern;
    }
}

// What a pattern writes reads back: numeric dates with two-digit years from 1930 to 2029 and with
// four-digit ones from 100 to 9999, with a time as the world-time lines write them, and words and
// names in English, German and Japanese.
TEST(DateText, EveryPatternReadsItsOwnTextBack) {
    const CalendarNames de = tavrin::test::installedLocaleNames("de_DE.UTF-8");
    const CalendarNames ja = tavrin::test::installedLocaleNames("ja_JP.UTF-8");
    const std::string_view twoDigit[] = {"mm/dd/yy",     "dd/mm/yy",  "dd.mm.yy",   "yy-mm-dd", "d/m/yy",
                                         "ddd d mmm yy", "mmm d, yy", "dd mmmm yy", "yy/dd/mm"};
    const std::string_view fourDigit[] = {"dd/mm/yyyy",         "yyyy-mm-dd",          "d mmmm yyyy",
                                          "dddd, mmmm d, yyyy", "ddd dd mmm yyyy",     "m/d/yyyy",
                                          "mmm d yyyy",         "mm/dd/yyyy hh:mm:ss", "yyyy mmmm dd dddd",
                                          "dd-mmm-yyyy",        "mm/yyyy/dd"};
    const std::string_view timed[] = {"mm/dd/yy h:mm am/pm", "dd/mm/yy HH:MM", "yyyy-mm-dd hh:mm:ss"};
    const std::string_view worded[] = {"ddd d. mmm yy", "'Week' ww, d mmm ''yy", "yyyymmdd", "mmmm d, yyyy"};
    const std::string_view wordedTimed[] = {"dddd, d. mmmm yyyy 'um' HH:mm 'Uhr'",
                                            "yyyy'年'mmmmd'日' dddd H'時'mm'分'", "dd/mm/yyyy h'h'mm AM/PM"};
    auto readsBack = [](const DateTime& t, std::string_view p,
                        const CalendarNames& n = CalendarNames::english()) {
        ASSERT_EQ(readDateText(formatPattern(t, p, n), p, 0, n), t) << p << ": " << formatPattern(t, p, n);
    };
    const std::int64_t from1930 = day(1930, 1, 1).days(), to2029 = day(2029, 12, 31).days();
    for (std::int64_t d = from1930; d <= to2029; d += 13) {
        const DateTime date = DateTime::fromSerial(d, 0), at = date.addMinutes(d * 37 % 1440);
        for (std::string_view p : twoDigit) readsBack(date, p);
        for (std::string_view p : timed) readsBack(at, p);
        for (const CalendarNames* names : {&CalendarNames::english(), &de, &ja}) {
            for (std::string_view p : worded) readsBack(date, p, *names);
            for (std::string_view p : wordedTimed) readsBack(at, p, *names);
        }
    }
    const std::int64_t from100 = day(100, 1, 1).days(), to9999 = day(9999, 12, 31).days();
    for (std::int64_t d = from100; d <= to9999; d += 997)
        for (const DateTime date :
             {DateTime::fromSerial(d, 0), DateTime::fromSerial(to9999 - d + from100, 0)})
            for (std::string_view p : fourDigit) readsBack(date, p);
}

TEST(DateText, FormattingTextPassesUnreadableTextThrough) {
    // clang-format off
    const std::array<std::string_view, 4> cases[] = {
        {"21:05:00", "HH:MM", "", "21:05"}, {"03/07/05", "dddd", "mm/dd/yy", "Monday"},
        {"07/03/05", "dddd", "dd/mm/yy", "Monday"}, {"12 March 2005", "mm/dd/yy", "mm/dd/yy", "03/12/05"},
        {"01 March 2005", "m", "", "3"}, {"3/2005", "mmmm yyyy", "", "March 2005"},
        {"25:00", "HH:MM", "", "25:00"}, {"5:30 PM", "h:mm AM/PM", "", "5:30 PM"}, {"", "HH:MM", "", ""}};
    // clang-format on
    for (const auto& [text, pattern, stored, want] : cases)
        EXPECT_EQ(formatPattern(text, pattern, stored), want) << text << " / " << pattern;
}
}  // namespace
