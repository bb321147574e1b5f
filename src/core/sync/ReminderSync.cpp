#include "core/sync/ReminderSync.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

#include "core/base/FileLock.h"
#include "core/base/Text.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/sync/LocalChanges.h"
#include "core/sync/SyncFile.h"

namespace tavrin {
namespace {

std::string quoted(const std::string& title) {
    return "\u201c" + title + "\u201d";
}

// A reason given in the middle of a sentence, as one of its own.
std::string sentence(std::string reason) {
    if (!reason.empty()) reason[0] = upperAscii(reason.substr(0, 1))[0];
    return reason.empty() || reason.back() == '.' ? reason : reason + ".";
}

std::string afterFailure(const std::string& reason) {
    return reason + " What changed here is kept and sent at the next sync.";
}

// A resource that changed on the server, as downloaded and read.
struct ServerChange {
    std::string href;
    std::string etag;
    EventReminder event;
};

int entryAt(const std::vector<SyncEntry>& entries, const std::string& href) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].href == href) return static_cast<int>(i);
    return -1;
}

// The entry a downloaded resource belongs to: the one at its href, else the one with its uid (a server
// may name a resource otherwise than the sync did when it wrote it). The entry then takes the
// server's href.
int entryOf(std::vector<SyncEntry>& entries, const std::string& href, const std::string& uid) {
    int i = entryAt(entries, href);
    for (std::size_t j = 0; i < 0 && !uid.empty() && j < entries.size(); ++j)
        if (entries[j].uid == uid && entries[j].state != SyncEntryState::Held) i = static_cast<int>(j);
    if (i >= 0) entries[static_cast<std::size_t>(i)].href = href;
    return i;
}

// A reminder not yet answered for by the server that holds `record`: the copy of it the server has
// (both machines began with the same file, or the answer to its write was lost) is that one.
std::vector<SyncEntry>::iterator unsentEqualTo(std::vector<SyncEntry>& entries,
                                               const ReminderRecord& record) {
    return std::find_if(entries.begin(), entries.end(), [&](const SyncEntry& e) {
        return e.state == SyncEntryState::QueuedWrite && e.etag.empty() && e.record == record;
    });
}

// The file's slot of the entry at `i`, -1 for one the file does not hold.
int slotOf(const std::vector<int>& slots, int i) {
    return static_cast<std::size_t>(i) < slots.size() ? slots[static_cast<std::size_t>(i)] : -1;
}

// The reminder a downloaded resource holds, or why there is none.
Result<ReminderRecord> reminderOf(const ServerChange& change) {
    if (!change.event.reminder) return change.event.reminder.why();
    if (change.event.reminder->title.empty()) return Failure{"it has no title"};
    return *change.event.reminder;
}

class Run {
  public:
    Run(ReminderTable& table, const std::string& reminderFile, const std::string& calendarAddress,
        SyncServer& server, const ReminderEventContext& context, const AtomicFile::WriteCalls& calls)
        : table_(table),
          reminderFile_(reminderFile),
          target_(AtomicFile::followLinks(reminderFile)),
          syncPath_(target_ + ".sync"),
          calendarAddress_(calendarAddress),
          server_(server),
          context_(context),
          calls_(calls),
          place_{newReminderUid, [&server](const std::string& uid) { return server.hrefFor(uid); }} {}

    Result<SyncReport> go() {
        if (const Result made = AtomicFile::makeFolders(folderOf(target_)); !made) return made.why();
        const Result<FileLock> runLock = FileLock::take(target_ + ".sync.lock", 0600);
        if (!runLock)
            return Failure{"The reminders were not synced: " + runLock.message() + ".", runLock.osError()};
        if (const Result started = start(); !started) return started.why();
        const Result<RemoteListing> listing = server_.list(state_.token);
        if (!listing) return Failure{afterFailure(listing.message())};
        if (const Result found = findServerChanges(*listing); !found) return found.why();
        if (const Result sent = send(true); !sent) return sent.why();
        if (const Result applied = apply(listing->token); !applied) return applied.why();
        changes_.clear();
        // The conflict copies made by the apply go at once; when they cannot, they go next time.
        if (const Result sent = send(false); !sent) report_.notices.push_back(sent.message());
        return report_;
    }

