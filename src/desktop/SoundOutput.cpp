#include "desktop/SoundOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <cstdio>

namespace servo {

namespace {

// The sink's buffer: short, so that the tone answers the arm within a few frames, yet long
// enough that Qt's PulseAudio sink, which pulls 20 ms at a time, fills the server's prebuffer
// (with 50 ms it stalls after the first pull).
constexpr double BufferSeconds = 0.1;

// Qt's PulseAudio backend warns when no sound server answers (a machine without speakers, a
// build server). The program then runs on silently, so while the output is looked up those
// lines are dropped; every other message goes on as before.
class NoServerNoise {
public:
    NoServerNoise() { previous_ = qInstallMessageHandler(&NoServerNoise::filter); }
    ~NoServerNoise() { qInstallMessageHandler(previous_); }
    NoServerNoise(const NoServerNoise&) = delete;
    NoServerNoise& operator=(const NoServerNoise&) = delete;

private:
    static void filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.startsWith(QLatin1String("PulseAudioService:"))) {
            return;
        }
        if (previous_ != nullptr) {
            previous_(type, context, text);
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
        }
    }
    static inline QtMessageHandler previous_ = nullptr;
};

} // namespace

SoundOutput::SoundOutput() = default;

SoundOutput::~SoundOutput() {
    if (sink_) {
        sink_->stop();
    }
}

void SoundOutput::play(const SoundFrame& frame, const View::Sound& sound) {
    if (sound.on && !started_) {
        start();
    }
    generator_.follow(frame, sound);
}

void SoundOutput::start() {
    started_ = true;
    const NoServerNoise quiet;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(SoundGenerator::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        return; // no speakers: silent
    }
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setBufferSize(qsizetype(BufferSeconds * SoundGenerator::SampleRate) *
                         qsizetype(sizeof(qint16)));
    sink_->start(&generator_);
}

} // namespace servo
