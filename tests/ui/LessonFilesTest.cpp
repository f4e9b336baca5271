#include "ModalDismisser.h"
#include "QuietPlatform.h"
#include "TryCompare.h"

#include "core/lesson/Experiment.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"
#include "desktop/LessonFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>

namespace servo::testing {

// The Lab menu's file items in the window: experiments saved and opened, the plot's data and
// the picture exported, a failed write, and a lesson recorded, replayed and traced.
class LessonFilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;
    std::unique_ptr<ModalDismisser> boxes;
    std::unique_ptr<QTemporaryDir> folder; // a new one for each test
    QString answer;                        // what the file dialog answers
    QStringList asked;
    long frames_ = 0; // frames shown, for the view's clock

    LabPanel& panel() { return app->labPanel; }
    void trigger(Command command) { app->labMenu.action(command)->trigger(); }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            app->lab.frame(1.0 / 60);
            app->form.presentFrame();
            app->afterFrame(static_cast<double>(++frames_) / 60);
        }
    }
    QString path(const char* name) const { return folder->filePath(name); }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The state and points as the trace driver prints them.
    std::string traced() const {
        const SimulationState& s = app->state;
        char line[512];
        std::snprintf(line, sizeof line,
                      "state shoulderAngle=%.17g elbowAngle=%.17g wristAngle=%.17g objectHeld=%d "
                      "servoType=%d elbowPair=%d elbowChoice=%d clearEachCycle=%d gridOn=%d "
                      "runState=%d\n",
                      s.shoulderAngle, s.elbowAngle, s.wristAngle, s.objectHeld, s.servoType,
                      s.elbowPair, s.elbowChoice, s.clearEachCycle, s.gridOn, s.runState);
        std::string text = line;
        for (int i = 1; i <= s.pointCount; ++i) {
            std::snprintf(line, sizeof line, "point %d %.17g %.17g\n", i, s.pointX[i], s.pointY[i]);
            text += line;
        }
        return text;
    }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }

    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        app = std::make_unique<DesktopSimulator>();
        boxes = std::make_unique<ModalDismisser>();
        app->form.startUp();
        boxes->titles.clear();
        boxes->texts.clear();
        app->files.setChooser([this](const LessonFiles::Question& question) {
            asked << question.title;
            return answer;
        });
    }

    void cleanup() {
        boxes.reset();
        app.reset();
    }

    void savesAnExperimentAndOpensItAgain() {
        app->lesson.submit("scheme xy");
        app->lesson.submit("enter-gain 7.5");
        trigger(Command::LabPanel);
        answer = path("class");
        trigger(Command::SaveExperiment);
        const QByteArray saved = contents(path("class.servo")); // the suffix is added
        QVERIFY2(saved.startsWith("servo-experiment 1\nscheme=xy\n"), saved.constData());
        QVERIFY(saved.contains("\ngain=7.5\n"));
        QVERIFY(saved.contains("\nlab=1\n"));

        trigger(Command::Reset);
        trigger(Command::LabPanel);
        QCOMPARE(app->state.servoType, ServoReverseKinematic);
        answer = path("class.servo");
        trigger(Command::OpenExperiment);
        QCOMPARE(app->state.servoType, ServoForwardXY);
        QCOMPARE(app->state.gain, 7.5);
        QVERIFY(app->form.checkBox(CheckBox::Check2)->isChecked());
        QVERIFY(panel().isVisible());
        QCOMPARE(asked, QStringList({"Save Experiment", "Open Experiment"}));
        QVERIFY(boxes->titles.isEmpty());
    }

    // After an experiment is opened the keyboard focus is on the control of its scheme: the
    // servo box, or for a lab scheme the panel's scheme box, or the picture with the panel
    // closed; never on a box whose scheme is not in force.
    void theFocusGoesToTheSchemeInForce_data() {
        QTest::addColumn<QByteArray>("experiment");
        QTest::addColumn<QString>("focused");
        QTest::newRow("x,y box") << QByteArray("scheme=xy\n") << "Check2";
        QTest::newRow("R,theta box") << QByteArray("scheme=rtheta\nlab=1\n") << "Check3";
        QTest::newRow("lab scheme, panel open")
            << QByteArray("scheme=damped\nlab=1\n") << "schemeBox";
        QTest::newRow("lab scheme, panel closed") << QByteArray("scheme=transpose\n") << "surface";
    }
    void theFocusGoesToTheSchemeInForce() {
        QFETCH(QByteArray, experiment);
        QFETCH(QString, focused);
        app->form.checkBox(CheckBox::Check1)->setFocus();
        QFile file(path("focus.servo"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("servo-experiment 1\n" + experiment);
        file.close();
        answer = path("focus.servo");
        trigger(Command::OpenExperiment);
        // The window's focus widget: the one that has the focus while the window is active.
        QVERIFY(app->form.focusWidget() != nullptr);
        QCOMPARE(app->form.focusWidget()->objectName(), focused);
    }

    void aBadExperimentIsToldAndChangesNothing() {
        app->lesson.submit("enter-gain 3");
        QFile file(path("bad.servo"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("servo-experiment 1\nscheme=xy\ngain=99\n");
        file.close();
        QVERIFY(!app->files.openExperimentFile(path("bad.servo")));
        QVERIFY(!app->files.openExperimentFile(path("missing.servo")));
        QCOMPARE(app->state.gain, 3.0);
        QCOMPARE(app->state.servoType, ServoReverseKinematic);
        SERVO_TRY_COMPARE(boxes->titles.size(), qsizetype{2});
        QVERIFY2(boxes->texts[0].contains("line 3: gain: '99' is outside 0..20"),
                 qPrintable(boxes->texts[0]));
        QVERIFY(boxes->texts[1].contains("Cannot read"));
    }

    void whatIsNotARegularFileOrTooLargeIsRefusedAtOnce() {
        const QByteArray fifo = QFile::encodeName(path("pipe.servo"));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0); // no writer ever comes
        QFile large(path("large.servo-trace"));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(MaxRecordingBytes + 1));
        large.close();
        QByteArray bytes;
        QCOMPARE(LessonFiles::readWhole(path("pipe.servo"), bytes, MaxExperimentBytes),
                 QString("not a regular file"));
        QCOMPARE(LessonFiles::readWhole(folder->path(), bytes, MaxExperimentBytes),
                 QString("not a regular file"));
        QCOMPARE(LessonFiles::readWhole(path("large.servo-trace"), bytes, MaxRecordingBytes),
                 QString("larger than 16 MB"));
        QVERIFY(!app->files.openExperimentFile(path("pipe.servo")));
        SERVO_TRY_COMPARE(boxes->titles.size(), qsizetype{1});
        QVERIFY2(boxes->texts[0].contains("pipe.servo: not a regular file"),
                 qPrintable(boxes->texts[0]));
        QCOMPARE(app->state.servoType, ServoReverseKinematic);
    }

    void exportsThePlotsDataAndThePicture() {
        frames(5);
        answer = path("data.csv");
        trigger(Command::ExportPlotData);
        const QByteArray csv = contents(answer);
        QVERIFY2(csv.startsWith("step,scheme,target x (window units),"), csv.constData());
        QVERIFY(csv.contains("\r\n1,reverse,350,50,"));
        answer = path("picture.png");
        trigger(Command::ExportPicture);
        const QImage picture(answer);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), app->canvas.image().size());
    }

    // A write that fails half-way keeps the file that was there and leaves no temporary one.
    void aFailedWriteIsToldAndLeavesNothingBehind() {
        QFile old(path("data.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        frames(30);
        answer = path("data.csv");
        // Files may grow to 16 bytes: the export (well over that) fails after it has begun.
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        rlimit small = was;
        small.rlim_cur = 16;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        trigger(Command::ExportPlotData);
        setrlimit(RLIMIT_FSIZE, &was);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(contents(path("data.csv")), QByteArray("old"));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList({"data.csv"}));
        SERVO_TRY_COMPARE(boxes->titles.size(), qsizetype{1});
        QCOMPARE(boxes->titles[0], QString("Export Plot Data"));
        QVERIFY(boxes->texts[0].contains("Nothing was written."));

        // A folder the user cannot write to (root writes anywhere).
        if (geteuid() != 0) {
            QDir(folder->path()).mkdir("locked");
            QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            answer = path("locked/experiment.servo");
            trigger(Command::SaveExperiment);
            SERVO_TRY_COMPARE(boxes->titles.size(), qsizetype{2});
            QVERIFY(QDir(path("locked")).entryList(QDir::Files | QDir::Hidden).isEmpty());
        }
    }

    // A lesson taught with the window's own controls, recorded, played back in the window and
    // given to the trace driver: the replay and the trace end in the same state and points.
    void aRecordingReplaysInTheWindowAsTheTraceDriverRunsIt() {
        trigger(Command::Record);
        QVERIFY(app->lesson.recording());
        frames(3);
        QTest::mouseClick(app->form.checkBox(CheckBox::Check5), Qt::LeftButton);
        app->form.wristScrollBar()->setValue(7000);
        const QPoint target = app->canvas.toLogical(300, 95).toPoint();
        QTest::mousePress(&app->form.drawingArea(), Qt::LeftButton, {}, target);
        frames(20);
        QTest::mouseRelease(&app->form.drawingArea(), Qt::LeftButton, {}, target);
        frames(40);
        QTest::mouseClick(app->form.checkBox(CheckBox::Check3), Qt::LeftButton);
        app->lesson.submit("enter-gain 1.7");
        frames(60);
        answer = path("lesson.servo-trace");
        trigger(Command::Record);
        QVERIFY(!app->lesson.recording());
        const QByteArray script = contents(answer);
        QVERIFY2(script.contains("\nelbow up\n") && script.contains("\nservo 3\n") &&
                     script.contains("\nscroll 7000\n"),
                 script.constData());

        trigger(Command::PlayRecording);
        QVERIFY(app->lesson.playing());
        QVERIFY(!app->form.checkBox(CheckBox::Check1)->isEnabled());
        QVERIFY(!app->labMenu.action(Command::Reset)->isEnabled());
        for (int i = 0; i < 10000 && app->lesson.playing(); ++i) {
            frames(1);
        }
        QVERIFY(!app->lesson.playing());
        frames(1);
        QVERIFY(app->form.checkBox(CheckBox::Check1)->isEnabled());

        QProcess trace;
        trace.setStandardInputFile(answer);
        trace.start(SERVO_TRACE, {});
        QVERIFY(trace.waitForFinished(60000));
        QCOMPARE(trace.exitCode(), 0);
        const QByteArray printed = trace.readAllStandardOutput();
        const QByteArray window = QByteArray::fromStdString(traced());
        QCOMPARE(printed.mid(printed.indexOf("state ")), window);
        QVERIFY(boxes->titles.isEmpty());
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::LessonFilesTest)
#include "LessonFilesTest.moc"