  private:
    // Reads the state, mends what a crash left, queues the changes made here, and notes the queue
    // before anything goes to the server.
    Result<> start() {
        const Result<FileLock> lock = FileLock::take(target_ + ".lock", 0600);
        if (!lock) return Failure{"The reminders were not synced: " + lock.message() + ".", lock.osError()};
        Result<LoadedSyncState> loaded = loadSyncState(syncPath_, calendarAddress_, calls_);
        if (!loaded) return loaded.why();
        if (!loaded->notice.empty()) report_.notices.push_back(loaded->notice);
        state_ = std::move(loaded->state);
        const Result<std::optional<std::string>> text = readReminderText(target_);
        if (!text) return text.why();
        if (state_.pending) {
            // A crash came between the two files: unless the reminder file holds what the change wrote,
            // the state as it was before the change is the one to go on from.
            const std::size_t digest =
                *text ? ReminderFileStamp::of(target_, **text).digest : ReminderFileStamp::missing().digest;
            if (digest != state_.pending->writtenDigest) {
                state_.token = state_.pending->token;
                state_.entries = state_.pending->entries;
            }
            state_.pending.reset();
        }
        const auto home = std::make_unique<ReminderTable>();
        if (*text) parseReminders(**text, *home);
        queueLocalChanges(state_, *home, place_);
        return saveSyncState(syncPath_, state_, calls_);
    }

    Result<> note() {
        const Result<FileLock> lock = FileLock::take(target_ + ".lock", 0600);
        if (!lock) return Failure{"The reminders were not synced: " + lock.message() + ".", lock.osError()};
        return saveSyncState(syncPath_, state_, calls_);
    }

    Result<> findServerChanges(const RemoteListing& listing) {
        std::vector<std::string> wanted;
        std::set<std::string> present;
        for (const RemoteEntry& r : listing.present) {
            if (!present.insert(r.href).second) continue;
            const int i = entryAt(state_.entries, r.href);
            if (i < 0 || state_.entries[static_cast<std::size_t>(i)].etag != r.etag) wanted.push_back(r.href);
        }
        // Gone: named so (unless made again since), or, in a whole listing, known and not in it.
        std::set<std::string> gone;
        for (const std::string& href : listing.gone)
            if (!present.count(href)) gone.insert(href);
        if (listing.whole)
            for (const SyncEntry& e : state_.entries)
                if (e.wasSent() && !present.count(e.href)) gone.insert(e.href);
        if (!wanted.empty()) {
            const Result<std::vector<RemoteText>> texts = server_.download(wanted);
            if (!texts) return Failure{afterFailure(texts.message())};
            std::set<std::string> got;
            for (const RemoteText& t : *texts) {
                got.insert(t.href);
                changes_.push_back({t.href, t.etag, reminderFromEvent(t.text, context_)});
            }
            // Gone between the listing and the download.
            for (const std::string& href : wanted)
                if (!got.count(href)) gone.insert(href);
        }
        settleEqualCopies();
        for (const std::string& href : gone) {
            const int i = entryAt(state_.entries, href);
            if (i < 0) continue;
            SyncEntry& e = state_.entries[static_cast<std::size_t>(i)];
            if (e.state == SyncEntryState::QueuedDelete) {
                state_.entries.erase(state_.entries.begin() + i);
            } else if (e.state == SyncEntryState::QueuedWrite) {
                if (e.etag.empty()) continue;
                // Deleted there, changed here: the change is kept and written again as a new one.
                e.etag.clear();
                report_.notices.push_back(quoted(e.record.title) +
                                          " was deleted on the server and changed here: your version is "
                                          "kept and sent again.");
            } else {
                gone_.push_back(href);
            }
        }
        return Result<>::success();
    }

    // A resource whose copy is what its entry holds did not change, whatever its version says (a lost
    // answer, a server that rewrote it): only the version is taken. A resource new to this sync that
    // holds what a reminder not yet sent holds (both machines began with the same file, or the answer
    // to a write was lost) is that reminder: never doubled.
    void settleEqualCopies() {
        for (auto c = changes_.begin(); c != changes_.end();) {
            const Result<ReminderRecord> record = reminderOf(*c);
            const int known = entryOf(state_.entries, c->href, c->event.uid);
            auto e = known >= 0 ? state_.entries.begin() + known
                     : record   ? unsentEqualTo(state_.entries, *record)
                                : state_.entries.end();
            if (!record || e == state_.entries.end() ||
                (!e->inFile() && e->state != SyncEntryState::QueuedDelete) || !(e->record == *record)) {
                ++c;
                continue;
            }
            if (!c->event.uid.empty()) e->uid = c->event.uid;
            e->href = c->href;
            e->etag = c->etag;
            if (e->state == SyncEntryState::QueuedWrite) {
                e->state = SyncEntryState::Synced;
                e->order = 0;
            }
            c = changes_.erase(c);
        }
    }

