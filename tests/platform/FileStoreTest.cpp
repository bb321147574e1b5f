#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/ZoneState.h"
#include "platform/FileStore.h"
#include "support/FakeKeys.h"
#include "support/FileText.h"
#include "support/StoredValue.h"
#include "support/TempDir.h"

using namespace tavrin;
using tavrin::test::readFile;
using tavrin::test::storedValue;
using tavrin::test::writeFile;
namespace fs = std::filesystem;

namespace {

// Runs `write` with files limited to `bytes`, as on a disk that fills up part-way through a write.
template <typename Write>
Status withFileSizeLimit(std::size_t bytes, Write write) {
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Status s = write();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return s;
}

// Runs `body` in a child process, whose exit status is what `body` returns.
template <typename Body>
pid_t spawn(Body body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    return child;
}

void expectExitsCleanly(pid_t child) {
    ASSERT_GE(child, 0);
    int result = 0;
    ::waitpid(child, &result, 0);
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0) << result;
}

class FileStoreTest : public ::testing::Test {
  protected:
    std::string userFile() const { return dir.file("config/tavrin/user.reg"); }
    std::string machineFile() const { return dir.file("xdg/tavrin/machine.reg"); }
    std::string userAutostart() const { return dir.file("config/autostart"); }
    std::string machineAutostart() const { return dir.file("xdg/autostart"); }

    // The probe refuses every path that starts with one of `readOnly`.
    std::unique_ptr<FileStore> open(std::vector<std::string> readOnly = {}, std::string user = {}) {
        return std::make_unique<FileStore>(user.empty() ? userFile() : user, machineFile(), userAutostart(),
                                           machineAutostart(), [readOnly](const std::string& path) {
                                               for (const std::string& p : readOnly)
                                                   if (path.rfind(p, 0) == 0) return false;
                                               return true;
                                           });
    }

    static KeyHandle create(Store& store, Root root, const char* path) {
        KeyHandle key;
        Disposition d;
        EXPECT_EQ(store.CreateKey(KeyHandle::rootKey(root), path, kAllAccess, key, d), status::kSuccess);
        return key;
    }

    // Writes one string value under the settings key of `root`.
    static KeyHandle put(Store& store, Root root, const char* name, const char* data) {
        KeyHandle key = create(store, root, kSettingsKey);
        EXPECT_EQ(store.SetValue(key, name, ValueType::String, data), status::kSuccess);
        return key;
    }

    tavrin::test::TempDir dir{"tavrin-store"};
};

}  // namespace

TEST_F(FileStoreTest, ValuesPersistByteForByteWithNamesInTheirFirstCase) {
    {
        auto store = open();
        EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "DateFormat"),
                  "<no key>");  // no file yet
        KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
        ASSERT_EQ(store->SetValue(key, "DateFormat", ValueType::String, "mm/dd/yy"), status::kSuccess);
        ASSERT_EQ(store->SetValue(key, "TimeFormat", ValueType::String, std::string("h:mm\0", 5)),
                  status::kSuccess);
        ASSERT_EQ(store->SetValue(key, "dateformat", ValueType::String, "dd.mm.yy"), status::kSuccess);
        create(*store, Root::CurrentUser, "SOFTWARE\\QUILLON\\EMPTY");
        ASSERT_EQ(store->SetValue(key, "Later", ValueType::String, "rewrite"), status::kSuccess);
    }
    struct stat st {};
    ASSERT_EQ(::stat(userFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string text = readFile(userFile());
    EXPECT_NE(text.find("\"DateFormat\"=\"dd.mm.yy\"\n"), std::string::npos) << text;
    auto store = open();
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, "software\\quillon\\tavrin", "DATEFORMAT"), "dd.mm.yy");
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "TimeFormat"), std::string("h:mm\0", 5));
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, "SOFTWARE\\QUILLON\\EMPTY", "x"),
              "<missing>");  // key survived
    EXPECT_EQ(storedValue(*store, Root::LocalMachine, kSettingsKey, "DateFormat"), "<no key>");
}

