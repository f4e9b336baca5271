// A long headless run: cycles through the three servo schemes, the elbow configurations, the
// gripper, the wrist setting and targets across and far beyond the arm's reach, changing every
// 1,000 cycles. Prints the worst drift of the figure's rigidity and the peak memory, and fails
// when either passes its bound or any value stops being finite.
//
// usage: soak [CYCLES]   (default 10,000,000)

#include "FigureChecks.h"
#include "core/simulation/Handlers.h"
#include "core/teaching/Grid.h"
#include "headless/HeadlessSimulation.h"

#include <sys/resource.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace servo;

// Bounds, with a wide margin over what 10,000,000 cycles measure (see the README).
constexpr double RigidityDriftLimit = 1e-9; // arm units
constexpr long PeakMemoryLimitKiB = 64 * 1024;

// Targets in window units: in reach, at the edges, beyond the reach, far off the window.
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
    HeadlessPanel& panel = headless.panel;
    DisplayList& surface = headless.surface;

    double worstDrift = 0;
    for (long long cycle = 0; cycle < cycles; ++cycle) {
        if (cycle % 1000 == 0) {
            const long long k = cycle / 1000;
            const auto servoBox = static_cast<CheckBox>(k % 3 + 1);
            servoBoxPressed(state, panel, servoBox);
            panel.toggle(servoBox);
            panel.toggle(static_cast<CheckBox>((k / 3) % 4 + 4));
            if ((k / 12) % 2 == 0) {
                openGripperClicked(state);
            } else {
                closeGripperClicked(state);
            }
            const auto& target = Targets[static_cast<std::size_t>((k * 7) % Targets.size())];
            surfacePressed(state, surface, target[0], target[1]);
            surfaceReleased(state);
            panel.setWristScrollPosition(static_cast<int>((k * 7919) % 32768));
            if (k % 17 == 0) {
                pathButtonClicked(state, panel);
            }
            if (k % 23 == 0) {
                gridMenuClicked(state, surface, panel);
            }
            if (k % 29 == 0) {
                stopClicked(state);
            } else {
                runClicked(state);
            }
            worstDrift = std::max(worstDrift, worstRigidityDrift(state));
            if (!allFinite(state)) {
                std::printf("soak: a value stopped being finite by cycle %lld\n", cycle);
                return 1;
            }
        }
        surface.forget();
        headless.simulation.pass();
    }
    worstDrift = std::max(worstDrift, worstRigidityDrift(state));
    const long peak = peakMemoryKiB();
    std::printf("soak: %lld cycles, worst rigidity drift %.3g arm units (limit %.0e), "
                "peak memory %ld KiB (limit %ld KiB)\n",
                cycles, worstDrift, RigidityDriftLimit, peak, PeakMemoryLimitKiB);
    const bool ok =
        allFinite(state) && worstDrift <= RigidityDriftLimit && peak <= PeakMemoryLimitKiB;
    return ok ? 0 : 1;
}
