#include "core/calendars/EventNotices.h"

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "core/base/AtomicFile.h"

namespace tavrin {
namespace {

using AnnouncedSet = std::set<std::tuple<std::string, std::string, std::int64_t, std::int64_t>>;

constexpr std::string_view kFirstLine = "TavrinEvents 1\n";

// Ids and UIDs are any text; a tab, a line end or a '%' in them is written as '%' and two hex digits.
std::string escaped(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        if (c == '\t' || c == '\n' || c == '\r' || c == '%') {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned byte = 0;
        if (i + 2 >= text.size() + 0 ||
            std::from_chars(text.data() + i + 1, text.data() + i + 3, byte, 16).ptr != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

std::optional<std::int64_t> number(std::string_view text) {
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return n;
}

}  // namespace

std::string formatAnnouncedEvents(const AnnouncedSet& announced) {
    std::string out(kFirstLine);
    for (const auto& [calendar, uid, occurrence, trigger] : announced)
        out += std::to_string(trigger) + '\t' + std::to_string(occurrence) + '\t' + escaped(calendar) + '\t' +
               escaped(uid) + '\n';
    return out;
}

Result<AnnouncedSet> parseAnnouncedEvents(std::string_view text) {
    if (text.substr(0, kFirstLine.size()) != kFirstLine) return Failure{"it is no list of announced events"};
    text.remove_prefix(kFirstLine.size());
    AnnouncedSet announced;
    for (int line = 2; !text.empty(); ++line) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) return Failure{"line " + std::to_string(line) + " is cut"};
        std::string_view rest = text.substr(0, end);
        text.remove_prefix(end + 1);
        std::string_view fields[4];
        int count = 0;
        for (; count < 4; ++count) {
            const auto tab = rest.find('\t');
            fields[count] = rest.substr(0, tab);
            if (tab == std::string_view::npos) break;
            rest.remove_prefix(tab + 1);
        }
        const auto trigger = number(fields[0]);
        const auto occurrence = number(fields[1]);
        const auto calendar = unescaped(fields[2]);
        const auto uid = unescaped(fields[3]);
        if (count != 3 || !trigger || !occurrence || !calendar || !uid)
            return Failure{"line " + std::to_string(line) + " cannot be read"};
        announced.emplace(*calendar, *uid, *occurrence, *trigger);
    }
    return announced;
}

EventNotices::EventNotices(std::string announcedFile) : file_(std::move(announcedFile)) {}

Result<> EventNotices::load() {
    const Result<std::string> text = AtomicFile::read(file_);
    if (!text) {
        if (text.osError() != ENOENT) return text.why();
        loaded_ = true;
        return {};
    }
    Result<AnnouncedSet> announced = parseAnnouncedEvents(*text);
    if (!announced)
        return Failure{"the list of announced events " + file_ + " is damaged: " + announced.message()};
    announced_.insert(announced->begin(), announced->end());
    loaded_ = true;
    return {};
}

Result<> EventNotices::save(std::int64_t now) {
    std::erase_if(announced_, [&](const Key& k) { return std::get<3>(k) < now - kCatchUpSeconds - 86400; });
    AtomicFile::WriteOptions options;
    options.makeFolders = true;
    return AtomicFile::write(file_, formatAnnouncedEvents(announced_), options);
}

EventNoticeCheck EventNotices::check(const std::vector<CalendarEvent>& events, std::int64_t now,
                                     int noticeMinutes, const EventZones& zones) {
    EventNoticeCheck result;
    // The instants after `after`, up to now, are due.
    std::int64_t after = now - (now % 60 + 60) % 60 - 1;
    if (lastChecked_) {
        if (now <= *lastChecked_ && *lastChecked_ - now <= kCatchUpSeconds) return result;
        if (now > *lastChecked_) after = std::max(*lastChecked_, now - kCatchUpSeconds);
    }
    lastChecked_ = now;
    // A file that cannot be read is read again at each check; until then what is announced is kept in
    // memory only, and the file is not replaced by what this run alone knows.
    Result<> loaded = loaded_ ? Result<>{} : load();

    for (const CalendarEvent& e : events) {
        std::vector<std::int64_t> triggers = e.alarms;
        if (noticeMinutes > 0 && !e.allDay) triggers.push_back(e.start - std::int64_t{noticeMinutes} * 60);
        std::sort(triggers.begin(), triggers.end());
        triggers.erase(std::unique(triggers.begin(), triggers.end()), triggers.end());
        for (std::int64_t trigger : triggers) {
            if (trigger <= after || trigger > now) continue;
            if (!announced_.emplace(e.calendarId, e.uid, e.occurrenceKey, trigger).second) continue;
            EventNotice notice{e, trigger, e.title, {eventTimeText(e, zones)}};
            if (!e.location.empty()) notice.lines.push_back(e.location);
            result.notices.push_back(std::move(notice));
        }
    }
    std::stable_sort(result.notices.begin(), result.notices.end(),
                     [](const EventNotice& a, const EventNotice& b) { return a.trigger < b.trigger; });
    if (!result.notices.empty()) result.save = loaded ? save(now) : loaded;
    return result;
}

}  // namespace tavrin
