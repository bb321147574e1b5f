#pragma once
// A compiled tz database zone (TZif, versions 1 to 3): the UTC instants at which the zone changed its
// local time type, the types, and the closing TZ rule that carries the zone past its last listed
// transition.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/timezones/LocalTimeType.h"
#include "core/timezones/PosixTzRule.h"

namespace tavrin {

class TzFile {
  public:
    // Reads the bytes of a TZif file. Version 2 and later files are read from their 64-bit part.
    // Returns false, with a short reason in `error`, for anything that is not a whole, consistent
    // file; a footer that is present but not a rule the parser knows is kept as text only.
    static bool parse(std::string_view bytes, TzFile& out, std::string& error);
    static bool load(const std::string& path, TzFile& out, std::string& error);
    // A zone that has always kept one local time type.
    static TzFile constant(LocalTimeType type);

    int version() const { return version_; }
    const std::vector<std::int64_t>& transitionTimes() const { return times_; }
    const std::vector<LocalTimeType>& types() const { return types_; }
    const std::string& footerText() const { return footerText_; }
    const std::optional<PosixTzRule>& footer() const { return footer_; }

    // The local time type in force at a UTC instant: from the listed transitions up to the last
    // one, from the footer rule after it.
    LocalTimeType typeAt(std::int64_t utc) const;
    // Every change of local time type at an instant in (from, to], in time order: listed ones and
    // those the footer rule makes after the last listed one.
    std::vector<ZoneTransition> transitionsBetween(std::int64_t from, std::int64_t to) const;

  private:
    static bool parseInto(std::string_view bytes, TzFile& out, std::string& error);

    int version_ = 1;
    std::vector<std::int64_t> times_;
    std::vector<std::uint8_t> typeIndices_;
    std::vector<LocalTimeType> types_;
    std::string footerText_;
    std::optional<PosixTzRule> footer_;
};

}  // namespace tavrin
