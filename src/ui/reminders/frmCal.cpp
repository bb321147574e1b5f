#include "ui/reminders/frmCal.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>

#include "core/clock/NextTick.h"
#include "core/reminders/CalendarLayout.h"
#include "core/sync/ReminderCalendarFile.h"
#include "core/timezones/MachineZone.h"
#include "ui/reminders/CalendarEventSource.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/QtCommonDialogs.h"

namespace tavrin {

namespace {

constexpr int kCellWidth = 25;
constexpr int kCellHeight = 17;
constexpr CellPlace kFirstCell{12, 54};
constexpr int kCellBoxHeight = 24;  // the number, then the marker underneath
constexpr int kColumnStep = 32;
const QColor kBackColour(255, 255, 128);
const QColor kSelectedColour(150, 190, 250);
const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// A label that reports clicks: the month arrows and "Close".
class ClickLabel : public QLabel {
  public:
    ClickLabel(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), onClick_(std::move(onClick)) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_)
            onClick_();
    }

  private:
    std::function<void()> onClick_;
};

// One day cell: its number at the top, the selection behind it, the marker under it.
class DayCell : public QLabel {
  public:
    DayCell(QWidget* parent, const QPixmap& marker, std::function<void(Qt::MouseButton, QPoint)> onPress)
        : QLabel(parent), marker_(marker), onPress_(std::move(onPress)) {
        setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        // A right press already opens the calendar's menu; the window must not open it again.
        setContextMenuPolicy(Qt::PreventContextMenu);
    }
    void setState(bool selected, bool marked, std::vector<QColor> eventColours) {
        if (selected == selected_ && marked == marked_ && eventColours == eventColours_) return;
        selected_ = selected;
        marked_ = marked;
        eventColours_ = std::move(eventColours);
        update();
    }
    const std::vector<QColor>& eventColours() const { return eventColours_; }
    bool marked() const { return marked_; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (selected_) {
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(kSelectedColour);
            p.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, kCellHeight), 3, 3);
        }
        QLabel::paintEvent(event);
        if (!eventColours_.empty()) {
            // The calendars' events: a dot per calendar down the cell's right edge, in its colour,
            // apart from the reminder marker under the number.
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(0, 0, 0, 90), 0.5));
            for (std::size_t i = 0; i < eventColours_.size(); ++i) {
                p.setBrush(eventColours_[i]);
                p.drawEllipse(QRectF(width() - 5.5, 1.5 + 5.0 * static_cast<double>(i), 4.5, 4.5));
            }
        }
        if (marked_) {
            QPainter p(this);
            if (!marker_.isNull()) {
                p.drawPixmap((width() - marker_.width()) / 2, kCellHeight + 2, marker_);
            } else {
                p.fillRect((width() - 11) / 2, kCellHeight + 2, 11, 4, QColor(204, 60, 32));
            }
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (onPress_) onPress_(event->button(), event->globalPosition().toPoint());
    }

  private:
    const QPixmap& marker_;
    std::function<void(Qt::MouseButton, QPoint)> onPress_;
    bool selected_ = false;
    bool marked_ = false;
    std::vector<QColor> eventColours_;
};

// At most this many calendars' dots fit beside a day's number.
constexpr std::size_t kMostEventDots = 3;

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& place, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(align);
    return label;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

