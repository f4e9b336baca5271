#pragma once

#include "core/access/ColourProfile.h"
#include "core/commands/Commands.h"
#include "core/simulation/Controls.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/StartUp.h"
#include "core/state/SimulationState.h"

#include <QKeySequence>
#include <QMainWindow>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace servo {

// The keys of a menu item of the core's tables as Qt reads them.
QKeySequence keySequenceOf(const MenuItem& item);

class DrawingArea;
class FocusRing;
class Lesson;
struct View;
class PersistentCanvas;

// The simulator's one window: the menu bar ("Run", "Panic/Stop", "Grid", "About") with the
// lesson's status at its corner, the drawing surface as the client area, the lab's cues drawn
// over it, and the column of controls over its left part. Its handlers only forward the user's
// inputs to the lesson; the controls show the simulation's record of them (see showControls);
// the run loop does the computing. The Lab menu and panel are added by the assembly (see
// DesktopSimulator).
class Form1 : public QMainWindow, public StartUpWindow {
    Q_OBJECT

public:
    Form1(SimulationState& state, Controls& controls, PersistentCanvas& canvas, Lesson& lesson);

    // Shows the core's view of the window's part: check marks, the elbow boxes' visibility,
    // the wrist scroll bar's position, the explanation and the path button's caption, the
    // status at the menu bar's corner, and which controls and menu items take input (not while
    // a recording plays). Nothing it sets reaches the simulation as an input.
    void showView(const View& view);
    // After an input: everything shown anew, through the refresh the assembly gives (the
    // panel and the Lab menu too), or this window's part alone.
    void showControls();
    void setRefresh(std::function<void()> refresh) { refresh_ = std::move(refresh); }
    // The position the wrist scroll bar shows.
    int wristScrollPosition() const;
    // Lets the window handle every pending event now, then returns: the grid's yield.
    void yieldToEvents();

    // StartUpWindow
    void maximiseWindow() override;
    void showWindow() override;
    void setDrawingScale() override;

    // Scales the column of controls (places and caption sizes) by `factor`; 1 is the window's
    // own layout.
    void setControlScale(double factor);
    double controlScale() const { return controlScale_; }
    // The size the drawing area needs to show the whole column of controls.
    QSize columnExtent() const { return columnExtent_; }

    // The colours of the form, its boxes, headings and focus ring.
    void setLook(const WindowLook& look);

    // Tells a screen reader: `text` (when not empty) as the picture's accessible description,
    // with the events that make it heard, and `summary` (when given) as the picture's
    // accessible name. Each change is raised once.
    void announce(const std::string& text, const std::optional<std::string>& summary);
    Lesson& lesson() const { return lesson_; }
    // Presents the frame: the picture, the cues and the controls; then framePresented.
    void presentFrame();
    // Shows every text in the language now chosen (see setLanguage); then retranslated.
    void retranslate();

    // The whole start-up: its first half, the start-up notice (modal: returns once it is
    // dismissed, or the window was closed under it) and its second half.
    void startUp();

    DrawingArea& drawingArea() { return *drawingArea_; }
    // The client area: the picture with the controls over it.
    QWidget* clientArea() const { return client_; }
    SimulationState& simulationState() { return state_; }
    Controls& controls() { return controls_; }
    QCheckBox* checkBox(CheckBox box) const;
    QScrollBar* wristScrollBar() const { return vScroll1_; }
    QPlainTextEdit* explanationBox() const { return text1_; }
    QLineEdit* wristLabel() const { return text2_; }
    QLineEdit* servoHeading() const { return text3_; }
    QPushButton* openButton() const { return command1_; }
    QPushButton* closeButton() const { return command2_; }
    QPushButton* pathButton() const { return command4_; }
    QAction* menuBarAction(Command command) const;
    QAction* runAction() const { return menuBarAction(Command::Run); }
    QAction* stopAction() const { return menuBarAction(Command::Stop); }
    QAction* gridAction() const { return menuBarAction(Command::Grid); }
    QAction* aboutAction() const { return menuBarAction(Command::About); }
    FocusRing* focusRing() const { return focusRing_; }
    QLabel* lessonStatus() const { return lessonStatus_; }

signals:
    // A frame was presented: the parts added to the window show theirs.
    void framePresented();
    // The window's texts were shown in the language now chosen: the added parts follow.
    void retranslated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void connectBoxesAndButtons();
    void connectPicture();
    // The user's click on a box (its mark toggled by the toolkit), sent to the simulation.
    void boxClicked(CheckBox box);
    void showAbout();
    void perform(const MenuItem& item);

    SimulationState& state_;
    Controls& controls_;
    PersistentCanvas& canvas_;
    Lesson& lesson_;
    QWidget* client_ = nullptr;
    DrawingArea* drawingArea_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QScrollBar* vScroll1_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QCheckBox* check4_ = nullptr;
    QCheckBox* check5_ = nullptr;
    QCheckBox* check6_ = nullptr;
    QCheckBox* check7_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPlainTextEdit* text1_ = nullptr;
    std::vector<std::pair<QAction*, const MenuItem*>> menuBarActions_;
    FocusRing* focusRing_ = nullptr;
    QLabel* lessonStatus_ = nullptr; // the menu bar's corner: recording, or replaying
    double controlScale_ = 1;
    // The English texts the explanation box and the path button show now, translated.
    std::function<void()> refresh_;
    std::string shownExplanation_;
    std::string shownPathCaption_;
    QSize columnExtent_;
    std::vector<std::pair<QWidget*, QRect>> controlPlaces_;     // at scale 1
    std::vector<std::pair<QWidget*, double>> controlFontSizes_; // points, at scale 1
};

} // namespace servo
