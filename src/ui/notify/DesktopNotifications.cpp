#include "ui/notify/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <utility>

namespace tavrin {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The server is asked for what it can do each time: a desktop's server can change between two
// announcements, and the answer says whether the body is read as markup.
QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

DesktopNotifications::DesktopNotifications(QString appIcon, QObject* parent)
    : QObject(parent), bus_(QString()), appIcon_(std::move(appIcon)), sessionBus_(true) {}

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString appIcon, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), appIcon_(std::move(appIcon)) {}

QDBusConnection& DesktopNotifications::bus() {
    if (sessionBus_) {
        bus_ = QDBusConnection::sessionBus();
        sessionBus_ = false;
    }
    if (listening_ || !bus_.isConnected()) return bus_;
    listening_ = true;
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
    return bus_;
}

void DesktopNotifications::refused(const QString& why, const Outcome& taken) {
    failures_.note(Result<>::failure("the desktop's notifications are not shown, so the balloon is: " +
                                     why.toStdString()));
    if (taken) taken(false);
}

void DesktopNotifications::show(const DesktopNotice& notice, ActionHandler onAction, Outcome taken) {
    if (!bus().isConnected()) {
        refused(QStringLiteral("there is no session bus (%1)").arg(bus_.lastError().message()), taken);
        return;
    }
    auto* asked = new QDBusPendingCallWatcher(bus_.asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(
        asked, &QDBusPendingCallWatcher::finished, this,
        [this, notice, onAction = std::move(onAction), taken = std::move(taken)](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<QStringList> capabilities = *w;
            if (capabilities.isError()) {
                refused(capabilities.error().message(), taken);
                return;
            }
            const bool markup = capabilities.value().contains(QStringLiteral("body-markup"));
            QStringList actions;
            for (const NoticeAction& action : notice.actions) actions << qs(action.key) << qs(action.label);
            QVariantMap hints;
            hints.insert(QStringLiteral("urgency"), QVariant::fromValue(static_cast<uchar>(notice.urgency)));
            hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tavrin"));
            QDBusMessage message = call(QStringLiteral("Notify"));
            message << QStringLiteral("Tavrin") << 0u << appIcon_ << qs(notice.summary)
                    << qs(markup ? markedUpBody(notice.body) : notice.body) << actions << hints << -1;
            auto* sent = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
            connect(sent, &QDBusPendingCallWatcher::finished, this,
                    [this, onAction, taken](QDBusPendingCallWatcher* s) {
                        s->deleteLater();
                        const QDBusPendingReply<uint> id = *s;
                        if (id.isError()) {
                            refused(id.error().message(), taken);
                            return;
                        }
                        failures_.note({});
                        if (onAction) handlers_[id.value()] = onAction;
                        if (taken) taken(true);
                    });
        });
}

void DesktopNotifications::actionInvoked(uint id, const QString& key) {
    // One action per notification: a server may tell of the same pick more than once.
    const auto handler = handlers_.find(id);
    if (handler == handlers_.end()) return;
    const ActionHandler act = std::move(handler->second);
    handlers_.erase(handler);
    act(key.toStdString());
}

void DesktopNotifications::notificationClosed(uint id, uint) {
    handlers_.erase(id);
}

bool announce(NotificationChoice choice, DesktopNotifications* desktop, const DesktopNotice& notice,
              DesktopNotifications::ActionHandler onAction, const std::function<bool()>& showBalloon) {
    const bool asksDesktop = desktop && wantsDesktop(choice);
    // Shown at once when it shows however the desktop answers, or when the desktop is not asked.
    const bool balloonNow = wantsBalloon(choice, asksDesktop);
    bool shown = balloonNow && showBalloon();
    if (!asksDesktop) return shown;
    desktop->show(notice, std::move(onAction), [choice, balloonNow, showBalloon](bool taken) {
        if (!balloonNow && wantsBalloon(choice, taken)) showBalloon();
    });
    return true;
}

}  // namespace tavrin
