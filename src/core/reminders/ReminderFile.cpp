#include "core/reminders/ReminderFile.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "core/base/AtomicFile.h"
#include "core/reminders/ReminderFileStamp.h"
#include "core/reminders/ReminderItemReader.h"
#include "core/reminders/ReminderRecord.h"

namespace tavrin {
namespace {

constexpr std::string_view kStart = "<START>";
constexpr std::string_view kEnd = "</END>";

void clearTable(ReminderTable& table) {
    for (int i = 0; i < kReminderSlots; ++i) ReminderRecord{}.toSlot(table, i);
}

// Both layouts share the reading: after "<START>" a fixed number of values, then every item up to
// "</END>" is a message item and the last one wins. A record missing its "</END>" therefore takes
// the next record's items as message items, as the format has always read.
// A UTF-8 byte-order mark, as some editors put before the text; it would hide the first record.
std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

ReminderParseReport parse(std::string_view text, ReminderTable& table, bool olderLayout) {
    text = withoutByteOrderMark(text);
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
        ReminderRecord{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]),
                       std::move(fields[3]), std::move(fields[4]), std::move(body)}
            .toSlot(table, report.loaded++);
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

// Keeps `data` as `base`, or `base.2`, `base.3`, ... when an earlier copy with other content is
// there; an existing copy is never replaced. Returns the name used.
Result<std::string> keepCopy(const std::string& base, std::string_view data) {
    AtomicFile::WriteOptions options;
    options.makeFolders = true;
    options.replace = false;
    for (int n = 1; n < 100; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        const Result<std::string> read = AtomicFile::read(name);
        if (read) {
            if (*read == data) return name;
            continue;
        }
        if (read.osError() != ENOENT) continue;
        const Result kept = AtomicFile::write(name, data, options);
        if (kept) return name;
        if (kept.osError() != EEXIST) return kept.why();
    }
    return Failure{"cannot keep " + base + ": it and the names up to " + base + ".99 are taken"};
}

// What the file holds, read whole, and what the table took of it.
struct FileReading {
    std::string text;
    ReminderParseReport report;
};

// Empties the table and fills it from the file (a missing file leaves it empty).
Result<FileReading> readInto(ReminderTable& table, const std::string& path) {
    clearTable(table);
    Result<std::optional<std::string>> read = readReminderText(path);
    if (!read) return read.why();
    FileReading reading;
    if (!*read) {
        table.fileStamp = ReminderFileStamp::missing();
        return reading;
    }
    reading.text = std::move(**read);
    reading.report = parseReminders(reading.text, table);
    table.fileStamp = ReminderFileStamp::of(path, reading.text);
    table.fileStamp.needsCopy = holdsMoreThanLoads(reading.text, reading.report);
    return reading;
}

// True when every record of the text has the older layout's five values between "<START>" and
// "</END>", and there is at least one. One damaged record must not turn the daily and weekly
// reminders of a current file into one-off ones.
bool everyRecordIsOlder(std::string_view text) {
    ReminderItemReader reader(withoutByteOrderMark(text));
    std::string item;
    int records = 0;
    while (reader.next(item)) {
        if (item != kStart) continue;
        ++records;
        int values = 0;
        bool ended = false;
        while (reader.next(item)) {
            if (item == kEnd) {
                ended = true;
                break;
            }
            ++values;
        }
        if (!ended || values != 5) return false;
    }
    return records > 0;
}

// The fifth value of the first record, when the text begins with "<START>".
std::optional<std::string> firstRecordFifthValue(std::string_view text) {
    ReminderItemReader reader(withoutByteOrderMark(text));
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

ReminderParseReport parseReminders(std::string_view text, ReminderTable& table) {
    return parse(text, table, false);
}

ReminderParseReport parseOlderReminders(std::string_view text, ReminderTable& table) {
    return parse(text, table, true);
}

std::string serialiseReminders(const ReminderTable& table) {
    std::string out;
    for (int i = 0, end = occupiedSlots(table); i < end; ++i) {
        out += "\"<START>\"\r\n";
        appendValue(out, table.titles[i]);
        appendValue(out, table.dates[i]);
        appendValue(out, table.times[i]);
        appendValue(out, table.enabled[i]);
        appendValue(out, table.recurrences[i]);
        appendValue(out, table.bodies[i]);
        out += "\"</END>\"\r\n";
    }
    return out;
}

Result<std::optional<std::string>> readReminderText(const std::string& path) {
    Result<std::string> r = AtomicFile::read(path);
    if (r) return std::optional<std::string>(std::move(*r));
    if (r.osError() == ENOENT) return std::optional<std::string>();
    return Failure{"Cannot read the reminder file \"" + path + "\": " + std::strerror(r.osError()) + ".",
                   r.osError()};
}

Result<ReminderParseReport> readReminders(ReminderTable& table, const std::string& path) {
    const Result<FileReading> read = readInto(table, path);
    if (!read) return read.why();
    return read->report;
}

bool holdsMoreThanLoads(std::string_view text, const ReminderParseReport& r) {
    return r.overflow > 0 || r.untitled > 0 ||
           (r.records == 0 && text.find_first_not_of(" \t\r\n") != std::string_view::npos);
}

Result<> keepWhatCannotLoad(const std::string& path, std::string_view text, const ReminderParseReport& r) {
    if (!holdsMoreThanLoads(text, r)) return {};
    std::string what;
    if (r.overflow > 0) what = std::to_string(r.overflow) + " reminder(s) beyond the first 256";
    if (r.untitled > 0) {
        if (!what.empty()) what += " and ";
        what += std::to_string(r.untitled) + " reminder(s) without a title";
    }
    // Text that is not blank and holds no record at all (another encoding, another program's file).
    const bool unrecognised = what.empty();
    if (unrecognised) what = "nothing that reads as a reminder";
    const Result kept =
        keepCopy(AtomicFile::followLinks(path) + (unrecognised ? ".unread" : ".overflow"), text);
    if (!kept) {
        return Failure{"The reminder file \"" + path + "\" holds " + what +
                           ", and a copy of it could not be kept (" + kept.message() +
                           "), so it is not rewritten. Keep a copy of it before changing reminders.",
                       kept.osError()};
    }
    return Result<>::success("The reminder file \"" + path + "\" holds " + what +
                             (unrecognised ? "" : " that cannot be loaded") +
                             "; the whole file is kept as \"" + *kept + "\".");
}

Result<> loadReminders(ReminderTable& table, const std::string& path) {
    const Result<FileReading> read = readInto(table, path);
    if (!read.ok()) {
        // Never replaced while it cannot be read: saves read the file afresh and refuse too.
        return Failure{read.message() + " Reminders cannot be changed until it can be read.", read.osError()};
    }
    const Result kept = keepWhatCannotLoad(path, read->text, read->report);
    if (kept.ok()) table.fileStamp.needsCopy = false;
    return kept;
}

Result<> saveReminders(const ReminderTable& table, const std::string& path,
                       const AtomicFile::WriteCalls& calls) {
    AtomicFile::WriteOptions options;
    options.followLink = true;
    options.makeFolders = true;
    options.calls = calls;
    const Result r = AtomicFile::write(path, serialiseReminders(table), options);
    if (r) return {};
    std::string message = r.message();
    message[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(message[0])));
    return Failure{message + ". The reminder file was not changed."};
}

Result<> upgradeReminderFile(ReminderTable& table, const std::string& path) {
    const Result<std::optional<std::string>> read = readReminderText(path);
    if (!read) return read.why();
    if (!*read) return {};
    const std::string& text = **read;
    // A current record's fifth value is a recurrence code ("-1", "0", "1", "2"); an older record's
    // is its message. A file that does not begin with a record is judged by what the load read.
    const std::string fifth = firstRecordFifthValue(text).value_or(table.recurrences[0]);
    if (fifth.size() < 3 || !everyRecordIsOlder(text)) return {};

    ReminderTable upgraded;
    const ReminderParseReport r = parseOlderReminders(text, upgraded);
    const auto refused = [&](const Result<std::string>& copy) -> Result<> {
        return Failure{"The reminder file \"" + path +
                           "\" is in the older layout, but a copy of it could not be kept (" +
                           copy.message() + "); it was not converted.",
                       copy.osError()};
    };
    const Result old = keepCopy(AtomicFile::followLinks(path) + ".old", text);
    if (!old) return refused(old);
    if (r.overflow > 0 || r.untitled > 0) {
        if (const Result overflow = keepCopy(AtomicFile::followLinks(path) + ".overflow", text); !overflow)
            return refused(overflow);
    }
    Result saved = saveReminders(upgraded, path);
    if (!saved.ok()) return saved;
    for (int i = 0; i < kReminderSlots; ++i) ReminderRecord::fromSlot(upgraded, i).toSlot(table, i);
    return Result<>::success(
        "The reminder file \"" + path +
        "\" was in an older layout and has been converted; the file as it was is kept as \"" + *old + "\".");
}

}  // namespace tavrin