frmCal::frmCal(ReminderWindows& windows, const std::string& imagesDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), windows_(windows) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Calendar"));
    setFixedSize(kSize, kSize);
    setFocusPolicy(Qt::StrongFocus);
    const QString images = QString::fromStdString(imagesDir) + "/";
    marker_ = QPixmap(images + "cal_marker.gif");

    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    QFont titleFont = small;
    titleFont.setBold(true);
    titleFont.setPointSizeF(9);
    monthTitle_ = makeLabel(this, QString(), QRect(36, 6, 168, 22), Qt::AlignCenter);
    monthTitle_->setFont(titleFont);
    for (int c = 0; c < 7; ++c) {
        dayNames_[static_cast<std::size_t>(c)] =
            makeLabel(this, QString::fromLatin1(kDayNames[c]),
                      QRect(kFirstCell.left + c * kColumnStep - 4, 33, kCellWidth + 8, 16), Qt::AlignCenter);
    }
    for (int i = 0; i < 2; ++i) {
        auto* arrow = new ClickLabel(this, [this, i] { i == 0 ? showPreviousMonth() : showNextMonth(); });
        const QPixmap picture(images + (i == 0 ? "cal_prev.gif" : "cal_next.gif"));
        if (picture.isNull())
            arrow->setText(i == 0 ? QStringLiteral("<") : QStringLiteral(">"));
        else
            arrow->setPixmap(picture);
        arrow->setAlignment(Qt::AlignCenter);
        arrow->setGeometry(i == 0 ? 12 : kSize - 12 - 18, 8, 18, 18);
        arrow->setCursor(Qt::PointingHandCursor);
        arrow->setToolTip(i == 0 ? QStringLiteral("Previous month") : QStringLiteral("Next month"));
        monthArrows_[static_cast<std::size_t>(i)] = arrow;
    }
    for (int k = 0; k < CalendarGrid::kCells; ++k) {
        auto* cell = new DayCell(this, marker_, [this, k](Qt::MouseButton button, QPoint global) {
            if (button == Qt::LeftButton) cellClicked(k);
            if (button == Qt::RightButton) cellRightClicked(k, global);
        });
        const CellPlace place = calendarCellPlace(k, kFirstCell, kCellWidth, kCellHeight);
        cell->setGeometry(place.left, place.top, kCellWidth, kCellBoxHeight);
        dayCells_[static_cast<std::size_t>(k)] = cell;
    }
    weekCaption_ = makeLabel(this, QStringLiteral("Current Week No.:"), QRect(12, 196, 110, 16),
                             Qt::AlignLeft | Qt::AlignVCenter);
    weekNumberLabel_ = makeLabel(this, QString(), QRect(122, 196, 40, 16), Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = small;
    bold.setBold(true);
    weekNumberLabel_->setFont(bold);
    auto* closeLink = new ClickLabel(this, [this] { close(); });
    closeLink->setText(QStringLiteral("Close"));
    QFont link = small;
    link.setUnderline(true);
    closeLink->setFont(link);
    closeLink->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    closeLink->setGeometry(kSize - 12 - 50, kSize - 24, 50, 16);
    closeLink->setCursor(Qt::PointingHandCursor);
    closeLink_ = closeLink;

    menu_ = new QMenu(this);
    menu_->addSection(QStringLiteral("Reminders"));
    menu_->addAction(QStringLiteral("&Add Reminder Here"), this, [this] { addReminderHere(); });
    menu_->addAction(QStringLiteral("&View Reminders for Day"), this, [this] { viewDayReminders(); });
    eventsSection_ = menu_->addSection(QStringLiteral("Calendars"));
    eventsEntry_ = menu_->addAction(QStringLiteral("&Events of This Day"), this, [this] { viewDayEvents(); });
    refreshEntry_ = menu_->addAction(QStringLiteral("&Refresh"), this, [this] {
        if (CalendarEventSource* events = windows_.calendarEvents()) events->refreshAll();
    });
    menu_->addSection(QStringLiteral("Manage Reminders"));
    menu_->addAction(QStringLiteral("Add New Reminder"), this, [this] { addNewReminder(); });
    menu_->addAction(QStringLiteral("Edit/Delete Reminders"), this, [this] { manageReminders(); });
    menu_->addAction(QStringLiteral("Import iCalendar..."), this, [this] { importCalendarFile(); });
    menu_->addAction(QStringLiteral("Export iCalendar..."), this, [this] { exportCalendarFile(); });

    applySettings();
    const DateTime today = windows_.app().clock.localNow();
    showMonth(today.month(), today.year());

    // One wake-up a day, just after local midnight; activation and the clock's tick catch a date
    // that moved while the timer slept (a suspended machine, a clock set by hand).
    midnightTimer_.setSingleShot(true);
    midnightTimer_.setTimerType(Qt::PreciseTimer);
    connect(&midnightTimer_, &QTimer::timeout, this, &frmCal::checkToday);
    armMidnight();
}

