#include "core/lesson/Experiment.h"

#include "core/dynamics/DynamicsSettings.h"
#include "core/dynamics/MotorLaws.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"
#include "core/teaching/Grid.h"

#include <cstdio>
#include <map>

namespace servo {

namespace {

// One key's value read into an experiment: empty, or what is wrong with the value.
using Reader = std::string (*)(const std::string& value, Experiment& into);
using Writer = std::string (*)(const Experiment& from);

struct Key {
    const char* name;
    Reader read;
    Writer write;
    // Whether the key is written; none: always.
    bool (*written)(const Experiment& from) = nullptr;
};

bool keyWritten(const Key& key, const Experiment& experiment) {
    return key.written == nullptr || key.written(experiment);
}

std::string flag(bool on) {
    return on ? "1" : "0";
}

std::string readFlag(const std::string& value, bool& into) {
    if (value != "0" && value != "1") {
        return filled(tr("expected 0 or 1, not %s"), {quoted(value)});
    }
    into = value == "1";
    return {};
}

std::string schemeNames() {
    std::string names;
    for (const ServoScheme& scheme : allSchemes()) {
        names += (names.empty() ? "" : ", ") + std::string(scheme.name);
    }
    return names;
}

// "S,E,W": the shoulder, elbow and wrist angles in degrees, each within half a turn.
std::string readPose(const std::string& value, Experiment& into) {
    std::array<double, 3> pose{};
    std::size_t start = 0;
    for (std::size_t joint = 0; joint < pose.size(); ++joint) {
        const std::size_t comma = value.find(',', start);
        if ((comma == std::string::npos) != (joint + 1 == pose.size())) {
            return filled(tr("expected three angles S,E,W, not %s"), {quoted(value)});
        }
        const auto angle = readNumber(value.substr(start, comma - start), -180, 180);
        if (!angle.value) {
            return angle.error;
        }
        pose[joint] = *angle.value;
        start = comma + 1;
    }
    into.pose = pose;
    return {};
}

std::string readScheme(const std::string& value, Experiment& into) {
    const ServoScheme* scheme = servoSchemeNamed(value);
    if (scheme == nullptr) {
        return filled(tr("unknown scheme %s (%s)"), {quoted(value), schemeNames()});
    }
    into.servoType = scheme->servoType;
    return {};
}

std::string readElbow(const std::string& value, Experiment& into) {
    for (const ElbowConfiguration& configuration : ElbowConfigurations) {
        if (value == configuration.name) {
            into.elbow = configuration.box;
            return {};
        }
    }
    return filled(tr("unknown elbow %s (down, up, right or left)"), {quoted(value)});
}

// "X,Y": any point a press or a drag can leave the target at, the picture's edges crossed
// too, so that whatever is saved opens again.
std::string readTarget(const std::string& value, Experiment& into) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) {
        return filled(tr("expected X,Y, not %s"), {quoted(value)});
    }
    const auto x = readCoordinate(value.substr(0, comma));
    const auto y = readCoordinate(value.substr(comma + 1));
    if (!x.value || !y.value) {
        return x.value ? y.error : x.error;
    }
    into.targetX = *x.value;
    into.targetY = *y.value;
    return {};
}

// One of the speeds' steps a second, or "default".
std::string readSpeed(const std::string& value, Experiment& into) {
    if (value == "default") {
        into.speed = NormalSpeed;
        return {};
    }
    const auto steps = readNumber(value, 0, 1e9);
    for (std::size_t i = 0; steps.value && i < Speeds.size(); ++i) {
        if (Speeds[i].stepsPerSecond == *steps.value) {
            into.speed = static_cast<int>(i);
            return {};
        }
    }
    std::string speeds;
    for (const Speed& speed : Speeds) {
        speeds += exactNumber(speed.stepsPerSecond) + ", ";
    }
    return filled(tr("no speed of %s steps per second (%sor default)"), {quoted(value), speeds});
}

