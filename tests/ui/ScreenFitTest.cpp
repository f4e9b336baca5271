// The window on a 1366 by 768 screen (a school laptop on a projector), maximised, with the lab
// panel open in projector mode and after it: the window stays on the screen, every control of
// the lab panel and of the column lies whole inside the screen and inside its own part (the
// panel, the picture), and the plot keeps its height.
//
// The screen is the offscreen platform's, given its size by a configuration file that main
// writes before the application starts.

#include "QuietPlatform.h"
#include "QuietStartUp.h"

#include "core/commands/Commands.h"
#include "core/lab/Lab.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/Form1.h"
#include "desktop/LabMenu.h"
#include "desktop/LabPanel.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace servo::testing {

namespace {

constexpr QSize ScreenSize(1366, 768);

// What is wrong with the window's fit, or nothing: each visible control of `part` whole inside
// `part` and inside the screen's available area.
QString misfits(const QWidget& part, const QRect& screen) {
    QString wrong;
    const QRect partRect(part.mapToGlobal(QPoint(0, 0)), part.size());
    for (QWidget* control : part.findChildren<QWidget*>()) {
        const bool isControl = qobject_cast<QAbstractButton*>(control) != nullptr ||
                               qobject_cast<QComboBox*>(control) != nullptr ||
                               qobject_cast<QAbstractSpinBox*>(control) != nullptr ||
                               qobject_cast<QAbstractSlider*>(control) != nullptr ||
                               qobject_cast<QLabel*>(control) != nullptr;
        if (!isControl || !control->isVisibleTo(part.window()) ||
            control->parentWidget()->inherits("QAbstractSpinBox") ||
            control->parentWidget()->inherits("QComboBox")) {
            continue;
        }
        const QRect rect(control->mapToGlobal(QPoint(0, 0)), control->size());
        if (!partRect.contains(rect) || !screen.contains(rect)) {
            wrong += QString(" %1 '%2' at %3,%4 %5x%6;")
                         .arg(control->metaObject()->className(), control->accessibleName())
                         .arg(rect.x())
                         .arg(rect.y())
                         .arg(rect.width())
                         .arg(rect.height());
        }
    }
    return wrong;
}

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;

    QRect screen() const { return app->form.screen()->availableGeometry(); }
    void toggle(Command command) { app->labMenu.action(command)->trigger(); }

    // Everything the class must see at once: the window on the screen, the lab's controls and
    // plot, and the column of controls over the picture.
    QString whatDoesNotFit() const {
        QString wrong;
        Form1& form = app->form;
        if (!screen().contains(form.frameGeometry())) {
            wrong += QString(" the window at %1,%2 %3x%4;")
                         .arg(form.frameGeometry().x())
                         .arg(form.frameGeometry().y())
                         .arg(form.frameGeometry().width())
                         .arg(form.frameGeometry().height());
        }
        LabPanel& panel = app->labPanel;
        if (panel.isVisible()) {
            wrong += misfits(*panel.widget(), screen());
            if (panel.plot()->height() < panel.plot()->minimumHeight()) {
                wrong += QString(" the plot %1 high;").arg(panel.plot()->height());
            }
        }
        wrong += misfits(*form.clientArea(), screen());
        return wrong;
    }

private slots:
    void initTestCase() {
        dropOffscreenPlatformNoise();
        QCOMPARE(QGuiApplication::primaryScreen()->size(), ScreenSize);
    }

    void init() {
        app = std::make_unique<DesktopSimulator>();
        quietStartUp(app->state, app->form);
        app->form.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&app->form));
        QTRY_COMPARE(app->form.frameGeometry().width(), screen().width());
    }
    void cleanup() { app.reset(); }

    void projectorModeWithTheLabFitsTheScreen() {
        toggle(Command::LabPanel);
        toggle(Command::Projector);
        QVERIFY(app->lab.settings().projector);
        QTRY_VERIFY(app->labPanel.isVisible());
        QTRY_COMPARE(whatDoesNotFit(), QString());

        toggle(Command::Projector); // leaving projector mode
        QTRY_COMPARE(whatDoesNotFit(), QString());

        toggle(Command::Projector); // and the lab closed and opened again in it
        toggle(Command::LabPanel);
        QTRY_VERIFY(!app->labPanel.isVisible());
        QTRY_COMPARE(whatDoesNotFit(), QString());
        toggle(Command::LabPanel);
        QTRY_VERIFY(app->labPanel.isVisible());
        QTRY_COMPARE(whatDoesNotFit(), QString());
    }

    // A window not maximised (no window manager), low on the screen, grown by the panel in
    // projector mode: it moves up onto the screen.
    void aWindowNotMaximisedStaysOnTheScreen() {
        app->form.showNormal();
        app->form.setGeometry(80, 150, 614, 525);
        QTRY_COMPARE(app->form.geometry(), QRect(80, 150, 614, 525));
        toggle(Command::Projector);
        toggle(Command::LabPanel);
        QTRY_VERIFY(app->labPanel.isVisible());
        QTRY_COMPARE(whatDoesNotFit(), QString());
    }
};

} // namespace servo::testing

int main(int argc, char* argv[]) {
    // The offscreen platform with one screen of the laptop's size.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write(QString(R"({"windowFrameMargins": true, "screens": [{"name": "laptop",)"
                       R"( "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": 96,)"
                       R"( "logicalBaseDpi": 96, "dpr": 1}]})")
                   .arg(servo::testing::ScreenSize.width())
                   .arg(servo::testing::ScreenSize.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);
    servo::testing::ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
