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

    // Editable false: the list is filled again from the table. True: the selected reminder is
    // deleted (which fills the list again too).
    void gogetem(bool Editable);

    // The slot of the selected row, or -1.
    int selectedSlot() const;

    void Command2_Click();  // "Add New Reminder"
    void Command3_Click();  // "Delete Reminder", and the menu's "Delete Item"
    void Command4_Click();  // "Edit Reminder", and the menu's "Edit Item"
    void Command1_Click();  // "Cancel"
    void ListView1_Click(QTreeWidgetItem* item);

    // The controls, by their design names.
    QTreeWidget* ListView1() const { return ListView1_; }
    QTextEdit* Text1() const { return Text1_; }
    QPushButton* Command3() const { return Command3_; }
    QPushButton* Command4() const { return Command4_; }
    QMenu* mnuFile() const { return mnuFile_; }

  private:
    void fillList();
    void deleteSelected();

    ReminderWindows& windows_;
    QTreeWidget* ListView1_;
    QTextEdit* Text1_;
    QPushButton* Command2_;
    QPushButton* Command3_;
    QPushButton* Command4_;
    QPushButton* Command1_;
    QMenu* mnuFile_;
};

}  // namespace tavrin
