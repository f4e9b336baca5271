#include "web/PageDescription.h"

#include "core/access/ColourProfile.h"
#include "core/access/Sonifier.h"
#include "core/commands/Commands.h"
#include "core/display/DisplayList.h"
#include "core/dynamics/DynamicsSettings.h"
#include "core/interfaces/ControlCaptions.h"
#include "core/lab/ErrorPlot.h"
#include "core/lab/Projector.h"
#include "core/lab/RaceArm.h"
#include "core/language/Translation.h"
#include "core/lesson/ChallengeView.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/JsonWriter.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/Recording.h"
#include "core/ownlaw/ExampleLaws.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/ControlBoxes.h"
#include "core/state/ControlLayout.h"
#include "core/state/Geometry.h"
#include "core/teaching/MessageTexts.h"
#include "web/WebFrontEnd.h"

namespace servo {

namespace {

std::string cssColour(Colour colour) {
    return "rgb(" + std::to_string(colour & 255) + ", " + std::to_string((colour >> 8) & 255) +
           ", " + std::to_string((colour >> 16) & 255) + ")";
}

void items(JsonWriter& json, const char* key, const std::vector<MenuItem>& list) {
    json.beginArray(key);
    for (const MenuItem& item : list) {
        json.beginObject()
            .value("name", item.name)
            .value("word", itemWord(item))
            .value("caption", plainCaption(tr(item.caption)))
            .value("mnemonic", mnemonicOf(tr(item.caption)))
            .value("keys", item.keys)
            .value("check", item.check == Check::Box     ? "box"
                            : item.check == Check::Radio ? "radio"
                                                         : "")
            .value("separatorBefore", item.separatorBefore);
        if (item.submenu != nullptr) {
            json.value("submenu", plainCaption(tr(item.submenu)));
        } else {
            json.null("submenu");
        }
        json.value("frontEnd", isFrontEndCommand(item.command))
            .value("edition", item.edition == Edition::Desktop ? "desktop"
                              : item.edition == Edition::Page  ? "page"
                                                               : "both")
            .value("command", static_cast<int>(item.command))
            .endObject();
    }
    json.endArray();
}

// The column of controls' places, device-independent pixels: [{name, left, top, width, height}].
void controlPlaces(JsonWriter& json) {
    json.beginArray("controlPlaces");
    for (const ControlPlace& place : ControlPlaces) {
        const PixelPlace pixels = pixelsOf(place);
        json.beginObject()
            .value("name", place.name)
            .value("left", pixels.left)
            .value("top", pixels.top)
            .value("width", pixels.width)
            .value("height", pixels.height)
            .endObject();
    }
    json.endArray();
}

// The window's title and language, the menus and the commands the page performs itself.
void describeMenus(JsonWriter& json) {
    json.value("title", tr(WindowTitle));
    json.value("language", languageCode());
    items(json, "menuBar", menuBarItems());
    json.value("labMenuCaption", plainCaption(tr(LabMenuCaption)))
        .value("labMenuMnemonic", mnemonicOf(tr(LabMenuCaption)));
    items(json, "labMenu", labMenuItems());

    json.beginObject("commands");
    json.value("about", static_cast<int>(Command::About))
        .value("labPanel", static_cast<int>(Command::LabPanel))
        .value("projector", static_cast<int>(Command::Projector))
        .value("highContrast", static_cast<int>(Command::HighContrast))
        .value("trueProportions", static_cast<int>(Command::TrueProportions))
        .value("speed", static_cast<int>(Command::Speed))
        .value("cue", static_cast<int>(Command::Cue))
        .value("step", static_cast<int>(Command::Step))
        .value("reset", static_cast<int>(Command::Reset))
        .value("describe", static_cast<int>(Command::Describe))
        .value("keys", static_cast<int>(Command::Keys))
        .value("record", static_cast<int>(Command::Record))
        .value("playRecording", static_cast<int>(Command::PlayRecording))
        .value("copyLink", static_cast<int>(Command::CopyLink))
        .value("exportPlotData", static_cast<int>(Command::ExportPlotData))
        .value("exportPicture", static_cast<int>(Command::ExportPicture))
        .value("language", static_cast<int>(Command::Language))
        .value("dynamics", static_cast<int>(Command::Dynamics))
        .value("motorLaw", static_cast<int>(Command::MotorLaw))
        .value("lawEditor", static_cast<int>(Command::LawEditor))
        .value("challenges", static_cast<int>(Command::Challenges));
    json.endObject();
}

// The lesson files' dialogs, names, limits and messages.
void describeLesson(JsonWriter& json) {
    json.beginObject("lesson")
        .value("playRecordingTitle", tr(PlayRecordingTitle))
        .value("copyLinkTitle", tr(CopyLinkTitle))
        .value("openExperimentTitle", tr(OpenExperimentTitle))
        .value("recordingSuffix", RecordingFileSuffix)
        .value("recordingName", RecordingFileName)
        .value("plotDataName", PlotDataFileName)
        .value("pictureName", PictureFileName)
        .value("linkRefused", tr(LinkRefusedText))
        .value("experimentRefused", tr(ExperimentRefusedText))
        .value("recordingRefused", tr(RecordingRefusedText))
        .value("linkCopied", tr(LinkCopiedText))
        .value("linkNotCopied", tr(LinkNotCopiedText))
        .value("maxRecordingBytes", static_cast<double>(MaxRecordingBytes))
        .value("recordingTooLarge", largerThan(MaxRecordingBytes))
        .endObject();
}

// The Challenges dialog's captions and the built-in challenges along the lesson path:
// [{name, title}], each name what "challenge-open NAME" takes.
void describeChallenges(JsonWriter& json) {
    json.beginObject("challenges")
        .value("title", tr(ChallengesTitle))
        .value("list", tr(ChallengeListCaption))
        .value("start", tr(StartChallengeCaption))
        .value("startAgain", tr(StartAgainCaption))
        .value("showHint", tr(ShowHintCaption))
        .value("handIn", tr(HandInCaption))
        .value("end", tr(EndChallengeCaption))
        .value("goals", tr(GoalsCaption))
        .value("hints", tr(HintsCaption))
        .value("none", tr(NoChallengeText))
        .value("close", tr(CloseChallengesCaption));
    json.beginArray("choices");
    for (const ChallengeChoice& choice : challengeChoices()) {
        json.beginObject().value("name", choice.name).value("title", choice.title).endObject();
    }
    json.endArray().endObject();
}

// The captions of the boxes and of every other control, the notice and About.
void describeCaptions(JsonWriter& json) {
    json.beginArray("boxes");
    for (int number = 1; number <= CheckBoxCount; ++number) {
        json.value(nullptr, tr(boxCaption(static_cast<CheckBox>(number))));
    }
    json.endArray();
    json.beginObject("captions")
        .value("chooseServo", tr(ChooseServoCaption))
        .value("wristAngle", tr(WristAngleCaption))
        .value("open", tr(OpenCaption))
        .value("close", tr(CloseCaption))
        .value("explanation", tr(ExplanationCaption))
        .value("surface", tr(SurfaceCaption))
        .value("labPanel", tr(LabPanelTitle))
        .value("speed", plainCaption(tr(menuItem(Command::Speed).submenu)))
        .value("ok", tr(OkCaption))
        .value("reload", tr(ReloadCaption))
        .value("crashed", tr(CrashedText))
        .value("gain", tr(GainCaption))
        .value("gainSlider", tr(GainSliderCaption))
        .value("plot", tr(PlotCaption))
        .value("scheme", tr(SchemeCaption))
        .value("race", tr(RaceCaption))
        .value("damping", tr(DampingCaption))
        .value("motorLaw", plainCaption(tr(menuItem(Command::MotorLaw).submenu)))
        .value("naturalFrequency", tr(NaturalFrequencyCaption))
        .value("dampingRatio", tr(DampingRatioCaption))
        .value("modelError", tr(ModelErrorCaption))
        .value("modelIgnoresObject", tr(ModelIgnoresObjectCaption))
        .value("gains", tr(DerivedGainsCaption))
        .value("lawEditor", tr(LawEditorTitle))
        .value("lawSource", tr(LawSourceCaption))
        .value("lawExample", tr(LawExampleCaption))
        .value("useExample", tr(UseExampleCaption))
        .value("applyLaw", tr(ApplyLawCaption))
        .value("lawEditorHelp", tr(LawEditorHelp))
        .value("closeLawEditor", tr(CloseLawEditorCaption))
        .value("noticeTitle", tr(NoticeTitle))
        .value("notice", tr(NoticeText))
        .value("touchNotice", tr(TouchNoticeText))
        .value("aboutTitle", tr(AboutTitle))
        .value("about", aboutText("WebAssembly"))
        .endObject();
}

// The keys' help and the picture's keys (see pictureKeyLine).
void describeKeys(JsonWriter& json) {
    json.beginArray("keyHelp");
    for (const KeyHelpRow& row : keyHelp(Edition::Page)) {
        json.beginArray().value(nullptr, row.keys).value(nullptr, row.what).endArray();
    }
    json.endArray();
    json.value("keysHelpTitle", tr(KeysHelpTitle));
    json.beginArray("pictureKeys");
    for (const char* key : PictureKeys) {
        json.value(nullptr, key);
    }
    json.endArray();
}

// The ranges and steps of the lab's controls and the wrist, the schemes, projector sizes.
void describeControls(JsonWriter& json) {
    json.beginObject("gain").value("max", MaxGain).value("step", GainStep).endObject();
    // The scheme and race boxes' choices in their places: [caption, input line].
    for (const auto& [key, choices] :
         {std::pair{"schemes", schemeChoices()}, std::pair{"races", raceChoices()}}) {
        json.beginArray(key);
        for (const InputChoice& choice : choices) {
            json.beginArray()
                .value(nullptr, tr(choice.caption))
                .value(nullptr, choice.line)
                .endArray();
        }
        json.endArray();
    }
    json.beginObject("damping")
        .value("max", MaxDampingLambda)
        .value("step", DampingStep)
        .endObject();
    // The dynamics row's entries, and its inputs' lines ("tune WN ZETA" is made from both).
    json.beginObject("tuning")
        .value("frequencyMax", MaxNaturalFrequency)
        .value("frequencyStep", NaturalFrequencyStep)
        .value("ratioMax", MaxDampingRatio)
        .value("ratioStep", DampingRatioStep)
        .value("modelErrorMax", MaxModelErrorPercent)
        .value("modelErrorStep", ModelErrorStep)
        .value("objectKnown", modelObjectLine(false))
        .value("objectIgnored", modelObjectLine(true))
        .endObject();
    // The examples of a student's law to start from: [caption, source in the language chosen].
    json.beginArray("lawExamples");
    for (const ExampleLaw& example : exampleLaws()) {
        json.beginArray()
            .value(nullptr, tr(example.caption))
            .value(nullptr, exampleSource(example))
            .endArray();
    }
    json.endArray();
    json.beginObject("wrist")
        .value("max", WristScrollMax)
        .value("line", WristScrollLine)
        .value("page", WristScrollPage)
        .endObject();
    json.beginObject("projector")
        .value("readoutPoints", ReadoutPoints)
        .value("cuePoints", CuePoints)
        .value("cueStroke", CueStrokePixels)
        .value("points", ProjectorPoints)
        .value("stroke", ProjectorStrokePixels)
        .value("controlScale", ProjectorControlScale)
        .value("panelPoints", LabPanelPoints)
        .value("projectorPanelPoints", ProjectorLabPanelPoints)
        .endObject();
}

// The plot's background, run states, the surface, the window's fonts, the control column's
// places and the colour profiles.
void describeLooks(JsonWriter& json) {
    json.beginObject("plot").value("background", cssColour(PlotBackground)).endObject();
    json.beginObject("runStates")
        .value("end", RunEnd)
        .value("running", RunRunning)
        .value("stopped", RunStopped)
        .endObject();
    json.beginObject("surfaceRect")
        .value("left", SurfaceLeft)
        .value("top", SurfaceTop)
        .value("right", SurfaceRight)
        .value("bottom", SurfaceBottom)
        .endObject();
    json.value("background", cssColour(WindowBackground));
    json.beginObject("look")
        .value("windowPoints", WindowFontPoints)
        .value("captionPoints", CaptionFontPoints)
        .endObject();
    controlPlaces(json);
    json.beginObject("looks");
    for (const auto& [name, profile] : {std::pair{"window", ColourProfile::Window},
                                        std::pair{"highContrast", ColourProfile::HighContrast}}) {
        const WindowLook& look = windowLook(profile);
        json.beginObject(name)
            .value("form", cssColour(look.form))
            .value("text", cssColour(look.text))
            .value("boxText", cssColour(look.boxText))
            .value("heading", cssColour(look.heading))
            .value("focus", cssColour(look.focus))
            .value("picture", cssColour(shownColour(WindowBackground, profile)))
            .value("plot", cssColour(windowLook(profile).plotBackground))
            .endObject();
    }
    json.endObject();
    json.beginArray("highContrastColours"); // [drawn, shown] pairs, 0x00BBGGRR
    for (const ColourSubstitution& substitution : HighContrastSubstitutions) {
        json.beginArray(nullptr)
            .value(nullptr, static_cast<double>(substitution.drawn))
            .value(nullptr, static_cast<double>(substitution.shown))
            .endArray();
    }
    json.endArray();
}

// How the drawing lists are encoded.
void describeDrawing(JsonWriter& json) {
    json.beginObject("opKinds");
    for (std::size_t i = 0; i < std::size(DrawOpKindNames); ++i) {
        json.value(DrawOpKindNames[i], static_cast<int>(i));
    }
    json.endObject();
    json.value("opFloats", EncodedOps::OpFloats);
    json.value("lists", "picture cues plot");
}

// Each sound event's motif by its word: [[hertz, seconds], ...] (see soundMotifOf).
void describeSound(JsonWriter& json) {
    json.beginObject("soundMotifs");
    for (const SoundEvent event : SoundEvents) {
        json.beginArray(soundEventWord(event));
        for (const SoundNote& note : soundMotifOf(event)) {
            json.beginArray().value(nullptr, note.hertz).value(nullptr, note.seconds).endArray();
        }
        json.endArray();
    }
    json.endObject();
}

} // namespace

std::string pageDescription() {
    JsonWriter json;
    json.beginObject();
    describeMenus(json);
    describeLesson(json);
    describeCaptions(json);
    describeChallenges(json);
    describeKeys(json);
    describeControls(json);
    describeLooks(json);
    describeDrawing(json);
    describeSound(json);
    json.endObject();
    return json.text();
}

} // namespace servo
