#include "ui/notify/DesktopNotifications.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>
#include <cstdlib>

#include "support/FileText.h"
#include "support/ReminderTestSupport.h"
#include "ui/WindowTestApp.h"
#include "ui/alarms/QtAlarmNotifier.h"
#include "ui/reminders/QtReminderAnnouncer.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {
namespace {

// Run by tests/fixtures/dunst-session.sh on a private bus: with dunst as the notification server
// ("dunst"), or with none ("empty"). Elsewhere only the announcement without any bus runs.
std::string busMode() {
    return std::getenv("TAVRIN_NOTIFY_MODE") ? std::getenv("TAVRIN_NOTIFY_MODE") : "";
}

ClockPlace clockPlace() {
    return ClockPlace{QRect(900, 700, 80, 24), {}};
}

std::string dunstctl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("dunstctl"), arguments);
    p.waitForFinished(10000);
    return p.readAllStandardOutput().trimmed().toStdString();
}

// Waits, handling events, until `done` holds; at most ten seconds.
bool waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) test::wait(50);
    return done();
}

struct Desktop : ::testing::Test, test::WindowTestApp {
    Desktop() : test::WindowTestApp(DateTime::fromFields(2026, 12, 8, 9, 30, 0)) {
        app.settings = test::defaultSettings();
    }
    std::vector<AlarmKind> snoozed;
    std::unique_ptr<DesktopNotifications> desktop;
    std::unique_ptr<QtAlarmNotifier> alarms;
    // The session bus as the program reaches it, or `bus`.
    void useBus(std::optional<QDBusConnection> bus = {}) {
        desktop = bus ? std::make_unique<DesktopNotifications>(*bus, QStringLiteral("tavrin"))
                      : std::make_unique<DesktopNotifications>(QStringLiteral("tavrin"));
        alarms = std::make_unique<QtAlarmNotifier>(clockPlace, app.settings, desktop.get());
        alarms->setSnoozeHook([this](AlarmKind kind) { snoozed.push_back(kind); });
    }
};

// What dunst received, read back from its history: per summary, the body, the program's name and the
// urgency (each urgency has its own timeout in the fixture's configuration: 102 s normal, 103 s
// critical).
std::map<std::string, std::string> history() {
    dunstctl({"close-all"});
    std::map<std::string, std::string> out;
    const QJsonArray shown = QJsonDocument::fromJson(QByteArray::fromStdString(dunstctl({"history"})))
                                 .object()["data"]
                                 .toArray()[0]
                                 .toArray();
    for (const QJsonValue& v : shown) {
        const QJsonObject n = v.toObject();
        const auto text = [&n](const char* key) { return n[key].toObject()["data"].toVariant().toString(); };
        out[text("summary").toStdString()] =
            (text("body") + "|" + text("appname") + "|" + text("timeout")).toStdString();
    }
    return out;
}

// Through a real server: the alarm critical with "Snooze" (picked in dunst's menu, it snoozes), the
// reminders normal with their lines (a click opens the day list), with the balloon only where chosen.
TEST_F(Desktop, AnnouncementsReachTheServerWithTheirActionsAndUrgency) {
    if (busMode() != "dunst") GTEST_SKIP() << "run by tests/fixtures/dunst-session.sh dunst";
    const std::string folder = std::getenv("TAVRIN_NOTIFY_DIR");
    useBus();

    app.settings.Notifications = 2;
    alarms->showAlarm(AlarmKind::Alarm, "Tavrin Alarm", "Tea & cake <now>");
    ASSERT_TRUE(waitUntil([] { return dunstctl({"count", "displayed"}) == "1"; }));
    test::writeFile(folder + "/pick", "Snooze");
    dunstctl({"context"});
    ASSERT_TRUE(waitUntil([this] { return !snoozed.empty(); }));
    EXPECT_EQ(snoozed, std::vector<AlarmKind>{AlarmKind::Alarm});
    EXPECT_NE(test::readFile(folder + "/menu.txt").find("#Snooze (Tavrin Alarm)"), std::string::npos);
    EXPECT_EQ(alarms->lastBalloon(), nullptr) << "the desktop alone was chosen";
    dunstctl({"close-all"});

    app.settings.Notifications = 1;
    QtReminderAnnouncer announcer(app, clockPlace, desktop.get());
    test::putReminder(app.reminders, 0, "Dentist", "12/08/26", "09:30:00", "1", "-1", "Bring the card");
    app.reminders.balloonLines[0] = "9:30 AM - Dentist";
    app.reminders.balloonLines[1] = "9:30 AM - Call the bank";
    app.reminders.balloonSlots[0] = 0;
    EXPECT_TRUE(announcer.showBalloon("Tavrin Reminders for: 12/08/26"));
    EXPECT_NE(announcer.lastBalloon(), nullptr) << "the balloon too was chosen";
    ASSERT_TRUE(waitUntil([] { return dunstctl({"count", "displayed"}) == "1"; }));
    dunstctl({"action", "0"});
    ASSERT_TRUE(waitUntil([] { return !test::shownWindows<frmDayRem>().empty(); }));
    EXPECT_EQ(test::shownWindows<frmDayRem>()[0]->message()->toPlainText(), "Bring the card");

    EXPECT_EQ(history(), (std::map<std::string, std::string>{
                             {"Tavrin Alarm", "Tea & cake <now>|Tavrin|103000000"},
                             {"Tavrin Reminders for: 12/08/26",
                              "9:30 AM - Dentist\n9:30 AM - Call the bank|Tavrin|102000000"}}));
}

// No session bus, or a bus where no notification server answers: the balloon shows all the same,
// and its "Snooze" snoozes what rang and closes it.
TEST_F(Desktop, WithoutAServerTheBalloonShowsWithSnooze) {
    app.settings.Notifications = 2;
    useBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tavrin-bus"), "none"));
    alarms->showAlarm(AlarmKind::Warning, "Tavrin Warning", "9:00 AM");
    const QPointer<frmBalloon> balloon = alarms->lastBalloon();
    ASSERT_NE(balloon, nullptr);
    ASSERT_EQ(balloon->button()->text(), "Snooze");
    test::click(balloon->button());
    test::wait(0);
    EXPECT_EQ(snoozed, std::vector<AlarmKind>{AlarmKind::Warning});
    EXPECT_FALSE(balloon);

    if (busMode() != "empty") return;
    useBus();
    alarms->showAlarm(AlarmKind::Alarm, "Tavrin Alarm", "Tea");
    EXPECT_TRUE(waitUntil([this] { return alarms->lastBalloon() != nullptr; }));
}

}  // namespace
}  // namespace tavrin
