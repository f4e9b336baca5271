#pragma once

#include "core/state/SimulationState.h"

#include <QDockWidget>

#include <string>
#include <utility>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSlider;

namespace servo {

class ErrorPlotView;
class FlowRow;
class Form1;
class Lab;
class LabMenu;
class Lesson;
struct View;
struct MenuItem;

// The lab panel, docked along the bottom of the window: the error plot, its figures and the
// lab's controls. Its buttons, speed box and check boxes act through the Lab menu's actions, so
// the menu and the panel always agree; its gain, scheme, race and damping controls through the
// lesson. Closing the panel keeps the settings.
class LabPanel : public QDockWidget {
    Q_OBJECT

public:
    LabPanel(Form1& form, Lesson& lesson, LabMenu& menu, const SimulationState& state);
    ~LabPanel() override;

    // Shows the core's view of the panel: its values, check marks and which controls take
    // input (not while a recording plays), and the plot drawn anew while the panel is open.
    // Nothing it sets reaches the lesson as an input.
    void showView(const View& view);
    // Shows the panel's texts in the language now chosen.
    void retranslate();
    // Keeps every row of controls whole at a body `width` (rows wrap onto more lines as it
    // narrows) and returns the height the panel needs then, in device-independent pixels.
    int fitHeight(int width);

    ErrorPlotView* plot() const { return plot_; }
    QComboBox* speedBox() const { return speedBox_; }
    QComboBox* schemeBox() const { return schemeBox_; }
    QComboBox* raceBox() const { return raceBox_; }
    QDoubleSpinBox* dampingBox() const { return dampingBox_; }
    QComboBox* motorBox() const { return motorBox_; }
    QDoubleSpinBox* frequencyBox() const { return frequencyBox_; }

private:
    void buildPanel();
    void buildSchemeRow(QWidget* body, QBoxLayout* column);
    void buildDynamicsRow(QWidget* body, QBoxLayout* column);
    // A control with its label before it, kept together in a row, both captioned.
    void addLabelled(QWidget* body, FlowRow* row, const char* caption, QWidget* control);
    void showDynamics(const View& view);
    // The tuning as the spin boxes have it, sent as one input.
    void sendTuning();

    Form1& form_;
    Lesson& lesson_;
    Lab& lab_;
    LabMenu& menu_;
    const SimulationState& state_;
    // The panel's captioned controls: their English caption, and whether it shows as their
    // text (a label, a button, a box) or only as their accessible name.
    struct Captioned {
        QWidget* widget;
        std::string english;
        bool shown;
    };
    std::vector<Captioned> captioned_;

    ErrorPlotView* plot_ = nullptr;
    QComboBox* speedBox_ = nullptr;
    QComboBox* schemeBox_ = nullptr; // item i: servo type i + 1
    QComboBox* raceBox_ = nullptr;   // item 0: none; item i: servo type i
    QDoubleSpinBox* dampingBox_ = nullptr;
    QDoubleSpinBox* gainBox_ = nullptr;
    QSlider* gainSlider_ = nullptr;
    // The dynamics row.
    QComboBox* motorBox_ = nullptr; // item i: motor law i
    QDoubleSpinBox* frequencyBox_ = nullptr;
    QDoubleSpinBox* ratioBox_ = nullptr;
    QDoubleSpinBox* modelErrorBox_ = nullptr;
    QCheckBox* modelObjectBox_ = nullptr;
    QLabel* gainsLabel_ = nullptr;
    std::vector<std::pair<QCheckBox*, const MenuItem*>> panelBoxes_; // cues, projector mode
};

} // namespace servo
