#pragma once
// The desktop's notification server (org.freedesktop.Notifications on the session bus): sends an
// announcement without waiting for the answer, and hands back the actions the user picks on it.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "core/notify/DesktopNotice.h"
#include "ui/utilities/RepeatedFailureLog.h"

namespace tavrin {

class DesktopNotifications final : public QObject {
    Q_OBJECT
  public:
    // Receives the key of the action the user picked ("default" for a click on the notification).
    using ActionHandler = std::function<void(const std::string& key)>;
    // Receives whether the server took the announcement.
    using Outcome = std::function<void(bool taken)>;

    // `appIcon` names the icon, or is a file's path. Talks to the session bus, reached at the first
    // announcement sent, so a start with the balloon alone never connects to it.
    explicit DesktopNotifications(QString appIcon, QObject* parent = nullptr);
    // The same on `bus` (a test's own).
    DesktopNotifications(QDBusConnection bus, QString appIcon, QObject* parent = nullptr);

    // Sends `notice`. `taken` runs once the server answered: true with the notification shown; false
    // without a bus, without a server or on an error reply, the reason then logged (once while the
    // same reason lasts).
    void show(const DesktopNotice& notice, ActionHandler onAction, Outcome taken);

  private slots:
    void actionInvoked(uint id, const QString& key);
    void notificationClosed(uint id, uint reason);

  private:
    // The bus, connected and heard from for actions once it is first needed.
    QDBusConnection& bus();
    void refused(const QString& why, const Outcome& taken);

    QDBusConnection bus_;
    QString appIcon_;
    bool sessionBus_ = false;  // bus_ is still to be the session bus
    bool listening_ = false;
    std::map<uint, ActionHandler> handlers_;  // the shown notifications that have actions
    RepeatedFailureLog failures_;
};

// Announces through the ways `choice` names: the balloon at once when it shows whatever the desktop
// does, the desktop's server when chosen (with `onAction` for its actions), and the balloon after all
// when the server alone was chosen and did not take it. `desktop` may be null (no server to ask).
// Returns whether anything was shown or sent.
bool announce(NotificationChoice choice, DesktopNotifications* desktop, const DesktopNotice& notice,
              DesktopNotifications::ActionHandler onAction, const std::function<bool()>& showBalloon);

}  // namespace tavrin
