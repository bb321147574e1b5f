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
    void MyOhMy(bool Editable);
    // Fields for a new reminder dated `date` (today's date when empty).
    void loadNew(const std::string& date = {});
    // The fields of the reminder in `slot`, which OK then replaces.
    void loadReminder(int slot);

    bool editing() const { return editing_; }
    ReminderForm form() const;
    void setForm(const ReminderForm& form);

    // "OK" and "Cancel".
    void Command2_Click();
    void Command1_Click();

    // The controls, by their design names.
    QLineEdit* Text4() const { return Text4_; }
    QLineEdit* Text1() const { return Text1_; }
    QLineEdit* txtHour() const { return txtHour_; }
    QLineEdit* txtMinute() const { return txtMinute_; }
    QComboBox* Combo1() const { return Combo1_; }
    QPlainTextEdit* Text3() const { return Text3_; }
    QCheckBox* Check1() const { return Check1_; }
    QCheckBox* Check2() const { return Check2_; }
    QComboBox* Combo2() const { return Combo2_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ReminderWindows& windows_;
    bool editing_ = false;
    int editSlot_ = -1;
    std::string editTitle_;

    QLineEdit* Text4_;
    QLineEdit* Text1_;
    QLineEdit* txtHour_;
    QLineEdit* txtMinute_;
    QComboBox* Combo1_;
    QPlainTextEdit* Text3_;
    QCheckBox* Check1_;
    QCheckBox* Check2_;
    QComboBox* Combo2_;
    QPushButton* Command2_;
    QPushButton* Command1_;
};

}  // namespace tavrin
