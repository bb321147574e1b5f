// tavrinctl sync: which CalDAV calendar holds the reminders (sync setup URL / --off), and one sync of
// the reminder file with it now, as the clock runs it.

#include <cstdlib>
#include <memory>
#include <sstream>

#include "core/calendars/CalendarList.h"
#include "core/calendars/DavAddress.h"
#include "core/reminders/ReminderFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
#include "core/sync/ReminderSync.h"
#include "ctl/Commands.h"
#include "keyring/KeyringVault.h"
#include "platform/CalDavSyncServer.h"
#include "platform/CalendarFetcher.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kUsage =
    "Usage: tavrinctl sync                          sync the reminders with their calendar now\n"
    "       tavrinctl sync setup URL [--user USER]  keep the reminders in the CalDAV calendar at URL\n"
    "       tavrinctl sync setup --off              keep them on this machine alone\n";

struct SyncSession {
    Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    Root root = chooseSettingsRoot(*store).value_or(Root::CurrentUser);
};

// An address in the one form the calendar list keeps (canonical path, ending in "/").
std::string collectionKey(const std::string& address) {
    const auto at = WebAddress::parse(address);
    if (!at) return address;
    WebAddress key = *at;
    key.path = canonicalPath(key.path);
    if (key.path.empty() || key.path.back() != '/') key.path += '/';
    return key.text();
}

Result<> setSyncCalendar(SyncSession& session, const std::string& id) {
    Result<KeyHandle> key = makeSettingsKey(*session.store, session.root);
    if (!key) return key.why();
    return writeText(*session.store, *key, "SyncCalendar", id);
}

int setup(const Args& args, std::ostream& out, std::ostream& err) {
    std::string address, user;
    bool off = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--off") {
            off = true;
        } else if (args[i] == "--user") {
            if (i + 1 >= args.size()) return usageError(err, "--user needs a value", kUsage);
            user = args[++i];
        } else if (args[i].rfind("--", 0) == 0 || !address.empty()) {
            return usageError(err, "'" + args[i] + "' is not understood", kUsage);
        } else {
            address = args[i];
        }
    }
    if (off == !address.empty() || (off && !user.empty()))
        return usageError(err, "'sync setup' takes a calendar's address, or --off", kUsage);
    SyncSession session;
    if (off) {
        if (const Result<> written = setSyncCalendar(session, ""); !written) {
            err << "tavrinctl: the setting cannot be written: " << written.message() << '\n';
            return 1;
        }
        out << "The reminders are kept on this machine alone; the calendar keeps what it holds.\n";
        return 0;
    }
    if (!WebAddress::parse(address))
        return usageError(err, "\"" + address + "\" is not an http or https address", kUsage);
    const std::string password = user.empty() ? std::string() : askPassword(user, err);
    const std::string wanted = collectionKey(address);

    const auto subscribed = [&]() -> Result<std::optional<CalendarSubscription>> {
        Result<std::vector<CalendarSubscription>> list = readCalendarList(*session.store, session.root);
        if (!list) return Failure{"the calendar list cannot be read: " + list.message()};
        for (const CalendarSubscription& c : *list)
            if (c.source == CalendarSource::CalDav && collectionKey(c.address) == wanted)
                return std::optional<CalendarSubscription>(c);
        return std::optional<CalendarSubscription>();
    };
    Result<std::optional<CalendarSubscription>> found = subscribed();
    if (!found) {
        err << "tavrinctl: " << found.message() << '\n';
        return 1;
    }
    if (!*found) {
        // Only a calendar collection itself will do: a server's or a home's address names several.
        const CalendarFetcher fetcher{CalendarCache(session.paths.calendarCacheDir())};
        Result<std::vector<DavCalendar>> calendars = fetcher.discoverCalendars(address, user, password);
        if (!calendars) {
            err << "tavrinctl: " << address << " is no CalDAV calendar: " << calendars.message() << '\n';
            return 1;
        }
        if (calendars->size() != 1 || collectionKey(calendars->front().address) != wanted) {
            err << "tavrinctl: " << address << " is not a calendar but holds";
            for (const DavCalendar& c : *calendars) err << ' ' << c.address;
            err << "; name one of them\n";
            return 1;
        }
        if (!password.empty()) ::setenv("TAVRIN_PASSWORD", password.c_str(), 1);
        Args add = {"add", address};
        if (!user.empty()) add.insert(add.end(), {"--user", user});
        // The add's own report (the first fetch) is not this command's; its warnings are.
        std::ostringstream added;
        (void)cmdCalendarFetch(add, added, err);
        found = subscribed();
        if (!found || !*found) {
            err << "tavrinctl: the calendar at " << address << " could not be added\n";
            return 1;
        }
    } else if (!password.empty()) {
        KeyringVault::ensureApplication();
        KeyringVault vault;
        if (const Result<> kept = vault.store((*found)->id, password); !kept)
            err << "tavrinctl: the password cannot be kept: " << kept.message() << '\n';
    }
    const CalendarSubscription& calendar = **found;
    if (const Result<> written = setSyncCalendar(session, calendar.id); !written) {
        err << "tavrinctl: the setting cannot be written: " << written.message() << '\n';
        return 1;
    }
    out << "The reminders are now kept in the calendar \"" << calendar.name << "\" (" << calendar.address
        << ").\n";
    return 0;
}

