// Saves killed outright: a child process saves in a loop and is killed with SIGKILL at a random
// moment, again and again. After every kill the file must read whole and hold the old or the new
// content, and the temporary files of the killed saves must not pile up.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/settings/Settings.h"
#include "core/store/RegFile.h"
#include "platform/FileStore.h"
#include "support/TempDir.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

constexpr int kKills = 200;
constexpr auto kTimeLimit = std::chrono::seconds(150);

std::string filler(int i) {
    return "value " + std::to_string(i) + " " + std::string(1500, static_cast<char>('a' + i % 26));
}

int tempFiles(const std::string& folder) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp") != std::string::npos) ++n;
    return n;
}

// What one kind of file needs for the run: a save that writes generation `n`, and a check of the
// file as found after a kill that gives the generation it holds (or -1 and a reason when damaged).
struct Subject {
    std::string file;
    std::function<void(long n)> save;  // in the child, in a loop
    std::function<long(const std::string& text, std::string& why)> generationOf;
};

// Forks a saver that writes generations first, first + 1, ... and tells the parent of each through a
// pipe; kills it at a random moment after its first save.
void killSavesAndCheck(const Subject& subject) {
    std::mt19937 random(20240611);
    long generation = 0;  // the last one seen on disk
    int kills = 0;
    const auto until = std::chrono::steady_clock::now() + kTimeLimit;
    const std::string folder = folderOf(subject.file);
    while (kills < kKills && std::chrono::steady_clock::now() < until) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const long first = generation + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            for (long n = first;; ++n) {
                subject.save(n);
                if (::write(pipeEnds[1], "s", 1) != 1) ::_exit(3);
            }
        }
        ::close(pipeEnds[1]);
        char byte = 0;
        const bool saved = ::read(pipeEnds[0], &byte, 1) == 1;
        // Somewhere inside a later save: before the temporary file, while writing it, at the rename.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(pipeEnds[0]);
        ASSERT_TRUE(saved) << "the saver died before its first save";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        ++kills;

        std::string text;
        ASSERT_TRUE(AtomicFile::read(subject.file, text)) << "kill " << kills;
        std::string why;
        const long found = subject.generationOf(text, why);
        ASSERT_GE(found, first) << "kill " << kills << ": " << why;
        generation = found;
        // At most the temporary file of the save just killed: the next save removes it.
        ASSERT_LE(tempFiles(folder), 1) << "kill " << kills;
    }
    EXPECT_GE(kills, kKills) << "too slow: only " << kills << " kills in the time allowed";
}

}  // namespace

TEST(CrashConsistency, KilledSettingsSavesLeaveTheOldOrTheNewFile) {
    tavrin::test::TempDir dir("tavrin-crash");
    const std::string userFile = dir.file("config/tavrin/user.reg");
    Subject s;
    s.file = userFile;
    {
        FileStore store(userFile, dir.file("xdg/machine.reg"), dir.file("a"), dir.file("b"));
        KeyHandle key;
        Disposition d;
        ASSERT_EQ(store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d),
                  status::kSuccess);
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(store.SetValue(key, "Filler" + std::to_string(i), ValueType::String, filler(i)),
                      status::kSuccess);
    }
    s.save = [&](long n) {
        // A fresh store each time, as each run of a program would have.
        FileStore store(userFile, dir.file("xdg/machine.reg"), dir.file("a"), dir.file("b"));
        const KeyHandle key{Root::CurrentUser, kSettingsKey, kAllAccess, true};
        if (store.SetValue(key, "Generation", ValueType::String, std::to_string(n)) != status::kSuccess)
            ::_exit(2);
    };
    s.generationOf = [](const std::string& text, std::string& why) -> long {
        const RegParseResult parsed = RegFile::parse(text);
        const RegKey* key = parsed.tree.find(kSettingsKey);
        if (parsed.corrupt() || !key) {
            why = "unreadable file";
            return -1;
        }
        for (int i = 0; i < 40; ++i) {
            const RegValue* v = key->value("Filler" + std::to_string(i));
            if (!v || v->data != filler(i)) {
                why = "Filler" + std::to_string(i) + " lost";
                return -1;
            }
        }
        const RegValue* g = key->value("Generation");
        if (!g) {
            why = "no generation";
            return -1;
        }
        return std::atol(g->data.c_str());
    };
    killSavesAndCheck(s);
}

TEST(CrashConsistency, KilledReminderSavesLeaveTheOldOrTheNewFile) {
    tavrin::test::TempDir dir("tavrin-crash");
    Subject s;
    s.file = dir.file("data/tavrin/Tavrin.DAT");
    ReminderTable table;
    for (int i = 0; i < 60; ++i)
        ReminderRecord{"Reminder " + std::to_string(i), "03/07/05", "09:30:00", "1", "-1", filler(i)}.toSlot(
            table, i);
    ASSERT_TRUE(SaveReminders(table, s.file).ok);
    s.save = [&](long n) {
        // The save every change of the program goes through: lock, read again, change, write.
        ReminderTable mine;
        const Result saved = updateReminders(mine, s.file, [n](ReminderTable& t) {
            t.RemTitle[0] = "Generation " + std::to_string(n);
            return true;
        });
        if (!saved.ok) ::_exit(2);
    };
    s.generationOf = [&](const std::string& text, std::string& why) -> long {
        ReminderTable back;
        const ReminderParseReport r = parseReminders(text, back);
        if (r.loaded != 60) {
            why = std::to_string(r.loaded) + " reminders";
            return -1;
        }
        for (int i = 1; i < 60; ++i)
            if (!(ReminderRecord::fromSlot(back, i) == ReminderRecord::fromSlot(table, i))) {
                why = "reminder " + std::to_string(i) + " changed";
                return -1;
            }
        if (back.RemTitle[0].rfind("Generation ", 0) != 0) return 0;  // the first file, before any save
        return std::atol(back.RemTitle[0].c_str() + 11);
    };
    killSavesAndCheck(s);
}
