#pragma once

#include <string>
#include <string_view>

#include "core/store/MemoryStore.h"
#include "core/store/Store.h"
#include "core/store/StoreAccess.h"

namespace tavrin::test {

// The data of a value as a store gives it, or "<no key>" / "<missing>" when there is none to read.
inline std::string storedValue(Store& store, const KeyHandle& key, std::string_view name) {
    const Result<StoredData> value = readValue(store, key, name);
    return value ? value->data : "<missing>";
}

inline std::string storedValue(Store& store, Root root, std::string_view path, std::string_view name) {
    const Result<KeyHandle> key = openKey(store, root, path);
    return key ? storedValue(store, *key, name) : "<no key>";
}

// A machine string value as the system writes it: its data ends in a NUL.
inline void putSystemValue(MemoryStore& store, const std::string& path, const char* name,
                           const std::string& text) {
    bool created = false;
    store.tree(Root::LocalMachine).create(path, created).setValue(name, ValueType::String, text + '\0');
}

}  // namespace tavrin::test
