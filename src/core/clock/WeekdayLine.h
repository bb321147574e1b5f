#pragma once
// The weekday line between time and date: the date text read back as a date, shown as "dddd".
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// Nothing when the date text cannot be read as a date: the face then skips the line.
std::optional<std::string> weekdayLine(std::string_view dateText, std::string_view dateFormat);

}  // namespace tavrin
