#pragma once

#include "core/commands/Commands.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/Goals.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// A challenge: a task a teacher sets, checked by the program. Its text is an experiment (the
// set-up) under its own first line, ChallengeHeader, with these keys besides the experiment's:
// title=, task=, lock= (controls, comma separated: see lockWords), goal= (one a line, see
// readGoal), combine=all|any, hint= (one a line). Its link is the same keys after "c=1",
// percent-encoded, goal= and hint= repeated.
struct Challenge {
    Experiment setUp;
    std::string title;
    std::string task;
    std::vector<std::string> locks; // words of lockWords
    std::vector<Goal> goals;
    bool any = false; // met when any target is met (else all)
    std::vector<std::string> hints;

    bool operator==(const Challenge&) const;
};

inline constexpr const char* ChallengeHeader = "servo-challenge 1";
inline constexpr const char* ChallengeLinkVersion = "c=1";

struct ChallengeReading {
    std::optional<Challenge> challenge;
    std::string error;   // "line 4: goal: unknown goal 'win' (...)"
    int errorLine = 0;   // of a text; 0 for a link
    std::string problem; // without the line
    std::vector<std::string> warnings;
};
ChallengeReading readChallenge(std::string_view text, int firstLineNumber = 1);
std::string writeChallenge(const Challenge& challenge);
ChallengeReading readChallengeLink(std::string_view hash);
std::string challengeLink(const Challenge& challenge);

// Whether an experiment sets the challenge's set-up up again: the same but for the looks and
// the pace (speed, lab panel, cues, projector, path, grid), as a recording of an attempt
// starts with it.
bool sameSetUp(const Experiment& setUp, const Experiment& experiment);

// The controls a challenge may lock: "scheme, elbow, gain, target, wrist, motor, tune".
std::string lockWords();
// Why a locked control refuses an input (its trace line's words), translated; empty when no
// lock of the list holds it.
std::string lockedInput(const std::vector<std::string>& locks,
                        const std::vector<std::string>& words);
// The same for a menu item.
std::string lockedItem(const std::vector<std::string>& locks, Command command);

// An attempt at a challenge, checked cycle by cycle.
class Attempt {
public:
    explicit Attempt(const Challenge& challenge);
    const Challenge& challenge() const { return challenge_; }
    const std::vector<GoalProgress>& progress() const { return progress_; }

    // After a running cycle (the lab's state as it left it).
    void afterCycle(const CycleFacts& facts);
    // Met or failed once decided (and then no cycle changes a goal), else pending.
    GoalStatus verdict() const { return verdict_; }
    long long decidedAt() const { return decidedAt_; }
    long long cycles() const { return cycles_; }

    // "Challenge met at cycle N", "Challenge not met (failed at cycle N)" or "Challenge
    // pending", translated, then each goal's line: its text, its state and figure.
    std::vector<std::string> report() const;
    // The report's first line alone.
    std::string verdictText() const;

private:
    GoalStatus judged() const;

    Challenge challenge_;
    std::vector<GoalProgress> progress_;
    GoalStatus verdict_ = GoalStatus::Pending;
    long long decidedAt_ = 0;
    long long cycles_ = 0;
};

} // namespace servo
