#include "desktop/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace servo {

namespace {

void showPlainBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName("servoMessageBox");
    box.exec();
}

} // namespace

void showStartUpNotice(QWidget* parent) {
    // Two lines, separated by a plain line break so that no stray control glyph shows.
    showPlainBox(parent, "Servo Simulator",
                 "Press or drag the mouse on the picture to give the arm a target.\n"
                 "Choose a servo scheme on the left and watch how the arm follows it.");
}

void showAboutBox(QWidget* parent) {
    // Five lines, four line breaks, none at the end.
    showPlainBox(parent, "ABOUT",
                 "This program written by:\n"
                 "the Servo Simulator developers,\n"
                 "as a teaching aid for servo control of robot arms:\n"
                 "reverse kinematic, forward x,y and forward R,theta.\n"
                 "Built with C++ and Qt.");
}

void closeOpenMessageBoxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace servo
