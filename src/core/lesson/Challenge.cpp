#include "core/lesson/Challenge.h"

#include "core/language/Translation.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"

#include <algorithm>
#include <map>

namespace servo {

namespace {

// A control a challenge may lock: the inputs it refuses (their words, the boxes of box-press
// and box-click, the menu items) and what the refusal says.
struct Lock {
    const char* word;
    const char* refusal;
    std::vector<std::string> inputs;
    int firstBox; // 0: none
    int lastBox;
    std::vector<Command> items;
};

const std::vector<Lock>& locks() {
    static const std::vector<Lock> table{
        {"scheme", N_("The challenge locks the scheme."), {"servo", "scheme"}, 1, 3, {}},
        {"elbow", N_("The challenge locks the elbow."), {"elbow"}, 4, 7, {}},
        {"gain",
         N_("The challenge locks the gain."),
         {"gain", "enter-gain"},
         0,
         0,
         {Command::GainUp, Command::GainDown}},
        {"target",
         N_("The challenge locks the target."),
         {"press", "move", "target-key"},
         0,
         0,
         {}},
        {"wrist", N_("The challenge locks the wrist."), {"scroll"}, 0, 0, {}},
        {"motor",
         N_("The challenge locks the dynamics mode and its motor law."),
         {"dynamics", "motor", "model-error", "model-object"},
         0,
         0,
         {Command::Dynamics, Command::MotorLaw}},
        {"tune", N_("The challenge locks the motors' tuning."), {"tune"}, 0, 0, {}},
    };
    return table;
}

const Lock* lockNamed(const std::string& word) {
    for (const Lock& lock : locks()) {
        if (word == lock.word) {
            return &lock;
        }
    }
    return nullptr;
}

// One challenge key's `key=value` as read, with where it stood.
struct Entry {
    std::string where;
    int line; // 0 in a link
    std::string key;
    std::string value;
};

bool isChallengeKey(const std::string& key) {
    static const std::vector<std::string> keys{"title", "task", "lock", "goal", "combine", "hint"};
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

ChallengeReading refused(const std::string& where, int line, std::string problem) {
    ChallengeReading reading;
    reading.error = where.empty() ? problem : where + ": " + problem;
    reading.errorLine = line;
    reading.problem = std::move(problem);
    return reading;
}

std::string readLocks(const std::string& value, Challenge& into) {
    into.locks.clear();
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(',', start), value.size());
        const std::string word = trimmed(value.substr(start, end - start));
        start = end + 1;
        if (lockNamed(word) == nullptr) {
            return filled(tr("unknown control %s (%s)"), {quoted(word), lockWords()});
        }
        into.locks.push_back(word);
    }
    return {};
}

// One entry into the challenge: empty, or what is wrong with its value.
std::string readEntry(const Entry& entry, Challenge& into) {
    const bool text = entry.key == "title" || entry.key == "task" || entry.key == "hint";
    if (text && entry.value.find_first_of("\r\n") != std::string::npos) {
        return tr("expected one line"); // (a link's %0A): it would not be written as one
    }
    if (entry.key == "title") {
        into.title = entry.value;
    } else if (entry.key == "task") {
        into.task = entry.value;
    } else if (entry.key == "hint") {
        into.hints.push_back(entry.value);
    } else if (entry.key == "lock") {
        return readLocks(entry.value, into);
    } else if (entry.key == "combine") {
        if (entry.value != "all" && entry.value != "any") {
            return filled(tr("expected all or any, not %s"), {quoted(entry.value)});
        }
        into.any = entry.value == "any";
    } else {
        const GoalReading goal = readGoal(entry.value);
        if (!goal.error.empty()) {
            return goal.error;
        }
        into.goals.push_back(goal.goal);
    }
    return {};
}

// The challenge of its entries and its set-up as read: the first problem by place.
ChallengeReading readEntries(const std::vector<Entry>& entries, const ExperimentReading& setUp,
                             const std::string& headerWhere, int headerLine) {
    Challenge challenge;
    std::map<std::string, std::string> seen;
    for (const Entry& entry : entries) {
        const bool once = entry.key != "goal" && entry.key != "hint";
        if (const auto before = seen.find(entry.key); once && before != seen.end()) {
            return refused(entry.where, entry.line,
                           entry.key + ": " + filled(tr("given before, at %s"), {before->second}));
        }
        seen[entry.key] = entry.where;
        const bool setUpFirst = !setUp.experiment && setUp.errorLine < entry.line;
        if (std::string error = readEntry(entry, challenge); !error.empty() && !setUpFirst) {
            return refused(entry.where, entry.line, entry.key + ": " + error);
        }
    }
    if (!setUp.experiment) {
        return {std::nullopt, setUp.error, setUp.errorLine, setUp.problem, setUp.warnings};
    }
    if (std::none_of(challenge.goals.begin(), challenge.goals.end(),
                     [](const Goal& goal) { return isTarget(goal.kind); })) {
        return refused(headerWhere, headerLine,
                       "goal: " + std::string(tr("a challenge needs a goal reach or settle")));
    }
    challenge.setUp = *setUp.experiment;
    ChallengeReading reading;
    reading.challenge = std::move(challenge);
    reading.warnings = setUp.warnings;
    return reading;
}

// Splits "key=value" (trimmed); false without '='.
bool splitKey(const std::string& text, std::string& key, std::string& value) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    key = trimmed(std::string_view(text).substr(0, equals));
    value = trimmed(std::string_view(text).substr(equals + 1));
    return true;
}

} // namespace

