// The clock's per-second cost: a tick that finds nothing changed, and a full composition of a
// three-line face with scheme pictures.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/clock/ClockFace.h"
#include "core/clock/WeekdayLine.h"
#include "core/state/AppState.h"
#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "ui/clock/QtFaceRenderer.h"
#include "ui/clock/frmClock.h"

using namespace tavrin;

namespace {

QApplication& application() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_frmClockFace";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down while the process exits gains nothing and can crash.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct Fixture {
    Fixture() {
        application();
        Settings& s = app.settings;
        s.DateFormat = "mm/dd/yy";
        s.TimeFormat = "h:mm AM/PM";
        s.TForeColor = "0";
        s.DForeColor = "0";
        s.ColScheme = "E99012";
        s.TimeFont = "ARIAL";
        s.DateFont = "TAHOMA";
        s.TimeSize = "8";
        s.DateSize = "6";
        s.TimeBold = "1";
        s.DateBold = "0";
    }
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2005, 3, 7, 21, 5, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
};

QImage picture(const char* name) {
    return QImage(QString(TAVRIN_SOURCE_DIR "/Images/") + name).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

// A 12-hour time refreshed, the tray area re-read, the frame's inputs compared: nothing to draw.
void BM_TickNothingChanged(benchmark::State& state) {
    Fixture f;
    frmClock w(f.app, TAVRIN_SOURCE_DIR);
    w.mainLoopStep();
    w.mainLoopStep();
    const int composed = w.compositions();
    for (auto _ : state) w.mainLoopStep();
    if (w.compositions() != composed) state.SkipWithError("a frame was composed");
}
BENCHMARK(BM_TickNothingChanged);

// Layout and composition of a 60-pixel-high face: colour, three pictures, time, weekday and date.
void BM_ComposeThreeLineFace(benchmark::State& state) {
    Fixture f;
    const std::array<QImage, 3> layers{picture("def_blue.gif"), picture("def_blue_top.gif"),
                                       picture("def_blue_center.gif")};
    FaceInputs in;
    in.trayWidth = 80;
    in.trayHeight = 60;
    in.timeText = "9:05 PM";
    in.dateText = "03/07/05";
    in.timeFormat = f.app.settings.TimeFormat;
    in.weekdayText = weekdayLine(in.dateText, f.app.settings.DateFormat, f.clock.localNow());
    in.timeStyle = timeStyle(f.app.settings);
    in.dateStyle = dateStyle(f.app.settings);
    in.measureStyle = in.dateStyle;
    in.schemeHasImages = true;
    for (std::size_t i = 0; i < 3; ++i) in.layers[i] = ImageSize{layers[i].width(), layers[i].height()};
    QtTextMetrics metrics;
    QImage surface(80, 60, QImage::Format_RGB32);
    const QColor background = colourOfText(f.app.settings.ColScheme);
    for (auto _ : state) {
        const FaceLayout layout = layoutFace(in, metrics);
        composeFace(surface, background, layout, layers, metrics);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_ComposeThreeLineFace);

// The window's whole step when the date changed: new inputs, layout, composition.
void BM_StepWithNewFrame(benchmark::State& state) {
    Fixture f;
    frmClock w(f.app, TAVRIN_SOURCE_DIR);
    bool flip = false;
    for (auto _ : state) {
        w.setTexts("9:05 PM", (flip = !flip) ? "03/07/05" : "03/08/05");
        w.mainLoopStep();
    }
}
BENCHMARK(BM_StepWithNewFrame);
