#include "core/lesson/Recording.h"

#include "core/lesson/InputCommands.h"
#include "core/lesson/LessonTexts.h"
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
        if (static_cast<long long>(text_->size()) > MaxExperimentBytes) {
            ExperimentReading tooLarge = readExperiment(*text_, applyLine_);
            text_.reset();
            return tooLarge;
        }
        return std::nullopt;
    }
    ExperimentReading reading = readExperiment(*text_, applyLine_);
    text_.reset();
    return reading;
}

std::string ExperimentBlock::unterminated() const {
    return filled(tr("the experiment from line %s has no \"end\""), {std::to_string(applyLine_)});
}

std::string Player::load(std::string_view script) {
    if (static_cast<long long>(script.size()) > MaxRecordingBytes) {
        return largerThan(MaxRecordingBytes);
    }
    Player loaded;
    loaded.script_ = script;
    std::size_t start = 0;
    int lineNumber = 0;
    ExperimentBlock experiment;
    while (start < script.size()) {
        const std::size_t end = std::min(script.find('\n', start), script.size());
        const std::string line(script.substr(start, end - start));
        const std::size_t lineStart = start;
        start = end + 1;
        ++lineNumber;
        if (experiment.open()) {
            if (const std::optional<ExperimentReading> reading = experiment.take(line)) {
                if (!reading->experiment) {
                    return reading->error;
                }
                loaded.steps_.push_back({Kind::Apply, loaded.experiments_.size(), 0});
                loaded.experiments_.push_back(*reading->experiment);
            }
            continue;
        }
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        const auto isOutput = [&](const char* name) { return words[0] == name; };
        std::string error;
        if (words[0] == "cycles") {
            error = argumentsError(words, 1);
            if (error.empty()) {
                const auto passes = readInteger(words[1], 0, MaxPassesPerCycles);
                error = passes.error;
                if (passes.value) {
                    loaded.steps_.push_back({Kind::Cycles, 0, *passes.value});
                    loaded.passesLeft_ += *passes.value;
                }
            }
        } else if (words[0] == "apply" && words.size() == 1) {
            experiment.begin(lineNumber);
        } else if (std::none_of(traceOutputCommands().begin(), traceOutputCommands().end(),
                                isOutput)) {
            error = runInputCommand(nullptr, words);
            loaded.steps_.push_back({Kind::Input, lineStart, static_cast<long long>(line.size())});
        }
        if (!error.empty()) {
            return lineWhere(lineNumber) + ": " + error;
        }
    }
    if (experiment.open()) {
        return experiment.unterminated();
    }
    *this = std::move(loaded);
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
        const Step& step = steps_[next_];
        if (step.kind == Kind::Cycles && doneOfNext_ < step.sizeOrPasses) {
            ++doneOfNext_;
            --passesLeft_;
            keepSpeed();
            return;
        }
        if (step.kind == Kind::Input) {
            runInputCommand(&lab, splitWords(script_.substr(
                                      step.at, static_cast<std::size_t>(step.sizeOrPasses))));
        } else if (step.kind == Kind::Apply) {
            applyExperiment(lab, experiments_[step.at]);
        }
        ++next_;
        doneOfNext_ = 0;
    }
    keepSpeed();
}

void Player::stop() {
    next_ = steps_.size();
    passesLeft_ = 0;
}

} // namespace servo