TEST_F(FileStoreTest, ReadOnlyRootRefusesWriteOpensAndWritesNothing) {
    put(*open(), Root::LocalMachine, "DateFormat", "mm/dd/yy");
    const std::string before = readFile(machineFile());
    auto store = open({machineFile()});
    const KeyHandle machine = KeyHandle::rootKey(Root::LocalMachine);
    KeyHandle key;
    EXPECT_EQ(store->OpenKey(machine, kSettingsKey, kAllAccess, key), status::kAccessDenied);
    EXPECT_EQ(store->DeleteKey(Root::LocalMachine, kSettingsKey), status::kAccessDenied);
    ASSERT_EQ(store->OpenKey(machine, kSettingsKey, kReadAccess, key), status::kSuccess);
    EXPECT_EQ(storedValue(*store, Root::LocalMachine, kSettingsKey, "DateFormat"), "mm/dd/yy");
    key.access = kAllAccess;  // a handle that claims more than it was opened with
    EXPECT_EQ(store->SetValue(key, "DateFormat", ValueType::String, "x"), status::kAccessDenied);
    EXPECT_EQ(readFile(machineFile()), before);
    create(*store, Root::CurrentUser, kSettingsKey);  // the user's own root is unaffected
}

// The real permission check, seen by an ordinary user: a file and folder without write bits.
TEST_F(FileStoreTest, DefaultProbeFollowsPermissionBitsForAnOrdinaryUser) {
    fs::create_directories(dir.file("ro"));
    writeFile(dir.file("ro/machine.reg"), "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"A\"=\"1\"\n");
    ::chmod(dir.file("ro/machine.reg").c_str(), 0444);
    ::chmod(dir.file("ro").c_str(), 0555);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_FALSE(FileStore::defaultWritable(dir.file("ro/machine.reg/below")));  // a file is no folder
    EXPECT_TRUE(FileStore::defaultWritable(dir.file("new/deeper/user.reg")) || ::geteuid() != 0);
    expectExitsCleanly(spawn([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 10;
        FileStore store(dir.file("ro/user.reg"), dir.file("ro/machine.reg"), dir.file("ro/a"),
                        dir.file("ro/b"));
        KeyHandle key;
        Disposition d;
        const KeyHandle machine = KeyHandle::rootKey(Root::LocalMachine);
        if (store.OpenKey(machine, kSettingsKey, kAllAccess, key) != status::kAccessDenied) return 1;
        if (store.OpenKey(machine, kSettingsKey, kReadAccess, key) != status::kSuccess) return 2;
        return store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), "X", kAllAccess, key, d) ==
                       status::kAccessDenied
                   ? 0
                   : 3;
    }));
}

TEST_F(FileStoreTest, TwoProgramsWritingAtOnceLoseNothing) {
    create(*open(), Root::CurrentUser, kSettingsKey);
    std::vector<pid_t> children;
    for (int c = 0; c < 2; ++c) {
        children.push_back(spawn([&] {
            auto store = open();
            const KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
            for (int i = 0; i < 200; ++i) {
                const std::string name = "P" + std::to_string(c) + "V" + std::to_string(i);
                if (store->SetValue(key, name, ValueType::String, name) != status::kSuccess) return 2;
            }
            return 0;
        }));
    }
    for (pid_t pid : children) expectExitsCleanly(pid);
    auto store = open();
    const KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
    std::set<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; store->EnumValue(key, i, name) == status::kSuccess; ++i) names.insert(name);
    EXPECT_EQ(names.size(), 400u);
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "P1V199"), "P1V199");
}

TEST_F(FileStoreTest, SeesChangesMadeByOtherProgramsAndEditors) {
    auto reader = open();
    auto writer = open();
    KeyHandle key = create(*writer, Root::CurrentUser, kSettingsKey);
    for (const char* v : {"1", "2"}) {
        ASSERT_EQ(writer->SetValue(key, "A", ValueType::String, v), status::kSuccess);
        EXPECT_EQ(storedValue(*reader, Root::CurrentUser, kSettingsKey, "A"), v);
    }
    // An editor that writes the file in place keeps its inode.
    writeFile(userFile(), "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"A\"=\"edited by hand\"\n");
    EXPECT_EQ(storedValue(*reader, Root::CurrentUser, kSettingsKey, "A"), "edited by hand");
    ASSERT_EQ(writer->SetValue(key, "B", ValueType::String, "3"), status::kSuccess);
    EXPECT_EQ(storedValue(*reader, Root::CurrentUser, kSettingsKey, "A"), "edited by hand");
}

