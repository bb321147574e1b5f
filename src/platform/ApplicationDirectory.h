#pragma once
// The application directory: where the program's shipped files (the Images folder) are found.
#include <string>

#include "core/base/Result.h"

namespace tavrin {

// The folder of the running executable (from /proc/self/exe).
Result<std::string> executableDirectory();

// The executable's folder when an Images folder sits beside it (a build tree or an unpacked copy);
// otherwise the installed share/tavrin beside the executable's bin folder when that has one; otherwise
// the executable's folder, so missing pictures are looked for where a user would put them.
std::string applicationDirectory(const std::string& executableDir);
Result<std::string> applicationDirectory();

}  // namespace tavrin
