#include "web/WebFrontEnd.h"

#include "core/access/Announcer.h"
#include "core/access/ColourProfile.h"
#include "core/language/Translation.h"
#include "core/lesson/Challenge.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/HandIn.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/JsonWriter.h"
#include "core/lesson/PlotData.h"
#include "core/lesson/Recording.h"
#include "core/lesson/ScriptWords.h"
#include "web/PageDescription.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace servo {

void EncodedOps::encode(const std::vector<DrawOp>& ops) {
    numbers_.clear();
    texts_.clear();
    numbers_.reserve(ops.size() * OpFloats);
    for (const DrawOp& op : ops) {
        float x1 = op.x1;
        if (op.kind == DrawOp::Kind::Print) {
            x1 = static_cast<float>(texts_.size());
            texts_.push_back(op.text);
        }
        numbers_.insert(numbers_.end(), {static_cast<float>(op.kind), x1, op.y1, op.x2, op.y2,
                                         static_cast<float>(op.colour)});
    }
}

namespace {

// A list as the frame tells it: [count, address, [texts]].
void writeList(JsonWriter& json, const char* key, const EncodedOps& ops) {
    json.beginArray(key)
        .value(nullptr, ops.count())
        .value(nullptr, static_cast<double>(ops.address()))
        .beginArray();
    for (const std::string& text : ops.texts()) {
        json.value(nullptr, text);
    }
    json.endArray().endArray();
}

// A line's first word (up to a space or a line feed) and the rest after that one character.
std::pair<std::string, std::string> splitWord(const std::string& line) {
    const std::size_t end = std::min(line.find(' '), line.find('\n'));
    if (end == std::string::npos) {
        return {line, ""};
    }
    return {line.substr(0, end), line.substr(end + 1)};
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

ColourProfile profileOf(const std::string& word) {
    return word == "1" ? ColourProfile::HighContrast : ColourProfile::Window;
}

// "FROM TO PIXEL...": the pixels as the other profile shows them.
std::string recoloured(const std::string& rest) {
    const std::vector<std::string> words = splitOn(rest, ' ');
    if (words.size() < 2) {
        return {};
    }
    std::string out;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i].empty()) {
            continue;
        }
        const auto pixel = static_cast<Colour>(std::strtoul(words[i].c_str(), nullptr, 10));
        out += (out.empty() ? "" : " ") +
               std::to_string(recolouredPixel(pixel, profileOf(words[0]), profileOf(words[1])));
    }
    return out;
}

// What the frame sounds like: {"hertz", "level", "events": [word, ...]} (see SoundFrame).
void writeSound(JsonWriter& json, const SoundFrame& sound) {
    json.beginObject("sound").value("hertz", sound.toneHertz).value("level", sound.toneLevel);
    json.beginArray("events");
    for (const SoundEvent event : sound.events) {
        json.value(nullptr, soundEventWord(event));
    }
    json.endArray().endObject();
}

} // namespace

WebFrontEnd::WebFrontEnd() = default;

std::string WebFrontEnd::submit(const std::string& line) {
    const auto [word, rest] = splitWord(line);
    bool handled = false;
    std::string answer = frontEndInput(word, rest, handled);
    return handled ? answer : lesson_.submit(line);
}

std::string WebFrontEnd::frontEndInput(const std::string& word, const std::string& rest,
                                       bool& handled) {
    handled = true;
    if (word == "start") {
        headless_.finishStartUp();
    } else if (word == "modal") {
        lab_.setModalOpen(rest == "on");
    } else if (word == "panel") {
        labPanelOpen_ = rest == "on";
    } else if (word == "language") {
        setLanguage(rest);
    } else if (word == "measured") {
        const auto [width, text] = splitWord(rest);
        plotTextWidths_.set(text, std::strtod(width.c_str(), nullptr));
        plotShown_ = {}; // drawn again with these widths
    } else if (word == "key") {
        // A key of the picture by its name, "shift" after it for the fine step.
        const auto [key, shift] = splitWord(rest);
        return lesson_.submit(pictureKeyLine(key, shift == "shift"));
    } else if (word == "record") {
        lesson_.startRecording();
    } else if (word == "play") {
        return lesson_.play(rest);
    } else {
        handled = false;
    }
    return {};
}

