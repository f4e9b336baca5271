#include "desktop/Form1.h"

#include "core/commands/Commands.h"
#include "core/interfaces/ControlCaptions.h"
#include "core/lab/Lab.h"
#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/ControlLayout.h"
#include "core/teaching/Grid.h"
#include "desktop/Accessibility.h"
#include "desktop/DrawingArea.h"
#include "desktop/FocusRing.h"
#include "desktop/MessageBoxes.h"
#include "desktop/PersistentCanvas.h"
#include "desktop/WindowIcon.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace servo {

namespace {

// Positions and sizes are laid out in twips, 15 to a device-independent pixel.
QRect twips(int left, int top, int width, int height) {
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
            height / TwipsPerPixel};
}

// A control of the column where the layout table places it.
QRect placeOf(const char* name) {
    const PixelPlace place = pixelsOf(controlPlace(name));
    return {place.left, place.top, place.width, place.height};
}

// The menu bar at a fixed height, 18 device-independent pixels (what the window's 8.25 pt font
// gives with the style's margins), so that the window's layout does not follow the metrics of
// whichever font stands in for "MS Sans Serif" on this system, nor those of a corner widget,
// which the toolkit counts even while it is hidden.
class FixedHeightMenuBar : public QMenuBar {
public:
    static constexpr int Height = 18;

    explicit FixedHeightMenuBar(QWidget* parent) : QMenuBar(parent) { setFixedHeight(Height); }
    QSize sizeHint() const override { return {QMenuBar::sizeHint().width(), Height}; }
    QSize minimumSizeHint() const override { return {QMenuBar::minimumSizeHint().width(), Height}; }
    int heightForWidth(int) const override { return Height; }
};

QFont windowFont(double points) {
    QFont font("MS Sans Serif");
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The caption of a servo or elbow box, as the scheme and configuration tables give it.
QString captionOf(CheckBox box) {
    return boxCaption(box);
}

} // namespace

QKeySequence keySequenceOf(const MenuItem& item) {
    return QKeySequence(QString::fromStdString(item.keys), QKeySequence::PortableText);
}

namespace {

QLineEdit* makeLabelBox(QWidget* parent) {
    auto* box = new HeadingBox(parent);
    box->setFont(windowFont(CaptionFontPoints));
    box->setFrame(false);
    box->setAlignment(Qt::AlignCenter);
    // Whatever is typed is put back at once; setting the same text raises no change.
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& now) {
        const QString caption = box->property("caption").toString();
        if (now != caption) {
            box->setText(caption);
        }
    });
    return box;
}

void setLabelCaption(QLineEdit* box, const QString& caption) {
    box->setProperty("caption", caption);
    box->setText(caption);
    box->setAccessibleName(caption);
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& caption, const QRect& place) {
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(place);
    box->setFont(windowFont(CaptionFontPoints));
    box->setAutoFillBackground(true);
    box->setBackgroundRole(QPalette::Window);
    box->setAccessibleName(caption);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setAccessibleName(caption);
    return button;
}

} // namespace

Form1::Form1(SimulationState& state, Controls& controls, PersistentCanvas& canvas, Lesson& lesson)
    : state_(state), controls_(controls), canvas_(canvas), lesson_(lesson) {
    setObjectName("Form1");
    setWindowTitle(WindowTitle);
    setWindowIcon(windowIcon());
    setFont(windowFont(WindowFontPoints));
    canvas_.setBackground(PersistentCanvas::toQColor(WindowBackground));
    canvas_.setFont(font());
    // Drawing starts in the window's text colour, until the control cycle sets its own.
    const QColor text = palette().color(QPalette::WindowText);
    canvas_.setForeColour(rgb(static_cast<unsigned>(text.red()),
                              static_cast<unsigned>(text.green()),
                              static_cast<unsigned>(text.blue())));

    installAccessibleFactories();
    setMenuBar(new FixedHeightMenuBar(this));
    // The client area: the picture fills it and the controls lie over the picture's left part,
    // as the picture's siblings (not its children: to a screen reader the picture is one
    // graphic, the controls the window's own).
    client_ = new QWidget(this);
    client_->setObjectName("client");
    auto* fill = new QVBoxLayout(client_);
    fill->setContentsMargins(0, 0, 0, 0);
    drawingArea_ = new DrawingArea(canvas_, client_);
    drawingArea_->setObjectName("surface");
    drawingArea_->setAccessibleName(SurfaceCaption);
    fill->addWidget(drawingArea_);
    setCentralWidget(client_);
    drawingArea_->setOverlay([&lab = lesson_.lab()](DrawingSurface& layer) {
        if (lab.anyCue()) {
            lab.drawCues(layer);
        }
    });

    buildControls();
    buildMenus();
    connectHandlers();
    retranslate();

    // Not maximised: a client area of 9210 by 7875 twips at 1200, 2340 on the screen.
    const QRect client = twips(1200, 2340, 9210, 7875);
    move(client.topLeft());
    resize(client.width(), client.height() + FixedHeightMenuBar::Height);
}

