// Checks a screenshot of the running simulator: the joint markers must stand where the
// forward kinematics of the settled pose puts them.
//
// usage: marker-check [--surface-only] SCREENSHOT.png LEFT TOP WIDTH HEIGHT
// (the window's client rectangle on the screen, menu bar included). With --surface-only it
// prints the drawing surface's rectangle on the screen, "LEFT TOP WIDTH HEIGHT", and stops.

#include "core/display/DisplayList.h"
#include "core/figure/ArmRenderer.h"
#include "core/simulation/Handlers.h"
#include "headless/HeadlessSimulation.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using namespace servo;

bool isBackground(QRgb pixel) {
    return (pixel & 0xFFFFFF) == (qRgb(63, 150, 192) & 0xFFFFFF);
}
bool isMarker(QRgb pixel) {
    return (pixel & 0xFFFFFF) == (qRgb(1, 0, 0) & 0xFFFFFF);
}

} // namespace

int main(int argc, char* argv[]) {
    const bool surfaceOnly = argc == 7 && std::string_view(argv[1]) == "--surface-only";
    if (surfaceOnly) {
        ++argv;
        --argc;
    }
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: marker-check [--surface-only] SCREENSHOT LEFT TOP WIDTH HEIGHT\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QImage shot(argv[1]);
    const int left = std::atoi(argv[2]);
    const int top = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    if (shot.isNull() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "marker-check: cannot read %s or bad geometry\n", argv[1]);
        return 2;
    }

    // The drawing surface starts below the menu bar: the first background row at the right.
    int surfaceTop = top;
    while (surfaceTop < top + height / 4 &&
           !isBackground(shot.pixel(left + width - 3, surfaceTop))) {
        ++surfaceTop;
    }
    const int surfaceHeight = top + height - surfaceTop;
    if (surfaceOnly) {
        std::printf("%d %d %d %d\n", left, surfaceTop, width, surfaceHeight);
        return 0;
    }
    std::printf("surface: %d,%d %dx%d\n", left, surfaceTop, width, surfaceHeight);

    // The settled pose on the start-up target: run the servo until nothing moves.
    HeadlessSimulation headless;
    SimulationState& state = headless.state;
    for (int i = 0; i < 400; ++i) {
        headless.surface.forget();
        headless.simulation.pass();
    }
    const double a1 = state.shoulderAngle;
    const double a12 = a1 + state.elbowAngle;
    const double joints[3][2] = {
        {0, 0},
        {-35 * std::sin(a1), 35 * std::cos(a1)},
        {-35 * std::sin(a1) - 35 * std::sin(a12), 35 * std::cos(a1) + 35 * std::cos(a12)}};

    int failures = 0;
    for (const auto& joint : joints) {
        const SurfacePoint user = armToSurface(joint[0], joint[1]);
        const double px = left + (user.x - SurfaceLeft) / (SurfaceRight - SurfaceLeft) * width;
        const double py =
            surfaceTop + (user.y - SurfaceTop) / (SurfaceBottom - SurfaceTop) * surfaceHeight;
        // Centre of the marker-coloured pixels near the expected centre.
        const int reach = static_cast<int>(4.0 * width / 330.0) + 3;
        double sumX = 0;
        double sumY = 0;
        int count = 0;
        for (int y = static_cast<int>(py) - reach; y <= static_cast<int>(py) + reach; ++y) {
            for (int x = static_cast<int>(px) - reach; x <= static_cast<int>(px) + reach; ++x) {
                if (shot.valid(x, y) && isMarker(shot.pixel(x, y))) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
            }
        }
        const double cx = count > 0 ? sumX / count : -1;
        const double cy = count > 0 ? sumY / count : -1;
        const bool ok = count >= 8 && std::hypot(cx - px, cy - py) <= 2.5;
        std::printf("joint (%.3f, %.3f): expected pixel (%.1f, %.1f), marker centre (%.1f, %.1f) "
                    "from %d pixels: %s\n",
                    joint[0], joint[1], px, py, cx, cy, count, ok ? "ok" : "WRONG");
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
