#pragma once

#include "core/state/SimulationState.h"

#include <QDockWidget>
#include <QFont>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QMenu;
class QPushButton;
class QSlider;

namespace servo {

class ErrorPlotView;
class Form1;
class Lab;
class PersistentCanvas;

// The lab in the window: the "Lab" menu after "About" and a panel docked along the bottom
// with the error plot, its figures and the lab's controls. Every control acts through the
// menu's actions, so the menu and the panel always agree; closing the panel keeps the settings.
class LabPanel : public QDockWidget {
    Q_OBJECT

public:
    LabPanel(Form1& form, Lab& lab, SimulationState& state, PersistentCanvas& canvas);
    ~LabPanel() override;

    // After each presented frame: brings the panel's plot, figures and controls up to date.
    void frameShown();
    // Keeps the drawing area, while the panel is open, large enough for the control column.
    void keepColumnClear();

    QMenu* menu() const { return menu_; }
    QAction* panelAction() const { return panel_; }
    QAction* slowerAction() const { return slower_; }
    QAction* fasterAction() const { return faster_; }
    QAction* stepAction() const { return step_; }
    QAction* gainUpAction() const { return gainUp_; }
    QAction* gainDownAction() const { return gainDown_; }
    QAction* projectorAction() const { return projector_; }
    QAction* resetAction() const { return reset_; }
    QList<QAction*> cueActions() const { return cues_; }
    ErrorPlotView* plot() const { return plot_; }

private:
    void buildMenu();
    void buildPanel();
    void applyProjectorMode();
    void showSettings();

    Form1& form_;
    Lab& lab_;
    SimulationState& state_;
    PersistentCanvas& canvas_;
    QFont readoutFont_; // the picture's read-out font outside projector mode
    QMenu* menu_ = nullptr;
    QAction* panel_ = nullptr;
    QAction* slower_ = nullptr;
    QAction* faster_ = nullptr;
    QActionGroup* speeds_ = nullptr;
    QAction* step_ = nullptr;
    QAction* gainShown_ = nullptr;
    QAction* gainUp_ = nullptr;
    QAction* gainDown_ = nullptr;
    QList<QAction*> cues_;
    QAction* projector_ = nullptr;
    QAction* reset_ = nullptr;

    ErrorPlotView* plot_ = nullptr;
    QComboBox* speedBox_ = nullptr;
    QDoubleSpinBox* gainBox_ = nullptr;
    QSlider* gainSlider_ = nullptr;
    QList<QCheckBox*> cueBoxes_;
    QCheckBox* projectorBox_ = nullptr;
};

} // namespace servo
