#include "desktop/AppSetup.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QStyleFactory>

namespace servo {

void prepareApplicationDefaults() {
    // Fractional scale factors (1.25, 1.5) are kept as they are, not rounded.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

void prepareApplication(QApplication& application) {
    QApplication::setApplicationName("servo-simulator");
    QApplication::setApplicationVersion("1.0.0");
    QGuiApplication::setDesktopFileName("net.servosimulator.ServoSimulator");
    if (QStyle* fusion = QStyleFactory::create("Fusion")) {
        application.setStyle(fusion);
    }
    // The window asks for "MS Sans Serif"; on Linux a metric-compatible sans serif stands in.
    QFont::insertSubstitutions("MS Sans Serif",
                               {"Liberation Sans", "Arimo", "Arial", "DejaVu Sans"});
}

} // namespace servo
