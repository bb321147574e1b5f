#pragma once
// "Reminders": the reminders of one balloon line or of one calendar day, with the message of the
// chosen one. Each opening is a new window, which deletes itself when closed.
#include <QWidget>
#include <string>

#include "core/reminders/ReminderList.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"

class QLabel;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavrin {

class frmDayRem : public QWidget {
    Q_OBJECT
  public:
    // The reminders of a clicked balloon line or of a calendar day. The list is filled when the window
    // first shows.
    frmDayRem(const ReminderTable& table, const Settings& settings, DayListRequest request,
              QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
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
    QLabel* messageCaption_;
    QTextEdit* message_;
};

}  // namespace tavrin
