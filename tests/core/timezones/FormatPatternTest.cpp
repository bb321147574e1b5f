#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/timezones/FormatPattern.h"

using tavrin::DateTime;
using tavrin::FormatPattern;

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
        // Edges of quotes and escapes.
        {21, 5, 0, "", ""}, {21, 5, 0, "\"unclosed d", "unclosed d"}, {21, 5, 0, "d\\", "7"},
        {21, 5, 0, "a/", "a/"}};
    // clang-format on
    for (const Formatting& c : cases) {
        const DateTime t = DateTime::fromFields(2005, 3, 7, c.hour, c.minute, c.second);
        EXPECT_EQ(FormatPattern(t, c.pattern), c.want) << c.pattern << " at " << c.hour << ":" << c.minute;
    }
    EXPECT_EQ(FormatPattern(DateTime::fromFields(100, 1, 1), "yyyy yy"), "0100 00");
    EXPECT_EQ(FormatPattern(DateTime::fromFields(9999, 12, 31), "yyyy mmm d"), "9999 Dec 31");
}

TEST(FormatPattern, RandomPatternsNeverFail) {
    std::mt19937 rng(20050307);
    const std::string alphabet = "dDmMyYhHnNsSwWqQaApP/:\\\" .,-xAM/PMam/pmA/Pa/p\t\x01\xff";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<std::int64_t> day(-700000, 3000000);
    for (int i = 0; i < 20000; ++i) {
        std::string pattern;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) pattern += alphabet[pick(rng)];
        const DateTime t = DateTime::fromSerial(day(rng), static_cast<std::int64_t>(rng() % 86400));
        const std::string out = FormatPattern(t, pattern);
        EXPECT_LE(out.size(), pattern.size() * 9 + 1) << pattern;
    }
}

}  // namespace