// A store keeps the tree it wrote instead of reading its own write back; another program's write
// right after it, even of the same size within the same clock tick, must still be seen.
TEST_F(FileStoreTest, AWriteRightAfterOurOwnOfTheSameSizeIsNotLost) {
    auto mine = open();
    auto theirs = open();
    KeyHandle key = put(*mine, Root::CurrentUser, "A", "1");
    for (const char* v : {"2", "3", "4"}) {
        ASSERT_EQ(theirs->SetValue(key, "A", ValueType::String, v), status::kSuccess);
        EXPECT_EQ(storedValue(*mine, Root::CurrentUser, kSettingsKey, "A"), v);
        ASSERT_EQ(mine->SetValue(key, "B", ValueType::String, v), status::kSuccess);
        EXPECT_EQ(storedValue(*open(), Root::CurrentUser, kSettingsKey, "A"), v);
    }
}

TEST_F(FileStoreTest, CorruptFileIsKeptAsideAndItsReadableLinesSurvive) {
    fs::create_directories(fs::path(userFile()).parent_path());
    const std::string damaged =
        "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"A\"=\"1\"\n\x01garbage\n\"B\"=\"2\"\n";
    writeFile(userFile(), damaged);
    auto store = open();
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "B"), "2");
    EXPECT_EQ(readFile(userFile()), damaged);  // reading changes nothing
    KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
    ASSERT_EQ(store->SetValue(key, "C", ValueType::String, "3"), status::kSuccess);
    EXPECT_EQ(readFile(userFile() + ".corrupt"), damaged);
    auto fresh = open();
    for (const char* name : {"A", "B", "C"})
        EXPECT_NE(storedValue(*fresh, Root::CurrentUser, kSettingsKey, name), "<missing>");
    // A second damaged file does not replace the first one kept.
    writeFile(userFile(), damaged + "[broken\n");
    ASSERT_EQ(store->SetValue(key, "D", ValueType::String, "4"), status::kSuccess);
    EXPECT_EQ(readFile(userFile() + ".corrupt"), damaged);
    EXPECT_EQ(readFile(userFile() + ".corrupt.1"), damaged + "[broken\n");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "D"), "4");
}

TEST_F(FileStoreTest, FailedWritesLeaveTheOldFileAndSayWhy) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    const std::string before = readFile(userFile());
    EXPECT_EQ(withFileSizeLimit(
                  before.size() + 16,
                  [&] { return store->SetValue(key, "Big", ValueType::String, std::string(4096, 'x')); }),
              status::kWriteFailed);
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "Big"), "<missing>");
    for (const auto& entry : fs::directory_iterator(fs::path(userFile()).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    // A file in place of the folder.
    writeFile(dir.file("file"), "not a folder");
    Disposition d;
    EXPECT_EQ(open({}, dir.file("file/user.reg"))
                  ->CreateKey(KeyHandle::rootKey(Root::CurrentUser), "X", kAllAccess, key, d),
              status::kWriteFailed);
    // A store file that exists but cannot be read is never replaced.
    fs::create_directories(dir.file("dir.reg/inside"));
    EXPECT_NE(open({}, dir.file("dir.reg"))
                  ->CreateKey(KeyHandle::rootKey(Root::CurrentUser), "X", kAllAccess, key, d),
              status::kSuccess);
    EXPECT_TRUE(fs::exists(dir.file("dir.reg/inside")));
}

TEST_F(FileStoreTest, RunValueIsTheAutostartEntry) {
    auto store = open({userAutostart()});
    KeyHandle run;
    Disposition d;
    ASSERT_EQ(store->CreateKey(KeyHandle::rootKey(Root::CurrentUser), kRunKey, kAllAccess, run, d),
              status::kSuccess);
    EXPECT_EQ(d, Disposition::OpenedExisting);
    EXPECT_EQ(store->SetValue(run, "Tavrin", ValueType::String, "/usr/bin/tavrin"), status::kAccessDenied);
    store = open();
    ASSERT_EQ(store->OpenKey(KeyHandle::rootKey(Root::CurrentUser), kRunKey, kAllAccess, run),
              status::kSuccess);
    std::uint32_t size = 0;
    ValueType type;
    EXPECT_EQ(store->QueryValueInfo(run, "Tavrin", size, type), status::kNotFound);
    ASSERT_EQ(store->SetValue(run, "tavrin", ValueType::String, "/opt/my apps/tavrin --x "),
              status::kSuccess);
    // The entry's text is the autostart entry's own; this is the right file with the right command.
    EXPECT_EQ(readFile(userAutostart() + "/tavrin.desktop"),
              Autostart::entryText("/opt/my apps/tavrin --x "));
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kRunKey, "TAVRIN"), "/opt/my apps/tavrin --x ");
    EXPECT_EQ(storedValue(*store, Root::LocalMachine, kRunKey, "Tavrin"), "<missing>");
    std::string name;
    ASSERT_EQ(store->EnumValue(run, 0, name), status::kSuccess);
    EXPECT_EQ(name, "Tavrin");
    std::string listed;
    ASSERT_EQ(store->visitValues(run,
                                 [&listed](std::string_view n, ValueType, std::string_view data) {
                                     listed += std::string(n) + "=" + std::string(data);
                                 }),
              status::kSuccess);
    EXPECT_EQ(listed, "Tavrin=/opt/my apps/tavrin --x ");
    ASSERT_EQ(store->DeleteValue(run, "Tavrin"), status::kSuccess);
    EXPECT_FALSE(fs::exists(userAutostart() + "/tavrin.desktop"));
    EXPECT_EQ(store->DeleteValue(run, "Tavrin"), status::kNotFound);
    EXPECT_FALSE(fs::exists(userFile()));  // the settings file was never needed
}

