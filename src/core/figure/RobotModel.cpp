#include "core/figure/RobotModel.h"

#include <cmath>

namespace servo {

namespace {

struct FigurePoint {
    double x;
    double y;
    int penUp;
    int part;
};

// Rows 1..73 of the built-in figure, straight-up pose, arm units.
constexpr FigurePoint builtInFigure[] = {
    // base outline
    {-33, -37, 1, PartBase},
    {7.5, -37, 0, PartBase},
    {7.5, 5, 0, PartBase},
    {0, 10, 0, PartBase},
    {-23, -10, 0, PartBase},
    {-23, -30, 0, PartBase},
    {-33, -30, 0, PartBase},
    {-33, -37, 0, PartBase},
    // shoulder pivot
    {0, 0, 1, PartBase},
    // upper-arm outline
    {0, -7, 1, PartUpperArm},
    {7, -3, 0, PartUpperArm},
    {7.5, 5, 0, PartUpperArm},
    {6, 35, 0, PartUpperArm},
    {4, 39, 0, PartUpperArm},
    {0, 41, 0, PartUpperArm},
    {-4, 39, 0, PartUpperArm},
    {-6, 35, 0, PartUpperArm},
    {-7.5, 5, 0, PartUpperArm},
    {-7, -3, 0, PartUpperArm},
    {0, -7, 0, PartUpperArm},
    // elbow pivot
    {0, 35, 1, PartUpperArm},
    // forearm outline
    {0, 29, 1, PartForearm},
    {4, 31, 0, PartForearm},
    {6, 35, 0, PartForearm},
    {3, 70, 0, PartForearm},
    {2, 73, 0, PartForearm},
    {-2, 73, 0, PartForearm},
    {-3, 70, 0, PartForearm},
    {-6, 35, 0, PartForearm},
    {-4, 31, 0, PartForearm},
    {0, 29, 0, PartForearm},
    // wrist pivot
    {0, 70, 1, PartForearm},
    // palm outline, closed set
    {2, 73, 1, PartJawsClosed},
    {2, 75, 0, PartJawsClosed},
    {-7, 75, 0, PartJawsClosed},
    {-7, 77, 0, PartJawsClosed},
    {-4, 80, 0, PartJawsClosed},
    {4, 80, 0, PartJawsClosed},
    {7, 77, 0, PartJawsClosed},
    {7, 75, 0, PartJawsClosed},
    {-2, 75, 0, PartJawsClosed},
    {-2, 73, 0, PartJawsClosed},
    {2, 73, 0, PartJawsClosed},
    // right finger, closed
    {6, 78, 1, PartJawsClosed},
    {0, 89, 0, PartJawsClosed},
    {0, 84, 0, PartJawsClosed},
    {2, 80, 0, PartJawsClosed},
    // left finger, closed
    {-6, 78, 1, PartJawsClosed},
    {0, 89, 0, PartJawsClosed},
    {0, 84, 0, PartJawsClosed},
    {-2, 80, 0, PartJawsClosed},
    // palm outline, open set
    {2, 73, 1, PartJawsOpen},
    {2, 75, 0, PartJawsOpen},
    {-7, 75, 0, PartJawsOpen},
    {-7, 77, 0, PartJawsOpen},
    {-4, 80, 0, PartJawsOpen},
    {4, 80, 0, PartJawsOpen},
    {7, 77, 0, PartJawsOpen},
    {7, 75, 0, PartJawsOpen},
    {-2, 75, 0, PartJawsOpen},
    {-2, 73, 0, PartJawsOpen},
    {2, 73, 0, PartJawsOpen},
    // right finger, open
    {6, 78, 1, PartJawsOpen},
    {10, 81, 0, PartJawsOpen},
    {8, 87, 0, PartJawsOpen},
    {8, 82, 0, PartJawsOpen},
    {4, 79, 0, PartJawsOpen},
    // left finger, open
    {-6, 78, 1, PartJawsOpen},
    {-10, 81, 0, PartJawsOpen},
    {-8, 87, 0, PartJawsOpen},
    {-8, 82, 0, PartJawsOpen},
    {-4, 79, 0, PartJawsOpen},
    // loose object
    {-27, -29, 1, PartLooseObject},
};

constexpr int builtInPointCount = static_cast<int>(std::size(builtInFigure));
static_assert(builtInPointCount == 73);
static_assert(builtInPointCount <= MaxPoints);

} // namespace

void loadBuiltInModel(SimulationState& state) {
    state.pointCount = builtInPointCount;
    state.shoulderPivot = 9;
    state.elbowPivot = 21;
    state.wristPivot = 32;
    state.upperArmLength = 35;
    state.forearmLength = 35;
    state.handLength = 15;
    for (int i = 1; i <= builtInPointCount; ++i) {
        const FigurePoint& row = builtInFigure[i - 1];
        state.pointX[i] = row.x;
        state.pointY[i] = row.y;
        state.penUp[i] = row.penUp;
        state.partNumber[i] = row.part;
    }
}

void rotateDistalPoints(SimulationState& state, int pivot, double angle) {
    if (angle == 0) {
        return;
    }
    if (pivot < 0 || pivot >= state.pointCount) {
        return;
    }
    // Neither the pivot point nor the angle changes inside the loop: the pivot has a lower
    // number than every point turned.
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    const double px = state.pointX[pivot];
    const double py = state.pointY[pivot];
    const bool turnLooseObject = state.objectHeld != 0;
    for (int k = state.pointCount; k > pivot; --k) {
        if (!turnLooseObject && state.partNumber[k] == PartLooseObject) {
            continue;
        }
        const double dx = state.pointX[k] - px;
        const double dy = state.pointY[k] - py;
        state.pointX[k] = dx * cosine - dy * sine + px;
        state.pointY[k] = dx * sine + dy * cosine + py;
    }
}

} // namespace servo
