#include "ModalDismisser.h"
#include "QuietPlatform.h"

#include "core/commands/Commands.h"
#include "core/lesson/ChallengeView.h"
#include "desktop/DesktopSimulator.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace servo::testing {

// The window's Challenges dialog: F3's item lists the built-in challenges; Start attempts the
// first, recorded; Show Hint shows one; a decided challenge shows its verdict; Hand In writes
// the recording the trace driver checks and its summary (a cancelled save loses nothing); a
// challenge file opened as an experiment is attempted and shown.
class ChallengesDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;
    std::unique_ptr<ModalDismisser> boxes;
    std::unique_ptr<QTemporaryDir> folder;
    QString answer; // what the file dialog answers
    QStringList suggested;
    long frames_ = 0;

    ChallengesDialog& dialog() { return app->challenges; }
    void frame() {
        app->lab.frame(1.0 / 60);
        app->form.presentFrame();
        app->afterFrame(static_cast<double>(++frames_) / 60);
    }
    // Runs frames until `done` holds, for at most a minute of the simulation's time.
    template <typename Condition> bool framesUntil(Condition done) {
        for (int i = 0; i < 3600 && !done(); ++i) {
            frame();
        }
        return done();
    }
    void start() {
        dialog().choices()->setCurrentRow(0);
        dialog().startButton()->click();
        frame();
    }
    // The first challenge's solution: the target moved into reach while stopped, then Run.
    void solve() {
        for (const char* line : {"press 350 50", "release", "run"}) {
            QCOMPARE(app->lesson.submit(line), std::string());
        }
        QVERIFY(framesUntil([this] { return dialog().verdictLabel()->text().contains("met"); }));
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }
    void init() {
        frames_ = 0;
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        app = std::make_unique<DesktopSimulator>();
        boxes = std::make_unique<ModalDismisser>();
        app->form.startUp();
        suggested.clear();
        app->files.setChooser([this](const LessonFiles::Question& question) {
            suggested << question.suggestedName;
            return answer;
        });
        app->labMenu.action(Command::Challenges)->trigger();
        frame();
        boxes->texts.clear(); // the start-up notice
    }
    void cleanup() {
        boxes.reset();
        app.reset();
        folder.reset();
    }

    void listsTheBuiltInChallengesWithOnlyStart() {
        QVERIFY(dialog().isVisible());
        const std::vector<ChallengeChoice> choices = challengeChoices();
        QCOMPARE(dialog().choices()->count(), static_cast<int>(choices.size()));
        QCOMPARE(dialog().choices()->item(0)->text(), QString::fromStdString(choices[0].title));
        QVERIFY(dialog().startButton()->isEnabled());
        for (QPushButton* button : {dialog().startAgainButton(), dialog().hintButton(),
                                    dialog().handInButton(), dialog().endButton()}) {
            QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
        }
    }

    void escapeClosesItAndItsItemOpensItAgain() {
        QTest::keyClick(dialog().choices(), Qt::Key_Escape);
        QVERIFY(!dialog().isVisible());
        app->labMenu.action(Command::Challenges)->trigger();
        QVERIFY(dialog().isVisible());
    }

    void startAttemptsTheFirstAndShowsAHint() {
        start();
        QVERIFY(app->lesson.attempt() != nullptr);
        QCOMPARE(app->lesson.challengeName(), challengeChoices()[0].name);
        QVERIFY(app->lesson.recording());
        QCOMPARE(dialog().titleLabel()->text(),
                 QString::fromStdString(challengeChoices()[0].title));
        QVERIFY(!dialog().goalLabels().empty());
        QVERIFY(dialog().hintsLabel()->isHidden());
        dialog().hintButton()->click();
        frame();
        QVERIFY(dialog().hintsLabel()->text().startsWith("1. "));
        QVERIFY(dialog().hintsLabel()->isVisibleTo(&dialog()));
        dialog().endButton()->click();
        frame();
        QVERIFY(app->lesson.attempt() == nullptr);
        QVERIFY(!dialog().hintButton()->isEnabled());
    }

    void aDecidedChallengeShowsItsVerdictAndMarks() {
        start();
        QVERIFY(dialog().verdictLabel()->text().contains("pending"));
        solve();
        QVERIFY2(dialog().verdictLabel()->text().startsWith("Challenge met at cycle"),
                 qPrintable(dialog().verdictLabel()->text()));
        for (const QLabel* goal : dialog().goalLabels()) {
            QVERIFY2(goal->text().startsWith(QString::fromUtf8("\u2713")),
                     qPrintable(goal->text()));
        }
    }

    // The save dialog cancelled first: the attempt waits for the next Hand In..., which writes
    // the recording (checked by the trace driver) and the summary beside it.
    void handsInTheRecordingAndItsSummary() {
        start();
        solve();
        answer.clear();
        dialog().handInButton()->click();
        QVERIFY(!app->lesson.recording());
        QVERIFY(dialog().handInWaiting());
        frame();
        QVERIFY(dialog().handInButton()->isEnabled());
        answer = folder->filePath("mine.servo-trace");
        dialog().handInButton()->click();
        QCOMPARE(suggested.last(), QString("reverse-settle-attempt.servo-trace"));
        QCOMPARE(dialog().status()->text(), QString("Handed in: mine.servo-trace and mine.txt."));
        QVERIFY(!dialog().handInWaiting());
        const QByteArray summary = contents(folder->filePath("mine.txt"));
        QVERIFY2(summary.contains(challengeChoices()[0].title.c_str()), summary.constData());
        QProcess trace;
        trace.setStandardInputFile(answer);
        trace.start(SERVO_TRACE, {"--check", "reverse-settle"});
        QVERIFY(trace.waitForFinished(60000));
        QVERIFY2(trace.exitCode() == 0, trace.readAllStandardOutput().constData());
        QVERIFY2(boxes->texts.isEmpty(), qPrintable(boxes->texts.join('\n')));
        dialog().handInButton()->click(); // nothing recorded any more: refused, and said why
        QVERIFY(!dialog().status()->text().startsWith("Handed in"));
        QVERIFY(!dialog().status()->text().isEmpty());
    }

    void opensAChallengeFileAsAnExperiment() {
        dialog().hide();
        const QString path = folder->filePath("mine.servo");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("servo-challenge 1\ntitle=Mine\ntask=Reach it.\ngoal=reach 5 by 600 stay 10\n"
                   "scheme=reverse\ntarget=350,50\n");
        file.close();
        QVERIFY(app->files.openExperimentFile(path));
        frame();
        QVERIFY(app->lesson.attempt() != nullptr);
        QVERIFY(app->lesson.recording());
        QVERIFY(dialog().isVisible());
        QCOMPARE(dialog().titleLabel()->text(), QString("Mine"));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("servo-challenge 1\ntitle=Bad\ngoal=win\n");
        file.close();
        QVERIFY(!app->files.openExperimentFile(path));
        QVERIFY2(boxes->texts.size() == 1, qPrintable(boxes->texts.join('\n')));
        QVERIFY2(boxes->texts[0].contains("line 3: goal:"), qPrintable(boxes->texts[0]));
        frame();
        QCOMPARE(dialog().titleLabel()->text(), QString("Mine")); // the attempt goes on
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::ChallengesDialogTest)
#include "ChallengesDialogTest.moc"
