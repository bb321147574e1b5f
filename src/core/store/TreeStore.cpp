#include "core/store/TreeStore.h"

#include <unordered_set>
#include <utility>

#include "core/store/KeyNames.h"
#include "core/store/KeyPath.h"

namespace tavrin {
namespace {

std::size_t slot(Root root) {
    return root == Root::LocalMachine ? 0 : 1;
}

}  // namespace

void TreeStore::mount(Root root, std::shared_ptr<KeyProvider> provider) {
    if (provider) providers_[slot(root)].push_back(std::move(provider));
    enumCache_.valid = false;
}

bool TreeStore::isRunKey(std::string_view path) {
    return sameKeyPath(path, kRunKey);
}

bool TreeStore::isRunKeyOrAbove(std::string_view path) {
    return isKeyPathWithin(kRunKey, path);
}

bool TreeStore::providerHasKey(Root root, std::string_view path) {
    for (const auto& p : providers_[slot(root)])
        if (p->hasKey(path)) return true;
    return false;
}

bool TreeStore::keyExists(Root root, std::string_view path) {
    if (splitKeyPath(path).empty() || isRunKeyOrAbove(path)) return true;
    if (readTree(root).find(path)) return true;
    return providerHasKey(root, path);
}

std::vector<std::string> TreeStore::subKeyNames(Root root, std::string_view path) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    auto add = [&](const std::string& name) {
        if (seen.insert(upperAscii(name)).second) names.push_back(name);
    };
    if (const RegKey* key = readTree(root).find(path))
        for (const RegKey& child : key->children()) add(child.name);
    if (isRunKeyOrAbove(path) && !isRunKey(path)) {
        const auto run = splitKeyPath(kRunKey);
        add(std::string(run[splitKeyPath(path).size()]));
    }
    for (const auto& p : providers_[slot(root)])
        for (const std::string& name : p->subKeys(path)) add(name);
    return names;
}

Status TreeStore::OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                          KeyHandle& result) {
    if (!parent.open) return status::kInvalidHandle;
    std::string path = joinKeyPath(parent.path, subPath);
    if (!keyExists(parent.root, path)) {
        // A root that could not be read may well hold the key: that is no first start.
        const Status read = readStatus(parent.root);
        return read != status::kSuccess ? read : status::kNotFound;
    }
    if ((access & kWriteAccessBits) != 0 && !isRunKey(path) && !providerHasKey(parent.root, path) &&
        !rootWritable(parent.root))
        return status::kAccessDenied;
    result = KeyHandle{parent.root, std::move(path), access, true};
    return status::kSuccess;
}

Status TreeStore::CreateKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                            KeyHandle& result, Disposition& disposition) {
    if (!parent.open) return status::kInvalidHandle;
    for (std::string_view name : splitKeyPath(subPath))
        if (!isValidName(name)) return status::kBadArgument;
    const Root root = parent.root;
    std::string path = joinKeyPath(parent.path, subPath);
    if (keyExists(root, path)) {
        const Status s = OpenKey(KeyHandle::rootKey(root), path, access, result);
        if (s == status::kSuccess) disposition = Disposition::OpenedExisting;
        return s;
    }
    if (!rootWritable(root)) return status::kAccessDenied;
    enumCache_.valid = false;
    Disposition made = Disposition::OpenedExisting;
    const Status s = updateTree(root, [&](RegTree& tree, bool& changed) {
        bool created = false;
        tree.create(path, created);
        changed = created;
        made = created ? Disposition::CreatedNew : Disposition::OpenedExisting;
        return status::kSuccess;
    });
    if (s != status::kSuccess) return s;
    disposition = made;
    result = KeyHandle{root, std::move(path), access, true};
    return status::kSuccess;
}

Status TreeStore::QueryValueInfo(const KeyHandle& key, std::string_view name, std::uint32_t& size,
                                 ValueType& type) {
    std::string data;
    const Status s = QueryValueData(key, name, data, type);
    if (s == status::kSuccess) size = static_cast<std::uint32_t>(data.size());
    return s;
}

Status TreeStore::QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                                 ValueType& type) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    for (const auto& p : providers_[slot(key.root)])
        if (p->getValue(key.path, name, type, data)) return status::kSuccess;
    const RegKey* k = readTree(key.root).find(key.path);
    // What was read before a failed read may be out of date: no answer rather than a wrong one.
    if (const Status read = readStatus(key.root); read != status::kSuccess) return read;
    const RegValue* v = k ? k->value(name) : nullptr;
    if (!v) return status::kNotFound;
    data = v->data;
    type = v->type;
    return status::kSuccess;
}

