#include "platform/DateTimeSettingsTool.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace tavrin {

const std::vector<ToolCommand>& knownDateTimeTools() {
    // Desktop by desktop, the panel that sets the date, time and zone. The newer name of a desktop's
    // tool comes before the older one, since a machine may keep both.
    static const std::vector<ToolCommand> tools{
        {"gnome-control-center", {"datetime"}},   // GNOME
        {"systemsettings", {"kcm_clock"}},        // KDE Plasma 6
        {"systemsettings5", {"clock"}},           // KDE Plasma 5
        {"kcmshell5", {"clock"}},                 // KDE Plasma 5, the module alone
        {"cinnamon-settings", {"calendar"}},      // Cinnamon
        {"budgie-control-center", {"datetime"}},  // Budgie
        {"unity-control-center", {"datetime"}},   // Unity
        {"lxqt-admin-time", {}},                  // LXQt
        {"time-admin", {}},                       // MATE and Xfce (system tools)
    };
    return tools;
}

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<ToolCommand> findDateTimeSettingsTool(std::string_view pathVariable) {
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = pathVariable.find(':', start);
        const std::string_view entry = pathVariable.substr(
            start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
        folders.emplace_back(entry.empty() ? "." : std::string(entry));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (pathVariable.empty()) folders.clear();

    for (const ToolCommand& tool : knownDateTimeTools()) {
        for (const std::string& folder : folders) {
            const std::string candidate = folder + "/" + tool.program;
            if (isExecutableFile(candidate)) return ToolCommand{candidate, tool.arguments};
        }
    }
    return std::nullopt;
}

std::optional<ToolCommand> findDateTimeSettingsTool() {
    const char* path = std::getenv("PATH");
    return findDateTimeSettingsTool(path ? std::string_view(path)
                                         : std::string_view("/usr/local/bin:/usr/bin:/bin"));
}

}  // namespace tavrin
