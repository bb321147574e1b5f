#pragma once
// "Reminders": the reminders of one balloon line or of one calendar day, with the message of the
// chosen one. Each opening is a new window, which deletes itself when closed.
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "core/reminders/ReminderList.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"

class QLabel;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavrin {

// One of the subscribed calendars' events as the day list shows it.
struct EventRow {
    std::string time;  // in the user's zone, the event's own zone named when it differs
    std::string title;
    std::string place;
    std::string calendarName;
    std::uint32_t colour = 0;  // 0xRRGGBB of its calendar
};

class frmDayRem : public QWidget {
    Q_OBJECT
  public:
    // The reminders of a clicked balloon line or of a calendar day. The list is filled when the window
    // first shows.
    frmDayRem(const ReminderTable& table, const Settings& settings, DayListRequest request,
              QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    // The calendars' events of the day, listed apart from the reminders; none hides their list.
    void setEvents(std::vector<EventRow> rows);
    QTreeWidget* eventList() const { return events_; }
    QTextEdit* message() const { return message_; }
    // Fills the list now, if it was not filled yet.
    void fill();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void rowClicked(QTreeWidgetItem* item);

    const ReminderTable& table_;
    const Settings& settings_;
    DayListRequest request_;
    bool filled_ = false;
    QTreeWidget* list_;
    QLabel* eventsCaption_;
    QTreeWidget* events_;
    QLabel* messageCaption_;
    QTextEdit* message_;
};

}  // namespace tavrin
