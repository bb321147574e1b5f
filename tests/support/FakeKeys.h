#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/store/KeyPath.h"
#include "core/store/KeyProvider.h"

namespace tavrin::test {

// A read-only key tree to mount under a store root, as the system's keys are. Keys list their
// subkeys in the order they were added, with the case they were first added in.
class FakeKeys : public KeyProvider {
  public:
    // Adds the key at `path` and every key above it; with a `name`, also that string value.
    FakeKeys& add(std::string_view path, std::string_view name = {}, std::string_view data = {}) {
        std::string parent;
        for (std::string_view part : splitKeyPath(path)) {
            const std::string child = joinKeyPath(parent, part);
            if (keys_.count(upperAscii(child)) == 0) keys_[upperAscii(parent)].children.emplace_back(part);
            keys_[upperAscii(child)];
            parent = child;
        }
        if (!name.empty()) keys_[upperAscii(parent)].values[upperAscii(name)] = data;
        return *this;
    }

    bool hasKey(std::string_view path) override {
        return !path.empty() && keys_.count(upperAscii(path)) != 0;
    }
    std::vector<std::string> subKeys(std::string_view path) override {
        ++subKeyCalls;
        const auto key = keys_.find(upperAscii(path));
        return key == keys_.end() ? std::vector<std::string>{} : key->second.children;
    }
    bool getValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) override {
        const auto key = keys_.find(upperAscii(path));
        if (key == keys_.end()) return false;
        const auto value = key->second.values.find(upperAscii(name));
        if (value == key->second.values.end()) return false;
        type = ValueType::String;
        data = value->second;
        return true;
    }

    int subKeyCalls = 0;

  private:
    struct Key {
        std::vector<std::string> children;
        std::map<std::string, std::string> values;  // by upper-case name
    };
    std::map<std::string, Key> keys_;  // by upper-case path; "" is the root
};

}  // namespace tavrin::test