    bool changedOnServer(const std::string& href) const {
        return std::any_of(changes_.begin(), changes_.end(),
                           [&](const ServerChange& c) { return c.href == href; });
    }

    // Sends the queue in order; `first` is the pass before the apply, whose refused writes become
    // conflicts there. Every answer is noted at once.
    Result<> send(bool first) {
        std::vector<std::uint64_t> orders;
        for (const SyncEntry& e : state_.entries)
            if (e.queued()) orders.push_back(e.order);
        std::sort(orders.begin(), orders.end());
        for (std::uint64_t order : orders) {
            auto at = std::find_if(state_.entries.begin(), state_.entries.end(),
                                   [&](const SyncEntry& e) { return e.queued() && e.order == order; });
            if (at == state_.entries.end() || changedOnServer(at->href)) continue;
            const Result<bool> answered =
                at->state == SyncEntryState::QueuedWrite ? write(*at, first) : remove(at);
            if (!answered) return answered.why();
            if (*answered)
                if (const Result noted = note(); !noted) return noted;
        }
        return Result<>::success();
    }

    // Whether there was an answer to note.
    Result<bool> write(SyncEntry& e, bool first) {
        const Result<std::string> text = eventFromReminder(e.record, e.uid, context_);
        if (!text) {
            if (e.reason == text.message()) return false;
            e.reason = text.message();
            report_.notices.push_back(sentence(e.reason) +
                                      " It stays here, and goes to the server once it is mended.");
            return true;
        }
        for (;;) {
            const Result<RemoteWriteResult> r = server_.upload(e.href, *text, e.etag);
            if (!r) return Failure{afterFailure(r.message())};
            if (r->outcome == RemoteWrite::Done) {
                e.etag = r->etag.empty() ? versionOf(e.href) : r->etag;
                e.state = SyncEntryState::Synced;
                e.order = 0;
                e.reason.clear();
                ++report_.sent;
                return true;
            }
            if (r->outcome == RemoteWrite::Missing && !e.etag.empty()) {
                e.etag.clear();  // deleted there, changed here: written again as a new one
                continue;
            }
            if (r->outcome == RemoteWrite::Missing)
                return Failure{afterFailure("The calendar is not on the server.")};
            if (!first) return false;  // a conflict for the next run
            return fetchConflict(e);
        }
    }

    // The version of a resource the server wrote without naming it; "" when it cannot be had now (the
    // next listing names it).
    std::string versionOf(const std::string& href) {
        const Result<std::vector<RemoteText>> texts = server_.download({href});
        return texts && !texts->empty() ? texts->front().etag : std::string();
    }

    Result<bool> remove(std::vector<SyncEntry>::iterator e) {
        // Never answered for, and not in the listing since the token taken before its write: it never
        // reached the server, so there is nothing to delete there.
        if (e->etag.empty()) {
            state_.entries.erase(e);
            return true;
        }
        const Result<RemoteWriteResult> r = server_.remove(e->href, e->etag);
        if (!r) return Failure{afterFailure(r.message())};
        if (r->outcome == RemoteWrite::Changed) {
            const Result<bool> fetched = fetchConflict(*e);
            if (!fetched || !*fetched) return fetched;  // brought back by the apply
        }
        state_.entries.erase(e);
        ++report_.removedThere;
        return true;
    }

    // The server refused a write or deletion because its copy changed meanwhile: that copy is taken
    // as a change of the server's, weighed against this one in the apply.
    Result<bool> fetchConflict(SyncEntry& e) {
        const Result<std::vector<RemoteText>> texts = server_.download({e.href});
        if (!texts) return Failure{afterFailure(texts.message())};
        if (texts->empty()) {
            e.etag.clear();  // gone since: a write goes as a new one next time, a deletion is done
            return true;
        }
        const RemoteText& t = texts->front();
        changes_.push_back({t.href, t.etag, reminderFromEvent(t.text, context_)});
        return false;
    }

    // What the apply makes of the file: the rows it held (a removed one empty) and those added after.
    struct Rows {
        std::vector<std::optional<ReminderRecord>> kept;
        std::vector<ReminderRecord> added;
        bool changed = false;
        bool room() const {
            std::size_t n = added.size();
            for (const auto& r : kept) n += r ? 1 : 0;
            return n < static_cast<std::size_t>(kReminderSlots);
        }
        // Adds `record` when there is room.
        bool add(const ReminderRecord& record) {
            if (!room()) return false;
            added.push_back(record);
            changed = true;
            return true;
        }
    };

