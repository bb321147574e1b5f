#pragma once
// The one application object that widget tests need, made on first use, and a few input helpers.
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace tavrin::test {

// Never destroyed: tearing Qt down while the process exits gains nothing and can crash.
inline void ensureApp() {
    if (QApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavrin-tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// A mouse event at the screen point `global`, sent straight to `w`; the button is held but on release.
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint global,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, modifiers);
    QApplication::sendEvent(w, &e);
}

// A left click at `at` (the middle when not given), delivered straight to the widget.
inline void click(QWidget* w, QPoint at = QPoint(-1, -1)) {
    if (at.x() < 0) at = QPoint(w->width() / 2, w->height() / 2);
    sendMouse(w, QEvent::MouseButtonPress, w->mapToGlobal(at));
    sendMouse(w, QEvent::MouseButtonRelease, w->mapToGlobal(at));
}

// Runs the event loop for `ms` milliseconds, then deletes what asked to be deleted.
inline void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tavrin::test
