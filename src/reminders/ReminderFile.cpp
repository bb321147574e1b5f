#include "reminders/ReminderFile.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "reminders/ReminderItemReader.h"

namespace tavrin {
namespace {

constexpr std::string_view kStart = "<START>";
constexpr std::string_view kEnd = "</END>";

void clearTable(ReminderTable& table) {
    for (int i = 0; i < kReminderSlots; ++i) {
        table.RemTitle[i].clear();
        table.RemDate[i].clear();
        table.RemTime[i].clear();
        table.RemEnabled[i].clear();
        table.RemRecur[i].clear();
        table.RemBody[i].clear();
    }
}

// Both layouts share the reading: after "<START>" a fixed number of values, then every item up to
// "</END>" is a message item and the last one wins. A record missing its "</END>" therefore takes
// the next record's items as message items, as the format has always read.
ReminderParseReport parse(std::string_view text, ReminderTable& table, bool olderLayout) {
    clearTable(table);
    ReminderParseReport report;
    ReminderItemReader reader(text);
    std::string item;
    std::string fields[5];
    const int fieldCount = olderLayout ? 4 : 5;
    while (reader.next(item)) {
        if (item != kStart) continue;
        ++report.records;
        int got = 0;
        for (auto& f : fields) f.clear();
        while (got < fieldCount && reader.next(fields[got])) ++got;
        std::string body;
        while (got == fieldCount && reader.next(item)) {
            if (item == kEnd) break;
            body = std::move(item);
        }
        if (olderLayout) fields[4] = "-1";
        if (fields[0].empty()) {
            // A slot without a title counts as free, and saving stops at the first free slot: the
            // records after it would be lost, so this one cannot take a slot.
            ++report.untitled;
            continue;
        }
        if (report.loaded >= kReminderSlots) {
            ++report.overflow;
            continue;
        }
        const int k = report.loaded++;
        table.RemTitle[k] = std::move(fields[0]);
        table.RemDate[k] = std::move(fields[1]);
        table.RemTime[k] = std::move(fields[2]);
        table.RemEnabled[k] = std::move(fields[3]);
        table.RemRecur[k] = std::move(fields[4]);
        table.RemBody[k] = std::move(body);
    }
    return report;
}

void appendValue(std::string& out, const std::string& value) {
    out += '"';
    // A double quote would end the value early on the next load; the editor refuses them, so one
    // can only come from a hand-edited file. Writing it as an apostrophe keeps the rest intact.
    if (value.find('"') == std::string::npos) {
        out += value;
    } else {
        for (char c : value) out += c == '"' ? '\'' : c;
    }
    out += "\"\r\n";
}

std::string errnoText(int err) {
    return std::strerror(err);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Where a rewrite really has to go: a symbolic link is followed, so the link survives the rename.
std::string resolveTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 16; ++hops) {
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n < 0) break;
        std::string link(buf, static_cast<std::size_t>(n));
        target = link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    return target;
}

struct TempFile {
    std::string path;
    int fd = -1;
    ~TempFile() {
        if (fd >= 0) ::close(fd);
        if (!path.empty()) ::unlink(path.c_str());
    }
};

ReminderFileResult failure(const std::string& what, const std::string& path, int err) {
    return {false, what + " \"" + path + "\": " + errnoText(err) + ". The reminder file was not changed."};
}

// Writes `data` into a new temporary file beside `target`, flushed to disk. The caller renames or
// links it into place.
ReminderFileResult writeTemp(const std::string& target, std::string_view data, const FileWriteCalls& calls,
                             TempFile& temp) {
    const std::string folder = folderOf(target);
    if (!makeFolders(folder)) return failure("Cannot create the folder", folder, errno ? errno : ENOTDIR);
    std::string pattern = target + ".tmp-XXXXXX";
    temp.fd = ::mkstemp(pattern.data());
    if (temp.fd < 0) return failure("Cannot create a temporary file beside", target, errno);
    temp.path = pattern;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = calls.write(temp.fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failure("Cannot write", temp.path, n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    if (calls.fsync(temp.fd) != 0) return failure("Cannot flush", temp.path, errno);
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0) return failure("Cannot close", temp.path, errno);
    return {};
}

void syncFolder(const std::string& folder) {
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);
    ::close(dfd);
}

bool readWholeFile(const std::string& path, std::string& out, int& err) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

// Keeps `data` as `base`, or `base.2`, `base.3`, ... when an earlier copy with other content is
// there; an existing copy is never replaced. Returns the name used, or nothing on failure.
std::optional<std::string> keepCopy(const std::string& base, std::string_view data) {
    for (int n = 1; n < 100; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        std::string existing;
        int err = 0;
        if (readWholeFile(name, existing, err)) {
            if (existing == data) return name;
            continue;
        }
        if (err != ENOENT) continue;
        TempFile temp;
        if (!writeTemp(name, data, FileWriteCalls::system(), temp).ok) return std::nullopt;
        // link() refuses an existing name, so a copy made meanwhile is not replaced either.
        if (::link(temp.path.c_str(), name.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        syncFolder(folderOf(name));
        return name;
    }
    return std::nullopt;
}

// The fifth value of the first record, when the text begins with "<START>".
std::optional<std::string> firstRecordFifthValue(std::string_view text) {
    ReminderItemReader reader(text);
    std::string item;
    if (!reader.next(item) || item != kStart) return std::nullopt;
    for (int i = 0; i < 5; ++i) {
        if (!reader.next(item)) {
            item.clear();
            break;
        }
    }
    return item;
}

}  // namespace

FileWriteCalls FileWriteCalls::system() {
    FileWriteCalls c;
    c.write = [](int fd, const void* p, std::size_t n) { return ::write(fd, p, n); };
    c.fsync = [](int fd) { return ::fsync(fd); };
    return c;
}

long ReminderNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value < 100000000) value = value * 10 + (text[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

ReminderParseReport ParseReminders(std::string_view text, ReminderTable& table) {
    return parse(text, table, false);
}

ReminderParseReport ParseOlderReminders(std::string_view text, ReminderTable& table) {
    return parse(text, table, true);
}

std::string SerialiseReminders(const ReminderTable& table) {
    std::string out;
    for (int i = 0; i < kReminderSlots && !table.RemTitle[i].empty(); ++i) {
        out += "\"<START>\"\r\n";
        appendValue(out, table.RemTitle[i]);
        appendValue(out, table.RemDate[i]);
        appendValue(out, table.RemTime[i]);
        appendValue(out, table.RemEnabled[i]);
        appendValue(out, table.RemRecur[i]);
        appendValue(out, table.RemBody[i]);
        out += "\"</END>\"\r\n";
    }
    return out;
}

bool FileExists(std::string path) {
    if (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return regular;
}

ReminderFileResult ReadReminders(ReminderTable& table, const std::string& path, ReminderParseReport* report) {
    clearTable(table);
    std::string text;
    int err = 0;
    if (!readWholeFile(path, text, err)) {
        if (err == ENOENT) return {};
        return {false, "Cannot read the reminder file \"" + path + "\": " + errnoText(err) + "."};
    }
    const ReminderParseReport r = ParseReminders(text, table);
    if (report) *report = r;
    return {};
}

ReminderFileResult LoadReminders(ReminderTable& table, const std::string& path) {
    clearTable(table);
    std::string text;
    int err = 0;
    if (!readWholeFile(path, text, err)) {
        if (err == ENOENT) return {};
        return {false, "Cannot read the reminder file \"" + path + "\": " + errnoText(err) + "."};
    }
    const ReminderParseReport r = ParseReminders(text, table);
    if (r.overflow == 0 && r.untitled == 0) return {};
    std::string what;
    if (r.overflow > 0) what = std::to_string(r.overflow) + " reminder(s) beyond the first 256";
    if (r.untitled > 0) {
        if (!what.empty()) what += " and ";
        what += std::to_string(r.untitled) + " reminder(s) without a title";
    }
    const auto kept = keepCopy(resolveTarget(path) + ".overflow", text);
    if (!kept) {
        return {false, "The reminder file holds " + what +
                           " that cannot be loaded, and a copy of it could not be kept. Keep a copy of \"" +
                           path + "\" before changing reminders."};
    }
    return {true, "The reminder file holds " + what + " that cannot be loaded; the whole file is kept as \"" +
                      *kept + "\"."};
}

ReminderFileResult WriteFileAtomically(const std::string& path, std::string_view data,
                                       const FileWriteCalls& calls) {
    const std::string target = resolveTarget(path);
    TempFile temp;
    ReminderFileResult r = writeTemp(target, data, calls, temp);
    if (!r.ok) return r;
    if (::rename(temp.path.c_str(), target.c_str()) != 0) return failure("Cannot replace", target, errno);
    temp.path.clear();
    syncFolder(folderOf(target));
    return {};
}

ReminderFileResult SaveReminders(const ReminderTable& table, const std::string& path) {
    return SaveReminders(table, path, FileWriteCalls::system());
}

ReminderFileResult SaveReminders(const ReminderTable& table, const std::string& path,
                                 const FileWriteCalls& calls) {
    return WriteFileAtomically(path, SerialiseReminders(table), calls);
}

ReminderFileResult UpgradeReminderFile(ReminderTable& table, const std::string& path) {
    std::string text;
    int err = 0;
    if (!readWholeFile(path, text, err)) {
        if (err == ENOENT) return {};
        return {false, "Cannot read the reminder file \"" + path + "\": " + errnoText(err) + "."};
    }
    // A current record's fifth value is a recurrence code ("-1", "0", "1", "2"); an older record's
    // is its message. A file that does not begin with a record is judged by what the load read.
    const std::string fifth = firstRecordFifthValue(text).value_or(table.RemRecur[0]);
    if (fifth.size() < 3) return {};

    ReminderTable upgraded;
    const ReminderParseReport r = ParseOlderReminders(text, upgraded);
    if (!keepCopy(resolveTarget(path) + ".old", text)) {
        return {false, "The reminder file \"" + path +
                           "\" is in the older layout, but a copy of it could not be kept; it was not "
                           "converted."};
    }
    if (r.overflow > 0 || r.untitled > 0) keepCopy(resolveTarget(path) + ".overflow", text);
    ReminderFileResult saved = SaveReminders(upgraded, path);
    if (!saved.ok) return saved;
    for (int i = 0; i < kReminderSlots; ++i) {
        table.RemTitle[i] = std::move(upgraded.RemTitle[i]);
        table.RemDate[i] = std::move(upgraded.RemDate[i]);
        table.RemTime[i] = std::move(upgraded.RemTime[i]);
        table.RemEnabled[i] = std::move(upgraded.RemEnabled[i]);
        table.RemRecur[i] = std::move(upgraded.RemRecur[i]);
        table.RemBody[i] = std::move(upgraded.RemBody[i]);
    }
    return {};
}

}  // namespace tavrin
