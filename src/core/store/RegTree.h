#pragma once
// One root of the store held in memory: a tree of keys, each with its values in the order they
// were first written and its subkeys in the order they were first made. Names keep the case they
// were first written with and are looked up without regard to case, through an index by folded
// name, so a key with a hundred thousand values reads as fast as one with ten.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/store/Store.h"

namespace tavrin {

struct RegValue {
    std::string name;  // "" is the unnamed default value
    ValueType type = ValueType::String;
    std::string data;
};

class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(std::string keyName) : name(std::move(keyName)) {}

    std::string name;
    // Made on its own (a header in the file, the last key of a create) rather than only implied
    // by a key below it. Implied keys need no header of their own while they have subkeys.
    bool declared = false;

    // In first-written order.
    const std::vector<RegValue>& values() const { return values_; }
    const std::vector<RegKey>& children() const { return children_; }

    RegKey* child(std::string_view childName);
    const RegKey* child(std::string_view childName) const;
    // The subkey of that name, made (last in order) when there is none; `created` tells which.
    RegKey& childOrNew(std::string_view childName, bool& created);
    bool removeChild(std::string_view childName);

    const RegValue* value(std::string_view valueName) const;
    // Sets a value, keeping the position and name case of an existing one.
    void setValue(std::string_view valueName, ValueType type, std::string_view data);
    bool removeValue(std::string_view valueName);

  private:
    using Index = std::unordered_map<std::string, std::size_t>;  // folded name -> position

    std::vector<RegValue> values_;
    std::vector<RegKey> children_;
    Index valueIndex_;
    Index childIndex_;
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
