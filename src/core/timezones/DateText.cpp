#include "core/timezones/DateText.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/base/Text.h"
#include "core/timezones/CalendarNames.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/PatternLexer.h"
#include "core/timezones/WrittenDateText.h"

namespace tavrin {

std::array<char, 3> dateOrderOf(std::string_view pattern) {
    constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);
    std::size_t posD = kAbsent, posM = kAbsent, posY = kAbsent;
    PatternLexer lex(pattern);
    PatternToken t;
    for (std::size_t index = 0; lex.next(t); ++index) {
        if (t.kind != PatternToken::Kind::Field) continue;
        // "ddd" and longer are weekday names and "y" the day of the year: neither places a field.
        if (t.letter == 'd' && t.count <= 2 && posD == kAbsent) posD = index;
        if (t.letter == 'm' && posM == kAbsent) posM = index;
        if (t.letter == 'y' && t.count >= 2 && posY == kAbsent) posY = index;
    }
    // Start from the fields present, in pattern order, then place the missing ones as month/day/year
    // would: a month just before the day, a day just after the month, a year at the end.
    struct Placed {
        char field;
        std::size_t pos;
    };
    std::array<Placed, 3> present{};
    std::size_t n = 0;
    if (posD != kAbsent) present[n++] = {'d', posD};
    if (posM != kAbsent) present[n++] = {'m', posM};
    if (posY != kAbsent) present[n++] = {'y', posY};
    for (std::size_t i = 1; i < n; ++i) {
        for (std::size_t j = i; j > 0 && present[j].pos < present[j - 1].pos; --j) {
            std::swap(present[j], present[j - 1]);
        }
    }
    std::array<char, 3> order{};
    for (std::size_t i = 0; i < n; ++i) order[i] = present[i].field;
    const auto indexOf = [&](char field) {
        for (std::size_t i = 0; i < n; ++i) {
            if (order[i] == field) return i;
        }
        return n;
    };
    const auto insertAt = [&](std::size_t at, char field) {
        for (std::size_t i = n; i > at; --i) order[i] = order[i - 1];
        order[at] = field;
        ++n;
    };
    if (posM == kAbsent) insertAt(posD == kAbsent ? 0 : indexOf('d'), 'm');
    if (posD == kAbsent) insertAt(indexOf('m') + 1, 'd');
    if (posY == kAbsent) insertAt(n, 'y');
    return order;
}

namespace {

struct Lexeme {
    enum class Kind { Number, Word, Sep, Blank };
    Kind kind = Kind::Blank;
    char sep = 0;
    int value = 0;
    int digits = 0;
    std::string_view word;
    int month = 0;         // the month a word names, 1 to 12, or 0
    bool weekday = false;  // whether a word names a weekday
};

// More lexemes than any sound date and time text holds ("Wednesday, September 28, 2005 12:30:45 PM"
// has 17); longer text is unreadable rather than a reason to allocate.
constexpr std::size_t kMaxLexemes = 24;
// No field has more than four digits (the year); longer numbers are unreadable, which also keeps
// every value far from overflow.
constexpr int kMaxDigits = 4;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether `word` names `name`: the full name or any start of it of three letters or more ("Mar",
// "Sept", "Thurs"), in any case.
bool namesIt(std::string_view word, std::string_view name) {
    return word.size() >= 3 && word.size() <= name.size() && equalsNoCase(word, name.substr(0, word.size()));
}

// What an English word of letters names, whole or cut short.
void nameEnglishWord(Lexeme& l) {
    for (std::size_t m = 0; m < kMonthNames.size() && l.month == 0; ++m) {
        if (namesIt(l.word, kMonthNames[m])) l.month = static_cast<int>(m) + 1;
    }
    l.weekday = std::any_of(kWeekdayNames.begin(), kWeekdayNames.end(),
                            [&](std::string_view name) { return namesIt(l.word, name); });
}

// A whole name, English or of `names`, at the start of `text` ("März", "12月", "Mar"): a word naming
// a month, a weekday or, where a language has one short name for both, either. A name that ends in a
// letter is no name when more letters follow ("Mo" in "Mon").
bool nameAt(std::string_view text, const CalendarNames& names, Lexeme& l) {
    const NameAt month = monthNameAt(text, names);
    const NameAt weekday = weekdayNameAt(text, names);
    const std::size_t length = std::max(month.length, weekday.length);
    if (length == 0 || (isLetter(text[length - 1]) && length < text.size() && isLetter(text[length]))) {
        return false;
    }
    l.kind = Lexeme::Kind::Word;
    l.word = text.substr(0, length);
    l.month = month.length == length ? month.index : 0;
    l.weekday = weekday.length == length;
    return true;
}

struct Lexemes {
    std::array<Lexeme, kMaxLexemes> items;
    std::size_t size = 0;
};

bool lex(std::string_view text, const CalendarNames& names, Lexemes& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        // "'05": a year cut to two digits, as English writes it, and as patterns with an apostrophe
        // before "yy" wrote it before quotes held words.
        if (text[i] == '\'' && i + 1 < text.size() && isDigit(text[i + 1])) {
            ++i;
            continue;
        }
        if (out.size == kMaxLexemes) return false;
        Lexeme& l = out.items[out.size++];
        const char c = text[i];
        if (!isBlank(c) && nameAt(text.substr(i), names, l)) {
            i += l.word.size();
        } else if (isBlank(c)) {
            l.kind = Lexeme::Kind::Blank;
            while (i < text.size() && isBlank(text[i])) ++i;
        } else if (isDigit(c)) {
            l.kind = Lexeme::Kind::Number;
            const std::size_t start = i;
            while (i < text.size() && isDigit(text[i])) {
                if (static_cast<int>(i - start) == kMaxDigits) return false;
                l.value = l.value * 10 + (text[i] - '0');
                ++i;
            }
            l.digits = static_cast<int>(i - start);
        } else if (isLetter(c)) {
            l.kind = Lexeme::Kind::Word;
            const std::size_t start = i;
            while (i < text.size() && isLetter(text[i])) ++i;
            l.word = text.substr(start, i - start);
            nameEnglishWord(l);
        } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':') {
            l.kind = Lexeme::Kind::Sep;
            l.sep = c;
            ++i;
        } else {
            return false;  // NUL bytes, other punctuation, non-ASCII text
        }
    }
    return true;
}

