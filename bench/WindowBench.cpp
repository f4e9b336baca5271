// Cost of one pass of the simulator in its real window (the whole assembly, its lab closed): a
// control cycle drawn into the Qt canvas and presented to the window's backing store, at several
// window sizes, with the path display off and on. The device pixel ratio comes from the environment
// (QT_SCALE_FACTOR).

#include "QuietStartUp.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/Simulation.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/Form1.h"
#include "desktop/PersistentCanvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace servo;

void BM_WindowPass(benchmark::State& run) {
    const int width = static_cast<int>(run.range(0));
    const int height = static_cast<int>(run.range(1));
    const bool pathShown = run.range(2) != 0;

    DesktopSimulator simulator; // the lab closed, no cue shown
    SimulationState& state = simulator.state;
    Controls& controls = simulator.controls;
    Form1& form = simulator.form;
    testing::quietStartUp(state, form);
    Simulation& simulation = simulator.simulation;
    form.setWindowState(Qt::WindowNoState);
    form.resize(width, height);
    QCoreApplication::processEvents();
    if (pathShown) {
        pathButtonClicked(state, controls);
    }
    // Keep the arm moving: the x,y scheme hunts around this target for ever.
    servoBoxPressed(state, controls, CheckBox::Check2);
    state.targetX = 420;
    state.targetY = 70;
    DrawingArea& area = form.drawingArea();
    for (int i = 0; i < 50; ++i) { // settle caches and the first full-window paint
        simulation.pass();
        area.present();
        QCoreApplication::processEvents();
    }

    for (auto _ : run) {
        const auto begin = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        simulation.pass();
        area.present();
        const auto end = std::chrono::steady_clock::now();
        run.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    run.counters["dpr"] = form.devicePixelRatioF();
    run.counters["Mpx"] =
        width * height * form.devicePixelRatioF() * form.devicePixelRatioF() / 1e6;
}

} // namespace

// Arguments: window width, height (device-independent pixels), path display (0 off, 1 on).
BENCHMARK(BM_WindowPass)
    ->ArgNames({"w", "h", "path"})
    ->ArgsProduct({{1280}, {1024}, {0, 1}})
    ->ArgsProduct({{1920}, {1080}, {0, 1}})
    ->ArgsProduct({{3840}, {2160}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(600)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareApplicationDefaults();
    QApplication application(argc, argv);
    prepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