std::string WebFrontEnd::frame(double elapsedSeconds, double nowSeconds, double plotWidth,
                               double plotHeight, double lineHeight) {
    if (state().runState != RunEnd) {
        lab_.frame(elapsedSeconds);
    }
    JsonWriter json;
    json.beginObject();
    if (takePicture()) {
        writeList(json, "picture", picture_);
    }
    if (refreshCues()) {
        writeList(json, "cues", cues_);
    }
    if (plotWidth > 0 && drawPlot(plotWidth, plotHeight, lineHeight)) {
        writeList(json, "plot", plot_);
    }
    View view = viewer_.afterPass(lesson_, labPanelOpen_, nowSeconds);
    if (view.lab.figures != figuresSent_) {
        figuresSent_ = view.lab.figures;
        json.value("figures", figuresSent_);
    }
    for (auto [key, text] : {std::pair{"announcement", &view.announcement},
                             std::pair{"pictureName", &view.pictureName}}) {
        if (!text->empty()) {
            json.value(key, *text);
            text->clear();
        }
    }
    if (view.sound.on) {
        writeSound(json, viewer_.sound());
    }
    view.lab.figures.clear();
    std::string out = json.text();
    if (!viewSent_ || !(view == *viewSent_)) {
        out += (out.size() > 1 ? ",\"view\":" : "\"view\":") + viewJson(view);
        viewSent_ = std::move(view);
    }
    return out + "}";
}

std::string WebFrontEnd::describe(const std::string& what) {
    const auto [word, rest] = splitWord(what);
    if (word == "page") {
        return pageDescription();
    } else if (word == "view") {
        return viewJson(viewOf(lesson_, labPanelOpen_));
    } else if (word == "snapshot") {
        return snapshot();
    } else if (word == "plot-data") {
        return plotDataCsv(lab_.history());
    } else if (word == "link") {
        return experimentLink(experimentOf(lab_, labPanelOpen_));
    } else if (word == "whole-state") {
        return Announcer::wholeState(lab_);
    } else if (word == "plot-texts") {
        std::string lines;
        for (const std::string& text : plotTexts()) {
            lines += text + "\n";
        }
        return lines;
    } else if (word == "preferred-language") {
        return preferredLanguage(splitOn(rest, ','));
    } else if (word == "recolour") {
        return recoloured(rest);
    } else if (word == "open-link") {
        return openLink(rest);
    } else if (word == "stop-recording") {
        return lesson_.stopRecording();
    } else if (word == "picture-map") {
        return pictureMapJson(rest);
    } else if (word == "hand-in") {
        return handInJson(rest);
    }
    return {};
}

// Where the user rectangle stands in a picture "WIDTH HEIGHT" CSS pixels large, in the
// proportions the lab's settings choose (see PictureMap).
std::string WebFrontEnd::pictureMapJson(const std::string& size) const {
    const std::vector<std::string> words = splitWords(size);
    const auto number = [&words](std::size_t at) {
        return at < words.size() ? std::strtod(words[at].c_str(), nullptr) : 0.0;
    };
    const PictureMap map = pictureMap(number(0), number(1), lab_.settings().trueProportions);
    JsonWriter json;
    json.beginObject()
        .value("left", map.left)
        .value("top", map.top)
        .value("spanX", map.spanX)
        .value("spanY", map.spanY)
        .value("scaleX", map.scaleX)
        .value("scaleY", map.scaleY)
        .value("offsetX", map.offsetX)
        .value("offsetY", map.offsetY)
        .value("trueProportions", lab_.settings().trueProportions)
        .endObject();
    return json.text();
}

namespace {

// Whether a link's hash (its "#" or not) is a challenge's: its first item is "c=1".
bool isChallengeLink(std::string_view hash) {
    if (!hash.empty() && hash.front() == '#') {
        hash.remove_prefix(1);
    }
    const std::string_view version = ChallengeLinkVersion;
    return hash.substr(0, version.size()) == version &&
           (hash.size() == version.size() || hash[version.size()] == '&');
}

std::string openedJson(const std::string& error, bool labPanel, bool challenge,
                       const std::vector<std::string>& warnings) {
    JsonWriter json;
    json.beginObject()
        .value("error", error)
        .value("labPanel", error.empty() && labPanel)
        .value("challenge", error.empty() && challenge);
    json.beginArray("warnings");
    for (const std::string& warning : warnings) {
        json.value(nullptr, warning);
    }
    json.endArray();
    json.endObject();
    return json.text();
}

} // namespace

