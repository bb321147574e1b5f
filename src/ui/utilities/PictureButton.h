#pragma once
// A button that is only its picture: no face, no frame, nothing drawn when it is pressed or hovered,
// as the menu's and the balloon's picture buttons look. To a screen reader it is a button with its
// name, and it presses as any button does. Without its picture it shows a plain box, still there to
// click.
#include <QAbstractButton>
#include <QPixmap>

namespace tavrin {

class PictureButton final : public QAbstractButton {
  public:
    PictureButton(const QPixmap& picture, const QString& name, QWidget* parent);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace tavrin
