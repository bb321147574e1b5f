#pragma once
// What every fuzz target checks for one input: the parser reads it without crashing, and what it
// read survives its writer unchanged. The libFuzzer programs abort on a finding; the corpus replay
// test in ctest runs the same checks over every stored input, so a clang-less build still holds them.
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::fuzz {

// Empty when the input passed; otherwise what went wrong.
using Check = std::string (*)(std::string_view input);

struct Target {
    const char* name;  // also the corpus folder: tests/data/fuzz/<name>/
    Check check;
};

// .reg text read, written and read again: the second read finds nothing bad and the same tree.
std::string checkRegFile(std::string_view input);
// Reminder file text read, written and read again: the same table and the same text.
std::string checkReminderFile(std::string_view input);
// First line a "DateFormat", the rest a date or time text to read with it.
std::string checkDateText(std::string_view input);
// Eight bytes of instant, then a pattern to format it with.
std::string checkFormatPattern(std::string_view input);

// The working hours a user typed: what reads is a span inside one day and reads back the same.
std::string checkWorkingHours(std::string_view input);

// iCalendar text expanded over about three months: a reason for any failure, and every occurrence
// inside the window, sorted by start, with its alarms sorted.
std::string checkCalendarText(std::string_view input);
// A CalDAV server's answer read as a multistatus; every href it names resolved against an address,
// the result's path canonical already (resolving it again changes nothing), and the discovery and
// change rules run over it.
std::string checkDavResponse(std::string_view input);

// iCalendar text read as reminders: a reason for every refusal, and every reminder read is written as
// an event and read back the same.
std::string checkReminderEvent(std::string_view input);
// Sync state text read: whatever reads writes a text that reads back the same state, and that text
// is written again unchanged.
std::string checkSyncState(std::string_view input);

const std::vector<Target>& targets();

}  // namespace tavrin::fuzz
