#pragma once
// "Reminders": the manager, listing every reminder with the message of the one clicked, leading to
// adding, editing and deleting. A click on a row turns "Edit Reminder" and "Delete Reminder" on, the
// next click off again; a right click on the list offers the same two as a menu.
#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavrin {

class ReminderWindows;

class frmRem : public QWidget {
    Q_OBJECT
  public:
    explicit frmRem(ReminderWindows& windows, QWidget* parent = nullptr);

    // Fills the list again from the table.
    void fillList();

    // The slot of the selected row, or -1.
    int selectedSlot() const;

    // "Add New Reminder".
    void addNew();
    // "Delete Reminder", and the menu's "Delete Item": the selected reminder, after which the list
    // is filled again.
    void deleteSelected();
    // "Edit Reminder", and the menu's "Edit Item".
    void editSelected();
    // "Cancel".
    void cancel();
    // A click on a row: its message below, and "Edit Reminder" and "Delete Reminder" turned over.
    void rowClicked(QTreeWidgetItem* item);

    // The controls, for tests.
    QTreeWidget* reminderList() const { return reminderList_; }
    QTextEdit* messageView() const { return messageView_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* editButton() const { return editButton_; }
    QMenu* rowMenu() const { return rowMenu_; }

  private:
    ReminderWindows& windows_;
    QTreeWidget* reminderList_;
    QTextEdit* messageView_;
    QPushButton* addButton_;
    QPushButton* deleteButton_;
    QPushButton* editButton_;
    QPushButton* cancelButton_;
    QMenu* rowMenu_;
};

}  // namespace tavrin
