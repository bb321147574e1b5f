#include "app/SessionClock.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <cstdio>
#include <utility>

namespace tavrin {
namespace {

constexpr char kShowRequest[] = "show\n";

}  // namespace

SessionClock::SessionClock(std::string lockPath, std::string socketPath)
    : lockPath_(std::move(lockPath)), socketPath_(std::move(socketPath)) {}

SessionClock::Claim SessionClock::claim(int waitMs) {
    const Result<InstanceLock::Claim> claimed = lock_.claim(lockPath_);
    if (!claimed) {
        std::fprintf(stderr, "tavrin: warning: %s; a second clock may start\n", claimed.message().c_str());
        return Claim::Run;
    }
    if (*claimed == InstanceLock::Claim::Ours) {
        listen();
        return Claim::Run;
    }
    return askRunningClock(waitMs) ? Claim::AskedToShow : Claim::Unreachable;
}

void SessionClock::listen() {
    // Holding the lock, no other clock can be listening: a socket file left by one that was killed
    // is stale and goes.
    QLocalServer::removeServer(QString::fromStdString(socketPath_));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(QString::fromStdString(socketPath_))) {
        std::fprintf(stderr, "tavrin: warning: cannot listen on %s: %s\n", socketPath_.c_str(),
                     server_.errorString().toLocal8Bit().constData());
        return;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show")) emit showRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

bool SessionClock::askRunningClock(int waitMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketPath_));
        if (socket.waitForConnected(500)) {
            socket.write(kShowRequest);
            const bool sent = socket.waitForBytesWritten(2000);
            socket.disconnectFromServer();
            if (sent) return true;
        }
        if (waited.elapsed() >= waitMs) return false;
        QThread::msleep(100);
    }
}

}  // namespace tavrin
