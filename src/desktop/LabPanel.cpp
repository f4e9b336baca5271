#include "desktop/LabPanel.h"

#include "core/commands/Commands.h"
#include "core/dynamics/DynamicsSettings.h"
#include "core/dynamics/MotorLaws.h"
#include "core/lab/Lab.h"
#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "desktop/Accessibility.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/FlowRow.h"
#include "desktop/Form1.h"
#include "desktop/LabMenu.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

// Widgets that wrap as one item of a row: a label and the control it names.
QLayoutItem* together(std::initializer_list<QWidget*> widgets) {
    auto* group = new QHBoxLayout;
    group->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets) {
        group->addWidget(widget);
    }
    return group;
}

} // namespace

LabPanel::LabPanel(Form1& form, Lesson& lesson, LabMenu& menu, const SimulationState& state)
    : QDockWidget(LabPanelTitle, &form), form_(form), lesson_(lesson), lab_(lesson.lab()),
      menu_(menu), state_(state) {
    setObjectName("LabPanel");
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::BottomDockWidgetArea);
    // No title bar: the Lab menu's "Lab Panel" (Ctrl+L) opens and closes it, and a bar's small
    // caption and button would only take height from the picture. The title stays the panel's
    // accessible name.
    setTitleBarWidget(new QWidget(this));
    buildPanel();
    form_.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
    connect(this, &QDockWidget::visibilityChanged, this, [this] { form_.showControls(); });
    retranslate();
}

LabPanel::~LabPanel() {
    // Hiding on the way out must not reach back into the window or this panel (the assembly's
    // connections to the panel take it as their context too).
    disconnect(this, nullptr, this, nullptr);
}

void LabPanel::buildPanel() {
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    plot_ = new ErrorPlotView(lab_, body);
    column->addWidget(plot_, 1);

    auto* row = new FlowRow;
    column->addLayout(row);
    auto button = [&](Command command) {
        auto* pushButton = new QPushButton(body);
        captioned_.push_back({pushButton, menuItem(command).caption, true});
        connect(pushButton, &QPushButton::clicked, menu_.action(command), &QAction::trigger);
        row->addWidget(pushButton);
    };
    auto* speedLabel = new QLabel(body);
    speedBox_ = new LabelledComboBox(body);
    captioned_.push_back({speedLabel, menuItem(Command::Speed).submenu, true});
    captioned_.push_back({speedBox_, menuItem(Command::Speed).submenu, false});
    speedLabel->setBuddy(speedBox_);
    for (std::size_t i = 0; i < Speeds.size(); ++i) {
        speedBox_->addItem({});
    }
    connect(speedBox_, &QComboBox::activated, this,
            [this](int index) { menu_.action(Command::Speed, index)->trigger(); });
    row->addItem(together({speedLabel, speedBox_}));
    button(Command::Step);

    auto* gainLabel = new QLabel(body);
    gainBox_ = new QDoubleSpinBox(body);
    gainBox_->setRange(0, MaxGain);
    gainBox_->setSingleStep(GainStep);
    gainBox_->setDecimals(1);
    captioned_.push_back({gainLabel, GainCaption, true});
    captioned_.push_back({gainBox_, GainCaption, false});
    gainLabel->setBuddy(gainBox_);
    gainSlider_ = new QSlider(Qt::Horizontal, body);
    gainSlider_->setRange(0, static_cast<int>(MaxGain / GainStep));
    captioned_.push_back({gainSlider_, GainSliderCaption, false});
    gainSlider_->setMinimumWidth(120);
    connect(gainBox_, &QDoubleSpinBox::valueChanged, this, [this](double gain) {
        lesson_.submit(inputLine("enter-gain", gain));
        form_.showControls();
    });
    connect(gainSlider_, &QSlider::valueChanged, this, [this](int tenths) {
        lesson_.submit(inputLine("enter-gain", tenths * GainStep));
        form_.showControls();
    });
    row->addItem(together({gainLabel, gainBox_, gainSlider_}));
    button(Command::Reset); // ends the row beside the gain, not alone at the far edge

    buildSchemeRow(body, column);
    buildDynamicsRow(body, column);

    auto* cueRow = new FlowRow;
    column->addLayout(cueRow);
    for (auto [action, item] : menu_.actions()) {
        if (item->command == Command::Cue || item->command == Command::Projector ||
            item->command == Command::HighContrast || item->command == Command::TrueProportions) {
            auto* box = new QCheckBox(body);
            captioned_.push_back({box, item->caption, true});
            connect(box, &QCheckBox::clicked, action, &QAction::trigger);
            panelBoxes_.emplace_back(box, item);
            cueRow->addWidget(box);
        }
    }
    setWidget(body);
}

