#pragma once
// The month calendar: a borderless 240 x 240 window with the month's days in five weeks, today in
// bold red, a marker under every day that holds a reminder, arrows to the months around it and
// today's week number. Its background picture is a handle to drag it by. A click on a day selects
// it; a right click selects it and opens the reminder menus, which act on that day. Page Up and
// Page Down change the month; the arrow keys move the selected day. Left open, it moves today's
// mark and the week number when the date changes. Days with events of the subscribed calendars get
// a dot in each calendar's colour, and the menu lists a day's events and fetches the calendars anew.
// The menu also writes every reminder to an iCalendar file and adds the events of one as reminders.
#include <QPixmap>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/reminders/CalendarGrid.h"
#include "core/timezones/DateTime.h"

class QLabel;
class QMenu;
class QAction;

namespace tavrin {

class ReminderWindows;

class frmCal : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSize = 240;

    // `imagesDir` holds the arrow and marker pictures. The window shows today's month.
    frmCal(ReminderWindows& windows, const std::string& imagesDir, QWidget* parent = nullptr);
    ~frmCal() override;

    // Fills the grid for a month: days, today's mark, the markers, the week number.
    void buildCal(int month, int year);
    // Places the reminder markers for the shown month again from the table.
    void addReminders();
    // Takes the settings as they are now: the background picture, the "WForeColor" colour of the
    // title, day names and lines, and the "DateFormat" the markers are matched in.
    void applySettings();
    // Moves today's mark and the week number when the local date is no longer the one they show
    // (midnight passed, the machine woke up, the clock was set); the month of today goes with them
    // when it was shown. Cheap when nothing changed: the clock's tick calls it too.
    void checkToday();

    // The selected day of the shown month; 0 when none.
    int selectedDay() const { return selectedDay_; }
    void selectDay(int day);

    // The arrows: the month before and the month after the one shown.
    void showPreviousMonth();
    void showNextMonth();
    // The menus: "Add New Reminder", "Add Reminder Here", "Edit/Delete Reminders",
    // "View Reminders for Day".
    void addNewReminder();
    void addReminderHere();
    void manageReminders();
    void viewDayReminders();
    // "Events of This Day": the day list of the selected day, its events with its reminders.
    void viewDayEvents();
    // "Import iCalendar..." and "Export iCalendar...": a file chosen in the windows' dialogs, and what
    // came of it told in a message.
    void importCalendarFile();
    void exportCalendarFile();

    // For tests.
    const CalendarGrid& grid() const { return grid_; }
    // The colours of the calendars whose events fall on `day` of the shown month, as marked.
    std::vector<QColor> eventColoursOfDay(int day) const;
    QLabel* dayCell(int k) const { return dayCells_[static_cast<std::size_t>(k)]; }
    QLabel* monthTitle() const { return monthTitle_; }
    QLabel* dayName(int column) const { return dayNames_[static_cast<std::size_t>(column)]; }
    QLabel* weekNumberLabel() const { return weekNumberLabel_; }
    QMenu* popupMenu() const { return menu_; }
    const QTimer& midnightTimer() const { return midnightTimer_; }
    // Right click on cell k: selects a numbered cell, then the menu (shown at `global` when given).
    void cellRightClicked(int k, const QPoint& global = QPoint());
    void cellClicked(int k);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showMonth(int month, int year);
    void refreshCells();
    void moveSelection(int days);
    void popupAt(const QPoint& global);
    void armMidnight();
    void loadBackground();
    std::optional<DateTime> selectedDate() const;

    ReminderWindows& windows_;
    CalendarGrid grid_;
    int selectedDay_ = 0;
    QPixmap background_;
    // The background file as it was loaded: its name, its change time and its size; a file changed
    // on disk is loaded again when the window is next activated.
    struct PictureStamp {
        std::string path;
        std::int64_t changed = -1;
        std::int64_t size = -1;
        friend bool operator==(const PictureStamp&, const PictureStamp&) = default;
    };
    static PictureStamp stampOf(const std::string& path);
    PictureStamp backgroundStamp_;
    DateTime shownToday_;  // the date today's mark and the week number were worked out for
    QTimer midnightTimer_;
    QPixmap marker_;
    QColor foreColour_;

    std::array<QLabel*, CalendarGrid::kCells> dayCells_{};
    QLabel* monthTitle_ = nullptr;
    std::array<QLabel*, 7> dayNames_{};
    std::array<QLabel*, 2> monthArrows_{};
    QLabel* weekCaption_ = nullptr;
    QLabel* weekNumberLabel_ = nullptr;
    QLabel* closeLink_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* eventsSection_ = nullptr;
    QAction* eventsEntry_ = nullptr;
    QAction* refreshEntry_ = nullptr;

    bool dragging_ = false;
    QPoint grab_;
};

}  // namespace tavrin
