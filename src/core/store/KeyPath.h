#pragma once
// Key paths and value names compare without regard to ASCII case; bytes of 0x80 and above are
// 8-bit text and compare as they are. A path is its names joined by backslashes.
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Text.h"

namespace tavrin {

// The names of `path`; empty names (doubled, leading or trailing backslashes) are skipped.
std::vector<std::string_view> splitKeyPath(std::string_view path);
// True when `path` names `ancestor` or a key below it (`ancestor` "" is the root), ignoring case.
bool isKeyPathWithin(std::string_view path, std::string_view ancestor);
// True when the two paths name the same key, ignoring case and stray backslashes.
bool sameKeyPath(std::string_view a, std::string_view b);
// `parent` and `child` joined into one normalised path.
std::string joinKeyPath(std::string_view parent, std::string_view child);
// True when every byte of `name` can stand in a key or value name (no control bytes).
bool isValidName(std::string_view name);

}  // namespace tavrin
