#include "LessonWorld.h"

#include "core/lesson/Challenge.h"
#include "core/lesson/ChallengeView.h"
#include "core/lesson/Goals.h"
#include "core/lesson/HandIn.h"
#include "core/lesson/Lesson.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// One goal kind: its line, how a cycle's value enters the facts, and values cycle by cycle
// that meet it and that fail it at their last cycle.
struct GoalCase {
    const char* line;
    void (*set)(CycleFacts& facts, double value);
    std::vector<double> meeting;
    std::vector<double> failing;
};

const std::vector<GoalCase> goalCases{
    {"reach 2 by 3 stay 2", [](CycleFacts& f, double v) { f.error = v; }, {5, 1, 1}, {5, 5, 5}},
    {"overshoot 5", [](CycleFacts& f, double v) { f.overshoot = v; }, {NaN, 3, 5}, {3, 6}},
    {"settle 0.05", // judged at the third cycle, 60 a second
     [](CycleFacts& f, double v) {
         f.secondsSinceChange = static_cast<double>(f.cycle) / 60;
         f.settling = v;
     },
     {NaN, NaN, 2.0 / 60},
     {NaN, 1.0 / 60, NaN}},
    {"joint-step 0.1", [](CycleFacts& f, double v) { f.jointStep = v; }, {0.05, 0.1}, {0.05, 0.2}},
    {"torque 10", [](CycleFacts& f, double v) { f.torque = v; }, {5, 10}, {5, 11}},
    {"in-reach", [](CycleFacts& f, double v) { f.outOfReach = v != 0; }, {0, 0}, {0, 1}},
    {"not-singular 1", [](CycleFacts& f, double v) { f.manipulability = v; }, {3, 1}, {3, 0.5}},
    {"gain 1", [](CycleFacts& f, double v) { f.gain = v; }, {1, 1}, {1, 1.5}},
    {"own-law", [](CycleFacts& f, double v) { f.ownLaw = v != 0; }, {1, 1}, {1, 0}},
};

GoalProgress progressAfter(const GoalCase& c, const Goal& goal, const std::vector<double>& values) {
    GoalProgress progress = startProgress(goal);
    for (std::size_t i = 0; i < values.size(); ++i) {
        CycleFacts facts; // what no goal of the case minds
        facts.cycle = static_cast<long long>(i) + 1;
        facts.overshoot = facts.settling = NaN;
        facts.error = facts.manipulability = 100;
        facts.gain = 1;
        c.set(facts, values[i]);
        checkGoal(goal, facts, progress);
    }
    return progress;
}

TEST(ChallengeGoals, EachKindIsMetAndFailed) {
    for (const GoalCase& c : goalCases) {
        SCOPED_TRACE(c.line);
        const GoalReading reading = readGoal(c.line);
        ASSERT_EQ(reading.error, "");
        EXPECT_EQ(writeGoal(reading.goal), c.line);
        EXPECT_EQ(progressAfter(c, reading.goal, c.meeting).status, GoalStatus::Met);
        const GoalProgress failed = progressAfter(c, reading.goal, c.failing);
        EXPECT_EQ(failed.status, GoalStatus::Failed);
        EXPECT_EQ(failed.decidedAt, static_cast<long long>(c.failing.size()));
    }
}

constexpr const char* Sample = "servo-challenge 1\n"
                               "title=Settle & stay\n"
                               "task=Bring the hand to the cup, 100% calm.\n"
                               "lock=scheme,gain\n"
                               "goal=reach 2 by 30 stay 10\n"
                               "goal=gain 1\n"
                               "combine=any\n"
                               "hint=Watch the error plot.\n"
                               "hint=Try the other elbow.\n"
                               "scheme=xy\n"
                               "target=320,40\n";

TEST(Challenges, RoundTripThroughFileAndLink) {
    const ChallengeReading read = readChallenge(Sample);
    ASSERT_TRUE(read.challenge) << read.error;
    const Challenge& challenge = *read.challenge;
    EXPECT_EQ(challenge.title, "Settle & stay");
    EXPECT_EQ(challenge.hints.size(), 2U);
    EXPECT_TRUE(challenge.any);
    EXPECT_EQ(challenge.setUp.servoType, ServoForwardXY);
    EXPECT_EQ(challenge.goals.size(), 2U);
    const ChallengeReading fromFile = readChallenge(writeChallenge(challenge));
    ASSERT_TRUE(fromFile.challenge) << fromFile.error;
    EXPECT_EQ(*fromFile.challenge, challenge);
    const std::string link = challengeLink(challenge);
    EXPECT_EQ(link.find(' '), std::string::npos);
    const ChallengeReading fromLink = readChallengeLink("#" + link);
    ASSERT_TRUE(fromLink.challenge) << fromLink.error;
    EXPECT_EQ(*fromLink.challenge, challenge);
}