bool Challenge::operator==(const Challenge& other) const {
    return writeChallenge(*this) == writeChallenge(other);
}

ChallengeReading readChallenge(std::string_view text, int firstLineNumber) {
    if (static_cast<long long>(text.size()) > MaxExperimentBytes) {
        return refused("", 0, largerThan(MaxExperimentBytes));
    }
    // The set-up is the text with the challenge's lines left empty, so that its lines keep
    // their numbers.
    std::string setUpText;
    std::vector<Entry> entries;
    int lineNumber = firstLineNumber - 1;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        std::string key;
        std::string value;
        if (++lineNumber == firstLineNumber) {
            if (line != ChallengeHeader) {
                return refused(lineWhere(lineNumber), lineNumber,
                               filled(tr("not a challenge (the first line must be \"%s\")"),
                                      {ChallengeHeader}));
            }
            setUpText += ExperimentHeader;
        } else if (line[0] != '#' && splitKey(line, key, value) && isChallengeKey(key)) {
            entries.push_back({lineWhere(lineNumber), lineNumber, key, value});
        } else {
            setUpText += line;
        }
        setUpText += '\n';
    }
    return readEntries(entries, readExperiment(setUpText, firstLineNumber),
                       lineWhere(firstLineNumber), firstLineNumber);
}

std::string writeChallenge(const Challenge& challenge) {
    std::string text = std::string(ChallengeHeader) + "\n";
    text += "title=" + challenge.title + "\ntask=" + challenge.task + "\n";
    if (!challenge.locks.empty()) {
        std::string words;
        for (const std::string& lock : challenge.locks) {
            words += (words.empty() ? "" : ",") + lock;
        }
        text += "lock=" + words + "\n";
    }
    for (const Goal& goal : challenge.goals) {
        text += "goal=" + writeGoal(goal) + "\n";
    }
    text += std::string("combine=") + (challenge.any ? "any" : "all") + "\n";
    for (const std::string& hint : challenge.hints) {
        text += "hint=" + hint + "\n";
    }
    const std::string setUp = writeExperiment(challenge.setUp);
    return text + setUp.substr(setUp.find('\n') + 1);
}

ChallengeReading readChallengeLink(std::string_view hash) {
    if (!hash.empty() && hash.front() == '#') {
        hash.remove_prefix(1);
    }
    if (static_cast<long long>(hash.size()) > MaxLinkBytes) {
        return refused("", 0, filled(tr(LongerThanText), {std::to_string(MaxLinkBytes)}));
    }
    // As for a text: the set-up is the link with the challenge's items left empty.
    std::string setUpLink;
    std::vector<Entry> entries;
    int item = 0;
    for (std::size_t start = 0; start <= hash.size();) {
        const std::size_t end = std::min(hash.find('&', start), hash.size());
        const std::string_view part = hash.substr(start, end - start);
        start = end + 1;
        const std::string where = filled(tr("item %s of the link"), {std::to_string(++item)});
        std::string key;
        std::string value;
        if (item == 1) {
            if (part != ChallengeLinkVersion) {
                return refused(where, 0,
                               filled(tr("not a challenge (the link must start with %s)"),
                                      {ChallengeLinkVersion}));
            }
            setUpLink += ExperimentLinkVersion;
        } else if (splitKey(percentDecoded(part), key, value) && isChallengeKey(key)) {
            entries.push_back({where, 0, key, value});
        }
        setUpLink += (item == 1 || isChallengeKey(key)) ? "" : std::string(part);
        setUpLink += end < hash.size() ? "&" : "";
    }
    return readEntries(entries, readExperimentLink(setUpLink), "", 0);
}

