#include "ui/notify/frmBalloon.h"

#include <QAbstractButton>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QPushButton>
#include <QRadialGradient>
#include <QRegion>
#include <algorithm>
#include <utility>

#include "ui/utilities/ClickLabel.h"
#include "ui/utilities/QtStoredText.h"

namespace tavrin {

namespace {

const QString kBalloonFont = QStringLiteral("Tahoma");
const QColor kLineColour(0, 0, 128);  // navy

QRect toQRect(const BalloonRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

QFont balloonFont(double pointSize, bool bold, bool underline = false) {
    QFont font(kBalloonFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// The red square with the white cross that closes the balloon; pushed in while the button is down. A
// screen reader finds it as the "Close" button.
class CloseButton final : public QAbstractButton {
  public:
    CloseButton(QWidget* parent, std::function<void()> onClick) : QAbstractButton(parent) {
        setToolTip(QStringLiteral("Close"));
        setAccessibleName(QStringLiteral("Close"));
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus);
        up_ = closeButtonPixmap(false);
        down_ = closeButtonPixmap(true);
        connect(this, &QAbstractButton::clicked, this, [onClick = std::move(onClick)] {
            if (onClick) onClick();
        });
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const bool pressed = isDown();
        p.drawPixmap(0, 0, pressed ? down_ : up_);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        const double shift = pressed ? 0.5 : 0.0;
        p.drawLine(QPointF(4.5 + shift, 4.5 + shift), QPointF(11.5 + shift, 11.5 + shift));
        p.drawLine(QPointF(11.5 + shift, 4.5 + shift), QPointF(4.5 + shift, 11.5 + shift));
    }

  private:
    QPixmap up_;
    QPixmap down_;
};

// A modern icon's face is shaded from `light` to `dark` inside a darker `edge`; a classic icon's face is
// the flat `classic` colour inside a black edge.
void setIconFace(QPainter& p, bool modern, QGradient shade, const QColor& light, const QColor& dark,
                 const QColor& edge, const QColor& classic) {
    if (modern) {
        shade.setColorAt(0, light);
        shade.setColorAt(1, dark);
        p.setBrush(shade);
        p.setPen(QPen(edge, 1));
    } else {
        p.setBrush(classic);
        p.setPen(QPen(Qt::black, 1));
    }
}

void drawInformation(QPainter& p, bool modern) {
    setIconFace(p, modern, QRadialGradient(QPointF(6, 5), 10), QColor(120, 180, 255), QColor(20, 70, 190),
                QColor(10, 50, 140), QColor(255, 255, 255));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    const QColor mark = modern ? Qt::white : QColor(0, 0, 255);
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawRect(QRectF(7, 3, 2, 2));
    p.drawRect(QRectF(7, 6.5, 2, 6));
}

void drawError(QPainter& p, bool modern) {
    setIconFace(p, modern, QRadialGradient(QPointF(6, 5), 10), QColor(255, 120, 110), QColor(190, 20, 20),
                QColor(130, 0, 0), QColor(255, 0, 0));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, modern ? Qt::RoundCap : Qt::FlatCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void drawWarning(QPainter& p, bool modern) {
    setIconFace(p, modern, QLinearGradient(0, 0, 0, 16), QColor(255, 240, 120), QColor(235, 170, 0),
                QColor(150, 100, 0), QColor(255, 255, 0));
    p.drawPolygon(QPolygonF({QPointF(8, 0.5), QPointF(15.5, 15), QPointF(0.5, 15)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(7, 5, 2, 6));
    p.drawRect(QRectF(7, 12, 2, 2));
}

}  // namespace

QPixmap balloonIconPixmap(BalloonIcon icon) {
    if (icon == BalloonIcon::None) return QPixmap();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const bool modern =
        icon == BalloonIcon::InformationXP || icon == BalloonIcon::ErrorXP || icon == BalloonIcon::WarningXP;
    p.setRenderHint(QPainter::Antialiasing, modern);
    switch (icon) {
        case BalloonIcon::InformationXP:
        case BalloonIcon::InformationClassic:
            drawInformation(p, modern);
            break;
        case BalloonIcon::ErrorXP:
        case BalloonIcon::ErrorClassic:
            drawError(p, modern);
            break;
        case BalloonIcon::WarningXP:
        case BalloonIcon::WarningClassic:
            drawWarning(p, modern);
            break;
        case BalloonIcon::None:
            break;
    }
    return pixmap;
}

QPixmap closeButtonPixmap(bool pressed) {
    QPixmap pixmap(16, 16);
    QPainter p(&pixmap);
    QLinearGradient fill(0, 0, 16, 0);
    fill.setColorAt(0, QColor(240, 110, 100));
    fill.setColorAt(1, QColor(150, 10, 10));
    p.fillRect(0, 0, 16, 16, fill);
    const QColor light(250, 160, 140);  // salmon
    const QColor maroon(100, 0, 0);
    const QColor topLeft = pressed ? maroon : light;
    const QColor bottomRight = pressed ? QColor(Qt::black) : maroon;
    p.setPen(topLeft);
    p.drawLine(0, 0, 15, 0);
    p.drawLine(0, 0, 0, 15);
    p.setPen(bottomRight);
    p.drawLine(1, 15, 15, 15);
    p.drawLine(15, 1, 15, 15);
    return pixmap;
}

frmBalloon::frmBalloon(const std::array<std::string, kBalloonLineSlots>& lines, LineHandler onLineClicked,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      pendingLines_(&lines),
      onLineClicked_(std::move(onLineClicked)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Tavrin"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(balloonFont(8.25, false));
    resize(312, 128);

    titleLabel_ = new QLabel(QStringLiteral("<Title>"), this);
    titleLabel_->setTextFormat(Qt::PlainText);
    titleLabel_->setFont(balloonFont(8.25, true));
    titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    titleLabel_->setGeometry(32, 8, 249, 17);

    iconLabel_ = new QLabel(this);
    iconLabel_->setScaledContents(true);
    iconLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    iconLabel_->setGeometry(toQRect(kBalloonIconRect));

    closeButton_ = new CloseButton(this, [this] { hideBalloon(); });
    closeButton_->setGeometry(285, 6, 16, 16);

    autoCloseTimer_.setSingleShot(true);
    connect(&autoCloseTimer_, &QTimer::timeout, this, &frmBalloon::hideBalloon);
}

void frmBalloon::setBalloon(const std::string& title, int count, long leftTwips, long topTwips,
                            const std::string& iconCode, bool showClose, long autoCloseAfterMs,
                            long heightTwips, long widthTwips, int fontSize) {
    titleLabel_->setText(fromStoredText(title));

    if (pendingLines_) {
        const int shown = shownLineCount(*pendingLines_, count);
        for (int i = 0; i < shown; ++i) {
            // A click hands over the line's place, never its shown text: stored bytes that are no
            // UTF-8 would not survive the trip through the label.
            auto* line = new ClickLabel(fromStoredText((*pendingLines_)[static_cast<std::size_t>(i)]), this,
                                        [this, i] {
                                            if (onLineClicked_)
                                                onLineClicked_(i);
                                            else
                                                hideBalloon();
                                        });
            line->setTextFormat(Qt::PlainText);
            line->setFont(balloonFont(8.25, true, true));
            QPalette pal = line->palette();
            pal.setColor(QPalette::WindowText, kLineColour);
            line->setPalette(pal);
            line->setWordWrap(false);
            line->setGeometry(toQRect(balloonLineRect(i)));
            line->show();
            lines_.push_back(line);
        }
        pendingLines_ = nullptr;
    }
    // The title sits above the lines that overlap its row's end.
    titleLabel_->raise();

    move(pixelsFromTwips(leftTwips), pixelsFromTwips(topTwips));

    const BalloonIcon icon = iconFromCode(iconCode);
    hasIcon_ = icon != BalloonIcon::None;
    if (hasIcon_) {
        iconLabel_->setPixmap(balloonIconPixmap(icon));
        iconLabel_->show();
    } else {
        iconLabel_->hide();
    }

    closeButton_->setVisible(showClose);
    closeButton_->raise();

    if (autoCloseAfterMs > 0) {
        // Qt's timer takes any interval an int holds, beyond the 65 535 ms of older timers.
        autoCloseTimer_.start(static_cast<int>(std::min<long>(autoCloseAfterMs, 0x7FFFFFFF)));
    } else {
        autoCloseTimer_.stop();
    }

    if (widthTwips > 0 && heightTwips > 0) resize(pixelsFromTwips(widthTwips), pixelsFromTwips(heightTwips));
    layoutParts();
    shapeBalloon();

    QFont titleFont = balloonFont(fontSize > 0 ? fontSize : 8, true);
    titleLabel_->setFont(titleFont);
}

void frmBalloon::setButton(const std::string& text, std::function<void()> onClick) {
    button_ = new QPushButton(fromStoredText(text), this);
    button_->setFocusPolicy(Qt::NoFocus);  // the balloon never takes the focus from what the user types in
    connect(button_, &QPushButton::clicked, this, [this, onClick = std::move(onClick)] {
        if (onClick) onClick();
        hideBalloon();
    });
    layoutParts();
    button_->show();
}

void frmBalloon::hideBalloon() {
    close();
}

void frmBalloon::shapeBalloon() {
    const RoundedRect shape = balloonShape(width(), height());
    QPainterPath path;
    path.addRoundedRect(QRectF(toQRect(shape.rect)), shape.cornerWidth / 2.0, shape.cornerHeight / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void frmBalloon::layoutParts() {
    const BalloonLayout layout = layoutBalloon(width(), hasIcon_);
    titleLabel_->setGeometry(toQRect(layout.title));
    closeButton_->setGeometry(toQRect(layout.closeImage));
    if (button_) button_->setGeometry(toQRect(balloonButtonRect(width(), height())));
}

void frmBalloon::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutParts();
    shapeBalloon();
}

void frmBalloon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const RoundedRect border = balloonBorder(width(), height());
    p.setPen(QPen(palette().color(QPalette::ToolTipText), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(toQRect(border.rect)).adjusted(1, 1, -1, -1), border.cornerWidth / 2.0,
                      border.cornerHeight / 2.0);
}

void frmBalloon::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) hideBalloon();
}

}  // namespace tavrin