    SyncEntry newEntry(const ReminderRecord& record, std::uint64_t order) const {
        SyncEntry e;
        e.uid = place_.uid();
        e.href = place_.href(e.uid);
        e.record = record;
        e.state = SyncEntryState::QueuedWrite;
        e.order = order;
        return e;
    }

    void held(SyncEntry& e, const std::string& reason) {
        if (e.state != SyncEntryState::Held || e.reason != reason)
            report_.notices.push_back(sentence(reason) +
                                      " It stays on the server as it is, and is no reminder here.");
        e.state = SyncEntryState::Held;
        e.record = {};
        e.order = 0;
        e.reason = reason;
    }

    // Brings a server change into `next`, the state being made, and into the file's rows.
    void take(SyncState& next, Rows& rows, const std::vector<int>& slots, const ServerChange& c, int& aside) {
        const Result<ReminderRecord> server = reminderOf(c);
        int i = entryOf(next.entries, c.href, c.event.uid);
        if (i < 0 && server) {
            if (const auto e = unsentEqualTo(next.entries, *server); e != next.entries.end()) {
                if (!c.event.uid.empty()) e->uid = c.event.uid;
                e->href = c.href;
                i = static_cast<int>(e - next.entries.begin());
            }
        }
        if (i < 0) {
            SyncEntry e;
            e.uid = c.event.uid.empty() ? newReminderUid() : c.event.uid;
            e.href = c.href;
            e.state = SyncEntryState::Held;  // until it is known to be a reminder
            i = static_cast<int>(next.entries.size());
            next.entries.push_back(std::move(e));
        }
        SyncEntry& e = next.entries[static_cast<std::size_t>(i)];
        const int slot = slotOf(slots, i);
        const SyncEntryState was = e.state;
        e.etag = c.etag;
        if (!server) {
            if (was == SyncEntryState::Synced && slot >= 0) {
                rows.kept[static_cast<std::size_t>(slot)].reset();
                rows.changed = true;
                ++report_.removedHere;
            } else if (was == SyncEntryState::QueuedWrite) {
                // Changed here too: the home version stays, as a reminder of its own.
                next.entries.push_back(newEntry(e.record, next.nextOrder()));
            }
            held(next.entries[static_cast<std::size_t>(i)], server.message());
            return;
        }
        if (was == SyncEntryState::Aside) {
            e.record = *server;
            return;
        }
        if (was == SyncEntryState::Synced || (was == SyncEntryState::QueuedWrite && slot >= 0)) {
            const ReminderRecord home = e.record;
            e.state = SyncEntryState::Synced;
            e.order = 0;
            if (home == *server) return;
            e.record = *server;
            rows.kept[static_cast<std::size_t>(slot)] = *server;
            rows.changed = true;
            ++report_.received;
            if (was == SyncEntryState::Synced) return;
            // Changed on both sides: the server's copy wins, and the home one is kept beside it.
            ReminderRecord copy = home;
            copy.title += " (conflict)";
            SyncEntry kept = newEntry(copy, next.nextOrder());
            if (!rows.add(copy)) {
                kept.state = SyncEntryState::Aside;
                kept.order = 0;
                ++aside;
            }
            next.entries.push_back(std::move(kept));
            ++report_.conflicts;
            report_.notices.push_back(quoted(home.title) +
                                      " was changed here and on the server: the server's version is kept, "
                                      "and yours is kept as " +
                                      quoted(copy.title) + ".");
            return;
        }
        // Deleted here (or new, or no reminder before): the server's copy comes into the file.
        if (was == SyncEntryState::QueuedDelete)
            report_.notices.push_back(
                quoted(server->title) +
                " was deleted here and changed on the server: the server's version is kept.");
        e.record = *server;
        e.reason.clear();
        e.order = 0;
        if (rows.add(*server)) {
            e.state = SyncEntryState::Synced;
            ++report_.received;
        } else {
            e.state = SyncEntryState::Aside;
            ++aside;
        }
    }

    void dropGone(SyncState& next, Rows& rows, const std::vector<int>& slots,
                  std::set<std::size_t>& dropped) {
        for (const std::string& href : gone_) {
            const int i = entryAt(next.entries, href);
            if (i < 0) continue;
            SyncEntry& e = next.entries[static_cast<std::size_t>(i)];
            if (e.state == SyncEntryState::QueuedWrite) {
                e.etag.clear();  // changed here meanwhile: written again as a new one
                continue;
            }
            const int slot = slotOf(slots, i);
            if (e.state == SyncEntryState::Synced && slot >= 0) {
                rows.kept[static_cast<std::size_t>(slot)].reset();
                rows.changed = true;
                ++report_.removedHere;
            }
            dropped.insert(static_cast<std::size_t>(i));
        }
    }

