#pragma once
// "Add Reminder": the editor for a new reminder and for one chosen in the manager. Its OK stores the
// reminder and rewrites the file; a refusal or a failed save says why and keeps the fields.
#include <QWidget>
#include <string>

#include "core/reminders/ReminderForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class ReminderWindows;

class frmAddRem : public QWidget {
    Q_OBJECT
  public:
    // Filled for a new reminder: now's hour and minute, today's date.
    explicit frmAddRem(ReminderWindows& windows, QWidget* parent = nullptr);

    // Sets the edit flag and shows the editor.
    void openEditor(bool editable);
    // Fields for a new reminder dated `date` (today's date when empty).
    void loadNew(const std::string& date = {});
    // The fields of the reminder in `slot`, which OK then replaces.
    void loadReminder(int slot);

    bool editing() const { return editing_; }
    ReminderForm form() const;
    void setForm(const ReminderForm& form);

    // "OK" and "Cancel".
    void ok();
    void cancel();

    // The controls, for tests.
    QLineEdit* titleEdit() const { return titleEdit_; }
    QLineEdit* dateEdit() const { return dateEdit_; }
    QLineEdit* hourEdit() const { return hourEdit_; }
    QLineEdit* minuteEdit() const { return minuteEdit_; }
    QComboBox* amPmBox() const { return amPmBox_; }
    QPlainTextEdit* messageEdit() const { return messageEdit_; }
    QCheckBox* enabledBox() const { return enabledBox_; }
    QCheckBox* recurringBox() const { return recurringBox_; }
    QComboBox* durationBox() const { return durationBox_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ReminderWindows& windows_;
    bool editing_ = false;
    int editSlot_ = -1;
    std::string editTitle_;

    QLineEdit* titleEdit_;
    QLineEdit* dateEdit_;
    QLineEdit* hourEdit_;
    QLineEdit* minuteEdit_;
    QComboBox* amPmBox_;
    QPlainTextEdit* messageEdit_;
    QCheckBox* enabledBox_;
    QCheckBox* recurringBox_;
    QComboBox* durationBox_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace tavrin