// The names of the cues on, separated by commas (none: empty).
std::string readCues(const std::string& value, Experiment& into) {
    CueSettings cues;
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find(',', start);
        end = end == std::string::npos ? value.size() : end;
        const std::string name = value.substr(start, end - start);
        bool known = false;
        for (const Cue& cue : Cues) {
            if (name == cue.name) {
                cues.*cue.setting = known = true;
            }
        }
        if (!known) {
            return filled(tr("unknown cue %s (marker, reach, stopped, ghosts, manipulability)"),
                          {quoted(name)});
        }
        start = end + 1;
    }
    into.cues = cues;
    return {};
}

std::string writeCues(const Experiment& from) {
    std::string names;
    for (const Cue& cue : Cues) {
        if (from.cues.*cue.setting) {
            names += (names.empty() ? "" : ",") + std::string(cue.name);
        }
    }
    return names;
}

std::string readRace(const std::string& value, Experiment& into) {
    const std::optional<int> servoType = raceSchemeOfWord(value);
    if (!servoType) {
        return filled(tr("unknown scheme %s (%s or none)"), {quoted(value), schemeNames()});
    }
    into.raceScheme = *servoType;
    return {};
}

std::string readMotor(const std::string& value, Experiment& into) {
    const std::optional<MotorLaw> law = motorLawNamed(value);
    if (!law) {
        return filled(tr("unknown motor law %s (%s)"), {quoted(value), motorLawWords()});
    }
    into.motorLaw = *law;
    return {};
}

// "WN,ZETA": the natural frequency in rad/s and the damping ratio.
std::string readTuning(const std::string& value, Experiment& into) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) {
        return filled(tr("expected WN,ZETA, not %s"), {quoted(value)});
    }
    const auto frequency = readNumber(value.substr(0, comma), 0, MaxNaturalFrequency);
    const auto damping = readNumber(value.substr(comma + 1), 0, MaxDampingRatio);
    if (!frequency.value || !damping.value) {
        return frequency.value ? damping.error : frequency.error;
    }
    into.naturalFrequency = *frequency.value;
    into.dampingRatio = *damping.value;
    return {};
}

// The dynamics mode's keys, written only away from their start-up values.
std::vector<Key> dynamicsKeys() {
    return {
        {"dynamics",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.dynamics); },
         [](const Experiment& from) { return flag(from.dynamics); },
         [](const Experiment& from) { return from.dynamics; }},
        {"motor", readMotor,
         [](const Experiment& from) -> std::string { return motorLawRow(from.motorLaw).word; },
         [](const Experiment& from) { return from.motorLaw != DefaultMotorLaw; }},
        {"tune", readTuning,
         [](const Experiment& from) -> std::string {
             return exactNumber(from.naturalFrequency) + "," + exactNumber(from.dampingRatio);
         },
         [](const Experiment& from) {
             return from.naturalFrequency != DefaultNaturalFrequency ||
                    from.dampingRatio != DefaultDampingRatio;
         }},
        {"model-error",
         [](const std::string& value, Experiment& into) -> std::string {
             const auto percent = readNumber(value, -MaxModelErrorPercent, MaxModelErrorPercent);
             into.modelErrorPercent = percent.value.value_or(into.modelErrorPercent);
             return percent.error;
         },
         [](const Experiment& from) -> std::string { return exactNumber(from.modelErrorPercent); },
         [](const Experiment& from) { return from.modelErrorPercent != DefaultModelErrorPercent; }},
        {"model-object",
         [](const std::string& value, Experiment& into) -> std::string {
             const WordRead<bool> known = readEither(value, "known", "ignored");
             into.modelIgnoresObject = known.value ? !*known.value : into.modelIgnoresObject;
             return known.error;
         },
         [](const Experiment& from) -> std::string {
             return from.modelIgnoresObject ? "ignored" : "known";
         },
         [](const Experiment& from) { return from.modelIgnoresObject; }},
    };
}

// The student's law, percent-encoded as one word, written only when it is not the start-up one.
constexpr const char* LawKey = "own";
Key lawKey() {
    return {LawKey,
            [](const std::string& value, Experiment& into) -> std::string {
                into.law = lawOfArgument(value);
                return {};
            },
            [](const Experiment& from) { return lawArgument(from.law); },
            [](const Experiment& from) { return from.law != startUpLawSource(); }};
}

