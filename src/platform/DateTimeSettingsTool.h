#pragma once
// The desktop's own date and time settings: the first installed of the tools the common desktops ship.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

struct ToolCommand {
    std::string program;  // a name looked up on PATH, or after the lookup its full path
    std::vector<std::string> arguments;
    friend bool operator==(const ToolCommand&, const ToolCommand&) = default;
};

// The known tools, in the order they are tried.
const std::vector<ToolCommand>& knownDateTimeTools();

// The first known tool whose program is an executable file in one of the folders of `pathVariable`
// (a PATH value: folders separated by colons; an empty entry is the current folder, as the shell has it).
// The result names the program by its full path.
std::optional<ToolCommand> findDateTimeSettingsTool(std::string_view pathVariable);
// The same, with the process's own PATH.
std::optional<ToolCommand> findDateTimeSettingsTool();

// Shown when no tool is installed.
inline constexpr const char* kNoDateTimeToolMessage =
    "No date and time settings tool was found on this computer.";
inline constexpr const char* kNoDateTimeToolTitle = "Tavrin System Message";

}  // namespace tavrin
