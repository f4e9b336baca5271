#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace servo::testing {

// Ends the test program with a message naming the box when a modal message box stays open
// longer than `limitMs`: a test that leaves one open would otherwise wait behind it until
// the test runner's timeout. Create one in main(), after the QApplication.
class ModalWatchdog {
public:
    explicit ModalWatchdog(int limitMs = 3000) : limitMs_(limitMs) {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
        timer_.start();
    }

private:
    void check() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != watched_) {
            watched_ = box;
            openFor_.start();
            return;
        }
        if (box != nullptr && openFor_.elapsed() > limitMs_) {
            qFatal("the message box \"%s\" (\"%s\") was left open for more than %d ms",
                   qPrintable(box->windowTitle()), qPrintable(box->text().left(60)), limitMs_);
        }
    }

    int limitMs_;
    QTimer timer_;
    QPointer<QMessageBox> watched_;
    QElapsedTimer openFor_;
};

} // namespace servo::testing
