#include <memory>

#include "core/base/Text.h"
#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/MemoryStore.h"
#include "core/store/StoreAccess.h"
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
    if (const Result<> readable = zoneFolderReadable(folder); !readable) {
        err << "tavrinctl: " << readable.message() << '\n';
        return 1;
    }
    const SystemClock clock;
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(folder, clock));
    const Result<KeyHandle> root = openKey(store, Root::LocalMachine, kZoneRootNt);
    const Result<std::vector<std::string>> names =
        root ? subKeyNames(store, *root) : Result<std::vector<std::string>>(root.why());
    if (!names) {
        err << "tavrinctl: the time-zone catalogue cannot be opened: " << names.message() << '\n';
        return 1;
    }
    for (const std::string& name : *names) {
        // A zone that holds nothing is listed with its fields empty.
        const ZoneRecord z = readZone(store, kZoneRootNt, name).valueOr({});
        out << escapeOnOneLine(name, {.nul = true}) << '\t' << escapeOnOneLine(z.DisplayText, {.nul = true})
            << '\t' << escapeOnOneLine(z.StandardName, {.nul = true}) << '\t'
            << escapeOnOneLine(z.DaylightName, {.nul = true}) << '\t' << z.Bias << '\t' << z.DaylightBias
            << '\t' << dateText(z.StandardDate) << '\t' << dateText(z.DaylightDate) << '\n';
    }
    return 0;
}

}  // namespace tavrin::ctl
