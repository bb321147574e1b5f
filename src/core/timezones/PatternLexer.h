#pragma once
// Splits a date-time pattern ("mm/dd/yy h:mm am/pm") into tokens. The formatter and the date reader
// (which reads text back as the pattern wrote it, or in the pattern's day-month-year order) share it,
// so both see the same tokens.
#include <cstddef>
#include <string_view>

#include "core/base/Text.h"

namespace tavrin {

struct PatternToken {
    enum class Kind {
        Literal,  // `text` is written as it stands
        Field,    // `letter` and `count`: a date or time field
        AmPm,     // "AM/PM" in any case; `text` is the five characters as written
        AP,       // "A/P" in any case; `text` is the three characters as written
    };
    Kind kind = Kind::Literal;
    // Lower-case field letter: d, m (month), n (minutes, also an "m" taken as minutes), y, h, s, w, q.
    char letter = 0;
    int count = 0;
    std::string_view text;
};

class PatternLexer {
  public:
    explicit constexpr PatternLexer(std::string_view pattern) : p_(pattern) {}

    // The next token, or false at the end of the pattern.
    //
    // Text between single or between double quotes is written as it stands, without the quotes; an
    // unclosed quote runs to the end of the pattern. Two quotes of the same kind in a row write one
    // such quote, inside quoted text or outside it: "h 'o''clock'" writes 9 o'clock and
    // "dd mmm ''yy" writes 07 Mar '05. A backslash writes the next character as it is.
    constexpr bool next(PatternToken& t) {
        if (pos_ >= p_.size()) return false;
        if (quote_ != 0) return quoted(t);
        const char c = p_[pos_];
        if (c == '"' || c == '\'') {
            if (pos_ + 1 < p_.size() && p_[pos_ + 1] == c) {
                literal(t, p_.substr(pos_, 1), true);
                pos_ += 2;
                return true;
            }
            quote_ = c;
            ++pos_;
            return quoted(t);
        }
        if (c == '\\') {
            // Escaped character; a backslash at the very end escapes nothing and is dropped.
            literal(t, p_.substr(pos_ + 1, pos_ + 1 < p_.size() ? 1 : 0), true);
            pos_ += 2;
            return true;
        }
        const char lc = lowerAscii(c);
        if (lc == 'a') {
            if (matches(pos_, "am/pm")) return marker(t, PatternToken::Kind::AmPm, 5);
            if (matches(pos_, "a/p")) return marker(t, PatternToken::Kind::AP, 3);
        }
        if (isFieldLetter(lc)) {
            std::size_t end = pos_ + 1;
            while (end < p_.size() && lowerAscii(p_[end]) == lc) ++end;
            t.kind = PatternToken::Kind::Field;
            t.count = static_cast<int>(end - pos_);
            t.text = p_.substr(pos_, end - pos_);
            t.letter = lc;
            // "m" and "mm" are minutes right after an hour (":" and blanks between are allowed), or
            // right before seconds ("mm:ss"); "mmm" and longer stay month names.
            if (lc == 'm' && t.count <= 2 && (afterHour_ || secondsFollow(end))) t.letter = 'n';
            afterHour_ = lc == 'h';
            pos_ = end;
            return true;
        }
        // A run of plain characters, or of one unknown letter, stands for itself.
        std::size_t end = pos_ + 1;
        if (isLetter(c)) {
            while (end < p_.size() && p_[end] == c) ++end;
        } else {
            while (end < p_.size() && isPlain(p_[end])) ++end;
        }
        literal(t, p_.substr(pos_, end - pos_));
        pos_ = end;
        return true;
    }

    // What decides how a pattern's fields are written.
    struct Outline {
        bool twelveHour = false;  // an AM/PM or A/P token puts every hour on the 12-hour clock
        bool dayNumber = false;   // a "d" or "dd": month names take the form used beside a day
    };
    static constexpr Outline outlineOf(std::string_view pattern) {
        Outline o;
        PatternLexer lex(pattern);
        PatternToken t;
        while (lex.next(t)) {
            if (t.kind == PatternToken::Kind::AmPm || t.kind == PatternToken::Kind::AP) o.twelveHour = true;
            if (t.kind == PatternToken::Kind::Field && t.letter == 'd' && t.count <= 2) o.dayNumber = true;
        }
        return o;
    }

  private:
    static constexpr bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static constexpr bool isFieldLetter(char lc) {
        return lc == 'd' || lc == 'm' || lc == 'y' || lc == 'h' || lc == 'n' || lc == 's' || lc == 'w' ||
               lc == 'q';
    }
    static constexpr bool isPlain(char c) { return !isLetter(c) && c != '"' && c != '\'' && c != '\\'; }
    static constexpr bool isLinkChar(char c) { return c == ':' || c == ' ' || c == '\t'; }

    constexpr bool matches(std::size_t at, std::string_view lowerText) const {
        if (p_.size() - at < lowerText.size()) return false;
        for (std::size_t k = 0; k < lowerText.size(); ++k) {
            if (lowerAscii(p_[at + k]) != lowerText[k]) return false;
        }
        return true;
    }
    constexpr bool secondsFollow(std::size_t at) const {
        while (at < p_.size() && isLinkChar(p_[at])) ++at;
        return at < p_.size() && lowerAscii(p_[at]) == 's';
    }
    // Inside quotes, from just after the opening quote or a doubled quote.
    constexpr bool quoted(PatternToken& t) {
        const std::size_t close = p_.find(quote_, pos_);
        if (close == std::string_view::npos) {
            literal(t, p_.substr(pos_), true);
            pos_ = p_.size();
            quote_ = 0;
            return true;
        }
        if (close + 1 < p_.size() && p_[close + 1] == quote_) {
            // The text up to the doubled quote and one quote of it; the quoted text goes on.
            literal(t, p_.substr(pos_, close + 1 - pos_), true);
            pos_ = close + 2;
            return true;
        }
        literal(t, p_.substr(pos_, close - pos_), true);
        pos_ = close + 1;
        quote_ = 0;
        return true;
    }
    // Text in quotes or escaped (`usersWords`) is the user's own, such as the "h" of "HH'h'mm" or the
    // "時" of "H'時'mm": it keeps minutes after an hour. Of the pattern's own characters only ":" and
    // blanks may stand between an hour and its minutes.
    constexpr void literal(PatternToken& t, std::string_view text, bool usersWords = false) {
        t.kind = PatternToken::Kind::Literal;
        t.letter = 0;
        t.count = 0;
        t.text = text;
        if (usersWords) return;
        for (char ch : text) {
            if (!isLinkChar(ch)) afterHour_ = false;
        }
    }
    constexpr bool marker(PatternToken& t, PatternToken::Kind kind, std::size_t length) {
        t.kind = kind;
        t.letter = 0;
        t.count = 0;
        t.text = p_.substr(pos_, length);
        afterHour_ = false;
        pos_ += length;
        return true;
    }

    std::string_view p_;
    std::size_t pos_ = 0;
    bool afterHour_ = false;
    char quote_ = 0;  // the quote that opened the quoted text the lexer is in, or 0
};

}  // namespace tavrin