void Form1::buildControls() {
    QWidget* area = client_; // over the picture, which was made first
    text3_ = makeLabelBox(area);
    text3_->setObjectName("Text3");
    text3_->setGeometry(placeOf("Text3"));

    vScroll1_ = new QScrollBar(Qt::Vertical, area);
    vScroll1_->setObjectName("VScroll1");
    vScroll1_->setGeometry(placeOf("VScroll1"));
    vScroll1_->setRange(0, WristScrollMax);
    vScroll1_->setSingleStep(WristScrollLine);
    vScroll1_->setPageStep(WristScrollPage);
    vScroll1_->setAccessibleName(WristAngleCaption);

    check1_ = makeCheckBox(area, captionOf(CheckBox::Check1), placeOf("Check1"));
    check3_ = makeCheckBox(area, captionOf(CheckBox::Check3), placeOf("Check3"));
    check2_ = makeCheckBox(area, captionOf(CheckBox::Check2), placeOf("Check2"));
    check4_ = makeCheckBox(area, captionOf(CheckBox::Check4), placeOf("Check4"));
    check5_ = makeCheckBox(area, captionOf(CheckBox::Check5), placeOf("Check5"));
    check6_ = makeCheckBox(area, captionOf(CheckBox::Check6), placeOf("Check6"));
    check7_ = makeCheckBox(area, captionOf(CheckBox::Check7), placeOf("Check7"));
    check1_->setObjectName("Check1");
    check2_->setObjectName("Check2");
    check3_->setObjectName("Check3");
    check4_->setObjectName("Check4");
    check5_->setObjectName("Check5");
    check6_->setObjectName("Check6");
    check7_->setObjectName("Check7");

    text2_ = makeLabelBox(area);
    text2_->setObjectName("Text2");
    text2_->setGeometry(placeOf("Text2"));

    command4_ = makeButton(area, ShowPathCaption, placeOf("Command4"));
    command4_->setObjectName("Command4");
    command1_ = makeButton(area, OpenCaption, placeOf("Command1"));
    command1_->setObjectName("Command1");
    command2_ = makeButton(area, CloseCaption, placeOf("Command2"));
    command2_->setObjectName("Command2");

    text1_ = new QPlainTextEdit(area);
    text1_->setObjectName("Text1");
    text1_->setGeometry(placeOf("Text1"));
    text1_->setReadOnly(true); // focus, scrolling and selection, but no editing
    text1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text1_->setTabChangesFocus(true);
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setAccessibleName(ExplanationCaption);

    // Keyboard order: the servo boxes, the scroll bar, the buttons, then the rest.
    const QList<QWidget*> tabOrder{check1_,   check2_,   check3_, vScroll1_, command1_,
                                   command2_, command4_, text2_,  check4_,   text1_,
                                   text3_,    check5_,   check6_, check7_};
    for (QWidget* control : tabOrder) {
        if (control != text1_) {
            control->setFocusPolicy(Qt::StrongFocus); // before the order: it skips NoFocus
        }
    }
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    setTabOrder(check7_, drawingArea_); // the picture last: its arrows move the target
    for (QWidget* control : tabOrder) {
        controlPlaces_.emplace_back(control, control->geometry());
        controlFontSizes_.emplace_back(control, control->font().pointSizeF());
    }
    setControlScale(1);
    focusRing_ = new FocusRing(area, drawingArea_);
    setLook(windowLook(ColourProfile::Window));
    check1_->setFocus(); // the first control in the tab order starts with the focus
}

