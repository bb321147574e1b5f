#include "ui/clock/frmFClock.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/base/Twips.h"
#include "core/clock/NextTick.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/QtTahoma.h"

namespace tavrin {
namespace {

QPixmap picture(const std::string& applicationDirectory, const char* name) {
    return QPixmap(QString::fromStdString(applicationDirectory) + QStringLiteral("/Images/") +
                   QString::fromLatin1(name));
}

PixelRect pixelRectOf(const QRect& r) {
    return PixelRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

frmFClock::frmFClock(AppState& app, const std::string& applicationDirectory, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), app_(app), rules_(app.store, app.zones) {
    setWindowTitle(QStringLiteral("Floating Clock"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(pixelsFromTwips(3855), pixelsFromTwips(1500));

    dragHandle_ = new QLabel(this);
    dragHandle_->setPixmap(picture(applicationDirectory, "fclock_drag.gif"));
    dragHandle_->setGeometry(4, (height() - 60) / 2, 10, 60);
    dragHandle_->setCursor(Qt::SizeAllCursor);
    dragHandle_->setToolTip(QStringLiteral("Drag to move"));
    dragHandle_->installEventFilter(this);

    closePicture_ = new QLabel(this);
    closePicture_->setPixmap(picture(applicationDirectory, "fclock_close.gif"));
    closePicture_->setGeometry(width() - 17, 4, 13, 13);
    closePicture_->setCursor(Qt::PointingHandCursor);
    closePicture_->setToolTip(QStringLiteral("Close"));
    closePicture_->installEventFilter(this);

    const int textLeft = 20;
    const int textWidth = width() - textLeft - 20;
    const struct {
        double points;
        bool bold;
        QRect at;
    } labels[3] = {{20, true, QRect(textLeft, 6, textWidth, 40)},
                   {10, false, QRect(textLeft, 48, textWidth, 20)},
                   {7.5, false, QRect(textLeft, 72, width() - textLeft - 6, 18)}};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setFont(tahomaFont(labels[i].points, labels[i].bold));
        label->setGeometry(labels[i].at);
        label->installEventFilter(this);
        labels_[i] = label;
    }

    buildMenu();

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }

    applyColours();
    refresh();
    refreshTimer_.setSingleShot(true);
    refreshTimer_.setTimerType(Qt::PreciseTimer);
    connect(&refreshTimer_, &QTimer::timeout, this, &frmFClock::tick);
}

void frmFClock::armTimer() {
    // The texts change on the wall clock's seconds at most, and on its minutes when no text shows
    // seconds; menu choices refresh at once.
    refreshTimer_.start(millisToNextTick(app_.clock.unixMillis(), rules_.pace(app_.settings)));
}

std::optional<int> frmFClock::refreshArmedFor() const {
    if (!refreshTimer_.isActive()) return std::nullopt;
    return refreshTimer_.interval();
}

void frmFClock::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tick();
}

void frmFClock::hideEvent(QHideEvent* event) {
    // Nobody reads a hidden clock; it catches up as it shows again.
    refreshTimer_.stop();
    QWidget::hideEvent(event);
}

void frmFClock::buildMenu() {
    if (!menu_) menu_ = new QMenu(QStringLiteral("file"), this);
    menu_->clear();
    for (const FloatingMenuItem& item : rules_.menu()) {
        const QString text = QString::fromStdString(item.text);
        switch (item.kind) {
            case FloatingMenuKind::Separator:
                menu_->addSeparator();
                break;
            case FloatingMenuKind::ShowTimeZone:
                connect(menu_->addAction(text), &QAction::triggered, this, [this] {
                    rules_.showOwnZone();
                    tick();
                });
                break;
            case FloatingMenuKind::Zone: {
                // A menu treats "&" as a mnemonic mark; a zone's name shows as it is.
                QString caption = text;
                caption.replace(QLatin1Char('&'), QLatin1String("&&"));
                connect(menu_->addAction(caption), &QAction::triggered, this, [this, zone = item.zoneName] {
                    rules_.showZone(zone);
                    tick();
                });
                break;
            }
            case FloatingMenuKind::AlwaysOnTop:
                alwaysOnTopAction_ = menu_->addAction(text);
                alwaysOnTopAction_->setCheckable(true);
                connect(alwaysOnTopAction_, &QAction::triggered, this,
                        [this] { setAlwaysOnTop(rules_.toggleAlwaysOnTop()); });
                break;
            case FloatingMenuKind::Close:
                connect(menu_->addAction(text), &QAction::triggered, this, &QWidget::close);
                break;
        }
    }
}

void frmFClock::setAlwaysOnTop(bool on) {
    if (alwaysOnTopAction_) alwaysOnTopAction_->setChecked(on);
    const bool shown = isVisible();
    // Changing the flag takes the window down; it comes back where it was.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) show();
}

void frmFClock::tick() {
    if (isVisible()) armTimer();
    applyColours();
    refresh();
}

void frmFClock::applyColours() {
    const Settings& s = app_.settings;
    std::string key = s.ColScheme + "/" + s.TForeColor + "/" + s.DForeColor;
    if (key == colourKey_) return;
    colourKey_ = std::move(key);
    QPalette back = palette();
    back.setColor(QPalette::Window, qColorOfText(s.ColScheme));
    setPalette(back);
    setAutoFillBackground(true);
    const QColor ink[3] = {qColorOfText(s.TForeColor), qColorOfText(s.DForeColor),
                           qColorOfText(s.DForeColor)};
    for (std::size_t i = 0; i < 3; ++i) {
        QPalette p = labels_[i]->palette();
        p.setColor(QPalette::WindowText, ink[i]);
        labels_[i]->setPalette(p);
    }
}

void frmFClock::refresh() {
    if (!rules_.refresh(app_.store, app_.settings, app_.zones, app_.clock)) return;
    const FloatingTexts& t = rules_.texts();
    const std::string* texts[3] = {&t.time, &t.date, &t.zoneName};
    for (std::size_t i = 0; i < 3; ++i) {
        const QString text = QString::fromStdString(*texts[i]);
        if (labels_[i]->text() != text) labels_[i]->setText(text);
    }
}

void frmFClock::popUpMenu(QPoint global) {
    // The chosen zones may have changed since the menu was last offered.
    if (rules_.followZoneList(app_.store, app_.zones)) buildMenu();
    if (alwaysOnTopAction_) alwaysOnTopAction_->setChecked(rules_.alwaysOnTop());
    menu_->popup(global);
}

void frmFClock::mouseReleaseEvent(QMouseEvent* event) {
    popUpMenu(event->globalPosition().toPoint());
    event->accept();
}

bool frmFClock::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (watched == dragHandle_) {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            dragGrab_ = global - frameGeometry().topLeft();
        } else if (type == QEvent::MouseMove && dragGrab_) {
            QScreen* screen = QGuiApplication::screenAt(global);
            if (!screen) screen = this->screen();
            const PixelPoint at = draggedWindowPos({global.x(), global.y()}, {dragGrab_->x(), dragGrab_->y()},
                                                   frameGeometry().width(), frameGeometry().height(),
                                                   pixelRectOf(screen->availableGeometry()));
            move(at.x, at.y);
        } else if (type == QEvent::MouseButtonRelease) {
            dragGrab_.reset();
        }
        return true;
    }
    if (watched == closePicture_) {
        if (type == QEvent::MouseButtonRelease && closePicture_->rect().contains(mouse->position().toPoint()))
            close();
        return true;
    }
    if (type == QEvent::MouseButtonRelease) {
        popUpMenu(global);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmFClock::paintEvent(QPaintEvent* event) {
    ++repaints_;
    QWidget::paintEvent(event);
    // A thin frame, as the window has no border of its own.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Window).darker(160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tavrin
