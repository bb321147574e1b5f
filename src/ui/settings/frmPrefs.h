#pragma once
// "Tavrin for Windows: Preferences": formats, world-time sorting and zones, colours, the colour
// scheme, fonts, the background picture, the clock's place on the panel and starting at logon. Some controls
// change the settings in memory at once, "&Apply" copies the rest, "&OK" also saves everything and closes,
// "&Cancel" only closes.
#include <QDialog>

#include <array>
#include <functional>
#include <string>

#include "core/settings/Preferences.h"
#include "core/settings/WorldZoneList.h"
#include "core/state/AppState.h"
#include "ui/utilities/QtCommonDialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeView;

namespace tavrin {

class ZoneListModel;

// What the dialog asks of windows it cannot reach itself.
struct PrefsHooks {
    // After "&Apply" and "&OK" put the settings in memory: the calendar takes the new colours and
    // picture, the tray clock redraws.
    std::function<void()> applied;
    // After "&OK" saved: the tray clock loads the scheme's pictures and redraws.
    std::function<void()> saved;
    // "&Support && About Tavrin".
    std::function<void()> showAbout;
};

class frmPrefs : public QDialog {
    Q_OBJECT
  public:
    // `applicationDirectory` is where "Browse..." starts; `programPath` is what the autostart
    // entry starts.
    frmPrefs(AppState& app, CommonDialogs& dialogs, std::string applicationDirectory, std::string programPath,
             PrefsHooks hooks, QWidget* parent = nullptr);
    ~frmPrefs() override;

    // The controls, by their design names.
    QTreeView* lstVTZones() const { return lstVTZones_; }
    QLineEdit* txtZoneFilter() const { return txtZoneFilter_; }
    QComboBox* Combo5(int index) const { return Combo5_[static_cast<std::size_t>(index)]; }
    QLineEdit* txtFDate() const { return txtFDate_; }
    QLineEdit* txtFTime() const { return txtFTime_; }
    QComboBox* Combo4() const { return Combo4_; }
    QCheckBox* chkTZDispOff() const { return chkTZDispOff_; }
    QLabel* Label1(int index) const { return Label1_[static_cast<std::size_t>(index)]; }
    QComboBox* Combo7() const { return Combo7_; }
    QLabel* Label24() const { return Label24_; }
    QComboBox* Combo3() const { return Combo3_; }
    QComboBox* Combo1() const { return Combo1_; }
    QComboBox* Combo2() const { return Combo2_; }
    QCheckBox* chkDBold() const { return chkDBold_; }
    QLineEdit* Text1() const { return Text1_; }
    QPushButton* Command5() const { return Command5_; }
    QCheckBox* chkLStartup() const { return chkLStartup_; }
    QPushButton* Command3() const { return Command3_; }
    QPushButton* Command4() const { return Command4_; }
    QPushButton* Command2() const { return Command2_; }
    QPushButton* Command1() const { return Command1_; }
    QSpinBox* panelOffsetBox() const { return panelOffsetBox_; }
    QPushButton* resetPositionButton() const { return resetPositionButton_; }
    QLabel* Label3(int index) const;
    const WorldZoneList& zoneList() const { return zones_; }
    const Preferences& model() const { return prefs_; }

    // Ticks or unticks the zone shown on a row, as a click on its box does.
    void tickZone(int row, bool checked);
    void Label1_Click(int index);
    void Command4_Click();  // &Apply
    void Command2_Click();  // &OK
    void Command5_Click();  // Browse...
    // "Reset position": the clock back at the panel's end, at once and kept.
    void resetPosition();

  signals:
    // The dialog painted itself for the first time (the measurements time it).
    void firstPaint();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void showControls();
    void showFontControls();
    void showColours();
    void readPlainFields();
    void onSchemeText(const QString& text);

    AppState& app_;
    CommonDialogs& dialogs_;
    std::string appDir_;
    std::string programPath_;
    PrefsHooks hooks_;
    Preferences prefs_;
    WorldZoneList zones_;
    ZoneListModel* model_ = nullptr;
    bool painted_ = false;

    std::array<QLabel*, 10> Label3_{};
    QTreeView* lstVTZones_ = nullptr;
    QLineEdit* txtZoneFilter_ = nullptr;
    std::array<QComboBox*, 2> Combo5_{};
    QLineEdit* txtFDate_ = nullptr;
    QLineEdit* txtFTime_ = nullptr;
    QComboBox* Combo4_ = nullptr;
    QCheckBox* chkTZDispOff_ = nullptr;
    std::array<QLabel*, 3> Label1_{};
    QComboBox* Combo7_ = nullptr;
    QLabel* Label24_ = nullptr;
    QComboBox* Combo3_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QComboBox* Combo2_ = nullptr;
    QCheckBox* chkDBold_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QPushButton* Command5_ = nullptr;
    QCheckBox* chkLStartup_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QPushButton* Command4_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QSpinBox* panelOffsetBox_ = nullptr;
    QPushButton* resetPositionButton_ = nullptr;
};

}  // namespace tavrin
