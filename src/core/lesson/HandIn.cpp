#include "core/lesson/HandIn.h"

#include "core/language/Translation.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/Recording.h"

#include <algorithm>
#include <cctype>

namespace servo {

namespace {

// How many passes the script runs, as a replay reads it.
long long passesOf(const std::string& script) {
    Player reader;
    return reader.load(script).empty() ? reader.passesLeft() : 0;
}

std::string summaryOf(const Lesson& lesson, const HandIn& handIn, std::string_view when) {
    const Attempt& attempt = *lesson.attempt();
    const Challenge& challenge = attempt.challenge();
    const std::vector<std::string> report = attempt.report();
    const std::string name = lesson.challengeName().empty() ? "CHALLENGE" : lesson.challengeName();
    std::string page = std::string(tr("Servo Simulator: a challenge handed in")) + "\n\n";
    page += filled(tr("Challenge: %s"), {tr(challenge.title)}) + "\n";
    page += filled(tr("Handed in: %s"), {std::string(when)}) + "\n";
    page += filled(tr("Result: %s"), {report.front()}) + "\n";
    if (!lesson.verdictFigures().empty()) {
        page += filled(tr("Figures: %s"), {lesson.verdictFigures()}) + "\n";
    }
    page += "\n" + tr(challenge.task) + "\n\n" + tr("Goals:") + "\n";
    for (std::size_t i = 1; i < report.size(); ++i) {
        page += "  - " + report[i] + "\n";
    }
    page += "\n" +
            filled(tr("Hints used: %s of %s"),
                   {std::to_string(lesson.hintsShown()), std::to_string(challenge.hints.size())}) +
            "\n";
    page += filled(tr("The recording: %s.servo-trace (%s steps)"),
                   {handIn.baseName, std::to_string(passesOf(handIn.recording))}) +
            "\n\n";
    page += std::string(tr("To check it, replay the recording against the challenge:")) + "\n";
    page += "  servo-trace --check " + name + " < " + handIn.baseName + ".servo-trace\n";
    return page;
}

} // namespace

HandIn handIn(Lesson& lesson, std::string_view when) {
    HandIn result;
    if (lesson.attempt() == nullptr) {
        result.refusal = tr("No challenge is under way: choose one and press Start.");
        return result;
    }
    if (!lesson.recording()) {
        result.refusal = tr("The attempt is not recorded any more: press Start to begin a new "
                            "attempt, recorded from its set-up.");
        return result;
    }
    result.recording = lesson.stopRecording();
    const std::string name = lesson.challengeName().empty() ? "challenge" : lesson.challengeName();
    result.baseName = name + "-attempt";
    result.summary = summaryOf(lesson, result, when);
    return result;
}

std::string summaryNaming(const HandIn& handIn, std::string_view recordingFileName) {
    const std::string suggested = handIn.baseName + ".servo-trace";
    std::string name(recordingFileName);
    // In the shell command: quoted unless it is a plain word.
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
    });
    std::string quotedName = "'";
    for (const char c : name) {
        quotedName += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    quotedName += "'";
    std::string summary = handIn.summary;
    const std::string command = "< " + suggested;
    if (const std::size_t at = summary.find(command); at != std::string::npos) {
        summary.replace(at, command.size(), "< " + (plain ? name : quotedName));
    }
    if (const std::size_t at = summary.find(suggested); at != std::string::npos) {
        summary.replace(at, suggested.size(), name);
    }
    return summary;
}

std::string summaryFileName(std::string_view recordingFileName) {
    std::string name(recordingFileName);
    const std::string extension = ".servo-trace";
    if (name.size() > extension.size() &&
        name.compare(name.size() - extension.size(), extension.size(), extension) == 0) {
        name.resize(name.size() - extension.size());
    }
    return name + ".txt";
}

} // namespace servo
