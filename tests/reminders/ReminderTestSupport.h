#pragma once
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "reminders/ReminderTable.h"
#include "settings/Settings.h"

namespace tavrin::testing {

inline std::string dataFile(const std::string& name) {
    return std::string(TAVRIN_TEST_DATA) + "/reminders/" + name;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-rem-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline Settings defaultSettings() {
    Settings s;
    s.DateFormat = "mm/dd/yy";
    s.TimeFormat = "h:mm AM/PM";
    return s;
}

inline void putReminder(ReminderTable& t, int slot, const std::string& title, const std::string& date,
                        const std::string& time, const std::string& enabled = "1",
                        const std::string& recur = "-1", const std::string& body = "") {
    t.RemTitle[slot] = title;
    t.RemDate[slot] = date;
    t.RemTime[slot] = time;
    t.RemEnabled[slot] = enabled;
    t.RemRecur[slot] = recur;
    t.RemBody[slot] = body;
}

inline int occupiedCount(const ReminderTable& t) {
    int n = 0;
    while (n < kReminderSlots && !t.RemTitle[n].empty()) ++n;
    return n;
}

}  // namespace tavrin::testing
