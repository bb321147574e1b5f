#pragma once
// "Tavrin for Windows: Preferences": formats, world-time sorting and zones, colours, the colour
// scheme, fonts, the background picture, the clock's place on the panel, starting at logon and the
// calendar the reminders are synced with. Some controls
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
    // "&Calendars...": the subscribed calendars' own window.
    std::function<void()> showCalendars;
};

class frmPrefs : public QDialog {
    Q_OBJECT
  public:
    // `applicationDirectory` is where "Browse..." starts; `programPath` is what the autostart
    // entry starts.
    frmPrefs(AppState& app, CommonDialogs& dialogs, std::string applicationDirectory, std::string programPath,
             PrefsHooks hooks, QWidget* parent = nullptr);
    ~frmPrefs() override;

    // The controls, for tests and the measurements.
    QTreeView* zoneView() const { return zoneView_; }
    QLineEdit* zoneFilterEdit() const { return zoneFilterEdit_; }
    QComboBox* sortBox(int index) const { return sortBoxes_[static_cast<std::size_t>(index)]; }
    QLineEdit* dateFormatEdit() const { return dateFormatEdit_; }
    QLineEdit* timeFormatEdit() const { return timeFormatEdit_; }
    QComboBox* menuFormatBox() const { return menuFormatBox_; }
    QCheckBox* offsetsInFrontBox() const { return offsetsInFrontBox_; }
    QLabel* colourSwatch(int index) const { return colourSwatches_[static_cast<std::size_t>(index)]; }
    QComboBox* schemeBox() const { return schemeBox_; }
    QLabel* schemeSwatch() const { return schemeSwatch_; }
    QComboBox* fontTargetBox() const { return fontTargetBox_; }
    QComboBox* fontNameBox() const { return fontNameBox_; }
    QComboBox* fontSizeBox() const { return fontSizeBox_; }
    QCheckBox* boldBox() const { return boldBox_; }
    QLineEdit* pictureEdit() const { return pictureEdit_; }
    QLineEdit* workingHoursEdit() const { return workingHoursEdit_; }
    QPushButton* browseButton() const { return browseButton_; }
    QCheckBox* startupBox() const { return startupBox_; }
    QPushButton* aboutButton() const { return aboutButton_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QSpinBox* panelOffsetBox() const { return panelOffsetBox_; }
    QSpinBox* snoozeBox() const { return snoozeBox_; }
    QComboBox* notificationsBox() const { return notificationsBox_; }
    QComboBox* syncBox() const { return syncBox_; }
    QPushButton* resetPositionButton() const { return resetPositionButton_; }
    const WorldZoneList& zoneList() const { return zones_; }
    const Preferences& model() const { return prefs_; }

    // Ticks or unticks the zone shown on a row, as a click on its box does.
    void tickZone(int row, bool checked);
    void chooseSwatchColour(int index);
    // "&Apply": the values waiting in the controls into the settings in memory.
    void apply();
    // "&OK": applies, saves everything and closes; the dialog stays open when the store refused.
    void saveAndClose();
    // "Browse...": a picture for the background.
    void browsePicture();
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
    // The "Sync Reminders:" choices: "Off" and every subscribed CalDAV calendar.
    void offerSyncCalendars();
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

    QTreeView* zoneView_ = nullptr;
    QLineEdit* zoneFilterEdit_ = nullptr;
    std::array<QComboBox*, 2> sortBoxes_{};
    QLineEdit* dateFormatEdit_ = nullptr;
    QLineEdit* timeFormatEdit_ = nullptr;
    QComboBox* menuFormatBox_ = nullptr;
    QCheckBox* offsetsInFrontBox_ = nullptr;
    std::array<QLabel*, 3> colourSwatches_{};
    QComboBox* schemeBox_ = nullptr;
    QLabel* schemeSwatch_ = nullptr;
    QComboBox* fontTargetBox_ = nullptr;
    QComboBox* fontNameBox_ = nullptr;
    QComboBox* fontSizeBox_ = nullptr;
    QCheckBox* boldBox_ = nullptr;
    QLineEdit* pictureEdit_ = nullptr;
    QLineEdit* workingHoursEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QCheckBox* startupBox_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QSpinBox* panelOffsetBox_ = nullptr;
    QSpinBox* snoozeBox_ = nullptr;
    QComboBox* notificationsBox_ = nullptr;
    QComboBox* syncBox_ = nullptr;
    QPushButton* resetPositionButton_ = nullptr;
};

}  // namespace tavrin
