#pragma once
// The store as the rest of the program uses it: open and make keys, read and write values, list
// and delete them. Every call answers with a Result whose reason the user can read; the status
// numbers of the primitives stay behind this edge.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/store/Store.h"

namespace tavrin {

// A value's bytes and type, as stored.
struct StoredData {
    ValueType type = ValueType::None;
    std::string data;
};

// The reason for a primitive's failing `status`: what was read or changed (`what`, e.g. "the value
// \"DateFormat\"") and why, with the store's own account of a file it could not read or write.
Failure storeFailure(Store& store, Status status, Root root, std::string_view what);

// Opens `path` below `parent` (a root key or an open key).
Result<KeyHandle> openKey(Store& store, const KeyHandle& parent, std::string_view path,
                          std::uint32_t access = kReadAccess);
Result<KeyHandle> openKey(Store& store, Root root, std::string_view path, std::uint32_t access = kReadAccess);

// Opens `path` below `parent`, making it, and any key missing above it, when it is not there yet.
Result<KeyHandle> makeKey(Store& store, const KeyHandle& parent, std::string_view path);

// A failure only for a key that is there but cannot be read (its file cannot be read); a key that is
// not there is no failure.
Result<> keyReadable(Store& store, Root root, std::string_view path);

// Opens the program's settings key under `root`, making it, and the maker's key above it, when it is
// not there yet; a maker's key made now gets the maker's name as its unnamed value.
Result<KeyHandle> makeSettingsKey(Store& store, Root root);

// The value's bytes and type; a missing value is a failure too.
Result<StoredData> readValue(Store& store, const KeyHandle& key, std::string_view name);

// The string value `name`, whole: a stored terminator stays as the last character. When it is
// missing and `defaultText` is not empty, the default is written first and read back.
Result<std::string> readText(Store& store, const KeyHandle& key, std::string_view name,
                             std::string_view defaultText = {});

// A value under the machine root as the program shows it: its data less the last character (the
// terminator of a system-written string) followed by one blank. A value that is empty counts as
// one that cannot be read.
Result<std::string> readMachineValue(Store& store, std::string_view path, std::string_view name);

// Writes the string value `name`, replacing what was there.
Result<> writeText(Store& store, const KeyHandle& key, std::string_view name, std::string_view text);

// Deletes the value `name`; a value that is not there is no failure, as none is what was asked for.
Result<> deleteValue(Store& store, const KeyHandle& key, std::string_view name);

// Deletes the key at `path` under `root` with everything below it.
Result<> deleteKey(Store& store, Root root, std::string_view path);

// The names of the key's subkeys, in their enumeration order.
Result<std::vector<std::string>> subKeyNames(Store& store, const KeyHandle& key);
// The names of the key's values, in stored order ("" is the unnamed default).
Result<std::vector<std::string>> valueNames(Store& store, const KeyHandle& key);
// Every value of the key, as Store::visitValues hands them out.
Result<> visitValues(Store& store, const KeyHandle& key, const Store::ValueVisitor& visit);

}  // namespace tavrin
