#pragma once
// Reads the reminder file one item at a time. An item that begins with a double quote runs to the
// next double quote, line breaks included, and the rest of that line up to a comma is skipped;
// any other item runs to the next comma or line end, leading blanks dropped. Bytes are kept as
// they are: a line break inside quotes comes back exactly as it was written.
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

class ReminderItemReader {
  public:
    explicit ReminderItemReader(std::string_view text) : text_(text) {}

    // The next item, or false at the end of the text.
    bool next(std::string& item);

  private:
    // Steps over a comma, or over one line end (CR LF, LF or CR).
    void skipDelimiter();

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace tavrin
