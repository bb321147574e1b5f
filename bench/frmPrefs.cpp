// The preferences dialog over the system's whole zone catalogue: opening it to its first paint
// (with the catalogue read for the first time, and read before), one keystroke in the zone filter
// with the list repainted, and "OK" saving every value into a settings file on disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/settings/SettingsLoader.h"
#include "core/state/AppState.h"
#include "core/timezones/ZoneCatalogue.h"
#include "platform/FileStore.h"
#include "support/FakeCommonDialogs.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "ui/settings/frmPrefs.h"

using namespace tavrin;

namespace {

QApplication& application() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_frmPrefs";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down while the process exits gains nothing and can crash.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

const char* zoneinfo() {
    const char* dir = ::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

// The file store as it was before changes could be grouped: every value its own rewrite.
class UngroupedFileStore final : public FileStore {
  public:
    using FileStore::FileStore;
    Status beginChanges(Root) override { return status::kBadArgument; }
};

struct Fixture {
    explicit Fixture(bool grouped = true) {
        application();
        char pattern[] = "/tmp/tavrin-bench-prefs-XXXXXX";
        dir = ::mkdtemp(pattern);
        const std::string user = dir + "/user.reg", machine = dir + "/machine.reg";
        if (grouped)
            store =
                std::make_unique<FileStore>(user, machine, dir + "/autostart", dir + "/machine-autostart");
        else
            store = std::make_unique<UngroupedFileStore>(user, machine, dir + "/autostart",
                                                         dir + "/machine-autostart");
        store->mount(Root::LocalMachine, makeZoneCatalogue(zoneinfo(), clock));
        app = std::make_unique<AppState>(*store, clock, shell, asker, Paths{});
        app->settings.SettingsRoot = Root::CurrentUser;
        if (!loadSettings(*store, app->settings, app->zones, "E99012")) std::abort();
        chooseZones();
    }
    // Five zones chosen, as the menu reads them back from the store after each OK.
    void chooseZones() {
        const char* chosen[] = {"Europe/Berlin", "Asia/Tokyo", "America/New_York", "Australia/Sydney", "UTC"};
        for (int i = 0; i < 5; ++i) app->zones.ZoneList[static_cast<std::size_t>(i + 1)] = chosen[i];
    }
    ~Fixture() { std::filesystem::remove_all(dir); }

    // Opens the dialog and runs events until it has painted.
    frmPrefs* open() {
        auto* window = new frmPrefs(*app, dialogs, dir, dir + "/tavrin", PrefsHooks{});
        bool painted = false;
        QObject::connect(window, &frmPrefs::firstPaint, [&painted] { painted = true; });
        window->show();
        while (!painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return window;
    }

    SystemClock clock;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    test::FakeCommonDialogs dialogs;
    std::string dir;
    std::unique_ptr<FileStore> store;
    std::unique_ptr<AppState> app;
};

}  // namespace

// A fresh catalogue: every zone's file is read and its year worked out, as at the first opening.
void BM_OpenToFirstPaintFirstTime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<Fixture>();
        state.ResumeTiming();
        delete f->open();
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaintFirstTime)->Unit(benchmark::kMillisecond)->Iterations(10);

// The catalogue as the running program holds it after the first opening.
void BM_OpenToFirstPaintAgain(benchmark::State& state) {
    Fixture f;
    delete f.open();
    for (auto _ : state) delete f.open();
}
BENCHMARK(BM_OpenToFirstPaintAgain)->Unit(benchmark::kMillisecond);

// One letter typed into the filter, or taken away, with the list repainted: the widest change, from
// every zone to those holding an "a" and back.
void BM_FilterKeystroke(benchmark::State& state) {
    Fixture f;
    QPointer<frmPrefs> window = f.open();
    bool letter = false;
    for (auto _ : state) {
        letter = !letter;
        window->zoneFilterEdit()->setText(letter ? "a" : "");
        window->zoneView()->viewport()->repaint();
    }
    delete window.data();
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

// "OK" with five zones chosen and a format changed: every value into the settings file, the close.
// The argument 0 measures the store writing each value on its own, as it did before changes were
// grouped.
void BM_Ok(benchmark::State& state) {
    Fixture f(state.range(0) != 0);
    delete f.open();
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        f.chooseZones();
        QPointer<frmPrefs> window = f.open();
        flip = !flip;
        window->dateFormatEdit()->setText(flip ? "dd/mm/yy" : "mm/dd/yy");
        state.ResumeTiming();
        window->saveAndClose();
        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete window.data();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Ok)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
