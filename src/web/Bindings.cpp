// The page's view of the module: the front end's operations, and the description the page
// builds its window from, bound with embind.

#include "core/access/Announcer.h"
#include "core/access/ColourProfile.h"
#include "core/commands/Commands.h"
#include "core/lab/RaceArm.h"
#include "core/language/Translation.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/JsonWriter.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/PlotData.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "web/PageDescription.h"
#include "web/WebFrontEnd.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace servo;

CheckBox box(int number) {
    return static_cast<CheckBox>(number);
}

// The explanation text with plain line feeds for a text area.
std::string explanation(WebFrontEnd& f) {
    std::string text = f.controls().explanationText();
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            plain += text[i];
        }
    }
    return tr(plain);
}

// The state's main values as JSON, for the page's tests and for anyone curious.
std::string snapshot(WebFrontEnd& f) {
    const SimulationState& s = f.state();
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"shoulderAngle\":%.17g,\"elbowAngle\":%.17g,\"wristAngle\":%.17g,"
                  "\"targetX\":%.9g,\"targetY\":%.9g,\"servoType\":%d,\"runState\":%d,"
                  "\"gridOn\":%d,\"pointerHeld\":%d,\"objectHeld\":%d,\"gain\":%.17g,"
                  "\"firstCycle\":%d,\"cycles\":%zu,\"steps\":%zu}",
                  s.shoulderAngle, s.elbowAngle, s.wristAngle, s.targetX, s.targetY, s.servoType,
                  s.runState, s.gridOn, s.pointerHeld, s.objectHeld, s.gain, s.firstCycle,
                  f.lab().history().size(), f.lab().history().version());
    return text;
}

const EncodedOps& listOf(WebFrontEnd& f, int list) {
    return list == 0 ? f.picture() : list == 1 ? f.cues() : f.plot();
}

const std::vector<MenuItem>& menuOf(int menu) {
    return menu == 0 ? menuBarItems() : labMenuItems();
}

// The item of a menu (0 the menu bar, 1 the Lab menu) at a position, or nullptr.
const MenuItem* itemAt(int menu, int position) {
    const std::vector<MenuItem>& items = menuOf(menu);
    return position >= 0 && static_cast<std::size_t>(position) < items.size()
               ? &items[static_cast<std::size_t>(position)]
               : nullptr;
}

// How every item of a menu shows now: [[checked, enabled, caption], ...].
std::string itemStates(WebFrontEnd& f, int menu, bool labPanelOpen) {
    JsonWriter json;
    json.beginArray();
    for (const MenuItem& item : menuOf(menu)) {
        const ItemState shown = f.lesson().itemState(item, labPanelOpen);
        json.beginArray()
            .value(nullptr, shown.checked)
            .value(nullptr, shown.enabled)
            .value(nullptr, plainCaption(tr(shown.caption)))
            .endArray();
    }
    json.endArray();
    return json.text();
}

// Opens the experiment of a link's hash: {"error": "...", "labPanel": bool, "warnings": [...]};
// on an error nothing has changed.
std::string openedLink(WebFrontEnd& f, const std::string& hash) {
    const ExperimentReading reading = readExperimentLink(hash);
    const std::string error = f.lesson().open(reading);
    JsonWriter json;
    json.beginObject()
        .value("error", error)
        .value("labPanel", error.empty() && reading.experiment->labPanel);
    json.beginArray("warnings");
    for (const std::string& warning : reading.warnings) {
        json.value(nullptr, warning);
    }
    json.endArray();
    json.endObject();
    return json.text();
}