frmCal::~frmCal() = default;

void frmCal::applySettings() {
    const Settings& settings = windows_.app().settings;
    foreColour_ = qColorOfText(settings.WForeColor);
    for (QLabel* label : dayNames_) setTextColour(label, foreColour_);
    for (QLabel* label : {monthTitle_, weekCaption_, weekNumberLabel_, closeLink_})
        setTextColour(label, foreColour_);
    loadBackground();
    addReminders();
    update();
}

frmCal::PictureStamp frmCal::stampOf(const std::string& path) {
    PictureStamp stamp{path, -1, -1};
    if (path.empty()) return stamp;
    std::error_code ec;
    const std::filesystem::path file(path);
    const auto changed = std::filesystem::last_write_time(file, ec);
    if (!ec) stamp.changed = changed.time_since_epoch().count();
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec) stamp.size = static_cast<std::int64_t>(size);
    return stamp;
}

void frmCal::loadBackground() {
    const std::string& path = windows_.app().settings.BGPicture;
    backgroundStamp_ = stampOf(path);
    background_ = QPixmap();
    if (path.empty()) return;
    const QPixmap picture(QString::fromStdString(path));
    if (!picture.isNull())
        background_ = picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void frmCal::armMidnight() {
    const ClockService& clock = windows_.app().clock;
    const DateTime now = clock.localNow();
    const std::int64_t intoSecond = ((clock.unixMillis() % 1000) + 1000) % 1000;
    const std::int64_t ms = (86400 - now.secondsOfDay()) * std::int64_t{1000} - intoSecond + kTickLagMs;
    midnightTimer_.start(std::chrono::milliseconds(ms));
}

void frmCal::checkToday() {
    const DateTime today = windows_.app().clock.localNow().date();
    if (today != shownToday_) {
        const bool showedToday = grid_.month() == shownToday_.month() && grid_.year() == shownToday_.year();
        if (showedToday && (today.month() != grid_.month() || today.year() != grid_.year()))
            showMonth(today.month(), today.year());
        else
            buildCal(grid_.month(), grid_.year());
        armMidnight();
    } else if (!midnightTimer_.isActive()) {
        // Woke before the date turned (the clock was set back): wait for the next midnight.
        armMidnight();
    }
}

bool frmCal::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        checkToday();
        // A picture replaced on disk shows without another "Apply".
        if (stampOf(windows_.app().settings.BGPicture) != backgroundStamp_) {
            loadBackground();
            update();
        }
    }
    return QWidget::event(event);
}

void frmCal::showMonth(int month, int year) {
    selectedDay_ = 0;
    buildCal(month, year);
}

void frmCal::buildCal(int month, int year) {
    AppState& app = windows_.app();
    const DateTime now = app.clock.localNow();
    shownToday_ = now.date();
    grid_.buildCal(month, year, now, app.reminders, app.settings);
    if (CalendarEventSource* events = windows_.calendarEvents())
        events->coverMonth(grid_.year(), grid_.month());
    if (selectedDay_ > daysInMonth(grid_.year(), grid_.month())) selectedDay_ = 0;
    monthTitle_->setText(QString::fromStdString(grid_.title()));
    weekNumberLabel_->setText(QString::number(grid_.weekNumber()));
    refreshCells();
}

void frmCal::addReminders() {
    const AppState& app = windows_.app();
    grid_.addReminders(app.reminders, app.settings);
    refreshCells();
}

