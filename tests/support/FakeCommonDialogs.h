#pragma once
// File-open and colour dialogs that answer from a script and record what they were asked.
#include <deque>
#include <vector>

#include "ui/utilities/QtCommonDialogs.h"

namespace tavrin::test {

class FakeCommonDialogs : public CommonDialogs {
  public:
    FileSelection ShowOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) override {
        openRequests.push_back(request);
        owners.push_back(owner);
        centred.push_back(centreOnOwner);
        if (files.empty()) return FileSelection{};
        FileSelection next = files.front();
        files.pop_front();
        return next;
    }
    ColorChoice ShowColor(QWidget* owner, bool centreOnOwner = true) override {
        ++colourRequests;
        owners.push_back(owner);
        centred.push_back(centreOnOwner);
        if (colours.empty()) return ColorChoice{};
        ColorChoice next = colours.front();
        colours.pop_front();
        return next;
    }

    std::deque<FileSelection> files;  // answers to ShowOpen; a cancel when empty
    std::deque<ColorChoice> colours;  // answers to ShowColor; a cancel when empty
    std::vector<OpenRequest> openRequests;
    int colourRequests = 0;
    std::vector<QWidget*> owners;
    std::vector<bool> centred;
};

}  // namespace tavrin::test
