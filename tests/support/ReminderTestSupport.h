#pragma once
#include <string>

#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin::test {

inline std::string dataFile(const std::string& name) {
    return std::string(TAVRIN_TEST_DATA) + "/reminders/" + name;
}

inline Settings defaultSettings() {
    Settings s;
    s.DateFormat = "mm/dd/yy";
    s.TimeFormat = "h:mm AM/PM";
    return s;
}

inline void putReminder(ReminderTable& t, int slot, const std::string& title, const std::string& date,
                        const std::string& time, const std::string& enabled = "1",
                        const std::string& recur = "-1", const std::string& body = "") {
    ReminderRecord{title, date, time, enabled, recur, body}.toSlot(t, slot);
}

}  // namespace tavrin::test