TEST(Challenges, BadOneIsRefusedWithItsLineAndKey) {
    const std::string head = "servo-challenge 1\ngoal=reach 1 by 9 stay 1\n";
    const struct {
        std::string text;
        int line;
        std::string problemStart;
    } cases[] = {
        {"servo-experiment 1\n", 1, "not a challenge"},
        {head + "goal=win 3\n", 3, "goal: unknown goal 'win'"},
        {head + "goal=reach 1 by 0 stay 1\n", 3, "goal: "},
        {head + "scheme=xy\ngain=25\n", 4, "gain: "},
        {head + "lock=scheme,arm\n", 3, "lock: unknown control 'arm'"},
        {head + "combine=most\n", 3, "combine: "},
        {head + "title=a\ntitle=b\n", 4, "title: "},
        {"servo-challenge 1\ngoal=gain 1\n", 1, "goal: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ChallengeReading reading = readChallenge(c.text);
        EXPECT_FALSE(reading.challenge);
        EXPECT_EQ(reading.errorLine, c.line);
        EXPECT_EQ(reading.problem.rfind(c.problemStart, 0), 0U) << reading.problem;
        EXPECT_EQ(reading.error.rfind("line " + std::to_string(c.line) + ": ", 0), 0U);
    }
    const ChallengeReading link =
        readChallengeLink("c=1&goal=reach%201%20by%209%20stay%201&goal=win");
    EXPECT_EQ(link.error.rfind("item 3 of the link: goal: ", 0), 0U) << link.error;
    const ChallengeReading twoLines = readChallengeLink("c=1&goal=settle%201&hint=a%0Agoal=gain");
    EXPECT_EQ(twoLines.error, "item 3 of the link: hint: expected one line");
}

TEST(Challenges, LocksRefuseTheirInputsWithAReason) {
    LessonWorld w;
    const ChallengeReading reading = readChallenge(Sample);
    ASSERT_EQ(w.lesson.openChallenge(reading), "");
    EXPECT_EQ(w.lesson.submit("servo 1"), "The challenge locks the scheme.");
    EXPECT_EQ(w.lesson.submit("box-press 3"), "The challenge locks the scheme.");
    EXPECT_EQ(w.lesson.submit("gain 2"), "The challenge locks the gain.");
    EXPECT_EQ(w.lesson.submit("item gainUp"), "The challenge locks the gain.");
    EXPECT_FALSE(w.lesson.itemState(*itemOfWord("gainUp"), false).enabled);
    EXPECT_EQ(w.world.state.servoType, ServoForwardXY);
    EXPECT_EQ(w.world.state.gain, 1);
    EXPECT_EQ(w.lesson.submit("elbow up"), ""); // not locked
    w.lesson.endChallenge();
    EXPECT_TRUE(w.lesson.itemState(*itemOfWord("gainUp"), false).enabled);
    EXPECT_EQ(w.lesson.submit("servo 1"), "");
}

TEST(Challenges, TheLessonChecksEveryRunningCycle) {
    LessonWorld w;
    ASSERT_EQ(w.lesson.openChallenge(readChallenge("servo-challenge 1\n"
                                                   "goal=reach 1 by 600 stay 10\n")),
              "");
    w.frames(2);
    ASSERT_NE(w.lesson.attempt(), nullptr);
    EXPECT_EQ(w.lesson.attempt()->verdict(), GoalStatus::Pending);
    EXPECT_EQ(w.lesson.attempt()->cycles(), 2);
    EXPECT_EQ(w.lesson.submit("stop"), "");
    w.frames(5); // stopped: no running cycle
    EXPECT_EQ(w.lesson.attempt()->cycles(), 2);
    EXPECT_EQ(w.lesson.submit("run"), "");
    for (int i = 0; i < 600 && w.lesson.attempt()->verdict() == GoalStatus::Pending; ++i) {
        w.frames(1);
    }
    EXPECT_EQ(w.lesson.attempt()->verdict(), GoalStatus::Met);
    const std::string met =
        "Challenge met at cycle " + std::to_string(w.lesson.attempt()->decidedAt());
    EXPECT_EQ(w.lesson.attempt()->report().front(), met);
    EXPECT_NE(w.lesson.takeNews().find(met), std::string::npos); // a screen reader hears it
}

// The first running cycle sets the start pose, then the servo steps: that step counts.
TEST(Challenges, FirstCycleStepCountsFromTheStartPose) {
    LessonWorld w;
    ASSERT_EQ(w.lesson.openChallenge(readChallenge("servo-challenge 1\n"
                                                   "goal=reach 1 by 600 stay 10\n"
                                                   "goal=joint-step 0.1\n"
                                                   "scheme=reverse\n"
                                                   "gain=5\n"
                                                   "target=380,60\n")),
              "");
    w.frames(1);
    ASSERT_NE(w.lesson.attempt(), nullptr);
    EXPECT_EQ(w.lesson.attempt()->progress()[1].status, GoalStatus::Failed);
    EXPECT_EQ(w.lesson.attempt()->progress()[1].decidedAt, 1);
}

// A built-in challenge from the dialog: opened and recorded, its hints one by one, its view, the
// goals' changes told, and the hand-in that a teacher checks.
TEST(Challenges, BuiltInAttemptIsRecordedShownAndHandedIn) {
    LessonWorld w;
    EXPECT_NE(w.lesson.submit("challenge-hint"), ""); // none under way
    EXPECT_NE(handIn(w.lesson, "now").refusal, "");
    EXPECT_EQ(w.lesson.submit("challenge-open no-such"), "no built-in challenge 'no-such'");
    ASSERT_FALSE(challengeChoices().empty());
    const ChallengeChoice first = challengeChoices().front();
    ASSERT_EQ(w.lesson.submit("challenge-open " + first.name), "");
    EXPECT_TRUE(w.lesson.recording());
    const std::string opened = w.lesson.takeNews();
    EXPECT_NE(opened.find(first.title), std::string::npos) << opened;
    ChallengeView view = challengeViewOf(w.lesson);
    EXPECT_TRUE(view.active);
    EXPECT_EQ(view.name, first.name);
    EXPECT_EQ(view.title, first.title);
    EXPECT_TRUE(view.hints.empty());
    ASSERT_GT(view.hintsLeft, 0);
    EXPECT_EQ(w.lesson.submit("challenge-hint"), "");
    view = challengeViewOf(w.lesson);
    EXPECT_EQ(view.hints.size(), 1U);
    EXPECT_NE(w.lesson.takeNews().find(view.hints.front()), std::string::npos);

    // Run and nothing else: the goals decide, each change told, the verdict with the figures.
    EXPECT_EQ(w.lesson.submit("run"), "");
    std::string told;
    for (int i = 0; i < 2000 && w.lesson.attempt()->verdict() == GoalStatus::Pending; ++i) {
        w.frames(1);
        told += w.lesson.takeNews();
    }
    ASSERT_NE(w.lesson.attempt()->verdict(), GoalStatus::Pending);
    view = challengeViewOf(w.lesson);
    EXPECT_NE(told.find(view.verdict), std::string::npos) << told;
    EXPECT_NE(told.find("Goal "), std::string::npos) << told;
    EXPECT_NE(view.figures, "");

    const HandIn given = handIn(w.lesson, "8 December");
    ASSERT_EQ(given.refusal, "");
    EXPECT_FALSE(w.lesson.recording());
    EXPECT_EQ(given.baseName, first.name + "-attempt");
    for (const std::string& part : std::vector<std::string>{
             "Challenge: " + first.title, "Handed in: 8 December", "Result: " + view.verdict,
             "Hints used: 1 of", "servo-trace --check " + first.name + " < " + given.baseName}) {
        EXPECT_NE(given.summary.find(part), std::string::npos) << part << "\n" << given.summary;
    }
    // Saved under another name, the summary names that file, quoted in the command.
    const std::string renamed = summaryNaming(given, "Anna's try.servo-trace");
    EXPECT_NE(renamed.find("The recording: Anna's try.servo-trace"), std::string::npos) << renamed;
    EXPECT_NE(renamed.find("< 'Anna'\\''s try.servo-trace'"), std::string::npos) << renamed;
    EXPECT_EQ(renamed.find(given.baseName), std::string::npos) << renamed;
    EXPECT_NE(given.recording.find("apply"), std::string::npos); // from the set-up
    EXPECT_NE(given.recording.find("cycles "), std::string::npos);
    EXPECT_NE(handIn(w.lesson, "later").refusal, ""); // the recording has ended
    EXPECT_EQ(w.lesson.submit("challenge-again"), "");
    EXPECT_TRUE(w.lesson.recording());
    EXPECT_EQ(w.lesson.submit("challenge-end"), "");
    EXPECT_FALSE(challengeViewOf(w.lesson).active);
}

} // namespace
} // namespace servo::testing
