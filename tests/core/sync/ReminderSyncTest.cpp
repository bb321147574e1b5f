// The reminder file synced with a calendar collection: both sides' changes meet, nothing is lost or
// doubled, whatever fails or crashes on the way.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

#include "MemoryServer.h"
#include "core/reminders/ReminderFile.h"
#include "core/sync/ReminderSync.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::writeFile;

const std::string kCalendar = "https://dav.example.org/cal/";

struct Machine {
    test::TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    std::unique_ptr<ReminderTable> table = std::make_unique<ReminderTable>();
};

class ReminderSync : public ::testing::Test {
  protected:
    test::MemoryServer server;
    const ReminderEventContext context{"mm/dd/yy", "Europe/Berlin", "/usr/share/zoneinfo", 1100000000};
    Machine here;

    SyncReport sync(Machine& m, const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system()) {
        const Result<SyncReport> r = syncReminders(*m.table, m.path, kCalendar, server, context, calls);
        EXPECT_TRUE(r.ok()) << r.message();
        return r.ok() ? *r : SyncReport{};
    }
    SyncReport sync() { return sync(here); }

    // Another client writes a reminder, over the one at `href` when one is named.
    void phone(const std::string& title, const std::string& time, std::string href = "") {
        const std::string uid =
            href.empty() ? title + "@phone" : reminderFromEvent(server.resources[href].text, context).uid;
        if (href.empty()) href = server.hrefFor(uid);
        server.put(href, *eventFromReminder({title, "03/07/05", time, "1", "-1", ""}, uid, context));
    }
    static std::string record(const std::string& title, const std::string& time = "09:30:00") {
        return test::recordText(title, "03/07/05", time);
    }
    std::string hrefOf(const std::string& title) {
        for (const auto& [href, r] : server.resources)
            if (reminderFromEvent(r.text, context).summary == title) return href;
        return "";
    }
    // "title time" of every reminder, sorted: in the file, and on the server.
    std::string inFile() const {
        auto t = std::make_unique<ReminderTable>();
        parseReminders(test::readFile(here.path), *t);
        std::multiset<std::string> items;
        for (int s = 0; s < occupiedSlots(*t); ++s) items.insert(t->titles[s] + " " + t->times[s]);
        return joined(items);
    }
    std::string onServer() const {
        std::multiset<std::string> items;
        for (const auto& [href, r] : server.resources) {
            const EventReminder e = reminderFromEvent(r.text, context);
            items.insert(e.reminder ? e.reminder->title + " " + e.reminder->time : "!" + e.summary);
        }
        return joined(items);
    }
    static std::string joined(const std::multiset<std::string>& items) {
        std::string out;
        for (const std::string& i : items) out += (out.empty() ? "" : "|") + i;
        return out;
    }
};

TEST_F(ReminderSync, RunsCarryNewOnesEditsAndDeletionsBothWays) {
    writeFile(here.path, record("A") + record("B"));
    phone("C", "08:00:00");
    const SyncReport first = sync();
    EXPECT_EQ(first.sent, 2);
    EXPECT_EQ(first.received, 1);
    EXPECT_EQ(inFile(), "A 09:30:00|B 09:30:00|C 08:00:00");
    EXPECT_EQ(onServer(), inFile());
    const std::string a = hrefOf("A"), b = hrefOf("B");
    EXPECT_EQ(reminderUids(*here.table, here.path)[0],
              reminderFromEvent(server.resources[a].text, context).uid);
    writeFile(here.path, record("A", "10:00:00") + record("C", "08:00:00"));
    server.requests.clear();
    const SyncReport second = sync();
    EXPECT_EQ(second.removedThere, 1);
    EXPECT_EQ(server.requests, (std::vector<std::string>{"PUT " + a, "DELETE " + b}));
    EXPECT_EQ(onServer(), "A 10:00:00|C 08:00:00");
    server.put(hrefOf("C"), std::nullopt);
    server.requests.clear();
    EXPECT_EQ(sync().removedHere, 1);
    EXPECT_EQ(inFile(), "A 10:00:00");
    EXPECT_TRUE(server.requests.empty());
}

