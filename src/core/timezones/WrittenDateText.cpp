#include "core/timezones/WrittenDateText.h"

#include <algorithm>
#include <cstddef>

#include "core/base/Text.h"
#include "core/timezones/DateText.h"
#include "core/timezones/PatternLexer.h"

namespace tavrin {
namespace {

class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    // One to `maxDigits` digits.
    bool number(int maxDigits, int& value, int& digits) {
        value = 0;
        digits = 0;
        while (at_ < text_.size() && digits < maxDigits && text_[at_] >= '0' && text_[at_] <= '9') {
            value = value * 10 + (text_[at_++] - '0');
            ++digits;
        }
        return digits > 0;
    }
    bool literal(std::string_view s) {
        if (text_.size() - at_ < s.size() || !equalsNoCase(text_.substr(at_, s.size()), s)) return false;
        at_ += s.size();
        return true;
    }
    bool name(const NameAt& found) {
        at_ += found.length;
        return found.length != 0;
    }
    std::string_view rest() const { return text_.substr(at_); }
    bool done() const { return at_ == text_.size(); }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// A field that the pattern writes twice ("d" and "dd") reads the same both times, or the text is not
// what the pattern wrote.
bool put(int& field, int value) {
    if (field >= 0 && field != value) return false;
    field = value;
    return true;
}

}  // namespace

std::optional<DateTime> readAsWritten(std::string_view text, std::string_view pattern, int yearIfMissing,
                                      const CalendarNames& names) {
    int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1, half = -1;
    Cursor in(text);
    PatternLexer lex(pattern);
    PatternToken t;
    while (lex.next(t)) {
        int value = 0, digits = 0;
        bool ok = true;
        switch (t.kind) {
            case PatternToken::Kind::Literal:
                ok = in.literal(t.text);
                break;
            case PatternToken::Kind::AmPm:
            case PatternToken::Kind::AP: {
                const std::string_view rest = in.rest();
                const bool full = t.kind == PatternToken::Kind::AmPm;
                const std::size_t width = full ? 2 : 1;
                const char first = rest.empty() ? 0 : lowerAscii(rest[0]);
                ok = rest.size() >= width && (first == 'a' || first == 'p') &&
                     (!full || lowerAscii(rest[1]) == 'm') && put(half, first == 'p' ? 1 : 0) &&
                     in.literal(rest.substr(0, width));
                break;
            }
            case PatternToken::Kind::Field:
                switch (t.letter) {
                    case 'd':
                        ok = t.count <= 2 ? in.number(2, value, digits) && put(day, value)
                                          : in.name(weekdayNameAt(in.rest(), names));
                        break;
                    case 'm':
                        if (t.count <= 2) {
                            ok = in.number(2, value, digits) && put(month, value);
                        } else {
                            const NameAt found = monthNameAt(in.rest(), names);
                            ok = in.name(found) && put(month, found.index);
                        }
                        break;
                    case 'n':
                        ok = in.number(2, value, digits) && put(minute, value);
                        break;
                    case 'h':
                        ok = in.number(2, value, digits) && put(hour, value);
                        break;
                    case 's':
                        ok = in.number(2, value, digits) && put(second, value);
                        break;
                    case 'y':
                        if (t.count == 1) {
                            ok = in.number(3, value, digits);  // the day of the year places nothing
                        } else {
                            ok = in.number(t.count == 2 ? 2 : 4, value, digits) &&
                                 put(year, yearOfDigits(value, digits));
                        }
                        break;
                    default:  // weekday and week numbers, the quarter: they place nothing either
                        ok = in.number(t.letter == 'q' ? 1 : 2, value, digits);
                        break;
                }
                break;
        }
        if (!ok) return std::nullopt;
    }
    if (!in.done()) return std::nullopt;

    const bool hasDate = year >= 0 || month >= 0 || day >= 0;
    const bool hasTime = hour >= 0 || minute >= 0 || second >= 0 || half >= 0;
    if (!hasDate && !hasTime) return std::nullopt;
    int h = 0, mi = 0, s = 0;
    if (hasTime) {
        // Minutes need their hour, and a lone number is no time of day, as in any other time text.
        if (hour < 0 || (minute < 0 && half < 0 && !hasDate)) return std::nullopt;
        h = hour;
        mi = std::max(minute, 0);
        s = std::max(second, 0);
        if (h > 23 || mi > 59 || s > 59) return std::nullopt;
        if (half == 0 && h == 12) h = 0;
        if (half == 1 && h < 12) h += 12;
    }
    if (!hasDate) return DateTime::fromSerial(0, h * 3600 + mi * 60 + s);

    // A month with its year and no day is its first day, as "March 2005" reads.
    const bool yearGiven = year >= 0;
    if (month < 1 || month > 12 || (!yearGiven && (day < 0 || yearIfMissing == 0))) return std::nullopt;
    const int y = yearGiven ? year : yearIfMissing;
    const int d = day >= 0 ? day : 1;
    if (y < 100 || y > 9999 || d < 1 || d > daysInMonth(y, month)) return std::nullopt;
    return DateTime::fromFields(y, month, d, h, mi, s);
}

}  // namespace tavrin
