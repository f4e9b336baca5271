#include "core/lesson/Recording.h"

#include "core/lesson/InputCommands.h"
#include "core/lesson/ScriptWords.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <utility>

namespace servo {

const std::vector<const char*>& traceOutputCommands() {
    static const std::vector<const char*> names{"sample", "ghosts", "state", "points", "draws"};
    return names;
}

void Recorder::start(const Experiment& setUp) {
    recording_ = true;
    passes_ = 0;
    script_ = "# servo-trace script: a lesson recorded in the simulator\n";
    noteExperiment(setUp);
}

void Recorder::writePasses() {
    while (passes_ > 0) {
        const long long passes = std::min(passes_, MaxPassesPerCycles);
        script_ += "cycles " + std::to_string(passes) + "\n";
        passes_ -= passes;
    }
}

void Recorder::note(const std::string& line) {
    if (recording_) {
        writePasses();
        script_ += line + "\n";
    }
}

void Recorder::noteExperiment(const Experiment& experiment) {
    if (!recording_) {
        return;
    }
    writePasses();
    std::string lines = writeExperiment(experiment);
    lines.erase(0, lines.find('\n') + 1); // the header: "apply" stands for it
    script_ += "apply\n" + lines + "end\n";
}

void Recorder::passed() {
    if (recording_) {
        ++passes_;
    }
}

std::string Recorder::finish() {
    writePasses();
    recording_ = false;
    script_ += "# the replay ends here, the arm stopped\nstop\nstate\npoints\n";
    return std::move(script_);
}

void ExperimentBlock::begin(int applyLine) {
    text_ = ExperimentHeader;
    applyLine_ = applyLine;
    firstLine_ = true;
}

std::optional<ExperimentReading> ExperimentBlock::take(const std::string& line) {
    const std::vector<std::string> words = splitWords(line);
    const bool first = std::exchange(firstLine_, false);
    if (first && words == splitWords(ExperimentHeader)) {
        ++applyLine_; // a saved experiment pasted whole: its own header stands for "apply"'s
        return std::nullopt;
    }
    if (words != std::vector<std::string>{"end"}) {
        *text_ += "\n" + line;
        return std::nullopt;
    }
    ExperimentReading reading = readExperiment(*text_, applyLine_);
    text_.reset();
    return reading;
}

std::string ExperimentBlock::unterminated() const {
    return "the experiment from line " + std::to_string(applyLine_) + " has no \"end\"";
}

std::string Player::load(std::string_view script) {
    std::vector<Step> steps;
    std::size_t start = 0;
    int lineNumber = 0;
    ExperimentBlock experiment;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        end = end == std::string_view::npos ? script.size() : end;
        const std::string line(script.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (experiment.open()) {
            if (const std::optional<ExperimentReading> reading = experiment.take(line)) {
                if (!reading->experiment) {
                    return reading->error;
                }
                steps.emplace_back(*reading->experiment);
            }
            continue;
        }
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        const auto isOutput = [&](const char* name) { return words[0] == name; };
        if (words[0] == "cycles") {
            if (std::string error = argumentsError(words, 1); !error.empty()) {
                return where + error;
            }
            const auto passes = readInteger(words[1], 0, MaxPassesPerCycles);
            if (!passes.value) {
                return where + passes.error;
            }
            steps.emplace_back(Cycles{*passes.value});
        } else if (words[0] == "apply" && words.size() == 1) {
            experiment.begin(lineNumber);
        } else if (std::any_of(traceOutputCommands().begin(), traceOutputCommands().end(),
                               isOutput)) {
            continue;
        } else if (std::string error = runInputCommand(nullptr, words); !error.empty()) {
            return where + error;
        } else {
            steps.emplace_back(words);
        }
    }
    if (experiment.open()) {
        return experiment.unterminated();
    }
    steps_ = std::move(steps);
    next_ = 0;
    doneOfNext_ = 0;
    return {};
}

void Player::beforePass(Lab& lab) {
    // A replay runs at the speed the user has chosen, whatever its resets and experiments say.
    const int speed = lab.settings().speed;
    const auto keepSpeed = [&] {
        if (lab.settings().speed != speed) {
            lab.setSpeed(speed);
        }
    };
    while (next_ < steps_.size()) {
        Step& step = steps_[next_];
        if (auto* cycles = std::get_if<Cycles>(&step)) {
            if (doneOfNext_ < cycles->passes) {
                ++doneOfNext_;
                keepSpeed();
                return;
            }
        } else if (auto* words = std::get_if<std::vector<std::string>>(&step)) {
            runInputCommand(&lab, *words);
        } else {
            applyExperiment(lab, std::get<Experiment>(step));
        }
        ++next_;
        doneOfNext_ = 0;
    }
    keepSpeed();
}

long long Player::passesLeft() const {
    long long left = 0;
    for (std::size_t i = next_; i < steps_.size(); ++i) {
        if (const auto* cycles = std::get_if<Cycles>(&steps_[i])) {
            left += cycles->passes - (i == next_ ? doneOfNext_ : 0);
        }
    }
    return left;
}

} // namespace servo
