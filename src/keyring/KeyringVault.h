#pragma once
// Calendar passwords in the desktop's keyring (the Secret Service, through QtKeychain), and where no
// keyring answers, in the file vault, with a note saying so. QtKeychain answers asynchronously: each
// call waits for it in a local event loop, so it needs a QCoreApplication (see ensureApplication).
#include <string>

#include "core/calendars/PasswordVault.h"
#include "keyring/FilePasswordVault.h"

namespace tavrin {

class KeyringVault : public PasswordVault {
  public:
    explicit KeyringVault(std::string fallbackFile = FilePasswordVault::defaultFile());
    // Makes the application object a local event loop needs, for a program that has none (tavrinctl);
    // it lives as long as the process.
    static void ensureApplication();

    Result<> store(const std::string& id, const std::string& password) override;
    Result<std::optional<std::string>> read(const std::string& id) override;
    Result<> forget(const std::string& id) override;

  private:
    FilePasswordVault fallback_;
};

}  // namespace tavrin
