#pragma once
// The start-at-logon entry of one settings root: an XDG autostart file "tavrin.desktop" in the root's
// autostart folder. The store shows it as the value "Tavrin" of the Run key, whose data is the
// program the entry starts (its path; the entry quotes it as the launcher needs).
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/Result.h"

namespace tavrin {

class Autostart {
  public:
    // Whether the user may write the file at a path (or make it, when it does not exist yet).
    using WritableProbe = std::function<bool(const std::string& filePath)>;

    Autostart(std::string folder, WritableProbe writable, unsigned fileMode = 0600,
              unsigned folderMode = 0700);

    const std::string& entryPath() const { return entryPath_; }
    bool exists() const;
    // The entry's command; nothing when there is no entry.
    std::optional<std::string> command() const;
    // Writes a complete entry for `command`, replacing any entry there was. A failure's error is
    // EACCES where the user may not write the entry, EINVAL for a command no entry can hold.
    Result<> write(std::string_view command);
    // Removes the entry; an entry that is not there is no failure.
    Result<> remove();

    static std::string entryText(std::string_view command);
    // The program of the entry's "[Desktop Entry]" group: its Exec value with this program's quoting
    // undone ("" when it has none).
    static std::string execOf(std::string_view entryText);

  private:
    std::string folder_;
    std::string entryPath_;
    WritableProbe writable_;
    unsigned fileMode_;
    unsigned folderMode_;
};

}  // namespace tavrin
