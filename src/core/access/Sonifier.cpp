#include "core/access/Sonifier.h"

#include "core/lab/LabSample.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>

namespace servo {

static_assert(SoundEvents.size() == static_cast<std::size_t>(SoundEvent::Saturated) + 1,
              "SoundEvents lists every event, the last one last");

const char* soundEventWord(SoundEvent event) {
    switch (event) {
    case SoundEvent::TargetSet:
        return "target";
    case SoundEvent::Reached:
        return "reached";
    case SoundEvent::OutOfReach:
        return "out-of-reach";
    case SoundEvent::Singular:
        return "singular";
    case SoundEvent::Grip:
        return "grip";
    case SoundEvent::Drop:
        return "drop";
    case SoundEvent::Saturated:
        return "saturated";
    }
    return "";
}

std::span<const SoundNote> soundMotifOf(SoundEvent event) {
    static constexpr SoundNote Target[] = {{880, 0.09}};
    static constexpr SoundNote Reached[] = {{523.25, 0.07}, {783.99, 0.12}};
    static constexpr SoundNote OutOfReach[] = {{130.81, 0.2}};
    static constexpr SoundNote Singular[] = {{622.25, 0.06}, {622.25, 0.06}, {622.25, 0.06}};
    static constexpr SoundNote Grip[] = {{329.63, 0.06}, {440, 0.09}};
    static constexpr SoundNote Drop[] = {{440, 0.06}, {329.63, 0.09}};
    static constexpr SoundNote Saturated[] = {{196, 0.07}, {207.65, 0.07}};
    switch (event) {
    case SoundEvent::TargetSet:
        return Target;
    case SoundEvent::Reached:
        return Reached;
    case SoundEvent::OutOfReach:
        return OutOfReach;
    case SoundEvent::Singular:
        return Singular;
    case SoundEvent::Grip:
        return Grip;
    case SoundEvent::Drop:
        return Drop;
    case SoundEvent::Saturated:
        return Saturated;
    }
    return {};
}

double toneHertzOf(double errorArmUnits) {
    if (!(errorArmUnits > 0)) {
        return ToneLowHertz;
    }
    return std::min(ToneHighHertz, ToneLowHertz * (1 + errorArmUnits / ToneErrorScale));
}

Sonifier::Seen Sonifier::look(const Lab& lab) {
    const SimulationState& state = lab.simulation().state();
    const LabSample sample = sampleOf(state, lab.simulation().controls().wristScrollPosition());
    return {sample.error,
            state.targetX,
            state.targetY,
            isReached(sample),
            isOutOfReach(state, sample),
            state.singular != 0,
            state.objectHeld,
            state.dynamics.on &&
                std::find(state.dynamics.saturated.begin(), state.dynamics.saturated.end(), true) !=
                    state.dynamics.saturated.end()};
}

SoundFrame Sonifier::afterFrame(const Lab& lab) {
    const Seen now = look(lab);
    const SimulationState& state = lab.simulation().state();
    SoundFrame frame;
    const bool running = state.runState != RunStopped;
    frame.toneHertz = toneHertzOf(now.error);
    frame.toneLevel = running && !now.reached ? 1 : 0;
    if (seen_) {
        const Seen& was = *seen_;
        const auto heard = [&frame](bool happened, SoundEvent event) {
            if (happened) {
                frame.events.push_back(event);
            }
        };
        heard(now.targetX != was.targetX || now.targetY != was.targetY, SoundEvent::TargetSet);
        heard(now.reached && !was.reached, SoundEvent::Reached);
        heard(now.outOfReach && !was.outOfReach, SoundEvent::OutOfReach);
        heard(now.singular && !was.singular, SoundEvent::Singular);
        heard(now.objectHeld != 0 && was.objectHeld == 0, SoundEvent::Grip);
        heard(now.objectHeld == 0 && was.objectHeld != 0, SoundEvent::Drop);
        heard(now.saturated && !was.saturated, SoundEvent::Saturated);
    }
    seen_ = now;
    return frame;
}

} // namespace servo
