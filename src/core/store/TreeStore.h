#pragma once
// The store's rules over two in-memory key trees, shared by the file store and the in-memory store:
// case-insensitive names, read-only roots, mounted system key providers, the Run key that always
// exists. Subclasses say where a root's tree comes from and how a change is kept.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/store/KeyProvider.h"
#include "core/store/RegTree.h"
#include "core/store/Store.h"

namespace tavrin {

// The access bits that change something: set value, create subkey, create link.
inline constexpr std::uint32_t kWriteAccessBits = 0x2 | 0x4 | 0x20;
inline constexpr std::uint32_t kQueryValueBit = 0x1;
inline constexpr std::uint32_t kSetValueBit = 0x2;
inline constexpr std::uint32_t kEnumerateBit = 0x8;

class TreeStore : public Store {
  public:
    // Shows the provider's read-only keys under `root`, after the keys of earlier providers.
    void mount(Root root, std::shared_ptr<KeyProvider> provider);

    Status OpenKey(const KeyHandle& parent, std::string_view subPath, std::uint32_t access,
                   KeyHandle& result) override;
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
    // Stored values only: providers have no list of their values.
    Status EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) override;
    Status visitValues(const KeyHandle& key, const ValueVisitor& visit) override;
    Status FlushKey(const KeyHandle& key) override;
    Status CloseKey(KeyHandle& key) override;
    bool canWrite(Root root) override { return rootWritable(root); }

  protected:
    // A change to one root's tree: returns its status and sets `changed` when there is anything to keep.
    // A change that fails leaves the tree as it was.
    using TreeChange = std::function<Status(RegTree& tree, bool& changed)>;

    // The root's current tree; valid until the next call on the store.
    virtual const RegTree& readTree(Root root) = 0;
    // Applies `change` to the newest tree of the root and keeps the result when it changed something.
    virtual Status updateTree(Root root, const TreeChange& change) = 0;
    // Whether the user may change the root at all.
    virtual bool rootWritable(Root root) = 0;
    // kSuccess, or why the root's stored keys could not be read just now (after readTree).
    virtual Status readStatus(Root root) {
        (void)root;
        return status::kSuccess;
    }

    // True for the Run key itself (it always exists and opens with any access).
    static bool isRunKey(std::string_view path);
    // True for the Run key and the keys above it.
    static bool isRunKeyOrAbove(std::string_view path);
    bool providerHasKey(Root root, std::string_view path);

  private:
    struct EnumCache {
        bool valid = false;
        Root root = Root::CurrentUser;
        std::string path;  // uppercased
        std::uint32_t lastIndex = 0;
        std::vector<std::string> names;
    };

    bool keyExists(Root root, std::string_view path);
    std::vector<std::string> subKeyNames(Root root, std::string_view path);

    std::vector<std::shared_ptr<KeyProvider>> providers_[2];
    EnumCache enumCache_;
};

}  // namespace tavrin
