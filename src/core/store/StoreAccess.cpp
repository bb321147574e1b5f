#include "core/store/StoreAccess.h"

namespace tavrin {
namespace {

// Size query, then a read of the data. Should the value change between the two (another program
// writing), the data read is returned whole rather than cut to the older length.
Status readValue(Store& store, std::string_view name, const KeyHandle& key, std::string& text) {
    std::uint32_t size = 0;
    ValueType type = ValueType::None;
    Status s = store.QueryValueInfo(key, name, size, type);
    if (s != status::kSuccess) return s;
    text.assign(size, '\0');
    s = store.QueryValueData(key, name, text, type);
    if (s != status::kSuccess) text.clear();
    return s;
}

}  // namespace

std::string QueryValue(Store& store, std::string_view name, Status& result, const KeyHandle& key,
                       std::string_view defaultText) {
    std::string text;
    result = readValue(store, name, key, text);
    // Only a value read as missing gets its default; a read that failed says nothing about it.
    if (result == status::kNotFound && !defaultText.empty()) {
        result = store.SetValue(key, name, ValueType::String, defaultText);
        if (result == status::kSuccess) result = readValue(store, name, key, text);
    }
    store.FlushKey(key);
    if (result != status::kSuccess) text.clear();
    return text;
}

std::string ReadMachineValue(Store& store, std::string_view path, std::string_view name) {
    KeyHandle key;
    std::string data;
    Status s = store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), path, kAllAccess, key);
    if (s == status::kSuccess) {
        s = readValue(store, name, key, data);
        store.CloseKey(key);
    }
    // Callers strip the final blank, so even an unreadable value must end in one.
    if (s != status::kSuccess || data.empty()) return " ";
    data.back() = ' ';
    return data;
}

}  // namespace tavrin
