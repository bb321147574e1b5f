#include "core/reminders/ReminderUpdate.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "core/base/FileLock.h"
#include "core/base/Text.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderFileStamp.h"
#include "core/reminders/ReminderRecord.h"

namespace tavrin {
namespace {

// Reads the whole file; a missing file is an empty one. False, with the reason, when it is there
// but cannot be read.
bool readFile(const std::string& path, std::string& text, bool& exists, Result<>& why) {
    const Result<std::string> r = AtomicFile::read(path);
    text = r.valueOr({});
    exists = r.ok();
    if (r || r.osError() == ENOENT) return true;
    why = Result<>::failure("Cannot read the reminder file \"" + path + "\": " + std::strerror(r.osError()) +
                                ". It was not changed, so that nothing in it is lost.",
                            r.osError());
    return false;
}

ReminderFileStamp stampOf(const std::string& path, std::string_view text, bool exists) {
    return exists ? ReminderFileStamp::of(path, text) : ReminderFileStamp::missing();
}

bool sameContent(const ReminderFileStamp& a, const ReminderFileStamp& b) {
    return a.known && b.known && a.exists == b.exists && a.digest == b.digest;
}

void takeColumns(ReminderTable& table, const ReminderTable& from) {
    for (int i = 0; i < kReminderSlots; ++i) ReminderRecord::fromSlot(from, i).toSlot(table, i);
    table.fileStamp = from.fileStamp;
}

}  // namespace

Result<> reloadRemindersIfChanged(ReminderTable& table, const std::string& path, bool* reloaded) {
    if (reloaded) *reloaded = false;
    // A table never read from the file has nothing to compare with: it stays as it is.
    if (!table.fileStamp.known || table.fileStamp.statusMatches(path)) return Result<>::success();
    std::string text;
    bool exists = false;
    Result<> why;
    if (!readFile(path, text, exists, why)) return why;
    ReminderFileStamp now = stampOf(path, text, exists);
    now.needsCopy = table.fileStamp.needsCopy;
    if (!sameContent(now, table.fileStamp)) {
        // Nothing is written here; the first save keeps what this table cannot hold.
        now.needsCopy = holdsMoreThanLoads(text, parseReminders(text, table));
        if (reloaded) *reloaded = true;
    }
    table.fileStamp = now;
    return Result<>::success();
}

Result<> updateReminders(ReminderTable& table, const std::string& path, const ReminderTableChange& change,
                         const AtomicFile::WriteCalls& calls) {
    const std::string target = AtomicFile::followLinks(path);
    if (const Result made = AtomicFile::makeFolders(folderOf(target)); !made) return made;
    FileLock lock(target + ".lock", 0600);
    if (!lock.held()) return Result<>::failure("The reminders could not be saved: " + lock.failure() + ".");

    // Another program may have written since the table last matched the file: start from the file.
    std::string text;
    bool exists = false;
    Result<> why;
    if (!readFile(target, text, exists, why)) return why;
    ReminderFileStamp onDisk = stampOf(target, text, exists);
    ReminderParseReport report;
    if (!sameContent(onDisk, table.fileStamp)) {
        report = parseReminders(text, table);
        onDisk.needsCopy = holdsMoreThanLoads(text, report);
    } else if (table.fileStamp.needsCopy) {
        // Read before without a copy kept (a listing, the clock's reload): the table may differ from
        // the file by now, so what the file holds is counted afresh.
        report = parseReminders(text, *std::make_unique<ReminderTable>());
        onDisk.needsCopy = true;
    }
    table.fileStamp = onDisk;

    const ReminderTable before = table;
    if (!change(table)) return Result<>::success();

    // The rewrite holds only what the table holds: whatever else the file has is kept aside first,
    // however the table came to hold what it holds.
    const Result kept = onDisk.needsCopy ? keepWhatCannotLoad(target, text, report) : Result<>::success();
    if (!kept.ok()) {
        takeColumns(table, before);
        return kept;
    }
    // Holding the lock, no write is under way: temporary files beside the file are from writers that
    // died before their rename.
    AtomicFile::removeLeftTemps(target);
    const std::string written = serialiseReminders(table);
    const Result saved = SaveReminders(table, target, calls);
    if (!saved.ok()) {
        takeColumns(table, before);
        // A copy kept on the way stays, and this is where the user hears of it: once.
        table.fileStamp.needsCopy = false;
        return kept.message().empty()
                   ? saved
                   : Result<>::failure(saved.message() + " " + kept.message(), saved.osError());
    }
    table.fileStamp = ReminderFileStamp::of(target, written);
    return Result<>::success(kept.message());
}

}  // namespace tavrin
