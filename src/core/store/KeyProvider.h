#pragma once
// A read-only tree of keys that the system supplies and the store shows under one of its roots
// (the machine zone, the operating-system version, the zone catalogue). Paths are relative to the
// root and compare without regard to case.
#include <string>
#include <string_view>
#include <vector>

#include "core/store/Store.h"

namespace tavrin {

class KeyProvider {
  public:
    virtual ~KeyProvider() = default;
    // True when the provider supplies a key at `path`.
    virtual bool hasKey(std::string_view path) = 0;
    // The subkeys of `path` in their enumeration order.
    virtual std::vector<std::string> subKeys(std::string_view path) = 0;
    // One value of the key at `path`; false when there is none.
    virtual bool getValue(std::string_view path, std::string_view name, ValueType& type,
                          std::string& data) = 0;
};

}  // namespace tavrin
