#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/store/KeyPath.h"
#include "core/store/KeyProvider.h"

namespace tavrin::testing {

// A read-only key tree to mount under a store root, as the system's keys are. Keys list their
// subkeys in the order they were added, with the case they were first added in.
class FakeKeys : public KeyProvider {
  public:
    // Adds the key at `path` and every key above it; with a `name`, also that string value.
    FakeKeys& add(std::string_view path, std::string_view name = {}, std::string_view data = {}) {
        std::string parent;
        for (std::string_view part : SplitKeyPath(path)) {
            const std::string child = JoinKeyPath(parent, part);
            if (keys_.count(UpperAscii(child)) == 0) keys_[UpperAscii(parent)].children.emplace_back(part);
            keys_[UpperAscii(child)];
            parent = child;
        }
        if (!name.empty()) keys_[UpperAscii(parent)].values[UpperAscii(name)] = data;
        return *this;
    }

    bool HasKey(std::string_view path) override {
        return !path.empty() && keys_.count(UpperAscii(path)) != 0;
    }
    std::vector<std::string> SubKeys(std::string_view path) override {
        ++subKeyCalls;
        const auto key = keys_.find(UpperAscii(path));
        return key == keys_.end() ? std::vector<std::string>{} : key->second.children;
    }
    bool GetValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) override {
        const auto key = keys_.find(UpperAscii(path));
        if (key == keys_.end()) return false;
        const auto value = key->second.values.find(UpperAscii(name));
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

}  // namespace tavrin::testing
