// The page's view of the module: one class and its three calls, bound with embind. Everything
// else the page asks for goes through describe, every input through submit (see WebFrontEnd).

#include "web/WebFrontEnd.h"

#include <emscripten/bind.h>

EMSCRIPTEN_BINDINGS(servo_web) {
    using namespace emscripten;
    using servo::WebFrontEnd;
    class_<WebFrontEnd>("WebFrontEnd")
        .constructor<>()
        .function("submit", &WebFrontEnd::submit)
        .function("frame", &WebFrontEnd::frame)
        .function("describe", &WebFrontEnd::describe);
}