TEST_F(ReminderSync, ChangesOnBothSidesKeepTheServersVersionAndLoseNothing) {
    writeFile(here.path, record("A") + record("B") + record("C"));
    sync();
    // A changed on both sides, B deleted here and changed there, C changed here and deleted there.
    writeFile(here.path, record("A", "10:00:00") + record("C", "10:00:00"));
    phone("A", "11:00:00", hrefOf("A"));
    phone("B", "11:00:00", hrefOf("B"));
    server.put(hrefOf("C"), std::nullopt);
    const SyncReport r = sync();
    EXPECT_EQ(r.conflicts, 1);
    EXPECT_EQ(r.notices.size(), 3u);
    EXPECT_EQ(inFile(), "A (conflict) 10:00:00|A 11:00:00|B 11:00:00|C 10:00:00");
    EXPECT_EQ(onServer(), inFile());
    EXPECT_EQ(sync().conflicts, 0);
    EXPECT_EQ(inFile(), "A (conflict) 10:00:00|A 11:00:00|B 11:00:00|C 10:00:00");
}

TEST_F(ReminderSync, AnOutageKeepsTheQueueAndSendsItInOrderLater) {
    writeFile(here.path, record("A") + record("B"));
    sync();
    const std::string a = hrefOf("A"), b = hrefOf("B");
    server.requests.clear();
    server.answers = 1;  // the listing, then no more: the first write fails, then the listings
    for (const std::string& text :
         {record("A", "10:00:00") + record("B"), record("A", "10:00:00") + record("B") + record("C"),
          record("A", "10:00:00") + record("C")}) {
        writeFile(here.path, text);
        const Result<SyncReport> r = syncReminders(*here.table, here.path, kCalendar, server, context);
        EXPECT_EQ(r.message(),
                  "The server did not answer. What changed here is kept and sent at the next sync.");
    }
    server.answers = -1;
    sync();
    EXPECT_EQ(server.requests, (std::vector<std::string>{"PUT " + a, "PUT " + hrefOf("C"), "DELETE " + b}));
}

// A crash: after the server wrote and before the answer was noted; after the sync file noted the
// change to the reminder file and before that was written; after it was written and before the sync
// file was told. And a reminder file that cannot be written; and a crash as the second, followed by a
// hand edit before the next run.
class CrashedRun : public ReminderSync, public ::testing::WithParamInterface<int> {};

TEST_P(CrashedRun, NeitherLosesNorDoublesAReminder) {
    writeFile(here.path, record("A") + record("B"));
    sync();
    writeFile(here.path, record("A", "10:00:00") + record("B") + record("C"));
    phone("B", "11:00:00", hrefOf("B"));
    phone("D", "12:00:00");
    bool pending = false;
    AtomicFile::WriteCalls calls = AtomicFile::WriteCalls::system();
    calls.write = [&, system = calls.write](int fd, const void* data, std::size_t n) {
        const std::string_view text(static_cast<const char*>(data), n);
        const bool syncText = text.starts_with("TAVRIN-SYNC");
        if (GetParam() == 3 && pending && !syncText) return errno = ENOSPC, ssize_t{-1};
        if (((GetParam() == 1 || GetParam() == 4) && pending && !syncText) ||
            (GetParam() == 2 && pending && syncText && text.find("\npending") == std::string_view::npos))
            throw std::runtime_error("crash");
        pending = pending || text.find("\npending") != std::string_view::npos;
        return system(fd, data, n);
    };
    if (GetParam() == 0) server.afterWrite = [] { throw std::runtime_error("crash"); };
    if (GetParam() == 3)
        EXPECT_FALSE(syncReminders(*here.table, here.path, kCalendar, server, context, calls).ok());
    else
        EXPECT_THROW((void)syncReminders(*here.table, here.path, kCalendar, server, context, calls),
                     std::runtime_error);
    server.afterWrite = nullptr;
    here.table = std::make_unique<ReminderTable>();  // the program starts again
    if (GetParam() == 4) writeFile(here.path, test::readFile(here.path) + record("E"));
    EXPECT_EQ(sync().conflicts, 0);
    sync();
    EXPECT_EQ(inFile(), "A 10:00:00|B 11:00:00|C 09:30:00|D 12:00:00" +
                            std::string(GetParam() == 4 ? "|E 09:30:00" : ""));
    EXPECT_EQ(onServer(), inFile());
}

INSTANTIATE_TEST_SUITE_P(AtEachPoint, CrashedRun, ::testing::Values(0, 1, 2, 3, 4));

