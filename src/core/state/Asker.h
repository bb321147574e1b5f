#pragma once
// Modal questions and messages. Windows ask through this, so every Yes/No and every message can be
// tested without a display; the desktop implementation shows a message box over the owner window.
#include <string>

namespace tavrin {

// The picture beside a message: none, information, a warning sign, or the stop sign of errors.
enum class MessageIcon { None, Information, Warning, Stop };

class Asker {
  public:
    virtual ~Asker() = default;
    // A question with Yes and No buttons; true when the answer is Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) = 0;
    // A message with an OK button; returns when it is dismissed.
    virtual void tell(const std::string& title, const std::string& text, MessageIcon icon) = 0;
};

}  // namespace tavrin
