#include "desktop/LabPanel.h"

#include "core/lab/Lab.h"
#include "core/simulation/Handlers.h"
#include "desktop/DrawingArea.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/Form1.h"
#include "desktop/PersistentCanvas.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace servo {

namespace {

constexpr double GainStep = 0.1;
constexpr double ProjectorScale = 1.6;      // the control column
constexpr double ProjectorPoints = 24;      // read-outs and cues
constexpr double ProjectorStrokePixels = 3; // device pixels

QFont boldFont(const QFont& base, double points) {
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

double roundedGain(double gain) {
    return std::clamp(std::round(gain / GainStep) * GainStep, 0.0, MaxGain);
}

} // namespace

LabPanel::LabPanel(Form1& form, Lab& lab, SimulationState& state, PersistentCanvas& canvas)
    : QDockWidget("Lab", &form), form_(form), lab_(lab), state_(state), canvas_(canvas),
      readoutFont_(canvas.font()) {
    setObjectName("LabPanel");
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::BottomDockWidgetArea);
    buildMenu();
    buildPanel();
    form_.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
    connect(this, &QDockWidget::visibilityChanged, this, [this] {
        panel_->setChecked(isVisible());
        keepColumnClear();
    });
    form_.drawingArea().setOverlay([this](DrawingSurface& layer) {
        if (lab_.anyCue()) {
            lab_.drawCues(layer);
        }
    });
    applyProjectorMode();
    showSettings();
}

LabPanel::~LabPanel() {
    // Hiding on the way out must not reach back into the window or this panel.
    disconnect(this, nullptr, this, nullptr);
    form_.drawingArea().setOverlay({});
}

void LabPanel::buildMenu() {
    menu_ = form_.menuBar()->addMenu("&Lab");
    menu_->setObjectName("lab");
    auto add = [this](QMenu* into, const QString& caption, const QKeySequence& keys,
                      bool checkable = false) {
        QAction* action = into->addAction(caption);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(checkable);
        form_.addAction(action); // the keys work wherever the focus is in the window
        return action;
    };
    panel_ = add(menu_, "Lab &Panel", QKeySequence(Qt::CTRL | Qt::Key_L), true);
    connect(panel_, &QAction::triggered, this, [this](bool open) { setVisible(open); });
    menu_->addSeparator();

    QMenu* speedMenu = menu_->addMenu("S&peed");
    speeds_ = new QActionGroup(this);
    for (std::size_t i = 0; i < Speeds.size(); ++i) {
        QAction* speed = speedMenu->addAction(Speeds[i].caption);
        speed->setCheckable(true);
        speeds_->addAction(speed);
        connect(speed, &QAction::triggered, this, [this, i] {
            lab_.setSpeed(static_cast<int>(i));
            showSettings();
        });
    }
    slower_ = add(menu_, "&Slower", QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    faster_ = add(menu_, "&Faster", QKeySequence(Qt::CTRL | Qt::Key_BracketRight));
    step_ = add(menu_, "S&tep", QKeySequence(Qt::Key_F6));
    connect(slower_, &QAction::triggered, this, [this] {
        lab_.slower();
        showSettings();
    });
    connect(faster_, &QAction::triggered, this, [this] {
        lab_.faster();
        showSettings();
    });
    connect(step_, &QAction::triggered, this, [this] { stepClicked(state_); });
    menu_->addSeparator();

    gainShown_ = menu_->addAction(QString());
    gainShown_->setEnabled(false);
    gainUp_ = add(menu_, "Gain &Up", QKeySequence(Qt::CTRL | Qt::Key_Up));
    gainDown_ = add(menu_, "Gain &Down", QKeySequence(Qt::CTRL | Qt::Key_Down));
    connect(gainUp_, &QAction::triggered, this, [this] {
        gainChanged(state_, roundedGain(state_.gain + GainStep));
        showSettings();
    });
    connect(gainDown_, &QAction::triggered, this, [this] {
        gainChanged(state_, roundedGain(state_.gain - GainStep));
        showSettings();
    });
    menu_->addSeparator();

    const std::pair<const char*, bool CueSettings::*> cues[] = {
        {"&Target Marker", &CueSettings::targetMarker},
        {"&Out of Reach", &CueSettings::outOfReach},
        {"Stopped &Banner", &CueSettings::stoppedBanner},
        {"&Ghosts and Reach", &CueSettings::ghosts}};
    int number = 1;
    for (const auto& [caption, cue] : cues) {
        QAction* action =
            add(menu_, caption, QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + number++)),
                true);
        connect(action, &QAction::triggered, this, [this, cue](bool on) {
            lab_.settings().cues.*cue = on;
            showSettings();
        });
        cues_ << action;
    }
    projector_ = add(menu_, "Pro&jector Mode", QKeySequence(Qt::Key_F8), true);
    connect(projector_, &QAction::triggered, this, [this](bool on) {
        lab_.settings().projector = on;
        applyProjectorMode();
        showSettings();
    });
    menu_->addSeparator();
    reset_ = add(menu_, "&Reset", QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(reset_, &QAction::triggered, this, [this] {
        lab_.reset();
        showSettings();
    });
}

