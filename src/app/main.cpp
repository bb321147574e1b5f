#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/QtApplication.h"
#include "app/SessionClock.h"
#include "app/TestProbe.h"
#include "core/state/Paths.h"
#include "platform/DisplayChoice.h"
#include "ui/utilities/AccessiblePopups.h"

int main(int argc, char** argv) {
    // The probe's connection stays open until the toolkit has its own, so that a display with no
    // other client does not reset in between.
    tavrin::XDisplayProbe probe;
    const tavrin::Result<std::string> platform = tavrin::chooseDisplay(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"),
        [&probe](const std::string& name) { return probe.reachable(name); });
    if (!platform) {
        std::fprintf(stderr, "tavrin: %s\n", platform.message().c_str());
        return 1;
    }
    if (!platform->empty()) setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
    // A frame painted through shared memory makes the next one wait for the X server to have read it:
    // a round trip, and two more wake-ups of a program that otherwise wakes once a minute. The clock's
    // frames are small; they go over the connection instead. A user's own choice stays.
    setenv("QT_XCB_NO_MITSHM", "1", 0);

    QApplication qapp(argc, argv);
    probe.release();
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // The clock is a tool window; closing a dialog must not end the program, only the clock does.
    QApplication::setQuitOnLastWindowClosed(false);
    tavrin::includePopupsInAccessibilityTree();
    tavrin::TestProbe::startFromEnvironment(&qapp);
    // One clock per user session: a later start brings the running one to the front and leaves.
    const tavrin::Paths paths = tavrin::Paths::fromEnvironment();
    tavrin::SessionClock session(paths.instanceLockFile(), paths.instanceSocketFile());
    switch (session.claim()) {
        case tavrin::SessionClock::Claim::AskedToShow:
            return 0;
        case tavrin::SessionClock::Claim::Unreachable:
            std::fprintf(stderr, "tavrin: a clock already runs in this session, but it does not answer\n");
            return 1;
        case tavrin::SessionClock::Claim::Run:
            break;
    }
    tavrin::QtApplication app;
    QObject::connect(&session, &tavrin::SessionClock::showRequested, &app, [&app] { app.showYourself(); });
    if (!app.start()) return 1;
    return QApplication::exec();
}
