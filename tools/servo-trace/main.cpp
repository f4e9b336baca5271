// servo-trace: runs the simulation without a window from a script on standard input and
// prints what it computes and draws, so that runs can be compared line by line.
//
// One command a line; blank lines and lines starting with '#' are ignored. See the README for
// the commands. A bad line stops the run with "servo-trace: line N: ..." on standard error and
// exit status 2.

#include "ScriptArguments.h"
#include "core/access/Sonifier.h"
#include "core/display/DisplayList.h"
#include "core/dynamics/StepResponse.h"
#include "core/lab/Ghosts.h"
#include "core/lab/LabSample.h"
#include "core/lab/RaceArm.h"
#include "core/lesson/BuiltInChallenges.h"
#include "core/lesson/Challenge.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/HandIn.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/Recording.h"
#include "core/lesson/View.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ElbowConfigurations.h"
#include "headless/HeadlessSimulation.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace servo;
using namespace servo::trace;

std::string exact(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A figure, or "-" for one not reached.
std::string figure(double value) {
    return std::isnan(value) ? "-" : exact(value);
}

// Three joint values, comma separated.
std::string joints(const std::array<double, 3>& values) {
    return exact(values[0]) + "," + exact(values[1]) + "," + exact(values[2]);
}

using Words = std::vector<std::string>;

class Trace {
public:
    Trace() {
        simulation_.simulation.setYield([this] { surface_.recordYield(); });
    }

    // Inside "own begin": takes the law's lines up to "own end", then submits the law.
    bool takesLawLine(const std::string& line) {
        if (!law_) {
            return false;
        }
        if (splitWords(line) != Words{"own", "end"}) {
            *law_ += line + "\n";
            return true;
        }
        std::string source = std::move(*law_);
        law_.reset();
        submit(inputLine("own-law", lawArgument(source)));
        return true;
    }
    // Checks an attempt at a challenge: output commands print nothing, and an experiment the
    // script applies must set the challenge's set-up up again (it starts the attempt anew).
    void check(const Challenge& challenge) {
        checked_ = challenge;
        lesson_.startChallenge(challenge);
    }
    const Attempt* attempt() const { return lesson_.attempt(); }

    // Runs the words of script line `lineNumber`; throws ScriptError for a bad one.
    void run(const Words& w, long lineNumber) {
        lineNumber_ = lineNumber;
        if (checked_ && isOutput(w[0])) {
            return;
        }
        if (inputCommandNamed(w[0]) != nullptr || w[0] == ItemInputWord) {
            std::string line = w[0];
            for (std::size_t i = 1; i < w.size(); ++i) {
                line += " " + w[i];
            }
            submit(line);
            return;
        }
        for (const Command& command : commands()) {
            if (w[0] == command.name) {
                expectArguments(w, command.arguments);
                command.run(*this, w);
                return;
            }
        }
        throw ScriptError("unknown command " + servo::quoted(w[0]));
    }

    // The driver's own commands besides the inputs (see inputCommands).
    struct Command {
        const char* name;
        std::size_t arguments;
        void (*run)(Trace&, const Words&);
    };
    static const std::vector<Command>& commands() {
        static const std::vector<Command> table{
            {"cycles", 1,
             [](Trace& t, const Words& w) {
                 const long long passes = parseInteger(w[1], 0, MaxPassesPerCycles);
                 for (long long pass = 0; pass < passes; ++pass) {
                     t.runPass();
                 }
             }},
            {"apply", 0,
             [](Trace& t, const Words&) { t.experiment_.begin(static_cast<int>(t.lineNumber_)); }},
            {"own", 1,
             [](Trace& t, const Words& w) {
                 if (w[1] != "begin") {
                     throw ScriptError("expected own begin, not own " + servo::quoted(w[1]));
                 }
                 t.law_.emplace();
                 t.lawLine_ = t.lineNumber_;
             }},
            {"challenge", 0,
             [](Trace& t, const Words&) {
                 t.challenge_ = ChallengeHeader;
                 t.challengeLine_ = t.lineNumber_;
             }},
            {"goals", 0, [](Trace& t, const Words&) { t.printGoals(); }},
            {"challenge-open", 1,
             [](Trace& t, const Words& w) { t.submit("challenge-open " + w[1]); }},
            {"challenge-hint", 0, [](Trace& t, const Words&) { t.submit("challenge-hint"); }},
            {"challenge-again", 0, [](Trace& t, const Words&) { t.submit("challenge-again"); }},
            {"challenge-end", 0, [](Trace& t, const Words&) { t.submit("challenge-end"); }},
            {"hand-in", 0, [](Trace& t, const Words&) { t.printHandIn(); }},
            {"sample", 0, [](Trace& t, const Words&) { t.printSample(); }},
            {"response", 0, [](Trace& t, const Words&) { t.printResponse(); }},
            {"ghosts", 0, [](Trace& t, const Words&) { t.printGhosts(); }},
            {"state", 0, [](Trace& t, const Words&) { t.printState(); }},
            {"points", 0, [](Trace& t, const Words&) { t.printPoints(); }},
            {"sound", 0, [](Trace& t, const Words&) { t.printSound(); }},
            {"view", 0,
             [](Trace& t, const Words&) {
                 std::cout << viewJson(viewOf(t.lesson_, false)) << '\n';
             }},
            {"draws", 0,
             [](Trace& t, const Words&) {
                 for (const DrawOp& op : t.surface_.ops()) {
                     std::cout << op.describe() << '\n';
                 }
             }},
        };
        return table;
    }

    // Every command's name, in the order the README lists them.
    static std::vector<std::string> commandNames() {
        std::vector<std::string> names;
        for (const InputCommand& command : inputCommands()) {
            names.emplace_back(command.name);
        }
        names.emplace_back(ItemInputWord);
        for (const Command& command : commands()) {
            names.emplace_back(command.name);
        }
        names.emplace_back("end");
        return names;
    }

    // Inside "apply": takes the experiment's lines up to "end", then applies it; inside
    // "challenge" the challenge's, then opens it.
    bool takesExperimentLine(const std::string& line) {
        if (challenge_) {
            takeChallengeLine(line);
            return true;
        }
        if (!experiment_.open()) {
            return false;
        }
        const std::optional<ExperimentReading> reading = experiment_.take(line);
        if (!reading) {
            return true;
        }
        for (const std::string& warning : reading->warnings) {
            std::fprintf(stderr, "servo-trace: %s\n", warning.c_str());
        }
        if (!reading->experiment) {
            throw ScriptError(reading->problem, reading->errorLine);
        }
        applySetUp(*reading->experiment);
        return true;
    }
    // Throws when the script ended inside an experiment, a law or a challenge.
    void finish() const {
        if (experiment_.open()) {
            throw ScriptError(experiment_.unterminated());
        }
        if (law_) {
            throw ScriptError("the law from line " + std::to_string(lawLine_) +
                              " has no \"own end\"");
        }
        if (challenge_) {
            throw ScriptError(filled("the challenge from line %s has no \"end\"",
                                     {std::to_string(challengeLine_)}));
        }
    }

private:
    // An input line, as a front end sends it; then the law's error, if it has just stopped.
    void submit(const std::string& line) {
        if (std::string error = lesson_.submit(line); !error.empty()) {
            throw ScriptError(error);
        }
        printLawError();
    }

    // "own-error line N: MESSAGE" once for each error that stops the student's law.
    void printLawError() {
        const OwnLaw& law = lab_.ownLaw();
        if (law.errorCount() != lawErrorsPrinted_) {
            lawErrorsPrinted_ = law.errorCount();
            std::cout << "own-error line " << law.error().line << ": " << law.error().message
                      << '\n';
        }
    }

    static bool isOutput(const std::string& word) {
        for (const char* name : {"sample", "response", "ghosts", "state", "points", "sound", "view",
                                 "draws", "goals", "hand-in"}) {
            if (word == name) {
                return true;
            }
        }
        return false;
    }

    // An experiment applied while a challenge is under way starts it again when it is the
    // challenge's set-up; another ends it (an attempt being checked is then refused).
    void applySetUp(const Experiment& experiment) {
        const Attempt* attempt = lesson_.attempt();
        if (attempt != nullptr && sameSetUp(attempt->challenge().setUp, experiment)) {
            lesson_.startChallenge(attempt->challenge());
            return;
        }
        if (checked_) {
            throw ScriptError("the recording starts from another set-up than the challenge's");
        }
        lesson_.endChallenge();
        lesson_.apply(experiment);
    }

    void takeChallengeLine(const std::string& line) {
        const Words words = splitWords(line);
        if (*challenge_ == ChallengeHeader && words == splitWords(ChallengeHeader)) {
            ++challengeLine_; // a saved challenge pasted whole
            return;
        }
        if (words != Words{"end"}) {
            *challenge_ += "\n" + line;
            return;
        }
        const ChallengeReading reading =
            readChallenge(*challenge_, static_cast<int>(challengeLine_));
        challenge_.reset();
        for (const std::string& warning : reading.warnings) {
            std::fprintf(stderr, "servo-trace: %s\n", warning.c_str());
        }
        if (!reading.challenge) {
            throw ScriptError(reading.problem, reading.errorLine);
        }
        lesson_.startChallenge(*reading.challenge);
    }

    // The hand-in's summary, a line each, or why there is none; the recording ends.
    void printHandIn() {
        const HandIn given = handIn(lesson_, "(trace)");
        if (!given.refusal.empty()) {
            std::cout << "hand-in refused: " << given.refusal << '\n';
            return;
        }
        std::istringstream page(given.summary);
        for (std::string line; std::getline(page, line);) {
            std::cout << "hand-in " << line << '\n';
        }
    }

    void printGoals() const {
        const Attempt* attempt = lesson_.attempt();
        if (attempt == nullptr) {
            std::cout << "goals none\n";
            return;
        }
        const std::vector<std::string> lines = attempt->report();
        std::cout << "goals " << lines.front() << '\n';
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::cout << "goal " << i << ' ' << lines[i] << '\n';
        }
    }

    void printSample() const {
        const LabSample sample = sampleOf(state_, controls_.wristScrollPosition());
        std::cout << "sample effectorX=" << exact(sample.effector.x)
                  << " effectorY=" << exact(sample.effector.y)
                  << " desiredX=" << exact(sample.desired.x)
                  << " desiredY=" << exact(sample.desired.y) << " error=" << exact(sample.error)
                  << " reach=" << (sample.reachable ? 1 : 0)
                  << " manipulability=" << exact(manipulabilityOf(state_).w);
        if (race_.active()) {
            // Before its first cycle the race arm has not left the main arm's pose.
            const double raceError = race_.distance();
            std::cout << " raceError=" << exact(std::isnan(raceError) ? sample.error : raceError);
        }
        if (state_.dynamics.on) {
            std::cout << " speeds=" << joints(state_.dynamics.speeds)
                      << " torques=" << joints(state_.dynamics.torques);
        }
        std::cout << '\n';
    }

    void printResponse() const {
        const ResponseFigures figures = responseFigures(state_.dynamics.response);
        std::cout << "response rise=" << figure(figures.rise)
                  << " overshoot=" << figure(figures.overshoot)
                  << " settling=" << figure(figures.settling)
                  << " steadyError=" << figure(figures.steadyError)
                  << " peakTorque=" << figure(figures.peakTorque) << '\n';
    }

    // The sound a front end plays now: the error tone and the events since the last "sound".
    void printSound() {
        const SoundFrame sound = sonifier_.afterFrame(lab_);
        std::cout << "sound hertz=" << exact(sound.toneHertz) << " level=" << sound.toneLevel
                  << " events=";
        for (std::size_t i = 0; i < sound.events.size(); ++i) {
            std::cout << (i > 0 ? "," : "") << soundEventWord(sound.events[i]);
        }
        std::cout << '\n';
    }

    void printGhosts() const {
        for (const GhostArm& ghost : ghostArms(state_, controls_.wristScrollPosition())) {
            std::cout << "ghost " << ghost.configuration->name;
            if (ghost.reachable) {
                std::cout << " shoulderAngle=" << exact(ghost.shoulderAngle)
                          << " elbowAngle=" << exact(ghost.elbowAngle)
                          << " wristAngle=" << exact(ghost.wristAngle) << '\n';
            } else {
                std::cout << " unreachable\n";
            }
        }
    }

    void printPoints() const {
        for (int i = 1; i <= state_.pointCount; ++i) {
            std::cout << "point " << i << ' ' << exact(state_.pointX[i]) << ' '
                      << exact(state_.pointY[i]) << '\n';
        }
    }

    // One pass of the run loop without the window's events and repaint. The draws of the pass
    // replace those kept from the one before.
    void runPass() {
        surface_.forget();
        lab_.pass();
        printLawError();
    }

    void printState() const {
        std::cout << "state shoulderAngle=" << exact(state_.shoulderAngle)
                  << " elbowAngle=" << exact(state_.elbowAngle)
                  << " wristAngle=" << exact(state_.wristAngle)
                  << " objectHeld=" << state_.objectHeld << " servoType=" << state_.servoType
                  << " elbowPair=" << state_.elbowPair << " elbowChoice=" << state_.elbowChoice
                  << " clearEachCycle=" << state_.clearEachCycle << " gridOn=" << state_.gridOn
                  << " runState=" << state_.runState << '\n';
    }

    HeadlessSimulation simulation_;
    Lab lab_{simulation_.simulation};
    Lesson lesson_{lab_};
    Sonifier sonifier_;
    const RaceArm& race_ = lab_.race();
    ExperimentBlock experiment_;     // inside "apply": the experiment so far
    long lineNumber_ = 0;            // of the line being run
    std::optional<std::string> law_; // inside "own begin": the law's lines so far
    long lawLine_ = 0;               // of its "own begin"
    long long lawErrorsPrinted_ = 0;
    std::optional<std::string> challenge_; // inside "challenge": its text so far
    long challengeLine_ = 0;               // of its "challenge" line
    std::optional<Challenge> checked_;     // the challenge an attempt is checked against
    SimulationState& state_ = simulation_.state;
    const Controls& controls_ = simulation_.controls;
    DisplayList& surface_ = simulation_.surface;
};

