#include "desktop/LessonFiles.h"

#include "core/language/Translation.h"
#include "core/lesson/Challenge.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/HandIn.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/PlotData.h"
#include "core/lesson/Recording.h"
#include "desktop/DrawingArea.h"

#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QTreeView>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace servo {

namespace {

// The toolkit's file dialog's size, device-independent pixels, where the screen allows it.
constexpr int FileDialogWidth = 860;
constexpr int FileDialogHeight = 520;

// The file dialog that asks `question`, not yet shown.
std::unique_ptr<QFileDialog> fileDialogFor(QWidget* parent, const LessonFiles::Question& question) {
    auto dialog = std::make_unique<QFileDialog>(parent, question.title, QString(),
                                                question.kind + " (*" + question.suffix + ")");
    dialog->setAcceptMode(question.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(question.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (question.save) {
        dialog->selectFile(question.suggestedName);
    }
    // The toolkit's own dialog (where the desktop offers none) opens small, its columns cut to
    // "pla...ent" and "8 Dec ...:29:54": it opens larger, within the screen, and its details
    // columns take the width their contents need, the name the rest.
    if (auto* details = dialog->findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    QSize size = dialog->sizeHint().expandedTo(QSize(FileDialogWidth, FileDialogHeight));
    if (const QScreen* screen = parent != nullptr ? parent->screen() : nullptr) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    dialog->resize(size);
    return dialog;
}

QString fileDialog(QWidget* parent, const LessonFiles::Question& question) {
    const std::unique_ptr<QFileDialog> dialog = fileDialogFor(parent, question);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return dialog->selectedFiles().constFirst();
}

// A text of the lesson's in the language chosen.
QString text(const char* english) {
    return QString::fromUtf8(servo::tr(english));
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

LessonFiles::LessonFiles(QWidget& window, Lesson& lesson, DrawingArea& area,
                         std::function<bool(std::optional<bool>)> labPanel)
    : window_(window), lesson_(lesson), area_(area),
      chooser_([this](const Question& question) { return fileDialog(&window_, question); }),
      complain_([this](const QString& title, const QString& message) {
          QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, &window_);
          box.setObjectName("servoMessageBox");
          box.exec();
      }),
      labPanel_(std::move(labPanel)) {}

QString LessonFiles::ask(const char* title, const char* kind, const char* suffix,
                         const QString& name, bool save) {
    QString path = chooser_({save, text(title), text(kind), text(suffix), name});
    // A name saved without a suffix gets the kind's own.
    if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += text(suffix);
    }
    return path;
}

QString LessonFiles::writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a write cut short says so here rather than vanishing in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

QString LessonFiles::readWhole(const QString& path, QByteArray& bytes, long long maxBytes) {
    // Opened without waiting (a FIFO's open would wait for a writer for ever) and read only
    // when it is a regular file: a FIFO, a device or a folder is refused with a reason.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    struct stat status {};
    QString refusal;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        refusal = QString::fromStdString(servo::tr(NotARegularFileText));
    } else if (status.st_size > maxBytes) {
        refusal = QString::fromStdString(largerThan(maxBytes));
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (refusal.isEmpty() &&
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        refusal = file.errorString();
    }
    if (!file.isOpen()) {
        ::close(descriptor);
        return refusal;
    }
    bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return file.errorString();
    }
    if (bytes.size() > maxBytes) { // it grew while being read
        bytes.clear();
        return QString::fromStdString(largerThan(maxBytes));
    }
    return {};
}

bool LessonFiles::save(const char* title, const QString& path, const QByteArray& bytes) {
    if (const QString why = writeWhole(path, bytes); !why.isEmpty()) {
        complain_(text(title),
                  QString("%1 %2: %3\n%4")
                      .arg(text(CannotWriteText), path, why, text(NothingWrittenText)));
        return false;
    }
    return true;
}

bool LessonFiles::load(const char* title, const QString& path, QByteArray& bytes,
                       long long maxBytes) {
    if (const QString why = readWhole(path, bytes, maxBytes); !why.isEmpty()) {
        complain_(text(title), QString("%1 %2: %3").arg(text(CannotReadText), path, why));
        return false;
    }
    return true;
}

void LessonFiles::saveExperiment() {
    const QString path = ask(SaveExperimentTitle, ExperimentFileKind, ExperimentFileSuffix,
                             text(ExperimentFileName), true);
    if (!path.isEmpty()) {
        save(SaveExperimentTitle, path,
             bytesOf(writeExperiment(experimentOf(lesson_.lab(), labPanel_(std::nullopt)))));
    }
}

void LessonFiles::openExperiment() {
    const QString path = ask(OpenExperimentTitle, ExperimentFileKind, ExperimentFileSuffix,
                             text(ExperimentFileName), false);
    if (!path.isEmpty()) {
        openExperimentFile(path);
    }
}

bool LessonFiles::openExperimentFile(const QString& path) {
    QByteArray bytes;
    if (!load(OpenExperimentTitle, path, bytes, MaxExperimentBytes)) {
        return false;
    }
    const std::string_view contents(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (contents.substr(0, contents.find_first_of("\r\n")) == ChallengeHeader) {
        return openChallenge(path, contents);
    }
    const ExperimentReading reading = readExperiment(contents);
    if (!reading.experiment) {
        complain_(text(OpenExperimentTitle), QString("%1\n%2: %3")
                                                 .arg(text(ExperimentRefusedText), path,
                                                      QString::fromStdString(reading.error)));
        return false;
    }
    if (const std::string why = lesson_.open(reading); !why.empty()) {
        complain_(text(OpenExperimentTitle),
                  QString("%1\n%2: %3")
                      .arg(text(ExperimentRefusedText), path, QString::fromStdString(why)));
        return false;
    }
    labPanel_(reading.experiment->labPanel);
    for (const std::string& warning : reading.warnings) {
        qWarning("%s: %s", qPrintable(path), warning.c_str());
    }
    if (opened_) {
        opened_();
    }
    return true;
}

bool LessonFiles::openChallenge(const QString& path, std::string_view contents) {
    const ChallengeReading reading = readChallenge(contents);
    if (const std::string why = lesson_.attemptChallenge(reading); !why.empty()) {
        complain_(text(OpenExperimentTitle),
                  QString("%1\n%2: %3")
                      .arg(text(ExperimentRefusedText), path, QString::fromStdString(why)));
        return false;
    }
    labPanel_(reading.challenge->setUp.labPanel);
    for (const std::string& warning : reading.warnings) {
        qWarning("%s: %s", qPrintable(path), warning.c_str());
    }
    if (opened_) {
        opened_();
    }
    if (challengeOpened_) {
        challengeOpened_();
    }
    return true;
}

QStringList LessonFiles::saveHandIn(const HandIn& handIn) {
    const QString path =
        ask(SaveRecordingTitle, RecordingFileKind, RecordingFileSuffix,
            QString::fromStdString(handIn.baseName) + text(RecordingFileSuffix), true);
    if (path.isEmpty() || !save(SaveRecordingTitle, path, bytesOf(handIn.recording))) {
        return {};
    }
    const QString summary = QString::fromStdString(summaryFileName(path.toStdString()));
    const std::string summaryText = summaryNaming(handIn, QFileInfo(path).fileName().toStdString());
    if (!save(SaveRecordingTitle, summary, bytesOf(summaryText))) {
        return {};
    }
    return {path, summary};
}

void LessonFiles::toggleRecording() {
    if (!lesson_.recording()) {
        lesson_.startRecording();
        return;
    }
    const std::string script = lesson_.stopRecording();
    const QString path = ask(SaveRecordingTitle, RecordingFileKind, RecordingFileSuffix,
                             text(RecordingFileName), true);
    if (!path.isEmpty()) {
        save(SaveRecordingTitle, path, bytesOf(script));
    }
}

void LessonFiles::playRecording() {
    const QString path = ask(PlayRecordingTitle, RecordingFileKind, RecordingFileSuffix,
                             text(RecordingFileName), false);
    if (path.isEmpty()) {
        return;
    }
    QByteArray bytes;
    if (!load(PlayRecordingTitle, path, bytes, MaxRecordingBytes)) {
        return;
    }
    const std::string error = lesson_.play(std::string_view(bytes.constData(), bytes.size()));
    if (!error.empty()) {
        complain_(text(PlayRecordingTitle),
                  QString("%1\n%2: %3")
                      .arg(text(RecordingRefusedText), path, QString::fromStdString(error)));
    }
}

void LessonFiles::exportPlotData() {
    const QString path = ask(ExportPlotDataTitle, PlotDataFileKind, PlotDataFileSuffix,
                             text(PlotDataFileName), true);
    if (!path.isEmpty()) {
        save(ExportPlotDataTitle, path, bytesOf(plotDataCsv(lesson_.lab().history())));
    }
}

void LessonFiles::exportPicture() {
    const QString path =
        ask(ExportPictureTitle, PictureFileKind, PictureFileSuffix, text(PictureFileName), true);
    if (path.isEmpty()) {
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!area_.picture().save(&buffer, "PNG")) {
        complain_(text(ExportPictureTitle),
                  QString("%1 %2\n%3").arg(text(CannotWriteText), path, text(NothingWrittenText)));
        return;
    }
    save(ExportPictureTitle, path, png);
}

} // namespace servo