void LabPanel::buildPanel() {
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    plot_ = new ErrorPlotView(lab_, body);
    column->addWidget(plot_, 1);

    auto* row = new QHBoxLayout;
    column->addLayout(row);
    auto button = [&](QAction* action, const QString& caption) {
        auto* pushButton = new QPushButton(caption, body);
        pushButton->setAccessibleName(caption);
        connect(pushButton, &QPushButton::clicked, action, &QAction::trigger);
        row->addWidget(pushButton);
    };
    auto* speedLabel = new QLabel("Speed", body);
    speedBox_ = new QComboBox(body);
    speedBox_->setAccessibleName("Speed");
    speedLabel->setBuddy(speedBox_);
    for (const Speed& speed : Speeds) {
        speedBox_->addItem(speed.caption);
    }
    connect(speedBox_, &QComboBox::activated, this,
            [this](int index) { speeds_->actions().at(index)->trigger(); });
    row->addWidget(speedLabel);
    row->addWidget(speedBox_);
    button(step_, "Step");

    auto* gainLabel = new QLabel("Gain", body);
    gainBox_ = new QDoubleSpinBox(body);
    gainBox_->setRange(0, MaxGain);
    gainBox_->setSingleStep(GainStep);
    gainBox_->setDecimals(1);
    gainBox_->setAccessibleName("Gain");
    gainLabel->setBuddy(gainBox_);
    gainSlider_ = new QSlider(Qt::Horizontal, body);
    gainSlider_->setRange(0, static_cast<int>(MaxGain / GainStep));
    gainSlider_->setAccessibleName("Gain slider");
    gainSlider_->setMinimumWidth(120);
    connect(gainBox_, &QDoubleSpinBox::valueChanged, this, [this](double gain) {
        gainChanged(state_, roundedGain(gain));
        showSettings();
    });
    connect(gainSlider_, &QSlider::valueChanged, this, [this](int tenths) {
        gainChanged(state_, roundedGain(tenths * GainStep));
        showSettings();
    });
    row->addWidget(gainLabel);
    row->addWidget(gainBox_);
    row->addWidget(gainSlider_);

    row->addStretch(1);
    button(reset_, "Reset");

    auto* cueRow = new QHBoxLayout;
    column->addLayout(cueRow);
    for (QAction* cue : cues_) {
        auto* box = new QCheckBox(cue->text().remove('&'), body);
        box->setAccessibleName(box->text());
        connect(box, &QCheckBox::clicked, cue, &QAction::trigger);
        cueBoxes_ << box;
        cueRow->addWidget(box);
    }
    projectorBox_ = new QCheckBox("Projector mode", body);
    projectorBox_->setAccessibleName("Projector mode");
    connect(projectorBox_, &QCheckBox::clicked, projector_, &QAction::trigger);
    cueRow->addWidget(projectorBox_);
    cueRow->addStretch(1);
    setWidget(body);
    setMinimumHeight(260);
}

void LabPanel::keepColumnClear() {
    form_.drawingArea().setMinimumSize(isVisible() ? form_.columnExtent() : QSize(0, 0));
}

void LabPanel::applyProjectorMode() {
    const bool on = lab_.settings().projector;
    const double ratio = form_.drawingArea().devicePixelRatioF();
    canvas_.setStrokeWidth(on ? ProjectorStrokePixels : 0);
    canvas_.setFont(on ? boldFont(readoutFont_, ProjectorPoints) : readoutFont_);
    form_.drawingArea().setOverlayStyle(boldFont(readoutFont_, on ? ProjectorPoints : 11),
                                        on ? ProjectorStrokePixels / ratio : 1.5);
    form_.setControlScale(on ? ProjectorScale : 1);
    QFont panelFont = font();
    panelFont.setPointSizeF(on ? 16 : 9);
    widget()->setFont(panelFont);
}

void LabPanel::showSettings() {
    const LabSettings& settings = lab_.settings();
    speeds_->actions().at(settings.speed)->setChecked(true);
    const bool cueOn[] = {settings.cues.targetMarker, settings.cues.outOfReach,
                          settings.cues.stoppedBanner, settings.cues.ghosts};
    for (qsizetype i = 0; i < cues_.size(); ++i) {
        cues_[i]->setChecked(cueOn[i]);
        const QSignalBlocker quiet(cueBoxes_[i]);
        cueBoxes_[i]->setChecked(cueOn[i]);
    }
    if (projector_->isChecked() != settings.projector) {
        projector_->setChecked(settings.projector);
        applyProjectorMode();
    }
    const QSignalBlocker quietProjector(projectorBox_);
    projectorBox_->setChecked(settings.projector);
    const QSignalBlocker quietSpeed(speedBox_);
    speedBox_->setCurrentIndex(settings.speed);
    const QSignalBlocker quietGain(gainBox_);
    gainBox_->setValue(state_.gain);
    const QSignalBlocker quietSlider(gainSlider_);
    gainSlider_->setValue(static_cast<int>(std::lround(state_.gain / GainStep)));
    slower_->setEnabled(settings.speed > 0);
    faster_->setEnabled(settings.speed + 1 < static_cast<int>(Speeds.size()));
    gainShown_->setText(QString("Gain: %1").arg(state_.gain, 0, 'f', 1));
}

void LabPanel::frameShown() {
    if (!isVisible()) {
        return;
    }
    plot_->update();
    if (std::fabs(gainBox_->value() - state_.gain) > 1e-9) {
        showSettings();
    }
}

} // namespace servo
