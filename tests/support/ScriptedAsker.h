#pragma once
// An asker that records every question and message and answers from a script (Yes when it runs out).
#include <deque>
#include <string>
#include <vector>

#include "core/state/Asker.h"

namespace tavrin::test {

class ScriptedAsker : public Asker {
  public:
    struct Asked {
        std::string title;
        std::string text;
        MessageIcon icon = MessageIcon::None;
        bool question = false;
        friend bool operator==(const Asked&, const Asked&) = default;
    };

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override {
        asked.push_back({title, text, icon, true});
        if (answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void tell(const std::string& title, const std::string& text, MessageIcon icon) override {
        asked.push_back({title, text, icon, false});
    }

    std::deque<bool> answers;  // true for Yes
    std::vector<Asked> asked;
};

}  // namespace tavrin::test
