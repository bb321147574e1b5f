#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/MachineZone.h"
#include "ctl/Commands.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {

Args endOfOptions(const Args& args, std::size_t& literalFrom) {
    Args words = args;
    literalFrom = words.size();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--") {
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
            literalFrom = i;
            break;
        }
    }
    return words;
}

int usageError(std::ostream& err, const std::string& why, std::string_view usage) {
    err << "tavrinctl: " << why << '\n' << usage;
    return 2;
}

Result<> zoneFolderReadable(const std::string& dir) {
    std::error_code ec;
    std::filesystem::directory_iterator list(dir, ec);
    if (!ec) return {};
    return Failure{"the zone folder \"" + dir + "\" cannot be read: " + ec.message(), ec.value()};
}

std::string storedSetting(const char* name) {
    const Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    const std::optional<Root> root = chooseSettingsRoot(*store);
    if (!root) return {};
    const Result<KeyHandle> key = openKey(*store, *root, kSettingsKey);
    return key ? readText(*store, *key, name).valueOr({}) : std::string();
}

std::string storedDateFormat() {
    const std::string format = storedSetting("DateFormat");
    return !format.empty() ? format : "mm/dd/yy";
}

ReminderEventContext reminderEventContext(const Paths& paths) {
    return {storedDateFormat(), machineZoneId(paths.zoneinfoDir), paths.zoneinfoDir,
            static_cast<std::int64_t>(std::time(nullptr))};
}

// The password for a login: TAVRIN_PASSWORD where set, else a line of standard input (asked without
// echo on a terminal).
std::string askPassword(const std::string& user, std::ostream& err) {
    if (const char* given = std::getenv("TAVRIN_PASSWORD")) return given;
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    const bool quiet = terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) err << "Password for " << user << ": " << std::flush;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    std::string password;
    std::getline(std::cin, password);
    if (quiet) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (terminal) err << '\n';
    return password;
}

}  // namespace tavrin::ctl
