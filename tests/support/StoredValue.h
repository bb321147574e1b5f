#pragma once

#include <string>
#include <string_view>

#include "core/store/MemoryStore.h"
#include "core/store/Store.h"

namespace tavrin::test {

// The data of a value as a store gives it, or "<no key>" / "<missing>" when there is none to read.
inline std::string storedValue(Store& store, const KeyHandle& key, std::string_view name) {
    std::string data;
    ValueType type = ValueType::None;
    return store.QueryValueData(key, name, data, type) == status::kSuccess ? data : "<missing>";
}

inline std::string storedValue(Store& store, Root root, std::string_view path, std::string_view name) {
    KeyHandle key;
    if (store.OpenKey(KeyHandle::rootKey(root), path, kReadAccess, key) != status::kSuccess)
        return "<no key>";
    std::string data = storedValue(store, key, name);
    store.CloseKey(key);
    return data;
}

// A machine string value as the system writes it: its data ends in a NUL.
inline void putSystemValue(MemoryStore& store, const std::string& path, const char* name,
                           const std::string& text) {
    bool created = false;
    store.tree(Root::LocalMachine).create(path, created).setValue(name, ValueType::String, text + '\0');
}

}  // namespace tavrin::test