void Form1::setLook(const WindowLook& look) {
    const QColor form = PersistentCanvas::toQColor(look.form);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, form);
    palette.setColor(QPalette::WindowText, PersistentCanvas::toQColor(look.text));
    setPalette(palette);
    for (QCheckBox* box : {check1_, check2_, check3_, check4_, check5_, check6_, check7_}) {
        QPalette colours = box->palette();
        colours.setColor(QPalette::Window, form);
        colours.setColor(QPalette::WindowText, PersistentCanvas::toQColor(look.boxText));
        box->setPalette(colours);
    }
    for (QLineEdit* heading : {text2_, text3_}) {
        QPalette colours = heading->palette();
        colours.setColor(QPalette::Base, form);
        colours.setColor(QPalette::Text, PersistentCanvas::toQColor(look.heading));
        heading->setPalette(colours);
    }
    focusRing_->setColour(PersistentCanvas::toQColor(look.focus));
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    // The system's menu colours, not the form's.
    QPalette menuColours = bar->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText}) {
        menuColours.setColor(role, QApplication::palette().color(role));
    }
    bar->setPalette(menuColours);
    bar->setAutoFillBackground(true);
    lessonStatus_ = new QLabel(this);
    lessonStatus_->setObjectName("lessonStatus");
    lessonStatus_->setStyleSheet("QLabel { background: #a00018; color: white; font-weight: bold;"
                                 " padding: 1px 8px; border-radius: 3px; }");
    lessonStatus_->hide();
    bar->setCornerWidget(lessonStatus_);
    for (const MenuItem& item : menuBarItems()) {
        QAction* action = item.command == Command::Quit
                              ? new QAction(QString::fromStdString(item.caption), this)
                              : bar->addAction(QString::fromStdString(item.caption));
        action->setObjectName(item.name);
        QList<QKeySequence> keys{keySequenceOf(item)};
        if (item.command == Command::Quit) {
            // The platform's own quit keys too, where they differ.
            for (const QKeySequence& more : QKeySequence::keyBindings(QKeySequence::Quit)) {
                if (!keys.contains(more)) {
                    keys << more;
                }
            }
        }
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // shortcuts work wherever the focus is in the window
        menuBarActions_.emplace_back(action, &item);
    }
}

QAction* Form1::menuBarAction(Command command) const {
    for (auto [action, item] : menuBarActions_) {
        if (item->command == command) {
            return action;
        }
    }
    return nullptr;
}

void Form1::connectHandlers() {
    connectBoxesAndButtons();
    connectPicture();
    for (auto [action, item] : menuBarActions_) {
        connect(action, &QAction::triggered, this, [this, item = item] { perform(*item); });
    }
}

// The handlers act through the lesson; the controls then show the record.
void Form1::connectBoxesAndButtons() {
    for (int number = 1; number <= CheckBoxCount; ++number) {
        const auto box = static_cast<CheckBox>(number);
        checkBox(box)->installEventFilter(this); // the press, before the click
        connect(checkBox(box), &QCheckBox::clicked, this, [this, box] { boxClicked(box); });
    }
    connect(vScroll1_, &QScrollBar::valueChanged, this, [this](int position) {
        lesson_.submit(inputLine("scroll", clampedWristScroll(position)));
        showControls();
    });
    const std::pair<QPushButton*, const char*> buttons[] = {
        {command1_, "open"}, {command2_, "close"}, {command4_, "path"}};
    for (auto [button, input] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, input = input] {
            lesson_.submit(input);
            showControls();
        });
    }
}

void Form1::boxClicked(CheckBox box) {
    lesson_.submit(inputLine("box-click", static_cast<int>(box)));
    showControls();
}

void Form1::connectPicture() {
    const auto point = [](QPointF at) {
        return std::pair{static_cast<float>(at.x()), static_cast<float>(at.y())};
    };
    connect(drawingArea_, &DrawingArea::pointerPressed, this, [this, point](QPointF at) {
        const auto [x, y] = point(at);
        lesson_.submit(inputLine("press", x, y));
    });
    connect(drawingArea_, &DrawingArea::pointerMoved, this, [this, point](QPointF at) {
        const auto [x, y] = point(at);
        lesson_.submit(inputLine("move", x, y));
    });
    connect(drawingArea_, &DrawingArea::pointerReleased, this,
            [this] { lesson_.submit("release"); });
    connect(drawingArea_, &DrawingArea::keyInput, this,
            [this](const std::string& line) { lesson_.submit(line); });
}

