#pragma once
// Splits a date-time pattern ("mm/dd/yy h:mm am/pm") into tokens. The formatter and the date reader
// (which needs the pattern's day-month-year order) share it, so both see the same tokens.
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
    constexpr bool next(PatternToken& t) {
        if (pos_ >= p_.size()) return false;
        const char c = p_[pos_];
        if (c == '"') {
            // Quoted literal; an unclosed quote runs to the end.
            const std::size_t close = p_.find('"', pos_ + 1);
            const std::size_t end = close == std::string_view::npos ? p_.size() : close;
            literal(t, p_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = close == std::string_view::npos ? p_.size() : close + 1;
            return true;
        }
        if (c == '\\') {
            // Escaped character; a backslash at the very end escapes nothing and is dropped.
            literal(t, p_.substr(pos_ + 1, pos_ + 1 < p_.size() ? 1 : 0));
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

    // Whether the pattern holds an AM/PM or A/P token, which puts every hour on the 12-hour clock.
    static constexpr bool holdsAmPm(std::string_view pattern) {
        PatternLexer lex(pattern);
        PatternToken t;
        while (lex.next(t)) {
            if (t.kind == PatternToken::Kind::AmPm || t.kind == PatternToken::Kind::AP) return true;
        }
        return false;
    }

  private:
    static constexpr bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static constexpr bool isFieldLetter(char lc) {
        return lc == 'd' || lc == 'm' || lc == 'y' || lc == 'h' || lc == 'n' || lc == 's' || lc == 'w' ||
               lc == 'q';
    }
    static constexpr bool isPlain(char c) { return !isLetter(c) && c != '"' && c != '\\'; }
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
    constexpr void literal(PatternToken& t, std::string_view text) {
        t.kind = PatternToken::Kind::Literal;
        t.letter = 0;
        t.count = 0;
        t.text = text;
        // Only ":" and blanks may stand between an hour and its minutes.
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
};

}  // namespace tavrin