void frmCal::refreshCells() {
    const CalendarEventSource* events = windows_.calendarEvents();
    const int selectedCell = selectedDay_ > 0 ? grid_.cellOfDay(selectedDay_).value_or(-1) : -1;
    for (int k = 0; k < CalendarGrid::kCells; ++k) {
        const CalendarCell& cell = grid_.cells()[static_cast<std::size_t>(k)];
        auto* label = static_cast<DayCell*>(dayCells_[static_cast<std::size_t>(k)]);
        const QString caption = QString::fromStdString(cell.caption);
        if (label->text() != caption) label->setText(caption);
        QFont f = label->font();
        if (f.bold() != cell.today) {
            f.setBold(cell.today);
            label->setFont(f);
        }
        setTextColour(label, cell.today ? QColor(255, 0, 0) : QColor(0, 0, 0));
        label->setCursor(cell.caption.empty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
        std::vector<QColor> eventColours;
        if (events && !cell.caption.empty()) {
            for (const CalendarEvent& event :
                 events->eventsOnDay(grid_.year(), grid_.month(), std::stoi(cell.caption))) {
                const auto calendar = events->calendarOf(event.calendarId);
                const QColor colour =
                    QColor::fromRgb(calendar ? calendar->colour : CalendarSubscription{}.colour);
                if (eventColours.size() < kMostEventDots &&
                    std::find(eventColours.begin(), eventColours.end(), colour) == eventColours.end())
                    eventColours.push_back(colour);
            }
        }
        label->setState(k == selectedCell, cell.markers > 0, std::move(eventColours));
    }
}

void frmCal::selectDay(int day) {
    selectedDay_ = day >= 1 && day <= daysInMonth(grid_.year(), grid_.month()) ? day : 0;
    refreshCells();
}

void frmCal::cellClicked(int k) {
    const std::string& caption = grid_.cells()[static_cast<std::size_t>(k)].caption;
    if (!caption.empty()) selectDay(std::stoi(caption));
}

void frmCal::cellRightClicked(int k, const QPoint& global) {
    cellClicked(k);
    popupAt(global.isNull() ? QCursor::pos() : global);
}

void frmCal::popupAt(const QPoint& global) {
    // The calendars' entries show where there are calendars to show.
    const bool calendars = windows_.calendarEvents() != nullptr;
    for (QAction* entry : {eventsSection_, eventsEntry_, refreshEntry_}) entry->setVisible(calendars);
    menu_->popup(global);
}

void frmCal::showPreviousMonth() {
    const MonthYear previous = CalendarGrid::previousMonth(grid_.month(), grid_.year());
    showMonth(previous.month, previous.year);
}

void frmCal::showNextMonth() {
    const MonthYear next = CalendarGrid::nextMonth(grid_.month(), grid_.year());
    showMonth(next.month, next.year);
}

void frmCal::addNewReminder() {
    windows_.openNewReminder();
}

void frmCal::addReminderHere() {
    const std::string date = selectedDay_ > 0 ? grid_.dateTextOf(selectedDay_, windows_.app().settings) : "";
    selectDay(0);
    windows_.openNewReminder(date);
}

void frmCal::manageReminders() {
    windows_.showManager();
}

void frmCal::viewDayReminders() {
    const std::string date = selectedDay_ > 0 ? grid_.dateTextOf(selectedDay_, windows_.app().settings) : "";
    const std::optional<DateTime> day = selectedDate();
    selectDay(0);
    windows_.openDayList(date, day);
}

void frmCal::viewDayEvents() {
    // The reminders of the day come with its events: the one list of what the day holds.
    viewDayReminders();
}

namespace {

ReminderEventContext eventContextOf(AppState& app) {
    const std::string zoneinfo =
        app.paths.zoneinfoDir.empty() ? "/usr/share/zoneinfo" : app.paths.zoneinfoDir;
    return {app.settings.DateFormat, machineZoneId(zoneinfo), zoneinfo, app.clock.utcNow().toUnix()};
}

OpenRequest calendarFileRequest(const char* title) {
    return {{{"iCalendar files", "*.ics"}, {"All files", "*"}}, QDir::homePath().toStdString(), title};
}

}  // namespace

void frmCal::importCalendarFile() {
    AppState& app = windows_.app();
    const FileSelection chosen =
        windows_.dialogs().showOpen(this, calendarFileRequest("Import Reminders from iCalendar"));
    if (chosen.cancelled) return;
    const Result<ReminderImport> done = importReminderCalendar(app.reminders, app.paths.reminderFile(),
                                                               chosen.firstPath(), eventContextOf(app));
    windows_.remindersChanged();
    if (!done) {
        app.asker.tell("Tavrin Error Message", done.message(), MessageIcon::None);
        return;
    }
    app.asker.tell("Tavrin System Message", done->summary(), MessageIcon::Information);
}

void frmCal::exportCalendarFile() {
    AppState& app = windows_.app();
    const FileSelection chosen =
        windows_.dialogs().showSave(this, calendarFileRequest("Export Reminders to iCalendar"));
    if (chosen.cancelled) return;
    const Result<ReminderExport> done =
        exportReminderCalendar(app.reminders, {}, chosen.firstPath(), eventContextOf(app));
    if (!done) {
        app.asker.tell("Tavrin Error Message", done.message(), MessageIcon::None);
        return;
    }
    app.asker.tell("Tavrin System Message", done->summary(), MessageIcon::Information);
}

std::optional<DateTime> frmCal::selectedDate() const {
    if (selectedDay_ <= 0) return std::nullopt;
    return DateTime::fromFields(grid_.year(), grid_.month(), selectedDay_);
}

std::vector<QColor> frmCal::eventColoursOfDay(int day) const {
    const std::optional<int> k = grid_.cellOfDay(day);
    if (!k) return {};
    return static_cast<const DayCell*>(dayCells_[static_cast<std::size_t>(*k)])->eventColours();
}

void frmCal::moveSelection(int days) {
    if (selectedDay_ == 0) {
        // The first key press picks a day to start from: today in today's month, else the first.
        const DateTime today = windows_.app().clock.localNow();
        const bool thisMonth = today.month() == grid_.month() && today.year() == grid_.year();
        selectDay(thisMonth ? today.day() : 1);
        return;
    }
    const DateTime to = DateTime::fromFields(grid_.year(), grid_.month(), selectedDay_).addDays(days);
    if (to.month() != grid_.month() || to.year() != grid_.year()) showMonth(to.month(), to.year());
    selectDay(to.day());
}

void frmCal::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isNull())
        p.fillRect(rect(), kBackColour);
    else
        p.drawPixmap(0, 0, background_);
    // The grid lines: one above each week and one under the last, and the column edges.
    p.setPen(QPen(foreColour_, 1));
    const int gridLeft = kFirstCell.left - (kColumnStep - kCellWidth) / 2 - 1;
    const int gridRight = gridLeft + 7 * kColumnStep;
    const int lastTop = calendarCellPlace(28, kFirstCell, kCellWidth, kCellHeight).top;
    const int gridBottom = lastTop + kCellBoxHeight + 3;
    int gridTop = kFirstCell.top - 3;
    for (int row = 0; row < 5; ++row) {
        const int y = calendarCellPlace(row * 7, kFirstCell, kCellWidth, kCellHeight).top - 3;
        p.drawLine(gridLeft, y, gridRight, y);
    }
    p.drawLine(gridLeft, gridBottom, gridRight, gridBottom);
    for (int c = 0; c <= 7; ++c) {
        const int x = gridLeft + c * kColumnStep;
        p.drawLine(x, gridTop, x, gridBottom);
    }
    // The frame round the window.
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void frmCal::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        grab_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void frmCal::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) move(event->globalPosition().toPoint() - grab_);
}

void frmCal::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void frmCal::contextMenuEvent(QContextMenuEvent* event) {
    // Outside the days the menus act on the day already selected, if any.
    popupAt(event->globalPos());
}

void frmCal::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
            showPreviousMonth();
            break;
        case Qt::Key_PageDown:
            showNextMonth();
            break;
        case Qt::Key_Left:
            moveSelection(-1);
            break;
        case Qt::Key_Right:
            moveSelection(1);
            break;
        case Qt::Key_Up:
            moveSelection(-7);
            break;
        case Qt::Key_Down:
            moveSelection(7);
            break;
        case Qt::Key_Escape:
            close();
            break;
        case Qt::Key_Menu:
            popupAt(mapToGlobal(rect().center()));
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace tavrin
