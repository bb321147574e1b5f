#pragma once
// The two shared reading routines over the store primitives.
#include <string>
#include <string_view>

#include "core/store/Store.h"

namespace tavrin {

// Reads the string value `name` of the open `key`, whole: a stored terminator stays as the last
// character. When the value is missing and `defaultText` is not empty, writes the default first and
// reads it back. `result` is the status of the last read (or of the failed write); the text is empty
// when nothing could be read.
std::string QueryValue(Store& store, std::string_view name, Status& result, const KeyHandle& key,
                       std::string_view defaultText);

// Reads a value of a key under the machine root: its data less the last character (the terminator of
// a system-written string) followed by one blank. A key or value that cannot be read gives " ".
std::string ReadMachineValue(Store& store, std::string_view path, std::string_view name);

}  // namespace tavrin
