#pragma once
// Text and number helpers shared by every reader of stored or typed text. Case is ASCII case only:
// bytes of 0x80 and above are 8-bit text and compare as they are.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// `c` in lower case when it is an ASCII letter.
constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
// True when `a` and `b` are equal ignoring ASCII case.
bool equalsNoCase(std::string_view a, std::string_view b);
// `text` with its ASCII letters in upper case.
std::string upperAscii(std::string_view text);
// `text` without the blanks (space, tab, CR, LF) at either end.
std::string_view trim(std::string_view text);
// The value of one hexadecimal digit; nothing when `c` is none.
std::optional<int> hexDigit(char c);
// The leading number of a text, as stored numeric texts are read ("1", " 2.5", "-3x"): blanks skipped,
// an optional sign, digits and one decimal point; 0 when the text starts with no digit.
double leadingNumber(std::string_view text);
// The leading number without its fraction (" 12:30" is 12, "-1.5" is -1), within a billion either way.
long leadingWhole(std::string_view text);
// A number written in at most `maxDigits` decimal digits and nothing else ("007" is 7); nothing for
// an empty text or one holding a sign, a blank or any other character.
std::optional<int> digitsNumber(std::string_view text, std::size_t maxDigits);
// The folder part of a path ("." for a bare name, "/" for a name at the root).
std::string folderOf(std::string_view path);
// The last name of a path, after its last "/".
std::string_view fileNameOf(std::string_view path);

// What `escapeOnOneLine` escapes besides backslash, tab, CR and LF.
struct OneLineEscapes {
    bool nul = false;         // NUL as \0
    bool edgeBlanks = false;  // a space at either end as \s, for readers that trim values
};
// `text` with backslash, tab, CR and LF written as \\ \t \r \n (and what `extra` adds), so that a
// value stays on one line and reads back as it was.
std::string escapeOnOneLine(std::string_view text, OneLineEscapes extra = {});
// `text` as it was before escapeOnOneLine with the same `extra`; nothing when it holds an escape that
// is never written so, or ends in a lone backslash.
std::optional<std::string> unescapeOneLine(std::string_view text, OneLineEscapes extra = {});

}  // namespace tavrin
