#include "ui/utilities/frmStopWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
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

// The window as it opens, and the room the lap list takes under the buttons.
constexpr int kWidthTwips = 3510;
constexpr int kHeightTwips = 1185;
constexpr int kLapListTwips = 1800;

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
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));

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
    // Four buttons where three stood, in the same row and margins.
    startButton_ = button("Start", 120, 8.25);
    stopButton_ = button("Stop", 960, 9);
    lapButton_ = button("Lap", 1800, 8.25);
    resetButton_ = button("Reset", 2640, 8.25);
    for (QPushButton* b : {startButton_, stopButton_, lapButton_, resetButton_})
        b->resize(pixelsFromTwips(750), b->height());
    connect(startButton_, &QPushButton::clicked, this, &frmStopWatch::start);
    connect(stopButton_, &QPushButton::clicked, this, &frmStopWatch::stop);
    connect(lapButton_, &QPushButton::clicked, this, &frmStopWatch::lap);
    connect(resetButton_, &QPushButton::clicked, this, &frmStopWatch::reset);
    lapButton_->setToolTip(QStringLiteral("Lap (L)"));

    lapList_ = new QTreeWidget(this);
    lapList_->setHeaderLabels({QStringLiteral("Lap"), QStringLiteral("Lap time"), QStringLiteral("Total")});
    lapList_->setRootIsDecorated(false);
    lapList_->setSelectionMode(QAbstractItemView::NoSelection);
    lapList_->setFocusPolicy(Qt::NoFocus);
    lapList_->setFont(tahomaFont(8.25));
    lapList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lapList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lapList_->header()->setSectionResizeMode(QHeaderView::Stretch);
    lapList_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lapList_->header()->setStretchLastSection(false);
    lapList_->setGeometry(twipsRect(120, kHeightTwips, kWidthTwips - 240, kLapListTwips - 120));
    lapList_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("Copy Laps"), lapList_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &frmStopWatch::copyLaps);
    lapList_->addAction(copy);
    showLaps();

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
    lapList_->clear();
    refresh();
}

void frmStopWatch::lap() {
    if (!watch_.lap()) return;
    const Lap& taken = watch_.laps().back();
    auto* row = new QTreeWidgetItem({QString::number(watch_.laps().size()),
                                     QString::fromStdString(lapTimeText(taken.own)),
                                     QString::fromStdString(lapTimeText(taken.total))});
    lapList_->insertTopLevelItem(0, row);
    lapList_->scrollToTop();
    refresh();
}

QString frmStopWatch::copyLaps() {
    const QString text = QString::fromStdString(lapsText(watch_.laps()));
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    return text;
}

void frmStopWatch::showLaps() {
    lapButton_->setEnabled(watch_.running() && watch_.laps().size() < Stopwatch::kMaxLaps);
    lapButton_->setToolTip(watch_.laps().size() < Stopwatch::kMaxLaps
                               ? QStringLiteral("Lap (L)")
                               : QStringLiteral("%1 laps are the most kept").arg(Stopwatch::kMaxLaps));
    const bool laps = !watch_.laps().empty();
    if (lapList_->isHidden() == !laps) return;
    lapList_->setVisible(laps);
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips + (laps ? kLapListTwips : 0)));
}

void frmStopWatch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_L && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        lap();
        return;
    }
    QWidget::keyPressEvent(event);
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
    showLaps();
}

}  // namespace tavrin
