// Any text as an experiment file and as a link: read without a fault; what is accepted
// writes back to a text that reads as the same experiment, and opens in a lab.
#include "core/lab/Lab.h"
#include "core/lesson/Experiment.h"
#include "headless/HeadlessSimulation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace servo;

namespace {

void roundTrip(const ExperimentReading& reading) {
    if (!reading.experiment) {
        return;
    }
    const std::string text = writeExperiment(*reading.experiment);
    const ExperimentReading again = readExperiment(text);
    const ExperimentReading linked = readExperimentLink(experimentLink(*reading.experiment));
    if (!again.experiment || !(*again.experiment == *reading.experiment) || !linked.experiment ||
        !(*linked.experiment == *reading.experiment)) {
        std::abort(); // written, but not read back as it was
    }
    static HeadlessSimulation simulation;
    static Lab lab{simulation.simulation};
    applyExperiment(lab, *reading.experiment);
    lab.frame(1.0 / 60);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    roundTrip(readExperiment(text));
    roundTrip(readExperimentLink(text));
    return 0;
}
