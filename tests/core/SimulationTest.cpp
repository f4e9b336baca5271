#include "TestWorld.h"

#include "core/simulation/StartUp.h"
#include "core/teaching/Grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace servo::testing {
namespace {

// The run states in which the cycles of one pass ran, as the after-cycle hook saw them.
std::vector<int> cyclesOfOnePass(World& w) {
    std::vector<int> seen;
    w.headless.simulation.setAfterCycle([&](bool) { seen.push_back(w.state.runState); });
    w.cycle();
    return seen;
}

TEST(Simulation, APassRunsOneCycleWhileRunningOrStoppedAndNoneAtTheEnd) {
    World w;
    EXPECT_EQ(cyclesOfOnePass(w), std::vector<int>{RunRunning});
    stopClicked(w.state);
    EXPECT_EQ(cyclesOfOnePass(w), std::vector<int>{RunStopped});
    windowClosing(w.state);
    EXPECT_TRUE(cyclesOfOnePass(w).empty());
}

TEST(Simulation, AStopDuringTheGridsYieldIsFollowedByTheStoppedCycleInTheSamePass) {
    World w;
    w.state.gridOn = 1;
    w.onYield = [&] { stopClicked(w.state); };
    EXPECT_EQ(cyclesOfOnePass(w), (std::vector<int>{RunStopped, RunStopped}));
    EXPECT_EQ(w.yields, 1); // the stopped cycle only redraws the arm
}

TEST(StartUp, TheFirstCycleWaitsForTheSecondHalf) {
    SimulationState state;
    Controls controls(state);
    NoWindow window;
    startUpUntilNotice(state, controls, window);
    EXPECT_EQ(state.runState, RunRunning);
    EXPECT_EQ(state.firstCycle, 0);
    EXPECT_EQ(state.servoType, 0);
    EXPECT_TRUE(controls.isChecked(CheckBox::Check7));
    startUpAfterNotice(state, controls, window);
    EXPECT_EQ(state.firstCycle, 1);
    EXPECT_EQ(state.servoType, ServoReverseKinematic);
    EXPECT_TRUE(controls.isChecked(CheckBox::Check1));
}

} // namespace
} // namespace servo::testing
