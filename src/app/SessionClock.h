#pragma once
// One clock per user session. The first start takes the session's instance lock and listens on a
// local socket beside it; a later start finds the lock taken, asks the running clock through the
// socket to show itself, and leaves. Two clocks drawn over each other in one tray area, each
// announcing every reminder and keeping its own reminder table, serve nobody.
#include <QLocalServer>
#include <QObject>

#include <string>

#include "platform/InstanceLock.h"

namespace tavrin {

class SessionClock : public QObject {
    Q_OBJECT
  public:
    enum class Claim {
        Run,          // this process is the session's clock (or no lock could be made: it runs alone)
        AskedToShow,  // another clock runs and was asked to show itself
        Unreachable,  // another clock holds the lock but did not answer
    };

    SessionClock(std::string lockPath, std::string socketPath);

    // Decides which of the three this start is; `waitMs` bounds the wait for a clock that is still
    // starting (it holds the lock but is not listening yet).
    Claim claim(int waitMs = 5000);

  signals:
    // A later start asked this clock to show itself.
    void showRequested();

  private:
    void listen();
    bool askRunningClock(int waitMs);

    std::string lockPath_;
    std::string socketPath_;
    InstanceLock lock_;
    QLocalServer server_;
};

}  // namespace tavrin
