#pragma once

#include "core/lesson/ChallengeView.h"
#include "core/lesson/HandIn.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace servo {

class Lesson;
class LessonFiles;
struct View;

// The Challenges dialog, a window beside the main one (Lab > Challenges..., F3): the built-in
// challenges along the lesson path with Start; the challenge under way (its title, task, how
// its goals combine, each goal with its progress and a mark, the hints shown, the verdict with
// the figures) with Start Again, Show Hint, Hand In... and End Challenge; and a status line for
// what a button did or why it was refused. It follows the view every frame, touching only what
// changed, and the lab's colour profile and projector mode.
class ChallengesDialog : public QDialog {
    Q_OBJECT

public:
    ChallengesDialog(QWidget* parent, Lesson& lesson, LessonFiles& files);
    void showView(const View& view);
    void retranslate();
    // Shows the dialog in front with the focus on the list (no challenge) or Show Hint.
    void open();
    // Hands the attempt in: ends its recording, then asks where to save it and writes the
    // recording and its summary beside it. A hand-in whose saving was cancelled (or failed) is
    // kept and offered again by the next Hand In..., until another attempt begins.
    void handIn();

    QListWidget* choices() const { return choices_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* startAgainButton() const { return again_; }
    QPushButton* hintButton() const { return hint_; }
    QPushButton* handInButton() const { return handIn_; }
    QPushButton* endButton() const { return end_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* verdictLabel() const { return verdict_; }
    QLabel* hintsLabel() const { return hints_; }
    QLabel* status() const { return status_; }
    // The goals' lines as shown: the mark, the goal and its progress.
    std::vector<QLabel*> goalLabels() const { return goals_; }
    // Whether a hand-in waits to be saved.
    bool handInWaiting() const { return waiting_.has_value(); }

private:
    // Sends a button's input line; a refusal shows in the status line. Any of them begins
    // another attempt or ends this one, so a waiting hand-in is dropped.
    void send(const std::string& line);
    void showChallenge(const ChallengeView& challenge);
    void showGoals(const std::vector<ChallengeView::Goal>& goals);
    void setStatus(const std::string& text);
    // Sizes the dialog for its contents and its text and puts it beside the main window; once
    // placed, it grows where it stands, within the screen.
    void place();
    // The list as tall as its rows.
    void fitList();
    // The lab's colour profile and projector mode, where they changed.
    void followLooks();

    Lesson& lesson_;
    LessonFiles& files_;
    QLabel* listCaption_;
    QListWidget* choices_;
    QPushButton* start_;
    QLabel* none_;
    QScrollArea* scroll_;
    QWidget* underWay_; // the challenge under way, inside the scroll area
    QLabel* title_;
    QLabel* task_;
    QLabel* combine_;
    QLabel* goalsCaption_;
    QVBoxLayout* goalsColumn_;
    std::vector<QLabel*> goals_;
    QLabel* hintsCaption_;
    QLabel* hints_;
    QLabel* verdict_;
    QLabel* figures_;
    QPushButton* again_;
    QPushButton* hint_;
    QPushButton* handIn_;
    QPushButton* end_;
    QLabel* status_;
    ChallengeView shown_;
    bool placed_ = false;
    bool looked_ = false; // the looks applied once
    bool highContrast_ = false;
    bool projector_ = false;
    std::optional<HandIn> waiting_; // ended, not yet saved
};

} // namespace servo
