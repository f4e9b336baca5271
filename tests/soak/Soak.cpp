// A long headless run through the program's pass, drawing into a display list: every
// combination of target and servo scheme, with the elbow configurations, the gripper, the
// wrist setting, the path, the grid and stopping mixed in, changing every 1,000 cycles.
// Prints the worst drift of the figure (its rigidity, and its joint centres against forward
// kinematics) and the peak memory; fails when either passes its bound or any value stops
// being finite.
//
// usage: soak [CYCLES]   (default 10,000,000)

#include "FigureChecks.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/teaching/Grid.h"
#include "headless/HeadlessSimulation.h"

#include <sys/resource.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace servo;

// Bounds: 10,000,000 cycles measure a worst rigidity drift of 6e-11 and a worst joint drift of
// 4e-8 arm units (sustained x,y hunting); the bounds leave a factor of about 25.
constexpr double DriftLimit = 1e-6; // arm units
constexpr long PeakMemoryLimitKiB = 64 * 1024;

// Targets in window units: in reach, at the edges, on the vertical through the shoulder
// (desired x of 0, with and without a desired y of 0), beyond the reach, far off the window.
constexpr std::array<std::array<float, 2>, 12> Targets{{{350, 50},
                                                        {420, 70},
                                                        {240, 110},
                                                        {300, 70},
                                                        {246, 99},
                                                        {120, 0},
                                                        {450, 130},
                                                        {300, 20},
                                                        {200, 20},
                                                        {2000, -500},
                                                        {-1e6f, 1e6f},
                                                        {301, 69}}};

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char* argv[]) {
    const long long cycles = argc > 1 ? std::atoll(argv[1]) : 10'000'000;
    HeadlessSimulation headless;
    SimulationState& state = headless.state;
    Controls& controls = headless.controls;
    DisplayList& surface = headless.surface;
    const auto& schemes = servoSchemes();

    double worstRigidity = 0;
    double worstJoints = 0;
    long long pairsRun = 0;
    for (long long cycle = 0; cycle < cycles; ++cycle) {
        if (cycle % 1000 == 0) {
            // k runs through every target with every scheme before anything else repeats.
            const long long k = cycle / 1000;
            const auto& target = Targets[static_cast<std::size_t>(k % Targets.size())];
            const CheckBox servoBox =
                schemes[static_cast<std::size_t>(k / Targets.size() % schemes.size())].box;
            pairsRun = std::max(pairsRun, std::min<long long>(k + 1, 36));
            servoBoxPressed(state, controls, servoBox);
            controls.toggle(servoBox);
            controls.toggle(static_cast<CheckBox>((k / 36) % 4 + 4));
            if ((k / 5) % 2 == 0) {
                openGripperClicked(state);
            } else {
                closeGripperClicked(state);
            }
            surfacePressed(state, surface, target[0], target[1]);
            surfaceReleased(state);
            controls.setWristScrollPosition(static_cast<int>((k * 7919) % 32768));
            if (k % 17 == 0) {
                pathButtonClicked(state, controls);
            }
            if (k % 23 == 0) {
                gridMenuClicked(state, surface, headless.simulation.yieldHook());
            }
            if (k % 29 == 0) {
                stopClicked(state);
            } else {
                runClicked(state);
            }
        }
        surface.forget();
        headless.simulation.pass();
        if (cycle % 1000 == 999 || cycle + 1 == cycles) {
            worstRigidity = std::max(worstRigidity, worstRigidityDrift(state));
            worstJoints = std::max(worstJoints, worstJointDrift(state));
            if (!allFinite(state)) {
                std::printf("soak: a value stopped being finite by cycle %lld\n", cycle);
                return 1;
            }
        }
    }
    const long peak = peakMemoryKiB();
    std::printf("soak: %lld cycles, %lld of 36 target and scheme pairs, worst rigidity drift "
                "%.3g, worst joint drift %.3g arm units (limit %.0e), peak memory %ld KiB "
                "(limit %ld KiB)\n",
                cycles, pairsRun, worstRigidity, worstJoints, DriftLimit, peak, PeakMemoryLimitKiB);
    const bool ok =
        worstRigidity <= DriftLimit && worstJoints <= DriftLimit && peak <= PeakMemoryLimitKiB;
    return ok ? 0 : 1;
}
