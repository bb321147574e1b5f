#include <memory>

#include "core/base/Text.h"
#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneRecord.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

std::string dateText(const SystemTime& t) {
    return std::to_string(t.wYear) + "-" + std::to_string(t.wMonth) + "-" + std::to_string(t.wDayOfWeek) +
           "-" + std::to_string(t.wDay) + " " + std::to_string(t.wHour) + ":" + std::to_string(t.wMinute) +
           ":" + std::to_string(t.wSecond);
}

}  // namespace

int cmdZones(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return usageError(err, "'zones' takes no arguments", "Usage: tavrinctl zones\n");
    const std::string folder = Paths::fromEnvironment().zoneinfoDir;
    if (const auto problem = zoneFolderProblem(folder)) {
        err << "tavrinctl: " << *problem << '\n';
        return 1;
    }
    const SystemClock clock;
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(folder, clock));
    KeyHandle root;
    if (store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kZoneRootNt, kReadAccess, root) !=
        status::kSuccess) {
        err << "tavrinctl: the time-zone catalogue cannot be opened\n";
        return 1;
    }
    std::string name;
    for (std::uint32_t i = 0; store.EnumKey(root, i, name) == status::kSuccess; ++i) {
        const ZoneRecord z = readZone(store, kZoneRootNt, name);
        out << escapeOnOneLine(name, {.nul = true}) << '\t' << escapeOnOneLine(z.DisplayText, {.nul = true})
            << '\t' << escapeOnOneLine(z.StandardName, {.nul = true}) << '\t'
            << escapeOnOneLine(z.DaylightName, {.nul = true}) << '\t' << z.Bias << '\t' << z.DaylightBias
            << '\t' << dateText(z.StandardDate) << '\t' << dateText(z.DaylightDate) << '\n';
    }
    store.CloseKey(root);
    return 0;
}

}  // namespace tavrin::ctl
