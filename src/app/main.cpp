#include <QApplication>

#include "app/QtApplication.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // The clock is a tool window; closing a dialog must not end the program, only the clock does.
    QApplication::setQuitOnLastWindowClosed(false);
    tavrin::QtApplication app;
    app.start();
    return QApplication::exec();
}
