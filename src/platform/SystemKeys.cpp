#include "platform/SystemKeys.h"

#include <sys/utsname.h>

#include <utility>

#include "core/base/AtomicFile.h"
#include "core/settings/Settings.h"
#include "core/store/KeyPath.h"
#include "core/timezones/MachineZone.h"

namespace tavrin {
namespace {

// Every key this provider has, parents before children.
const std::vector<std::string>& keyPaths() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> all;
        for (const char* leaf : {kTimeZoneInformationKey, kNtCurrentVersionKey}) {
            std::string path;
            for (std::string_view name : splitKeyPath(leaf)) {
                path = joinKeyPath(path, name);
                all.push_back(path);
            }
        }
        return all;
    }();
    return paths;
}

std::string withTerminator(std::string text) {
    text.push_back('\0');
    return text;
}

}  // namespace

SystemKeys::SystemKeys(Sources sources) : sources_(std::move(sources)) {}

std::shared_ptr<SystemKeys> SystemKeys::forMachine(const std::string& zoneinfoDir) {
    Sources sources;
    sources.machineZone = [zoneinfoDir] { return machineZoneId(zoneinfoDir); };
    sources.uname = [](std::string& release, std::string& version) {
        struct utsname u {};
        if (::uname(&u) != 0) return;
        release = u.release;
        version = u.version;
    };
    return std::make_shared<SystemKeys>(std::move(sources));
}

bool SystemKeys::hasKey(std::string_view path) {
    for (const std::string& p : keyPaths())
        if (sameKeyPath(p, path)) return true;
    return false;
}

std::vector<std::string> SystemKeys::subKeys(std::string_view path) {
    const std::size_t depth = splitKeyPath(path).size();
    std::vector<std::string> names;
    for (const std::string& p : keyPaths()) {
        const auto parts = splitKeyPath(p);
        if (parts.size() != depth + 1) continue;
        if (!sameKeyPath(p.substr(0, p.size() - parts.back().size()), path)) continue;
        bool seen = false;
        for (const std::string& n : names) seen = seen || equalsNoCase(n, parts.back());
        if (!seen) names.emplace_back(parts.back());
    }
    return names;
}

bool SystemKeys::getValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) {
    if (sameKeyPath(path, kTimeZoneInformationKey)) {
        if (!equalsNoCase(name, "StandardName")) return false;
        data = withTerminator(sources_.machineZone ? sources_.machineZone() : std::string());
        type = ValueType::String;
        return true;
    }
    if (!sameKeyPath(path, kNtCurrentVersionKey)) return false;
    loadVersion();
    const std::pair<const char*, const std::string*> values[] = {{"ProductName", &productName_},
                                                                 {"CurrentVersion", &version_},
                                                                 {"CurrentBuildNumber", &build_},
                                                                 {"CSDVersion", &servicePack_}};
    for (const auto& [valueName, text] : values)
        if (equalsNoCase(name, valueName)) {
            data = withTerminator(*text);
            type = ValueType::String;
            return true;
        }
    return false;
}

void SystemKeys::loadVersion() {
    if (versionLoaded_) return;
    versionLoaded_ = true;
    // A system without os-release has no product name or version to give: the values stay empty.
    Result<std::string> read =
        AtomicFile::read(sources_.osReleasePath.empty() ? "/etc/os-release" : sources_.osReleasePath);
    if (!read && sources_.osReleasePath.empty()) read = AtomicFile::read("/usr/lib/os-release");
    const std::string text = read.valueOr({});
    productName_ = osReleaseField(text, "PRETTY_NAME");
    if (productName_.empty()) productName_ = osReleaseField(text, "NAME");
    version_ = osReleaseField(text, "VERSION_ID");
    if (sources_.uname) sources_.uname(build_, servicePack_);
}

std::string SystemKeys::osReleaseField(std::string_view text, std::string_view key) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        const auto eq = line.find('=');
        if (eq == std::string_view::npos || line.substr(0, eq) != key) continue;
        std::string_view value = line.substr(eq + 1);
        std::string out;
        if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
            const char quote = value.front();
            for (std::size_t i = 1; i < value.size() && value[i] != quote; ++i) {
                if (quote == '"' && value[i] == '\\' && i + 1 < value.size()) ++i;
                out += value[i];
            }
        } else {
            out = value;
        }
        return out;
    }
    return {};
}

}  // namespace tavrin
