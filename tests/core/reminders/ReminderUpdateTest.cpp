// The reminder file shared with other programs: every change is made to what the file holds now.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderUpdate.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::form;
using test::readFile;
using test::titles;
using test::writeFile;

std::string record(const std::string& title) {
    return test::recordText(title);
}

std::set<std::string> namesIn(const test::TempDir& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.insert(e.path().filename());
    return names;
}

class SharedFile : public test::ReminderFolder {
  protected:
    void SetUp() override {
        writeFile(path, record("A") + record("B") + record("C"));
        ASSERT_TRUE(loadReminders(table, path).ok());
    }
};

// A save removes the temporary files of writers that died, and keeps no stray of its own.
TEST_F(SharedFile, ASaveRemovesTheTemporaryFilesOfWritersThatDied) {
    writeFile(path + ".tmpAb12Cd", "half a file");
    ASSERT_TRUE(addReminder(table, form("D"), settings, path).ok());
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"Tavrin.DAT", "Tavrin.DAT.lock"}));
}

// Slot numbers move when another program deletes: the reminder the user chose is the one changed.
TEST_F(SharedFile, DeleteAndToggleFindTheirReminderAfterAnotherProgramDeleted) {
    writeFile(path, record("B") + record("C"));  // "A" deleted elsewhere; "C" is now in slot 1
    ASSERT_TRUE(setReminderEnabled(table, 2, false, path).ok());  // "C" as the table showed it
    EXPECT_EQ(titles(table), "B|C");
    EXPECT_EQ(table.enabled[1], "0");
    ASSERT_TRUE(deleteReminder(table, 0, path).ok());  // "B"... which the table now shows in slot 0
    EXPECT_EQ(titles(table), "C");
    writeFile(path, record("Other"));
    const ReminderChange gone = deleteReminder(table, 0, path);  // "C" was deleted elsewhere
    EXPECT_FALSE(gone.ok());
    EXPECT_EQ(titles(table), "Other");
    EXPECT_EQ(readFile(path), record("Other"));
}

TEST_F(SharedFile, TheClockReloadsAChangedFileAndOnlyThen) {
    auto reloaded = [&] { return reloadRemindersIfChanged(table, path); };
    EXPECT_FALSE(reloaded().value());
    writeFile(path, record("A") + record("B") + record("C"));  // rewritten with the same content
    EXPECT_FALSE(reloaded().value());
    writeFile(path, record("Z"));
    EXPECT_TRUE(reloaded().value());
    EXPECT_EQ(titles(table), "Z");
    std::filesystem::remove(path);
    ASSERT_TRUE(reloaded().ok());
    EXPECT_EQ(titles(table), "");
}

// Another encoding, another program's file, or more than the table holds: the first save would
// make the loss permanent, however the table came to hold the file (listed by tavrinctl, read again by
// the running clock, loaded at start). The file is kept aside first, never over an earlier copy, and
// the user is told where once.
TEST(ReminderCopies, WhatCannotBeKeptIsCopiedAsideBeforeTheFirstSaveHoweverTheFileWasRead) {
    std::string many;
    for (int i = 0; i < 257; ++i) many += record("R" + std::to_string(i));
    const struct {
        const char* what;
        std::string text;
        std::string copy;
    } files[] = {
        {"a CSV file", "Title,Date,Time\r\nDentist,2005-03-07,09:30\r\n", ".unread"},
        {"UTF-16 text", std::string("\xFF\xFE\"\0<\0S\0T\0A\0R\0T\0>\0\"\0", 20), ".unread"},
        {"more than 256 reminders", many, ".overflow"},
        {"a reminder without a title", record("A") + record("") + record("B"), ".overflow"},
    };
    enum class Read { Listed, Reloaded, AtStart };
    for (const auto& f : files) {
        for (const Read how : {Read::Listed, Read::Reloaded, Read::AtStart}) {
            SCOPED_TRACE(std::string(f.what) + ", read " + std::to_string(static_cast<int>(how)));
            test::TempDir dir;
            const std::string path = dir.file("Tavrin.DAT"), kept = path + f.copy + ".2";
            writeFile(path + f.copy, "an earlier copy");
            ReminderTable t;
            Result<> told;
            if (how == Read::Reloaded) {
                writeFile(path, record("Before"));
                ASSERT_TRUE(loadReminders(t, path).ok());
                writeFile(path, f.text);
                ASSERT_TRUE(reloadRemindersIfChanged(t, path).ok());
            } else {
                writeFile(path, f.text);
                if (how == Read::Listed)
                    ASSERT_TRUE(readReminders(t, path).ok());
                else
                    told = loadReminders(t, path);
                ASSERT_TRUE(told.ok());
            }
            std::string saves;  // what each save told
            for (int save = 0; save < 2; ++save) {
                // A full table takes no new reminder: one of what the table holds goes instead.
                const ReminderChange c = occupiedSlots(t) > 0
                                             ? deleteReminder(t, 0, path)
                                             : addReminder(t, form("New"), test::defaultSettings(), path);
                ASSERT_TRUE(c.stored) << c.message();
                saves += c.message() + "|";
            }
            const std::string once = told.message() + "|" + saves;
            EXPECT_NE(once.find(kept), std::string::npos) << once;
            EXPECT_EQ(once.find(kept), once.rfind(kept)) << "told more than once: " << once;
            EXPECT_EQ(readFile(kept), f.text);
            EXPECT_EQ(readFile(path + f.copy), "an earlier copy");
            // One copy, and no temporary file of its writing left beside it.
            EXPECT_EQ(namesIn(dir),
                      (std::set<std::string>{"Tavrin.DAT", "Tavrin.DAT.lock", "Tavrin.DAT" + f.copy,
                                             "Tavrin.DAT" + f.copy + ".2"}));
        }
    }
}

// Mode 000 for an ordinary user: the file cannot be read, so no save may replace it (the first
// reminder added used to leave one record of three).
TEST(ReminderCopies, AFileThatCannotBeReadIsNeverReplaced) {
    test::TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    const std::string text = record("A") + record("B") + record("C");
    writeFile(path, text);
    ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ::chmod(path.c_str(), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
        ReminderTable t;
        const Result loaded = loadReminders(t, path);
        if (loaded.ok() || loaded.message().find("Permission denied") == std::string::npos) ::_exit(1);
        const ReminderChange added = addReminder(t, form("New"), test::defaultSettings(), path);
        if (added.ok() || added.message().find("could not be saved") == std::string::npos) ::_exit(2);
        ::_exit(added.message().find(path) == std::string::npos ? 3 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0u);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(readFile(path), text);
}

}  // namespace
}  // namespace tavrin
