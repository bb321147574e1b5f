// The settings store on real files: what the key and value rules become on disk (they are tested on
// the memory store in the core), and what only files bring: permissions, other programs writing at
// the same time, damaged files, full disks and failing reads.
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
#include "support/ScratchHome.h"
#include "support/StoredValue.h"

using namespace tavrin;
using tavrin::test::readFile;
using tavrin::test::settingsText;
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

// Runs `body` in a child process, whose exit status is what `body` returns; as root, the child is an
// ordinary user first, for whom the permission bits count.
template <typename Body>
pid_t spawn(Body body, bool asNobody = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
        ::_exit(body());
    }
    return child;
}

void expectExitsCleanly(pid_t child) {
    ASSERT_GE(child, 0);
    int result = 0;
    ::waitpid(child, &result, 0);
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0) << result;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

class FileStoreTest : public ::testing::Test {
  protected:
    std::string userFile() const { return dir.file("config/tavrin/user.reg"); }
    std::string machineFile() const { return dir.file("xdg/tavrin/machine.reg"); }
    std::string userAutostart() const { return dir.file("config/autostart"); }
    std::string machineAutostart() const { return dir.file("xdg/autostart"); }

    // The probe refuses every path that starts with one of `readOnly`.
    std::unique_ptr<FileStore> open(std::vector<std::string> readOnly = {}) {
        return std::make_unique<FileStore>(userFile(), machineFile(), userAutostart(), machineAutostart(),
                                           [readOnly](const std::string& path) {
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

    // The settings values of the user's file, read by a store of its own.
    std::string userValue(const char* name) {
        return storedValue(*open(), Root::CurrentUser, kSettingsKey, name);
    }

    tavrin::test::TempDir dir{"tavrin-store"};
};

}  // namespace

TEST_F(FileStoreTest, ValuesPersistByteForByteInAFileOnlyItsOwnerReads) {
    const std::string data("h:mm\0", 5);  // with the NUL another program left at the end
    auto store = open();
    ASSERT_EQ(store->SetValue(create(*store, Root::CurrentUser, kSettingsKey), "TimeFormat",
                              ValueType::String, data),
              status::kSuccess);
    struct stat st {};
    ASSERT_EQ(::stat(userFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(userValue("TimeFormat"), data);
}

// The real permission check, seen by an ordinary user: a file and folder without write bits refuse
// every change, whatever access a handle claims, and are left as they are.
TEST_F(FileStoreTest, FilesAndFoldersWithoutWriteBitsRefuseEveryChange) {
    fs::create_directories(dir.file("ro"));
    const std::string machine = dir.file("ro/machine.reg");
    const std::string text = settingsText("\"A\"=\"1\"\n");
    writeFile(machine, text);
    ::chmod(machine.c_str(), 0444);
    ::chmod(dir.file("ro").c_str(), 0555);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_FALSE(FileStore::defaultWritable(machine + "/below"));  // a file is no folder
    EXPECT_TRUE(FileStore::defaultWritable(dir.file("new/deeper/user.reg")) || ::geteuid() != 0);
    expectExitsCleanly(spawn(
        [&] {
            FileStore store(dir.file("ro/user.reg"), machine, dir.file("ro/a"), dir.file("ro/b"));
            KeyHandle key;
            Disposition d;
            const KeyHandle root = KeyHandle::rootKey(Root::LocalMachine);
            if (store.OpenKey(root, kSettingsKey, kAllAccess, key) != status::kAccessDenied) return 1;
            if (store.DeleteKey(Root::LocalMachine, kSettingsKey) != status::kAccessDenied) return 2;
            if (store.OpenKey(root, kSettingsKey, kReadAccess, key) != status::kSuccess) return 3;
            if (storedValue(store, key, "A") != "1") return 4;
            key.access = kAllAccess;  // a handle that claims more than it was opened with
            if (store.SetValue(key, "A", ValueType::String, "x") != status::kAccessDenied) return 5;
            if (store.beginChanges(Root::LocalMachine) != status::kAccessDenied) return 6;
            return store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), "X", kAllAccess, key, d) ==
                           status::kAccessDenied
                       ? 0
                       : 7;
        },
        true));
    EXPECT_EQ(readFile(machine), text);
}

// A store keeps the tree it wrote instead of reading its own write back; another program's write
// right after it, even of the same size within the same clock tick, must still be seen, and so must
// an editor's that writes the file in place (keeping its inode).
TEST_F(FileStoreTest, SeesWhatOtherProgramsAndEditorsWrite) {
    auto mine = open();
    auto theirs = open();
    KeyHandle key = put(*mine, Root::CurrentUser, "A", "1");
    for (const char* v : {"2", "3", "4"}) {
        ASSERT_EQ(theirs->SetValue(key, "A", ValueType::String, v), status::kSuccess);
        EXPECT_EQ(storedValue(*mine, Root::CurrentUser, kSettingsKey, "A"), v);
        ASSERT_EQ(mine->SetValue(key, "B", ValueType::String, v), status::kSuccess);
        EXPECT_EQ(userValue("A"), v);
    }
    writeFile(userFile(), settingsText("\"A\"=\"edited by hand\"\n"));
    EXPECT_EQ(storedValue(*mine, Root::CurrentUser, kSettingsKey, "A"), "edited by hand");
    ASSERT_EQ(theirs->SetValue(key, "B", ValueType::String, "5"), status::kSuccess);
    EXPECT_EQ(storedValue(*mine, Root::CurrentUser, kSettingsKey, "A"), "edited by hand");
}

// Lines that cannot be read would be dropped by the next rewrite: the whole file is kept aside first,
// once, and the user told once where; damaged again, it is kept beside the first copy. The temporary
// files of writers that died go with the next save, and nobody else's file goes with them.
TEST_F(FileStoreTest, ADamagedFileIsKeptAsideAndToldOnceAndItsReadableLinesSurvive) {
    const std::string folder = fs::path(userFile()).parent_path();
    fs::create_directories(folder);
    for (const char* name : {"user.reg.tmpAb12Cd", "user.reg.tmp-mine", "other.reg.tmpAb12Cd"})
        writeFile(folder + "/" + name, "half");
    const std::string damaged = settingsText("\"A\"=\"1\"\n\x01garbage\n\"B\"=\"2\"\n");
    writeFile(userFile(), damaged);
    auto store = open();
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "B"), "2");
    EXPECT_EQ(readFile(userFile()), damaged);  // reading changes nothing
    KeyHandle key = create(*store, Root::CurrentUser, kSettingsKey);
    ASSERT_EQ(store->SetValue(key, "C", ValueType::String, "3"), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "D", ValueType::String, "4"), status::kSuccess);
    EXPECT_EQ(readFile(userFile() + ".corrupt"), damaged);
    const std::vector<std::string> notices = store->takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(userFile() + ".corrupt"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("line 5"), std::string::npos) << notices[0];
    for (const char* name : {"A", "B", "C"}) EXPECT_NE(userValue(name), "<missing>") << name;

    const std::string again = settingsText("\"A\"=\"1\"\n\x01garbage again\n");
    writeFile(userFile(), again);
    ASSERT_EQ(store->SetValue(key, "E", ValueType::String, "5"), status::kSuccess);
    EXPECT_EQ(readFile(userFile() + ".corrupt.1"), again);
    EXPECT_EQ(store->takeNotices().size(), 1u);
    EXPECT_EQ(namesIn(folder),
              (std::set<std::string>{"user.reg", "user.reg.lock", "user.reg.corrupt", "user.reg.corrupt.1",
                                     "user.reg.tmp-mine", "other.reg.tmpAb12Cd"}));
}

