#pragma once
// What a window test hands its window: the shared state over an in-memory store, a fake clock, and a
// shell and an asker that record what they were asked. The application object is made first, so the
// members of a fixture built on this may be windows. Below it, the few ways tests reach into windows.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "core/state/AppState.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"

namespace tavrin::test {

template <class StoreType = MemoryStore>
struct WindowTestAppOn {
    explicit WindowTestAppOn(DateTime utc = DateTime::fromFields(2005, 3, 7, 21, 5, 0)) : clock(utc) {
        ensureApp();
    }
    // Whatever windows the test left open go before the state they show.
    ~WindowTestAppOn() {
        for (QWidget* w : QApplication::topLevelWidgets()) delete w;
    }
    // The pinned test zones as the machine's catalogue.
    void mountZones() {
        store.mount(Root::LocalMachine,
                    makeZoneCatalogue(std::string(TAVRIN_TEST_DATA) + "/zoneinfo", clock));
        app.zones.ZoneRoot = kZoneRootNt;
    }

    StoreType store;
    FakeClock clock;
    RecordingShell shell;
    ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
};
using WindowTestApp = WindowTestAppOn<>;

// A key pressed on `w`, delivered straight to it.
inline void pressKey(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

// A menu's entries as shown; "-" for a plain separator, a section by its title.
inline QStringList menuTexts(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() && a->text().isEmpty() ? "-" : a->text());
    return out;
}

inline QAction* menuEntry(const QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

// The rows of a list, each as the texts of `columns` and "on" or "off" for its tick box, joined by "|".
inline QStringList treeRows(const QTreeWidget* list, std::initializer_list<int> columns) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        QStringList cells;
        for (int column : columns) cells << row->text(column);
        out << (cells << (row->checkState(0) == Qt::Checked ? "on" : "off")).join('|');
    }
    return out;
}

// The windows of one kind on the screen now.
template <class Window>
std::vector<Window*> shownWindows() {
    std::vector<Window*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) found.push_back(window);
    return found;
}

}  // namespace tavrin::test
