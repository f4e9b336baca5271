// Prints what resolved rate does after target jumps from random poses, over many seeded runs:
// the largest joint step, how far a step leaves the straight line to the target, and whether
// a step ever takes the effector further away.
//
// usage: resolved-rate-figures [RUNS [CYCLES [SEED]]]   (10000 runs of 25 cycles, seed 1)
#include "ResolvedRateRuns.h"

#include "core/servo/JacobianServos.h"
#include "core/state/Geometry.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    using namespace servo;
    using namespace servo::testing;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 25;
    const auto seed = static_cast<unsigned>(argc > 3 ? std::atoi(argv[3]) : 1);
    const ResolvedRateFigures f = runResolvedRate(seed, runs, cycles);
    std::printf(
        "| resolved rate, %d jumps from random poses, %d cycles each (seed %u) | figure |\n", runs,
        cycles, seed);
    std::printf("|---|---|\n");
    std::printf("| steps taken / cycles SINGULAR | %d / %d |\n", f.steps, f.singularCycles);
    std::printf("| largest joint step (bound %.2f rad) | %.4f rad (%.1f degrees) |\n", MaxJointStep,
                f.largestJointStep, f.largestJointStep * DegreesPerRadian);
    std::printf("| largest distance of a step's end from its line, det J at least %.0f %% of its "
                "largest / below it | %.5f / %.5f arm units |\n",
                NearSingularShare * 100, f.largestOffLine, f.largestOffLineNearSingular);
    std::printf("| steps more than 1 arm unit off the line | %d |\n", f.stepsOffLineOverOneUnit);
    std::printf("| largest distance to the target after a step over before it, away / near | "
                "%.4f / %.4f |\n",
                f.largestGrowth, f.largestGrowthNearSingular);
    return 0;
}
