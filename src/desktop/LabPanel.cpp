#include "desktop/LabPanel.h"

#include "core/access/Announcer.h"
#include "core/lab/Lab.h"
#include "core/lab/Projector.h"
#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "desktop/Accessibility.h"
#include "desktop/DrawingArea.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/Form1.h"
#include "desktop/LessonFiles.h"
#include "desktop/MessageBoxes.h"
#include "desktop/PersistentCanvas.h"

#include <QAbstractButton>
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

QFont boldFont(const QFont& base, double points) {
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QString captionOf(const std::string& caption) {
    return QString::fromStdString(caption);
}

} // namespace

LabPanel::LabPanel(Form1& form, Lesson& lesson, SimulationState& state, PersistentCanvas& canvas)
    : QDockWidget(LabPanelTitle, &form), form_(form), lesson_(lesson), lab_(lesson.lab()),
      files_(std::make_unique<LessonFiles>(form, lesson, form.drawingArea(),
                                           [this](std::optional<bool> open) {
                                               if (open && *open != isVisible()) {
                                                   setVisible(*open);
                                               }
                                               return isVisible();
                                           })),
      state_(state), canvas_(canvas), readoutFont_(canvas.font()) {
    setObjectName("LabPanel");
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::BottomDockWidgetArea);
    buildMenu();
    buildPanel();
    form_.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
    connect(this, &QDockWidget::visibilityChanged, this, [this] {
        showSettings();
        keepColumnClear();
    });
    form_.drawingArea().setOverlay([this](DrawingSurface& layer) {
        if (lab_.anyCue()) {
            lab_.drawCues(layer);
        }
    });
    applyProjectorMode();
    retranslate();
    showSettings();
}

LabPanel::~LabPanel() {
    // Hiding on the way out must not reach back into the window or this panel.
    disconnect(this, nullptr, this, nullptr);
    form_.drawingArea().setOverlay({});
    form_.menuBar()->setCornerWidget(nullptr);
    delete lessonStatus_;
}

void LabPanel::buildMenu() {
    lessonStatus_ = new QLabel(&form_);
    lessonStatus_->setObjectName("lessonStatus");
    lessonStatus_->setStyleSheet("QLabel { background: #a00018; color: white; font-weight: bold;"
                                 " padding: 1px 8px; border-radius: 3px; }");
    lessonStatus_->hide();
    form_.menuBar()->setCornerWidget(lessonStatus_);
    menu_ = form_.menuBar()->addMenu(LabMenuCaption);
    menu_->setObjectName(LabMenuName);
    QMenu* submenu = nullptr;
    const char* submenuCaption = nullptr;
    QActionGroup* radios = nullptr; // a submenu's radio items: one of them checked
    for (const MenuItem& item : labMenuItems()) {
        if (item.edition == Edition::Page) {
            continue;
        }
        QMenu* into = menu_;
        if (item.submenu != nullptr) {
            if (submenu == nullptr || submenuCaption != item.submenu) {
                if (item.separatorBefore) {
                    menu_->addSeparator();
                }
                submenu = menu_->addMenu(item.submenu);
                submenuCaption = item.submenu;
                submenus_.emplace_back(submenu, item.submenu);
                radios = new QActionGroup(this);
            }
            into = submenu;
        } else if (item.separatorBefore) {
            menu_->addSeparator();
        }
        QAction* action = into->addAction(captionOf(item.caption));
        action->setObjectName(item.name);
        action->setCheckable(item.check != Check::None);
        if (item.check == Check::Radio && radios != nullptr) {
            radios->addAction(action);
        }
        if (!item.keys.empty()) {
            action->setShortcut(keySequenceOf(item));
            action->setShortcutContext(Qt::WindowShortcut);
            form_.addAction(action); // the keys work wherever the focus is in the window
        }
        connect(action, &QAction::triggered, this, [this, item = &item] { perform(*item); });
        actions_.emplace_back(action, &item);
    }
}

void LabPanel::perform(const MenuItem& item) {
    lesson_.perform(item);
    switch (item.command) {
    case Command::LabPanel:
        setVisible(!isVisible());
        break;
    case Command::Describe:
        form_.announce(Announcer::wholeState(lab_), Announcer::summary(lab_));
        break;
    case Command::Keys:
        showKeysHelp(&form_);
        break;
    case Command::Record:
        files_->toggleRecording();
        break;
    case Command::PlayRecording:
        files_->playRecording();
        break;
    case Command::SaveExperiment:
        files_->saveExperiment();
        break;
    case Command::OpenExperiment:
        files_->openExperiment();
        break;
    case Command::ExportPlotData:
        files_->exportPlotData();
        break;
    case Command::ExportPicture:
        files_->exportPicture();
        break;
    case Command::Language:
        form_.retranslate();
        break;
    default:
        break;
    }
    showSettings();
    showLessonState();
}