int runSync(std::ostream& out, std::ostream& err) {
    SyncSession session;
    const std::string id = syncCalendarId();
    if (id.empty()) {
        err << "tavrinctl: No calendar holds the reminders: choose one with tavrinctl sync setup URL\n";
        return 1;
    }
    Result<std::vector<CalendarSubscription>> list = readCalendarList(*session.store, session.root);
    if (!list) {
        err << "tavrinctl: the calendar list cannot be read: " << list.message() << '\n';
        return 1;
    }
    const CalendarSubscription* calendar = nullptr;
    for (const CalendarSubscription& c : *list)
        if (c.id == id) calendar = &c;
    if (!calendar || calendar->source != CalendarSource::CalDav) {
        err << "tavrinctl: No calendar holds the reminders: the one chosen is no longer subscribed; choose "
               "one with tavrinctl sync setup URL\n";
        return 1;
    }
    std::string password;
    if (!calendar->user.empty()) {
        KeyringVault::ensureApplication();
        KeyringVault vault;
        Result<std::optional<std::string>> kept = vault.read(calendar->id);
        if (!kept) {
            err << "tavrinctl: the password of " << calendar->name << " cannot be read: " << kept.message()
                << '\n';
            return 1;
        }
        password = kept->value_or("");
    }
    const ReminderEventContext context = reminderEventContext(session.paths);

    const std::string file = session.paths.reminderFile();
    ReminderTable table;
    if (const auto read = readReminders(table, file); !read.ok()) {
        err << "tavrinctl: " << read.message() << '\n';
        return 1;
    }
    CalDavSyncServer server(calendar->address, calendar->user, password);
    const Result<SyncReport> synced = syncReminders(table, file, calendar->address, server, context);
    if (!synced) {
        err << "tavrinctl: " << synced.message() << '\n';
        return 1;
    }
    out << "Sent " << synced->sent << ", received " << synced->received << ", removed " << synced->removedHere
        << " here and " << synced->removedThere << " on the server.\n";
    for (const std::string& notice : synced->notices) out << notice << '\n';
    return 0;
}

}  // namespace

std::string syncCalendarId() {
    return storedSetting("SyncCalendar");
}

int cmdSync(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return runSync(out, err);
    if (args[0] == "setup") return setup(args, out, err);
    return usageError(err, "'" + args[0] + "' is not a sync command", kUsage);
}

}  // namespace tavrin::ctl
