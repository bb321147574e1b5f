// Every arrow between source folders points one way: a file includes its own folder and folders
// listed before it, the core includes nothing outside itself, and the windows never reach the programs.
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
constexpr std::array<const char*, 11> kOrder = {"base",      "desktop",  "store",  "timezones",
                                                "utilities", "settings", "notify", "reminders",
                                                "alarms",    "state",    "clock"};

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
    if (layer == "platform" && forbidden({"ui", "app", "ctl"}))
        return "platform adapters include only the core";
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

TEST(IncludeDirection, EveryIncludeUnderSrcPointsTheRightWay) {
    const fs::path src = fs::path(TAVRIN_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        ++files;
        const std::string file = fs::relative(entry.path(), src).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            if (auto why = refusal(file, m[1].str())) {
                ADD_FAILURE() << "src/" << file << ":" << number << " includes \"" << m[1].str()
                              << "\": " << *why;
            }
        }
    }
    EXPECT_GT(files, 100u);
}

}  // namespace
