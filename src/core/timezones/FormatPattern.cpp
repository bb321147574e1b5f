#include "core/timezones/FormatPattern.h"

#include <cstddef>

#include "core/timezones/PatternLexer.h"

namespace tavrin {
namespace {

// Appends `value` in decimal, zero-padded to `width` digits. No locale and no allocation beyond the
// output string: this runs for every world-time line and every reminder on each tick.
void appendNumber(std::string& out, long long value, int width) {
    char buf[24];
    int n = 0;
    const bool negative = value < 0;
    unsigned long long v =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < width && n < static_cast<int>(sizeof buf)) buf[n++] = '0';
    if (negative) out += '-';
    while (n > 0) out += buf[--n];
}

}  // namespace

// Tokens (letters in any case, a token being the longest run of one letter):
//   d dd ddd dddd     day; day, two digits; Mon; Monday
//   m mm mmm mmmm     month; month, two digits; Mar; March. "m" and "mm" are minutes right after an
//                     hour token (":", blanks and quoted text between allowed) or right before a
//                     seconds token (":" and blanks between). A language that names a month
//                     otherwise when it stands alone gets that form unless the pattern also holds
//                     "d" or "dd"
//   n nn              minutes; minutes, two digits
//   h hh, s ss        hour and seconds, without and with a leading zero
//   y yy yyyy         day of the year; year, two digits; year, four digits
//   w ww q            weekday (1 = Sunday); week of the year (Sunday starts a week, week 1 holds
//                     1 January); quarter
//   AM/PM A/P         the half of the day in the letters the pattern writes; either one anywhere in
//                     the pattern puts every hour on the 12-hour clock (0 and 12 show as 12)
// A backslash writes the next character as it is, text between single or double quotes is written
// as it stands (PatternLexer tells the rules of quotes), and every other character (":" and "/"
// included) and every other letter stands for itself.
// Settings are typed by users, so odd runs must mean something: a run longer than its letter's
// longest token acts as that token ("ddddd" is the weekday name, "mmmmm" the month name, "hhh" and
// "sss" two digits, "qq" the quarter), and "yyy" is the four-digit year, being more often a slip for
// "yyyy" than a wish for the day of the year.
std::string formatPattern(const DateTime& value, std::string_view pattern, const CalendarNames& names) {
    std::string out;
    out.reserve(pattern.size() + 16);
    const PatternLexer::Outline outline = PatternLexer::outlineOf(pattern);
    const bool twelveHour = outline.twelveHour;
    const auto& monthNames = outline.dayNumber ? names.months : names.monthsAlone;
    const auto& monthShortNames = outline.dayNumber ? names.monthsShort : names.monthsAloneShort;
    const CivilDate c = value.civil();
    const int hour24 = value.hour();
    const bool pm = hour24 >= 12;
    int hour = hour24;
    if (twelveHour) {
        hour = hour24 % 12;
        if (hour == 0) hour = 12;
    }

    PatternLexer lex(pattern);
    PatternToken t;
    while (lex.next(t)) {
        switch (t.kind) {
            case PatternToken::Kind::Literal:
                out += t.text;
                break;
            case PatternToken::Kind::AmPm:
                // The pattern's own letters: "AM/PM" writes "PM", "am/pm" "pm", "Am/pm" "pm".
                out += t.text.substr(pm ? 3 : 0, 2);
                break;
            case PatternToken::Kind::AP:
                out += pm ? t.text[2] : t.text[0];
                break;
            case PatternToken::Kind::Field:
                switch (t.letter) {
                    case 'd':
                        if (t.count <= 2) {
                            appendNumber(out, c.day, t.count);
                        } else if (t.count == 3) {
                            out += names.weekdaysShort[static_cast<std::size_t>(value.weekday())];
                        } else {
                            out += names.weekdays[static_cast<std::size_t>(value.weekday())];
                        }
                        break;
                    case 'm':
                        if (t.count <= 2) {
                            appendNumber(out, c.month, t.count);
                        } else if (t.count == 3) {
                            out += monthShortNames[static_cast<std::size_t>(c.month - 1)];
                        } else {
                            out += monthNames[static_cast<std::size_t>(c.month - 1)];
                        }
                        break;
                    case 'n':
                        appendNumber(out, value.minute(), t.count >= 2 ? 2 : 1);
                        break;
                    case 's':
                        appendNumber(out, value.second(), t.count >= 2 ? 2 : 1);
                        break;
                    case 'h':
                        appendNumber(out, hour, t.count >= 2 ? 2 : 1);
                        break;
                    case 'y':
                        if (t.count == 1) {
                            appendNumber(out, value.dayOfYear(), 1);
                        } else if (t.count == 2) {
                            appendNumber(out, ((c.year % 100) + 100) % 100, 2);
                        } else {
                            appendNumber(out, c.year, 4);
                        }
                        break;
                    case 'w':
                        if (t.count == 1) {
                            appendNumber(out, value.weekday() + 1, 1);
                        } else {
                            appendNumber(out, value.weekOfYear(), 1);
                        }
                        break;
                    case 'q':
                        appendNumber(out, (c.month - 1) / 3 + 1, 1);
                        break;
                    default:
                        out += t.text;
                        break;
                }
                break;
        }
    }
    return out;
}

std::string formatPattern(std::string_view text, std::string_view pattern, std::string_view dateFormat,
                          const CalendarNames& names) {
    const std::optional<DateTime> value = readDateText(text, dateFormat, 0, names);
    if (!value) return std::string(text);
    return formatPattern(*value, pattern, names);
}

}  // namespace tavrin
