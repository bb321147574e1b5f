#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/reminders/ReminderForm.h"
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

// One record as the file holds it.
inline std::string recordText(const std::string& title, const std::string& date = "03/07/05",
                              const std::string& time = "09:30:00", const std::string& recur = "-1") {
    return "\"<START>\"\r\n\"" + title + "\"\r\n\"" + date + "\"\r\n\"" + time + "\"\r\n\"1\"\r\n\"" + recur +
           "\"\r\n\"\"\r\n\"</END>\"\r\n";
}

// The titles from slot 0 up to the first free slot.
inline std::string titles(const ReminderTable& t) {
    std::string out;
    for (int i = 0; i < occupiedSlots(t); ++i) out += (i ? "|" : "") + t.titles[i];
    return out;
}

// A form as the editor fills it, for 9:05 PM on 7 March 2005 unless told otherwise.
inline ReminderForm form(const std::string& title, const std::string& hour = "9",
                         const std::string& minute = "5", const std::string& amPm = "PM") {
    return {title, "03/07/05", hour, minute, amPm, "Body of " + title};
}

// A reminder file in a fresh folder, with the table and settings that go with it.
struct ReminderFolder : ::testing::Test {
    TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    ReminderTable table;
    Settings settings = defaultSettings();
};

}  // namespace tavrin::test
