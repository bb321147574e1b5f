#include <memory>

#include "core/base/Text.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
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
    const Result<KeyHandle> key = openKey(*store, root, kSettingsKey);
    if (!key) {
        err << "tavrinctl: the settings key cannot be read: " << key.message() << '\n';
        return 1;
    }
    // One read of the file for the whole list: asked value by value, a large file was looked at once
    // for every line.
    const Result<> listed =
        visitValues(*store, *key, [&out](std::string_view name, ValueType, std::string_view data) {
            out << (name.empty() ? std::string("@") : escapeOnOneLine(name, {.nul = true})) << '='
                << escapeOnOneLine(data, {.nul = true}) << '\n';
        });
    if (!listed) {
        err << "tavrinctl: the settings cannot be read: " << listed.message() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tavrin::ctl
