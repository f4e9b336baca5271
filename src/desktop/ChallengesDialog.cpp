#include "desktop/ChallengesDialog.h"

#include "core/access/ColourProfile.h"
#include "core/commands/Commands.h"
#include "core/lab/Lab.h"
#include "core/lab/Projector.h"
#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "desktop/FlowRow.h"
#include "desktop/LessonFiles.h"
#include "desktop/PersistentCanvas.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace servo {

namespace {

QString text(const char* english) {
    return QString::fromUtf8(tr(english));
}

// The dialog's least size at a 13-pixel font, device-independent pixels: a task's line of
// about ten words, and room for the task, three goals, two hints and the verdict.
constexpr int DialogWidth = 520;
constexpr int DialogHeight = 500;

// A goal's mark, so that its state does not rest on colour alone.
QString markOf(const std::string& status) {
    if (status == "met") {
        return QStringLiteral("\u2713"); // check mark
    }
    if (status == "failed") {
        return QStringLiteral("\u2717"); // ballot x
    }
    return QStringLiteral("\u2026"); // ellipsis: still pending
}

// A goal's colour by its state on the dialog's background; the window's text when pending.
QColor colourOf(const std::string& status, bool highContrast, const QColor& text) {
    if (status == "met") {
        return highContrast ? QColor(120, 255, 120) : QColor(0, 110, 0);
    }
    if (status == "failed") {
        return highContrast ? QColor(255, 150, 150) : QColor(180, 0, 0);
    }
    return text;
}

void setText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
        label->setAccessibleName(text);
    }
}

QLabel* wrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* boldLabel(QWidget* parent) {
    QLabel* label = wrappedLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

ChallengesDialog::ChallengesDialog(QWidget* parent, Lesson& lesson, LessonFiles& files)
    : QDialog(parent), lesson_(lesson), files_(files), listCaption_(new QLabel(this)),
      choices_(new QListWidget(this)), start_(new QPushButton(this)), none_(wrappedLabel(this)),
      scroll_(new QScrollArea(this)), underWay_(new QWidget), title_(boldLabel(underWay_)),
      task_(wrappedLabel(underWay_)), combine_(wrappedLabel(underWay_)),
      goalsCaption_(boldLabel(underWay_)), goalsColumn_(new QVBoxLayout),
      hintsCaption_(boldLabel(underWay_)), hints_(wrappedLabel(underWay_)),
      verdict_(boldLabel(underWay_)), figures_(wrappedLabel(underWay_)),
      again_(new QPushButton(this)), hint_(new QPushButton(this)), handIn_(new QPushButton(this)),
      end_(new QPushButton(this)), status_(wrappedLabel(this)) {
    setObjectName("ChallengesDialog");
    setModal(false);
    auto* column = new QVBoxLayout(this);
    listCaption_->setBuddy(choices_);
    column->addWidget(listCaption_);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(choices_, 1);
    listRow->addWidget(start_, 0, Qt::AlignTop);
    column->addLayout(listRow);
    for (std::size_t i = 0; i < challengeChoices().size(); ++i) {
        choices_->addItem(QString());
    }
    choices_->setCurrentRow(0);

    // Under the list, scrolled where the text is large: NoChallengeText, or the challenge.
    auto* details = new QVBoxLayout(underWay_);
    details->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part : std::initializer_list<QWidget*>{title_, task_, combine_, goalsCaption_}) {
        details->addWidget(part);
    }
    details->addLayout(goalsColumn_);
    for (QWidget* part :
         std::initializer_list<QWidget*>{hintsCaption_, hints_, verdict_, figures_}) {
        details->addWidget(part);
    }
    auto* page = new QWidget;
    auto* pageColumn = new QVBoxLayout(page);
    pageColumn->addWidget(none_);
    pageColumn->addWidget(underWay_);
    pageColumn->addStretch(1);
    scroll_->setWidget(page);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(scroll_, 1);

    auto* buttons = new FlowRow;
    for (QPushButton* button : {again_, hint_, handIn_, end_}) {
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    status_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    column->addWidget(status_);

    const auto startChosen = [this] {
        if (const QListWidgetItem* item = choices_->currentItem()) {
            send(inputLine("challenge-open", item->data(Qt::UserRole).toString().toStdString()));
        }
    };
    connect(start_, &QPushButton::clicked, this, startChosen);
    connect(choices_, &QListWidget::itemActivated, this, startChosen);
    connect(again_, &QPushButton::clicked, this, [this] { send(inputLine("challenge-again")); });
    connect(hint_, &QPushButton::clicked, this, [this] { send(inputLine("challenge-hint")); });
    connect(end_, &QPushButton::clicked, this, [this] { send(inputLine("challenge-end")); });
    connect(handIn_, &QPushButton::clicked, this, [this] { handIn(); });
    start_->setDefault(true);
    retranslate();
    followLooks();
    showChallenge(shown_);
}

void ChallengesDialog::retranslate() {
    setWindowTitle(text(ChallengesTitle));
    listCaption_->setText(text(ChallengeListCaption));
    choices_->setAccessibleName(text(ChallengeListCaption));
    const std::vector<ChallengeChoice> choices = challengeChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        QListWidgetItem* item = choices_->item(static_cast<int>(i));
        item->setText(QString::fromStdString(choices[i].title));
        item->setData(Qt::UserRole, QString::fromStdString(choices[i].name));
    }
    start_->setText(text(StartChallengeCaption));
    again_->setText(text(StartAgainCaption));
    hint_->setText(text(ShowHintCaption));
    handIn_->setText(text(HandInCaption));
    end_->setText(text(EndChallengeCaption));
    goalsCaption_->setText(text(GoalsCaption));
    hintsCaption_->setText(text(HintsCaption));
    none_->setText(text(NoChallengeText));
    fitList();
}

