#include "ModalDismisser.h"
#include "QuietPlatform.h"

#include "core/commands/Commands.h"
#include "desktop/DesktopSimulator.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace servo::testing {

// The window's editor of the student's law: F4's item opens it; Apply runs what is typed; an
// error shows its line; Esc leaves the text; a law from outside (an experiment) replaces the
// text, and Apply does not.
class LawEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;
    std::unique_ptr<ModalDismisser> boxes;
    long frames_ = 0;

    void frame() {
        app->lab.frame(1.0 / 60);
        app->form.presentFrame();
        app->afterFrame(static_cast<double>(++frames_) / 60);
    }
    LawEditor& editor() { return app->lawEditor; }
    void apply(const QString& source) {
        editor().source()->setPlainText(source);
        editor().applyButton()->click();
        frame();
    }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }
    void init() {
        frames_ = 0;
        app = std::make_unique<DesktopSimulator>();
        boxes = std::make_unique<ModalDismisser>();
        app->form.startUp();
        app->labMenu.action(Command::LawEditor)->trigger();
        frame();
    }
    void cleanup() {
        boxes.reset();
        app.reset();
    }

    void appliesWhatIsTypedAndShowsAnErrorsLine() {
        QVERIFY(editor().isVisible());
        QCOMPARE(app->lesson.submit("scheme own"), std::string());
        apply("function law(s)\n  return vec(0, 0.01, 0)\nend\n");
        const double before = app->state.elbowAngle;
        frame();
        QVERIFY(app->state.elbowAngle > before);
        apply("function law(s)\n  return nosuch.x\nend\n");
        frame();
        QVERIFY2(editor().status()->text().contains("line 2"),
                 qPrintable(editor().status()->text()));
        QVERIFY(editor().source()->toPlainText().contains("nosuch")); // the student's text stays
    }

    void escapeLeavesTheTextForApply() {
        editor().activateWindow();
        editor().source()->setFocus();
        QTest::keyClick(editor().source(), Qt::Key_Escape);
        QCOMPARE(editor().focusWidget(), editor().applyButton());
    }

    void aLawFromOutsideReplacesTheText() {
        editor().source()->setPlainText("-- being typed");
        QCOMPARE(app->lesson.submit("own-law function%20law(s)%20return%20vec(0,0,0)%20end"),
                 std::string());
        frame();
        QCOMPARE(editor().source()->toPlainText(),
                 QString("function law(s) return vec(0,0,0) end"));
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::LawEditorTest)
#include "LawEditorTest.moc"
