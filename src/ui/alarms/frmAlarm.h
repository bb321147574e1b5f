#pragma once
// "Alarm": arms the alarm (a delay from now in a chosen zone) and the world-time warning (an hour
// in a chosen zone), each with its own sound; "Cancel" disarms both. The status line says what is
// armed as the dialog opens.
#include <QWidget>
#include <vector>

#include "core/alarms/AlarmEntry.h"
#include "core/alarms/AlarmSetup.h"
#include "core/alarms/SoundPlayer.h"
#include "core/state/AppState.h"
#include "ui/utilities/QtCommonDialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class frmAlarm : public QWidget {
    Q_OBJECT
  public:
    frmAlarm(AppState& app, SoundPlayer& sound, CommonDialogs& dialogs, QWidget* parent = nullptr);

    // "OK": arms what is chosen, says what it armed and closes.
    void ok();
    // "Cancel": disarms the alarm and the warning and closes.
    void cancel();
    // "Test Sound": plays the alarm's sound, else the warning's.
    void testSound();
    // A choice in the alarm's or the warning's preset list ("Custom..." shows its boxes).
    void alarmPresetChosen();
    void warningPresetChosen();

    AlarmEntry entry() const;

    // The controls, for tests.
    QComboBox* alarmPresetBox() const { return alarmPresetBox_; }
    QComboBox* alarmZoneBox() const { return alarmZoneBox_; }
    QComboBox* warningPresetBox() const { return warningPresetBox_; }
    QComboBox* warningZoneBox() const { return warningZoneBox_; }
    QComboBox* warningHalfBox() const { return warningHalfBox_; }
    QLineEdit* alarmMessageEdit() const { return alarmMessageEdit_; }
    QLineEdit* alarmHoursEdit() const { return alarmHoursEdit_; }
    QLineEdit* alarmMinutesEdit() const { return alarmMinutesEdit_; }
    QLineEdit* alarmSoundEdit() const { return alarmSoundEdit_; }
    QLineEdit* warningHourEdit() const { return warningHourEdit_; }
    QLineEdit* warningMinuteEdit() const { return warningMinuteEdit_; }
    QLineEdit* warningSoundEdit() const { return warningSoundEdit_; }
    QLabel* status() const { return status_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* alarmBrowseButton() const { return alarmBrowseButton_; }
    QPushButton* testSoundButton() const { return testSoundButton_; }
    QPushButton* warningBrowseButton() const { return warningBrowseButton_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void browse(QLineEdit* into);

    AppState& app_;
    SoundPlayer& sound_;
    CommonDialogs& dialogs_;
    std::vector<ZoneChoice> zoneChoices_;  // the zones the lists show, as they were when it opened

    QComboBox* alarmPresetBox_;
    QComboBox* alarmZoneBox_;
    QComboBox* warningPresetBox_;
    QComboBox* warningZoneBox_;
    QComboBox* warningHalfBox_;
    QLineEdit* alarmMessageEdit_;
    QLineEdit* alarmHoursEdit_;
    QLineEdit* alarmMinutesEdit_;
    QLineEdit* alarmSoundEdit_;
    QLineEdit* warningHourEdit_;
    QLineEdit* warningMinuteEdit_;
    QLineEdit* warningSoundEdit_;
    QWidget* customAlarm_;    // the alarm's hours and minutes boxes, with their labels
    QWidget* customWarning_;  // the warning's hour, minute and AM/PM boxes
    QLabel* status_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* alarmBrowseButton_;
    QPushButton* testSoundButton_;
    QPushButton* warningBrowseButton_;
};

}  // namespace tavrin
