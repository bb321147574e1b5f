#include <memory>

#include "core/base/Text.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "ctl/Commands.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {

int cmdSettings(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return usageError(err, "'settings' takes no arguments", "Usage: tavrinctl settings\n");
    const Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    const std::optional<Root> chosen = chooseSettingsRoot(*store);
    if (!chosen) {
        err << "tavrinctl: no settings found; Tavrin has not been set up for this user yet\n";
        return 1;
    }
    const Root root = *chosen;
    out << (root == Root::LocalMachine ? "machine" : "user") << '\n';

    // Read access only: showing the settings must not need, or take, the right to change them.
    KeyHandle key;
    if (store->OpenKey(KeyHandle::rootKey(root), kSettingsKey, kReadAccess, key) != status::kSuccess) {
        err << "tavrinctl: the settings key cannot be read\n";
        return 1;
    }
    // One read of the file for the whole list: asked value by value, a large file was looked at once
    // for every line.
    const Status listed =
        store->visitValues(key, [&out](std::string_view name, ValueType, std::string_view data) {
            out << (name.empty() ? std::string("@") : escapeOnOneLine(name, {.nul = true})) << '='
                << escapeOnOneLine(data, {.nul = true}) << '\n';
        });
    store->CloseKey(key);
    if (listed != status::kSuccess) {
        const std::string why = store->lastFailure();
        err << "tavrinctl: the settings cannot be read" << (why.empty() ? "" : ": " + why) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tavrin::ctl
