// A seeded monkey on the real window: random pointer, key, control, menu (About included),
// resize and minimise events interleaved with turns of the program's run loop, unpaced; at the
// end the window is closed. Nothing may crash, every value must stay finite, the figure must
// stay rigid and on its joints, every message box must have been one the monkey opened, and
// no pass may run after the close.
//
// SERVO_MONKEY_SEED sets the seed (printed either way), SERVO_MONKEY_EVENTS the number of
// events (default 100,000).

#include "ModalDismisser.h"
#include "ModalWatchdog.h"
#include "QuietPlatform.h"

#include "FigureChecks.h"
#include "core/lab/Lab.h"
#include "core/simulation/Handlers.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"
#include "desktop/PersistentCanvas.h"
#include "desktop/RunLoop.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <limits>
#include <random>

namespace servo::testing {

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }

    void randomEventsLeaveTheSimulationSound() {
        const qulonglong seed = qEnvironmentVariableIsSet("SERVO_MONKEY_SEED")
                                    ? qEnvironmentVariable("SERVO_MONKEY_SEED").toULongLong()
                                    : std::random_device{}();
        const long events = qEnvironmentVariableIsSet("SERVO_MONKEY_EVENTS")
                                ? qEnvironmentVariable("SERVO_MONKEY_EVENTS").toLong()
                                : 100000;
        std::printf("monkey: seed %llu, %ld events (SERVO_MONKEY_SEED=%llu reproduces it)\n", seed,
                    events, seed);
        std::fflush(stdout);
        std::mt19937_64 random(seed);
        auto pick = [&random](int count) {
            return static_cast<int>(random() % static_cast<unsigned>(count));
        };
        auto uniform = [&random](double low, double high) {
            return std::uniform_real_distribution<double>(low, high)(random);
        };

        DesktopSimulator simulator;
        SimulationState& state = simulator.state;
        Form1& form = simulator.form;
        Lab& lab = simulator.lab;
        ModalDismisser notices;
        form.startUp();
        LabMenu& labMenu = simulator.labMenu;
        RunLoop loop(lab, form);
        loop.setFrameRate(std::numeric_limits<double>::infinity()); // unpaced
        int aboutsOpened = 0;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        DrawingArea& area = form.drawingArea();

        const QList<QWidget*> controls{form.checkBox(CheckBox::Check1),
                                       form.checkBox(CheckBox::Check2),
                                       form.checkBox(CheckBox::Check3),
                                       form.checkBox(CheckBox::Check4),
                                       form.checkBox(CheckBox::Check5),
                                       form.checkBox(CheckBox::Check6),
                                       form.checkBox(CheckBox::Check7),
                                       form.openButton(),
                                       form.closeButton(),
                                       form.pathButton(),
                                       form.wristScrollBar(),
                                       form.explanationBox(),
                                       form.wristLabel(),
                                       form.servoHeading()};
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        Qt::MouseButtons held;

        auto send = [&](QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button) {
            QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        };
        auto somewhere = [&]() -> QPointF {
            if (pick(10) == 0) { // far outside the window
                return {uniform(-1e6, 1e6), uniform(-1e6, 1e6)};
            }
            return {uniform(-50, area.width() + 50), uniform(-50, area.height() + 50)};
        };

        for (long i = 0; i < events; ++i) {
            switch (pick(17)) {
            case 0: { // press on the surface
                const Qt::MouseButton button = buttons[pick(3)];
                held |= button;
                send(&area, QEvent::MouseButtonPress, somewhere(), button);
                break;
            }
            case 1:
            case 2: // move, with or without a held button
                send(&area, QEvent::MouseMove, somewhere(), Qt::NoButton);
                break;
            case 3: { // release
                const Qt::MouseButton button = buttons[pick(3)];
                held &= ~button;
                send(&area, QEvent::MouseButtonRelease, somewhere(), button);
                break;
            }
            case 4: { // any button on any control
                QWidget* control = controls[pick(static_cast<int>(controls.size()))];
                if (control->isVisible()) {
                    const QPoint at(pick(std::max(control->width(), 1)),
                                    pick(std::max(control->height(), 1)));
                    QTest::mouseClick(control, buttons[pick(3)], {}, at);
                }
                break;
            }
            case 5:
                form.checkBox(static_cast<CheckBox>(pick(7) + 1))->toggle();
                break;
            case 6:
                QTest::mouseClick(pick(2) == 0 ? form.openButton() : form.closeButton(),
                                  Qt::LeftButton);
                break;
            case 7:
                form.pathButton()->click();
                break;
            case 8: {
                QAction* actions[] = {form.runAction(), form.stopAction(), form.gridAction(),
                                      form.aboutAction()};
                QAction* action = actions[pick(pick(100) == 0 ? 4 : 3)];
                aboutsOpened += action == form.aboutAction() ? 1 : 0;
                action->trigger(); // About returns once the dismisser has closed its box
                break;
            }
            case 9:
                form.wristScrollBar()->setValue(pick(32768));
                break;
            case 10: {
                QWidget* boxes[] = {form.explanationBox(), form.wristLabel(), form.servoHeading()};
                const Qt::Key keys[] = {Qt::Key_A,        Qt::Key_Backspace, Qt::Key_Delete,
                                        Qt::Key_Return,   Qt::Key_Space,     Qt::Key_Z,
                                        Qt::Key_PageDown, Qt::Key_End};
                QTest::keyClick(boxes[pick(3)], keys[pick(8)]);
                break;
            }
            case 11:
                if (pick(20) == 0) { // resizes, down to nothing
                    if (pick(3) == 0) {
                        area.resize(pick(3) == 0 ? 0 : pick(400), pick(3) == 0 ? 0 : pick(300));
                    } else {
                        form.setWindowState(Qt::WindowNoState);
                        form.resize(pick(1600), pick(1200));
                    }
                }
                break;
            case 13: { // the lab, its panel open or closed
                QList<QAction*> actions{labMenu.panelAction(),     labMenu.slowerAction(),
                                        labMenu.fasterAction(),    labMenu.stepAction(),
                                        labMenu.gainUpAction(),    labMenu.gainDownAction(),
                                        labMenu.projectorAction(), labMenu.resetAction()};
                actions << labMenu.cueActions();
                QAction* action = actions[pick(static_cast<int>(actions.size()))];
                if (action == labMenu.projectorAction() && pick(20) != 0) {
                    break; // rescaling the window is slow: now and then only
                }
                action->trigger();
                if (action == labMenu.gainUpAction() && pick(4) == 0) {
                    gainChanged(state, uniform(0, MaxGain)); // diverging gains too
                }
                break;
            }
            case 12:
                if (pick(50) == 0) {
                    if (form.isMinimized()) {
                        form.showNormal();
                    } else {
                        form.showMinimized();
                    }
                }
                break;
            default: // a turn of the run loop: events, present, the pass
                QVERIFY(loop.turn());
                break;
            }
        }
        const long long passesBeforeClose = loop.passes();
        form.close();
        QVERIFY(!loop.turn());
        QCOMPARE(loop.passes(), passesBeforeClose);
        QCOMPARE(state.runState, RunEnd);
        // The start-up notice, then one About box for each About chosen.
        QCOMPARE(notices.titles.size(), 1 + aboutsOpened);
        QCOMPARE(notices.titles.count("ABOUT"), aboutsOpened);
        std::printf("monkey: %d About boxes, %lld passes\n", aboutsOpened, passesBeforeClose);
        QVERIFY2(allFinite(state), "a value stopped being finite");
        const double drift = worstRigidityDrift(state);
        std::printf("monkey: worst rigidity drift %.3g arm units\n", drift);
        QVERIFY2(drift <= 1e-6, qPrintable(QString::number(drift)));
        const double jointDrift = worstJointDrift(state);
        QVERIFY2(
            jointDrift <= jointDriftAllowance(state),
            qPrintable(QString("%1 (allowed %2)").arg(jointDrift).arg(jointDriftAllowance(state))));
    }
};

} // namespace servo::testing

int main(int argc, char* argv[]) {
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);
    servo::testing::ModalWatchdog watchdog;
    servo::testing::MonkeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MonkeyTest.moc"
