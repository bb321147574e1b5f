#include "core/store/RegTree.h"

#include "core/store/KeyPath.h"

namespace tavrin {

RegKey* RegKey::child(std::string_view childName) {
    for (RegKey& c : children)
        if (EqualsNoCase(c.name, childName)) return &c;
    return nullptr;
}

const RegKey* RegKey::child(std::string_view childName) const {
    return const_cast<RegKey*>(this)->child(childName);
}

const RegValue* RegKey::value(std::string_view valueName) const {
    for (const RegValue& v : values)
        if (EqualsNoCase(v.name, valueName)) return &v;
    return nullptr;
}

void RegKey::setValue(std::string_view valueName, ValueType type, std::string_view data) {
    for (RegValue& v : values)
        if (EqualsNoCase(v.name, valueName)) {
            v.type = type;
            v.data.assign(data);
            return;
        }
    values.push_back(RegValue{std::string(valueName), type, std::string(data)});
}

bool RegKey::removeValue(std::string_view valueName) {
    for (auto it = values.begin(); it != values.end(); ++it)
        if (EqualsNoCase(it->name, valueName)) {
            values.erase(it);
            return true;
        }
    return false;
}

RegKey* RegTree::find(std::string_view path) {
    RegKey* key = &root_;
    for (std::string_view name : SplitKeyPath(path)) {
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
    for (std::string_view name : SplitKeyPath(path)) {
        RegKey* next = key->child(name);
        if (!next) {
            key->children.push_back(RegKey{std::string(name), false, {}, {}});
            next = &key->children.back();
            created = true;
        } else {
            created = false;
        }
        key = next;
    }
    if (key != &root_) key->declared = true;
    return *key;
}

bool RegTree::remove(std::string_view path) {
    const auto names = SplitKeyPath(path);
    if (names.empty()) return false;
    RegKey* parent = &root_;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        parent = parent->child(names[i]);
        if (!parent) return false;
    }
    for (auto it = parent->children.begin(); it != parent->children.end(); ++it)
        if (EqualsNoCase(it->name, names.back())) {
            parent->children.erase(it);
            return true;
        }
    return false;
}

bool RegTree::operator==(const RegTree& other) const {
    return root_ == other.root_;
}

bool operator==(const RegValue& a, const RegValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool operator==(const RegKey& a, const RegKey& b) {
    return a.name == b.name && a.values == b.values && a.children == b.children;
}

}  // namespace tavrin
