#pragma once
// Just enough of a store for reading zone records: keys are paths under the machine-wide root,
// each with named string or binary values. Nothing can be written.
#include <map>
#include <string>

#include "settings/Store.h"

namespace tavrin::test {

class ZoneOnlyStore final : public Store {
  public:
    std::map<std::string, std::map<std::string, std::string>> keys;

    Status OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                   KeyHandle& result) override {
        const std::string path(subPath);
        if (parent.root != Root::LocalMachine || !keys.count(path)) return status::kNotFound;
        result = KeyHandle{Root::LocalMachine, path, access, true};
        return status::kSuccess;
    }
    Status CreateKey(const KeyHandle&, std::string_view, std::uint32_t, KeyHandle&, Disposition&) override {
        return status::kAccessDenied;
    }
    Status QueryValueInfo(const KeyHandle& key, std::string_view name, std::uint32_t& size,
                          ValueType& type) override {
        std::string data;
        const Status s = QueryValueData(key, name, data, type);
        size = static_cast<std::uint32_t>(data.size());
        return s;
    }
    Status QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                          ValueType& type) override {
        const auto k = keys.find(key.path);
        if (k == keys.end()) return status::kInvalidHandle;
        const auto v = k->second.find(std::string(name));
        if (v == k->second.end()) return status::kNotFound;
        data = v->second;
        type = name == "TZI" ? ValueType::Binary : ValueType::String;
        return status::kSuccess;
    }
    Status SetValue(const KeyHandle&, std::string_view, ValueType, std::string_view) override {
        return status::kAccessDenied;
    }
    Status DeleteValue(const KeyHandle&, std::string_view) override { return status::kAccessDenied; }
    Status DeleteKey(Root, std::string_view) override { return status::kAccessDenied; }
    Status EnumKey(const KeyHandle&, std::uint32_t, std::string&) override { return status::kNoMoreItems; }
    Status EnumValue(const KeyHandle&, std::uint32_t, std::string&) override { return status::kNoMoreItems; }
    Status FlushKey(const KeyHandle&) override { return status::kSuccess; }
    Status CloseKey(KeyHandle& key) override {
        key.open = false;
        return status::kSuccess;
    }
};

}  // namespace tavrin::test
