#include "ModalDismisser.h"
#include "QuietPlatform.h"

#include "core/access/Announcer.h"
#include "core/commands/Commands.h"
#include "core/language/Translation.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/DrawingArea.h"
#include "desktop/SoundGenerator.h"

#include <QAction>
#include <QTest>

#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

namespace servo::testing {

namespace {

// `seconds` of the generator's samples, as read by a sink.
std::vector<qint16> samples(SoundGenerator& generator, double seconds) {
    std::vector<qint16> read(std::size_t(seconds * SoundGenerator::SampleRate));
    QByteArray bytes = generator.read(qint64(read.size() * sizeof(qint16)));
    std::memcpy(read.data(), bytes.constData(), std::size_t(bytes.size()));
    return read;
}

int loudest(const std::vector<qint16>& read) {
    int peak = 0;
    for (qint16 sample : read) {
        peak = std::max(peak, std::abs(int(sample)));
    }
    return peak;
}

// What the speaker was asked to say, in which language.
struct Said {
    std::string text;
    std::string language;
};

class ListeningSpeaker : public Speaker {
public:
    ListeningSpeaker(std::vector<Said>& said, int& stops) : said_(said), stops_(stops) {}
    void say(const std::string& text, const std::string& languageCode) override {
        said_.push_back({text, languageCode});
    }
    void stop() override { ++stops_; }

private:
    std::vector<Said>& said_;
    int& stops_;
};

} // namespace

// The window's sound and voicing without speakers: the generator's samples read as a sink
// reads them, and the speech engine replaced by one that writes down what it is given.
class SoundTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;
    std::unique_ptr<ModalDismisser> boxes;
    std::vector<Said> said;
    int stops = 0;
    long frames_ = 0;

