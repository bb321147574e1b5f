#include "platform/ProviderStore.h"

namespace tavrin {
namespace {

std::string joinPath(std::string_view parent, std::string_view sub) {
    if (parent.empty()) return std::string(sub);
    if (sub.empty()) return std::string(parent);
    return std::string(parent) + "\\" + std::string(sub);
}

}  // namespace

Status ProviderStore::OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                              KeyHandle& result) {
    if (!parent.open) return status::kInvalidHandle;
    const std::string path = joinPath(parent.path, subPath);
    if (parent.root != root_ || !provider_->HasKey(path)) return status::kNotFound;
    result = KeyHandle{parent.root, path, access, true};
    return status::kSuccess;
}

Status ProviderStore::CreateKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                                KeyHandle& result, Disposition& disposition) {
    const Status s = OpenKey(parent, subPath, access, result);
    disposition = s == status::kSuccess ? Disposition::OpenedExisting : Disposition::None;
    return s == status::kNotFound ? status::kAccessDenied : s;
}

Status ProviderStore::QueryValueInfo(const KeyHandle& key, std::string_view name, std::uint32_t& size,
                                     ValueType& type) {
    std::string data;
    const Status s = QueryValueData(key, name, data, type);
    if (s == status::kSuccess) size = static_cast<std::uint32_t>(data.size());
    return s;
}

Status ProviderStore::QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                                     ValueType& type) {
    if (!key.open) return status::kInvalidHandle;
    if (key.root != root_ || !provider_->GetValue(key.path, name, type, data)) return status::kNotFound;
    return status::kSuccess;
}

Status ProviderStore::SetValue(const KeyHandle& key, std::string_view, ValueType, std::string_view) {
    return key.open ? status::kAccessDenied : status::kInvalidHandle;
}

Status ProviderStore::DeleteValue(const KeyHandle& key, std::string_view) {
    return key.open ? status::kAccessDenied : status::kInvalidHandle;
}

Status ProviderStore::DeleteKey(Root, std::string_view) {
    return status::kAccessDenied;
}

Status ProviderStore::EnumKey(const KeyHandle& key, std::uint32_t index, std::string& name) {
    if (!key.open) return status::kInvalidHandle;
    if (key.root != root_) return status::kNoMoreItems;
    if (index == 0 || !haveListed_ || listedPath_ != key.path) {
        listed_ = provider_->SubKeys(key.path);
        listedPath_ = key.path;
        haveListed_ = true;
    }
    if (index >= listed_.size()) return status::kNoMoreItems;
    name = listed_[index];
    return status::kSuccess;
}

Status ProviderStore::EnumValue(const KeyHandle& key, std::uint32_t, std::string&) {
    return key.open ? status::kNoMoreItems : status::kInvalidHandle;
}

Status ProviderStore::FlushKey(const KeyHandle& key) {
    return key.open ? status::kSuccess : status::kInvalidHandle;
}

Status ProviderStore::CloseKey(KeyHandle& key) {
    if (!key.open) return status::kInvalidHandle;
    key.open = false;
    return status::kSuccess;
}

}  // namespace tavrin
