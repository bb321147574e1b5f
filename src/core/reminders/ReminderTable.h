#pragma once
// The reminder table: six columns of 256 slots. Occupied slots form an unbroken run from slot 0.
#include <array>
#include <string>

#include "core/reminders/ReminderFileStamp.h"

namespace tavrin {

inline constexpr int kReminderSlots = 256;

struct ReminderTable {
    std::array<std::string, kReminderSlots> titles;
    std::array<std::string, kReminderSlots> dates;
    std::array<std::string, kReminderSlots> times;
    std::array<std::string, kReminderSlots> enabled;
    std::array<std::string, kReminderSlots> recurrences;
    std::array<std::string, kReminderSlots> bodies;
    // The lines of the latest announcement; the first empty line ends the list.
    std::array<std::string, kReminderSlots> balloonLines;
    // The slot each of those lines was announced from.
    std::array<int, kReminderSlots> balloonSlots{};
    // The version of the file the columns last matched (read from it or written to it), so that a
    // save can tell a change made meanwhile by another program.
    ReminderFileStamp fileStamp;
};

// The number of occupied slots: the run from slot 0 up to the first slot without a title.
inline int occupiedSlots(const ReminderTable& table) {
    int n = 0;
    while (n < kReminderSlots && !table.titles[n].empty()) ++n;
    return n;
}

}  // namespace tavrin