// Start-up, frames, the display lists, the plot, the menus and what a screen reader is told.
void bindFrames(const emscripten::class_<WebFrontEnd>& frontEnd) {
    using namespace emscripten;
    frontEnd.function("startUpAfterNotice", &WebFrontEnd::startUpAfterNotice)
        .function("frame", &WebFrontEnd::frame)
        .function("takePicture", &WebFrontEnd::takePicture)
        .function("refreshCues", &WebFrontEnd::refreshCues)
        .function("drawPlot", &WebFrontEnd::drawPlot)
        .function("setPlotTextWidth", &WebFrontEnd::setPlotTextWidth)
        // the texts the plot may print, one a line, in the language now chosen
        .function("plotTexts", optional_override([](WebFrontEnd&) {
                      std::string lines;
                      for (const std::string& text : plotTexts()) {
                          lines += text + "\n";
                      }
                      return lines;
                  }))
        // the three lists: 0 the picture, 1 the cues, 2 the plot
        .function("opCount", optional_override(
                                 [](WebFrontEnd& f, int list) { return listOf(f, list).count(); }))
        .function("opAddress", optional_override([](WebFrontEnd& f, int list) {
                      return static_cast<double>(listOf(f, list).address());
                  }))
        .function("opText", optional_override([](WebFrontEnd& f, int list, int index) {
                      return listOf(f, list).text(index);
                  }))
        .function("figures", &WebFrontEnd::figures)
        .function("snapshot", optional_override([](WebFrontEnd& f) { return snapshot(f); }))
        // menus: 0 the menu bar, 1 the Lab menu; items by their position
        .function("perform", optional_override([](WebFrontEnd& f, int menu, int position) {
                      if (const MenuItem* item = itemAt(menu, position)) {
                          f.lesson().perform(*item);
                      }
                  }))
        .function("itemStates", optional_override([](WebFrontEnd& f, int menu, bool labPanelOpen) {
                      return itemStates(f, menu, labPanelOpen);
                  }))
        .function("announcement", &WebFrontEnd::announcement)
        .function("pictureName", &WebFrontEnd::pictureName)
        .function("wholeState",
                  optional_override([](WebFrontEnd& f) { return Announcer::wholeState(f.lab()); }));
}

// The column of controls and the picture: the user's input and what the controls show.
void bindControls(const emscripten::class_<WebFrontEnd>& frontEnd) {
    using namespace emscripten;
    frontEnd
        .function("targetKey", optional_override([](WebFrontEnd& f, float dx, float dy) {
                      f.lesson().submit(inputLine("target-key", dx, dy));
                  }))
        .function("targetHome",
                  optional_override([](WebFrontEnd& f) { f.lesson().submit("target-home"); }))
        .function("setModalOpen",
                  optional_override([](WebFrontEnd& f, bool open) { f.lab().setModalOpen(open); }))
        // any input as its trace line: empty, or why it was refused
        .function("submit", optional_override([](WebFrontEnd& f, const std::string& line) {
                      return f.lesson().submit(line);
                  }))
        // controls
        .function("boxPressed", optional_override([](WebFrontEnd& f, int number) {
                      f.lesson().submit(inputLine("box-press", number));
                  }))
        .function("toggleBox", optional_override([](WebFrontEnd& f, int number) {
                      f.lesson().submit(inputLine("box-click", number));
                  }))
        .function("isChecked", optional_override([](WebFrontEnd& f, int number) {
                      return f.controls().isChecked(box(number));
                  }))
        .function("elbowBoxesVisible", optional_override([](WebFrontEnd& f) {
                      return f.controls().elbowBoxesVisible();
                  }))
        .function("wristScroll", optional_override([](WebFrontEnd& f) {
                      return f.controls().wristScrollPosition();
                  }))
        .function("setWristScroll", optional_override([](WebFrontEnd& f, int position) {
                      f.lesson().submit(inputLine("scroll", clampedWristScroll(position)));
                  }))
        .function("openGripper",
                  optional_override([](WebFrontEnd& f) { f.lesson().submit("open"); }))
        .function("closeGripper",
                  optional_override([](WebFrontEnd& f) { f.lesson().submit("close"); }))
        .function("pathClicked",
                  optional_override([](WebFrontEnd& f) { f.lesson().submit("path"); }))
        .function("pathCaption", optional_override([](WebFrontEnd& f) {
                      return std::string(tr(f.controls().pathButtonCaption().c_str()));
                  }))
        .function("explanation", optional_override([](WebFrontEnd& f) { return explanation(f); }))
        .function("pointerPressed", optional_override([](WebFrontEnd& f, float x, float y) {
                      f.lesson().submit(inputLine("press", x, y));
                  }))
        .function("pointerMoved", optional_override([](WebFrontEnd& f, float x, float y) {
                      f.lesson().submit(inputLine("move", x, y));
                  }))
        .function("pointerReleased",
                  optional_override([](WebFrontEnd& f) { f.lesson().submit("release"); }))
        .function("runState", optional_override([](WebFrontEnd& f) { return f.state().runState; }));
}

