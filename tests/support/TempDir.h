#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tavrin::test {

// A fresh folder under /tmp for one test, removed with everything in it when the test ends. Tests that
// take away write or search permission inside it still get cleaned up: permissions are given back first.
class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "tavrin-test") {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder from " + pattern);
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        unlock(path_);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    // A folder must be writable and searchable before what is inside it can be removed.
    static void unlock(const std::filesystem::path& folder) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
                unlock(entry.path());
            }
        }
    }

    std::string path_;
};

}  // namespace tavrin::test
