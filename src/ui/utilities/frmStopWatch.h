#pragma once
// The stopwatch: hours, minutes, seconds and hundredths with Start, Stop and Reset. The count comes
// from a monotonic clock; the display is refreshed no faster than the screen shows frames, and only
// while it runs. Closing the window discards the count.
#include <QLabel>
#include <QPushButton>
#include <QTimer>
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
    bool refreshing() const { return refreshTimer_.isActive(); }
    int refreshIntervalMs() const { return refreshTimer_.interval(); }

    // One refresh of the display, as the timer runs it.
    void refresh();

  private:
    void start();
    void stop();
    void reset();

    Stopwatch watch_;
    QLabel* hoursLabel_;
    QLabel* minutesLabel_;
    QLabel* secondsLabel_;
    QLabel* hundredthsLabel_;
    QPushButton* startButton_;
    QPushButton* stopButton_;
    QPushButton* resetButton_;
    QTimer refreshTimer_;
    StopwatchTexts shown_;
};

}  // namespace tavrin