void ChallengesDialog::open() {
    if (!placed_) {
        place();
    }
    show();
    raise();
    activateWindow();
    if (shown_.active && hint_->isEnabled()) {
        hint_->setFocus();
    } else {
        choices_->setFocus();
    }
}

void ChallengesDialog::place() {
    const bool first = !placed_;
    placed_ = true;
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    QSize wanted = sizeHint().expandedTo(QSize(DialogWidth * fontInfo().pixelSize() / 13,
                                               DialogHeight * fontInfo().pixelSize() / 13));
    if (!first) {
        wanted = wanted.expandedTo(size());
    }
    if (screen == nullptr) {
        resize(wanted);
        return;
    }
    // At the screen's right edge, where the control column and most of the arm's reach are not,
    // and within the screen.
    const QRect room = screen->availableGeometry();
    const QSize fitted = wanted.boundedTo(room.size() * 9 / 10);
    resize(fitted);
    const int margin = room.width() / 50;
    if (first) {
        move(room.right() - fitted.width() - margin, room.top() + room.height() / 20);
    } else {
        move(std::clamp(x(), room.left(), room.right() - fitted.width() - margin),
             std::clamp(y(), room.top(), room.bottom() - fitted.height() - margin));
    }
}

void ChallengesDialog::fitList() {
    const int rows = std::max(1, choices_->count());
    choices_->setFixedHeight(rows * std::max(1, choices_->sizeHintForRow(0)) +
                             2 * choices_->frameWidth());
}

void ChallengesDialog::send(const std::string& line) {
    setStatus(lesson_.submit(line));
}

void ChallengesDialog::setStatus(const std::string& text) {
    setText(status_, QString::fromStdString(text));
}

void ChallengesDialog::handIn() {
    if (!waiting_) {
        const QString now = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
        HandIn fresh = servo::handIn(lesson_, now.toStdString());
        if (!fresh.refusal.empty()) {
            setStatus(fresh.refusal);
            return;
        }
        waiting_ = std::move(fresh);
    }
    const QStringList written = files_.saveHandIn(*waiting_);
    if (written.size() != 2) {
        return; // cancelled or not written (told): kept for the next Hand In...
    }
    waiting_.reset();
    setStatus(filled(servo::tr(HandedInText), {QFileInfo(written[0]).fileName().toStdString(),
                                               QFileInfo(written[1]).fileName().toStdString()}));
}

