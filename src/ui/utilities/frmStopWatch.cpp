#include "ui/utilities/frmStopWatch.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "core/base/Twips.h"
#include "ui/utilities/QtTahoma.h"

namespace tavrin {
namespace {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                 pixelsFromTwips(height));
}

QLabel* field(QWidget* parent, const char* text, double points, QRect at) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setFont(tahomaFont(points, true));
    label->setGeometry(at);
    // Each field paints its own background, so a new hundredth redraws that field alone and not the
    // window behind it.
    label->setAutoFillBackground(true);
    return label;
}

// The count moves every hundredth, faster than anyone reads it while it runs: the display follows 25
// times a second (as the tray clock's face does), and never faster than the screen shows frames.
constexpr int kRefreshMs = 40;

int intervalFor(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const double hz = screen && screen->refreshRate() > 1 ? screen->refreshRate() : 60.0;
    return std::max(kRefreshMs, static_cast<int>(std::ceil(1000.0 / hz)));
}

}  // namespace

frmStopWatch::frmStopWatch(const MonotonicClock& clock, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), watch_(clock) {
    setWindowTitle(QStringLiteral("Stop Watch"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(pixelsFromTwips(3510), pixelsFromTwips(1185));

    hoursLabel_ = field(this, "00", 27.75, twipsRect(120, 0, 735, 615));
    field(this, ":", 36, twipsRect(840, -165, 255, 735));
    minutesLabel_ = field(this, "00", 27.75, twipsRect(1080, 0, 735, 615));
    field(this, ":", 36, twipsRect(1800, -165, 255, 855));
    secondsLabel_ = field(this, "00", 27.75, twipsRect(2040, 0, 735, 615));
    hundredthsLabel_ = field(this, "00", 21.75, twipsRect(2880, 120, 615, 495));
    shown_ = watch_.texts();

    const auto button = [this](const char* text, int left, double points) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setFont(tahomaFont(points, true));
        b->setGeometry(twipsRect(left, 720, 855, 375));
        return b;
    };
    startButton_ = button("Start", 120, 8.25);
    stopButton_ = button("Stop", 1320, 9);
    resetButton_ = button("Reset", 2520, 8.25);
    connect(startButton_, &QPushButton::clicked, this, &frmStopWatch::start);
    connect(stopButton_, &QPushButton::clicked, this, &frmStopWatch::stop);
    connect(resetButton_, &QPushButton::clicked, this, &frmStopWatch::reset);

    refreshTimer_.setTimerType(Qt::PreciseTimer);
    connect(&refreshTimer_, &QTimer::timeout, this, &frmStopWatch::refresh);
}

void frmStopWatch::start() {
    watch_.start();
    if (watch_.running()) refreshTimer_.start(intervalFor(*this));
    refresh();
}

void frmStopWatch::stop() {
    watch_.stop();
    refreshTimer_.stop();
    refresh();
}

void frmStopWatch::reset() {
    watch_.reset();
    refreshTimer_.stop();
    refresh();
}

void frmStopWatch::refresh() {
    const StopwatchTexts now = watch_.texts();
    // Only the fields that changed are redrawn.
    const auto show = [](QLabel* label, const std::string& before, const std::string& after) {
        if (before != after) label->setText(QString::fromStdString(after));
    };
    show(hoursLabel_, shown_.hours, now.hours);
    show(minutesLabel_, shown_.minutes, now.minutes);
    show(secondsLabel_, shown_.seconds, now.seconds);
    show(hundredthsLabel_, shown_.hundredths, now.hundredths);
    shown_ = now;
    // At 24 hours the count has stopped by itself.
    if (!watch_.running()) refreshTimer_.stop();
}

}  // namespace tavrin
