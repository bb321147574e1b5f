#include "core/store/RegTree.h"

#include "core/store/KeyPath.h"

namespace tavrin {
namespace {

template <typename Item>
Item* lookUp(std::vector<Item>& items, const std::unordered_map<std::string, std::size_t>& index,
             std::string_view name) {
    const auto it = index.find(upperAscii(name));
    return it == index.end() ? nullptr : &items[it->second];
}

// Takes the item out of the list and moves the positions of those after it down by one.
template <typename Item>
bool erase(std::vector<Item>& items, std::unordered_map<std::string, std::size_t>& index,
           std::string_view name) {
    const auto it = index.find(upperAscii(name));
    if (it == index.end()) return false;
    const std::size_t at = it->second;
    index.erase(it);
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [folded, position] : index)
        if (position > at) --position;
    return true;
}

}  // namespace

RegKey* RegKey::child(std::string_view childName) {
    return lookUp(children_, childIndex_, childName);
}

const RegKey* RegKey::child(std::string_view childName) const {
    return const_cast<RegKey*>(this)->child(childName);
}

RegKey& RegKey::childOrNew(std::string_view childName, bool& created) {
    const auto [it, added] = childIndex_.try_emplace(upperAscii(childName), children_.size());
    created = added;
    if (added) children_.emplace_back(std::string(childName));
    return children_[it->second];
}

bool RegKey::removeChild(std::string_view childName) {
    return erase(children_, childIndex_, childName);
}

const RegValue* RegKey::value(std::string_view valueName) const {
    const auto it = valueIndex_.find(upperAscii(valueName));
    return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

void RegKey::setValue(std::string_view valueName, ValueType type, std::string_view data) {
    const auto [it, added] = valueIndex_.try_emplace(upperAscii(valueName), values_.size());
    if (added) {
        values_.push_back(RegValue{std::string(valueName), type, std::string(data)});
        return;
    }
    RegValue& v = values_[it->second];
    v.type = type;
    v.data.assign(data);
}

bool RegKey::removeValue(std::string_view valueName) {
    return erase(values_, valueIndex_, valueName);
}

RegKey* RegTree::find(std::string_view path) {
    RegKey* key = &root_;
    for (std::string_view name : splitKeyPath(path)) {
        key = key->child(name);
        if (!key) return nullptr;
    }
    return key;
}

const RegKey* RegTree::find(std::string_view path) const {
    return const_cast<RegTree*>(this)->find(path);
}

RegKey& RegTree::create(std::string_view path, bool& created) {
    created = false;
    RegKey* key = &root_;
    for (std::string_view name : splitKeyPath(path)) key = &key->childOrNew(name, created);
    if (key != &root_) key->declared = true;
    return *key;
}

bool RegTree::remove(std::string_view path) {
    const auto names = splitKeyPath(path);
    if (names.empty()) return false;
    RegKey* parent = &root_;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        parent = parent->child(names[i]);
        if (!parent) return false;
    }
    return parent->removeChild(names.back());
}

bool RegTree::operator==(const RegTree& other) const {
    return root_ == other.root_;
}

bool operator==(const RegValue& a, const RegValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool operator==(const RegKey& a, const RegKey& b) {
    return a.name == b.name && a.values() == b.values() && a.children() == b.children();
}

}  // namespace tavrin
