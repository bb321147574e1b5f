// The reminder file's items one at a time: quoted items keep commas and line breaks, unquoted ones end
// at a comma or line end, and a damaged file still gives items rather than a hang or a crash.
#include "core/reminders/ReminderItemReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

std::vector<std::string> items(std::string_view text) {
    ReminderItemReader reader(text);
    std::vector<std::string> out;
    std::string item;
    // More items than bytes would mean the reader stopped moving.
    while (reader.next(item) && out.size() <= text.size()) out.push_back(item);
    return out;
}

using Items = std::vector<std::string>;

struct Case {
    const char* what;
    std::string text;
    Items items;
};

TEST(ReminderItemReader, QuotedItemsKeepCommasLineBreaksUnquotedOnesEndAtACommaOrLineEnd) {
    const Case cases[] = {
        {"one item a line", "\"<START>\"\r\n\"Dentist\"\r\n", {"<START>", "Dentist"}},
        {"a comma inside quotes", "\"Call Anna, then Ben\"\r\n", {"Call Anna, then Ben"}},
        {"a CR LF inside quotes", "\"Two\r\nlines\"\r\n\"next\"\r\n", {"Two\r\nlines", "next"}},
        {"an empty quoted item", "\"\"\r\n\"x\"\r\n", {"", "x"}},
        {"blanks inside quotes", "\"  padded  \"\r\n", {"  padded  "}},
        {"blanks before the quote", "  \t\"x\"\r\n", {"x"}},
        {"bytes that are no UTF-8", "\"Caf\xe9\"\r\n", {"Caf\xe9"}},
        {"a NUL inside quotes", std::string("\"a\0b\"\r\n", 7), {std::string("a\0b", 3)}},
        // What follows the closing quote on its line, up to a comma, is not part of any item.
        {"text after the closing quote", "\"ab\"cd,\"e\"\r\n", {"ab", "e"}},
        // Unquoted items end at a comma or any line end.
        {"CR LF", "1\r\n-1\r\n", {"1", "-1"}},
        {"LF", "1\n-1\n", {"1", "-1"}},
        {"a lone CR", "1\r-1\r", {"1", "-1"}},
        {"commas", "1,2,3\r\n", {"1", "2", "3"}},
        {"leading blanks dropped, trailing kept", "  a  ,\tb\r\n", {"a  ", "b"}},
        // An empty line is an empty item, so the records after it keep their places.
        {"an empty line", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a blank line", "a\r\n   \r\nb\r\n", {"a", "", "b"}},
        // The end of the text ends the last item.
        {"nothing", "", {}},
        {"blanks only", "  \t ", {}},
        {"no line end after the last item", "\"a\"\r\n\"b\"", {"a", "b"}},
        {"an unquoted last item without line end", "a\r\n-1", {"a", "-1"}},
        // A file cut inside a quoted item gives what there is of it.
        {"a missing closing quote", "\"a\"\r\n\"Dent", {"a", "Dent"}},
        {"a lone quote at the end", "\"a\"\r\n\"", {"a", ""}},
        {"a file cut between CR and LF", "\"a\"\r", {"a"}},
    };
    for (const Case& c : cases) EXPECT_EQ(items(c.text), c.items) << c.what;
}

}  // namespace
}  // namespace tavrin
