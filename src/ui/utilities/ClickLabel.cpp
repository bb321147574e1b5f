#include "ui/utilities/ClickLabel.h"

#include <QMouseEvent>
#include <utility>

namespace tavrin {

ClickLabel::ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
    : QLabel(text, parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_)
        onClick_();
}

}  // namespace tavrin
