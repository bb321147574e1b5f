#pragma once
// One root of the store held in memory: a tree of keys, each with its values in the order they
// were first written and its subkeys in the order they were first made. Names keep the case they
// were first written with and are looked up without regard to case.
#include <string>
#include <string_view>
#include <vector>

#include "core/store/Store.h"

namespace tavrin {

struct RegValue {
    std::string name;  // "" is the unnamed default value
    ValueType type = ValueType::String;
    std::string data;
};

struct RegKey {
    std::string name;
    // Made on its own (a header in the file, the last key of a create) rather than only implied
    // by a key below it. Implied keys need no header of their own while they have subkeys.
    bool declared = false;
    std::vector<RegValue> values;
    std::vector<RegKey> children;

    RegKey* child(std::string_view childName);
    const RegKey* child(std::string_view childName) const;
    const RegValue* value(std::string_view valueName) const;
    // Sets a value, keeping the position and name case of an existing one.
    void setValue(std::string_view valueName, ValueType type, std::string_view data);
    bool removeValue(std::string_view valueName);
};

class RegTree {
  public:
    RegKey& root() { return root_; }
    const RegKey& root() const { return root_; }

    RegKey* find(std::string_view path);
    const RegKey* find(std::string_view path) const;
    // Finds or makes the key at `path` and every key above it; `created` tells whether the last
    // key is new. The last key is marked declared.
    RegKey& create(std::string_view path, bool& created);
    // Removes the key at `path` with everything below it; false when there is none.
    bool remove(std::string_view path);

    bool operator==(const RegTree& other) const;

  private:
    RegKey root_;
};

bool operator==(const RegKey& a, const RegKey& b);
bool operator==(const RegValue& a, const RegValue& b);

}  // namespace tavrin