void LabPanel::addLabelled(QWidget* body, FlowRow* row, const char* caption, QWidget* control) {
    auto* label = new QLabel(body);
    label->setBuddy(control);
    captioned_.push_back({label, caption, true});
    captioned_.push_back({control, caption, false});
    row->addItem(together({label, control}));
}

void LabPanel::buildSchemeRow(QWidget* body, QBoxLayout* column) {
    auto* row = new FlowRow;
    column->addLayout(row);
    auto labelled = [&](const char* caption, QWidget* control) {
        addLabelled(body, row, caption, control);
    };
    schemeBox_ = new LabelledComboBox(body);
    schemeBox_->setObjectName("schemeBox");
    raceBox_ = new LabelledComboBox(body);
    raceBox_->setObjectName("raceBox");
    raceBox_->addItem({});
    for (std::size_t i = 0; i < allSchemes().size(); ++i) {
        schemeBox_->addItem({});
        raceBox_->addItem({});
    }
    connect(schemeBox_, &QComboBox::activated, this, [this](int index) {
        lesson_.submit(schemeChoices().at(static_cast<std::size_t>(index)).line);
        form_.showControls();
    });
    connect(raceBox_, &QComboBox::activated, this, [this](int index) {
        lesson_.submit(raceChoices().at(static_cast<std::size_t>(index)).line);
        form_.showControls();
    });
    dampingBox_ = new QDoubleSpinBox(body);
    dampingBox_->setRange(0, MaxDampingLambda);
    dampingBox_->setSingleStep(DampingStep);
    dampingBox_->setDecimals(1);
    connect(dampingBox_, &QDoubleSpinBox::valueChanged, this, [this](double lambda) {
        lesson_.submit(inputLine("enter-lambda", lambda));
        form_.showControls();
    });
    labelled(SchemeCaption, schemeBox_);
    labelled(RaceCaption, raceBox_);
    labelled(DampingCaption, dampingBox_);
}

int LabPanel::fitHeight(int width) {
    QWidget* body = widget();
    const int bodyHeight = body->layout()->totalMinimumHeightForWidth(width);
    if (body->minimumHeight() != bodyHeight) {
        body->setMinimumHeight(bodyHeight);
    }
    const QMargins frame = contentsMargins();
    return bodyHeight + std::max(0, titleBarWidget()->sizeHint().height()) + frame.top() +
           frame.bottom();
}

void LabPanel::buildDynamicsRow(QWidget* body, QBoxLayout* column) {
    auto* row = new FlowRow;
    column->addLayout(row);
    auto labelled = [&](const char* caption, QWidget* control) {
        addLabelled(body, row, caption, control);
    };
    QAction* dynamics = menu_.action(Command::Dynamics);
    auto* dynamicsBox = new QCheckBox(body);
    captioned_.push_back({dynamicsBox, menuItem(Command::Dynamics).caption, true});
    connect(dynamicsBox, &QCheckBox::clicked, dynamics, &QAction::trigger);
    panelBoxes_.emplace_back(dynamicsBox, &menuItem(Command::Dynamics));
    row->addWidget(dynamicsBox);

    motorBox_ = new LabelledComboBox(body);
    for (std::size_t i = 0; i < motorLaws().size(); ++i) {
        motorBox_->addItem({});
    }
    connect(motorBox_, &QComboBox::activated, this,
            [this](int index) { menu_.action(Command::MotorLaw, index)->trigger(); });
    labelled(menuItem(Command::MotorLaw).submenu, motorBox_);

    auto spinBox = [&](double low, double high, double step, int decimals) {
        auto* box = new QDoubleSpinBox(body);
        box->setRange(low, high);
        box->setSingleStep(step);
        box->setDecimals(decimals);
        return box;
    };
    frequencyBox_ = spinBox(0, MaxNaturalFrequency, NaturalFrequencyStep, 1);
    ratioBox_ = spinBox(0, MaxDampingRatio, DampingRatioStep, 2);
    modelErrorBox_ = spinBox(-MaxModelErrorPercent, MaxModelErrorPercent, ModelErrorStep, 0);
    for (QDoubleSpinBox* box : {frequencyBox_, ratioBox_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { sendTuning(); });
    }
    connect(modelErrorBox_, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
        lesson_.submit(inputLine("model-error", percent));
        form_.showControls();
    });
    labelled(NaturalFrequencyCaption, frequencyBox_);
    labelled(DampingRatioCaption, ratioBox_);
    labelled(ModelErrorCaption, modelErrorBox_);
    modelObjectBox_ = new QCheckBox(body);
    captioned_.push_back({modelObjectBox_, ModelIgnoresObjectCaption, true});
    connect(modelObjectBox_, &QCheckBox::clicked, this, [this](bool ignored) {
        lesson_.submit(modelObjectLine(ignored));
        form_.showControls();
    });
    row->addWidget(modelObjectBox_);
    gainsLabel_ = new QLabel(body);
    gainsLabel_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    gainsLabel_->setFocusPolicy(Qt::TabFocus);
    captioned_.push_back({gainsLabel_, DerivedGainsCaption, false});
    row->addWidget(gainsLabel_);
}

