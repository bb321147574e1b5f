#pragma once
// A user of one test: the folders the XDG variables name (config, configdirs, data and an owner-only
// runtime folder) under a fresh temporary folder, the tests' pinned zone folder, and the settings and
// reminder files a test starts from. Never the real user's configuration.
#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin::test {

using Environment = std::vector<std::pair<std::string, std::string>>;

// A settings file holding `values` (lines of "Name"="data") under the settings key.
inline std::string settingsText(const std::string& values) {
    return "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n" + values;
}

class ScratchHome {
  public:
    explicit ScratchHome(const std::string& prefix = "tavrin-home") : dir_(prefix) {
        for (const auto& [variable, folder] : kFolders)
            std::filesystem::create_directories(dir_.file(folder));
        std::filesystem::permissions(dir_.file("runtime"), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }

    const TempDir& dir() const { return dir_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string userSettingsFile() const { return dir_.file("config/tavrin/user.reg"); }
    std::string reminderFile() const { return dir_.file("data/tavrin/Tavrin.DAT"); }

    // The variables that send a program here.
    Environment environment() const {
        Environment env{{"TZDIR", std::string(TAVRIN_TEST_DATA) + "/zoneinfo"}};
        for (const auto& [variable, folder] : kFolders) env.emplace_back(variable, dir_.file(folder));
        return env;
    }
    // Sends this process here, for tests that run the program's start-up in the test itself.
    void enter() const {
        for (const auto& [name, value] : environment()) ::setenv(name.c_str(), value.c_str(), 1);
    }

    void seedSettings(const std::string& values) const {
        std::filesystem::create_directories(dir_.file("config/tavrin"));
        writeFile(userSettingsFile(), settingsText(values));
    }
    void seedReminders(const std::string& text) const {
        std::filesystem::create_directories(dir_.file("data/tavrin"));
        writeFile(reminderFile(), text);
    }

  private:
    static constexpr std::pair<const char*, const char*> kFolders[] = {{"XDG_CONFIG_HOME", "config"},
                                                                       {"XDG_CONFIG_DIRS", "configdirs"},
                                                                       {"XDG_DATA_HOME", "data"},
                                                                       {"XDG_CACHE_HOME", "cache"},
                                                                       {"XDG_RUNTIME_DIR", "runtime"}};
    TempDir dir_;
};

// Points TZ at a zone, for this process and its C library, and puts the old value back.
class TzVariable {
  public:
    explicit TzVariable(const std::string& value) {
        if (const char* old = ::getenv("TZ")) old_ = old;
        ::setenv("TZ", value.c_str(), 1);
        ::tzset();
    }
    ~TzVariable() {
        old_ ? ::setenv("TZ", old_->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    TzVariable(const TzVariable&) = delete;
    TzVariable& operator=(const TzVariable&) = delete;

  private:
    std::optional<std::string> old_;
};

}  // namespace tavrin::test