// The keys every experiment writes.
std::vector<Key> generalKeys() {
    return {
        {"scheme", readScheme,
         [](const Experiment& from) -> std::string { return raceSchemeWord(from.servoType); }},
        {"elbow", readElbow,
         [](const Experiment& from) -> std::string {
             return elbowConfigurationOf(from.elbow)->name;
         }},
        {"target", readTarget,
         [](const Experiment& from) -> std::string {
             return exactCoordinate(from.targetX) + "," + exactCoordinate(from.targetY);
         }},
        {"wrist",
         [](const std::string& value, Experiment& into) -> std::string {
             const auto wrist = readInteger(value, 0, WristScrollMax);
             into.wrist = static_cast<int>(wrist.value.value_or(into.wrist));
             return wrist.error;
         },
         [](const Experiment& from) -> std::string { return std::to_string(from.wrist); }},
        {"gain",
         [](const std::string& value, Experiment& into) -> std::string {
             const auto gain = readNumber(value, 0, MaxGain);
             into.gain = gain.value.value_or(into.gain);
             return gain.error;
         },
         [](const Experiment& from) -> std::string { return exactNumber(from.gain); }},
        {"speed", readSpeed,
         [](const Experiment& from) -> std::string {
             return exactNumber(Speeds[static_cast<std::size_t>(from.speed)].stepsPerSecond);
         }},
        {"lab",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.labPanel); },
         [](const Experiment& from) { return flag(from.labPanel); }},
        {"cues", readCues, writeCues},
        {"path",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.pathShown); },
         [](const Experiment& from) { return flag(from.pathShown); }},
        {"grid",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.grid); },
         [](const Experiment& from) { return flag(from.grid); }},
        {"run",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.running); },
         [](const Experiment& from) { return flag(from.running); }},
        {"projector",
         [](const std::string& value, Experiment& into) { return readFlag(value, into.projector); },
         [](const Experiment& from) { return flag(from.projector); }},
        {"race", readRace,
         [](const Experiment& from) -> std::string { return raceSchemeWord(from.raceScheme); }},
        {"lambda",
         [](const std::string& value, Experiment& into) -> std::string {
             const auto lambda = readNumber(value, 0, MaxDampingLambda);
             into.dampingLambda = lambda.value.value_or(into.dampingLambda);
             return lambda.error;
         },
         [](const Experiment& from) -> std::string { return exactNumber(from.dampingLambda); }},
        {"pose", readPose,
         [](const Experiment& from) -> std::string {
             return exactNumber(from.pose[0]) + "," + exactNumber(from.pose[1]) + "," +
                    exactNumber(from.pose[2]);
         }},
    };
}

const std::vector<Key>& keys() {
    static const std::vector<Key> table = [] {
        std::vector<Key> all = generalKeys();
        for (const Key& key : dynamicsKeys()) {
            all.push_back(key);
        }
        all.push_back(lawKey());
        return all;
    }();
    return table;
}

// One `key=value` as read, with where it stood ("line 3", "item 2 of the link").
struct Entry {
    std::string where;
    int line; // 0 in a link
    std::string key;
    std::string value;
};

std::string expectedKeyValue(const std::string& line) {
    return filled(tr("expected key=value, not %s"), {quoted(line)});
}

// A text refused before its lines are read (too large): the problem alone.
ExperimentReading refusedWhole(std::string problem) {
    ExperimentReading reading;
    reading.error = problem;
    reading.problem = std::move(problem);
    return reading;
}

ExperimentReading refused(const std::string& where, int line, std::string problem) {
    ExperimentReading reading;
    reading.error = where + ": " + problem;
    reading.errorLine = line;
    reading.problem = std::move(problem);
    return reading;
}

// Unknown keys are told one by one up to this many, then counted in one line.
constexpr long long MaxUnknownKeysTold = 3;

