#pragma once
// The log of a failure that comes back on every tick while it lasts: written when it first comes and
// when its reason changes, not every time; a success ends it, so a later failure is written again.
#include <QtGlobal>

#include <string>

#include "core/base/Result.h"

namespace tavrin {

class RepeatedFailureLog {
  public:
    void note(const Result<>& outcome) {
        if (outcome.message() == last_) return;
        last_ = outcome.message();
        if (!outcome) qWarning("tavrin: %s", last_.c_str());
    }

  private:
    std::string last_;
};

}  // namespace tavrin
