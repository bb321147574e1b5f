#pragma once
// The floating clock: a small free-standing window with a time, a date and a zone name, for the
// machine's own zone or one of the chosen world zones, dragged by its handle, closed by its picture,
// and kept above other windows when asked. It redraws only when a text or a colour changed, and
// wakes each second only while it shows seconds, each minute otherwise, and not at all while hidden.
#include <QLabel>
#include <QMenu>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

#include "core/clock/FloatingClock.h"
#include "core/state/AppState.h"

namespace tavrin {

class frmFClock : public QWidget {
    Q_OBJECT
  public:
    // `applicationDirectory` is where the close and drag pictures are looked for (its Images folder).
    frmFClock(AppState& app, const std::string& applicationDirectory, QWidget* parent = nullptr);

    // One tick, just after a wall-clock second or minute: the colours from the settings, then the
    // texts. Also run at once when the settings or the wall clock changed.
    void tick();
    // Milliseconds the refresh timer was armed for; nothing while it is stopped.
    std::optional<int> refreshArmedFor() const;
    // The pop-up menu as it was last offered on a click (built from the rules, the check state
    // included); each click builds its zone entries again when the chosen zones changed.
    QMenu* menu() { return menu_; }
    FloatingClock& rules() { return rules_; }
    bool alwaysOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    // For tests: the three labels and the two pictures.
    const std::array<QLabel*, 3>& labels() const { return labels_; }
    QLabel* closePicture() const { return closePicture_; }
    QLabel* dragHandle() const { return dragHandle_; }
    int repaints() const { return repaints_; }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildMenu();
    void armTimer();
    void refresh();
    void applyColours();
    void setAlwaysOnTop(bool on);
    void popUpMenu(QPoint global);

    AppState& app_;
    FloatingClock rules_;
    std::array<QLabel*, 3> labels_{};
    QLabel* closePicture_;
    QLabel* dragHandle_;
    QMenu* menu_ = nullptr;
    QAction* alwaysOnTopAction_ = nullptr;
    QTimer refreshTimer_;
    std::optional<QPoint> dragGrab_;  // where in the window the drag took hold
    std::string colourKey_;           // the colour texts last applied
    int repaints_ = 0;
};

}  // namespace tavrin
