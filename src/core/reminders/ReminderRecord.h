#pragma once
// One reminder's six fields, as the table and the file hold them.
#include <string>

#include "core/reminders/ReminderTable.h"

namespace tavrin {

struct ReminderRecord {
    std::string title;
    std::string date;     // in "DateFormat" as it was when written
    std::string time;     // "HH:MM:SS"
    std::string enabled;  // "1" or "0"
    std::string recur;    // "-1", "0" hourly, "1" daily, "2" weekly
    std::string body;

    static ReminderRecord fromSlot(const ReminderTable& table, int slot) {
        return {table.RemTitle[slot],   table.RemDate[slot],  table.RemTime[slot],
                table.RemEnabled[slot], table.RemRecur[slot], table.RemBody[slot]};
    }
    void toSlot(ReminderTable& table, int slot) const {
        table.RemTitle[slot] = title;
        table.RemDate[slot] = date;
        table.RemTime[slot] = time;
        table.RemEnabled[slot] = enabled;
        table.RemRecur[slot] = recur;
        table.RemBody[slot] = body;
    }
    friend bool operator==(const ReminderRecord&, const ReminderRecord&) = default;
};

}  // namespace tavrin