    // Makes the server's changes in the table as the file holds it now; the new state is noted, with
    // the previous one, before the file is written.
    bool change(ReminderTable& table, SyncState& next, Result<>& noted) {
        next = state_;
        const std::vector<int> slots = queueLocalChanges(next, table, place_);
        Rows rows;
        for (int s = 0; s < occupiedSlots(table); ++s)
            rows.kept.emplace_back(ReminderRecord::fromSlot(table, s));
        int aside = 0;
        std::set<std::size_t> dropped;
        for (const ServerChange& c : changes_) take(next, rows, slots, c, aside);
        dropGone(next, rows, slots, dropped);
        for (auto d = dropped.rbegin(); d != dropped.rend(); ++d)
            next.entries.erase(next.entries.begin() + static_cast<std::ptrdiff_t>(*d));
        // Those kept aside before come in as room allows.
        for (SyncEntry& e : next.entries) {
            if (e.state != SyncEntryState::Aside || aside > 0 || !rows.add(e.record)) continue;
            e.state = e.etag.empty() ? SyncEntryState::QueuedWrite : SyncEntryState::Synced;
            if (e.etag.empty()) e.order = next.nextOrder();
            ++report_.received;
        }
        if (aside > 0)
            report_.notices.push_back(
                std::to_string(aside) + (aside == 1 ? " reminder" : " reminders") +
                " from the server did not fit in the reminder file, which holds 256: they stay on the server "
                "and come in when there is room.");
        if (!rows.changed) return false;

        int s = 0;
        for (const auto& r : rows.kept)
            if (r) r->toSlot(table, s++);
        for (const ReminderRecord& r : rows.added) r.toSlot(table, s++);
        for (; s < kReminderSlots; ++s) ReminderRecord{}.toSlot(table, s);
        next.pending = PendingApply{state_.token, state_.entries,
                                    std::hash<std::string_view>{}(serialiseReminders(table))};
        noted = saveSyncState(syncPath_, next, calls_);
        return noted.ok();
    }

    Result<> apply(const std::string& token) {
        SyncState next;
        Result<> noted;
        bool ran = false;
        const Result applied = updateReminders(
            table_, reminderFile_,
            [&](ReminderTable& table) {
                ran = true;
                return change(table, next, noted);
            },
            calls_);
        if (!noted) return noted;
        if (!applied) {
            if (next.pending) (void)note();  // the change did not reach the file: the state as it was
            return Failure{afterFailure(applied.message()), applied.osError()};
        }
        if (!applied.message().empty()) report_.notices.push_back(applied.message());
        if (!ran) return Result<>::success();
        next.pending.reset();
        next.token = token;
        state_ = std::move(next);
        return note();
    }

    ReminderTable& table_;
    const std::string reminderFile_;
    const std::string target_;
    const std::string syncPath_;
    const std::string calendarAddress_;
    SyncServer& server_;
    const ReminderEventContext& context_;
    const AtomicFile::WriteCalls& calls_;
    const NewPlace place_;
    SyncState state_;
    SyncReport report_;
    std::vector<ServerChange> changes_;
    std::vector<std::string> gone_;
};

}  // namespace

Result<SyncReport> syncReminders(ReminderTable& table, const std::string& reminderFile,
                                 const std::string& calendarAddress, SyncServer& server,
                                 const ReminderEventContext& context, const AtomicFile::WriteCalls& calls) {
    return Run(table, reminderFile, calendarAddress, server, context, calls).go();
}

std::vector<std::string> reminderUids(const ReminderTable& table, const std::string& reminderFile) {
    std::vector<std::string> uids(static_cast<std::size_t>(occupiedSlots(table)));
    const std::string target = AtomicFile::followLinks(reminderFile);
    Result<std::string> text = Failure{};
    if (const Result<FileLock> lock = FileLock::take(target + ".lock", 0600); lock)
        text = AtomicFile::read(target + ".sync");
    if (!text) return uids;
    const Result<SyncState> state = readSyncState(*text);
    if (!state) return uids;
    const std::vector<int> slots = exactSlots(state->entries, table);
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (slots[i] >= 0) uids[static_cast<std::size_t>(slots[i])] = state->entries[i].uid;
    return uids;
}

}  // namespace tavrin