ExperimentReading readEntries(const std::vector<Entry>& entries) {
    ExperimentReading reading;
    long long unknown = 0;
    Experiment experiment;
    std::map<std::string, std::string> seen;
    for (const Entry& entry : entries) {
        const Key* key = nullptr;
        for (const Key& known : keys()) {
            if (entry.key == known.name) {
                key = &known;
            }
        }
        if (key == nullptr) {
            if (++unknown <= MaxUnknownKeysTold) {
                reading.warnings.push_back(entry.where + ": unknown key " + quoted(entry.key) +
                                           " ignored");
            }
            continue;
        }
        if (const auto before = seen.find(entry.key); before != seen.end()) {
            return refused(entry.where, entry.line,
                           entry.key + ": " + filled(tr("given before, at %s"), {before->second}));
        }
        seen[entry.key] = entry.where;
        if (std::string error = key->read(entry.value, experiment); !error.empty()) {
            return refused(entry.where, entry.line, entry.key + ": " + error);
        }
    }
    if (unknown > MaxUnknownKeysTold) {
        reading.warnings.push_back("and " + std::to_string(unknown - MaxUnknownKeysTold) +
                                   " more unknown keys ignored");
    }
    reading.experiment = experiment;
    return reading;
}

std::string withoutSpaceAround(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

bool Experiment::operator==(const Experiment& other) const {
    return writeExperiment(*this) == writeExperiment(other);
}

ExperimentReading readExperiment(std::string_view text, int firstLineNumber) {
    if (static_cast<long long>(text.size()) > MaxExperimentBytes) {
        return refusedWhole(largerThan(MaxExperimentBytes));
    }
    std::vector<Entry> entries;
    std::size_t start = 0;
    int lineNumber = firstLineNumber - 1;
    bool headerSeen = false;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string line = withoutSpaceAround(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::string where = lineWhere(lineNumber);
        if (!headerSeen) {
            if (line != ExperimentHeader) {
                return refused(where, lineNumber,
                               filled(tr("not an experiment (the first line must be \"%s\")"),
                                      {ExperimentHeader}));
            }
            headerSeen = true;
            continue;
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            return refused(where, lineNumber, expectedKeyValue(line));
        }
        entries.push_back({where, lineNumber,
                           withoutSpaceAround(std::string_view(line).substr(0, equals)),
                           withoutSpaceAround(std::string_view(line).substr(equals + 1))});
    }
    return readEntries(entries);
}

std::string writeExperiment(const Experiment& experiment) {
    std::string text = std::string(ExperimentHeader) + "\n";
    for (const Key& key : keys()) {
        if (keyWritten(key, experiment)) {
            text += std::string(key.name) + "=" + key.write(experiment) + "\n";
        }
    }
    return text;
}

ExperimentReading readExperimentLink(std::string_view hash) {
    if (!hash.empty() && hash.front() == '#') {
        hash.remove_prefix(1);
    }
    if (static_cast<long long>(hash.size()) > MaxLinkBytes) {
        return refusedWhole(filled(tr(LongerThanText), {std::to_string(MaxLinkBytes)}));
    }
    std::vector<Entry> entries;
    std::size_t start = 0;
    int item = 0;
    bool versionSeen = false;
    while (start <= hash.size()) {
        std::size_t end = hash.find('&', start);
        end = end == std::string_view::npos ? hash.size() : end;
        const std::string_view part = hash.substr(start, end - start);
        start = end + 1;
        ++item;
        const std::string where = filled(tr("item %s of the link"), {std::to_string(item)});
        if (!versionSeen) {
            if (part != ExperimentLinkVersion && part.starts_with("v=")) {
                return refused(
                    where, 0,
                    filled(tr(LinkVersionUnknownText), {quoted(percentDecoded(part.substr(2)))}));
            }
            if (part != ExperimentLinkVersion) {
                return refused(where, 0,
                               filled(tr("not an experiment (the link must start with %s)"),
                                      {ExperimentLinkVersion}));
            }
            versionSeen = true;
            continue;
        }
        if (part.empty()) {
            continue;
        }
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            return refused(where, 0, expectedKeyValue(percentDecoded(part)));
        }
        const std::string key = percentDecoded(part.substr(0, equals));
        const std::string_view value = part.substr(equals + 1);
        // The law's value is percent-encoded as it stands in a file, once.
        entries.push_back(
            {where, 0, key, key == LawKey ? std::string(value) : percentDecoded(value)});
    }
    return readEntries(entries);
}

