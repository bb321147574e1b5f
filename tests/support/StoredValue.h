#pragma once

#include <string>
#include <string_view>

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

}  // namespace tavrin::test
