#pragma once
// Questions and messages as modal message boxes, centred on the window that asks.
#include <QPointer>
#include <QWidget>

#include "core/state/Asker.h"

namespace tavrin {

class QtAsker : public Asker {
  public:
    // `owner` centres the boxes; without one they go to the middle of the screen.
    explicit QtAsker(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override;
    void tell(const std::string& title, const std::string& text, MessageIcon icon) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace tavrin
