#include <gtest/gtest.h>

#include <string>

#include "core/timezones/FormatPattern.h"
#include "core/timezones/LocaleNames.h"
#include "support/InstalledLocale.h"

using tavrin::CalendarNames;
using tavrin::DateTime;
using tavrin::formatPattern;

namespace {

struct Formatting {
    int hour, minute, second;  // on Monday 7 March 2005
    std::string_view pattern, want;
};

TEST(FormatPattern, TokensAsTheStoredAndShownTextsUseThem) {
    // clang-format off
    const Formatting cases[] = {
        // The fixed patterns of the stored and compared texts.
        {21, 5, 0, "mm/dd/yy", "03/07/05"}, {21, 5, 0, "h:mm AM/PM", "9:05 PM"},
        {21, 5, 0, "mm/dd/yy h:mm am/pm", "03/07/05 9:05 pm"},
        {21, 5, 0, "dddd mmm hh:mm am/pm", "Monday Mar 09:05 pm"},
        {21, 5, 0, "mm/dd/yy hh:mm am/pm", "03/07/05 09:05 pm"},
        {21, 5, 0, "dd/mm hh:mm am/pm", "07/03 09:05 pm"}, {21, 5, 0, "HH:MM AM/PM", "09:05 PM"},
        {21, 5, 0, "HH:MM", "21:05"}, {21, 5, 0, "HH:MM:SS", "21:05:00"}, {21, 5, 0, "HH", "21"},
        {21, 5, 0, "hh am/pm", "09 pm"}, {21, 5, 0, "am/pm", "pm"}, {21, 5, 0, "AM/PM", "PM"},
        {21, 5, 0, "dddd", "Monday"}, {21, 5, 0, "mmmm yyyy", "March 2005"}, {21, 5, 0, "m", "3"},
        {21, 5, 0, "yyyy", "2005"},
        // The twelve-hour clock shows midnight and noon as twelve; the marker anywhere in the pattern
        // switches every hour, and each half keeps the letters as the pattern writes them.
        {0, 30, 0, "HH:MM AM/PM", "12:30 AM"}, {12, 30, 0, "HH:MM AM/PM", "12:30 PM"},
        {0, 30, 0, "HH:MM", "00:30"}, {9, 5, 0, "h:mm AM/PM", "9:05 AM"}, {11, 59, 0, "h:mm a/p", "11:59 a"},
        {13, 0, 0, "h A/P", "1 P"}, {15, 0, 0, "AM/PM h", "PM 3"}, {15, 0, 0, "Am/Pm", "Pm"},
        {3, 0, 0, "Am/Pm", "Am"},
        // Minutes follow an hour (across a blank, not a "/") or precede seconds.
        {21, 5, 0, "h m", "21 5"}, {21, 5, 0, "h/m", "21/3"}, {21, 5, 0, "hh mmm", "21 Mar"},
        {21, 5, 0, "mm:ss", "05:00"}, {21, 5, 0, "h dd mm", "21 07 03"}, {21, 5, 0, "n:nn", "5:05"},
        // Common extra tokens; unknown letters stand for themselves.
        {21, 5, 9, "ddd d mmm yy", "Mon 7 Mar 05"}, {21, 5, 9, "s ss", "9 09"}, {21, 5, 9, "y", "66"},
        {21, 5, 9, "w ww q", "2 11 1"}, {21, 5, 9, "\"Today is\" dddd", "Today is Monday"},
        {21, 5, 9, "\\d\\a\\y d", "day 7"}, {21, 5, 9, "yyyy.mm.dd", "2005.03.07"},
        {21, 5, 9, "dd-mmmm-yyyy", "07-March-2005"}, {21, 5, 9, "kk e x", "kk e x"},
        {21, 5, 9, "DD/MM/YY", "07/03/05"},
        // Overlong runs act as the longest token.
        {21, 5, 0, "ddddd", "Monday"}, {21, 5, 0, "mmmmm", "March"}, {21, 5, 0, "yyy", "2005"},
        {21, 5, 0, "hhh", "21"}, {21, 5, 0, "sss qq www", "00 1 11"},
        // Words in single or double quotes or after a backslash stand as they are, and keep minutes
        // after an hour; a doubled quote is one quote, an unclosed quote runs to the end.
        {21, 5, 0, "HH:mm 'Uhr'", "21:05 Uhr"}, {21, 5, 0, "HH'h'mm", "21h05"}, {21, 5, 0, "H\\hmm", "21h05"},
        {21, 5, 0, "'d' \"m\" d", "d m 7"}, {21, 5, 0, "h 'o''clock'", "21 o'clock"},
        {21, 5, 0, "dd mmm ''yy", "07 Mar '05"}, {21, 5, 0, "\"a\"\"b\"", "a\"b"}, {21, 5, 0, "'", ""},
        {21, 5, 0, "''", "'"}, {21, 5, 0, "'unclosed d", "unclosed d"}, {21, 5, 0, "\"unclosed d", "unclosed d"},
        {21, 5, 0, "", ""}, {21, 5, 0, "d\\", "7"}, {21, 5, 0, "a/", "a/"}};
    // clang-format on
    for (const Formatting& c : cases) {
        const DateTime t = DateTime::fromFields(2005, 3, 7, c.hour, c.minute, c.second);
        EXPECT_EQ(formatPattern(t, c.pattern), c.want) << c.pattern << " at " << c.hour << ":" << c.minute;
    }
    EXPECT_EQ(formatPattern(DateTime::fromFields(100, 1, 1), "yyyy yy"), "0100 00");
    EXPECT_EQ(formatPattern(DateTime::fromFields(9999, 12, 31), "yyyy mmm d"), "9999 Dec 31");
}

TEST(FormatPattern, WeekdaysAndMonthsInTheUsersLanguage) {
    const CalendarNames de = tavrin::test::installedLocaleNames("de_DE.UTF-8");
    const CalendarNames ja = tavrin::test::installedLocaleNames("ja_JP.UTF-8");
    // A language that names a month standing alone otherwise than beside a day.
    CalendarNames pl = CalendarNames::english();
    pl.months[11] = "grudnia";
    pl.monthsAlone[11] = "grudzień";
    const DateTime dec7 = DateTime::fromFields(2026, 12, 7, 13, 5),
                   mar2 = DateTime::fromFields(2026, 3, 2, 9, 0);
    const struct {
        const CalendarNames& names;
        DateTime at;
        std::string_view pattern, want;
    } cases[] = {
        {de, dec7, "dddd, d. mmmm yyyy 'um' HH:mm 'Uhr'", "Montag, 7. Dezember 2026 um 13:05 Uhr"},
        {de, dec7, "ddd d. mmm yy", "Mo 7. Dez 26"},
        {de, mar2, "mmmm yyyy", "März 2026"},
        // The half of the day keeps the letters the pattern writes; patterns without names, the
        // stored and compared ones among them, come out byte for byte as in English.
        {de, dec7, "h:mm AM/PM", "1:05 PM"},
        {de, dec7, "mm/dd/yy HH:MM:SS", "12/07/26 13:05:00"},
        {ja, dec7, "yyyy'年'm'月'd'日' dddd", "2026年12月7日 月曜日"},
        {ja, dec7, "H'時'mm'分'", "13時05分"},
        {ja, mar2, "[mmm] ddd", "[3月] 月"},  // without the blank the locale pads " 3月" with
        {pl, dec7, "d mmmm yyyy", "7 grudnia 2026"},
        {pl, dec7, "mmmm yyyy", "grudzień 2026"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPattern(c.at, c.pattern, c.names), c.want) << c.pattern;

    // The C and POSIX locales name them in English; a locale that is not installed names nothing.
    for (const char* locale : {"C", "POSIX", "C.UTF-8"})
        EXPECT_EQ(tavrin::calendarNamesOfLocale(locale), CalendarNames::english()) << locale;
    EXPECT_EQ(tavrin::calendarNamesOfLocale("xx_XX.UTF-8"), std::nullopt);
}

}  // namespace