QAction* LabPanel::action(Command command, int index) const {
    for (auto [action, item] : actions_) {
        if (item->command == command && item->index == index) {
            return action;
        }
    }
    return nullptr;
}

QList<QAction*> LabPanel::cueActions() const {
    QList<QAction*> cues;
    for (std::size_t i = 0; i < Cues.size(); ++i) {
        cues << action(Command::Cue, static_cast<int>(i));
    }
    return cues;
}

void LabPanel::buildPanel() {
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    plot_ = new ErrorPlotView(lab_, body);
    column->addWidget(plot_, 1);

    auto* row = new QHBoxLayout;
    column->addLayout(row);
    auto button = [&](Command command) {
        auto* pushButton = new QPushButton(body);
        captioned_.push_back({pushButton, menuItem(command).caption, true});
        connect(pushButton, &QPushButton::clicked, action(command), &QAction::trigger);
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
            [this](int index) { action(Command::Speed, index)->trigger(); });
    row->addWidget(speedLabel);
    row->addWidget(speedBox_);
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
        showSettings();
    });
    connect(gainSlider_, &QSlider::valueChanged, this, [this](int tenths) {
        lesson_.submit(inputLine("enter-gain", tenths * GainStep));
        showSettings();
    });
    row->addWidget(gainLabel);
    row->addWidget(gainBox_);
    row->addWidget(gainSlider_);

    row->addStretch(1);
    button(Command::Reset);

    buildSchemeRow(body, column);

    auto* cueRow = new QHBoxLayout;
    column->addLayout(cueRow);
    for (auto [action, item] : actions_) {
        if (item->command == Command::Cue || item->command == Command::Projector ||
            item->command == Command::HighContrast) {
            auto* box = new QCheckBox(body);
            captioned_.push_back({box, item->caption, true});
            connect(box, &QCheckBox::clicked, action, &QAction::trigger);
            panelBoxes_.emplace_back(box, item);
            cueRow->addWidget(box);
        }
    }
    cueRow->addStretch(1);
    setWidget(body);
    setMinimumHeight(260);
}

void LabPanel::buildSchemeRow(QWidget* body, QBoxLayout* column) {
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    auto labelled = [&](const char* caption, QWidget* control) {
        auto* label = new QLabel(body);
        label->setBuddy(control);
        captioned_.push_back({label, caption, true});
        captioned_.push_back({control, caption, false});
        row->addWidget(label);
        row->addWidget(control);
    };
    schemeBox_ = new LabelledComboBox(body);
    raceBox_ = new LabelledComboBox(body);
    raceBox_->addItem({});
    for (std::size_t i = 0; i < allSchemes().size(); ++i) {
        schemeBox_->addItem({});
        raceBox_->addItem({});
    }
    connect(schemeBox_, &QComboBox::activated, this, [this](int index) {
        lesson_.submit(schemeChoices().at(static_cast<std::size_t>(index)).line);
        showSettings();
    });
    connect(raceBox_, &QComboBox::activated, this, [this](int index) {
        lesson_.submit(raceChoices().at(static_cast<std::size_t>(index)).line);
        showSettings();
    });
    dampingBox_ = new QDoubleSpinBox(body);
    dampingBox_->setRange(0, MaxDampingLambda);
    dampingBox_->setSingleStep(DampingStep);
    dampingBox_->setDecimals(1);
    connect(dampingBox_, &QDoubleSpinBox::valueChanged, this, [this](double lambda) {
        lesson_.submit(inputLine("enter-lambda", lambda));
        showSettings();
    });
    labelled(SchemeCaption, schemeBox_);
    labelled(RaceCaption, raceBox_);
    labelled(DampingCaption, dampingBox_);
    row->addStretch(1);
}

void LabPanel::retranslate() {
    const auto text = [](const std::string& english) {
        return QString::fromUtf8(servo::tr(english.c_str()));
    };
    setWindowTitle(text(LabPanelTitle));
    plot_->setAccessibleName(text(PlotCaption));
    menu_->setTitle(text(LabMenuCaption));
    for (auto [submenu, caption] : submenus_) {
        submenu->setTitle(text(caption));
    }
    for (auto [action, item] : actions_) {
        // Languages keep their own names.
        action->setText(item->command == Command::Language ? captionOf(item->caption)
                                                           : text(item->caption));
    }
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
    raceBox_->setItemText(0, text(NoRaceCaption));
    const std::vector<const ServoScheme*> schemes = labSchemeList();
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        schemeBox_->setItemText(static_cast<int>(i), text(schemes[i]->caption));
        raceBox_->setItemText(static_cast<int>(i + 1), text(schemes[i]->caption));
    }
    showSettings();
}