// The lab panel's settings.
void bindLab(const emscripten::class_<WebFrontEnd>& frontEnd) {
    using namespace emscripten;
    frontEnd.function("gain", optional_override([](WebFrontEnd& f) { return f.state().gain; }))
        .function("setGain", optional_override([](WebFrontEnd& f, double gain) {
                      f.lesson().submit(inputLine("enter-gain", gain));
                  }))
        .function("speed",
                  optional_override([](WebFrontEnd& f) { return f.lab().settings().speed; }))
        .function("projector",
                  optional_override([](WebFrontEnd& f) { return f.lab().settings().projector; }))
        .function("servoType",
                  optional_override([](WebFrontEnd& f) { return f.state().servoType; }))
        .function("chooseScheme", optional_override([](WebFrontEnd& f, int servoType) {
                      f.lesson().submit(inputLine("scheme", servoSchemeOf(servoType)
                                                                ? servoSchemeOf(servoType)->name
                                                                : ""));
                  }))
        .function("raceScheme",
                  optional_override([](WebFrontEnd& f) { return f.lab().race().scheme(); }))
        .function("setRaceScheme", optional_override([](WebFrontEnd& f, int servoType) {
                      f.lesson().submit(inputLine(
                          "race", raceSchemeWord(servoSchemeOf(servoType) ? servoType : 0)));
                  }))
        .function("damping",
                  optional_override([](WebFrontEnd& f) { return f.state().dampingLambda; }))
        .function("setDamping", optional_override([](WebFrontEnd& f, double lambda) {
                      f.lesson().submit(inputLine("enter-lambda", lambda));
                  }))
        .function("highContrast", optional_override([](WebFrontEnd& f) {
                      return f.lab().settings().highContrast;
                  }));
}

// The lesson: recording, replaying, experiments in links, the plot's data.
void bindLesson(const emscripten::class_<WebFrontEnd>& frontEnd) {
    using namespace emscripten;
    frontEnd
        .function("recording",
                  optional_override([](WebFrontEnd& f) { return f.lesson().recording(); }))
        .function("playing", optional_override([](WebFrontEnd& f) { return f.lesson().playing(); }))
        .function("lessonStatus",
                  optional_override([](WebFrontEnd& f) { return f.lesson().status(); }))
        .function("startRecording",
                  optional_override([](WebFrontEnd& f) { f.lesson().startRecording(); }))
        .function("stopRecording",
                  optional_override([](WebFrontEnd& f) { return f.lesson().stopRecording(); }))
        .function("play", optional_override([](WebFrontEnd& f, const std::string& script) {
                      return f.lesson().play(script);
                  }))
        .function("experimentLink", optional_override([](WebFrontEnd& f, bool labPanelOpen) {
                      return experimentLink(experimentOf(f.lab(), labPanelOpen));
                  }))
        .function("openLink", optional_override([](WebFrontEnd& f, const std::string& hash) {
                      return openedLink(f, hash);
                  }))
        .function("plotData",
                  optional_override([](WebFrontEnd& f) { return plotDataCsv(f.lab().history()); }));
}

} // namespace

EMSCRIPTEN_BINDINGS(servo_web) {
    using namespace emscripten;
    const class_<WebFrontEnd>& frontEnd = class_<WebFrontEnd>("WebFrontEnd").constructor<>();
    bindFrames(frontEnd);
    bindControls(frontEnd);
    bindLab(frontEnd);
    bindLesson(frontEnd);
    function("description", &pageDescription);
    // The language texts are shown in: a code of the description's "languages"; false (and
    // English) for another.
    function("setLanguage",
             optional_override([](const std::string& code) { return setLanguage(code); }));
    // The first of the browser's languages the simulator speaks.
    function("preferredLanguage", optional_override([](const std::string& list) {
                 std::vector<std::string> codes;
                 for (std::size_t start = 0; start <= list.size();) {
                     const std::size_t end = std::min(list.find(',', start), list.size());
                     codes.push_back(list.substr(start, end - start));
                     start = end + 1;
                 }
                 return preferredLanguage(codes);
             }));
    // A pixel of the picture (0x00BBGGRR) shown in one profile, as the other shows it.
    function("recolouredPixel", optional_override([](double pixel, bool fromHigh, bool toHigh) {
                 const auto profile = [](bool high) {
                     return high ? ColourProfile::HighContrast : ColourProfile::Window;
                 };
                 return static_cast<double>(recolouredPixel(static_cast<Colour>(pixel),
                                                            profile(fromHigh), profile(toHigh)));
             }));
    constant("OpFloats", EncodedOps::OpFloats);
}
