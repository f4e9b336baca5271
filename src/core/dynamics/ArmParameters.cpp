#include "core/dynamics/ArmParameters.h"

namespace servo {

ArmParameters scaledMasses(const ArmParameters& arm, double percent) {
    const double factor = 1 + percent / 100;
    ArmParameters scaled = arm;
    for (LinkParameters& link : scaled.links) {
        link.massKilograms *= factor;
        link.inertiaKgM2 *= factor;
    }
    scaled.objectMassKilograms *= factor;
    return scaled;
}

ArmParameters withoutFriction(const ArmParameters& arm) {
    ArmParameters frictionless = arm;
    for (LinkParameters& link : frictionless.links) {
        link.frictionNmsPerRad = 0;
    }
    return frictionless;
}

} // namespace servo
