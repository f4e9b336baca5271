#include "core/lesson/View.h"

#include "core/dynamics/MotorLaws.h"
#include "core/language/Translation.h"
#include "core/lesson/JsonWriter.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"

#include <cmath>

namespace servo {

namespace {

std::vector<View::Item> itemsOf(const Lesson& lesson, const std::vector<MenuItem>& items,
                                bool labPanelOpen) {
    std::vector<View::Item> shown;
    shown.reserve(items.size());
    for (const MenuItem& item : items) {
        const ItemState state = lesson.itemState(item, labPanelOpen);
        shown.push_back({itemWord(item), tr(state.caption), state.checked, state.enabled});
    }
    return shown;
}

// Line feeds alone, as the catalogue and a text area have them: the explanation texts end
// their lines in CR LF, as the window's text box wants (see explanationOf).
std::string withLineFeeds(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            plain += text[i];
        }
    }
    return plain;
}

View::LabValues labValuesOf(const Lesson& lesson) {
    const Lab& lab = lesson.lab();
    const SimulationState& state = lab.simulation().state();
    View::LabValues values;
    values.gain = state.gain;
    values.gainSlider = static_cast<int>(std::lround(state.gain / GainStep));
    values.speed = lab.settings().speed;
    values.scheme = labPlaceOf(state.servoType);
    values.race = labPlaceOf(lab.race().scheme()) + 1;
    values.damping = state.dampingLambda;
    values.projector = lab.settings().projector;
    values.highContrast = lab.settings().highContrast;
    values.trueProportions = lab.settings().trueProportions;
    values.enabled = !lesson.playing();
    values.figures = lab.figures();
    const DynamicsState& dynamics = state.dynamics;
    values.dynamics = {
        dynamics.on,
        static_cast<int>(dynamics.motorLaw),
        dynamics.naturalFrequency,
        dynamics.dampingRatio,
        dynamics.modelErrorPercent,
        dynamics.modelIgnoresObject,
        gainsText(dynamics.motorLaw, dynamics.naturalFrequency, dynamics.dampingRatio)};
    return values;
}

void writeItems(JsonWriter& json, const char* key, const std::vector<View::Item>& items) {
    json.breakLine().beginArray(key);
    for (const View::Item& item : items) {
        json.breakLine()
            .beginObject()
            .value("word", item.word)
            .value("caption", plainCaption(item.caption))
            .value("mnemonic", mnemonicOf(item.caption))
            .value("checked", item.checked)
            .value("enabled", item.enabled)
            .endObject();
    }
    json.endArray();
}

void writeLab(JsonWriter& json, const View::LabValues& lab) {
    json.breakLine()
        .beginObject("lab")
        .value("gain", lab.gain)
        .value("gainSlider", lab.gainSlider)
        .value("speed", lab.speed)
        .value("scheme", lab.scheme)
        .value("race", lab.race)
        .value("damping", lab.damping)
        .value("projector", lab.projector)
        .value("highContrast", lab.highContrast)
        .value("trueProportions", lab.trueProportions)
        .value("enabled", lab.enabled)
        .value("figures", lab.figures)
        .breakLine()
        .beginObject("dynamics")
        .value("on", lab.dynamics.on)
        .value("motorLaw", lab.dynamics.motorLaw)
        .value("naturalFrequency", lab.dynamics.naturalFrequency)
        .value("dampingRatio", lab.dynamics.dampingRatio)
        .value("modelErrorPercent", lab.dynamics.modelErrorPercent)
        .value("modelIgnoresObject", lab.dynamics.modelIgnoresObject)
        .value("gains", lab.dynamics.gains)
        .endObject()
        .endObject();
}

void writeSound(JsonWriter& json, const View& view) {
    json.beginObject("sound")
        .value("on", view.sound.on)
        .value("volume", view.sound.volume)
        .endObject()
        .breakLine()
        .value("voicing", view.voicing);
}

View::Law lawOf(const OwnLaw& law) {
    constexpr const char* Statuses[] = {"empty", "running", "stopped"};
    const std::array<std::string, 3> texts{
        tr("No law yet: write one and Apply it."), tr("The law runs."),
        filled(tr("Your law stopped at line %s: %s"),
               {std::to_string(law.error().line), tr(law.error().message)})};
    const auto status = static_cast<std::size_t>(law.status());
    return {law.source(),     Statuses[status],        law.hasTorque(),
            law.error().line, tr(law.error().message), texts[status]};
}

