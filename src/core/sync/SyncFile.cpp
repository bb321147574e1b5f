#include "core/sync/SyncFile.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include "core/base/Text.h"

namespace tavrin {
namespace {

constexpr std::string_view kHeader = "TAVRIN-SYNC 1";

struct StateName {
    SyncEntryState state;
    std::string_view name;
};
constexpr StateName kStateNames[] = {{SyncEntryState::Synced, "synced"},
                                     {SyncEntryState::QueuedWrite, "write"},
                                     {SyncEntryState::QueuedDelete, "delete"},
                                     {SyncEntryState::Aside, "aside"},
                                     {SyncEntryState::Held, "held"}};

std::string_view nameOf(SyncEntryState state) {
    for (const StateName& s : kStateNames)
        if (s.state == state) return s.name;
    return "synced";
}

// What a field escapes: besides line breaks and tabs, NUL, which a title may hold.
constexpr OneLineEscapes kFieldEscapes{.nul = true};

std::string field(std::string_view text) {
    return escapeOnOneLine(text, kFieldEscapes);
}

std::string entryFields(const SyncEntry& e) {
    std::string line(nameOf(e.state));
    for (const std::string* f : {&e.uid, &e.href, &e.etag, &e.record.title, &e.record.date, &e.record.time,
                                 &e.record.enabled, &e.record.recur, &e.record.body, &e.reason})
        line += '\t' + field(*f);
    return line + '\t' + std::to_string(e.order);
}

template <class Number>
std::optional<Number> number(std::string_view text) {
    Number n{};
    if (text.empty() || text.size() > 20) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

// A line's fields, unescaped; nothing when one holds an escape that is never written.
std::optional<std::vector<std::string>> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        auto f = unescapeOneLine(line.substr(0, tab), kFieldEscapes);
        if (!f) return std::nullopt;
        fields.push_back(std::move(*f));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::optional<SyncEntry> entryOf(const std::vector<std::string>& f) {
    if (f.size() != 13) return std::nullopt;
    SyncEntry e;
    bool named = false;
    for (const StateName& s : kStateNames)
        if (f[1] == s.name) e.state = s.state, named = true;
    const auto order = number<std::uint64_t>(f[12]);
    if (!named || !order) return std::nullopt;
    e.uid = f[2];
    e.href = f[3];
    e.etag = f[4];
    e.record = {f[5], f[6], f[7], f[8], f[9], f[10]};
    e.reason = f[11];
    e.order = *order;
    return e;
}

}  // namespace

std::string syncStateText(const SyncState& state) {
    std::string text = std::string(kHeader) + "\n";
    text += "calendar\t" + field(state.calendarAddress) + "\n";
    text += "token\t" + field(state.token) + "\n";
    for (const SyncEntry& e : state.entries) text += "entry\t" + entryFields(e) + "\n";
    if (state.pending) {
        text += "pending\t" + std::to_string(state.pending->writtenDigest) + "\t" +
                field(state.pending->token) + "\n";
        for (const SyncEntry& e : state.pending->entries) text += "previous\t" + entryFields(e) + "\n";
    }
    return text + "end\n";
}

Result<SyncState> readSyncState(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) return Failure{"its last line is cut off"};
        lines.push_back(text.substr(0, newline));
        text.remove_prefix(newline + 1);
    }
    if (lines.empty() || lines.front() != kHeader) return Failure{"it does not start with \"TAVRIN-SYNC 1\""};
    if (lines.back() != "end") return Failure{"it does not end with \"end\": it is cut short"};
    SyncState state;
    // What each line may be, in order: calendar, token, entries, then a pending change and its entries.
    enum { Calendar, Token, Entries, Previous } expect = Calendar;
    for (std::size_t n = 1; n + 1 < lines.size(); ++n) {
        const auto f = fieldsOf(lines[n]);
        const std::string where = "line " + std::to_string(n + 1);
        if (!f) return Failure{where + " holds an unknown escape"};
        const std::string& kind = f->front();
        if (expect == Calendar && kind == "calendar" && f->size() == 2) {
            state.calendarAddress = (*f)[1];
            expect = Token;
        } else if (expect == Token && kind == "token" && f->size() == 2) {
            state.token = (*f)[1];
            expect = Entries;
        } else if ((expect == Entries && kind == "entry") || (expect == Previous && kind == "previous")) {
            auto entry = entryOf(*f);
            if (!entry) return Failure{where + " is not a whole reminder entry"};
            (expect == Entries ? state.entries : state.pending->entries).push_back(std::move(*entry));
        } else if (expect == Entries && kind == "pending" && f->size() == 3) {
            const auto digest = number<std::size_t>((*f)[1]);
            if (!digest) return Failure{where + " does not give the reminder file's digest"};
            state.pending = PendingApply{(*f)[2], {}, *digest};
            expect = Previous;
        } else {
            return Failure{where + " is not expected there"};
        }
    }
    if (expect == Calendar || expect == Token) return Failure{"it names no calendar or no token"};
    return state;
}

Result<LoadedSyncState> loadSyncState(const std::string& path, const std::string& calendarAddress,
                                      const AtomicFile::WriteCalls& calls) {
    LoadedSyncState loaded;
    loaded.state.calendarAddress = calendarAddress;
    const Result<std::string> text = AtomicFile::read(path);
    if (!text) {
        if (text.osError() == ENOENT) return loaded;
        return Failure{"The sync file could not be read (" + text.message() +
                           "), so nothing was synced: it would lose what is still to be sent.",
                       text.osError()};
    }
    Result<SyncState> read = readSyncState(*text);
    if (!read) {
        AtomicFile::WriteOptions options;
        options.replace = false;
        options.calls = calls;
        const Result kept = AtomicFile::write(path + ".unread", *text, options);
        if (!kept && kept.osError() != EEXIST)
            return Failure{"The sync file " + path + " does not read (" + read.message() +
                               ") and could not be kept aside: " + kept.message() + ". Nothing was synced.",
                           kept.osError()};
        loaded.notice = "The sync file " + path + " did not read (" + read.message() + "); it is kept as " +
                        path +
                        ".unread and the sync starts afresh: every reminder here and on the server "
                        "is kept.";
        return loaded;
    }
    if (read->calendarAddress != calendarAddress) {
        loaded.notice = "The reminders were synced with another calendar before; the sync with " +
                        calendarAddress + " starts afresh: every reminder here and on the server is kept.";
        return loaded;
    }
    loaded.state = std::move(*read);
    return loaded;
}

Result<> saveSyncState(const std::string& path, const SyncState& state, const AtomicFile::WriteCalls& calls) {
    AtomicFile::WriteOptions options;
    options.calls = calls;
    const Result written = AtomicFile::write(path, syncStateText(state), options);
    if (!written)
        return Failure{"The sync file could not be written: " + written.message() + ".", written.osError()};
    return written;
}

}  // namespace tavrin