TEST_F(FileStoreTest, ProviderKeysReadableWithFullAccessOnAReadOnlyMachineRoot) {
    create(*open(), Root::LocalMachine, kSettingsKey);
    auto store = open({machineFile()});
    store->mount(Root::LocalMachine, std::make_shared<tavrin::test::FakeKeys>(tavrin::test::FakeKeys().add(
                                         "SYSTEM\\Info", "Name", std::string("x\0", 2))));
    KeyHandle key;
    ASSERT_EQ(store->OpenKey(KeyHandle::rootKey(Root::LocalMachine), "system\\info", kAllAccess, key), 0);
    EXPECT_EQ(storedValue(*store, Root::LocalMachine, "SYSTEM\\INFO", "name"), std::string("x\0", 2));
    EXPECT_EQ(store->SetValue(key, "Name", ValueType::String, "y"), status::kAccessDenied);
    EXPECT_EQ(store->DeleteValue(key, "Name"), status::kAccessDenied);
}

TEST_F(FileStoreTest, LinuxStoreUsesTheXdgPlaces) {
    Paths paths;
    paths.configHome = dir.file("config");
    paths.configDir = dir.file("xdg");
    auto store = makeLinuxStore(paths, {});
    put(*store, Root::CurrentUser, "A", "1");
    EXPECT_TRUE(fs::exists(userFile()));
    KeyHandle run = create(*store, Root::LocalMachine, kRunKey);
    ASSERT_EQ(store->SetValue(run, kRunValueName, ValueType::String, "tavrin"), status::kSuccess);
    EXPECT_TRUE(fs::exists(machineAutostart() + "/tavrin.desktop"));
    EXPECT_FALSE(fs::exists(machineFile()));
}

TEST_F(FileStoreTest, BatchRewritesTheFileOnceWithEveryChangeAtItsCommit) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    ASSERT_EQ(store->SetValue(key, "C", ValueType::String, "3"), status::kSuccess);
    const std::string before = readFile(userFile());
    struct stat was {};
    ::stat(userFile().c_str(), &was);

    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->beginChanges(Root::CurrentUser), status::kBadArgument);  // one at a time
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    EXPECT_EQ(store->SetValue(key, "B", ValueType::String, "new"), status::kSuccess);
    EXPECT_EQ(store->DeleteValue(key, "C"), status::kSuccess);
    EXPECT_EQ(store->DeleteValue(key, "C"), status::kNotFound);
    KeyHandle sub = create(*store, Root::CurrentUser, "SOFTWARE\\QUILLON\\TAVRIN\\Sub");
    EXPECT_EQ(store->SetValue(sub, "D", ValueType::String, "4"), status::kSuccess);
    // The batch reads its own changes; the file, and so every other program, still has the old ones.
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "A"), "2");
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "C"), "<missing>");
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(storedValue(*open(), Root::CurrentUser, kSettingsKey, "A"), "1");

    ASSERT_EQ(store->commitChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->commitChanges(Root::CurrentUser), status::kBadArgument);
    auto fresh = open();
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "A"), "2");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "B"), "new");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "C"), "<missing>");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, "SOFTWARE\\QUILLON\\TAVRIN\\SUB", "D"), "4");

    // A batch that changes nothing leaves the file alone; a read-only root has no batch.
    ::stat(userFile().c_str(), &was);
    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    ASSERT_EQ(store->commitChanges(Root::CurrentUser), status::kSuccess);
    struct stat now {};
    ::stat(userFile().c_str(), &now);
    EXPECT_EQ(now.st_ino, was.st_ino);
    EXPECT_EQ(open({machineFile()})->beginChanges(Root::LocalMachine), status::kAccessDenied);
}