TEST_F(FileStoreTest, FailedWritesLeaveTheOldFileAndTheNextChangeIsMade) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    const std::string before = readFile(userFile());
    const std::string big(4096, 'x');
    EXPECT_EQ(withFileSizeLimit(before.size() + 16,
                                [&] { return store->SetValue(key, "Big", ValueType::String, big); }),
              status::kWriteFailed);
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "Big"), "<missing>");
    // A batch that cannot be written keeps the old file too, and its lock goes with it.
    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    ASSERT_EQ(store->SetValue(key, "Big", ValueType::String, big), status::kSuccess);
    EXPECT_EQ(withFileSizeLimit(before.size() + 16, [&] { return store->commitChanges(Root::CurrentUser); }),
              status::kWriteFailed);
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "A"), "1");
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "3"), status::kSuccess);
    EXPECT_EQ(userValue("A"), "3");
}

// The Run key's "Tavrin" value is the autostart entry of its root's folder, under the XDG places.
TEST_F(FileStoreTest, RunValueIsTheAutostartEntry) {
    auto refusing = open({userAutostart()});
    KeyHandle run = create(*refusing, Root::CurrentUser, kRunKey);
    EXPECT_EQ(refusing->SetValue(run, "Tavrin", ValueType::String, "/usr/bin/tavrin"), status::kAccessDenied);
    auto store = open();
    ASSERT_EQ(store->OpenKey(KeyHandle::rootKey(Root::CurrentUser), kRunKey, kAllAccess, run),
              status::kSuccess);
    EXPECT_EQ(storedValue(*store, run, "Tavrin"), "<missing>");
    EXPECT_EQ(store->SetValue(run, "Tavrin", ValueType::String, std::string("a\0b", 3)),
              status::kBadArgument);
    ASSERT_EQ(store->SetValue(run, "tavrin", ValueType::String, "/opt/my apps/tavrin --x "),
              status::kSuccess);
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
    EXPECT_EQ(refusing->DeleteValue(run, "Tavrin"), status::kAccessDenied);
    ASSERT_EQ(store->DeleteValue(run, "Tavrin"), status::kSuccess);
    EXPECT_FALSE(fs::exists(userAutostart() + "/tavrin.desktop"));
    EXPECT_EQ(store->DeleteValue(run, "Tavrin"), status::kNotFound);
    EXPECT_FALSE(fs::exists(userFile()));  // the settings file was never needed

    // The program's own store: the machine's entry goes to the machine's autostart folder.
    Paths paths;
    paths.configHome = dir.file("config");
    paths.configDir = dir.file("xdg");
    auto programStore = makeLinuxStore(paths, {});
    put(*programStore, Root::CurrentUser, "A", "1");
    EXPECT_TRUE(fs::exists(userFile()));
    run = create(*programStore, Root::LocalMachine, kRunKey);
    ASSERT_EQ(programStore->SetValue(run, kRunValueName, ValueType::String, "tavrin"), status::kSuccess);
    EXPECT_TRUE(fs::exists(machineAutostart() + "/tavrin.desktop"));
    EXPECT_FALSE(fs::exists(machineFile()));
}

