#include "core/timezones/TzFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/timezones/DateTime.h"

namespace tavrin {
namespace {

struct Header {
    char version = 0;
    std::uint32_t isutcnt = 0, isstdcnt = 0, leapcnt = 0, timecnt = 0, typecnt = 0, charcnt = 0;
};

constexpr std::size_t kHeaderSize = 44;

std::uint32_t be32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::int64_t be64(std::string_view b, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < 8; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return static_cast<std::int64_t>(v);
}

bool readHeader(std::string_view b, std::size_t at, Header& h) {
    if (b.size() < at + kHeaderSize || b.substr(at, 4) != "TZif") return false;
    h.version = b[at + 4];
    h.isutcnt = be32(b, at + 20);
    h.isstdcnt = be32(b, at + 24);
    h.leapcnt = be32(b, at + 28);
    h.timecnt = be32(b, at + 32);
    h.typecnt = be32(b, at + 36);
    h.charcnt = be32(b, at + 40);
    return true;
}

// Size of the data block after a header, or nothing when its counts do not describe a block that
// fits in the `left` bytes after the header. Every count is checked before anything is read or
// reserved, so no header can make the reader run past the end or ask for memory it will not fill.
// The 32-bit block of a newer file is only skipped, and writers may leave it without types.
std::optional<std::size_t> blockSize(const Header& h, std::size_t timeSize, std::size_t left, bool used) {
    if (used && (h.typecnt == 0 || h.charcnt == 0)) return std::nullopt;
    if ((h.isutcnt != 0 && h.isutcnt != h.typecnt) || (h.isstdcnt != 0 && h.isstdcnt != h.typecnt))
        return std::nullopt;
    // A type index is one byte; beyond these no real file goes, and the sum below cannot overflow.
    constexpr std::uint32_t kLimit = 1u << 24;
    if (h.timecnt > kLimit || h.typecnt > 256 || h.charcnt > kLimit || h.leapcnt > kLimit)
        return std::nullopt;
    const std::size_t size = std::size_t{h.timecnt} * (timeSize + 1) + std::size_t{h.typecnt} * 6 +
                             h.charcnt + std::size_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt;
    if (size > left) return std::nullopt;
    return size;
}

}  // namespace

bool TzFile::parse(std::string_view bytes, TzFile& out, std::string& error) {
    // A file refused half-way leaves nothing half-read behind.
    TzFile read;
    if (!parseInto(bytes, read, error)) {
        out = TzFile{};
        return false;
    }
    out = std::move(read);
    return true;
}

bool TzFile::parseInto(std::string_view b, TzFile& out, std::string& error) {
    Header h;
    if (!readHeader(b, 0, h)) {
        error = "not a TZif file";
        return false;
    }
    // '\0' marks version 1; '1' is no version any writer uses, but a file that carries it and is
    // whole otherwise reads as version 1 too.
    out.version_ = h.version == '\0' ? 1 : h.version - '0';
    if (out.version_ < 1 || out.version_ > 9) {
        error = "unknown TZif version";
        return false;
    }
    const bool versionOne = out.version_ == 1;
    std::optional<std::size_t> size = blockSize(h, 4, b.size() - kHeaderSize, versionOne);
    if (!size) {
        error = "truncated or inconsistent version 1 data";
        return false;
    }
    std::size_t at = kHeaderSize;
    std::size_t timeSize = 4;
    if (!versionOne) {
        // The 64-bit part follows the 32-bit one and supersedes it.
        at = kHeaderSize + *size;
        if (!readHeader(b, at, h)) {
            error = "missing 64-bit header";
            return false;
        }
        at += kHeaderSize;
        size = blockSize(h, 8, b.size() - at, true);
        if (!size) {
            error = "truncated or inconsistent 64-bit data";
            return false;
        }
        timeSize = 8;
    }
    out.times_.reserve(h.timecnt);
    for (std::uint32_t i = 0; i < h.timecnt; ++i, at += timeSize)
        out.times_.push_back(timeSize == 8 ? be64(b, at) : static_cast<std::int32_t>(be32(b, at)));
    for (std::size_t i = 1; i < out.times_.size(); ++i)
        if (out.times_[i] <= out.times_[i - 1]) {
            error = "transition times out of order";
            return false;
        }
    for (std::uint32_t i = 0; i < h.timecnt; ++i) {
        const auto idx = static_cast<std::uint8_t>(b[at++]);
        if (idx >= h.typecnt) {
            error = "transition names a missing type";
            return false;
        }
        out.typeIndices_.push_back(idx);
    }
    const std::string_view chars = b.substr(at + std::size_t{h.typecnt} * 6, h.charcnt);
    for (std::uint32_t i = 0; i < h.typecnt; ++i, at += 6) {
        LocalTimeType t;
        t.utcOffset = static_cast<std::int32_t>(be32(b, at));
        t.isDst = b[at + 4] != 0;
        const auto desig = static_cast<unsigned char>(b[at + 5]);
        // The offset -2^31 cannot be negated, and no zone is a whole day away from UTC.
        if (t.utcOffset <= -86400 || t.utcOffset >= 86400 || desig >= chars.size()) {
            error = "bad local time type";
            return false;
        }
        const auto rest = chars.substr(desig);
        t.abbreviation = std::string(rest.substr(0, rest.find('\0')));
        out.types_.push_back(std::move(t));
    }
    at += h.charcnt + std::size_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt;

    if (out.version_ >= 2 && at < b.size()) {
        // "\n" TZ-string "\n"; an empty string means the zone has no rule beyond its table.
        if (b[at] != '\n') {
            error = "bad footer";
            return false;
        }
        const auto close = b.find('\n', at + 1);
        if (close == std::string_view::npos) {
            error = "unterminated footer";
            return false;
        }
        out.footerText_ = std::string(b.substr(at + 1, close - at - 1));
        PosixTzRule rule;
        std::string ignored;
        if (!out.footerText_.empty() && parsePosixTz(out.footerText_, rule, ignored)) out.footer_ = rule;
    }
    return true;
}

bool TzFile::load(const std::string& path, TzFile& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parse(bytes, out, error);
}

TzFile TzFile::constant(LocalTimeType type) {
    TzFile f;
    f.types_.push_back(std::move(type));
    return f;
}

LocalTimeType TzFile::typeAt(std::int64_t utc) const {
    // From the table's last transition on, the footer rules (as the C library reads these files).
    if (footer_ && (times_.empty() || utc >= times_.back())) return footer_->typeAt(utc);
    if (types_.empty()) return LocalTimeType{};  // a file that failed to read: plain UTC
    const auto it = std::upper_bound(times_.begin(), times_.end(), utc);
    if (it == times_.begin()) return types_.front();
    return types_[typeIndices_[static_cast<std::size_t>(it - times_.begin() - 1)]];
}

std::vector<ZoneTransition> TzFile::transitionsBetween(std::int64_t from, std::int64_t to) const {
    std::vector<ZoneTransition> out;
    for (auto it = std::upper_bound(times_.begin(), times_.end(), from); it != times_.end() && *it <= to;
         ++it)
        out.push_back({*it, typeAt(*it)});
    if (!footer_ || !footer_->hasDst) return out;
    const std::int64_t after = times_.empty() ? from : std::max(from, times_.back());
    if (after >= to) return out;
    const int firstYear = DateTime::fromUnix(after).year() - 1;
    const int lastYear = DateTime::fromUnix(to).year() + 1;
    for (int y = firstYear; y <= lastYear; ++y)
        for (const auto& t : footer_->transitionsInYear(y))
            if (t.at > after && t.at <= to) out.push_back(t);
    return out;
}

}  // namespace tavrin