// Standard input, line by line, with read errors told apart from its end. A line longer than
// MaxScriptLineBytes is refused as soon as it is seen to be, before it is all read.
class LineReader {
public:
    // False at the end of the input; throws std::system_error on a read error and ScriptError
    // for a line too long.
    bool next(std::string& line) {
        line.clear();
        while (true) {
            const std::size_t newline = buffer_.find('\n', scanned_);
            if (newline != std::string::npos) {
                return take(line, newline, newline + 1);
            }
            scanned_ = buffer_.size();
            refuseLongerThan(buffer_.size());
            if (ended_) {
                return take(line, buffer_.size(), buffer_.size()) && !line.empty();
            }
            buffer_.erase(0, start_);
            scanned_ -= start_;
            start_ = 0;
            // Read straight into the buffer: a chunk this size would fill a WebAssembly stack.
            const std::size_t kept = buffer_.size();
            buffer_.resize(kept + ChunkSize);
            const ssize_t count = ::read(STDIN_FILENO, buffer_.data() + kept, ChunkSize);
            buffer_.resize(kept + (count > 0 ? static_cast<std::size_t>(count) : 0));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                throw std::system_error(errno, std::generic_category());
            }
            ended_ = count == 0;
        }
    }

private:
    static constexpr std::size_t ChunkSize = 65536;
    void refuseLongerThan(std::size_t end) const {
        if (static_cast<long long>(end - start_) > MaxScriptLineBytes) {
            throw ScriptError(filled(tr(LongerThanText), {std::to_string(MaxScriptLineBytes)}),
                              lines_ + 1);
        }
    }
    bool take(std::string& line, std::size_t end, std::size_t next) {
        refuseLongerThan(end);
        line.assign(buffer_, start_, end - start_);
        start_ = scanned_ = next;
        ++lines_;
        return true;
    }

    std::string buffer_;
    std::size_t start_ = 0;   // where the next line starts
    std::size_t scanned_ = 0; // up to where buffer_ holds no line end after start_
    bool ended_ = false;
    long lines_ = 0;
};

