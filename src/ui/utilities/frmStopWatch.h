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
    QLabel* lblHours() const { return lblHours_; }
    QLabel* lblMins() const { return lblMins_; }
    QLabel* lblSecs() const { return lblSecs_; }
    QLabel* lblmillisecs() const { return lblmillisecs_; }
    QPushButton* cmdStart() const { return cmdStart_; }
    QPushButton* cmdStop() const { return cmdStop_; }
    QPushButton* cmdReset() const { return cmdReset_; }
    bool refreshing() const { return Timer1_.isActive(); }
    int refreshIntervalMs() const { return Timer1_.interval(); }

    // One refresh of the display, as the timer runs it.
    void refresh();

  private:
    void start();
    void stop();
    void reset();

    Stopwatch watch_;
    QLabel* lblHours_;
    QLabel* lblMins_;
    QLabel* lblSecs_;
    QLabel* lblmillisecs_;
    QPushButton* cmdStart_;
    QPushButton* cmdStop_;
    QPushButton* cmdReset_;
    QTimer Timer1_;
    StopwatchTexts shown_;
};

}  // namespace tavrin
