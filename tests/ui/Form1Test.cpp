#include "ModalDismisser.h"
#include "ModalWatchdog.h"
#include "QuietPlatform.h"
#include "TryCompare.h"

#include "core/lab/Lab.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/simulation/Simulation.h"
#include "core/teaching/Grid.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/FocusRing.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"
#include "desktop/PersistentCanvas.h"
#include "desktop/RunLoop.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QHash>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QTextDocument>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

namespace servo::testing {

class Form1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app; // the parts below are its
    SimulationState* state = nullptr;
    PersistentCanvas* canvas = nullptr;
    Form1* form = nullptr;
    Simulation* simulation = nullptr;
    Lab* lab = nullptr;
    std::unique_ptr<ModalDismisser> notices;

    DrawingArea& area() { return form->drawingArea(); }
    // One pass, then the frame as the run loop presents it (the picture and the controls).
    void cycle() {
        simulation->pass();
        form->presentFrame();
        form->showControls();
    }
    // A window point of the surface from user units.
    QPoint at(double x, double y) { return canvas->toLogical(x, y).toPoint(); }
    int countPixels(QRgb colour) {
        const QImage& image = canvas->image();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                count += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF);
            }
        }
        return count;
    }
    // A mouse event with explicit buttons held, delivered to the surface.
    void sendMouse(QEvent::Type type, QPoint where, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(where), area().mapToGlobal(QPointF(where)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&area(), &event);
    }

    // The contrast of what a control draws in the middle of one of its sub-controls (an arrow)
    // against the colour most of that sub-control has (its face).
    static double arrowContrast(QWidget& widget, QStyle::ComplexControl control,
                                QStyle::SubControl sub) {
        // Each kind's own option on the stack: QStyleOption has no virtual destructor, so one
        // is never deleted through a pointer to its base.
        QStyleOptionSlider slider;
        QStyleOptionSpinBox spin;
        QStyleOptionComboBox combo;
        QStyleOptionComplex* option = &combo;
        if (auto* bar = qobject_cast<QScrollBar*>(&widget)) {
            slider.initFrom(bar);
            slider.orientation = bar->orientation();
            slider.minimum = bar->minimum();
            slider.maximum = bar->maximum();
            slider.sliderPosition = bar->sliderPosition();
            slider.sliderValue = bar->value();
            slider.singleStep = bar->singleStep();
            slider.pageStep = bar->pageStep();
            option = &slider;
        } else if (qobject_cast<QAbstractSpinBox*>(&widget) != nullptr) {
            spin.initFrom(&widget);
            spin.frame = true;
            option = &spin;
        } else {
            combo.initFrom(&widget);
            combo.frame = true;
        }
        option->subControls = QStyle::SC_All;
        const QRect part = widget.style()->subControlRect(control, option, sub, &widget);
        // The sub-control clear of the face's edges and the lines between faces.
        const QRect middle = part.adjusted(2, 1, -2, -1);
        const QImage image = widget.grab().toImage();
        QHash<QRgb, int> counts;
        for (int y = middle.top(); y <= middle.bottom(); ++y) {
            for (int x = middle.left(); x <= middle.right(); ++x) {
                ++counts[image.pixel(x, y) & 0xFFFFFF];
            }
        }
        QRgb face = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.value() > counts.value(face)) {
                face = it.key();
            }
        }
        double most = 1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            most = std::max(most, contrastRatio(PersistentCanvas::fromQColor(QColor(it.key())),
                                                PersistentCanvas::fromQColor(QColor(face))));
        }
        return most;
    }

    // Turns accessibility on as a running screen reader does and records every accessibility
    // event from now on: its object and type.
    static QList<QPair<QObject*, QAccessible::Event>>& listenAsAScreenReader() {
        static QList<QPair<QObject*, QAccessible::Event>> heard;
        heard.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            heard.append({event->object(), event->type()});
        });
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        if (platform != nullptr) {
            platform->setActive(true);
        }
        return heard;
    }
    static void stopListening() {
        QAccessible::installUpdateHandler(nullptr);
        if (QPlatformAccessibility* platform =
                QGuiApplicationPrivate::platformIntegration()->accessibility()) {
            platform->setActive(false);
        }
    }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }

    void init() {
        app = std::make_unique<DesktopSimulator>();
        state = &app->state;
        canvas = &app->canvas;
        form = &app->form;
        simulation = &app->simulation;
        lab = &app->lab;
        notices = std::make_unique<ModalDismisser>();
        form->startUp();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup() {
        notices.reset();
        app.reset();
    }

    void startUpValues() {
        QCOMPARE(form->windowTitle(),
                 QString("Servo Simulator-Demonstrate by choosing a target with the mouse"));
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QCOMPARE(state->runState, RunRunning);
        QCOMPARE(state->targetX, 350.0);
        QCOMPARE(state->targetY, 50.0);
        QCOMPARE(state->firstCycle, 1);
        QCOMPARE(form->wristScrollBar()->value(), 0);
        QCOMPARE(form->wristScrollBar()->maximum(), 32767);
        QVERIFY(form->checkBox(CheckBox::Check1)->isChecked());
        QVERIFY(!form->checkBox(CheckBox::Check2)->isChecked());
        QVERIFY(!form->checkBox(CheckBox::Check3)->isChecked());
        QVERIFY(form->checkBox(CheckBox::Check7)->isChecked());
        QCOMPARE(state->elbowPair, 1);
        QCOMPARE(state->elbowChoice, 1);
        QCOMPARE(form->pathButton()->text(), QString("show path"));
        QCOMPARE(form->wristLabel()->text(), QString("Wrist Angle"));
        QCOMPARE(form->servoHeading()->text(), QString("Choose Servo"));
        QCOMPARE(form->explanationBox()->toPlainText(),
                 QString::fromStdString(explanationOf(*servoSchemeOf(ServoReverseKinematic)))
                     .replace("\r\n", "\n"));
        // The notice: two lines, one OK button, no icon, no stray control character.
        QCOMPARE(notices->titles.size(), 1);
        QCOMPARE(notices->texts[0].count('\n'), 1);
        QVERIFY(!notices->texts[0].contains('\r'));
        QCOMPARE(notices->buttonCounts[0], 1);
        QCOMPARE(notices->icons[0], QMessageBox::NoIcon);
        // The first cycle waits for the notice and then draws the arm.
        QVERIFY(countPixels(qRgb(255, 255, 255)) == 0);
        cycle();
        QVERIFY(countPixels(qRgb(255, 255, 255)) > 100);
    }

    void controlsSitWhereTheTwipsPutThem() {
        QCOMPARE(form->checkBox(CheckBox::Check1)->geometry(), QRect(88, 32, 169, 17));
        QCOMPARE(form->checkBox(CheckBox::Check3)->geometry(), QRect(88, 56, 193, 17));
        QCOMPARE(form->checkBox(CheckBox::Check2)->geometry(), QRect(88, 80, 177, 17));
        QCOMPARE(form->checkBox(CheckBox::Check7)->geometry(), QRect(104, 192, 97, 17));
        QCOMPARE(form->wristScrollBar()->geometry(), QRect(40, 8, 17, 193));
        QCOMPARE(form->wristLabel()->geometry(), QRect(0, 208, 97, 19));
        QCOMPARE(form->pathButton()->geometry(), QRect(160, 232, 65, 33));
        QCOMPARE(form->explanationBox()->geometry(), QRect(16, 272, 225, 137));
        // The centre lines of the scroll bar and its label agree.
        QVERIFY(qAbs(form->wristScrollBar()->geometry().center().x() -
                     form->wristLabel()->geometry().center().x()) <= 1);
    }

    void servoBoxPressSelectsTheScheme() {
        QCheckBox* xy = form->checkBox(CheckBox::Check2);
        QTest::mouseClick(xy, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(state->servoType, ServoForwardXY);
        QVERIFY(xy->isChecked());
        QVERIFY(!form->checkBox(CheckBox::Check1)->isChecked());
        QVERIFY(!form->checkBox(CheckBox::Check3)->isChecked());
        QCOMPARE(form->explanationBox()->toPlainText(),
                 QString::fromStdString(explanationOf(*servoSchemeOf(ServoForwardXY)))
                     .replace("\r\n", "\n"));
        QVERIFY(form->checkBox(CheckBox::Check4)->isVisible());
        cycle();
        for (CheckBox box :
             {CheckBox::Check4, CheckBox::Check5, CheckBox::Check6, CheckBox::Check7}) {
            QVERIFY(!form->checkBox(box)->isVisible());
        }
        QTest::mouseClick(form->checkBox(CheckBox::Check1), Qt::LeftButton, {}, QPoint(5, 8));
        cycle();
        QVERIFY(form->checkBox(CheckBox::Check7)->isVisible());
    }

    void rightButtonPressSelectsTooButLeavesTheSurfaceAlone() {
        QTest::mousePress(form->checkBox(CheckBox::Check3), Qt::RightButton, {}, QPoint(5, 8));
        QTest::mouseRelease(form->checkBox(CheckBox::Check3), Qt::RightButton, {}, QPoint(5, 8));
        QCOMPARE(state->servoType, ServoForwardRTheta);
        QVERIFY(!form->checkBox(CheckBox::Check1)->isChecked());
        QCOMPARE(state->targetX, 350.0); // the press did not reach the surface
        QCOMPARE(state->pointerHeld, 0);
    }

    void pressingTheSchemeInForceRemovesItsCheckMark() {
        QTest::mouseClick(form->checkBox(CheckBox::Check1), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(state->servoType, ServoReverseKinematic);
        QVERIFY(!form->checkBox(CheckBox::Check1)->isChecked());
        QCOMPARE(form->explanationBox()->toPlainText(),
                 QString::fromStdString(explanationOf(*servoSchemeOf(ServoReverseKinematic)))
                     .replace("\r\n", "\n"));
    }

    void keyboardTogglesOnlyTheCheckMark() {
        QCheckBox* rtheta = form->checkBox(CheckBox::Check3);
        rtheta->setFocus();
        QTest::keyClick(rtheta, Qt::Key_Space);
        QVERIFY(rtheta->isChecked());
        QCOMPARE(state->servoType, ServoReverseKinematic);
    }

    void elbowCascade() {
        QTest::mouseClick(form->checkBox(CheckBox::Check5), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(state->elbowPair, 0);
        QCOMPARE(state->elbowChoice, 1);
        QVERIFY(!form->checkBox(CheckBox::Check7)->isChecked());
        QTest::mouseClick(form->checkBox(CheckBox::Check6), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(state->elbowPair, 1);
        QCOMPARE(state->elbowChoice, 0);
        QVERIFY(!form->checkBox(CheckBox::Check5)->isChecked());
        // Clicking the checked box unchecks it; the configuration stays.
        QTest::mouseClick(form->checkBox(CheckBox::Check6), Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(!form->checkBox(CheckBox::Check6)->isChecked());
        QCOMPARE(state->elbowPair, 1);
        QCOMPARE(state->elbowChoice, 0);
        // Setting a box from code raises its handling too, and the window shows the cascade.
        form->controls().setChecked(CheckBox::Check4, true);
        QCOMPARE(state->elbowPair, 0);
        QCOMPARE(state->elbowChoice, 0);
        form->showControls();
        QVERIFY(form->checkBox(CheckBox::Check4)->isChecked());
        QVERIFY(!form->checkBox(CheckBox::Check6)->isChecked());
    }

    void gripperButtons() {
        QTest::mouseClick(form->closeButton(), Qt::LeftButton);
        QCOMPARE(state->gripperClosed, 1);
        QTest::mouseClick(form->openButton(), Qt::LeftButton);
        QCOMPARE(state->gripperClosed, 0);
    }

    void pathToggleTwice() {
        QTest::mouseClick(form->pathButton(), Qt::LeftButton);
        QCOMPARE(state->clearEachCycle, 0);
        QCOMPARE(form->pathButton()->text(), QString("clear"));
        QTest::mouseClick(form->pathButton(), Qt::LeftButton);
        QCOMPARE(state->clearEachCycle, 1);
        QCOMPARE(form->pathButton()->text(), QString("show path"));
    }

    void pressClearsOnlyWhileThePathIsHidden() {
        cycle();
        const QRgb white = qRgb(255, 255, 255);
        QVERIFY(countPixels(white) > 100);
        QTest::mouseClick(form->pathButton(), Qt::LeftButton); // path shown
        QTest::mousePress(&area(), Qt::LeftButton, {}, at(400, 100));
        QTest::mouseRelease(&area(), Qt::LeftButton, {}, at(400, 100));
        QVERIFY(countPixels(white) > 100);
        QTest::mouseClick(form->pathButton(), Qt::LeftButton); // path hidden
        QTest::mousePress(&area(), Qt::LeftButton, {}, at(400, 100));
        QCOMPARE(countPixels(white), 0);
        QCOMPARE(state->pointerHeld, 1);
        QVERIFY(qAbs(state->targetX - 400) < 1);
        QVERIFY(qAbs(state->targetY - 100) < 1);
    }

    void pointerMovesDragOnlyWhileHeld() {
        sendMouse(QEvent::MouseMove, at(420, 20), Qt::NoButton, Qt::NoButton);
        QCOMPARE(state->targetX, 350.0);
        sendMouse(QEvent::MouseButtonPress, at(400, 100), Qt::LeftButton, Qt::LeftButton);
        sendMouse(QEvent::MouseMove, at(410, 90), Qt::NoButton, Qt::LeftButton);
        QVERIFY(qAbs(state->targetX - 410) < 1);
        // Leaving the window keeps the target following, outside the visible scale.
        sendMouse(QEvent::MouseMove, QPoint(-5000, 90000), Qt::NoButton, Qt::LeftButton);
        QVERIFY(state->targetX < 0);
        QVERIFY(state->targetY > 1000);
        sendMouse(QEvent::MouseButtonRelease, QPoint(-5000, 90000), Qt::LeftButton, Qt::NoButton);
        sendMouse(QEvent::MouseMove, at(300, 50), Qt::NoButton, Qt::NoButton);
        QVERIFY(state->targetX < 0);
    }

    void secondButtonEndsTheDrag() {
        sendMouse(QEvent::MouseButtonPress, at(400, 100), Qt::LeftButton, Qt::LeftButton);
        sendMouse(QEvent::MouseButtonPress, at(400, 100), Qt::RightButton,
                  Qt::LeftButton | Qt::RightButton);
        sendMouse(QEvent::MouseButtonRelease, at(400, 100), Qt::RightButton, Qt::LeftButton);
        QCOMPARE(state->pointerHeld, 0);
        sendMouse(QEvent::MouseMove, at(250, 30), Qt::NoButton, Qt::LeftButton);
        QVERIFY(qAbs(state->targetX - 400) < 1);
    }

    void typingIntoTheTextBoxesChangesNothing() {
        const QString explanation = form->explanationBox()->toPlainText();
        QTest::keyClicks(form->explanationBox(), "hello");
        QTest::keyClick(form->explanationBox(), Qt::Key_Backspace);
        QTest::keyClick(form->explanationBox(), Qt::Key_Delete);
        QCOMPARE(form->explanationBox()->toPlainText(), explanation);
        QTest::keyClicks(form->wristLabel(), "xyz");
        QCOMPARE(form->wristLabel()->text(), QString("Wrist Angle"));
        QTest::keyClick(form->servoHeading(), Qt::Key_Backspace);
        QTest::keyClicks(form->servoHeading(), "abc");
        QCOMPARE(form->servoHeading()->text(), QString("Choose Servo"));
    }

    void runAndPanicStop() {
        cycle();
        form->stopAction()->trigger();
        QCOMPARE(state->runState, RunStopped);
        const double shoulder = state->shoulderAngle;
        cycle();
        cycle();
        QCOMPARE(state->shoulderAngle, shoulder);
        form->runAction()->trigger();
        form->runAction()->trigger();
        QCOMPARE(state->runState, RunRunning);
        cycle();
        QVERIFY(state->shoulderAngle != shoulder);
    }

    void gridPixels() {
        form->gridAction()->trigger();
        QCOMPARE(state->gridOn, 1);
        const QRgb grid = qRgb(150, 175, 200);
        QCOMPARE(countPixels(grid), 0); // nothing drawn by the click itself
        cycle();
        // Count the runs of grid colour along a row between two horizontal lines and along a
        // column between two vertical lines.
        auto runs = [&](auto pixelAt, int from, int to) {
            int count = 0;
            bool inside = false;
            for (int i = from; i <= to; ++i) {
                const bool isGrid = (pixelAt(i) & 0xFFFFFF) == (grid & 0xFFFFFF);
                count += isGrid && !inside;
                inside = isGrid;
            }
            return count;
        };
        const QImage& image = canvas->image();
        const qreal ratio = image.devicePixelRatio();
        const int row = static_cast<int>(canvas->toLogical(0, 25).y() * ratio);
        const int column = static_cast<int>(canvas->toLogical(405, 0).x() * ratio);
        const int left = static_cast<int>(canvas->toLogical(225, 0).x() * ratio);
        const int right = static_cast<int>(canvas->toLogical(420, 0).x() * ratio);
        const int top = static_cast<int>(canvas->toLogical(0, 15).y() * ratio);
        const int bottom = static_cast<int>(canvas->toLogical(0, 125).y() * ratio);
        QCOMPARE(runs([&](int x) { return image.pixel(x, row); }, left, right), 19);
        QCOMPARE(runs([&](int y) { return image.pixel(column, y); }, top, bottom), 11);
        // The outer lines stand at x 230 and 410 (within a pixel of the mapped position).
        for (double x : {230.0, 410.0}) {
            const int px = static_cast<int>(canvas->toLogical(x, 0).x() * ratio);
            const bool near = (image.pixel(px - 1, row) & 0xFFFFFF) == (grid & 0xFFFFFF) ||
                              (image.pixel(px, row) & 0xFFFFFF) == (grid & 0xFFFFFF) ||
                              (image.pixel(px + 1, row) & 0xFFFFFF) == (grid & 0xFFFFFF);
            QVERIFY2(near, qPrintable(QString("no grid line at x = %1").arg(x)));
        }

        form->gridAction()->trigger(); // off: drawn once more, then no more
        QCOMPARE(state->gridOn, 0);
        cycle();
        QCOMPARE(countPixels(grid), 0);
    }

    void aboutBoxHasFiveLines() {
        form->aboutAction()->trigger();
        QCOMPARE(notices->titles.last(), QString("ABOUT"));
        QCOMPARE(notices->texts.last().split('\n').size(), 5);
        QVERIFY(notices->texts.last().startsWith("This program written by:\n"));
        QCOMPARE(notices->buttonCounts.last(), 1);
    }

    void keyboardShortcutsDriveTheMenus() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QTest::keyClick(focus, Qt::Key_Escape); // a panic control is one key away
        QCOMPARE(state->runState, RunStopped);
        QTest::keyClick(focus, Qt::Key_F5);
        QCOMPARE(state->runState, RunRunning);
        QTest::keyClick(focus, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(state->gridOn, 1);
        QTest::keyClick(focus, Qt::Key_F1);
        QCOMPARE(notices->titles.last(), QString("ABOUT"));
        form->activateWindow(); // back from the About box
        QVERIFY(QTest::qWaitForWindowActive(form));
        // Escape also works with the focus in a text box.
        form->explanationBox()->setFocus();
        QTest::keyClick(form->explanationBox(), Qt::Key_Escape);
        QCOMPARE(state->runState, RunStopped);
        // The mnemonics: Alt+R runs, Alt+S stops.
        QTest::keyClick(form->explanationBox(), Qt::Key_R, Qt::AltModifier);
        QCOMPARE(state->runState, RunRunning);
        QTest::keyClick(form->explanationBox(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(state->runState, RunStopped);
        // Ctrl+Q closes the window as the window manager's close does.
        QTest::keyClick(form->explanationBox(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(state->runState, RunEnd);
        QVERIFY(!form->isVisible());
    }

    void tabVisitsTheControlsInTheirOrder() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->checkBox(CheckBox::Check1)->setFocus();
        const QList<QWidget*> expected{form->checkBox(CheckBox::Check2),
                                       form->checkBox(CheckBox::Check3),
                                       form->wristScrollBar(),
                                       form->openButton(),
                                       form->closeButton(),
                                       form->pathButton(),
                                       form->wristLabel(),
                                       form->checkBox(CheckBox::Check4),
                                       form->explanationBox(),
                                       form->servoHeading(),
                                       form->checkBox(CheckBox::Check5),
                                       form->checkBox(CheckBox::Check6),
                                       form->checkBox(CheckBox::Check7),
                                       &area(), // the picture last
                                       form->checkBox(CheckBox::Check1)};
        const int margin = FocusRing::Width + FocusRing::Gap;
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
            // A clear focus mark surrounds the control that has the focus, or runs along the
            // picture's edges.
            QVERIFY(form->focusRing()->isVisible());
            QCOMPARE(form->focusRing()->geometry(),
                     next == &area() ? area().rect()
                                     : next->geometry().adjusted(-margin, -margin, margin, margin));
        }
    }

    // With the picture focused, arrows move the target as a press and release would, Shift in
    // finer steps, Home back to the start; Ctrl+Up still raises the gain; Ctrl+D describes.
    void theTargetByKeyboard() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        area().setFocus();
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            double x;
            double y;
        } steps[] = {{Qt::Key_Right, Qt::NoModifier, 355, 50},
                     {Qt::Key_Up, Qt::NoModifier, 355, 45},
                     {Qt::Key_Left, Qt::ShiftModifier, 354, 45},
                     {Qt::Key_Down, Qt::ShiftModifier, 354, 46},
                     {Qt::Key_Home, Qt::NoModifier, 350, 50}};
        for (const auto& step : steps) {
            QTest::keyClick(&area(), step.key, step.modifiers);
            QCOMPARE(state->targetX, step.x);
            QCOMPARE(state->targetY, step.y);
            QCOMPARE(state->pointerHeld, 0);
        }
        for (int i = 0; i < 40;
             ++i) { // held down at the right edge: the target stays on the surface
            QTest::keyClick(&area(), Qt::Key_Right);
        }
        QCOMPARE(state->targetX, SurfaceRight);
        QTest::keyClick(&area(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(state->gain, 1.1);
        QTest::keyClick(&area(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY2(area().accessibleDescription().startsWith("Reverse Kinematic scheme. Shoulder "),
                 qPrintable(area().accessibleDescription()));
        QVERIFY(area().accessibleName().startsWith("Robot arm, Reverse Kinematic scheme"));
    }

    // A change is put into the picture's accessible description with the events that make a
    // screen reader speak it.
    void changesAreToldWithTheirEvents() {
        QList<QPair<QObject*, QAccessible::Event>>& heard = listenAsAScreenReader();
        QVERIFY(QGuiApplicationPrivate::platformIntegration()->accessibility() != nullptr);
        RunLoop loop(*lab, *form);
        loop.setAfterFrame([this](double now) { app->afterFrame(now); });
        QVERIFY(loop.turn()); // the announcer's first look: what is, is not news
        form->stopAction()->trigger();
        QElapsedTimer waited;
        waited.start();
        while (!area().accessibleDescription().contains("Stopped") && waited.elapsed() < 20000) {
            QVERIFY(loop.turn());
        }
        QVERIFY(area().accessibleDescription().contains("Stopped"));
        QVERIFY(heard.contains({&area(), QAccessible::DescriptionChanged}));
        QVERIFY(heard.contains({&area(), QAccessible::Alert}));
        stopListening();
    }

    // High contrast: every caption 4.5:1 against its background, the focus ring 3:1; the
    // picture keeps what was drawn, in the new colours.
    void highContrastColoursTheWindowAndKeepsThePicture() {
        for (int i = 0; i < 40; ++i) {
            cycle();
        }
        const int armPixels = countPixels(qRgb(255, 255, 255));
        QVERIFY(armPixels > 100);
        app->labMenu.action(Command::HighContrast)->trigger();
        QVERIFY(lab->settings().highContrast);
        QCOMPARE(canvas->profile(), ColourProfile::HighContrast);
        const auto ratio = [](const QColor& a, const QColor& b) {
            return contrastRatio(PersistentCanvas::fromQColor(a), PersistentCanvas::fromQColor(b));
        };
        const QPalette box = form->checkBox(CheckBox::Check1)->palette();
        QVERIFY(ratio(box.color(QPalette::WindowText), box.color(QPalette::Window)) >= 4.5);
        const QPalette heading = form->servoHeading()->palette();
        QVERIFY(ratio(heading.color(QPalette::Text), heading.color(QPalette::Base)) >= 4.5);
        const QPalette window = form->palette();
        QVERIFY(ratio(window.color(QPalette::WindowText), window.color(QPalette::Window)) >= 4.5);
        QVERIFY(ratio(form->focusRing()->colour(), window.color(QPalette::Window)) >= 3);
        QVERIFY(countPixels(qRgb(0, 0, 0)) > countPixels(qRgb(255, 255, 255)));
        QVERIFY(qAbs(countPixels(qRgb(255, 255, 255)) - armPixels) <= armPixels / 20);
        QCOMPARE(countPixels(PersistentCanvas::toQColor(WindowBackground).rgb()), 0);
        app->labMenu.action(Command::HighContrast)->trigger();
        QCOMPARE(canvas->profile(), ColourProfile::Window);
        QCOMPARE(form->palette().color(QPalette::Window),
                 PersistentCanvas::toQColor(WindowBackground));
    }

    // High contrast: every arrow a control draws on its face (the scroll bars', the spin
    // boxes' buttons, the combo boxes' drop arrows) stands out from that face at 3:1 or more.
    void highContrastDrawsEveryArrowAtThreeToOne() {
        app->labMenu.panelAction()->trigger();
        app->labMenu.action(Command::HighContrast)->trigger();
        QTRY_VERIFY(app->labPanel.isVisible());
        form->showControls();       // the damping box shows 5, off its minimum: both arrows enabled
        form->layout()->activate(); // the panel and its rows laid out now
        app->labPanel.widget()->layout()->activate();
        struct Part {
            QWidget* widget;
            QStyle::ComplexControl control;
            QStyle::SubControl sub;
        };
        const QList<Part> parts{
            {form->wristScrollBar(), QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSubLine},
            {form->wristScrollBar(), QStyle::CC_ScrollBar, QStyle::SC_ScrollBarAddLine},
            {form->explanationBox()->verticalScrollBar(), QStyle::CC_ScrollBar,
             QStyle::SC_ScrollBarAddLine},
            {app->labPanel.dampingBox(), QStyle::CC_SpinBox, QStyle::SC_SpinBoxUp},
            {app->labPanel.dampingBox(), QStyle::CC_SpinBox, QStyle::SC_SpinBoxDown},
            {app->labPanel.schemeBox(), QStyle::CC_ComboBox, QStyle::SC_ComboBoxArrow},
        };
        for (const Part& part : parts) {
            const double contrast = arrowContrast(*part.widget, part.control, part.sub);
            QVERIFY2(contrast >= 3, qPrintable(QString("%1's sub-control %2: %3:1")
                                                   .arg(part.widget->metaObject()->className())
                                                   .arg(part.sub)
                                                   .arg(contrast)));
        }
    }

    // The lab panel's scheme row: a Jacobian scheme unchecks the servo boxes and hides the
    // elbow boxes; a servo box brings its scheme back; a race runs beside.
    void theLabChoosesJacobianSchemesAndARace() {
        LabPanel& panel = app->labPanel;
        app->labMenu.panelAction()->trigger();
        panel.schemeBox()->setCurrentIndex(ServoResolvedRate - 1);
        emit panel.schemeBox()->activated(ServoResolvedRate - 1);
        panel.raceBox()->setCurrentIndex(ServoForwardXY);
        emit panel.raceBox()->activated(ServoForwardXY);
        for (int i = 0; i < 5; ++i) {
            cycle();
        }
        QCOMPARE(state->servoType, ServoResolvedRate);
        QCOMPARE(lab->race().scheme(), ServoForwardXY);
        for (CheckBox box : {CheckBox::Check1, CheckBox::Check2, CheckBox::Check3}) {
            QVERIFY(!form->checkBox(box)->isChecked());
        }
        QVERIFY(form->checkBox(CheckBox::Check4)->isHidden());
        QVERIFY(form->explanationBox()->toPlainText().startsWith("Resolved rate"));
        panel.dampingBox()->setValue(80);
        QCOMPARE(state->dampingLambda, MaxDampingLambda);
        QTest::mouseClick(form->checkBox(CheckBox::Check2), Qt::LeftButton);
        QCOMPARE(state->servoType, ServoForwardXY);
        QCOMPARE(panel.schemeBox()->currentIndex(), ServoForwardXY - 1);
    }

    void accessibilityTreeNamesEveryControl() {
        QMultiMap<QString, QAccessible::Role> found;
        std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node,
                                                                   int depth) {
            if (node == nullptr || depth > 12) {
                return;
            }
            found.insert(node->text(QAccessible::Name), node->role());
            for (int i = 0; i < node->childCount(); ++i) {
                walk(node->child(i), depth + 1);
            }
        };
        walk(QAccessible::queryAccessibleInterface(form), 0);
        const QList<QPair<QString, QAccessible::Role>> controls{
            {"Choose Servo", QAccessible::StaticText},
            {"Wrist Angle", QAccessible::ScrollBar},
            {"Reverse Kinematic", QAccessible::CheckBox},
            {"Forward Kin.(R,ang.)", QAccessible::CheckBox},
            {"Forward Kin.(x,y)", QAccessible::CheckBox},
            {"Elbow Down", QAccessible::CheckBox},
            {"Elbow Up", QAccessible::CheckBox},
            {"Elbow Right", QAccessible::CheckBox},
            {"Elbow Left", QAccessible::CheckBox},
            {"Wrist Angle", QAccessible::StaticText},
            {"show path", QAccessible::Button},
            {"Open", QAccessible::Button},
            {"Close", QAccessible::Button},
            {"Explanation", QAccessible::EditableText},
            {"Run", QAccessible::MenuItem},
            {"Panic/Stop", QAccessible::MenuItem},
            {"Grid", QAccessible::MenuItem},
            {"About", QAccessible::MenuItem}};
        for (const auto& [name, role] : controls) {
            QVERIFY2(found.values(name).contains(role),
                     qPrintable(QString("no %1 named \"%2\"").arg(role).arg(name)));
        }
        QVERIFY(found.contains(form->windowTitle()));
    }

    // The picture is one graphic with no children; the controls over it are the window's, the
    // headings static text that keeps its place in the keyboard order; the lab's combo boxes
    // are named by their labels and tell their item as the value.
    void accessibleRolesAndParents() {
        QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(&area());
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QCOMPARE(picture->childCount(), 0);
        QVERIFY(picture->state().focusable);
        QWidget* controls[] = {form->checkBox(CheckBox::Check1),
                               form->wristScrollBar(),
                               form->openButton(),
                               form->wristLabel(),
                               form->servoHeading(),
                               form->explanationBox()};
        for (QWidget* control : controls) {
            QAccessibleInterface* parent = QAccessible::queryAccessibleInterface(control)->parent();
            QVERIFY(parent != nullptr);
            QVERIFY2(parent->object() != &area(), qPrintable(control->objectName()));
            QVERIFY(parent->indexOfChild(QAccessible::queryAccessibleInterface(control)) >= 0);
        }
        for (QLineEdit* heading : {form->wristLabel(), form->servoHeading()}) {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(heading);
            QCOMPARE(node->role(), QAccessible::StaticText);
            QCOMPARE(node->text(QAccessible::Name), heading->text());
            QVERIFY(node->textInterface() == nullptr && node->editableTextInterface() == nullptr);
            QVERIFY(node->state().focusable);
        }
        LabPanel& panel = app->labPanel;
        app->labMenu.panelAction()->trigger();
        const struct {
            QComboBox* box;
            QString name;
        } boxes[] = {{panel.speedBox(), "Speed"},
                     {panel.raceBox(), "Race against"},
                     {panel.schemeBox(), "Scheme"}};
        for (const auto& [box, name] : boxes) {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
            QCOMPARE(node->role(), QAccessible::ComboBox);
            QCOMPARE(node->text(QAccessible::Name), name);
            QCOMPARE(node->text(QAccessible::Value), box->currentText());
            QVERIFY(!box->currentText().isEmpty());
        }
    }

    // A press on the picture gives it the keyboard focus: the arrows then move the target.
    void aPressOnThePictureTakesTheFocus() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->checkBox(CheckBox::Check2)->setFocus();
        QTest::mouseClick(&area(), Qt::LeftButton, {}, at(400, 100));
        QCOMPARE(QApplication::focusWidget(), &area());
        const double pressedX = state->targetX;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(state->targetX, pressedX + TargetKeyStep);
        QVERIFY(!form->checkBox(CheckBox::Check2)->isChecked());
    }

    // Each change of the picture's name or description is raised once; the name is paced like
    // the spoken changes (a held arrow key is not a stream of names), and the name it rests on
    // is always told.
    void namesAndDescriptionsAreRaisedOncePaced() {
        QList<QPair<QObject*, QAccessible::Event>>& heard = listenAsAScreenReader();
        const auto count = [this, &heard](QAccessible::Event type) {
            return heard.count({&area(), type});
        };
        form->announce("Target reached", std::string("Robot arm, somewhere"));
        QCOMPARE(count(QAccessible::NameChanged), 1);
        QCOMPARE(count(QAccessible::DescriptionChanged), 1);
        QCOMPARE(count(QAccessible::Alert), 1);
        form->announce("Target reached", std::nullopt); // the same words, news again
        QCOMPARE(count(QAccessible::DescriptionChanged), 2);
        QCOMPARE(count(QAccessible::NameChanged), 1);

        heard.clear();
        RunLoop loop(*lab, *form);
        loop.setAfterFrame([this](double now) { app->afterFrame(now); });
        loop.setFrameRate(std::numeric_limits<double>::infinity());
        area().setFocus();
        QElapsedTimer held;
        held.start();
        for (int press = 0; press < 34; ++press) { // a held arrow key
            QTest::keyClick(&area(), Qt::Key_Left);
            QVERIFY(loop.turn());
        }
        const double seconds = static_cast<double>(held.elapsed()) / 1000;
        QVERIFY2(count(QAccessible::NameChanged) <= 1 + static_cast<int>(seconds / 1.5),
                 qPrintable(QString::number(count(QAccessible::NameChanged))));
        const auto rest = [this] { return QString::fromStdString(Announcer::summary(*lab)); };
        QElapsedTimer waited;
        waited.start();
        while (area().accessibleName() != rest() && waited.elapsed() < 20000) {
            QVERIFY(loop.turn());
        }
        QCOMPARE(area().accessibleName(), rest());
        QVERIFY2(area().accessibleName().contains("target at x -60.0, y 20.0"),
                 qPrintable(area().accessibleName()));
        stopListening();
    }

    void explanationProseFitsTheBoxLineByLine() {
        // Only the fixed equation and legend lines (those with "=") may wrap; every prose
        // line is short enough to show whole in the box.
        QPlainTextEdit* box = form->explanationBox();
        const QFontMetrics metrics(box->font());
        const int width =
            box->viewport()->width() - 2 * static_cast<int>(box->document()->documentMargin());
        for (const ServoScheme& scheme : servoSchemes()) {
            for (const QString& line :
                 QString::fromStdString(explanationOf(scheme)).split("\r\n")) {
                if (!line.contains('=')) {
                    QVERIFY2(metrics.horizontalAdvance(line) <= width,
                             qPrintable(QString("wraps: \"%1\"").arg(line)));
                }
            }
        }
    }

    void menuBarHoldsTheFourItemsInOrderThenTheLab() {
        QStringList captions;
        for (QAction* action : form->menuBar()->actions()) {
            captions << action->text().remove('&');
        }
        QCOMPARE(captions, (QStringList{"Run", "Panic/Stop", "Grid", "About", "Lab"}));
    }

    // With its settings at their defaults the lab changes nothing in the window, open or
    // closed: the same picture and controls as a window whose lab was never touched, pixel for
    // pixel.
    void theLabAtItsDefaultsLeavesTheWindowAsItIs() {
        DesktopSimulator untouched;
        untouched.form.startUp();
        app->labMenu.panelAction()->trigger(); // opened and closed again
        app->labMenu.panelAction()->trigger();
        QVERIFY(!app->labPanel.isVisible());
        for (Form1* window : {form, &untouched.form}) {
            window->setWindowState(Qt::WindowNoState);
            window->resize(800, 600);
        }
        QVERIFY(QTest::qWaitForWindowExposed(&untouched.form));
        QTest::qWait(20);
        for (int frame = 0; frame < 40; ++frame) {
            lab->frame(1.0 / 60);
            untouched.lab.frame(1.0 / 60);
            form->presentFrame();
            untouched.form.presentFrame();
        }
        QCOMPARE(canvas->image(), untouched.canvas.image());
        QCOMPARE(form->clientArea()->grab().toImage(),
                 untouched.form.clientArea()->grab().toImage());
    }

    // The layout follows no font's metrics: under a far taller default font (the lesson status
    // at the menu bar's corner, hidden outside a lesson, takes it) the window opens at its own
    // size, with the menu bar and the picture under it where they always are.
    void theLayoutFollowsNoFont() {
        const QFont usual = QApplication::font();
        QFont tall = usual;
        tall.setPointSizeF(30);
        QApplication::setFont(tall);
        const auto restore = qScopeGuard([&usual] { QApplication::setFont(usual); });
        DesktopSimulator window;
        QCOMPARE(window.form.size(), QSize(614, 525 + 18));
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        const auto pictureInWindow = [&window] {
            const QWidget& picture = window.form.drawingArea();
            return QRect(picture.mapTo(&window.form, QPoint(0, 0)), picture.size());
        };
        SERVO_TRY_COMPARE(pictureInWindow(), QRect(0, 18, 614, 525));
        QCOMPARE(window.form.menuBar()->height(), 18);
    }

    // The lab's keys work wherever the focus is, text boxes and the scroll bar included.
    void labKeysWorkWhateverHasTheFocus() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        LabPanel& panel = app->labPanel;
        double gain = 1;
        for (QWidget* focus : {static_cast<QWidget*>(form->explanationBox()),
                               static_cast<QWidget*>(form->wristLabel()),
                               static_cast<QWidget*>(form->wristScrollBar()),
                               static_cast<QWidget*>(form->checkBox(CheckBox::Check2)),
                               static_cast<QWidget*>(form->closeButton())}) {
            focus->setFocus();
            const int scroll = form->wristScrollPosition();
            QTest::keyClick(focus, Qt::Key_Up, Qt::ControlModifier);
            gain += 0.1;
            QCOMPARE(state->gain, gain);
            QCOMPARE(form->wristScrollPosition(), scroll);
            QTest::keyClick(focus, Qt::Key_1, Qt::ControlModifier);
            QCOMPARE(app->labMenu.cueActions()[0]->isChecked(), lab->settings().cues.targetMarker);
            QTest::keyClick(focus, Qt::Key_BracketLeft, Qt::ControlModifier);
        }
        QCOMPARE(lab->settings().speed, NormalSpeed - 5);
        QVERIFY(lab->settings().cues.targetMarker); // toggled five times
        QTest::keyClick(form->explanationBox(), Qt::Key_F6);
        QCOMPARE(state->stepPending, 1);
        QTest::keyClick(form->explanationBox(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(panel.isVisible());
        // Open, the panel leaves the control column its whole height.
        form->setWindowState(Qt::WindowNoState);
        form->resize(640, 480);
        QTest::qWait(50);
        QVERIFY(area().height() >= form->columnExtent().height());
        QTest::keyClick(form->explanationBox(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(state->gain, 1.0);
        QCOMPARE(lab->settings().speed, NormalSpeed);
    }

    void resizeKeepsThePathPicture() {
        form->setWindowState(Qt::WindowNoState);
        form->resize(700, 500);
        QTest::qWait(20);
        cycle();
        QTest::mouseClick(form->pathButton(), Qt::LeftButton);
        const int before = countPixels(qRgb(255, 255, 255));
        QVERIFY(before > 50);
        form->resize(900, 650);
        QTest::qWait(20);
        QVERIFY(countPixels(qRgb(255, 255, 255)) > before / 2);
        // Down to nothing and back: no crash, drawing resumes.
        area().resize(0, 0);
        cycle();
        area().resize(400, 300);
        cycle();
        QVERIFY(countPixels(qRgb(255, 255, 255)) > 0);
    }

    void aboutBoxFreezesTheRunLoop() {
        RunLoop loop(*lab, *form);
        notices.reset(); // dismissed by hand below, after a while
        long long passesWhenOpened = -1;
        long long passesWhenClosed = -2;
        QTimer watcher;
        QElapsedTimer openFor;
        watcher.setInterval(5);
        connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            if (passesWhenOpened < 0) {
                passesWhenOpened = loop.passes();
                openFor.start();
            } else if (openFor.elapsed() > 150) {
                passesWhenClosed = loop.passes();
                box->done(QMessageBox::Ok);
                QTimer::singleShot(100, form, &QWidget::close);
            }
        });
        watcher.start();
        QTimer::singleShot(100, form->aboutAction(), &QAction::trigger);
        loop.run();
        QCOMPARE(state->runState, RunEnd);
        QVERIFY(passesWhenOpened > 0);
        QCOMPARE(passesWhenClosed, passesWhenOpened);
        QVERIFY(loop.passes() > passesWhenClosed);
    }

    void closingEndsTheRunLoopInEveryState_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("running") << "running";
        QTest::newRow("stopped") << "stopped";
        QTest::newRow("dragging") << "dragging";
        QTest::newRow("inside the grid's yield") << "grid";
        QTest::newRow("path shown") << "path";
        QTest::newRow("about open") << "about";
        QTest::newRow("about just closed") << "about closed";
    }

    // Closes the window the way its user can in each situation, and checks that the situation
    // was really reached, that the run loop ends and that no pass runs after the close.
    void closingEndsTheRunLoopInEveryState() {
        QFETCH(QString, situation);
        // The grid's yield hands the window its events from inside a cycle: this yield posts a
        // close there, so that the close is handled inside the yield.
        int yields = 0;
        int closedInYield = 0;
        Simulation gridSimulation(*state, *canvas, form->controls());
        gridSimulation.setYield([&] {
            if (++yields == 3) {
                QMetaObject::invokeMethod(form, &QWidget::close, Qt::QueuedConnection);
            }
            const bool wasOpen = form->isVisible();
            form->yieldToEvents();
            closedInYield += wasOpen && !form->isVisible() ? 1 : 0;
        });
        Lab gridLab(gridSimulation);
        RunLoop loop(situation == "grid" ? gridLab : *lab, *form);

        long long passesAtClose = -1;
        bool reached = false;
        auto closeWindow = [&] { // as the window manager's close does
            passesAtClose = loop.passes();
            form->close();
        };
        if (situation == "stopped") {
            stopClicked(*state);
            QTimer::singleShot(150, form, [&] {
                reached = state->runState == RunStopped;
                closeWindow();
            });
        } else if (situation == "dragging") {
            sendMouse(QEvent::MouseButtonPress, at(400, 60), Qt::LeftButton, Qt::LeftButton);
            QTimer::singleShot(150, form, [&] {
                reached = state->pointerHeld == 1;
                closeWindow();
            });
        } else if (situation == "path") {
            QTest::mouseClick(form->pathButton(), Qt::LeftButton);
            QTimer::singleShot(150, form, [&] {
                reached = state->clearEachCycle == 0;
                closeWindow();
            });
        } else if (situation == "grid") {
            form->gridAction()->trigger();
            reached = true; // checked below: the close came inside a yield
        } else if (situation == "about") {
            // While the box is modal the window manager's close of the window is refused, so
            // its user dismisses the box with Esc, then closes the window.
            notices.reset();
            QTimer::singleShot(50, form->aboutAction(), &QAction::trigger);
            QTimer::singleShot(200, form, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                reached = box != nullptr && box->windowTitle() == "ABOUT";
                if (box != nullptr) {
                    QTest::keyClick(box, Qt::Key_Escape);
                }
                QTimer::singleShot(50, form, closeWindow);
            });
        } else if (situation == "about closed") {
            QTimer::singleShot(50, form->aboutAction(), &QAction::trigger); // dismissed at once
            QTimer::singleShot(150, form, [&] {
                reached = notices->titles.contains("ABOUT");
                closeWindow();
            });
        } else {
            QTimer::singleShot(150, form, [&] {
                reached = state->runState == RunRunning;
                closeWindow();
            });
        }
        loop.run();
        QVERIFY2(reached, "the situation was not reached before the close");
        QCOMPARE(state->runState, RunEnd);
        if (situation == "grid") {
            QCOMPARE(closedInYield, 1);
        } else {
            QVERIFY(passesAtClose >= 0);
            QCOMPARE(loop.passes(), passesAtClose); // no pass after the close
        }
        QVERIFY(!form->isVisible());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void runLoopPacesOneCyclePerFrame() {
        RunLoop loop(*lab, *form);
        loop.setFrameRate(50);
        // Closed once 10 passes have run (or after a minute, and then the count says so): a
        // paced loop cannot run them in less than about 9 frame periods, however idle the
        // machine; a busy one only takes longer.
        QTimer watch;
        QElapsedTimer clock;
        connect(&watch, &QTimer::timeout, form, [&] {
            if (loop.passes() >= 10 || clock.elapsed() > 60000) {
                form->close();
            }
        });
        watch.start(1);
        clock.start();
        loop.run();
        QVERIFY2(loop.passes() >= 10, qPrintable(QString::number(loop.passes())));
        const double periods = static_cast<double>(clock.elapsed()) / 20.0;
        QVERIFY2(static_cast<double>(loop.passes()) <= periods + 3,
                 qPrintable(QString("%1 passes in %2 ms").arg(loop.passes()).arg(clock.elapsed())));
    }
};

} // namespace servo::testing

int main(int argc, char* argv[]) {
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);
    servo::testing::ModalWatchdog watchdog;
    servo::testing::Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Form1Test.moc"
