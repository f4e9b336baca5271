#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace servo::testing {

// Watches for modal message boxes while it lives, records their title and text, and closes
// each with OK, so that no test is left blocked behind one.
class ModalDismisser {
public:
    ModalDismisser() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                titles << box->windowTitle();
                texts << box->text();
                buttonCounts << static_cast<int>(box->buttons().size());
                icons << box->icon();
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }

    QStringList titles;
    QStringList texts;
    QList<int> buttonCounts;
    QList<QMessageBox::Icon> icons;

private:
    QTimer timer_;
};

} // namespace servo::testing
