// Saves killed outright: a child process saves the settings in a loop and is killed with SIGKILL at a
// random moment, again and again. After every kill the file must read whole and hold the old or the new
// content, and the temporary files of the killed saves must not pile up. The reminders go through the
// same atomic writer.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
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

// The generation the settings file holds, or -1 and a reason when it is damaged or lost a value.
long generationOf(const std::string& text, std::string& why) {
    const ParsedRegFile parsed = RegFile::parse(text);
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
}

}  // namespace

TEST(CrashConsistency, KilledSettingsSavesLeaveTheOldOrTheNewFile) {
    tavrin::test::TempDir dir("tavrin-crash");
    const std::string userFile = dir.file("config/tavrin/user.reg");
    // In the saver: a fresh store for each save, as each run of a program would have.
    const auto save = [&](long n) {
        FileStore store(userFile, dir.file("xdg/machine.reg"), dir.file("a"), dir.file("b"));
        const KeyHandle key{Root::CurrentUser, kSettingsKey, kAllAccess, true};
        return store.SetValue(key, "Generation", ValueType::String, std::to_string(n)) == status::kSuccess;
    };
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

    std::mt19937 random(20240611);
    long generation = 0;  // the last one seen on disk
    int kills = 0;
    const auto until = std::chrono::steady_clock::now() + kTimeLimit;
    while (kills < kKills && std::chrono::steady_clock::now() < until) {
        // A saver that writes generations first, first + 1, ... and tells of each through a pipe.
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const long first = generation + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            for (long n = first;; ++n)
                if (!save(n) || ::write(pipeEnds[1], "s", 1) != 1) ::_exit(3);
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

        const Result<std::string> read = AtomicFile::read(userFile);
        ASSERT_TRUE(read) << "kill " << kills << ": " << read.message();
        const std::string& text = *read;
        std::string why;
        const long found = generationOf(text, why);
        ASSERT_GE(found, first) << "kill " << kills << ": " << why;
        generation = found;
        // At most the temporary file of the save just killed: the next save removes it.
        ASSERT_LE(tempFiles(folderOf(userFile)), 1) << "kill " << kills;
    }
    EXPECT_GE(kills, kKills) << "too slow: only " << kills << " kills in the time allowed";
}
