#include "core/lesson/Goals.h"

#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/ScriptWords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace servo {

namespace {

using Words = std::vector<std::string>;

// The largest figure a goal may state: beyond any the simulator reaches.
constexpr double MaxGoalFigure = 1e6;
// Half a cycle of lab time (s): a settling time judged at T seconds is judged at the cycle
// that ends T seconds after the change, whatever the rounding of its time.
constexpr double TimeTolerance = 1e-9;

// Reads a goal's arguments (the words after its word) into it: empty, or what is wrong.
using ArgumentReader = std::string (*)(const Words& words, Goal& into);
using Check = void (*)(const Goal& goal, const CycleFacts& facts, GoalProgress& progress);

struct GoalRow {
    GoalKind kind;
    const char* word;
    bool target;
    ArgumentReader read;
    Check check;
    const char* text; // %s: the limit (reach: the radius, the cycle, the stay)
};

std::string readLimit(const Words& words, Goal& into) {
    if (std::string error = argumentsError(words, 1); !error.empty()) {
        return error;
    }
    const auto limit = readNumber(words[1], 0, MaxGoalFigure);
    into.limit = limit.value.value_or(0);
    return limit.error;
}

std::string readNothing(const Words& words, Goal&) {
    return argumentsError(words, 0);
}

// "R by N stay M"
std::string readReach(const Words& words, Goal& into) {
    if (words.size() != 6 || words[2] != "by" || words[4] != "stay") {
        return tr("expected reach R by N stay M");
    }
    const auto radius = readNumber(words[1], 0, MaxGoalFigure);
    const auto by = readInteger(words[3], 1, MaxPassesPerCycles);
    const auto stay = readInteger(words[5], 1, MaxPassesPerCycles);
    for (const std::string* error : {&radius.error, &by.error, &stay.error}) {
        if (!error->empty()) {
            return *error;
        }
    }
    into.limit = *radius.value;
    into.by = *by.value;
    into.stay = *stay.value;
    return {};
}

void decide(GoalProgress& progress, GoalStatus status, long long cycle) {
    progress.status = status;
    progress.decidedAt = cycle;
}

void checkReach(const Goal& goal, const CycleFacts& facts, GoalProgress& progress) {
    progress.figure = facts.error;
    if (facts.error > goal.limit) {
        progress.runStart = 0;
    } else if (progress.runStart == 0 && facts.cycle <= goal.by) {
        progress.runStart = facts.cycle;
    }
    if (progress.runStart != 0 && facts.cycle - progress.runStart + 1 >= goal.stay) {
        decide(progress, GoalStatus::Met, facts.cycle);
    } else if (progress.runStart == 0 && facts.cycle >= goal.by) {
        decide(progress, GoalStatus::Failed, facts.cycle);
    }
}

void checkSettle(const Goal& goal, const CycleFacts& facts, GoalProgress& progress) {
    if (facts.secondsSinceChange + TimeTolerance < goal.limit) {
        return;
    }
    progress.figure = facts.settling;
    const bool settled =
        !std::isnan(facts.settling) && facts.settling <= goal.limit + TimeTolerance;
    decide(progress, settled ? GoalStatus::Met : GoalStatus::Failed, facts.cycle);
}

// A condition on the largest value seen (NaN values are not seen yet).
void keepAtMost(double value, const Goal& goal, const CycleFacts& facts, GoalProgress& progress) {
    if (std::isnan(value)) {
        return;
    }
    progress.figure = std::isnan(progress.figure) ? value : std::max(progress.figure, value);
    if (value > goal.limit) {
        decide(progress, GoalStatus::Failed, facts.cycle);
    }
}

const std::vector<GoalRow>& goalTable() {
    static const std::vector<GoalRow> table{
        {GoalKind::Reach, "reach", true, readReach, checkReach,
         N_("Reach within %s arm units by cycle %s and stay %s cycles")},
        {GoalKind::Overshoot, "overshoot", false, readLimit,
         [](const Goal& g, const CycleFacts& f, GoalProgress& p) {
             keepAtMost(f.overshoot, g, f, p);
         },
         N_("Overshoot at most %s percent")},
        {GoalKind::Settle, "settle", true, readLimit, checkSettle, N_("Settle within %s s")},
        {GoalKind::JointStep, "joint-step", false, readLimit,
         [](const Goal& g, const CycleFacts& f, GoalProgress& p) {
             keepAtMost(f.jointStep, g, f, p);
         },
         N_("No joint turns more than %s rad in a cycle")},
        {GoalKind::Torque, "torque", false, readLimit,
         [](const Goal& g, const CycleFacts& f, GoalProgress& p) { keepAtMost(f.torque, g, f, p); },
         N_("Peak torque at most %s N m")},
        {GoalKind::InReach, "in-reach", false, readNothing,
         [](const Goal&, const CycleFacts& f, GoalProgress& p) {
             if (f.outOfReach) {
                 p.figure = static_cast<double>(f.cycle);
                 decide(p, GoalStatus::Failed, f.cycle);
             }
         },
         N_("Never out of reach")},
        {GoalKind::NotSingular, "not-singular", false, readLimit,
         [](const Goal& g, const CycleFacts& f, GoalProgress& p) {
             p.figure =
                 std::isnan(p.figure) ? f.manipulability : std::min(p.figure, f.manipulability);
             if (f.manipulability < g.limit) {
                 decide(p, GoalStatus::Failed, f.cycle);
             }
         },
         N_("Never singular: the manipulability stays at least %s")},
        {GoalKind::Gain, "gain", false, readLimit,
         [](const Goal& g, const CycleFacts& f, GoalProgress& p) { keepAtMost(f.gain, g, f, p); },
         N_("Gain at most %s")},
        {GoalKind::OwnLaw, "own-law", false, readNothing,
         [](const Goal&, const CycleFacts& f, GoalProgress& p) {
             if (!f.ownLaw) {
                 decide(p, GoalStatus::Failed, f.cycle);
             }
         },
         N_("With your own law")},
    };
    return table;
}

const GoalRow& rowOf(GoalKind kind) {
    for (const GoalRow& row : goalTable()) {
        if (row.kind == kind) {
            return row;
        }
    }
    return goalTable().front();
}

// Four significant digits, as the goal list shows a figure.
std::string shortNumber(double value) {
    if (std::isnan(value)) {
        return "-";
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", value);
    return exactNumber(std::strtod(buffer, nullptr));
}

} // namespace

GoalReading readGoal(const std::string& text) {
    const Words words = splitWords(text);
    GoalReading reading;
    for (const GoalRow& row : goalTable()) {
        if (!words.empty() && words[0] == row.word) {
            reading.goal.kind = row.kind;
            reading.error = row.read(words, reading.goal);
            return reading;
        }
    }
    reading.error =
        filled(tr("unknown goal %s (%s)"), {quoted(words.empty() ? "" : words[0]), goalWords()});
    return reading;
}

std::string writeGoal(const Goal& goal) {
    const GoalRow& row = rowOf(goal.kind);
    if (goal.kind == GoalKind::Reach) {
        return std::string(row.word) + " " + exactNumber(goal.limit) + " by " +
               std::to_string(goal.by) + " stay " + std::to_string(goal.stay);
    }
    if (row.read == readNothing) {
        return row.word;
    }
    return std::string(row.word) + " " + exactNumber(goal.limit);
}

bool isTarget(GoalKind kind) {
    return rowOf(kind).target;
}

GoalProgress startProgress(const Goal& goal) {
    GoalProgress progress;
    progress.status = isTarget(goal.kind) ? GoalStatus::Pending : GoalStatus::Met;
    return progress;
}

void checkGoal(const Goal& goal, const CycleFacts& facts, GoalProgress& progress) {
    const bool target = isTarget(goal.kind);
    if ((target && progress.status != GoalStatus::Pending) ||
        (!target && progress.status == GoalStatus::Failed)) {
        return;
    }
    rowOf(goal.kind).check(goal, facts, progress);
}

std::string goalText(const Goal& goal) {
    return filled(tr(rowOf(goal.kind).text),
                  {exactNumber(goal.limit), std::to_string(goal.by), std::to_string(goal.stay)});
}

std::string progressText(const Goal& goal, const GoalProgress& progress) {
    std::string state;
    const std::string cycle = std::to_string(progress.decidedAt);
    if (progress.status == GoalStatus::Pending) {
        state = tr("pending");
    } else if (progress.status == GoalStatus::Failed) {
        state = filled(tr("failed at cycle %s"), {cycle});
    } else {
        state = isTarget(goal.kind) ? filled(tr("met at cycle %s"), {cycle}) : tr("holding");
    }
    return std::isnan(progress.figure) ? state : state + " (" + shortNumber(progress.figure) + ")";
}

std::string goalWords() {
    std::string words;
    for (const GoalRow& row : goalTable()) {
        words += (words.empty() ? "" : ", ") + std::string(row.word);
    }
    return words;
}

} // namespace servo
