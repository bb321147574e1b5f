#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "timezones/FormatPattern.h"

using tavrin::DateTime;
using tavrin::FormatPattern;

namespace {

// 7 March 2005 21:05:00, a Monday.
const DateTime kEvening = DateTime::fromFields(2005, 3, 7, 21, 5, 0);

std::string at(int hour, int minute, std::string_view pattern) {
    return FormatPattern(DateTime::fromFields(2005, 3, 7, hour, minute, 0), pattern);
}

}  // namespace

TEST(FormatPattern, FixedPatternsGiveTheStoredAndComparedTexts) {
    EXPECT_EQ(FormatPattern(kEvening, "mm/dd/yy"), "03/07/05");
    EXPECT_EQ(FormatPattern(kEvening, "h:mm AM/PM"), "9:05 PM");
    EXPECT_EQ(FormatPattern(kEvening, "mm/dd/yy h:mm am/pm"), "03/07/05 9:05 pm");
    EXPECT_EQ(FormatPattern(kEvening, "dddd mmm hh:mm am/pm"), "Monday Mar 09:05 pm");
    EXPECT_EQ(FormatPattern(kEvening, "mm/dd/yy hh:mm am/pm"), "03/07/05 09:05 pm");
    EXPECT_EQ(FormatPattern(kEvening, "dd/mm hh:mm am/pm"), "07/03 09:05 pm");
    EXPECT_EQ(FormatPattern(kEvening, "HH:MM AM/PM"), "09:05 PM");
    EXPECT_EQ(FormatPattern(kEvening, "HH:MM"), "21:05");
    EXPECT_EQ(FormatPattern(kEvening, "HH:MM:SS"), "21:05:00");
    EXPECT_EQ(FormatPattern(kEvening, "HH"), "21");
    EXPECT_EQ(FormatPattern(kEvening, "hh am/pm"), "09 pm");
    EXPECT_EQ(FormatPattern(kEvening, "am/pm"), "pm");
    EXPECT_EQ(FormatPattern(kEvening, "AM/PM"), "PM");
    EXPECT_EQ(FormatPattern(kEvening, "dddd"), "Monday");
    EXPECT_EQ(FormatPattern(kEvening, "mmmm yyyy"), "March 2005");
    EXPECT_EQ(FormatPattern(kEvening, "m"), "3");
    EXPECT_EQ(FormatPattern(kEvening, "yyyy"), "2005");
}

TEST(FormatPattern, TwelveHourClockShowsMidnightAndNoonAsTwelve) {
    EXPECT_EQ(at(0, 30, "HH:MM AM/PM"), "12:30 AM");
    EXPECT_EQ(at(12, 30, "HH:MM AM/PM"), "12:30 PM");
    EXPECT_EQ(at(0, 30, "HH:MM"), "00:30");
    EXPECT_EQ(at(9, 5, "h:mm AM/PM"), "9:05 AM");
    EXPECT_EQ(at(11, 59, "h:mm a/p"), "11:59 a");
    EXPECT_EQ(at(13, 0, "h A/P"), "1 P");
    // The marker anywhere in the pattern switches every hour to the 12-hour clock.
    EXPECT_EQ(at(15, 0, "AM/PM h"), "PM 3");
    // Each half keeps the letters as the pattern writes them.
    EXPECT_EQ(at(15, 0, "Am/Pm"), "Pm");
    EXPECT_EQ(at(3, 0, "Am/Pm"), "Am");
}

TEST(FormatPattern, MinutesFollowAnHourOrPrecedeSeconds) {
    EXPECT_EQ(FormatPattern(kEvening, "h m"), "21 5");  // after an hour, across a blank
    EXPECT_EQ(FormatPattern(kEvening, "h/m"), "21/3");  // "/" breaks the link: the month
    EXPECT_EQ(FormatPattern(kEvening, "hh mmm"), "21 Mar");
    EXPECT_EQ(FormatPattern(kEvening, "mm:ss"), "05:00");
    EXPECT_EQ(FormatPattern(kEvening, "h dd mm"), "21 07 03");
    EXPECT_EQ(FormatPattern(kEvening, "n:nn"), "5:05");
}

TEST(FormatPattern, CommonExtraTokens) {
    const DateTime t = DateTime::fromFields(2005, 3, 7, 21, 5, 9);
    EXPECT_EQ(FormatPattern(t, "ddd d mmm yy"), "Mon 7 Mar 05");
    EXPECT_EQ(FormatPattern(t, "s ss"), "9 09");
    EXPECT_EQ(FormatPattern(t, "y"), "66");
    EXPECT_EQ(FormatPattern(t, "w ww q"), "2 11 1");
    EXPECT_EQ(FormatPattern(t, "\"Today is\" dddd"), "Today is Monday");
    EXPECT_EQ(FormatPattern(t, "\\d\\a\\y d"), "day 7");
    EXPECT_EQ(FormatPattern(t, "yyyy.mm.dd"), "2005.03.07");
    EXPECT_EQ(FormatPattern(t, "dd-mmmm-yyyy"), "07-March-2005");
    EXPECT_EQ(FormatPattern(t, "kk e x"), "kk e x");  // unknown letters stand for themselves
    EXPECT_EQ(FormatPattern(t, "DD/MM/YY"), "07/03/05");
}

TEST(FormatPattern, OverlongRunsActAsTheLongestToken) {
    EXPECT_EQ(FormatPattern(kEvening, "ddddd"), "Monday");
    EXPECT_EQ(FormatPattern(kEvening, "mmmmm"), "March");
    EXPECT_EQ(FormatPattern(kEvening, "yyy"), "2005");
    EXPECT_EQ(FormatPattern(kEvening, "hhh"), "21");
    EXPECT_EQ(FormatPattern(kEvening, "sss qq www"), "00 1 11");
}

TEST(FormatPattern, EdgesOfQuotesEscapesAndYears) {
    EXPECT_EQ(FormatPattern(kEvening, ""), "");
    EXPECT_EQ(FormatPattern(kEvening, "\"unclosed d"), "unclosed d");
    EXPECT_EQ(FormatPattern(kEvening, "d\\"), "7");
    EXPECT_EQ(FormatPattern(kEvening, "a/"), "a/");
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