void Form1::perform(const MenuItem& item) {
    if (item.command == Command::About) {
        showAbout();
    } else if (item.command == Command::Quit) {
        close();
    } else {
        lesson_.perform(item);
    }
    showControls();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Every press of a box, any button, goes to the simulation before the click toggles it.
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press) {
        for (int number = 1; number <= CheckBoxCount; ++number) {
            const auto box = static_cast<CheckBox>(number);
            if (watched == checkBox(box)) {
                lesson_.submit(inputLine("box-press", number));
                showControls();
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    windowClosing(state_);
    closeOpenMessageBoxes();
    event->accept();
}

void Form1::showAbout() {
    showAboutBox(this);
}

int Form1::wristScrollPosition() const {
    return vScroll1_->value();
}

void Form1::showControls() {
    if (refresh_) {
        refresh_();
    } else {
        showView(viewOf(lesson_, false));
    }
}

void Form1::showView(const View& view) {
    for (int number = 1; number <= CheckBoxCount; ++number) {
        const View::Box& shown = view.boxes[static_cast<std::size_t>(number - 1)];
        QCheckBox* box = checkBox(static_cast<CheckBox>(number));
        // Raises toggled only, which nothing here acts on: the user's input is the click.
        box->setChecked(shown.checked);
        // The box's own state: isVisible() is also false while the window is hidden.
        if (box->isHidden() == shown.visible) {
            box->setVisible(shown.visible);
        }
        box->setEnabled(shown.enabled);
    }
    if (vScroll1_->value() != view.wristScroll) {
        const QSignalBlocker quiet(vScroll1_);
        vScroll1_->setValue(view.wristScroll);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{vScroll1_, command1_, command2_, command4_}) {
        control->setEnabled(view.columnEnabled);
    }
    if (shownExplanation_ != view.explanation) {
        shownExplanation_ = view.explanation;
        text1_->setPlainText(QString::fromStdString(view.explanation));
    }
    if (shownPathCaption_ != view.pathCaption) {
        shownPathCaption_ = view.pathCaption;
        command4_->setText(QString::fromStdString(view.pathCaption));
        command4_->setAccessibleName(command4_->text());
    }
    for (auto [action, item] : menuBarActions_) {
        action->setEnabled(
            view.menuBar[static_cast<std::size_t>(item - menuBarItems().data())].enabled);
    }
    const QString status = QString::fromStdString(view.status);
    if (lessonStatus_->text() != status) {
        lessonStatus_->setText(status);
        lessonStatus_->setVisible(!status.isEmpty());
    }
}

QCheckBox* Form1::checkBox(CheckBox box) const {
    switch (box) {
    case CheckBox::Check1:
        return check1_;
    case CheckBox::Check2:
        return check2_;
    case CheckBox::Check3:
        return check3_;
    case CheckBox::Check4:
        return check4_;
    case CheckBox::Check5:
        return check5_;
    case CheckBox::Check6:
        return check6_;
    case CheckBox::Check7:
        return check7_;
    }
    return nullptr;
}

void Form1::retranslate() {
    const auto text = [](const char* english) { return QString::fromUtf8(servo::tr(english)); };
    setWindowTitle(text(WindowTitle));
    setLabelCaption(text3_, text(ChooseServoCaption));
    setLabelCaption(text2_, text(WristAngleCaption));
    vScroll1_->setAccessibleName(text(WristAngleCaption));
    for (int number = 1; number <= CheckBoxCount; ++number) {
        QCheckBox* box = checkBox(static_cast<CheckBox>(number));
        box->setText(text(boxCaption(static_cast<CheckBox>(number))));
        box->setAccessibleName(box->text());
    }
    for (QPushButton* button : {command1_, command2_}) {
        button->setText(text(button == command1_ ? OpenCaption : CloseCaption));
        button->setAccessibleName(button->text());
    }
    shownExplanation_.clear(); // shown again in this language
    shownPathCaption_.clear();
    showControls();
    text1_->setAccessibleName(text(ExplanationCaption));
    drawingArea_->setAccessibleName(text(SurfaceCaption));
    for (auto [action, item] : menuBarActions_) {
        action->setText(text(item->caption.c_str()));
    }
    emit retranslated();
}

void Form1::yieldToEvents() {
    QCoreApplication::processEvents();
}

void Form1::maximiseWindow() {
    setWindowState(windowState() | Qt::WindowMaximized);
}

void Form1::showWindow() {
    QMainWindow::show();
}

void Form1::setControlScale(double factor) {
    controlScale_ = factor;
    QRect column;
    for (const auto& [control, place] : controlPlaces_) {
        const QRect scaled(qRound(place.x() * factor), qRound(place.y() * factor),
                           qRound(place.width() * factor), qRound(place.height() * factor));
        control->setGeometry(scaled);
        column |= scaled;
    }
    columnExtent_ = QSize(column.right() + 8, column.bottom() + 8);
    for (const auto& [control, points] : controlFontSizes_) {
        QFont font = control->font();
        font.setPointSizeF(points * factor);
        control->setFont(font);
    }
}

void Form1::announce(const std::string& text, const std::optional<std::string>& summary) {
    // Qt raises NameChanged and DescriptionChanged itself when either changes.
    if (summary && drawingArea_->accessibleName() != QString::fromStdString(*summary)) {
        drawingArea_->setAccessibleName(QString::fromStdString(*summary));
    }
    if (!text.empty()) {
        const QString description = QString::fromStdString(text);
        if (drawingArea_->accessibleDescription() == description) {
            // The same words again are news too: raised as a change all the same.
            QAccessibleEvent changed(drawingArea_, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        } else {
            drawingArea_->setAccessibleDescription(description);
        }
        QAccessibleEvent alert(drawingArea_, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void Form1::presentFrame() {
    drawingArea_->present();
    emit framePresented();
}

void Form1::setDrawingScale() {
    drawingArea_->fitCanvas();
}

void Form1::startUp() {
    startUpUntilNotice(state_, controls_, *this);
    showControls();
    showStartUpNotice(this);
    startUpAfterNotice(state_, controls_, *this);
    showControls();
}

} // namespace servo