TEST_F(FileStoreTest, AnotherProgramWritingDuringABatchWaitsForItAndLosesNothing) {
    put(*open(), Root::CurrentUser, "A", "1");
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    // The other program starts before the batch, so it holds no copy of the batch's lock.
    const pid_t other = spawn([&] {
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1) return 2;
        auto store = open();
        const KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
        return store->SetValue(key, "Theirs", ValueType::String, "t") == status::kSuccess ? 0 : 3;
    });
    auto store = open();
    KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "Mine", ValueType::String, "m"), status::kSuccess);
    ASSERT_EQ(::write(go[1], "x", 1), 1);
    ::usleep(200 * 1000);
    EXPECT_EQ(readFile(userFile()).find("Theirs"), std::string::npos);  // still waiting for the lock
    ASSERT_EQ(store->commitChanges(Root::CurrentUser), status::kSuccess);
    expectExitsCleanly(other);
    ::close(go[0]);
    ::close(go[1]);
    auto fresh = open();
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "Mine"), "m");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "Theirs"), "t");
    EXPECT_EQ(storedValue(*fresh, Root::CurrentUser, kSettingsKey, "A"), "1");
}

TEST_F(FileStoreTest, FailedBatchCommitKeepsTheOldFileAndReadsIt) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    const std::string before = readFile(userFile());
    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "Big", ValueType::String, std::string(4096, 'x')), status::kSuccess);
    EXPECT_EQ(withFileSizeLimit(before.size() + 16, [&] { return store->commitChanges(Root::CurrentUser); }),
              status::kWriteFailed);
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "A"), "1");
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "Big"), "<missing>");
    // The lock went with the failed batch: the next change, batched or not, is made.
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "3"), status::kSuccess);
    EXPECT_EQ(storedValue(*open(), Root::CurrentUser, kSettingsKey, "A"), "3");
}

// A read that fails once must not pass for a missing value: the loader would write its default over
// the user's own setting.
TEST_F(FileStoreTest, AFailedReadKeepsTheSettingAndWritesNoDefault) {
    {
        auto store = open();
        put(*store, Root::CurrentUser, "DateFormat", "dd.mm.yy");
    }
    auto store = open();
    KeyHandle key;
    ASSERT_EQ(store->OpenKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key),
              status::kSuccess);
    writeFile(userFile(),
              readFile(userFile()) + "\"Other\"=\"x\"\n");  // changed by another program: read again
    int failures = 1;
    store->setReadCall([&failures](int fd, void* buffer, std::size_t size) -> ssize_t {
        if (failures > 0) {
            --failures;
            errno = EIO;
            return -1;
        }
        return ::read(fd, buffer, size);
    });
    Status s = status::kSuccess;
    EXPECT_EQ(QueryValue(*store, "DateFormat", s, key, "mm/dd/yy"), "");
    EXPECT_EQ(s, status::kReadFailed);
    EXPECT_NE(store->lastFailure().find("Input/output error"), std::string::npos) << store->lastFailure();
    EXPECT_NE(readFile(userFile()).find("\"DateFormat\"=\"dd.mm.yy\""), std::string::npos);
    EXPECT_EQ(QueryValue(*store, "DateFormat", s, key, "mm/dd/yy"), "dd.mm.yy");
    EXPECT_EQ(s, status::kSuccess);
}

