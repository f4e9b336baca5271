// Any text as a recording: read without a fault, and what is accepted plays its first passes.
#include "core/lab/Lab.h"
#include "core/lesson/Recording.h"
#include "headless/HeadlessSimulation.h"

#include <cstdint>
#include <string_view>

using namespace servo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static HeadlessSimulation simulation;
    static Lab lab{simulation.simulation};
    Player player;
    if (!player.load(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) {
        return 0;
    }
    lab.reset();
    for (int pass = 0; pass < 50 && player.playing(); ++pass) {
        player.beforePass(lab);
        lab.pass();
    }
    return 0;
}
