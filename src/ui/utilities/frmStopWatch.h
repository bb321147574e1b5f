#pragma once
// The stopwatch: hours, minutes, seconds and hundredths with Start, Stop, Lap and Reset. The count comes
// from a monotonic clock; the display is refreshed no faster than the screen shows frames, and only
// while it runs. Laps (the button or the L key) open a list under the buttons, the newest on top, that
// its context menu copies as text; Reset clears it. Closing the window discards the count.
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "core/utilities/Stopwatch.h"

namespace tavrin {

class frmStopWatch : public QWidget {
    Q_OBJECT
  public:
    explicit frmStopWatch(const MonotonicClock& clock, QWidget* parent = nullptr);

    // For tests: the four fields and the three buttons.
    QLabel* hoursLabel() const { return hoursLabel_; }
    QLabel* minutesLabel() const { return minutesLabel_; }
    QLabel* secondsLabel() const { return secondsLabel_; }
    QLabel* hundredthsLabel() const { return hundredthsLabel_; }
    QPushButton* startButton() const { return startButton_; }
    QPushButton* stopButton() const { return stopButton_; }
    QPushButton* resetButton() const { return resetButton_; }
    QPushButton* lapButton() const { return lapButton_; }
    QTreeWidget* lapList() const { return lapList_; }

    // Copies the laps, the newest first, to the clipboard; the text copied.
    QString copyLaps();
    bool refreshing() const { return refreshTimer_.isActive(); }
    int refreshIntervalMs() const { return refreshTimer_.interval(); }

    // One refresh of the display, as the timer runs it.
    void refresh();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void start();
    void stop();
    void reset();
    void lap();
    // The Lap button while laps can be taken; the list and the window's height while there are laps.
    void showLaps();

    Stopwatch watch_;
    QLabel* hoursLabel_;
    QLabel* minutesLabel_;
    QLabel* secondsLabel_;
    QLabel* hundredthsLabel_;
    QPushButton* startButton_;
    QPushButton* stopButton_;
    QPushButton* resetButton_;
    QPushButton* lapButton_;
    QTreeWidget* lapList_;
    QTimer refreshTimer_;
    StopwatchTexts shown_;
};

}  // namespace tavrin
