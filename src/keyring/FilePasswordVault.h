#pragma once
// Passwords in a file readable by the user alone, for a desktop where no keyring (Secret Service)
// answers: one line per calendar, its id, '=' and the password in hexadecimal, so that no byte of a
// password can break a line. Written through the atomic writer with mode 0600.
#include <map>
#include <string>

#include "core/calendars/PasswordVault.h"

namespace tavrin {

class FilePasswordVault : public PasswordVault {
  public:
    explicit FilePasswordVault(std::string file);
    // $XDG_DATA_HOME/tavrin/passwords.
    static std::string defaultFile();
    const std::string& file() const { return file_; }

    Result<> store(const std::string& id, const std::string& password) override;
    Result<std::optional<std::string>> read(const std::string& id) override;
    Result<> forget(const std::string& id) override;

  private:
    Result<std::map<std::string, std::string>> load() const;
    Result<> save(const std::map<std::string, std::string>& passwords) const;

    std::string file_;
};

}  // namespace tavrin