std::string experimentLink(const Experiment& experiment) {
    std::string link = ExperimentLinkVersion;
    for (const Key& key : keys()) {
        if (keyWritten(key, experiment)) {
            const std::string value = key.write(experiment);
            link += "&" + std::string(key.name) + "=" +
                    (key.name == std::string_view(LawKey) ? value : percentEncoded(value));
        }
    }
    return link;
}

Experiment experimentOf(const Lab& lab, bool labPanelOpen) {
    const SimulationState& state = lab.simulation().state();
    const Controls& controls = lab.simulation().controls();
    Experiment experiment;
    experiment.servoType = state.servoType;
    for (const ElbowConfiguration& configuration : ElbowConfigurations) {
        if (configuration.elbowPair == state.elbowPair &&
            configuration.elbowChoice == state.elbowChoice) {
            experiment.elbow = configuration.box;
        }
    }
    experiment.targetX = static_cast<float>(state.targetX);
    experiment.targetY = static_cast<float>(state.targetY);
    experiment.wrist = controls.wristScrollPosition();
    experiment.gain = state.gain;
    experiment.speed = lab.settings().speed;
    experiment.labPanel = labPanelOpen;
    experiment.cues = lab.settings().cues;
    experiment.pathShown = state.clearEachCycle == 0;
    experiment.grid = state.gridOn == 1;
    experiment.running = state.runState != RunStopped;
    experiment.projector = lab.settings().projector;
    experiment.raceScheme = lab.race().scheme();
    experiment.dampingLambda = state.dampingLambda;
    experiment.pose = state.startPoseDegrees;
    experiment.dynamics = state.dynamics.on;
    experiment.motorLaw = state.dynamics.motorLaw;
    experiment.naturalFrequency = state.dynamics.naturalFrequency;
    experiment.dampingRatio = state.dynamics.dampingRatio;
    experiment.modelErrorPercent = state.dynamics.modelErrorPercent;
    experiment.modelIgnoresObject = state.dynamics.modelIgnoresObject;
    experiment.law = lab.ownLaw().source();
    return experiment;
}

void applyExperiment(Lab& lab, const Experiment& experiment) {
    lab.reset();
    SimulationState& state = lab.simulation().state();
    state.startPoseDegrees = experiment.pose; // the first cycle, still to come, takes it
    Controls& controls = lab.simulation().controls();
    DrawingSurface& surface = lab.simulation().surface();
    schemeChosen(state, controls, experiment.servoType);
    controls.setChecked(experiment.elbow, true);
    controls.setWristScrollPosition(experiment.wrist);
    surfacePressed(state, surface, experiment.targetX, experiment.targetY);
    surfaceReleased(state);
    gainChanged(state, experiment.gain);
    dampingEntered(state, experiment.dampingLambda);
    lab.setSpeed(experiment.speed);
    lab.settings().cues = experiment.cues;
    lab.settings().projector = experiment.projector;
    if (experiment.pathShown) {
        pathButtonClicked(state, controls);
    }
    if (experiment.grid) {
        gridMenuClicked(state, surface, lab.simulation().yieldHook());
    }
    if (!experiment.running) {
        stopClicked(state);
    }
    lab.race().setScheme(experiment.raceScheme);
    dynamicsSwitched(state, experiment.dynamics);
    motorLawChosen(state, experiment.motorLaw);
    tuned(state, experiment.naturalFrequency, experiment.dampingRatio);
    modelErrorSet(state, experiment.modelErrorPercent);
    modelObjectIgnored(state, experiment.modelIgnoresObject);
    if (experiment.law != lab.ownLaw().source()) { // the reset applied the start-up law
        lab.ownLaw().apply(experiment.law);
    }
}

} // namespace servo
