#include <memory>

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
    if (!args.empty()) {
        err << "tavrinctl: 'zones' takes no arguments\n";
        return 2;
    }
    const SystemClock clock;
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(Paths::fromEnvironment().zoneinfoDir, clock));
    KeyHandle root;
    if (store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kZoneRootNt, kReadAccess, root) !=
        status::kSuccess) {
        err << "tavrinctl: the time-zone catalogue cannot be opened\n";
        return 1;
    }
    std::string name;
    for (std::uint32_t i = 0; store.EnumKey(root, i, name) == status::kSuccess; ++i) {
        const ZoneRecord z = ReadZone(store, kZoneRootNt, name);
        out << escapeText(name) << '\t' << escapeText(z.DisplayText) << '\t' << escapeText(z.StandardName)
            << '\t' << escapeText(z.DaylightName) << '\t' << z.Bias << '\t' << z.DaylightBias << '\t'
            << dateText(z.StandardDate) << '\t' << dateText(z.DaylightDate) << '\n';
    }
    store.CloseKey(root);
    return 0;
}

}  // namespace tavrin::ctl