Status TreeStore::SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                           std::string_view data) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    if (key.path.empty() || providerHasKey(key.root, key.path)) return status::kAccessDenied;
    if (!isValidName(name)) return status::kBadArgument;
    if (!rootWritable(key.root)) return status::kAccessDenied;
    const bool alwaysThere = isRunKey(key.path);
    return updateTree(key.root, [&](RegTree& tree, bool& changed) {
        RegKey* k = tree.find(key.path);
        if (!k && !alwaysThere) return status::kNotFound;
        if (!k) {
            bool created = false;
            k = &tree.create(key.path, created);
        }
        const RegValue* old = k->value(name);
        changed = !old || old->type != type || old->data != data;
        k->setValue(name, type, data);
        return status::kSuccess;
    });
}

Status TreeStore::DeleteValue(const KeyHandle& key, std::string_view name) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    if (providerHasKey(key.root, key.path)) return status::kAccessDenied;
    if (!rootWritable(key.root)) return status::kAccessDenied;
    return updateTree(key.root, [&](RegTree& tree, bool& changed) {
        RegKey* k = tree.find(key.path);
        changed = k && k->removeValue(name);
        return changed ? status::kSuccess : status::kNotFound;
    });
}

Status TreeStore::DeleteKey(Root root, std::string_view path) {
    const std::string normal = joinKeyPath("", path);
    if (normal.empty() || providerHasKey(root, normal)) return status::kAccessDenied;
    if (!rootWritable(root)) return status::kAccessDenied;
    enumCache_.valid = false;
    return updateTree(root, [&](RegTree& tree, bool& changed) {
        changed = tree.remove(normal);
        return changed ? status::kSuccess : status::kNotFound;
    });
}

Status TreeStore::EnumKey(const KeyHandle& key, std::uint32_t index, std::string& name) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kEnumerateBit) == 0) return status::kAccessDenied;
    // Callers walk the indexes upwards from 0; the zone catalogue has hundreds of subkeys, so the
    // list is built once per walk rather than once per index.
    std::string upper = upperAscii(key.path);
    const bool sameWalk = enumCache_.valid && index > 0 && enumCache_.root == key.root &&
                          enumCache_.path == upper &&
                          (index == enumCache_.lastIndex + 1 || index == enumCache_.lastIndex);
    if (!sameWalk) {
        if (!keyExists(key.root, key.path)) {
            enumCache_.valid = false;
            return status::kNotFound;
        }
        enumCache_.names = subKeyNames(key.root, key.path);
        enumCache_.root = key.root;
        enumCache_.path = std::move(upper);
        enumCache_.valid = true;
    }
    enumCache_.lastIndex = index;
    if (index >= enumCache_.names.size()) return status::kNoMoreItems;
    name = enumCache_.names[index];
    return status::kSuccess;
}

Status TreeStore::EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    const RegKey* k = readTree(key.root).find(key.path);
    if (!k && !keyExists(key.root, key.path)) return status::kNotFound;
    if (!k || index >= k->values().size()) return status::kNoMoreItems;
    name = k->values()[index].name;
    return status::kSuccess;
}

Status TreeStore::visitValues(const KeyHandle& key, const ValueVisitor& visit) {
    if (!key.open) return status::kInvalidHandle;
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    const RegKey* k = readTree(key.root).find(key.path);
    if (const Status read = readStatus(key.root); read != status::kSuccess) return read;
    if (!k) return keyExists(key.root, key.path) ? status::kSuccess : status::kNotFound;
    // A provider's value wins over a stored one of the same name, as in QueryValueData; asked only
    // where a provider has the key at all.
    const bool provided = providerHasKey(key.root, key.path);
    std::string data;
    ValueType type = ValueType::None;
    for (const RegValue& v : k->values()) {
        bool fromProvider = false;
        if (provided) {
            for (const auto& p : providers_[slot(key.root)])
                if ((fromProvider = p->getValue(key.path, v.name, type, data))) break;
        }
        if (fromProvider) {
            visit(v.name, type, data);
        } else {
            visit(v.name, v.type, v.data);
        }
    }
    return status::kSuccess;
}

Status TreeStore::FlushKey(const KeyHandle& key) {
    // Every change is on disk when its call returns, so there is nothing left to flush.
    return key.open ? status::kSuccess : status::kInvalidHandle;
}

Status TreeStore::CloseKey(KeyHandle& key) {
    if (!key.open) return status::kInvalidHandle;
    key.open = false;
    return status::kSuccess;
}

}  // namespace tavrin