// Mode 0200: the owner may write the file but not read it. Rewriting it from an empty tree would
// erase every setting in it.
TEST_F(FileStoreTest, AFileThatCanBeWrittenButNotReadIsNeverReplaced) {
    const std::string folder = dir.file("config/tavrin");
    fs::create_directories(folder);
    const std::string text =
        "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"DateFormat\"=\"dd.mm.yy\"\n\"TimeFormat\"=\"hh:mm\"\n";
    writeFile(userFile(), text);
    for (const std::string& p : {dir.path(), dir.file("config"), folder, userFile()})
        ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0) << p;
    ::chmod(userFile().c_str(), 0200);
    expectExitsCleanly(spawn([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 10;
        FileStore store(userFile(), dir.file("xdg/machine.reg"), dir.file("a"), dir.file("b"));
        KeyHandle key;
        Disposition d;
        const KeyHandle user = KeyHandle::rootKey(Root::CurrentUser);
        // Not "not found": an unreadable settings file must not look like a first start.
        if (store.OpenKey(user, kSettingsKey, kAllAccess, key) != status::kReadFailed) return 1;
        if (store.CreateKey(user, kSettingsKey, kAllAccess, key, d) == status::kSuccess) return 2;
        key = KeyHandle{Root::CurrentUser, kSettingsKey, kAllAccess, true};
        if (store.SetValue(key, "ColScheme", ValueType::String, "E99012") == status::kSuccess) return 3;
        if (store.lastFailure().find(userFile()) == std::string::npos) return 4;
        if (store.DeleteValue(key, "TimeFormat") == status::kSuccess) return 5;
        if (store.beginChanges(Root::CurrentUser) == status::kSuccess) return 6;
        // The loader finds every value missing, and must write no default over any of them.
        Settings settings;
        settings.SettingsRoot = Root::CurrentUser;
        ZoneState zones;
        LoadSettings(store, settings, zones, "C8D0D4");
        return 0;
    }));
    ::chmod(userFile().c_str(), 0600);
    EXPECT_EQ(readFile(userFile()), text);
}

TEST_F(FileStoreTest, ASaveRemovesTempFilesLeftByWritersThatDied) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    const std::string folder = fs::path(userFile()).parent_path();
    for (const char* name : {"user.reg.tmpAb12Cd", "user.reg.tmpXYZ789"})
        writeFile(folder + "/" + name, "half");
    writeFile(folder + "/user.reg.tmp-mine", "not a name the writer makes");
    writeFile(folder + "/other.reg.tmpAb12Cd", "another file's");
    ASSERT_EQ(store->SetValue(key, "B", ValueType::String, "2"), status::kSuccess);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"user.reg", "user.reg.lock", "user.reg.tmp-mine",
                                            "other.reg.tmpAb12Cd"}));
}

TEST_F(FileStoreTest, ACorruptFileSetAsideIsToldOnceWithWhereTheCopyIs) {
    fs::create_directories(fs::path(userFile()).parent_path());
    writeFile(userFile(), "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"A\"=\"1\"\n\x01garbage\n");
    auto store = open();
    KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
    ASSERT_EQ(store->SetValue(key, "C", ValueType::String, "3"), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "D", ValueType::String, "4"), status::kSuccess);
    const std::vector<std::string> notices = store->takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(userFile() + ".corrupt"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("line 5"), std::string::npos) << notices[0];
    EXPECT_TRUE(store->takeNotices().empty());
}

// Setting a damaged file aside must leave the file, its lock and the copy, and nothing else: a stray
// temporary file per start would pile up.
TEST_F(FileStoreTest, EveryDamagedFileSetAsideLeavesNoTempFileLoadAfterLoad) {
    const std::string folder = fs::path(userFile()).parent_path();
    fs::create_directories(folder);
    std::set<std::string> expected{"user.reg", "user.reg.lock"};
    for (int load = 0; load < 3; ++load) {
        // Each start finds the file damaged again, missing its defaults, and sets it aside anew.
        writeFile(userFile(),
                  "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n\x01garbage " +
                      std::to_string(load) + "\n");
        auto store = open();
        Settings settings;
        settings.SettingsRoot = Root::CurrentUser;
        ZoneState zones;
        LoadSettings(*store, settings, zones, "C8D0D4");
        EXPECT_EQ(settings.DateFormat, "mm/dd/yy");
        EXPECT_EQ(store->takeNotices().size(), 1u) << "load " << load;
        expected.insert("user.reg.corrupt" + (load == 0 ? std::string() : "." + std::to_string(load)));
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, expected);
}