void ChallengesDialog::showView(const View& view) {
    followLooks();
    const ChallengeView& challenge = view.challenge;
    if (challenge.recorded) {
        waiting_.reset(); // a new attempt is recorded: that one is what is handed in now
    }
    if (!(challenge == shown_)) {
        showChallenge(challenge);
        shown_ = challenge;
    }
    start_->setEnabled(choices_->currentItem() != nullptr);
    again_->setEnabled(challenge.active);
    hint_->setEnabled(challenge.active && challenge.hintsLeft > 0);
    handIn_->setEnabled(challenge.active || waiting_.has_value());
    end_->setEnabled(challenge.active);
}

void ChallengesDialog::showChallenge(const ChallengeView& challenge) {
    none_->setVisible(!challenge.active);
    underWay_->setVisible(challenge.active);
    setText(title_, QString::fromStdString(challenge.title));
    setText(task_, QString::fromStdString(challenge.task));
    setText(combine_, QString::fromStdString(challenge.combine));
    if (challenge.goals != shown_.goals || goals_.empty()) {
        showGoals(challenge.goals);
    }
    QStringList hints;
    for (std::size_t i = 0; i < challenge.hints.size(); ++i) {
        hints << QString("%1. %2").arg(i + 1).arg(QString::fromStdString(challenge.hints[i]));
    }
    setText(hints_, hints.join('\n'));
    hintsCaption_->setVisible(!challenge.hints.empty());
    hints_->setVisible(!challenge.hints.empty());
    setText(verdict_, QString::fromStdString(challenge.verdict));
    setText(figures_, QString::fromStdString(challenge.figures));
    figures_->setVisible(!challenge.figures.empty());
}

void ChallengesDialog::showGoals(const std::vector<ChallengeView::Goal>& goals) {
    while (goals_.size() > goals.size()) {
        delete goals_.back();
        goals_.pop_back();
    }
    while (goals_.size() < goals.size()) {
        goals_.push_back(wrappedLabel(underWay_));
        goalsColumn_->addWidget(goals_.back());
    }
    const QColor text = palette().color(QPalette::WindowText);
    for (std::size_t i = 0; i < goals.size(); ++i) {
        const ChallengeView::Goal& goal = goals[i];
        QString line = markOf(goal.status) + "  " + QString::fromStdString(goal.text);
        if (!goal.progress.empty()) {
            line += QString::fromUtf8(" \u2014 ") + QString::fromStdString(goal.progress);
        }
        setText(goals_[i], line);
        QPalette colours = goals_[i]->palette();
        colours.setColor(QPalette::WindowText, colourOf(goal.status, highContrast_, text));
        goals_[i]->setPalette(colours);
    }
}

void ChallengesDialog::followLooks() {
    const LabSettings& settings = lesson_.lab().settings();
    const bool highContrast = colourProfileOf(settings) == ColourProfile::HighContrast;
    const bool projector = settings.projector;
    if (looked_ && highContrast == highContrast_ && projector == projector_) {
        return;
    }
    looked_ = true;
    highContrast_ = highContrast;
    projector_ = projector;
    // The form's colours from the lab's profile; the list and the buttons keep the system's,
    // their faces standing out from a black form as the window's do.
    const WindowLook& look = windowLook(colourProfileOf(settings));
    QPalette colours = QApplication::palette();
    if (highContrast) {
        colours.setColor(QPalette::Window, PersistentCanvas::toQColor(look.form));
        colours.setColor(QPalette::WindowText, PersistentCanvas::toQColor(look.text));
    }
    setPalette(colours);
    for (QWidget* faced :
         std::initializer_list<QWidget*>{choices_, start_, again_, hint_, handIn_, end_}) {
        faced->setPalette(QApplication::palette());
    }
    QFont font = QApplication::font();
    if (projector) {
        font.setPointSizeF(ProjectorLabPanelPoints);
    }
    setFont(font);
    fitList();
    if (placed_) {
        place(); // larger text, a larger dialog
    }
    showGoals(shown_.goals); // their colours for the background
}

} // namespace servo