std::string challengeLink(const Challenge& challenge) {
    std::string link = ChallengeLinkVersion;
    const std::string text = writeChallenge(challenge);
    std::size_t start = text.find('\n') + 1;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        link += "&" + line.substr(0, equals) + "=" + percentEncoded(line.substr(equals + 1));
        start = end + 1;
    }
    return link;
}

bool sameSetUp(const Experiment& setUp, const Experiment& experiment) {
    Experiment looksAside = experiment;
    looksAside.speed = setUp.speed;
    looksAside.labPanel = setUp.labPanel;
    looksAside.cues = setUp.cues;
    looksAside.projector = setUp.projector;
    looksAside.pathShown = setUp.pathShown;
    looksAside.grid = setUp.grid;
    return looksAside == setUp;
}

std::string lockWords() {
    std::string words;
    for (const Lock& lock : locks()) {
        words += (words.empty() ? "" : ", ") + std::string(lock.word);
    }
    return words;
}

std::string lockedInput(const std::vector<std::string>& held,
                        const std::vector<std::string>& words) {
    if (words.empty()) {
        return {};
    }
    // A box's press or click: its number, 0 for another input.
    long long box = 0;
    if (words.size() == 2 && (words[0] == "box-press" || words[0] == "box-click")) {
        box = readInteger(words[1], 1, CheckBoxCount).value.value_or(0);
    }
    for (const std::string& word : held) {
        const Lock& lock = *lockNamed(word);
        const bool named =
            std::find(lock.inputs.begin(), lock.inputs.end(), words[0]) != lock.inputs.end();
        const bool boxed = box != 0 && box >= lock.firstBox && box <= lock.lastBox;
        if (named || boxed) {
            return tr(lock.refusal);
        }
    }
    return {};
}

std::string lockedItem(const std::vector<std::string>& held, Command command) {
    for (const std::string& word : held) {
        const Lock& lock = *lockNamed(word);
        if (std::find(lock.items.begin(), lock.items.end(), command) != lock.items.end()) {
            return tr(lock.refusal);
        }
    }
    return {};
}

Attempt::Attempt(const Challenge& challenge) : challenge_(challenge) {
    for (const Goal& goal : challenge_.goals) {
        progress_.push_back(startProgress(goal));
    }
}

void Attempt::afterCycle(const CycleFacts& facts) {
    if (verdict_ != GoalStatus::Pending) {
        return;
    }
    CycleFacts counted = facts;
    counted.cycle = ++cycles_;
    for (std::size_t i = 0; i < progress_.size(); ++i) {
        checkGoal(challenge_.goals[i], counted, progress_[i]);
    }
    verdict_ = judged();
    decidedAt_ = verdict_ != GoalStatus::Pending ? cycles_ : 0;
}

GoalStatus Attempt::judged() const {
    int targets = 0;
    int met = 0;
    int failed = 0;
    for (std::size_t i = 0; i < progress_.size(); ++i) {
        const GoalStatus status = progress_[i].status;
        if (!isTarget(challenge_.goals[i].kind)) {
            if (status == GoalStatus::Failed) {
                return GoalStatus::Failed; // a condition broken fails the challenge
            }
            continue;
        }
        ++targets;
        met += status == GoalStatus::Met ? 1 : 0;
        failed += status == GoalStatus::Failed ? 1 : 0;
    }
    if (challenge_.any ? met > 0 : met == targets) {
        return GoalStatus::Met;
    }
    return (challenge_.any ? failed == targets : failed > 0) ? GoalStatus::Failed
                                                             : GoalStatus::Pending;
}

std::string Attempt::verdictText() const {
    const std::string cycle = std::to_string(decidedAt_);
    return verdict_ == GoalStatus::Met ? filled(tr("Challenge met at cycle %s"), {cycle})
           : verdict_ == GoalStatus::Failed
               ? filled(tr("Challenge not met: failed at cycle %s"), {cycle})
               : std::string(tr("Challenge pending"));
}

std::vector<std::string> Attempt::report() const {
    std::vector<std::string> lines{verdictText()};
    for (std::size_t i = 0; i < progress_.size(); ++i) {
        lines.push_back(goalText(challenge_.goals[i]) + ": " +
                        progressText(challenge_.goals[i], progress_[i]));
    }
    return lines;
}

} // namespace servo
