// Speed of the simulation core without a window: control cycles per second for each servo
// scheme, with a surface that records nothing and with the recording surface, and the cost of
// one redraw of the arm; the cost of one simulated second with dynamics on, for each motor law;
// reading the largest recording and experiment a file may hold.

#include "NullSurface.h"
#include "core/display/DisplayList.h"
#include "core/dynamics/DynamicsSettings.h"
#include "core/figure/ArmRenderer.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/Recording.h"
#include "core/ownlaw/ExampleLaws.h"
#include "core/ownlaw/OwnLaw.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/Simulation.h"
#include "headless/HeadlessSimulation.h"

#include <benchmark/benchmark.h>

namespace {

using namespace servo;
using servo::testing::NullSurface;

// A surface that keeps every operation but forgets them once per cycle, as a frame would.
template <class Surface> void forgetFrame(Surface&) {}
template <> void forgetFrame(DisplayList& surface) {
    surface.forget();
}

template <class Surface> void controlCycles(benchmark::State& run) {
    HeadlessSimulation simulation;
    SimulationState& state = simulation.state;
    Controls& controls = simulation.controls;
    servoBoxPressed(state, controls, static_cast<CheckBox>(run.range(0)));
    // A target the scheme keeps working on: the x,y scheme hunts here for ever, the others
    // settle and go on stepping.
    state.targetX = 420;
    state.targetY = 70;
    Surface surface;
    Simulation passes(state, surface, controls);
    for (auto _ : run) {
        forgetFrame(surface);
        passes.pass();
    }
    benchmark::DoNotOptimize(state.shoulderAngle);
    run.SetItemsProcessed(run.iterations());
    run.counters["cycles/s"] =
        benchmark::Counter(static_cast<double>(run.iterations()), benchmark::Counter::kIsRate);
}

void BM_ControlCycle_NullSurface(benchmark::State& run) {
    controlCycles<NullSurface>(run);
}
void BM_ControlCycle_DisplayList(benchmark::State& run) {
    controlCycles<DisplayList>(run);
}

void BM_RedrawArm(benchmark::State& run) {
    HeadlessSimulation simulation;
    SimulationState& state = simulation.state;
    NullSurface surface;
    double angle = 0;
    for (auto _ : run) {
        angle += 0.001;
        state.shoulderAngle = angle;
        state.elbowAngle = -angle;
        state.wristAngle = 0.5 * angle;
        redrawArm(state, surface);
    }
    benchmark::DoNotOptimize(state.pointX[73]);
}

// One simulated second (60 lab steps of 17 internal steps each) with dynamics on, the reverse
// kinematic scheme at gain 5 stepping the target back and forth every half second.
void BM_DynamicsSimulatedSecond(benchmark::State& run) {
    HeadlessSimulation simulation;
    SimulationState& state = simulation.state;
    dynamicsSwitched(state, true);
    motorLawChosen(state, static_cast<MotorLaw>(run.range(0)));
    state.gain = 5;
    NullSurface surface;
    Simulation passes(state, surface, simulation.controls);
    constexpr int LabStepsPerSecond = 60;
    for (auto _ : run) {
        for (int step = 0; step < LabStepsPerSecond; ++step) {
            state.targetX = step < LabStepsPerSecond / 2 ? 380 : 250;
            state.targetY = step < LabStepsPerSecond / 2 ? 60 : 40;
            passes.pass();
        }
    }
    benchmark::DoNotOptimize(state.shoulderAngle);
    run.counters["lab steps/s"] = benchmark::Counter(
        static_cast<double>(run.iterations() * LabStepsPerSecond), benchmark::Counter::kIsRate);
}

// One call of a student's law, PD + gravity compensation written out (the third example):
// law(s) (argument 0, kinematic) and torque(s) (argument 1, at one internal step): the sandbox's
// protected call, the table s with its vectors and matrices, the law's Lua and its result read
// back.
void BM_OwnLawCall(benchmark::State& run) {
    HeadlessSimulation simulation;
    SimulationState& state = simulation.state;
    state.shoulderAngle = 0.3;
    state.elbowAngle = -1.2;
    state.desiredX = 40;
    state.desiredY = 10;
    OwnLaw law;
    law.apply(englishExampleSource(exampleLaws()[2]));
    const bool torque = run.range(0) == 1;
    const JointGains gains = jointGains(Arm, 10, 0.7);
    const Vector3 q{0.3, -1.2, 0.4};
    const Vector3 speeds{0.1, 0.2, 0.3};
    const Vector3 reference{0.5, -1, 0};
    const Vector3 integral{};
    const MotorInput input{state, Arm, gains, 10, 0.7, 0, q, speeds, reference, integral};
    Vector3 out{};
    for (auto _ : run) {
        benchmark::DoNotOptimize(torque ? law.jointTorques(input, out)
                                        : law.jointSteps(state, out));
    }
    benchmark::DoNotOptimize(out);
    if (law.status() != LawStatus::Running) {
        run.SkipWithError(law.error().message.c_str());
    }
}

// How long a runaway loop runs before the sandbox stops it ("your law took too long").
void BM_OwnLawRunawayStops(benchmark::State& run) {
    HeadlessSimulation simulation;
    OwnLaw law;
    Vector3 out{};
    for (auto _ : run) {
        run.PauseTiming();
        law.apply("function law(s) local n = 0 while true do n = n + 1 end end");
        run.ResumeTiming();
        benchmark::DoNotOptimize(law.jointSteps(simulation.state, out));
    }
}

} // namespace

// Argument: 0 law(s), 1 torque(s).
BENCHMARK(BM_OwnLawCall)->ArgName("torque")->DenseRange(0, 1);
BENCHMARK(BM_OwnLawRunawayStops)->Unit(benchmark::kMillisecond);

// Argument: the motor law (0 none, 1 P, 2 PD, 3 PD + gravity, 4 PID, 5 computed torque,
// 6 Jacobian transpose + gravity).
BENCHMARK(BM_DynamicsSimulatedSecond)
    ->ArgName("law")
    ->DenseRange(0, 6)
    ->Unit(benchmark::kMicrosecond);

// Argument: the servo scheme (1 reverse kinematic, 2 forward x,y, 3 forward R,theta).
BENCHMARK(BM_ControlCycle_NullSurface)->ArgName("scheme")->DenseRange(1, 3);
BENCHMARK(BM_ControlCycle_DisplayList)->ArgName("scheme")->DenseRange(1, 3);
BENCHMARK(BM_RedrawArm);

// Reading the largest recording a file may hold (a drag on every pass), and the largest
// experiment (all unknown keys): what a user waits for before a replay or an experiment starts.
void BM_LoadLargestRecording(benchmark::State& run) {
    std::string script = "reset\n";
    for (int i = 0; script.size() + 64 < static_cast<std::size_t>(MaxRecordingBytes); ++i) {
        script += "move " + std::to_string(200 + i % 200) + ".25 " + std::to_string(i % 130) +
                  ".5\ncycles 1\n";
    }
    for (auto _ : run) {
        Player player;
        benchmark::DoNotOptimize(player.load(script));
    }
}
BENCHMARK(BM_LoadLargestRecording)->Unit(benchmark::kMillisecond);

void BM_ReadLargestExperiment(benchmark::State& run) {
    std::string text = std::string(ExperimentHeader) + "\n";
    while (text.size() + 16 < static_cast<std::size_t>(MaxExperimentBytes)) {
        text += "colour=red\n";
    }
    for (auto _ : run) {
        benchmark::DoNotOptimize(readExperiment(text));
    }
}
BENCHMARK(BM_ReadLargestExperiment)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