// Flushes standard output; false (with a line on standard error) when it could not be written.
bool outputWritten() {
    std::cout.flush();
    if (std::cout) {
        return true;
    }
    std::fprintf(stderr, "servo-trace: cannot write the output\n");
    return false;
}

// Runs the script on standard input through the trace; its exit status. Checking an attempt,
// a bad line makes it "not met" (status 1) rather than a bad script (status 2).
int runScript(Trace& trace, bool checking) {
    LineReader input;
    std::string line;
    long lineNumber = 0;
    try {
        while (input.next(line)) {
            ++lineNumber;
            if (trace.takesExperimentLine(line) || trace.takesLawLine(line)) {
                continue;
            }
            const std::vector<std::string> words = splitWords(line);
            if (words.empty() || words[0][0] == '#') {
                continue;
            }
            trace.run(words, lineNumber);
            if (!std::cout) {
                return outputWritten() ? 0 : 1; // nobody reads what follows: it says so
            }
        }
        trace.finish();
    } catch (const ScriptError& error) {
        const long where = error.line() != 0 ? error.line() : lineNumber;
        if (checking) {
            std::cout << "not met: line " << where << ": " << error.what() << '\n';
            return 1;
        }
        const bool written = outputWritten();
        std::fprintf(stderr, "servo-trace: line %ld: %s\n", where, error.what());
        return written ? 2 : 1;
    } catch (const std::system_error& error) {
        outputWritten();
        std::fprintf(stderr, "servo-trace: cannot read the script: %s\n",
                     error.code().message().c_str());
        return 1;
    }
    return outputWritten() ? 0 : 1;
}

