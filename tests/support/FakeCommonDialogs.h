#pragma once
// File-open and colour dialogs that answer from a script and record what they were asked.
#include <deque>
#include <vector>

#include "ui/utilities/QtCommonDialogs.h"

namespace tavrin::test {

class FakeCommonDialogs : public CommonDialogs {
  public:
    FileSelection showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) override {
        openRequests.push_back(request);
        return answer(files, owner, centreOnOwner);
    }
    ColorChoice showColor(QWidget* owner, bool centreOnOwner = true) override {
        ++colourRequests;
        return answer(colours, owner, centreOnOwner);
    }

    FileSelection showSave(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) override {
        saveRequests.push_back(request);
        return answer(saves, owner, centreOnOwner);
    }
    std::deque<FileSelection> files;  // answers to showOpen; a cancel when empty
    std::deque<FileSelection> saves;  // answers to showSave; a cancel when empty
    std::vector<OpenRequest> saveRequests;
    std::deque<ColorChoice> colours;  // answers to showColor; a cancel when empty
    std::vector<OpenRequest> openRequests;
    int colourRequests = 0;
    std::vector<QWidget*> owners;
    std::vector<bool> centred;

  private:
    template <typename Answer>
    Answer answer(std::deque<Answer>& script, QWidget* owner, bool centreOnOwner) {
        owners.push_back(owner);
        centred.push_back(centreOnOwner);
        if (script.empty()) return Answer{};
        Answer next = script.front();
        script.pop_front();
        return next;
    }
};

}  // namespace tavrin::test
