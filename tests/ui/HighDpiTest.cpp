// The window at device pixel ratios 1 and 2: a screenshot of each (the window grabbed after a
// few control cycles) must show the controls where the twips put them, scaled by the ratio,
// and the arm's lines one device-independent pixel wide.
//
// The test runs itself twice, once per scale factor (QT_SCALE_FACTOR can only be set before
// the application starts); each run writes what it measured on its screenshot to a file.

#include "QuietStartUp.h"
#include "core/simulation/Simulation.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/Form1.h"
#include "desktop/PersistentCanvas.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace servo::testing {

namespace {

// Length of the run of pixels of `colour` through (x, y) along the row.
int runLength(const QImage& image, int x, int y, QRgb colour) {
    auto is = [&](int at) {
        return image.valid(at, y) && (image.pixel(at, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    };
    int centre = -1;
    for (int d = 0; d <= 6 && centre < 0; ++d) {
        if (is(x + d)) {
            centre = x + d;
        } else if (is(x - d)) {
            centre = x - d;
        }
    }
    if (centre < 0) {
        return 0;
    }
    int left = centre;
    int right = centre;
    while (is(left - 1)) {
        --left;
    }
    while (is(right + 1)) {
        ++right;
    }
    return right - left + 1;
}

// One run at the current scale factor: measures the screenshot and writes "name x y w h"
// lines (device pixels) to `path`.
int measureLayout(const QString& path) {
    DesktopSimulator simulator;
    Form1& form = simulator.form;
    testing::quietStartUp(simulator.state, form);
    Simulation& simulation = simulator.simulation;
    const PersistentCanvas& canvas = simulator.canvas;
    form.setWindowState(Qt::WindowNoState);
    form.resize(800, 600);
    if (!QTest::qWaitForWindowExposed(&form)) {
        return 1;
    }
    for (int i = 0; i < 60; ++i) { // the arm settles on its start-up target
        simulation.pass();
        form.drawingArea().present();
    }
    const QPixmap shot = form.grab();
    const qreal ratio = shot.devicePixelRatio();
    const QImage image = shot.toImage();

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return 1;
    }
    QTextStream out(&file);
    out << "shot 0 0 " << image.width() << ' ' << image.height() << '\n';
    const QMap<QString, QWidget*> controls{{"Text3", form.servoHeading()},
                                           {"VScroll1", form.wristScrollBar()},
                                           {"Check1", form.checkBox(CheckBox::Check1)},
                                           {"Check3", form.checkBox(CheckBox::Check3)},
                                           {"Check2", form.checkBox(CheckBox::Check2)},
                                           {"Check4", form.checkBox(CheckBox::Check4)},
                                           {"Check5", form.checkBox(CheckBox::Check5)},
                                           {"Check6", form.checkBox(CheckBox::Check6)},
                                           {"Check7", form.checkBox(CheckBox::Check7)},
                                           {"Text2", form.wristLabel()},
                                           {"Command4", form.pathButton()},
                                           {"Command1", form.openButton()},
                                           {"Command2", form.closeButton()},
                                           {"Text1", form.explanationBox()}};
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QPoint topLeft = it.value()->mapTo(&form, QPoint(0, 0));
        // The control must really be drawn there: its rectangle is not plain background.
        const QRect device(QPointF(topLeft * ratio).toPoint(),
                           QSizeF(QSizeF(it.value()->size()) * ratio).toSize());
        int painted = 0;
        for (int y = device.top(); y <= device.bottom(); y += 2) {
            for (int x = device.left(); x <= device.right(); x += 2) {
                painted += (image.pixel(x, y) & 0xFFFFFF) != (qRgb(63, 150, 192) & 0xFFFFFF);
            }
        }
        if (painted == 0) {
            return 1;
        }
        out << it.key() << ' ' << device.x() << ' ' << device.y() << ' ' << device.width() << ' '
            << device.height() << '\n';
    }
    // The base outline's right edge, a vertical white line at arm x 7.5 (window x 315).
    const QPoint areaOrigin = form.drawingArea().mapTo(&form, QPoint(0, 0));
    const QPointF edge = (canvas.toLogical(315, 90) + areaOrigin) * ratio;
    out << "linewidth " << runLength(image, qRound(edge.x()), qRound(edge.y()), qRgb(255, 255, 255))
        << " 0 0 0\n";
    return 0;
}

QMap<QString, QRect> runAtScale(const QString& scale, const QString& path) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_SCALE_FACTOR", scale);
    environment.insert("SERVO_LAYOUT_OUT", path);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QMap<QString, QRect> result;
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return result;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().split(' ');
        if (words.size() == 5) {
            result.insert(words[0], QRect(words[1].toInt(), words[2].toInt(), words[3].toInt(),
                                          words[4].toInt()));
        }
    }
    return result;
}

} // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void layoutScalesWithThePixelRatio() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QMap<QString, QRect> one = runAtScale("1", dir.filePath("one.txt"));
        const QMap<QString, QRect> two = runAtScale("2", dir.filePath("two.txt"));
        QCOMPARE(one.size(), 16);
        QCOMPARE(two.size(), 16);
        QCOMPARE(two["shot"].size(), one["shot"].size() * 2);
        for (auto it = one.begin(); it != one.end(); ++it) {
            if (it.key() == "linewidth" || it.key() == "shot") {
                continue;
            }
            const QRect a = it.value();
            const QRect b = two[it.key()];
            const bool scaled = qAbs(b.x() - 2 * a.x()) <= 1 && qAbs(b.y() - 2 * a.y()) <= 1 &&
                                qAbs(b.width() - 2 * a.width()) <= 1 &&
                                qAbs(b.height() - 2 * a.height()) <= 1;
            QVERIFY2(scaled, qPrintable(QString("%1: %2,%3 %4x%5 at ratio 1, %6,%7 %8x%9 at 2")
                                            .arg(it.key())
                                            .arg(a.x())
                                            .arg(a.y())
                                            .arg(a.width())
                                            .arg(a.height())
                                            .arg(b.x())
                                            .arg(b.y())
                                            .arg(b.width())
                                            .arg(b.height())));
        }
        QCOMPARE(one["linewidth"].x(), 1);
        QCOMPARE(two["linewidth"].x(), 2);
    }
};

} // namespace servo::testing

int main(int argc, char* argv[]) {
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);
    if (qEnvironmentVariableIsSet("SERVO_LAYOUT_OUT")) {
        return servo::testing::measureLayout(qEnvironmentVariable("SERVO_LAYOUT_OUT"));
    }
    servo::testing::HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
