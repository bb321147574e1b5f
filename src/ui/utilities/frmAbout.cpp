#include "ui/utilities/frmAbout.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/base/Twips.h"
#include "core/store/KeyNames.h"
#include "core/utilities/MakerAddresses.h"
#include "core/utilities/SupportMail.h"
#include "ui/utilities/QtTahoma.h"

namespace tavrin {
namespace {

const QColor kPaleYellow(255, 255, 128);
constexpr int kMargin = 14;

const char* const kCredits[] = {
    "Design and programming: the Tavrin developers",  "World times: the tz database of the IANA",
    "Windows and pictures: the Qt toolkit",           "Button pictures: drawn by the program's own script",
    "Everyone who sent a suggestion or a bug report",
};

QLabel* text(QWidget* parent, const QString& content, QRect at, double points = 8.25, bool bold = false) {
    auto* label = new QLabel(content, parent);
    label->setFont(tahomaFont(points, bold));
    label->setGeometry(at);
    return label;
}

QLabel* link(QWidget* parent, const QString& content, QRect at, const QColor& colour) {
    QLabel* label = text(parent, content, at);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

}  // namespace

frmAbout::frmAbout(AppState& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), app_(app) {
    setWindowTitle(QStringLiteral("Tavrin for Windows"));
    setFixedSize(pixelsFromTwips(5550), pixelsFromTwips(5415));
    QPalette back = palette();
    back.setColor(QPalette::Window, kPaleYellow);
    back.setColor(QPalette::WindowText, Qt::black);
    setPalette(back);
    setAutoFillBackground(true);

    const int w = width() - 2 * kMargin;
    QLabel* banner =
        text(this, QStringLiteral("Tavrin for Windows ") + QString::fromStdString(app.settings.VersionText),
             QRect(2, 2, width() - 4, 34), 15.75, true);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette inverse = banner->palette();
    inverse.setColor(QPalette::Window, Qt::black);
    inverse.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(inverse);

    int y = 46;
    text(this, QStringLiteral("We appreciate your feedback!"), QRect(kMargin, y, w, 18), 9, true);
    y += 22;
    QLabel* paragraph =
        text(this,
             QStringLiteral("Tell us what you would like Tavrin to do next, what you think of it, "
                            "and anything that did not work as you expected. Every suggestion, "
                            "comment and bug report is read."),
             QRect(kMargin, y, w, 48));
    paragraph->setWordWrap(true);
    y += 54;
    text(this, QStringLiteral("E-Mail:"), QRect(kMargin, y, 50, 18), 8.25, true);
    mailLink_ = link(this, QStringLiteral("Suggestions and Bug Reports"), QRect(kMargin + 52, y, w - 52, 18),
                     QColor(0, 0, 128));
    y += 28;
    lines_.push_back(y);
    y += 10;
    text(this, QStringLiteral("Credits:"), QRect(kMargin, y, w, 18), 8.25, true);
    y += 20;
    for (const char* credit : kCredits) {
        text(this, QString::fromUtf8(credit), QRect(kMargin + 10, y, w - 10, 17));
        y += 17;
    }
    y += 8;
    lines_.push_back(y);
    y += 10;
    text(this, QStringLiteral("For other cool software please visit"), QRect(kMargin, y, w, 18))
        ->setAlignment(Qt::AlignHCenter);
    y += 20;
    webSiteLink_ = link(this, QString::fromUtf8(webAddress()), QRect(kMargin, y, w, 18), QColor(0, 0, 255));
    webSiteLink_->setAlignment(Qt::AlignHCenter);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setFont(tahomaFont(8.25));
    okButton_->setGeometry((width() - 80) / 2, height() - 38, 80, 26);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    webSiteLink_->installEventFilter(this);
    mailLink_->installEventFilter(this);

    if (QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void frmAbout::openEmail() {
    const std::string os = operatingSystemText(app_.store, kPlatformId);
    const SupportMail mail = composeSupportMail(app_.settings.VersionText, os, app_.clock.localNow());
    openLink(supportMailLink(supportMailbox(), mail));
}

void frmAbout::openWebSite() {
    openLink(webSiteLink_->text().toStdString());
}

void frmAbout::openLink(const std::string& link) {
    const Result opened = app_.shell.openLink(link);
    if (!opened.ok()) app_.asker.tell("Tavrin System Message", opened.message(), MessageIcon::Information);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (watched == mailLink_) openEmail();
            if (watched == webSiteLink_) openWebSite();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(128, 128, 64));
    for (int y : lines_) p.drawLine(kMargin, y, width() - kMargin - 1, y);
    // The frame: the window has no border of its own.
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tavrin