    void frame() {
        app->lab.frame(1.0 / 60);
        app->form.presentFrame();
        app->afterFrame(static_cast<double>(++frames_) / 60);
    }
    // Frames until `done` holds, at most a minute of them.
    template <class Done> bool framesUntil(Done done) {
        for (int i = 0; i < 3600 && !done(); ++i) {
            frame();
        }
        return done();
    }
    QString description() const { return app->form.drawingArea().accessibleDescription(); }
    void trigger(Command command) { app->labMenu.action(command)->trigger(); }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }

    void init() {
        said.clear();
        stops = 0;
        frames_ = 0;
        app = std::make_unique<DesktopSimulator>();
        boxes = std::make_unique<ModalDismisser>();
        app->form.startUp();
        app->voicing.setSpeaker(std::make_unique<ListeningSpeaker>(said, stops));
        frame(); // the announcer's first look
    }
    void cleanup() {
        boxes.reset();
        app.reset();
    }

    void theToneSoundsOnlyWhileOn_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("level");
        QTest::addColumn<bool>("heard");
        QTest::newRow("on, level 1") << true << 1.0 << true;
        QTest::newRow("on, settled") << true << 0.0 << false;
        QTest::newRow("off, level 1") << false << 1.0 << false;
    }
    void theToneSoundsOnlyWhileOn() {
        QFETCH(bool, on);
        QFETCH(double, level);
        QFETCH(bool, heard);
        SoundGenerator generator;
        QVERIFY(generator.isOpen());
        generator.follow({440, level, {}}, {on, 1.0});
        QCOMPARE(loudest(samples(generator, 0.2)) > 1000, heard);
        generator.follow({440, level, {SoundEvent::Reached}}, {false, 1.0}); // turned off
        samples(generator, 0.3);                                             // the fade
        QCOMPARE(loudest(samples(generator, 0.1)), 0);
    }

    // Turning the tone on and off ramps its amplitude: no sample jumps further than the loudest
    // sine's own steepest step.
    void theToneStartsAndStopsWithoutClicks() {
        SoundGenerator generator;
        QVERIFY(generator.isOpen());
        std::vector<qint16> read;
        for (bool on : {true, false, true, false}) {
            generator.follow({ToneHighHertz, 1, {}}, {on, 1.0});
            const std::vector<qint16> more = samples(generator, 0.0123);
            read.insert(read.end(), more.begin(), more.end());
        }
        const double steepest = 2 * std::numbers::pi * ToneHighHertz / SoundGenerator::SampleRate *
                                SoundGenerator::TonePeak * 32767;
        for (std::size_t i = 1; i < read.size(); ++i) {
            QVERIFY2(std::abs(read[i] - read[i - 1]) <= steepest + 1,
                     qPrintable(QString::number(i)));
        }
    }

    // Each frame is heard at once: the samples read after a frame are made after it, none read
    // ahead before it. The tone turned off has faded to nothing within 0.2 s.
    void theToneFollowsEachFrameAtOnce() {
        SoundGenerator generator;
        generator.follow({440, 1, {}}, {true, 1.0});
        samples(generator, 0.01);
        generator.follow({440, 1, {}}, {false, 1.0});
        samples(generator, 0.18);
        QCOMPARE(loudest(samples(generator, 0.02)), 0);
    }

    void eventsSoundWhileOn() {
        SoundGenerator generator;
        QVERIFY(generator.isOpen());
        generator.follow({440, 0, {SoundEvent::Drop}}, {false, 1.0});
        QCOMPARE(loudest(samples(generator, 0.2)), 0);
        generator.follow({440, 0, {SoundEvent::Drop}}, {true, 1.0});
        QVERIFY(loudest(samples(generator, 0.2)) > 1000);
        QCOMPARE(loudest(samples(generator, 0.1)), 0); // the motif is over
    }

    void thePitchFollowsTheFrequency_data() {
        QTest::addColumn<double>("hertz");
        for (double hertz : {ToneLowHertz, 440.0, 880.0, ToneHighHertz}) {
            QTest::newRow(qPrintable(QString::number(hertz))) << hertz;
        }
    }
    void thePitchFollowsTheFrequency() {
        QFETCH(double, hertz);
        SoundGenerator generator;
        QVERIFY(generator.isOpen());
        generator.follow({ToneLowHertz + ToneHighHertz - hertz, 1, {}}, {true, 1.0});
        samples(generator, 0.1);
        generator.follow({hertz, 1, {}}, {true, 1.0});
        samples(generator, 0.2); // the glide
        const std::vector<qint16> read = samples(generator, 0.5);
        int crossings = 0;
        for (std::size_t i = 1; i < read.size(); ++i) {
            crossings += (read[i - 1] < 0) != (read[i] < 0) ? 1 : 0;
        }
        QVERIFY2(std::abs(crossings - hertz) <= 3, qPrintable(QString::number(crossings)));
    }

    // The Sound item makes the window's frames heard: a target far off sounds the error tone
    // once it is on, and fades to silence once it is off again.
    void theSoundItemPlaysTheFrames() {
        SoundGenerator& generator = app->sound.generator();
        const auto loud = [&generator] { return loudest(samples(generator, 0.02)) > 1000; };
        const auto silent = [&generator] { return loudest(samples(generator, 0.02)) == 0; };
        app->state.targetX = 350;
        app->state.targetY = 50;
        frame();
        QVERIFY(app->viewer.sound().toneLevel > 0);
        QVERIFY(silent());
        trigger(Command::Sound);
        QVERIFY(framesUntil(loud));
        trigger(Command::Sound);
        QVERIFY(framesUntil(silent));
    }

    // Voicing speaks what the screen reader is told and the whole description, nothing while
    // it is off, and stops speaking once turned off.
    void voicingHandsTheTextToTheSpeaker() {
        app->form.stopAction()->trigger();
        QVERIFY(framesUntil([this] { return description().contains("Stopped"); }));
        trigger(Command::Describe);
        QVERIFY(said.empty());

        trigger(Command::Voicing);
        app->form.runAction()->trigger();
        QVERIFY(framesUntil([this] { return !said.empty(); }));
        QCOMPARE(QString::fromStdString(said.back().text), description());
        QCOMPARE(said.back().language, std::string(languageCode()));
        trigger(Command::Describe);
        QCOMPARE(said.back().text, Announcer::wholeState(app->lab));
        QCOMPARE(stops, 0);
        trigger(Command::Voicing);
        QVERIFY(framesUntil([this] { return stops > 0; }));
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::SoundTest)
#include "SoundTest.moc"