TEST_F(FileStoreTest, BatchRewritesTheFileOnceWithEveryChangeAtItsCommit) {
    auto store = open();
    KeyHandle key = put(*store, Root::CurrentUser, "A", "1");
    const std::string before = readFile(userFile());

    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->beginChanges(Root::CurrentUser), status::kBadArgument);  // one at a time
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    EXPECT_EQ(store->SetValue(key, "B", ValueType::String, "new"), status::kSuccess);
    // The batch reads its own changes; the file, and so every other program, still has the old ones.
    EXPECT_EQ(storedValue(*store, Root::CurrentUser, kSettingsKey, "A"), "2");
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(userValue("A"), "1");

    ASSERT_EQ(store->commitChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->commitChanges(Root::CurrentUser), status::kBadArgument);
    EXPECT_EQ(userValue("A"), "2");
    EXPECT_EQ(userValue("B"), "new");

    // A batch that changes nothing leaves the file alone.
    struct stat was {
    }, now{};
    ::stat(userFile().c_str(), &was);
    ASSERT_EQ(store->beginChanges(Root::CurrentUser), status::kSuccess);
    EXPECT_EQ(store->SetValue(key, "A", ValueType::String, "2"), status::kSuccess);
    ASSERT_EQ(store->commitChanges(Root::CurrentUser), status::kSuccess);
    ::stat(userFile().c_str(), &now);
    EXPECT_EQ(now.st_ino, was.st_ino);
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
    for (const auto& [name, value] : {std::pair{"Mine", "m"}, {"Theirs", "t"}, {"A", "1"}})
        EXPECT_EQ(userValue(name), value);
}

// A read that fails once must not pass for a missing value: the loader would write its default over
// the user's own setting.
TEST_F(FileStoreTest, AFailedReadKeepsTheSettingAndWritesNoDefault) {
    put(*open(), Root::CurrentUser, "DateFormat", "dd.mm.yy");
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
    const Result<std::string> failed = readText(*store, key, "DateFormat", "mm/dd/yy");
    EXPECT_NE(failed.message().find("cannot read " + userFile() + ": Input/output error"), std::string::npos)
        << failed.message();
    EXPECT_NE(readFile(userFile()).find("\"DateFormat\"=\"dd.mm.yy\""), std::string::npos);
    EXPECT_EQ(readText(*store, key, "DateFormat", "mm/dd/yy").valueOr("<failed>"), "dd.mm.yy");
}

// Mode 0200: the owner may write the file but not read it. Rewriting it from an empty tree would
// erase every setting in it.
TEST_F(FileStoreTest, AFileThatCanBeWrittenButNotReadIsNeverReplaced) {
    const std::string folder = dir.file("config/tavrin");
    fs::create_directories(folder);
    const std::string text = settingsText("\"DateFormat\"=\"dd.mm.yy\"\n\"TimeFormat\"=\"hh:mm\"\n");
    writeFile(userFile(), text);
    for (const std::string& p : {dir.path(), dir.file("config"), folder, userFile()})
        ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0) << p;
    ::chmod(userFile().c_str(), 0200);
    expectExitsCleanly(spawn(
        [&] {
            FileStore store(userFile(), dir.file("xdg/machine.reg"), dir.file("a"), dir.file("b"));
            KeyHandle key;
            const KeyHandle user = KeyHandle::rootKey(Root::CurrentUser);
            // Not "not found": an unreadable settings file must not look like a first start.
            if (store.OpenKey(user, kSettingsKey, kAllAccess, key) != status::kReadFailed) return 1;
            key = KeyHandle{Root::CurrentUser, kSettingsKey, kAllAccess, true};
            if (store.SetValue(key, "ColScheme", ValueType::String, "E99012") == status::kSuccess) return 3;
            if (store.takeFailure().find(userFile()) == std::string::npos) return 4;
            if (store.beginChanges(Root::CurrentUser) == status::kSuccess) return 6;
            // The loader finds every value missing, and must write no default over any of them.
            Settings settings;
            settings.SettingsRoot = Root::CurrentUser;
            ZoneState zones;
            if (loadSettings(store, settings, zones, "C8D0D4")) return 7;  // nothing could be read
            return 0;
        },
        true));
    ::chmod(userFile().c_str(), 0600);
    EXPECT_EQ(readFile(userFile()), text);
}
