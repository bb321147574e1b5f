#include "ui/utilities/PictureButton.h"

#include <QPainter>

namespace tavrin {

PictureButton::PictureButton(const QPixmap& picture, const QString& name, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setAccessibleName(name);
    setCursor(Qt::PointingHandCursor);
    // The keyboard stays with the window the button is on.
    setFocusPolicy(Qt::NoFocus);
}

QSize PictureButton::sizeHint() const {
    return picture_.isNull() ? QSize(24, 24) : picture_.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.isNull()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    p.drawPixmap(0, 0, picture_);
}

}  // namespace tavrin
