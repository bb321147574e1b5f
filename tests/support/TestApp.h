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

// A left click at `at` (the middle when not given), delivered straight to the widget.
inline void click(QWidget* w, QPoint at = QPoint(-1, -1)) {
    if (at.x() < 0) at = QPoint(w->width() / 2, w->height() / 2);
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Runs the event loop for `ms` milliseconds, then deletes what asked to be deleted.
inline void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tavrin::test