void LabPanel::sendTuning() {
    lesson_.submit(tuneLine(frequencyBox_->value(), ratioBox_->value()));
    form_.showControls();
}

void LabPanel::retranslate() {
    const auto text = [](const std::string& english) {
        return QString::fromUtf8(servo::tr(english.c_str()));
    };
    setWindowTitle(text(LabPanelTitle));
    plot_->setAccessibleName(text(PlotCaption));
    for (const Captioned& captioned : captioned_) {
        // The panel's controls show their items' captions without the menus' mnemonic marks.
        const QString caption =
            QString::fromStdString(plainCaption(servo::tr(captioned.english.c_str())));
        if (captioned.shown) {
            if (auto* label = qobject_cast<QLabel*>(captioned.widget)) {
                label->setText(caption);
            } else if (auto* button = qobject_cast<QAbstractButton*>(captioned.widget)) {
                button->setText(caption);
            }
        }
        captioned.widget->setAccessibleName(
            QString::fromStdString(plainCaption(caption.toStdString())));
    }
    for (std::size_t i = 0; i < Speeds.size(); ++i) {
        speedBox_->setItemText(static_cast<int>(i), text(Speeds[i].caption));
    }
    for (std::size_t i = 0; i < motorLaws().size(); ++i) {
        motorBox_->setItemText(static_cast<int>(i), text(motorLaws()[i].caption));
    }
    raceBox_->setItemText(0, text(NoRaceCaption));
    const std::vector<const ServoScheme*> schemes = labSchemeList();
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        schemeBox_->setItemText(static_cast<int>(i), text(schemes[i]->caption));
        raceBox_->setItemText(static_cast<int>(i + 1), text(schemes[i]->caption));
    }
    form_.showControls();
}

void LabPanel::showView(const View& view) {
    for (auto [box, item] : panelBoxes_) {
        const QSignalBlocker quiet(box);
        box->setChecked(
            view.labMenu[static_cast<std::size_t>(item - labMenuItems().data())].checked);
    }
    const View::LabValues& values = view.lab;
    for (QWidget* control : std::initializer_list<QWidget*>{gainBox_, gainSlider_, schemeBox_,
                                                            raceBox_, dampingBox_}) {
        control->setEnabled(values.enabled);
    }
    const QSignalBlocker quietScheme(schemeBox_);
    schemeBox_->setCurrentIndex(values.scheme);
    const QSignalBlocker quietRace(raceBox_);
    raceBox_->setCurrentIndex(values.race);
    const QSignalBlocker quietDamping(dampingBox_);
    dampingBox_->setValue(values.damping);
    const QSignalBlocker quietSpeed(speedBox_);
    speedBox_->setCurrentIndex(values.speed);
    showDynamics(view);
    const QSignalBlocker quietGain(gainBox_);
    gainBox_->setValue(values.gain);
    const QSignalBlocker quietSlider(gainSlider_);
    gainSlider_->setValue(values.gainSlider);
    if (isVisible()) {
        plot_->update();
    }
}

void LabPanel::showDynamics(const View& view) {
    const View::Dynamics& dynamics = view.lab.dynamics;
    for (QWidget* control : std::initializer_list<QWidget*>{motorBox_, frequencyBox_, ratioBox_,
                                                            modelErrorBox_, modelObjectBox_}) {
        control->setEnabled(view.lab.enabled);
    }
    const QSignalBlocker quietMotor(motorBox_);
    motorBox_->setCurrentIndex(dynamics.motorLaw);
    const QSignalBlocker quietFrequency(frequencyBox_);
    frequencyBox_->setValue(dynamics.naturalFrequency);
    const QSignalBlocker quietRatio(ratioBox_);
    ratioBox_->setValue(dynamics.dampingRatio);
    const QSignalBlocker quietModel(modelErrorBox_);
    modelErrorBox_->setValue(dynamics.modelErrorPercent);
    const QSignalBlocker quietObject(modelObjectBox_);
    modelObjectBox_->setChecked(dynamics.modelIgnoresObject);
    const QString gains = QString::fromStdString(dynamics.gains);
    if (gainsLabel_->text() != gains) {
        gainsLabel_->setText(gains);
    }
}

} // namespace servo
