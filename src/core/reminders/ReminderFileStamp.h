#pragma once
// What tells one version of the reminder file from another: its identity, size and modification
// time, and a digest of its content (two writes within one tick of the clock can leave the same
// size and time). The table keeps the stamp of the file it last matched, so that a save can tell
// that another program changed the file since, and read it again before changing it.
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

struct ReminderFileStamp {
    bool known = false;  // the table was read from, or written to, the file
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long mtimeSec = 0, mtimeNsec = 0;
    std::size_t digest = 0;  // of the content; 0 for a missing file
    // The file holds what the table could not take (records beyond its slots or without a title, or
    // nothing that reads as a reminder), and no copy of it has been kept aside yet: whichever save
    // comes first keeps one before it rewrites the file. Not part of what tells versions apart.
    bool needsCopy = false;

    friend bool operator==(const ReminderFileStamp&, const ReminderFileStamp&) = default;

    // The stamp of the file at `path` now, whose content is `text` (read or just written).
    static ReminderFileStamp of(const std::string& path, std::string_view text);
    // The stamp of a file that is not there.
    static ReminderFileStamp missing();
    // Whether the file's status (identity, size, time) still matches, without reading it.
    bool statusMatches(const std::string& path) const;
};

}  // namespace tavrin