// Opens the experiment of a link's hash, or attempts the challenge of a challenge's link (its
// set-up applied, the attempt recorded from it): {"error": "...", "labPanel": bool,
// "challenge": bool, "warnings": [...]}; on an error nothing has changed.
std::string WebFrontEnd::openLink(const std::string& hash) {
    if (isChallengeLink(hash)) {
        const ChallengeReading reading = readChallengeLink(hash);
        const std::string error = lesson_.attemptChallenge(reading);
        return openedJson(error, reading.challenge && reading.challenge->setUp.labPanel, true,
                          reading.warnings);
    }
    const ExperimentReading reading = readExperimentLink(hash);
    const std::string error = lesson_.open(reading);
    return openedJson(error, reading.experiment && reading.experiment->labPanel, false,
                      reading.warnings);
}

// Hands in the attempt under way (see handIn), `when` the page's date and time: {"refusal",
// "recording", "summary", "baseName", "recordingName", "summaryName", "handedIn"}: the two
// files' names and what to tell once they are downloaded.
std::string WebFrontEnd::handInJson(const std::string& when) {
    const HandIn given = handIn(lesson_, when);
    const std::string recordingName = given.baseName + RecordingFileSuffix;
    const std::string summaryName = summaryFileName(recordingName);
    JsonWriter json;
    json.beginObject()
        .value("refusal", given.refusal)
        .value("recording", given.recording)
        .value("summary", given.summary)
        .value("baseName", given.baseName)
        .value("recordingName", given.refusal.empty() ? recordingName : "")
        .value("summaryName", given.refusal.empty() ? summaryName : "")
        .value("handedIn",
               given.refusal.empty() ? filled(tr(HandedInText), {recordingName, summaryName}) : "")
        .endObject();
    return json.text();
}

// The state's main values as JSON, for the page's tests and for anyone curious.
std::string WebFrontEnd::snapshot() {
    const SimulationState& s = state();
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"shoulderAngle\":%.17g,\"elbowAngle\":%.17g,\"wristAngle\":%.17g,"
                  "\"targetX\":%.9g,\"targetY\":%.9g,\"servoType\":%d,\"runState\":%d,"
                  "\"gridOn\":%d,\"pointerHeld\":%d,\"objectHeld\":%d,\"gain\":%.17g,"
                  "\"firstCycle\":%d,\"cycles\":%zu,\"steps\":%zu}",
                  s.shoulderAngle, s.elbowAngle, s.wristAngle, s.targetX, s.targetY, s.servoType,
                  s.runState, s.gridOn, s.pointerHeld, s.objectHeld, s.gain, s.firstCycle,
                  lab_.history().size(), lab_.history().version());
    return text;
}

bool WebFrontEnd::takePicture() {
    const std::vector<DrawOp>& ops = surface().ops();
    const bool repeats = repeatsWithoutChange(ops, lastFrame_);
    if (!repeats) {
        picture_.encode(ops);
        if (!ops.empty()) {
            lastFrame_ = ops;
        }
    }
    surface().forget();
    return !repeats;
}

bool WebFrontEnd::refreshCues() {
    DisplayList now;
    if (lab_.anyCue()) {
        lab_.drawCues(now);
    }
    if (now.ops() == lastCues_) {
        return false;
    }
    lastCues_ = now.ops();
    cues_.encode(lastCues_);
    return true;
}

bool WebFrontEnd::drawPlot(double width, double height, double lineHeight) {
    const PlotKey now{
        lab_.history().version(), signalSetOf(state()), width, height, lineHeight, languageCode()};
    if (now == plotShown_) {
        return false;
    }
    plotShown_ = now;
    DisplayList list;
    const PlotLayout layout{width, height, lineHeight, [this, lineHeight](std::string_view text) {
                                return plotTextWidths_.width(text, lineHeight);
                            }};
    lab_.drawPlot(layout, list);
    plot_.encode(list.ops());
    return true;
}

} // namespace servo