// servo-trace --check CHALLENGE < attempt: replays the attempt against the challenge and says
// "met" or "not met" with each goal's figures; status 0 when met, 1 when not, 2 when the
// challenge cannot be read.
int checkAttempt(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        // Not a file: a built-in challenge by its name.
        const BuiltInChallenge* builtIn = builtInChallenge(path);
        if (builtIn == nullptr) {
            std::fprintf(stderr, "servo-trace: cannot read %s (nor is it a built-in challenge)\n",
                         path);
            return 2;
        }
        text.str(builtIn->text);
    }
    const ChallengeReading reading = readChallenge(text.str());
    if (!reading.challenge) {
        std::fprintf(stderr, "servo-trace: %s: %s\n", path, reading.error.c_str());
        return 2;
    }
    Trace trace;
    trace.check(*reading.challenge);
    if (const int status = runScript(trace, true); status != 0) {
        return status;
    }
    const bool met = trace.attempt()->verdict() == GoalStatus::Met;
    std::cout << (met ? "met" : "not met") << '\n';
    for (const std::string& line : trace.attempt()->report()) {
        std::cout << line << '\n';
    }
    return outputWritten() && met ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
#ifndef __EMSCRIPTEN__
    // A reader that goes away (`servo-trace < script | head -1`) is told as a write that
    // fails, with a message and status 1, not as a silent death.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::ios::sync_with_stdio(false);
    if (argc == 2 && std::string(argv[1]) == "--commands") {
        // The names of the commands, one a line (the README's table is checked against it).
        for (const std::string& name : Trace::commandNames()) {
            std::cout << name << '\n';
        }
        return outputWritten() ? 0 : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--check") {
        return checkAttempt(argv[2]);
    }
    if (argc > 1) {
        std::fprintf(stderr,
                     "usage: servo-trace [--commands | --check CHALLENGE.servo|NAME] < script\n");
        return 2;
    }
    std::cout << "servo-trace 1\n";
    Trace trace;
    return runScript(trace, false);
}
