#pragma once
// A label that acts as a button: a left click released inside it calls back; the press stays with
// the label, so it never reaches a window that drags on presses.
#include <QLabel>
#include <functional>

namespace tavrin {

class ClickLabel final : public QLabel {
  public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<void()> onClick_;
};

}  // namespace tavrin
