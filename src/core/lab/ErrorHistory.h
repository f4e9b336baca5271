#pragma once

#include "core/simulation/ServoSchemes.h"
#include "core/state/SimulationState.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace servo {

// The plot's signals: a scheme's own (by its servo type), or in the dynamics mode the motors'
// (the largest joint error, the largest torque as a share of its limit, the fastest joint).
inline constexpr int DynamicsSignalSet = -1;
int signalSetOf(const SimulationState& state);
SignalNames plotSignalNames(int signalSet);
// Every signal set, the schemes' in their order and then the motors'.
std::vector<int> signalSets();

// One running control cycle as the error plot shows it. Signals that the scheme does not have
// are NaN.
struct ErrorSample {
    double distance; // effector to desired point, arm units
    // The scheme's own signals, as its row of the scheme table names and computes them.
    SignalValues signalValues;
    int servoType;
    int signalSet; // whose signals signalValues holds (see signalSetOf)
    bool change;   // the target or the scheme changed just before this cycle
    double raceDistance = std::numeric_limits<double>::quiet_NaN(); // the race arm's; NaN: none
    long cycle = 0; // running cycles recorded since the history was last emptied, this one counted
    double targetX = 0; // window units
    double targetY = 0;
    double shoulderAngle = 0; // radians, as the state holds them
    double elbowAngle = 0;
    double wristAngle = 0;
};

// The last Capacity running cycles' errors, and the figures since the last change of target or
// scheme: cycles since then, the settling cycle and the peak error.
class ErrorHistory {
public:
    static constexpr std::size_t Capacity = 600;
    static constexpr double SettledWithin = 0.5; // arm units

    // Takes a sample of the state as a running cycle has left it, with the race arm's distance
    // (NaN while there is no race).
    void record(const SimulationState& state, int wristScrollPosition,
                double raceDistance = std::numeric_limits<double>::quiet_NaN());
    void clear();

    // Oldest first.
    std::vector<ErrorSample> samples() const;
    std::size_t size() const { return count_; }
    // Changes with every record and every clear: a drawing of the history is out of date when
    // this differs from what it was drawn at.
    std::size_t version() const { return version_; }

    long cyclesSinceChange() const { return sinceChange_; }
    // Cycles after the change at which the distance error last came within SettledWithin and
    // has stayed there since; nothing while it is outside.
    std::optional<long> settledAt() const { return settledAt_; }
    double peakSinceChange() const { return peak_; }
    // The three figures in a line for the lab panel; during a race, the race arm's settling
    // cycle too, or while it has not settled its distance now (the transpose, say, comes within
    // a few arm units, where the picture shows it on the target, and then creeps).
    std::string summary() const;

private:
    // On the heap: a history inside an object on the stack (a WebAssembly stack is small)
    // costs it only the vector.
    std::vector<ErrorSample> ring_ = std::vector<ErrorSample>(Capacity);
    std::size_t next_ = 0;
    std::size_t count_ = 0;
    bool any_ = false;
    double lastTargetX_ = 0;
    double lastTargetY_ = 0;
    int lastServoType_ = 0;
    long sinceChange_ = 0;
    std::optional<long> settledAt_;
    std::optional<long> raceSettledAt_;
    bool racing_ = false;
    double raceDistance_ = 0; // the race arm's at the last record
    double peak_ = 0;
    std::size_t version_ = 0;
    long cycles_ = 0;
};

} // namespace servo