void writeLaw(JsonWriter& json, const View::Law& law) {
    json.breakLine()
        .beginObject("law")
        .value("status", law.status)
        .value("torque", law.torque)
        .value("errorLine", law.errorLine)
        .value("error", law.error)
        .value("source", law.source)
        .value("statusText", law.statusText)
        .endObject();
}

} // namespace

View viewOf(const Lesson& lesson, bool labPanelOpen) {
    const Controls& controls = lesson.lab().simulation().controls();
    View view;
    const bool input = !lesson.playing();
    for (int number = 1; number <= CheckBoxCount; ++number) {
        const auto box = static_cast<CheckBox>(number);
        view.boxes[static_cast<std::size_t>(number - 1)] = {
            tr(boxCaption(box)), controls.isChecked(box),
            elbowConfigurationOf(box) == nullptr || controls.elbowBoxesVisible(), input};
    }
    view.wristScroll = controls.wristScrollPosition();
    view.columnEnabled = input;
    view.pathCaption = tr(controls.pathButtonCaption().c_str());
    view.explanation = tr(withLineFeeds(controls.explanationText()));
    const DynamicsState& dynamics = lesson.lab().simulation().state().dynamics;
    if (dynamics.on) { // the motors' part of the cascade under the scheme's
        const MotorLawRow& law = motorLawRow(dynamics.motorLaw);
        view.explanation +=
            "\n" + filled(tr("Motor law: %s"), {tr(law.caption)}) + "\n" + tr(law.explanation);
    }
    view.menuBar = itemsOf(lesson, menuBarItems(), labPanelOpen);
    view.labMenu = itemsOf(lesson, labMenuItems(), labPanelOpen);
    view.lab = labValuesOf(lesson);
    view.status = lesson.status();
    view.recording = lesson.recording();
    view.playing = lesson.playing();
    view.runState = lesson.lab().simulation().state().runState;
    const LabSettings& settings = lesson.lab().settings();
    view.sound.on = settings.sound;
    view.sound.volume = soundVolumeOf(settings.volume);
    view.voicing = settings.voicing;
    view.law = lawOf(lesson.lab().ownLaw());
    view.challenge = challengeViewOf(lesson);
    return view;
}

std::string viewJson(const View& view) {
    JsonWriter json;
    json.beginObject().beginArray("boxes");
    for (const View::Box& box : view.boxes) {
        json.breakLine()
            .beginObject()
            .value("caption", box.caption)
            .value("checked", box.checked)
            .value("visible", box.visible)
            .value("enabled", box.enabled)
            .endObject();
    }
    json.endArray()
        .breakLine()
        .value("wristScroll", view.wristScroll)
        .breakLine()
        .value("columnEnabled", view.columnEnabled)
        .breakLine()
        .value("pathCaption", view.pathCaption)
        .breakLine()
        .value("explanation", view.explanation);
    writeItems(json, "menuBar", view.menuBar);
    writeItems(json, "labMenu", view.labMenu);
    writeLab(json, view.lab);
    json.breakLine()
        .value("status", view.status)
        .breakLine()
        .value("recording", view.recording)
        .breakLine()
        .value("playing", view.playing)
        .breakLine()
        .value("runState", view.runState)
        .breakLine();
    writeSound(json, view);
    writeLaw(json, view.law);
    writeChallengeView(json, view.challenge);
    json.breakLine()
        .value("announcement", view.announcement)
        .breakLine()
        .value("pictureName", view.pictureName)
        .endObject();
    json.breakLine();
    return json.text();
}

View Viewer::afterPass(Lesson& lesson, bool labPanelOpen, double nowSeconds) {
    View view = viewOf(lesson, labPanelOpen);
    std::string news = lesson.takeNews();
    const OwnLaw& law = lesson.lab().ownLaw();
    if (law.errorCount() != lawErrorsTold_) { // a screen reader hears why the law stopped
        lawErrorsTold_ = law.errorCount();
        news += (news.empty() ? "" : " ") +
                filled(tr("Your law stopped at line %s: %s"),
                       {std::to_string(law.error().line), tr(law.error().message)});
    }
    view.announcement = announcer_.afterFrame(lesson.lab(), nowSeconds, news).value_or("");
    view.pictureName =
        pictureName_.offer(Announcer::summary(lesson.lab()), nowSeconds).value_or("");
    sound_ = sonifier_.afterFrame(lesson.lab());
    return view;
}

} // namespace servo
