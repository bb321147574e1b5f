#include "keyring/FilePasswordVault.h"

#include <cerrno>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/state/Paths.h"

namespace tavrin {
namespace {

std::string hex(const std::string& text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::optional<std::string> unhex(std::string_view text) {
    if (text.size() % 2) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const auto high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
        if (!high || !low) return std::nullopt;
        out += static_cast<char>(*high * 16 + *low);
    }
    return out;
}

}  // namespace

FilePasswordVault::FilePasswordVault(std::string file) : file_(std::move(file)) {}

std::string FilePasswordVault::defaultFile() {
    return Paths::fromEnvironment().dataHome + "/tavrin/passwords";
}

Result<std::map<std::string, std::string>> FilePasswordVault::load() const {
    std::map<std::string, std::string> passwords;
    Result<std::string> text = AtomicFile::read(file_);
    if (!text) {
        if (text.osError() == ENOENT) return passwords;
        return text.why();
    }
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || equals == std::string_view::npos) continue;
        if (auto password = unhex(line.substr(equals + 1)))
            passwords[std::string(line.substr(0, equals))] = std::move(*password);
    }
    return passwords;
}

Result<> FilePasswordVault::save(const std::map<std::string, std::string>& passwords) const {
    std::string text;
    for (const auto& [id, password] : passwords) text += id + "=" + hex(password) + "\n";
    AtomicFile::WriteOptions options;
    options.mode = 0600;
    options.makeFolders = true;
    return AtomicFile::write(file_, text, options);
}

Result<> FilePasswordVault::store(const std::string& id, const std::string& password) {
    auto passwords = load();
    if (!passwords) return passwords.why();
    (*passwords)[id] = password;
    return save(*passwords);
}

Result<std::optional<std::string>> FilePasswordVault::read(const std::string& id) {
    auto passwords = load();
    if (!passwords) return passwords.why();
    const auto hit = passwords->find(id);
    if (hit == passwords->end()) return std::optional<std::string>();
    return std::optional<std::string>(hit->second);
}

Result<> FilePasswordVault::forget(const std::string& id) {
    auto passwords = load();
    if (!passwords) return passwords.why();
    if (passwords->erase(id) == 0) return {};
    return save(*passwords);
}

}  // namespace tavrin
