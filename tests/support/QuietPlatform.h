#pragma once

#include <QString>
#include <QtGlobal>

namespace servo::testing {

// The offscreen platform that the window tests run on warns "This plugin does not support
// propagateSizeHints()" whenever a window's size limits change: dozens of lines of noise a run.
// Call it from initTestCase, after QtTest has installed its own message handler: it drops that
// one message and hands every other to QtTest's handler, which logs them and checks expected
// ones.
inline void dropOffscreenPlatformNoise() {
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message == QLatin1String("This plugin does not support propagateSizeHints()")) {
                return;
            }
            if (next != nullptr) {
                next(type, context, message);
            }
        });
}

} // namespace servo::testing
