#pragma once

namespace servo::testing {

// What resolved rate does after a target jump: `runs` runs from seeded random poses (shoulder,
// elbow and wrist each uniform over a turn) toward random targets anywhere on the picture with
// a random wrist setting, `steps` control cycles each, at gain 1.
struct ResolvedRateFigures {
    int runs = 0;
    int steps = 0; // steps taken (cycles that were not SINGULAR)
    int singularCycles = 0;
    double largestJointStep = 0; // radians, any joint, any step
    // How far a step's end lies from the straight line through its start and the target
    // (arm units): over the steps that start with |det J| at least NearSingularShare of its
    // largest value, and over the others.
    double largestOffLine = 0;
    double largestOffLineNearSingular = 0;
    int stepsOffLineOverOneUnit = 0; // any step
    // The effector's distance to the target after a step over before it, largest (steps that
    // start within 0.001 arm units of the target left out): over the steps away from the
    // singularity, and over the others.
    double largestGrowth = 0;
    double largestGrowthNearSingular = 0;
};
inline constexpr double NearSingularShare = 0.1;

ResolvedRateFigures runResolvedRate(unsigned seed, int runs, int steps);

} // namespace servo::testing
