#pragma once

class QApplication;

namespace servo {

// Settings that must be made before the QApplication exists (high-DPI rounding).
void prepareApplicationDefaults();
// Application name, style and the window font's fallbacks.
void prepareApplication(QApplication& application);

} // namespace servo
