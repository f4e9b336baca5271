#include "core/access/Sonifier.h"

#include "core/lab/LabSample.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>

namespace servo {

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
    }
    return "";
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
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    const bool reverseKinematic = scheme != nullptr && scheme->showsElbowBoxes;
    return {state.targetX,
            state.targetY,
            sample.error <= ErrorHistory::SettledWithin,
            reverseKinematic && !sample.reachable,
            state.singular != 0,
            state.objectHeld};
}

SoundFrame Sonifier::afterFrame(const Lab& lab) {
    const Seen now = look(lab);
    const SimulationState& state = lab.simulation().state();
    SoundFrame frame;
    const double error = sampleOf(state, lab.simulation().controls().wristScrollPosition()).error;
    const bool running = state.runState != RunStopped;
    frame.toneHertz = toneHertzOf(error);
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
    }
    seen_ = now;
    return frame;
}

} // namespace servo
