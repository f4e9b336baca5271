#pragma once

#include "core/lab/Lab.h"
#include "core/lesson/Experiment.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

inline constexpr const char* RecordingFileSuffix = ".servo-trace";

// The trace driver's commands that print and change nothing; a replay passes over them.
const std::vector<const char*>& traceOutputCommands();

// Writes the user's inputs down as a trace script from a reset: the set-up as an experiment,
// then each input as its trace command, with "cycles N" for the passes between them. Its end
// stops the arm, so that a replay ends standing where the recording ended, and asks for the
// final state and points.
class Recorder {
public:
    // Starts a recording of a lab that the set-up has just been applied to.
    void start(const Experiment& setUp);
    bool recording() const { return recording_; }
    // An input, as its trace command's line; nothing while not recording.
    void note(const std::string& line);
    // An experiment applied: its lines between "apply" and "end".
    void noteExperiment(const Experiment& experiment);
    void passed();
    // The script, and the recording ends.
    std::string finish();

private:
    void writePasses();

    bool recording_ = false;
    std::string script_;
    long long passes_ = 0;
};

// An experiment written into a script: the lines after "apply" up to "end", numbered as the
// script's lines in what is said of them. The block may start with the experiment's own first
// line (ExperimentHeader), as a saved experiment pasted whole does.
class ExperimentBlock {
public:
    // After the "apply" on line `applyLine`.
    void begin(int applyLine);
    bool open() const { return text_.has_value(); }
    // Takes a line of the block: nothing while the block goes on; at "end" the experiment as
    // read, and the block is closed.
    std::optional<ExperimentReading> take(const std::string& line);
    // What to say of a script that ends inside the block.
    std::string unterminated() const;

private:
    std::optional<std::string> text_;
    int applyLine_ = 0;
    bool firstLine_ = false;
};

// Replays a trace script in a lab, pass by pass: before each pass, the lines up to the next
// "cycles" that has passes left. It keeps the speed the user has chosen.
class Player {
public:
    // Reads a whole script; empty, or "line N: ..." for its first bad line (and nothing plays).
    std::string load(std::string_view script);
    bool playing() const { return next_ < steps_.size(); }
    // The lines due before this pass.
    void beforePass(Lab& lab);
    void stop();
    // Passes to go, for a progress read-out.
    long long passesLeft() const { return passesLeft_; }

private:
    // One step of the script: an input (its line in script_), passes, or an experiment.
    enum class Kind : unsigned char { Input, Cycles, Apply };
    struct Step {
        Kind kind;
        std::size_t at;         // Input: where its line starts in script_; Apply: its index
        long long sizeOrPasses; // Input: the line's length; Cycles: the passes
    };
    std::string script_;
    std::vector<Step> steps_;
    std::vector<Experiment> experiments_;
    std::size_t next_ = 0;
    long long doneOfNext_ = 0; // passes of the current "cycles" already run
    long long passesLeft_ = 0;
};

} // namespace servo