// 1 for AM, 2 for PM, 0 for any other word. "A" and "P" alone count too.
int amPmOf(const Lexeme& l) {
    if (l.kind != Lexeme::Kind::Word || l.word.size() > 2) return 0;
    if (l.word.size() == 2 && lowerAscii(l.word[1]) != 'm') return 0;
    const char first = lowerAscii(l.word[0]);
    return first == 'a' ? 1 : first == 'p' ? 2 : 0;
}

int fullYear(const Lexeme& l) {
    return yearOfDigits(l.value, l.digits);
}

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};

// "h:m", "h:m:s" or "h" with an AM/PM word after it (blank optional), from lexeme `from` to the end.
std::optional<TimeOfDay> readTime(const Lexemes& x, std::size_t from) {
    const auto at = [&](std::size_t i) -> const Lexeme* { return i < x.size ? &x.items[i] : nullptr; };
    const auto numberAt = [&](std::size_t i) {
        const Lexeme* l = at(i);
        return l != nullptr && l->kind == Lexeme::Kind::Number && l->digits <= 2 ? l : nullptr;
    };
    const auto colonAt = [&](std::size_t i) {
        const Lexeme* l = at(i);
        return l != nullptr && l->kind == Lexeme::Kind::Sep && l->sep == ':';
    };
    TimeOfDay t;
    std::size_t i = from;
    const Lexeme* h = numberAt(i++);
    if (h == nullptr) return std::nullopt;
    t.hour = h->value;
    bool hasMinutes = false;
    if (colonAt(i)) {
        const Lexeme* m = numberAt(i + 1);
        if (m == nullptr) return std::nullopt;
        t.minute = m->value;
        hasMinutes = true;
        i += 2;
        if (colonAt(i)) {
            const Lexeme* s = numberAt(i + 1);
            if (s == nullptr) return std::nullopt;
            t.second = s->value;
            i += 2;
        }
    }
    int half = 0;
    if (at(i) != nullptr && at(i)->kind == Lexeme::Kind::Blank) ++i;
    if (at(i) != nullptr) {
        half = amPmOf(*at(i));
        if (half == 0) return std::nullopt;
        ++i;
    }
    if (i != x.size) return std::nullopt;
    if (!hasMinutes && half == 0) return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    // 12 AM is midnight and 12 PM noon; an hour from 13 on is already on the 24-hour clock, whatever
    // half of the day follows it.
    if (half == 1 && t.hour == 12) t.hour = 0;
    if (half == 2 && t.hour < 12) t.hour += 12;
    return t;
}

struct CalendarDay {
    int year = 0, month = 0, day = 0;
};

