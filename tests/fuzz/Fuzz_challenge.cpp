// Any text as a challenge file and as a link: read without a fault; what is accepted writes
// back to a text and a link that read as the same challenge, and an attempt at it runs.
#include "core/lab/Lab.h"
#include "core/lesson/Challenge.h"
#include "core/lesson/Lesson.h"
#include "headless/HeadlessSimulation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace servo;

namespace {

void roundTrip(const ChallengeReading& reading) {
    if (!reading.challenge) {
        return;
    }
    const ChallengeReading again = readChallenge(writeChallenge(*reading.challenge));
    const ChallengeReading linked = readChallengeLink(challengeLink(*reading.challenge));
    if (!again.challenge || !(*again.challenge == *reading.challenge) || !linked.challenge ||
        !(*linked.challenge == *reading.challenge)) {
        std::abort(); // written, but not read back as it was
    }
    static HeadlessSimulation simulation;
    static Lab lab{simulation.simulation};
    static Lesson lesson{lab};
    lesson.startChallenge(*reading.challenge);
    lab.frame(1.0 / 60);
    lesson.attempt()->report();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    roundTrip(readChallenge(text));
    roundTrip(readChallengeLink(text));
    return 0;
}
