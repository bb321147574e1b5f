#pragma once
// The pop-up menu beside the clock's panel: the current time of every chosen world zone, one line
// each, and a row of six picture buttons. It is as wide as its longest line needs (on the monitor). Built
// afresh at every press; it closes when the user turns to anything else (a press outside it, another window
// or program becoming active) or uses a button, and deletes itself. However it closes, it lowers the clock's
// menu-open flag first.
//
// The wheel (or Up and Down) moves the time the lines show, to find a moment that suits every zone: a
// header line then says how far from now that is, each line is tinted while its zone is at work, and a
// right click on a line copies that moment in every zone. Home, or a click on the header, comes back
// to now; every opening starts at now.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "core/clock/MenuLayout.h"
#include "core/clock/MenuLines.h"
#include "core/state/AppState.h"
#include "ui/clock/MenuActions.h"

namespace tavrin {

class frmClock;

class frmMenu : public QWidget {
    Q_OBJECT
  public:
    // Builds the lines for now and places the menu beside the panel next to `clock`. `applicationDirectory`
    // is where the buttons' pictures are looked for (its Images folder).
    frmMenu(AppState& app, frmClock& clock, MenuActions actions, const std::string& applicationDirectory);
    ~frmMenu() override;

    // Shows the menu and takes the keyboard.
    void popUp();

    // For tests: the world-time lines and the buttons, in their order.
    const std::vector<QLabel*>& lineLabels() const { return lineLabels_; }
    const std::array<QAbstractButton*, kMenuButtonCount>& buttons() const { return buttons_; }
    // Runs a button's action as a click does.
    void clickButton(MenuButton button);
    // The tool tip of world-time line `line` (0 for the first): the zone's UTC offset at the moment
    // the menu opened and its next clock change.
    QString lineToolTip(std::size_t line);

    // How far from now the lines' time is, in seconds, and the line that says so (hidden at now).
    std::int64_t scrubOffset() const { return scrubOffset_; }
    QLabel* headerLabel() const { return header_; }
    // Whether line `line` is tinted as working time.
    bool lineTinted(std::size_t line) const { return menu_.lines.at(line).workingTime; }
    // Moves the lines' time to `offset` seconds from the moment the menu opened.
    void scrubTo(std::int64_t offset);
    // Copies line `line`'s moment in every chosen zone to the clipboard; the text copied.
    QString copyMoment(std::size_t line);

  signals:
    // The first time the menu reached the screen (the measurement scripts time it).
    void painted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadBackground();
    // Sizes and places the lines, the header and the buttons, and the menu beside the panel.
    void placeParts();
    bool headerShown() const;
    DateTime shownUtc() const { return utc_.addSeconds(scrubOffset_); }
    void releaseClock();
    const std::function<void()>& actionOf(MenuButton button) const;

    AppState& app_;
    QPointer<frmClock> clock_;
    MenuActions actions_;
    MenuLayout layout_;
    DateTime utc_;  // the moment the menu opened
    MenuLines menu_;
    std::vector<QLabel*> lineLabels_;
    QLabel* header_ = nullptr;
    std::int64_t scrubOffset_ = 0;
    int wheelAngle_ = 0;  // the part of a wheel turn not yet a step (high-resolution wheels send less)
    int widthTwips_ = 0;
    std::array<QAbstractButton*, kMenuButtonCount> buttons_{};
    QImage background_;  // the "BGPicture", stretched behind the lines
    QElapsedTimer sincePress_;
    bool paintedOnce_ = false;
};

}  // namespace tavrin
