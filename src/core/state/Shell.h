#pragma once
// The desktop's shell: opens links and mails in the programs the desktop has for them and starts
// other programs, without waiting for any of them.
#include <string>

#include "core/base/Result.h"

namespace tavrin {

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a web link, or a mailto: link in the mail program.
    virtual Result<> openLink(const std::string& url) = 0;
    // Starts the desktop's own date and time settings.
    virtual Result<> startDateTimeSettings() = 0;
};

}  // namespace tavrin
