#pragma once

#include "core/commands/Commands.h"
#include "core/state/SimulationState.h"

#include <QDockWidget>
#include <QFont>

#include <memory>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;

namespace servo {

class ErrorPlotView;
class Form1;
class Lab;
class Lesson;
class LessonFiles;
class PersistentCanvas;

// The lab in the window: the "Lab" menu after "About" and a panel docked along the bottom
// with the error plot, its figures and the lab's controls. Every control acts through the
// menu's actions, so the menu and the panel always agree; closing the panel keeps the settings.
class LabPanel : public QDockWidget {
    Q_OBJECT

public:
    LabPanel(Form1& form, Lesson& lesson, SimulationState& state, PersistentCanvas& canvas);
    ~LabPanel() override;

    // After each presented frame: brings the panel's plot, figures and controls up to date.
    void frameShown();
    // Shows the menu's and the panel's texts in the language now chosen.
    void retranslate();
    // Keeps the drawing area, while the panel is open, large enough for the control column.
    void keepColumnClear();

    QMenu* menu() const { return menu_; }
    // The menu's action of a command (and index, for a speed or a cue).
    QAction* action(Command command, int index = 0) const;
    QAction* panelAction() const { return action(Command::LabPanel); }
    QAction* slowerAction() const { return action(Command::Slower); }
    QAction* fasterAction() const { return action(Command::Faster); }
    QAction* stepAction() const { return action(Command::Step); }
    QAction* gainUpAction() const { return action(Command::GainUp); }
    QAction* gainDownAction() const { return action(Command::GainDown); }
    QAction* projectorAction() const { return action(Command::Projector); }
    QAction* resetAction() const { return action(Command::Reset); }
    QList<QAction*> cueActions() const;
    ErrorPlotView* plot() const { return plot_; }
    QComboBox* speedBox() const { return speedBox_; }
    QComboBox* schemeBox() const { return schemeBox_; }
    QComboBox* raceBox() const { return raceBox_; }
    QDoubleSpinBox* dampingBox() const { return dampingBox_; }
    LessonFiles& files() const { return *files_; }

private:
    void buildMenu();
    void perform(const MenuItem& item);
    void buildPanel();
    void buildSchemeRow(QWidget* body, QBoxLayout* column);
    void applyProjectorMode();
    void applyColourProfile();
    void showSettings();
    // While a recording plays the window's controls take no input; the menus follow the lesson.
    void showLessonState();

    Form1& form_;
    Lesson& lesson_;
    Lab& lab_;
    std::unique_ptr<LessonFiles> files_;
    bool shownPlaying_ = false;
    bool shownRecording_ = false;
    QLabel* lessonStatus_ = nullptr; // the menu bar's corner: recording, or replaying
    SimulationState& state_;
    PersistentCanvas& canvas_;
    QFont readoutFont_; // the picture's read-out font outside projector mode
    QMenu* menu_ = nullptr;
    std::vector<std::pair<QMenu*, const char*>> submenus_; // with their English captions
    // The panel's captioned controls: their English caption, and whether it shows as their
    // text (a label, a button, a box) or only as their accessible name.
    struct Captioned {
        QWidget* widget;
        std::string english;
        bool shown;
    };
    std::vector<Captioned> captioned_;
    std::vector<std::pair<QAction*, const MenuItem*>> actions_;
    bool appliedProjector_ = false;

    ErrorPlotView* plot_ = nullptr;
    QComboBox* speedBox_ = nullptr;
    QComboBox* schemeBox_ = nullptr; // item i: servo type i + 1
    QComboBox* raceBox_ = nullptr;   // item 0: none; item i: servo type i
    QDoubleSpinBox* dampingBox_ = nullptr;
    QDoubleSpinBox* gainBox_ = nullptr;
    QSlider* gainSlider_ = nullptr;
    std::vector<std::pair<QCheckBox*, const MenuItem*>> panelBoxes_; // cues, projector mode
};

} // namespace servo
