#pragma once
// A shell that records what it was asked to open or start, and answers as told.
#include <string>
#include <vector>

#include "core/state/Shell.h"

namespace tavrin::test {

class RecordingShell : public Shell {
  public:
    Result<> openLink(const std::string& url) override {
        links.push_back(url);
        return answer;
    }
    Result<> startDateTimeSettings() override {
        ++dateTimeStarts;
        return answer;
    }

    std::vector<std::string> links;
    int dateTimeStarts = 0;
    Result<> answer;  // what every request comes back with
};

}  // namespace tavrin::test