void LabPanel::keepColumnClear() {
    form_.drawingArea().setMinimumSize(isVisible() ? form_.columnExtent() : QSize(0, 0));
}

void LabPanel::applyColourProfile() {
    const ColourProfile profile = colourProfileOf(lab_.settings());
    canvas_.setProfile(profile);
    form_.setLook(windowLook(profile));
    form_.drawingArea().update();
    plot_->update();
}

void LabPanel::applyProjectorMode() {
    const bool on = lab_.settings().projector;
    appliedProjector_ = on;
    const double ratio = form_.drawingArea().devicePixelRatioF();
    canvas_.setStrokeWidth(on ? ProjectorStrokePixels : 0);
    canvas_.setFont(on ? boldFont(readoutFont_, ProjectorPoints) : readoutFont_);
    form_.drawingArea().setOverlayStyle(boldFont(readoutFont_, on ? ProjectorPoints : CuePoints),
                                        on ? ProjectorStrokePixels / ratio : CueStrokePixels);
    form_.setControlScale(on ? ProjectorControlScale : 1);
    QFont panelFont = font();
    panelFont.setPointSizeF(on ? ProjectorLabPanelPoints : LabPanelPoints);
    widget()->setFont(panelFont);
}

void LabPanel::showSettings() {
    form_.showControls(); // a scheme chosen here checks or unchecks the servo boxes
    const LabSettings& settings = lab_.settings();
    for (auto [action, item] : actions_) {
        const ItemState shown = lesson_.itemState(*item, isVisible());
        if (action->isChecked() != shown.checked) {
            action->setChecked(shown.checked);
        }
        action->setEnabled(shown.enabled);
        if (item->command == Command::GainShown || item->command == Command::Record) {
            action->setText(QString::fromUtf8(servo::tr(shown.caption.c_str())));
        }
    }
    for (auto [box, item] : panelBoxes_) {
        const QSignalBlocker quiet(box);
        box->setChecked(lesson_.itemState(*item, isVisible()).checked);
    }
    if (appliedProjector_ != settings.projector) {
        applyProjectorMode();
    }
    if (canvas_.profile() != colourProfileOf(settings)) {
        applyColourProfile();
    }
    const QSignalBlocker quietScheme(schemeBox_);
    schemeBox_->setCurrentIndex(labPlaceOf(state_.servoType));
    const QSignalBlocker quietRace(raceBox_);
    raceBox_->setCurrentIndex(labPlaceOf(lab_.race().scheme()) + 1);
    const QSignalBlocker quietDamping(dampingBox_);
    dampingBox_->setValue(state_.dampingLambda);
    const QSignalBlocker quietSpeed(speedBox_);
    speedBox_->setCurrentIndex(settings.speed);
    const QSignalBlocker quietGain(gainBox_);
    gainBox_->setValue(state_.gain);
    const QSignalBlocker quietSlider(gainSlider_);
    gainSlider_->setValue(static_cast<int>(std::lround(state_.gain / GainStep)));
}

void LabPanel::frameShown() {
    showLessonState();
    if (!isVisible()) {
        return;
    }
    plot_->update();
    if (std::fabs(gainBox_->value() - state_.gain) > 1e-9 ||
        schemeBox_->currentIndex() != labPlaceOf(state_.servoType)) {
        showSettings();
    }
}

void LabPanel::showLessonState() {
    const QString status = QString::fromStdString(lesson_.status());
    if (lessonStatus_->text() != status) {
        lessonStatus_->setText(status);
        lessonStatus_->setVisible(!status.isEmpty());
    }
    if (shownPlaying_ != lesson_.playing() || shownRecording_ != lesson_.recording()) {
        shownPlaying_ = lesson_.playing();
        shownRecording_ = lesson_.recording();
        form_.setInputEnabled(!shownPlaying_);
        for (QWidget* control : std::initializer_list<QWidget*>{gainBox_, gainSlider_, schemeBox_,
                                                                raceBox_, dampingBox_}) {
            control->setEnabled(!shownPlaying_);
        }
        showSettings();
    }
}

} // namespace servo
