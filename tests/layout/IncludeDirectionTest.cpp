// Every arrow between source folders points one way: a file includes its own folder and folders
// listed before it, the core includes nothing outside itself, and the windows never reach the programs.
// Two words stay in their rooms too: the core names no window control, and only the store (with its
// file behind it) speaks in the store's status numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The order of the subsystem folders inside src/core and src/ui, lowest first.
constexpr std::array<const char*, 13> kOrder = {"base",     "desktop", "store",     "timezones", "utilities",
                                                "settings", "notify",  "reminders", "calendars", "sync",
                                                "alarms",   "state",   "clock"};

std::optional<std::size_t> rankOf(const std::string& folder) {
    auto it = std::find(kOrder.begin(), kOrder.end(), folder);
    if (it == kOrder.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kOrder.begin());
}

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    for (const auto& p : fs::path(path)) parts.push_back(p.string());
    return parts;
}

// Why `file` (a path under src/) may not include `included` (as written in the include), or nothing
// when the include points the right way.
std::optional<std::string> refusal(const std::string& file, const std::string& included) {
    const auto from = split(file);
    const auto to = split(included);
    if (from.empty() || to.size() < 2) return std::nullopt;  // a file of the same folder, or a system header
    const std::string& layer = from[0];
    const std::string& target = to[0];
    auto forbidden = [&](std::initializer_list<const char*> layers) {
        return std::any_of(layers.begin(), layers.end(), [&](const char* l) { return target == l; });
    };
    if (layer == "core" && target != "core") return "the core includes only the core";
    if (layer == "platform" && forbidden({"ui", "app", "ctl", "keyring"}))
        return "platform adapters include only the core";
    if (layer == "keyring" && forbidden({"ui", "app", "ctl"}))
        return "the keyring includes only the core and platform";
    if (layer == "ui" && forbidden({"platform", "app", "ctl"})) return "windows include only the core and ui";
    if (layer == "ctl" && forbidden({"ui", "app"})) return "tavrinctl uses no window";
    if ((layer == "core" || layer == "ui") && target == layer && from.size() > 2 && to.size() > 2) {
        const auto own = rankOf(from[1]);
        const auto other = rankOf(to[1]);
        if (!own) return "folder " + from[1] + " is not in the folder order";
        if (!other) return "folder " + to[1] + " is not in the folder order";
        if (*other > *own) return to[1] + " comes after " + from[1] + " in the folder order";
    }
    return std::nullopt;
}

// Calls `look(file, number, line)` for every line of every source file under src/ (file relative to
// src/); returns how many files there were.
template <class Look>
std::size_t forEachSourceLine(Look look) {
    const fs::path src = fs::path(TAVRIN_SOURCE_DIR) / "src";
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        ++files;
        const std::string file = fs::relative(entry.path(), src).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) look(file, number, line);
    }
    return files;
}

TEST(IncludeDirection, EveryIncludeUnderSrcPointsTheRightWay) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    const std::size_t files =
        forEachSourceLine([&](const std::string& file, int number, const std::string& line) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) return;
            if (auto why = refusal(file, m[1].str()))
                ADD_FAILURE() << "src/" << file << ":" << number << " includes \"" << m[1].str()
                              << "\": " << *why;
        });
    EXPECT_GT(files, 100u);
}

TEST(IncludeDirection, ControlsAndStatusNumbersStayInTheirRooms) {
    // A form designer's names (Combo4, Label24, chkDBold, txtZoneFilter) say where a value was typed,
    // not what it holds; the core's rules speak of what they hold and each window maps its controls.
    const std::regex control(
        R"re(\b((Combo|Label|Text|Command|Image|Check|Option)[0-9]+|(chk|opt|txt|lst|lbl|img)[A-Z]\w*)\b)re");
    const std::regex statusNumber(R"re(\bstatus::k\w+|\bStatus\b)re");
    forEachSourceLine([&](const std::string& file, int number, const std::string& line) {
        const std::string comment = "//";
        const std::string code = line.substr(0, line.find(comment));
        std::smatch m;
        if (file.rfind("core/", 0) == 0 && std::regex_search(code, m, control))
            ADD_FAILURE() << "src/" << file << ":" << number << " names the control " << m[0]
                          << " in the core";
        const bool store = file.rfind("core/store/", 0) == 0 || file.rfind("platform/FileStore.", 0) == 0;
        if (!store && std::regex_search(code, m, statusNumber))
            ADD_FAILURE() << "src/" << file << ":" << number << " speaks in the store's status numbers ("
                          << m[0] << "); the store's edge answers with a Result";
    });
}

}  // namespace
