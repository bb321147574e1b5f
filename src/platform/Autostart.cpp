#include "platform/Autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"

namespace tavrin {
namespace {

// Desktop entry strings escape backslash and the line-breaking characters; readers trim blanks at
// either end of a value, so those are written escaped too.
std::string escape(std::string_view text) {
    return escapeOnOneLine(text, {.nul = false, .edgeBlanks = true});
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += text[i];
                break;
        }
    }
    return out;
}

// The Exec key is a command line: the program's path is one argument, quoted when it holds a character
// the launcher would read as a separator or a special sign, and "%" is doubled so it is not taken for
// a field code. Without this a path with a blank would start some other program, or none.
std::string execArgument(std::string_view path) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    const bool quote = path.empty() || path.find_first_of(kReserved) != std::string_view::npos;
    if (quote) out += '"';
    for (char c : path) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        out += c;
        if (c == '%') out += '%';
    }
    if (quote) out += '"';
    return out;
}

// The path back from an Exec value this program wrote; a command line written by anybody else comes
// back as it stands, with its doubled "%" made single.
std::string pathOfExec(std::string_view exec) {
    std::string out;
    const bool quoted = exec.size() >= 2 && exec.front() == '"' && exec.back() == '"';
    if (quoted) exec = exec.substr(1, exec.size() - 2);
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            out += exec[++i];
        } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

Autostart::Autostart(std::string folder, WritableProbe writable, unsigned fileMode, unsigned folderMode)
    : folder_(std::move(folder)),
      entryPath_(folder_ + "/tavrin.desktop"),
      writable_(std::move(writable)),
      fileMode_(fileMode),
      folderMode_(folderMode) {}

std::string Autostart::entryText(std::string_view command) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tavrin\n"
           "Comment=Desktop clock with world times, reminders and alarms\n"
           "Exec=" +
           escape(execArgument(command)) +
           "\n"
           "Icon=tavrin\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string Autostart::execOf(std::string_view entryText) {
    bool inMainGroup = false;
    while (!entryText.empty()) {
        const auto end = entryText.find('\n');
        const std::string_view line = trim(entryText.substr(0, end));
        entryText = end == std::string_view::npos ? std::string_view() : entryText.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto eq = line.find('=');
        if (!inMainGroup || eq == std::string_view::npos || trim(line.substr(0, eq)) != "Exec") continue;
        return pathOfExec(unescape(trim(line.substr(eq + 1))));
    }
    return {};
}

bool Autostart::exists() const {
    struct stat st {};
    return ::lstat(entryPath_.c_str(), &st) == 0;
}

std::optional<std::string> Autostart::command() const {
    Result<std::string> text = AtomicFile::read(entryPath_);
    if (text) return execOf(*text);
    // An entry the user cannot read still exists; it just tells no command.
    if (exists()) return std::string();
    return std::nullopt;
}

Result<> Autostart::write(std::string_view command) {
    for (unsigned char c : command)
        if ((c < 0x20 && c != '\n' && c != '\t' && c != '\r') || c == 0x7F)
            return Failure{"the program's path holds a control character, which a start-up entry cannot hold",
                           EINVAL};
    if (writable_ && !writable_(entryPath_))
        return Failure{"cannot write " + entryPath_ + ": " + std::strerror(EACCES), EACCES};
    if (Result<> made = AtomicFile::makeFolders(folder_, folderMode_); !made) return made;
    return AtomicFile::write(entryPath_, entryText(command), fileMode_);
}

Result<> Autostart::remove() {
    if (!exists()) return {};
    if (writable_ && !writable_(entryPath_))
        return Failure{"cannot remove " + entryPath_ + ": " + std::strerror(EACCES), EACCES};
    if (::unlink(entryPath_.c_str()) != 0 && errno != ENOENT)
        return Failure{"cannot remove " + entryPath_ + ": " + std::strerror(errno), errno};
    AtomicFile::syncFolder(folder_);
    return {};
}

}  // namespace tavrin