// The date fields of lexemes [0, end): numbers and month names with separators between them, and at
// most one weekday name, which is ignored (a weekday that does not fit the date does not spoil it:
// the date is what the text is kept for).
std::optional<CalendarDay> readDate(const Lexemes& x, std::size_t end, std::string_view dateFormat,
                                    int yearIfMissing) {
    std::array<const Lexeme*, 3> numbers{};
    std::size_t numberCount = 0;
    int month = 0;
    bool weekdaySeen = false;
    bool expectField = true;
    std::size_t i = 0;
    while (i < end) {
        const Lexeme& l = x.items[i];
        if (expectField) {
            if (l.kind == Lexeme::Kind::Number) {
                if (numberCount == numbers.size()) return std::nullopt;
                numbers[numberCount++] = &l;
            } else if (l.kind == Lexeme::Kind::Word) {
                if (l.month != 0 && month == 0) {
                    month = l.month;
                } else if (l.weekday && !weekdaySeen) {
                    weekdaySeen = true;
                } else {
                    return std::nullopt;
                }
            } else {
                return std::nullopt;
            }
            expectField = false;
            ++i;
            continue;
        }
        // Between fields: a blank, one of "/ - . ,", or that mark with blanks around it.
        bool linked = false;
        if (l.kind == Lexeme::Kind::Blank) {
            ++i;
            linked = true;
        }
        if (i < end && x.items[i].kind == Lexeme::Kind::Sep && x.items[i].sep != ':') {
            ++i;
            linked = true;
            if (i < end && x.items[i].kind == Lexeme::Kind::Blank) ++i;
        }
        if (!linked) return std::nullopt;
        expectField = true;
    }
    if (expectField) return std::nullopt;  // nothing read, or a trailing separator

    const auto isLong = [](const Lexeme* l) { return l->digits >= 3; };
    const std::array<char, 3> order = dateOrderOf(dateFormat);
    const auto before = [&](char a, char b) {
        return std::find(order.begin(), order.end(), a) < std::find(order.begin(), order.end(), b);
    };
    CalendarDay date;
    const Lexeme* dayField = nullptr;
    const Lexeme* yearField = nullptr;
    const Lexeme* monthField = nullptr;
    if (month != 0) {
        date.month = month;
        if (numberCount == 1) {
            // "March 2005": the first of the month. A short number alone is the day when a year is
            // given for dates without one ("7 Mar"), else it could be a day or a year.
            if (isLong(numbers[0])) {
                yearField = numbers[0];
            } else if (yearIfMissing != 0) {
                dayField = numbers[0];
            } else {
                return std::nullopt;
            }
        } else if (numberCount == 2) {
            const bool firstLong = isLong(numbers[0]), secondLong = isLong(numbers[1]);
            if (firstLong && secondLong) return std::nullopt;
            const bool yearFirst = firstLong || (!secondLong && before('y', 'd'));
            yearField = numbers[yearFirst ? 0 : 1];
            dayField = numbers[yearFirst ? 1 : 0];
        } else {
            return std::nullopt;
        }
    } else if (numberCount == 2 && !isLong(numbers[0]) && !isLong(numbers[1])) {
        // "7/3" without a year: day and month in the pattern's order, when a year is given for it.
        if (yearIfMissing == 0) return std::nullopt;
        const bool dayFirst = before('d', 'm');
        dayField = numbers[dayFirst ? 0 : 1];
        monthField = numbers[dayFirst ? 1 : 0];
    } else if (numberCount == 2) {
        // "3/2005" (month and year) or "2005-03": the first of the month.
        if (isLong(numbers[0]) && isLong(numbers[1])) return std::nullopt;
        yearField = numbers[isLong(numbers[0]) ? 0 : 1];
        monthField = numbers[isLong(numbers[0]) ? 1 : 0];
    } else if (numberCount == 3) {
        const std::size_t longCount =
            static_cast<std::size_t>(std::count_if(numbers.begin(), numbers.end(), isLong));
        if (longCount > 1) return std::nullopt;
        std::array<char, 3> fields = order;
        if (longCount == 1) {
            // A long number is the year wherever it stands. Leading, it is the year-month-day of ISO
            // dates unless the pattern itself starts with the year; elsewhere day and month keep the
            // pattern's order.
            const std::size_t yearAt = isLong(numbers[0]) ? 0 : isLong(numbers[1]) ? 1 : 2;
            if (yearAt == 0 && order[0] != 'y') {
                fields = {'y', 'm', 'd'};
            } else if (yearAt != 0) {
                const char firstOther = before('d', 'm') ? 'd' : 'm';
                const char secondOther = firstOther == 'd' ? 'm' : 'd';
                bool firstTaken = false;
                for (std::size_t p = 0; p < 3; ++p) {
                    if (p == yearAt) {
                        fields[p] = 'y';
                    } else {
                        fields[p] = firstTaken ? secondOther : firstOther;
                        firstTaken = true;
                    }
                }
            }
        }
        for (std::size_t p = 0; p < 3; ++p) {
            const Lexeme* n = numbers[p];
            if (fields[p] == 'd') dayField = n;
            if (fields[p] == 'm') monthField = n;
            if (fields[p] == 'y') yearField = n;
        }
    } else {
        return std::nullopt;
    }

    if (monthField != nullptr) {
        if (isLong(monthField)) return std::nullopt;
        date.month = monthField->value;
    }
    date.day = 1;
    if (dayField != nullptr) {
        if (isLong(dayField)) return std::nullopt;
        date.day = dayField->value;
    }
    date.year = yearField != nullptr ? fullYear(*yearField) : yearIfMissing;
    if (date.year < 100 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

// Dates and times in any of the forms a user types or another pattern wrote, with blanks around
// ignored:
//   dates     "3/7/05", "07.03.2005", "3-7-05", "3 7 05" in the order of `dateFormat`; "2005-03-07"
//             (a leading long number is the year, then month and day); "12 March 2005",
//             "12 Mar 2005", "March 7, 2005", "Mar 7 2005"; "March 2005" and "3/2005" (the first of
//             the month); a weekday name may stand among the fields and is ignored; with
//             `yearIfMissing`, day and month alone ("7 Mar", "Mar 7", "7/3") in that year; a year
//             may be cut to "'05"
//   times     "h:m", "h:m:s", either with AM/PM, am, pm, A or P after it; "h" with AM/PM
//   both      a date, a blank (or "T"), a time
// Anything else, text holding a NUL included, is unreadable. Month and weekday names are English, in
// any case, whole or cut to three letters or more ("Sept", "Thurs"), or whole names of `names`.
std::optional<DateTime> readPlainText(std::string_view text, std::string_view dateFormat, int yearIfMissing,
                                      const CalendarNames& names) {
    Lexemes x;
    if (!lex(text, names, x)) return std::nullopt;

    // The time starts at the first number followed by ":" or by an AM/PM word that ends the text.
    std::size_t timeAt = x.size;
    for (std::size_t i = 0; i < x.size; ++i) {
        if (x.items[i].kind != Lexeme::Kind::Number || i + 1 == x.size) continue;
        const Lexeme& next = x.items[i + 1];
        const bool colon = next.kind == Lexeme::Kind::Sep && next.sep == ':';
        const bool marker =
            (amPmOf(next) != 0 && i + 2 == x.size) ||
            (next.kind == Lexeme::Kind::Blank && i + 3 == x.size && amPmOf(x.items[i + 2]) != 0);
        if (colon || marker) {
            timeAt = i;
            break;
        }
    }

    TimeOfDay time;
    if (timeAt < x.size) {
        const std::optional<TimeOfDay> t = readTime(x, timeAt);
        if (!t) return std::nullopt;
        time = *t;
    }
    if (timeAt == 0) return DateTime::fromSerial(0, time.hour * 3600 + time.minute * 60 + time.second);

    // A date ends before the blank (or the ISO "T") that leads to the time.
    std::size_t dateEnd = timeAt;
    if (timeAt < x.size) {
        const Lexeme& link = x.items[timeAt - 1];
        const bool isoT =
            link.kind == Lexeme::Kind::Word && link.word.size() == 1 && lowerAscii(link.word[0]) == 't';
        if (link.kind != Lexeme::Kind::Blank && !isoT) return std::nullopt;
        dateEnd = timeAt - 1;
    }
    const std::optional<CalendarDay> date = readDate(x, dateEnd, dateFormat, yearIfMissing);
    if (!date) return std::nullopt;
    return DateTime::fromFields(date->year, date->month, date->day, time.hour, time.minute, time.second);
}

// Text in the pattern's own form reads as written (WrittenDateText.h), anything else as above.
std::optional<DateTime> readIn(std::string_view text, std::string_view dateFormat, int yearIfMissing,
                               const CalendarNames& names) {
    if (std::optional<DateTime> written = readAsWritten(text, dateFormat, yearIfMissing, names))
        return written;
    return readPlainText(text, dateFormat, yearIfMissing, names);
}

}  // namespace

// A year for dates without one, and another language's names, only ever add readings: text that
// reads without them reads the same with them. So English text reads as it always has, whatever the
// user's language, and a date that holds its year is never given another.
std::optional<DateTime> readDateText(std::string_view text, std::string_view dateFormat, int yearIfMissing,
                                     const CalendarNames& names) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    const CalendarNames& english = CalendarNames::english();
    const bool ownNames = &names != &english && !(names == english);
    if (std::optional<DateTime> read = readIn(text, dateFormat, 0, english)) return read;
    if (ownNames) {
        if (std::optional<DateTime> read = readIn(text, dateFormat, 0, names)) return read;
    }
    if (yearIfMissing == 0) return std::nullopt;
    if (std::optional<DateTime> read = readIn(text, dateFormat, yearIfMissing, english)) return read;
    if (ownNames) return readIn(text, dateFormat, yearIfMissing, names);
    return std::nullopt;
}

std::optional<int> readMinuteOfDay(std::string_view text, std::string_view dateFormat) {
    const std::optional<DateTime> read = readDateText(text, dateFormat);
    if (!read) return std::nullopt;
    return read->hour() * 60 + read->minute();
}

}  // namespace tavrin
