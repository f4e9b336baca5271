#include "ResolvedRateRuns.h"

#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/ControlCycle.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace servo::testing {

namespace {

// Steps that start this close to the target (arm units) count for no growth: rounding is all
// that is left to grow.
constexpr double ThereAlready = 1e-3;

// Distance of p from the line through a and b (from a when they coincide).
double offLine(ArmPoint a, ArmPoint b, ArmPoint p) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) {
        return std::hypot(p.x - a.x, p.y - a.y);
    }
    return std::abs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / length;
}

void takeStep(World& w, ArmPoint target, ResolvedRateFigures& f) {
    const ArmPoint before = effectorPosition(w.state);
    const double largest = w.state.upperArmLength * w.state.upperArmLength * w.state.forearmLength;
    const bool near = std::abs(determinant(taskJacobian(w.state))) < NearSingularShare * largest;
    w.cycle();
    if (w.state.singular == 1) {
        ++f.singularCycles;
        return;
    }
    ++f.steps;
    const ArmPoint after = effectorPosition(w.state);
    const double across = offLine(before, target, after);
    const double from = std::hypot(target.x - before.x, target.y - before.y);
    const double growth =
        from < ThereAlready ? 0 : std::hypot(target.x - after.x, target.y - after.y) / from;
    f.largestJointStep = std::max(f.largestJointStep, w.state.largestJointStep);
    f.stepsOffLineOverOneUnit += across > 1 ? 1 : 0;
    double& offLineFigure = near ? f.largestOffLineNearSingular : f.largestOffLine;
    offLineFigure = std::max(offLineFigure, across);
    double& growthFigure = near ? f.largestGrowthNearSingular : f.largestGrowth;
    growthFigure = std::max(growthFigure, growth);
}

} // namespace

ResolvedRateFigures runResolvedRate(unsigned seed, int runs, int steps) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> angle(-std::numbers::pi, std::numbers::pi);
    std::uniform_real_distribution<double> windowX(SurfaceLeft, SurfaceRight);
    std::uniform_real_distribution<double> windowY(SurfaceTop, SurfaceBottom);
    std::uniform_int_distribution<int> wrist(0, WristScrollMax);
    ResolvedRateFigures figures;
    figures.runs = runs;
    for (int run = 0; run < runs; ++run) {
        World w;
        w.cycle(); // the first cycle, which sets the start-up pose
        schemeChosen(w.state, w.controls, ServoResolvedRate);
        w.state.shoulderAngle = angle(random);
        w.state.elbowAngle = angle(random);
        w.state.wristAngle = angle(random);
        w.state.targetX = static_cast<float>(windowX(random));
        w.state.targetY = static_cast<float>(windowY(random));
        w.controls.setWristScrollPosition(wrist(random));
        const ArmPoint target{desiredXFromTarget(w.state.targetX),
                              desiredYFromTarget(w.state.targetY)};
        for (int step = 0; step < steps; ++step) {
            takeStep(w, target, figures);
        }
    }
    return figures;
}

} // namespace servo::testing
