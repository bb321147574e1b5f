#pragma once
// A password vault that answers every calendar with the one password a test's server wants.
#include <optional>
#include <string>
#include <utility>

#include "core/calendars/PasswordVault.h"

namespace tavrin::test {

struct OnePasswordVault final : PasswordVault {
    explicit OnePasswordVault(std::string password) : password_(std::move(password)) {}
    Result<> store(const std::string&, const std::string&) override { return Result<>::success(); }
    Result<std::optional<std::string>> read(const std::string&) override {
        return std::optional<std::string>(password_);
    }
    Result<> forget(const std::string&) override { return Result<>::success(); }

  private:
    std::string password_;
};

}  // namespace tavrin::test
