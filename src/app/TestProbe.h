#pragma once
// What a user could read on the program's windows, written to a file for journey tests: when
// TAVRIN_PROBE names a file, five times a second (only when something changed) the program writes
// every visible top-level window and the elements its accessibility tree exposes, one per line:
//
//   window<TAB>title<TAB>x,y,w,h
//   <depth><TAB>role<TAB>name<TAB>value<TAB>x,y,w,h<TAB>state
//
// where depth counts from 1 under the window, rectangles are in screen pixels, and state holds the
// words "checked", "disabled", "focused" as they apply. An element without a name goes by its
// description (a picture button's tool tip), a list with nothing chosen by the hint it shows. Tests click at
// the centre of an element they found by its name, with real input events.
#include <QObject>
#include <QString>
#include <QTimer>

#include <string>

namespace tavrin {

class TestProbe : public QObject {
    Q_OBJECT
  public:
    // Starts writing to the file TAVRIN_PROBE names; does nothing when it is unset.
    static void startFromEnvironment(QObject* parent);
    explicit TestProbe(std::string path, QObject* parent = nullptr);

    // The whole text as it would be written now.
    static QString snapshot();

  private:
    void write();

    std::string path_;
    QString last_;
    QTimer timer_;
};

}  // namespace tavrin
