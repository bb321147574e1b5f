#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/calendars/CalendarList.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/timezones/ClockService.h"
#include "ctl/Commands.h"
#include "keyring/KeyringVault.h"
#include "platform/CalendarFetcher.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kUsage =
    "Usage: tavrinctl calendars add ADDRESS [--name NAME] [--user USER] [--colour #RRGGBB]\n"
    "       tavrinctl calendars refresh\n";

std::string outcome(const Result<FetchReport>& fetched) {
    if (!fetched) return "failed: " + fetched.message();
    return std::to_string(fetched->events) + (fetched->events == 1 ? " event, " : " events, ") +
           (fetched->changed ? "updated" : "unchanged");
}

struct CalendarSession {
    Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    Root root = chooseSettingsRoot(*store).value_or(Root::CurrentUser);
    CalendarFetcher fetcher{CalendarCache(paths.calendarCacheDir())};
    std::int64_t now = SystemClock().unixMillis() / 1000;
};

int addCalendars(const Args& args, std::ostream& out, std::ostream& err) {
    std::string address, name, user, colour;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string* option = a == "--name"     ? &name
                              : a == "--user"   ? &user
                              : a == "--colour" ? &colour
                                                : nullptr;
        if (option) {
            if (i + 1 >= args.size()) return usageError(err, a + " needs a value", kUsage);
            *option = args[++i];
        } else if (a.rfind("--", 0) == 0 || !address.empty()) {
            return usageError(err, "'" + a + "' is not understood", kUsage);
        } else {
            address = a;
        }
    }
    if (address.empty()) return usageError(err, "'calendars add' needs an address or a file", kUsage);
    std::optional<std::uint32_t> chosenColour;
    if (!colour.empty() && !(chosenColour = davColour(colour)))
        return usageError(err, "\"" + colour + "\" is no colour; write it as #RRGGBB", kUsage);

    CalendarSession session;
    const std::string password = user.empty() ? std::string() : askPassword(user, err);
    std::vector<CalendarSubscription> added;
    // Why an http(s) address that does not look like a feed is no CalDAV address, when it is none.
    std::string notCalDav;
    auto subscription = [&](CalendarSource source, std::string at, std::string shownName) {
        CalendarSubscription c;
        c.source = source;
        c.address = std::move(at);
        c.name = name.empty() ? std::move(shownName) : name;
        c.user = user;
        if (chosenColour) c.colour = *chosenColour;
        return c;
    };
    const bool web = address.find("://") != std::string::npos && address.rfind("file://", 0) != 0;
    if (!web) {
        std::string path = address.rfind("file://", 0) == 0 ? address.substr(7) : address;
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
        if (!ec) path = absolute.lexically_normal().string();
        added.push_back(
            subscription(CalendarSource::File, path, std::filesystem::path(path).stem().string()));
    } else {
        const auto where = WebAddress::parse(address);
        if (!where)
            return usageError(err, "\"" + address + "\" is not a file, nor an http(s) or webcal address",
                              kUsage);
        const bool feed = address.rfind("webcal", 0) == 0 || where->path.find(".ics") != std::string::npos;
        Result<std::vector<DavCalendar>> found =
            feed ? Result<std::vector<DavCalendar>>(Failure{"a feed"})
                 : session.fetcher.discoverCalendars(address, user, password);
        if (!found) {
            if (!feed) notCalDav = found.message();
            const std::string file =
                std::filesystem::path(where->path.substr(0, where->path.find('?'))).stem().string();
            added.push_back(subscription(CalendarSource::Feed, address, file.empty() ? where->host : file));
        } else {
            for (const DavCalendar& c : *found) {
                if (!name.empty() && found->size() > 1 && c.name != name) continue;
                CalendarSubscription s = subscription(CalendarSource::CalDav, c.address, c.name);
                if (!chosenColour && c.colour) s.colour = *c.colour;
                added.push_back(std::move(s));
            }
            if (added.empty()) {
                err << "tavrinctl: the server has no calendar named \"" << name << "\"; it has:";
                for (const DavCalendar& c : *found) err << " \"" << c.name << '"';
                err << '\n';
                return 1;
            }
        }
    }

    Result<std::vector<CalendarSubscription>> list = readCalendarList(*session.store, session.root);
    if (!list) {
        err << "tavrinctl: the calendar list cannot be read: " << list.message() << '\n';
        return 1;
    }
    KeyringVault::ensureApplication();
    KeyringVault vault;
    for (CalendarSubscription& c : added) {
        c.id = newCalendarId(*list);
        list->push_back(c);
    }
    // An address taken for a feed only because it is no CalDAV address is added only when it is one.
    std::optional<Result<FetchReport>> firstFetch;
    if (!notCalDav.empty()) {
        firstFetch = session.fetcher.refresh(added.front(), password, session.now);
        if (!*firstFetch) {
            (void)CalendarCache(session.paths.calendarCacheDir()).remove(added.front().id);
            err << "tavrinctl: " << address << " is no CalDAV calendar (" << notCalDav
                << ") nor a calendar feed (" << firstFetch->message() << "); nothing was added\n";
            return 1;
        }
    }
    if (const Result<> written = writeCalendarList(*session.store, session.root, *list); !written) {
        err << "tavrinctl: the calendar list cannot be written: " << written.message() << '\n';
        return 1;
    }
    int status = 0;
    for (const CalendarSubscription& c : added) {
        if (!password.empty()) {
            const Result<> kept = vault.store(c.id, password);
            if (!kept) {
                err << "tavrinctl: " << c.name << ": " << kept.message() << '\n';
                status = 1;
            } else if (!kept.message().empty()) {
                err << "tavrinctl: " << kept.message() << '\n';
            }
        }
        const Result<FetchReport> fetched =
            firstFetch ? *firstFetch : session.fetcher.refresh(c, password, session.now);
        out << "added " << c.name << " (" << calendarSourceText(c.source) << ", " << c.address
            << "): " << outcome(fetched) << '\n';
        if (!fetched) status = 1;
    }
    return status;
}

int refreshCalendars(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) return usageError(err, "'calendars refresh' takes no arguments", kUsage);
    CalendarSession session;
    Result<std::vector<CalendarSubscription>> list = readCalendarList(*session.store, session.root);
    if (!list) {
        err << "tavrinctl: the calendar list cannot be read: " << list.message() << '\n';
        return 1;
    }
    std::unique_ptr<KeyringVault> vault;
    int status = 0;
    const std::string reminderCalendar = syncCalendarId();  // it holds reminders, no events
    for (const CalendarSubscription& c : *list) {
        if (!c.enabled || c.id == reminderCalendar) continue;
        std::string password;
        if (!c.user.empty()) {
            if (!vault) {
                KeyringVault::ensureApplication();
                vault = std::make_unique<KeyringVault>();
            }
            Result<std::optional<std::string>> kept = vault->read(c.id);
            if (!kept)
                err << "tavrinctl: " << c.name << ": the password cannot be read: " << kept.message() << '\n';
            else
                password = kept->value_or("");
        }
        const Result<FetchReport> fetched = session.fetcher.refresh(c, password, session.now);
        out << c.name << ": " << outcome(fetched) << '\n';
        if (!fetched) status = 1;
    }
    return status;
}

}  // namespace

int cmdCalendarFetch(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args[0] == "add") return addCalendars(args, out, err);
    if (!args.empty() && args[0] == "refresh") return refreshCalendars(args, out, err);
    return usageError(err, "not a calendars command", kUsage);
}

}  // namespace tavrin::ctl
