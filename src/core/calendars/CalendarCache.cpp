#include "core/calendars/CalendarCache.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "core/base/AtomicFile.h"
#include "core/calendars/CalendarList.h"

namespace tavrin {
namespace {

// The file is a first line naming the format, then records of one tag letter, a blank, the length of
// the record's bytes in decimal, a line end, the bytes and a line end. Lengths rather than escapes
// keep any text, line ends and all, as the server sent it, and make a cut or changed file show.
constexpr std::string_view kFirstLine = "TavrinCalendarCache 1\n";

void put(std::string& out, char tag, std::string_view bytes) {
    out += tag;
    out += ' ';
    out += std::to_string(bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

class RecordReader {
  public:
    explicit RecordReader(std::string_view text) : rest_(text) {}
    bool atEnd() const { return rest_.empty(); }

    // The next record's tag and bytes; a failure says what is wrong where.
    Result<std::pair<char, std::string_view>> next() {
        const auto line = rest_.find('\n');
        if (rest_.size() < 3 || rest_[1] != ' ' || line == std::string_view::npos)
            return Failure{"a record is cut or has no length"};
        std::size_t size = 0;
        const char* first = rest_.data() + 2;
        const char* last = rest_.data() + line;
        const auto [end, error] = std::from_chars(first, last, size);
        if (error != std::errc{} || end != last) return Failure{"a record's length is no number"};
        if (rest_.size() - line - 1 < size + 1 || rest_[line + 1 + size] != '\n')
            return Failure{"a record is shorter than its length says"};
        const std::pair<char, std::string_view> record{rest_[0], rest_.substr(line + 1, size)};
        rest_.remove_prefix(line + 2 + size);
        return record;
    }

  private:
    std::string_view rest_;
};

Result<std::int64_t> number(std::string_view text) {
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc{} || end != text.data() + text.size()) return Failure{"a time is no number"};
    return n;
}

}  // namespace

CalendarCache::CalendarCache(std::string folder) : folder_(std::move(folder)) {}

std::string CalendarCache::fileOf(const std::string& id) const {
    return folder_ + "/" + id + ".cache";
}

std::string formatCachedCalendar(const CachedCalendar& calendar) {
    std::string out(kFirstLine);
    put(out, 'T', calendar.collectionTag);
    put(out, 'F', std::to_string(calendar.fetchedAt));
    put(out, 'L', calendar.lastFailure);
    put(out, 'A', std::to_string(calendar.failedAt));
    for (const auto& [address, resource] : calendar.resources) {
        put(out, 'H', address);
        put(out, 'E', resource.etag);
        put(out, 'I', resource.icsText);
    }
    return out;
}

Result<CachedCalendar> parseCachedCalendar(std::string_view text) {
    if (text.substr(0, kFirstLine.size()) != kFirstLine) return Failure{"it is no calendar cache"};
    RecordReader reader(text.substr(kFirstLine.size()));
    CachedCalendar calendar;
    std::string* etag = nullptr;
    std::string* ics = nullptr;
    while (!reader.atEnd()) {
        const auto record = reader.next();
        if (!record) return record.why();
        const auto [tag, bytes] = *record;
        Result<std::int64_t> when = std::int64_t{0};
        switch (tag) {
            case 'T':
                calendar.collectionTag = bytes;
                break;
            case 'F':
                if (!(when = number(bytes))) return when.why();
                calendar.fetchedAt = *when;
                break;
            case 'L':
                calendar.lastFailure = bytes;
                break;
            case 'A':
                if (!(when = number(bytes))) return when.why();
                calendar.failedAt = *when;
                break;
            case 'H': {
                if (etag || ics) return Failure{"a resource is cut"};
                CachedResource& resource = calendar.resources[std::string(bytes)];
                etag = &resource.etag;
                ics = &resource.icsText;
                break;
            }
            case 'E':
                if (!etag) return Failure{"a tag has no resource"};
                *etag = bytes;
                etag = nullptr;
                break;
            case 'I':
                if (!ics || etag) return Failure{"a text has no resource"};
                *ics = bytes;
                ics = nullptr;
                break;
            default:
                return Failure{std::string("a record has the unknown tag '") + tag + "'"};
        }
    }
    if (etag || ics) return Failure{"a resource is cut"};
    return calendar;
}

Result<CachedCalendar> CalendarCache::read(const std::string& id) const {
    if (!isCalendarId(id)) return Failure{"\"" + id + "\" is no calendar id"};
    const std::string path = fileOf(id);
    Result<std::string> text = AtomicFile::read(path);
    if (!text) {
        if (text.osError() == ENOENT) return CachedCalendar{};
        return text.why();
    }
    Result<CachedCalendar> calendar = parseCachedCalendar(*text);
    if (!calendar) return Failure{"the calendar cache " + path + " is damaged: " + calendar.message()};
    return calendar;
}

Result<> CalendarCache::write(const std::string& id, const CachedCalendar& calendar) const {
    if (!isCalendarId(id)) return Failure{"\"" + id + "\" is no calendar id"};
    AtomicFile::WriteOptions options;
    options.makeFolders = true;
    return AtomicFile::write(fileOf(id), formatCachedCalendar(calendar), options);
}

Result<> CalendarCache::recordFailure(const std::string& id, const std::string& reason,
                                      std::int64_t at) const {
    Result<CachedCalendar> calendar = read(id);
    if (!calendar) return calendar.why();
    calendar->lastFailure = reason;
    calendar->failedAt = at;
    return write(id, *calendar);
}

Result<> CalendarCache::remove(const std::string& id) const {
    if (!isCalendarId(id)) return Failure{"\"" + id + "\" is no calendar id"};
    const std::string path = fileOf(id);
    if (std::remove(path.c_str()) != 0 && errno != ENOENT)
        return Failure{"cannot remove " + path + ": " + std::strerror(errno), errno};
    AtomicFile::syncFolder(folder_);
    return {};
}

}  // namespace tavrin
