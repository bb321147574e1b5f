#pragma once
// "Alarm": arms the alarm (a delay from now in a chosen zone) and the world-time warning (an hour
// in a chosen zone), each with its own sound; "Cancel" disarms both. The status line says what is
// armed as the dialog opens.
#include <QWidget>
#include <array>
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

    // The buttons: 0 "Cancel", 1 "OK", 2 "Browse..." (alarm), 3 "Test Sound", 4 "Browse..." (warning).
    void Command1_Click(int index);
    // A choice in the alarm's or the warning's preset list ("Custom..." shows its boxes).
    void Combo1_Click();
    void Combo3_Click();

    AlarmEntry entry() const;

    // The controls, by their design names.
    QComboBox* Combo1() const { return Combo1_; }
    QComboBox* Combo2() const { return Combo2_; }
    QComboBox* Combo3() const { return Combo3_; }
    QComboBox* Combo4() const { return Combo4_; }
    QComboBox* Combo5() const { return Combo5_; }
    QLineEdit* Text1() const { return Text1_; }
    QLineEdit* Text2() const { return Text2_; }
    QLineEdit* Text3() const { return Text3_; }
    QLineEdit* Text4() const { return Text4_; }
    QLineEdit* Text5() const { return Text5_; }
    QLineEdit* Text6() const { return Text6_; }
    QLineEdit* Text7() const { return Text7_; }
    QLabel* status() const { return status_; }  // Label1(0)
    QPushButton* Command1(int index) const { return Command1_[static_cast<std::size_t>(index)]; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void browse(QLineEdit* into);
    void testSound();
    void ok();

    AppState& app_;
    SoundPlayer& sound_;
    CommonDialogs& dialogs_;
    std::vector<ZoneChoice> zoneChoices_;  // the zones the lists show, as they were when it opened

    QComboBox* Combo1_;
    QComboBox* Combo2_;
    QComboBox* Combo3_;
    QComboBox* Combo4_;
    QComboBox* Combo5_;
    QLineEdit* Text1_;
    QLineEdit* Text2_;
    QLineEdit* Text3_;
    QLineEdit* Text4_;
    QLineEdit* Text5_;
    QLineEdit* Text6_;
    QLineEdit* Text7_;
    QWidget* customAlarm_;    // Text2, Text3 and their labels
    QWidget* customWarning_;  // Text5, Text6, Combo5
    QLabel* status_;
    std::array<QPushButton*, 5> Command1_{};
};

}  // namespace tavrin
