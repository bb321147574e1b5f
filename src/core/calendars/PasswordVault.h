#pragma once
// Where calendar passwords are kept, by calendar id: never in the settings store. The program's vault
// is the desktop's keyring; a test's or a tool's may be anything that keeps them out of plain sight.
#include <optional>
#include <string>

#include "core/base/Result.h"

namespace tavrin {

class PasswordVault {
  public:
    virtual ~PasswordVault() = default;
    // Keeps `password` for the calendar `id`. A success may carry a note the user should read (where
    // the password went when the keyring did not answer).
    virtual Result<> store(const std::string& id, const std::string& password) = 0;
    // The calendar's password; nothing when none is kept.
    virtual Result<std::optional<std::string>> read(const std::string& id) = 0;
    // Forgets the calendar's password; forgetting one never kept is no failure.
    virtual Result<> forget(const std::string& id) = 0;
};

}  // namespace tavrin
