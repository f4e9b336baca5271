// The page's view of the module: the front end's operations and the tables the page builds
// its controls from, bound with embind.

#include "core/lab/Speeds.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/teaching/Grid.h"
#include "web/WebFrontEnd.h"

#include <emscripten/bind.h>

#include <cstdio>

namespace {

using namespace servo;

CheckBox box(int number) {
    return static_cast<CheckBox>(number);
}

bool CueSettings::*cueField(int which) {
    switch (which) {
    case 0:
        return &CueSettings::targetMarker;
    case 1:
        return &CueSettings::outOfReach;
    case 2:
        return &CueSettings::stoppedBanner;
    default:
        return &CueSettings::ghosts;
    }
}

// The explanation text with plain line feeds for a text area.
std::string explanation(WebFrontEnd& f) {
    std::string text = f.panel().explanationText();
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            plain += text[i];
        }
    }
    return plain;
}

std::string captionOf(int number) {
    return boxCaption(box(number));
}

// The state's main values as JSON, for the page's tests and for anyone curious.
std::string snapshot(WebFrontEnd& f) {
    const SimulationState& s = f.state();
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"shoulderAngle\":%.17g,\"elbowAngle\":%.17g,\"wristAngle\":%.17g,"
                  "\"targetX\":%.9g,\"targetY\":%.9g,\"servoType\":%d,\"runState\":%d,"
                  "\"gridOn\":%d,\"pointerHeld\":%d,\"objectHeld\":%d,\"gain\":%.17g,"
                  "\"firstCycle\":%d,\"cycles\":%zu}",
                  s.shoulderAngle, s.elbowAngle, s.wristAngle, s.targetX, s.targetY, s.servoType,
                  s.runState, s.gridOn, s.pointerHeld, s.objectHeld, s.gain, s.firstCycle,
                  f.lab().history().size());
    return text;
}

const EncodedOps& listOf(WebFrontEnd& f, int list) {
    return list == 0 ? f.picture() : list == 1 ? f.cues() : f.plot();
}

std::string speedCaption(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < Speeds.size()
               ? Speeds[static_cast<std::size_t>(index)].caption
               : "";
}

} // namespace

EMSCRIPTEN_BINDINGS(servo_web) {
    using namespace emscripten;
    class_<WebFrontEnd>("WebFrontEnd")
        .constructor<>()
        .function("startUpUntilNotice", &WebFrontEnd::startUpUntilNotice)
        .function("startUpAfterNotice", &WebFrontEnd::startUpAfterNotice)
        .function("frame", &WebFrontEnd::frame)
        .function("takePicture", &WebFrontEnd::takePicture)
        .function("refreshCues", &WebFrontEnd::refreshCues)
        .function("drawPlot", &WebFrontEnd::drawPlot)
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
        // controls
        .function("servoBoxPressed", optional_override([](WebFrontEnd& f, int number) {
                      servoBoxPressed(f.state(), f.panel(), box(number));
                  }))
        .function("toggleBox", optional_override([](WebFrontEnd& f, int number) {
                      f.panel().toggle(box(number));
                  }))
        .function("isChecked", optional_override([](WebFrontEnd& f, int number) {
                      return f.panel().isChecked(box(number));
                  }))
        .function("elbowBoxesVisible",
                  optional_override([](WebFrontEnd& f) { return f.panel().elbowBoxesVisible(); }))
        .function("wristScroll",
                  optional_override([](WebFrontEnd& f) { return f.panel().wristScrollPosition(); }))
        .function("setWristScroll", optional_override([](WebFrontEnd& f, int position) {
                      f.panel().setWristScrollPosition(position < 0       ? 0
                                                       : position > 32767 ? 32767
                                                                          : position);
                  }))
        .function("openGripper",
                  optional_override([](WebFrontEnd& f) { openGripperClicked(f.state()); }))
        .function("closeGripper",
                  optional_override([](WebFrontEnd& f) { closeGripperClicked(f.state()); }))
        .function("pathClicked", optional_override([](WebFrontEnd& f) {
                      pathButtonClicked(f.state(), f.panel());
                  }))
        .function("pathCaption",
                  optional_override([](WebFrontEnd& f) { return f.panel().pathButtonCaption(); }))
        .function("explanation", optional_override([](WebFrontEnd& f) { return explanation(f); }))
        .function("pointerPressed", optional_override([](WebFrontEnd& f, float x, float y) {
                      surfacePressed(f.state(), f.surface(), x, y);
                  }))
        .function("pointerMoved", optional_override([](WebFrontEnd& f, float x, float y) {
                      surfaceMoved(f.state(), x, y);
                  }))
        .function("pointerReleased",
                  optional_override([](WebFrontEnd& f) { surfaceReleased(f.state()); }))
        .function("run", optional_override([](WebFrontEnd& f) { runClicked(f.state()); }))
        .function("stop", optional_override([](WebFrontEnd& f) { stopClicked(f.state()); }))
        .function("grid", optional_override([](WebFrontEnd& f) {
                      gridMenuClicked(f.state(), f.surface(), f.panel());
                  }))
        .function("runState", optional_override([](WebFrontEnd& f) { return f.state().runState; }))
        .function("servoType",
                  optional_override([](WebFrontEnd& f) { return f.state().servoType; }))
        .function("gridOn", optional_override([](WebFrontEnd& f) { return f.state().gridOn; }))
        // the lab
        .function("step", optional_override([](WebFrontEnd& f) { stepClicked(f.state()); }))
        .function("gain", optional_override([](WebFrontEnd& f) { return f.state().gain; }))
        .function("setGain", optional_override(
                                 [](WebFrontEnd& f, double gain) { gainChanged(f.state(), gain); }))
        .function("speed",
                  optional_override([](WebFrontEnd& f) { return f.lab().settings().speed; }))
        .function("setSpeed",
                  optional_override([](WebFrontEnd& f, int index) { f.lab().setSpeed(index); }))
        .function("slower", optional_override([](WebFrontEnd& f) { f.lab().slower(); }))
        .function("faster", optional_override([](WebFrontEnd& f) { f.lab().faster(); }))
        .function("reset", optional_override([](WebFrontEnd& f) { f.lab().reset(); }))
        .function("cue", optional_override([](WebFrontEnd& f, int which) {
                      return f.lab().settings().cues.*cueField(which);
                  }))
        .function("setCue", optional_override([](WebFrontEnd& f, int which, bool on) {
                      f.lab().settings().cues.*cueField(which) = on;
                  }))
        .function("projector",
                  optional_override([](WebFrontEnd& f) { return f.lab().settings().projector; }))
        .function("setProjector", optional_override([](WebFrontEnd& f, bool on) {
                      f.lab().settings().projector = on;
                  }));
    function("captionOf", &captionOf);
    function("speedCaption", &speedCaption);
    function("speedCount", optional_override([] { return static_cast<int>(Speeds.size()); }));
    function("maxGain", optional_override([] { return MaxGain; }));
    constant("OpFloats", EncodedOps::OpFloats);
    constant("NormalSpeed", NormalSpeed);
}