// A new reminder deleted here after its write reached the server unanswered (a kill) goes from the
// server too, and one made and deleted while the server was away costs no request at all.
TEST_F(ReminderSync, ANewOneDeletedAfterALostAnswerGoesFromTheServer) {
    sync();
    writeFile(here.path, record("A"));
    server.afterWrite = [] { throw std::runtime_error("crash"); };
    EXPECT_THROW((void)syncReminders(*here.table, here.path, kCalendar, server, context), std::runtime_error);
    server.afterWrite = nullptr;
    here.table = std::make_unique<ReminderTable>();
    writeFile(here.path, "");
    sync();
    EXPECT_EQ(inFile(), "");
    EXPECT_EQ(onServer(), "");

    server.answers = 0;
    writeFile(here.path, record("B"));
    EXPECT_FALSE(syncReminders(*here.table, here.path, kCalendar, server, context).ok());
    writeFile(here.path, "");
    server.answers = -1;
    server.requests.clear();
    sync();
    EXPECT_TRUE(server.requests.empty());
    EXPECT_EQ(onServer(), "");
}

TEST_F(ReminderSync, AServerChangeMadeWhileTheQueueIsSentIsAConflict) {
    writeFile(here.path, record("A") + record("B") + record("C"));
    sync();
    writeFile(here.path, record("A", "10:00:00") + record("B", "10:00:00"));
    server.afterWrite = [&, once = true]() mutable {
        if (!std::exchange(once, false)) return;
        phone("B", "11:00:00", hrefOf("B"));
        phone("C", "11:00:00", hrefOf("C"));
    };
    EXPECT_EQ(sync().conflicts, 1);
    EXPECT_EQ(inFile(), "A 10:00:00|B (conflict) 10:00:00|B 11:00:00|C 11:00:00");
    EXPECT_EQ(onServer(), inFile());
}

TEST_F(ReminderSync, TwoMachinesStartingFromOneFileShareOneCalendar) {
    Machine there;
    writeFile(here.path, record("A") + record("B"));
    writeFile(there.path, record("A") + record("B"));
    sync();
    EXPECT_EQ(sync(there).sent, 0);
    writeFile(there.path, record("A", "10:00:00") + record("B"));
    sync(there);
    sync();
    EXPECT_EQ(inFile(), "A 10:00:00|B 09:30:00");
    // A sync file lost starts afresh, and still doubles nothing.
    writeFile(here.path + ".sync", "lost");
    EXPECT_EQ(sync().notices.size(), 1u);
    EXPECT_EQ(onServer(), "A 10:00:00|B 09:30:00");
    EXPECT_EQ(inFile(), onServer());
}

TEST_F(ReminderSync, BeyondTheFilesRoomTheRestStaysAsideUntilThereIsRoom) {
    std::string text;
    for (int i = 0; i < 250; ++i) text += record("R" + std::to_string(i));
    writeFile(here.path, text);
    for (int i = 0; i < 10; ++i) phone("P" + std::to_string(i), "08:00:00");
    const SyncReport r = sync();
    EXPECT_EQ(occupiedSlots(*here.table), 256);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].substr(0, 12), "4 reminders ");
    EXPECT_EQ(server.resources.size(), 260u);
    auto fewer = std::make_unique<ReminderTable>();
    parseReminders(test::readFile(here.path), *fewer);
    for (int s = 0; s < kReminderSlots; ++s)
        (s + 5 < kReminderSlots ? ReminderRecord::fromSlot(*fewer, s + 5) : ReminderRecord{})
            .toSlot(*fewer, s);
    writeFile(here.path, serialiseReminders(*fewer));  // five deleted here
    sync();
    EXPECT_EQ(occupiedSlots(*here.table), 255);
    EXPECT_EQ(server.resources.size(), 255u);
}

// Either way: an event no reminder can hold, and a hand-edited reminder no event can.
TEST_F(ReminderSync, WhatTheOtherSideCannotHoldIsLeftAloneAndNamedOnce) {
    const std::string monthly =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:rent\r\n"
        "DTSTAMP:20050101T000000Z\r\nDTSTART:20050307T093000Z\r\nRRULE:FREQ=MONTHLY\r\nSUMMARY:Rent\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n";
    server.put("/cal/rent.ics", monthly);
    writeFile(here.path, test::recordText("Odd", "no date"));
    const SyncReport r = sync();
    ASSERT_EQ(r.notices.size(), 2u);
    EXPECT_NE(r.notices[1].find("Rent"), std::string::npos);
    EXPECT_NE(r.notices[0].find("Odd"), std::string::npos);
    EXPECT_TRUE(sync().notices.empty());
    EXPECT_EQ(inFile(), "Odd 09:30:00");
    EXPECT_EQ(server.resources.size(), 1u);
    EXPECT_EQ(server.resources["/cal/rent.ics"].text, monthly);
}

}  // namespace
}  // namespace tavrin
