#pragma once
// The shell on this desktop: links through the desktop's URL handlers, programs started detached.
#include "core/state/Shell.h"

namespace tavrin {

class QtShell : public Shell {
  public:
    Result<> openLink(const std::string& url) override;
    Result<> startDateTimeSettings() override;
};

}  // namespace tavrin
