#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace servo {

class DrawingArea;
class Lesson;
struct HandIn;

// What the Lab menu's file items do in the window: save and open experiments, record a lesson
// and play one back, export the plot's data and the picture. Every write goes to a temporary
// file that replaces the target only once it is whole, and a failure is told in a message box.
class LessonFiles {
public:
    // `labPanel` tells whether the lab panel is open (an experiment records it) and, given a
    // value, opens or closes it (an experiment says which).
    LessonFiles(QWidget& window, Lesson& lesson, DrawingArea& area,
                std::function<bool(std::optional<bool>)> labPanel);

    // Asks the user for a file: saving or opening, a dialog title, the kind of file with its
    // suffix ("Experiments", ".servo") and a suggested name. Empty when cancelled.
    struct Question {
        bool save;
        QString title;
        QString kind;
        QString suffix;
        QString suggestedName;
    };
    using Chooser = std::function<QString(const Question&)>;
    // The desktop's file dialogs unless replaced (tests answer for the user).
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    // Message boxes unless replaced: a title and the text.
    void setComplaint(std::function<void(const QString&, const QString&)> complain) {
        complain_ = std::move(complain);
    }

    // Called once an experiment has been opened (the window puts the focus on its scheme).
    void setOpened(std::function<void()> opened) { opened_ = std::move(opened); }

    // Called once a challenge file has been opened in its place (the window shows the
    // Challenges dialog).
    void setChallengeOpened(std::function<void()> opened) { challengeOpened_ = std::move(opened); }

    void saveExperiment();
    void openExperiment();
    // Opens an experiment file at once (the program's argument, the file manager): false, with
    // the message shown, when it cannot be read or is refused. A challenge file (its first line
    // ChallengeHeader) is attempted: opened and recorded from its set-up.
    bool openExperimentFile(const QString& path);
    // Saves a hand-in: asks where to save its recording (BASENAME.servo-trace suggested, where
    // recordings are saved), writes it and then its summary beside it (summaryFileName). The
    // two files' paths; empty when the user cancelled or a write failed (told).
    QStringList saveHandIn(const HandIn& handIn);
    // Starts a recording, or stops it and asks where to save it.
    void toggleRecording();
    void playRecording();
    void exportPlotData();
    void exportPicture();

    // Writes the whole of `bytes` to `path` or nothing: empty, or why not.
    static QString writeWhole(const QString& path, const QByteArray& bytes);
    // The bytes of a regular file of at most `maxBytes`, or why they cannot be read (too
    // large, not a regular file, missing, unreadable). It never waits for a writer.
    static QString readWhole(const QString& path, QByteArray& bytes, long long maxBytes);

private:
    QString ask(const char* title, const char* kind, const char* suffix, const QString& name,
                bool save);
    // Writes a file whole, or says in a message box under `title` why not: whether written.
    bool save(const char* title, const QString& path, const QByteArray& bytes);
    // Attempts the challenge file read from `path`: false, with the refusal told, when not.
    bool openChallenge(const QString& path, std::string_view contents);
    // Reads a file whole: false, with the reason told under `title`, when it cannot.
    bool load(const char* title, const QString& path, QByteArray& bytes, long long maxBytes);

    QWidget& window_;
    Lesson& lesson_;
    DrawingArea& area_;
    Chooser chooser_;
    std::function<void(const QString&, const QString&)> complain_;
    std::function<bool(std::optional<bool>)> labPanel_;
    std::function<void()> opened_;
    std::function<void()> challengeOpened_;
};

} // namespace servo
