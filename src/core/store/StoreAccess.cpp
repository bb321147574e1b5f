#include "core/store/StoreAccess.h"

#include <utility>

#include "core/store/KeyNames.h"

namespace tavrin {
namespace {

// Runs one primitive with no account of an earlier failure left over, so that a reason given for
// this call is this call's own.
template <class Call>
Result<> attempt(Store& store, Root root, std::string_view what, Call call) {
    store.takeFailure();
    const Status s = call();
    if (s != status::kSuccess) return storeFailure(store, s, root, what);
    return {};
}

std::string valueWhat(std::string_view name) {
    return "value \"" + std::string(name) + "\"";
}

// Size query, then a read of the data. Should the value change between the two (another program
// writing), the data read is returned whole rather than cut to the older length.
Status querySized(Store& store, const KeyHandle& key, std::string_view name, StoredData& value) {
    std::uint32_t size = 0;
    const Status s = store.QueryValueInfo(key, name, size, value.type);
    if (s != status::kSuccess) return s;
    value.data.assign(size, '\0');
    return store.QueryValueData(key, name, value.data, value.type);
}

Result<StoredData> readSized(Store& store, const KeyHandle& key, std::string_view name) {
    StoredData value;
    if (Result<> read =
            attempt(store, key.root, valueWhat(name), [&] { return querySized(store, key, name, value); });
        !read)
        return read.why();
    return value;
}

}  // namespace

Failure storeFailure(Store& store, Status status, Root root, std::string_view what) {
    // The store's own account names the file and the system's reason: it says the most.
    if (std::string detail = store.takeFailure(); !detail.empty()) return {std::move(detail)};
    const std::string the = "the " + std::string(what);
    switch (status) {
        case status::kAccessDenied:
            return {root == Root::LocalMachine
                        ? the + " of everyone on this computer can be changed only by an administrator"
                        : "you have no permission to change " + the};
        case status::kNotFound:
            return {"there is no " + std::string(what)};
        case status::kWriteFailed:
            return {the + " could not be written (the disk may be full, or its folder read-only)"};
        case status::kReadFailed:
            return {the + " could not be read"};
        default:
            return {the + " answered with error " + std::to_string(status)};
    }
}

Result<KeyHandle> openKey(Store& store, const KeyHandle& parent, std::string_view path,
                          std::uint32_t access) {
    KeyHandle key;
    if (Result<> opened = attempt(store, parent.root, "key \"" + std::string(path) + "\"",
                                  [&] { return store.OpenKey(parent, path, access, key); });
        !opened)
        return opened.why();
    return key;
}

Result<KeyHandle> openKey(Store& store, Root root, std::string_view path, std::uint32_t access) {
    return openKey(store, KeyHandle::rootKey(root), path, access);
}

Result<KeyHandle> makeKey(Store& store, const KeyHandle& parent, std::string_view path) {
    KeyHandle key;
    Disposition disposition = Disposition::None;
    if (Result<> made = attempt(store, parent.root, "key \"" + std::string(path) + "\"",
                                [&] { return store.CreateKey(parent, path, kAllAccess, key, disposition); });
        !made)
        return made.why();
    return key;
}

Result<> keyReadable(Store& store, Root root, std::string_view path) {
    store.takeFailure();
    KeyHandle key;
    const Status s = store.OpenKey(KeyHandle::rootKey(root), path, kReadAccess, key);
    if (s == status::kReadFailed) return storeFailure(store, s, root, "key \"" + std::string(path) + "\"");
    return {};
}

Result<KeyHandle> makeSettingsKey(Store& store, Root root) {
    KeyHandle maker;
    Disposition disposition = Disposition::None;
    if (Result<> made = attempt(store, root, "settings",
                                [&] {
                                    return store.CreateKey(KeyHandle::rootKey(root), kMakerKey, kAllAccess,
                                                           maker, disposition);
                                });
        !made)
        return made.why();
    if (disposition == Disposition::CreatedNew)
        if (Result<> named = writeText(store, maker, "", "Quillon"); !named) return named.why();
    KeyHandle settings;
    if (Result<> made =
            attempt(store, root, "settings",
                    [&] { return store.CreateKey(maker, "TAVRIN", kAllAccess, settings, disposition); });
        !made)
        return made.why();
    return settings;
}

Result<StoredData> readValue(Store& store, const KeyHandle& key, std::string_view name) {
    StoredData value;
    if (Result<> read = attempt(store, key.root, valueWhat(name),
                                [&] { return store.QueryValueData(key, name, value.data, value.type); });
        !read)
        return read.why();
    return value;
}

Result<std::string> readText(Store& store, const KeyHandle& key, std::string_view name,
                             std::string_view defaultText) {
    store.takeFailure();
    StoredData value;
    Status s = querySized(store, key, name, value);
    // Only a value read as missing gets its default; a read that failed says nothing about it.
    if (s == status::kNotFound && !defaultText.empty()) {
        s = store.SetValue(key, name, ValueType::String, defaultText);
        if (s == status::kSuccess) s = querySized(store, key, name, value);
    }
    if (s != status::kSuccess) return storeFailure(store, s, key.root, valueWhat(name));
    return std::move(value.data);
}

Result<std::string> readMachineValue(Store& store, std::string_view path, std::string_view name) {
    const Result<KeyHandle> key = openKey(store, Root::LocalMachine, path, kAllAccess);
    if (!key) return key.why();
    Result<StoredData> read = readSized(store, *key, name);
    if (!read) return read.why();
    std::string text = std::move(read->data);
    if (text.empty()) return Failure{"the " + valueWhat(name) + " is empty"};
    text.back() = ' ';
    return text;
}

Result<> writeText(Store& store, const KeyHandle& key, std::string_view name, std::string_view text) {
    return attempt(store, key.root, valueWhat(name),
                   [&] { return store.SetValue(key, name, ValueType::String, text); });
}

Result<> deleteValue(Store& store, const KeyHandle& key, std::string_view name) {
    store.takeFailure();
    const Status s = store.DeleteValue(key, name);
    if (s == status::kSuccess || s == status::kNotFound) return {};
    return storeFailure(store, s, key.root, valueWhat(name));
}

Result<> deleteKey(Store& store, Root root, std::string_view path) {
    return attempt(store, root, "key \"" + std::string(path) + "\"",
                   [&] { return store.DeleteKey(root, path); });
}

namespace {

Result<std::vector<std::string>> names(Store& store, const KeyHandle& key,
                                       Status (Store::*enumerate)(const KeyHandle&, std::uint32_t,
                                                                  std::string&)) {
    store.takeFailure();
    std::vector<std::string> found;
    std::string name;
    Status s = status::kSuccess;
    for (std::uint32_t i = 0; (s = (store.*enumerate)(key, i, name)) == status::kSuccess; ++i)
        found.push_back(name);
    if (s != status::kNoMoreItems) return storeFailure(store, s, key.root, "key \"" + key.path + "\"");
    return found;
}

}  // namespace

Result<std::vector<std::string>> subKeyNames(Store& store, const KeyHandle& key) {
    return names(store, key, &Store::EnumKey);
}

Result<std::vector<std::string>> valueNames(Store& store, const KeyHandle& key) {
    return names(store, key, &Store::EnumValue);
}

Result<> visitValues(Store& store, const KeyHandle& key, const Store::ValueVisitor& visit) {
    return attempt(store, key.root, "key \"" + key.path + "\"",
                   [&] { return store.visitValues(key, visit); });
}

}  // namespace tavrin
