#include "core/lesson/ChallengeView.h"

#include "core/language/Translation.h"
#include "core/lesson/BuiltInChallenges.h"
#include "core/lesson/JsonWriter.h"
#include "core/lesson/Lesson.h"

namespace servo {

namespace {

const char* statusWord(GoalStatus status) {
    switch (status) {
    case GoalStatus::Met:
        return "met";
    case GoalStatus::Failed:
        return "failed";
    default:
        return "pending";
    }
}

} // namespace

ChallengeView challengeViewOf(const Lesson& lesson) {
    ChallengeView view;
    const Attempt* attempt = lesson.attempt();
    if (attempt == nullptr) {
        return view;
    }
    const Challenge& challenge = attempt->challenge();
    view.active = true;
    view.name = lesson.challengeName();
    view.title = tr(challenge.title);
    view.task = tr(challenge.task);
    view.combine =
        challenge.any ? tr("Meet any one of these goals:") : tr("Meet all of these goals:");
    for (std::size_t i = 0; i < challenge.goals.size(); ++i) {
        const Goal& goal = challenge.goals[i];
        const GoalProgress& progress = attempt->progress()[i];
        view.goals.push_back(
            {goalText(goal), progressText(goal, progress), statusWord(progress.status)});
    }
    const auto shown = static_cast<std::size_t>(lesson.hintsShown());
    for (std::size_t i = 0; i < shown && i < challenge.hints.size(); ++i) {
        view.hints.push_back(tr(challenge.hints[i]));
    }
    view.hintsLeft = static_cast<int>(challenge.hints.size() - view.hints.size());
    view.verdict = attempt->verdictText();
    if (attempt->verdict() != GoalStatus::Pending) {
        view.figures = lesson.verdictFigures();
    }
    view.recorded = lesson.recording();
    return view;
}

void writeChallengeView(JsonWriter& json, const ChallengeView& view) {
    json.breakLine()
        .beginObject("challenge")
        .value("active", view.active)
        .value("name", view.name)
        .value("title", view.title)
        .value("task", view.task)
        .value("combine", view.combine)
        .beginArray("goals");
    for (const ChallengeView::Goal& goal : view.goals) {
        json.beginObject()
            .value("text", goal.text)
            .value("progress", goal.progress)
            .value("status", goal.status)
            .endObject();
    }
    json.endArray().beginArray("hints");
    for (const std::string& hint : view.hints) {
        json.value(nullptr, hint);
    }
    json.endArray()
        .value("hintsLeft", view.hintsLeft)
        .value("verdict", view.verdict)
        .value("figures", view.figures)
        .value("recorded", view.recorded)
        .endObject();
}

std::vector<ChallengeChoice> challengeChoices() {
    std::vector<ChallengeChoice> choices;
    for (const BuiltInChallenge& builtIn : builtInChallenges()) {
        const ChallengeReading reading = readChallenge(builtIn.text);
        choices.push_back(
            {builtIn.name, reading.challenge ? tr(reading.challenge->title) : builtIn.name});
    }
    return choices;
}

} // namespace servo
