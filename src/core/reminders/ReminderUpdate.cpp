#include "core/reminders/ReminderUpdate.h"

#include <memory>

#include "core/base/FileLock.h"
#include "core/base/Text.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderFileStamp.h"
#include "core/reminders/ReminderRecord.h"

namespace tavrin {
namespace {

// The whole file's text (a missing file is an empty one) and its stamp.
struct OnDisk {
    std::string text;
    ReminderFileStamp stamp;
};

Result<OnDisk> readOnDisk(const std::string& path) {
    Result<std::optional<std::string>> read = readReminderText(path);
    if (!read)
        return Failure{read.message() + " It was not changed, so that nothing in it is lost.",
                       read.osError()};
    if (!*read) return OnDisk{{}, ReminderFileStamp::missing()};
    OnDisk onDisk{std::move(**read), {}};
    onDisk.stamp = ReminderFileStamp::of(path, onDisk.text);
    return onDisk;
}

bool sameContent(const ReminderFileStamp& a, const ReminderFileStamp& b) {
    return a.known && b.known && a.exists == b.exists && a.digest == b.digest;
}

void takeColumns(ReminderTable& table, const ReminderTable& from) {
    for (int i = 0; i < kReminderSlots; ++i) ReminderRecord::fromSlot(from, i).toSlot(table, i);
    table.fileStamp = from.fileStamp;
}

}  // namespace

Result<bool> reloadRemindersIfChanged(ReminderTable& table, const std::string& path) {
    // A table never read from the file has nothing to compare with: it stays as it is.
    if (!table.fileStamp.known || table.fileStamp.statusMatches(path)) return false;
    const Result<OnDisk> read = readOnDisk(path);
    if (!read) return read.why();
    ReminderFileStamp now = read->stamp;
    now.needsCopy = table.fileStamp.needsCopy;
    const bool reloaded = !sameContent(now, table.fileStamp);
    // Nothing is written here; the first save keeps what this table cannot hold.
    if (reloaded) now.needsCopy = holdsMoreThanLoads(read->text, parseReminders(read->text, table));
    table.fileStamp = now;
    return reloaded;
}

Result<> updateReminders(ReminderTable& table, const std::string& path, const ReminderTableChange& change,
                         const AtomicFile::WriteCalls& calls) {
    const std::string target = AtomicFile::followLinks(path);
    if (const Result made = AtomicFile::makeFolders(folderOf(target)); !made) return made;
    const Result lock = FileLock::take(target + ".lock", 0600);
    if (!lock) return Failure{"The reminders could not be saved: " + lock.message() + ".", lock.osError()};

    // Another program may have written since the table last matched the file: start from the file.
    const Result<OnDisk> read = readOnDisk(target);
    if (!read) return read.why();
    const std::string& text = read->text;
    ReminderFileStamp onDisk = read->stamp;
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
    const Result saved = saveReminders(table, target, calls);
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
