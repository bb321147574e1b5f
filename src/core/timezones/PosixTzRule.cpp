#include "core/timezones/PosixTzRule.h"

#include <algorithm>
#include <cctype>

#include "core/timezones/DateTime.h"

namespace tavrin {
namespace {

class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool take(char c) {
        if (peek() != c || atEnd()) return false;
        ++pos_;
        return true;
    }
    // A run of up to `maxDigits` decimal digits; false when there is none.
    bool number(int maxDigits, int& value) {
        int digits = 0;
        value = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek())) && digits < maxDigits) {
            value = value * 10 + (text_[pos_++] - '0');
            ++digits;
        }
        return digits > 0;
    }
    // An abbreviation: three or more letters, or anything of letters, digits and signs in <...>.
    bool name(std::string& out) {
        out.clear();
        if (take('<')) {
            while (!atEnd() && peek() != '>') {
                const char c = peek();
                if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-') return false;
                out.push_back(text_[pos_++]);
            }
            return take('>') && out.size() >= 3;
        }
        while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek()))) out.push_back(text_[pos_++]);
        return out.size() >= 3;
    }
    // [+|-]hh[:mm[:ss]] in seconds, hours at most `maxHours`.
    bool hms(int maxHours, std::int32_t& seconds) {
        int sign = 1;
        if (take('-'))
            sign = -1;
        else
            take('+');
        int h = 0, m = 0, s = 0;
        if (!number(3, h) || h > maxHours) return false;
        if (take(':')) {
            if (!number(2, m) || m > 59) return false;
            if (take(':') && (!number(2, s) || s > 59)) return false;
        }
        seconds = sign * (h * 3600 + m * 60 + s);
        return true;
    }
    bool date(PosixTzDate& d) {
        if (take('J')) {
            d.kind = PosixTzDate::Kind::Julian1;
            if (!number(3, d.day) || d.day < 1 || d.day > 365) return false;
        } else if (take('M')) {
            d.kind = PosixTzDate::Kind::MonthWeekDay;
            if (!number(2, d.month) || d.month < 1 || d.month > 12 || !take('.')) return false;
            if (!number(1, d.week) || d.week < 1 || d.week > 5 || !take('.')) return false;
            if (!number(1, d.weekday) || d.weekday > 6) return false;
        } else {
            d.kind = PosixTzDate::Kind::Julian0;
            if (!number(3, d.day) || d.day > 365) return false;
        }
        d.time = 7200;
        if (take('/')) return hms(167, d.time);
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::int64_t PosixTzDate::dayNumber(int year) const {
    const std::int64_t jan1 = daysFromCivil(year, 1, 1);
    switch (kind) {
        case Kind::Julian1:
            return jan1 + day - 1 + (isLeapYear(year) && day >= 60 ? 1 : 0);
        case Kind::Julian0:
            return jan1 + day;
        case Kind::MonthWeekDay:
            break;
    }
    const std::int64_t first = daysFromCivil(year, static_cast<unsigned>(month), 1);
    const int firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    std::int64_t d = first + (weekday - firstWeekday + 7) % 7 + 7 * (week - 1);
    const std::int64_t nextMonth = first + daysInMonth(year, month);
    while (d >= nextMonth) d -= 7;  // week 5 means the last such weekday
    return d;
}

std::vector<ZoneTransition> PosixTzRule::transitionsInYear(int year) const {
    std::vector<ZoneTransition> out;
    if (!hasDst) return out;
    out.push_back({start.localSeconds(year) - standard.utcOffset, daylight});
    out.push_back({end.localSeconds(year) - daylight.utcOffset, standard});
    if (out[1].at < out[0].at) std::swap(out[0], out[1]);
    return out;
}

LocalTimeType PosixTzRule::typeAt(std::int64_t utc) const {
    if (!hasDst) return standard;
    const int year = DateTime::fromUnix(utc + standard.utcOffset).year();
    std::vector<ZoneTransition> all;
    for (int y = year - 1; y <= year + 1; ++y) {
        const auto t = transitionsInYear(y);
        all.insert(all.end(), t.begin(), t.end());
    }
    // On a tie (a rule that keeps daylight time all year ends one year's period at the instant the
    // next one starts) daylight time wins.
    std::stable_sort(all.begin(), all.end(), [](const ZoneTransition& a, const ZoneTransition& b) {
        return a.at != b.at ? a.at < b.at : (!a.type.isDst && b.type.isDst);
    });
    LocalTimeType current = all.empty() ? standard : all.front().type.isDst ? standard : daylight;
    for (const auto& t : all) {
        if (t.at > utc) break;
        current = t.type;
    }
    return current;
}

bool parsePosixTz(std::string_view text, PosixTzRule& rule, std::string& error) {
    rule = PosixTzRule{};
    Cursor c(text);
    std::int32_t westOffset = 0;
    if (!c.name(rule.standard.abbreviation)) {
        error = "bad standard time name";
        return false;
    }
    if (!c.hms(24, westOffset)) {
        error = "bad standard time offset";
        return false;
    }
    rule.standard.utcOffset = -westOffset;
    rule.standard.isDst = false;
    if (c.atEnd()) return true;

    rule.hasDst = true;
    rule.daylight.isDst = true;
    if (!c.name(rule.daylight.abbreviation)) {
        error = "bad daylight time name";
        return false;
    }
    rule.daylight.utcOffset = rule.standard.utcOffset + 3600;
    if (!c.atEnd() && c.peek() != ',') {
        if (!c.hms(24, westOffset)) {
            error = "bad daylight time offset";
            return false;
        }
        rule.daylight.utcOffset = -westOffset;
    }
    if (c.atEnd()) {
        // A daylight name without dates: the traditional default of the C libraries.
        rule.start = PosixTzDate{PosixTzDate::Kind::MonthWeekDay, 0, 3, 2, 0, 7200};
        rule.end = PosixTzDate{PosixTzDate::Kind::MonthWeekDay, 0, 11, 1, 0, 7200};
        return true;
    }
    if (!c.take(',') || !c.date(rule.start) || !c.take(',') || !c.date(rule.end)) {
        error = "bad transition date";
        return false;
    }
    if (!c.atEnd()) {
        error = "unexpected text after the rule";
        return false;
    }
    return true;
}

}  // namespace tavrin
