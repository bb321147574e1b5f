#pragma once
// A read-only store that shows one key provider under one root: enough for the command-line tool and
// for tests to read the zone catalogue exactly as the program does, through ReadZone.
#include <memory>
#include <string>
#include <vector>

#include "settings/KeyProvider.h"
#include "settings/Store.h"

namespace tavrin {

class ProviderStore final : public Store {
  public:
    ProviderStore(std::shared_ptr<KeyProvider> provider, Root root = Root::LocalMachine)
        : provider_(std::move(provider)), root_(root) {}

    Status OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                   KeyHandle& result) override;
    // Opens an existing key; the provider cannot make new ones.
    Status CreateKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                     KeyHandle& result, Disposition& disposition) override;
    Status QueryValueInfo(const KeyHandle& key, std::string_view name, std::uint32_t& size,
                          ValueType& type) override;
    Status QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                          ValueType& type) override;
    Status SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                    std::string_view data) override;
    Status DeleteValue(const KeyHandle& key, std::string_view name) override;
    Status DeleteKey(Root root, std::string_view path) override;
    Status EnumKey(const KeyHandle& key, std::uint32_t index, std::string& name) override;
    // Providers do not list their values: every index is past the end.
    Status EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) override;
    Status FlushKey(const KeyHandle& key) override;
    Status CloseKey(KeyHandle& key) override;

  private:
    std::shared_ptr<KeyProvider> provider_;
    Root root_;
    // The last key listed, so that walking a key by index does not ask the provider every time.
    std::string listedPath_;
    std::vector<std::string> listed_;
    bool haveListed_ = false;
};

}  // namespace tavrin
