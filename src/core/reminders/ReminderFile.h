#pragma once
// Tavrin.DAT: the reminder table on disk. Each record is eight quoted lines ("<START>", title, date,
// time, enabled flag, recurrence code, message, "</END>") ended by CR LF. The file is always
// rewritten whole from the table, through a temporary file renamed over the old one.
#include <optional>
#include <string>
#include <string_view>

#include "core/base/AtomicFile.h"
#include "core/base/Result.h"
#include "core/reminders/ReminderTable.h"

namespace tavrin {

// What a parse found beyond the records it put into the table.
struct ReminderParseReport {
    int records = 0;   // records that began with "<START>"
    int loaded = 0;    // slots filled
    int overflow = 0;  // records beyond the 256 slots
    int untitled = 0;  // records without a title, which cannot hold a slot
};

// Fills the table (emptied first) from the text of a current-layout file.
ReminderParseReport parseReminders(std::string_view text, ReminderTable& table);
// Fills the table (emptied first) from the text of a seven-line, older-layout file; every
// record gets the recurrence code "-1".
ReminderParseReport parseOlderReminders(std::string_view text, ReminderTable& table);
// The file text for the occupied run of slots.
std::string serialiseReminders(const ReminderTable& table);

// The whole text of the file; nothing when there is no file, which is no failure.
Result<std::optional<std::string>> readReminderText(const std::string& path);

// Reads the file as the program does at start, without writing anything, and gives what the parse
// found. A missing file gives an empty table; a file that exists and cannot be read gives a
// message. When the file holds more than the table can load, the table's stamp says so, and the
// first save keeps the copy.
Result<ReminderParseReport> readReminders(ReminderTable& table, const std::string& path);

// The program's start-up load. When the file holds more than the table can (over 256 records, or
// records without a title), the original file is first copied to `path + ".overflow"` (an existing
// copy is never overwritten), since the next save rewrites the file from the table.
Result<> loadReminders(ReminderTable& table, const std::string& path);

// Whether a file's text holds more than the table can load (records beyond the 256 slots or without
// a title), or nothing that reads as a reminder although it is not blank.
bool holdsMoreThanLoads(std::string_view text, const ReminderParseReport& report);

// When a file's text holds more than the table can load (records beyond the 256 slots or without a
// title), or nothing that reads as a reminder although it is not blank, keeps the whole text beside
// the file (`.overflow` or `.unread`; an existing copy is never overwritten) before a rewrite drops
// it. The message says what and where. A failure means no copy could be kept, and the file must not
// be rewritten.
Result<> keepWhatCannotLoad(const std::string& path, std::string_view text,
                            const ReminderParseReport& report);

// Rewrites the file from the table, through a link at `path` to where it leads; missing folders are
// made. On failure the old file is left as it was. Tests pass their own write calls.
Result<> saveReminders(const ReminderTable& table, const std::string& path,
                       const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system());

// Converts a file in the older seven-line layout (its first record's fifth value has three or more
// characters) and rewrites it; a current-layout file is left alone. The older file is kept as
// `path + ".old"` before the rewrite.
Result<> upgradeReminderFile(ReminderTable& table, const std::string& path);

}  // namespace tavrin
