#pragma once
// The key-value store behind every setting: roots, keys with subkeys, named values. Every call
// returns its status (0 = success). The rest of the program goes through the store's edge
// (StoreAccess.h), which turns a status into a failure with its reason.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

using Status = std::int32_t;

namespace status {
inline constexpr Status kSuccess = 0;
inline constexpr Status kNotFound = 2;       // key or value missing
inline constexpr Status kAccessDenied = 5;   // no write access where write access was asked for
inline constexpr Status kInvalidHandle = 6;  // closed or never opened key
inline constexpr Status kBadArgument = 87;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;  // enumeration past the end
inline constexpr Status kWriteFailed = 29;   // the file could not be written
inline constexpr Status kReadFailed = 30;    // the file exists but could not be read
}  // namespace status

enum class Root { LocalMachine, CurrentUser };

// Value types the program knows.
enum class ValueType : std::uint32_t { None = 0, String = 1, Binary = 3 };

// Access mask of every open and create: query, set, create subkey, enumerate, notify, create link.
inline constexpr std::uint32_t kAllAccess = 0x3F;
inline constexpr std::uint32_t kReadAccess = 0x19;  // query, enumerate, notify

enum class Disposition : std::uint32_t { None = 0, CreatedNew = 1, OpenedExisting = 2 };

// An open key: the root it lives under, its path relative to the root ("" is the root itself)
// and the access it was opened with. A default-constructed handle is not open.
struct KeyHandle {
    Root root = Root::CurrentUser;
    std::string path;
    std::uint32_t access = 0;
    bool open = false;

    static KeyHandle rootKey(Root r) { return KeyHandle{r, "", kAllAccess, true}; }
};

class Store {
  public:
    virtual ~Store() = default;

    // Opens `subPath` below `parent` (a root key or an open key).
    virtual Status OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                           KeyHandle& result) = 0;
    // Opens `subPath`, creating it and any missing keys above it. `disposition` tells whether the
    // last key was made by this call.
    virtual Status CreateKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                             KeyHandle& result, Disposition& disposition) = 0;
    // Hands each value of the key, with its type and bytes, to `visit` in stored order (as EnumValue
    // lists them, each read as QueryValueData reads it). A store kept in files reads the root once for
    // the whole walk rather than once a value, which on a large store is the whole cost of a listing.
    // `visit` must not call the store.
    using ValueVisitor = std::function<void(std::string_view name, ValueType type, std::string_view data)>;
    virtual Status visitValues(const KeyHandle& key, const ValueVisitor& visit) {
        std::string name, data;
        ValueType type = ValueType::None;
        Status s = status::kSuccess;
        for (std::uint32_t i = 0; (s = EnumValue(key, i, name)) == status::kSuccess; ++i)
            if (QueryValueData(key, name, data, type) == status::kSuccess) visit(name, type, data);
        return s == status::kNoMoreItems ? status::kSuccess : s;
    }
    // Size query: the value's data length in bytes and its type, without the data.
    virtual Status QueryValueInfo(const KeyHandle& key, std::string_view name, std::uint32_t& size,
                                  ValueType& type) = 0;
    // Reads the value's bytes; a stored string keeps every byte it was written with, NUL included.
    virtual Status QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                                  ValueType& type) = 0;
    // `name` "" is the unnamed default value. A string is stored with exactly the bytes given.
    virtual Status SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                            std::string_view data) = 0;
    virtual Status DeleteValue(const KeyHandle& key, std::string_view name) = 0;
    // Deletes the key at `path` under `root`, with everything below it.
    virtual Status DeleteKey(Root root, std::string_view path) = 0;
    // The index-th subkey's name (in the order the keys were first written); kNoMoreItems past the end.
    virtual Status EnumKey(const KeyHandle& key, std::uint32_t index, std::string& name) = 0;
    // The index-th value's name (in stored order; "" is the unnamed default); kNoMoreItems past the end.
    virtual Status EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) = 0;
    virtual Status FlushKey(const KeyHandle& key) = 0;
    virtual Status CloseKey(KeyHandle& key) = 0;

    // Why the latest call that failed on a file failed, in words for the user ("cannot write
    // /x/user.reg: No space left on device"), handed out once and forgotten; empty for a store
    // without files. The store's edge (StoreAccess) takes it into the failure it returns.
    virtual std::string takeFailure() { return {}; }
    // Whether this user may change the root (write its file, or make it and its folders); a root
    // that cannot be changed may still be read.
    virtual bool canWrite(Root root) {
        (void)root;
        return true;
    }
    // What the user should hear once, oldest first, and forgotten as it is handed out: a damaged file
    // kept aside before it was rewritten, with where the copy is.
    virtual std::vector<std::string> takeNotices() { return {}; }

    // Groups the changes to one root until commitChanges, for a caller that writes many values at
    // once: a store that keeps its roots in files then rewrites a root's file once, with all of the
    // changes or none of them. Reads in between see the changes. Calls in between answer for the
    // change itself; whether it was kept is the answer of commitChanges. A store without files
    // keeps every change as it is made, and both calls succeed.
    virtual Status beginChanges(Root root) {
        (void)root;
        return status::kSuccess;
    }
    virtual Status commitChanges(Root root) {
        (void)root;
        return status::kSuccess;
    }
};

}  // namespace tavrin
