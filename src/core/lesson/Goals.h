#pragma once

#include <limits>
#include <string>
#include <vector>

namespace servo {

// A challenge's goals: what the core checks of an attempt at every running cycle. Each kind is
// one row of the goal table (Goals.cpp): its word, how its line reads, how a cycle decides it.
// A target goal (reach, settle) is pending until the attempt achieves it or can no longer; a
// condition (the others) holds, and so counts as met, until a cycle breaks it. Either, once
// met or failed, stays so.
enum class GoalKind {
    Reach,
    Overshoot,
    Settle,
    JointStep,
    Torque,
    InReach,
    NotSingular,
    Gain,
    OwnLaw
};

struct Goal {
    GoalKind kind = GoalKind::Reach;
    double limit = 0;   // arm units, %, s, rad, N m, arm units squared or the gain: see the table
    long long by = 0;   // reach: the cycle by which the stay must have begun
    long long stay = 0; // reach: the cycles the effector stays within `limit`
};

// What a running cycle shows the goals, measured after its servo step.
struct CycleFacts {
    long long cycle = 0;           // running cycles since the challenge started, from 1
    double error = 0;              // effector to desired point, arm units
    bool outOfReach = false;       // see isOutOfReach
    double manipulability = 0;     // as the lab shows it, arm units squared
    double overshoot = 0;          // % of the way, NaN while not reached
    double settling = 0;           // s, NaN while not settled
    double secondsSinceChange = 0; // of the desired point or the scheme
    double jointStep = 0;          // the largest joint turn of this cycle, rad
    double torque = 0;             // the largest joint torque so far of the response, N m
    double gain = 0;
    bool ownLaw = false; // the student's law moved the arm: the scheme, or the motor law
};

enum class GoalStatus { Pending, Met, Failed };

struct GoalProgress {
    GoalStatus status = GoalStatus::Pending;
    long long decidedAt = 0; // the cycle it was met or failed at
    // The figure it is judged by: reach the error, settle the settling time, the conditions the
    // worst value seen (the smallest manipulability, the cycles out of reach).
    double figure = std::numeric_limits<double>::quiet_NaN();
    long long runStart = 0; // reach: the first cycle of the stay under way; 0 for none
};

// A goal line's value ("reach 2 by 30 stay 10"): the goal, or what is wrong with it.
struct GoalReading {
    Goal goal;
    std::string error;
};
GoalReading readGoal(const std::string& text);
std::string writeGoal(const Goal& goal);

// Whether the kind is a target (achieved once) rather than a condition (kept throughout).
bool isTarget(GoalKind kind);
// The progress at the start of an attempt: a condition holds, a target is pending.
GoalProgress startProgress(const Goal& goal);
// Decides a goal still pending (or a condition holding) by one cycle's facts.
void checkGoal(const Goal& goal, const CycleFacts& facts, GoalProgress& progress);

// The goal as the challenge's list shows it, translated ("Never out of reach").
std::string goalText(const Goal& goal);
// Its state with its figure, translated ("met at cycle 25 (0.8)").
std::string progressText(const Goal& goal, const GoalProgress& progress);
// The goal words, for a message: "reach, overshoot, ...".
std::string goalWords();

} // namespace servo
