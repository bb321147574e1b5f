#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/QtApplication.h"
#include "app/TestProbe.h"
#include "platform/DisplayChoice.h"

int main(int argc, char** argv) {
    const tavrin::DisplayChoice display =
        tavrin::chooseDisplay(std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"),
                              std::getenv("DISPLAY"), tavrin::xDisplayReachable);
    if (!display.refusal.empty()) {
        std::fprintf(stderr, "tavrin: %s\n", display.refusal.c_str());
        return 1;
    }
    if (!display.platform.empty()) setenv("QT_QPA_PLATFORM", display.platform.c_str(), 1);

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // The clock is a tool window; closing a dialog must not end the program, only the clock does.
    QApplication::setQuitOnLastWindowClosed(false);
    tavrin::TestProbe::startFromEnvironment(&qapp);
    tavrin::QtApplication app;
    app.start();
    return QApplication::exec();
}
