#include "desktop/DesktopSimulator.h"

#include "core/access/Announcer.h"
#include "core/simulation/ServoSchemes.h"
#include "desktop/DrawingArea.h"
#include "desktop/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>

namespace servo {

DesktopSimulator::DesktopSimulator() {
    simulation.setYield([this] { form.yieldToEvents(); });
    labMenu.setPerformed([this](const MenuItem& item) { performed(item); });
    form.setRefresh([this] { show(viewOf(lesson, labPanel.isVisible())); });
    QObject::connect(&form, &Form1::retranslated, &labPanel, [this] {
        labMenu.retranslate();
        labPanel.retranslate();
        lawEditor.retranslate();
        challenges.retranslate();
    });
    files.setOpened([this] { focusSchemeInForce(); });
    files.setChallengeOpened([this] { challenges.open(); });
    QObject::connect(&labPanel, &QDockWidget::visibilityChanged, &labPanel, [this] {
        looks.follow();
        looks.keepColumnClear();
    });
}

void DesktopSimulator::performed(const MenuItem& item) {
    switch (item.command) {
    case Command::LabPanel:
        labPanel.setVisible(!labPanel.isVisible());
        break;
    case Command::Describe: {
        const std::string whole = Announcer::wholeState(lab);
        form.announce(whole, Announcer::summary(lab));
        voicing.speak(whole, lab.settings().voicing);
        break;
    }
    case Command::Keys:
        showKeysHelp(&form);
        break;
    case Command::LawEditor:
        lawEditor.open();
        break;
    case Command::Challenges:
        challenges.open();
        break;
    case Command::Record:
        files.toggleRecording();
        break;
    case Command::PlayRecording:
        files.playRecording();
        break;
    case Command::SaveExperiment:
        files.saveExperiment();
        break;
    case Command::OpenExperiment:
        files.openExperiment();
        break;
    case Command::ExportPlotData:
        files.exportPlotData();
        break;
    case Command::ExportPicture:
        files.exportPicture();
        break;
    case Command::Language:
        form.retranslate();
        break;
    default:
        break;
    }
    form.showControls();
}

void DesktopSimulator::focusSchemeInForce() {
    form.showControls();
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    QWidget* control = &form.drawingArea();
    if (scheme != nullptr && scheme->box != NoBox) {
        control = form.checkBox(scheme->box);
    } else if (labPanel.isVisible()) {
        control = labPanel.schemeBox();
    }
    control->setFocus(Qt::OtherFocusReason);
}

void DesktopSimulator::show(const View& view) {
    form.showView(view);
    labMenu.showView(view);
    labPanel.showView(view);
    lawEditor.showView(view);
    challenges.showView(view);
    looks.follow();
}

void DesktopSimulator::afterFrame(double nowSeconds) {
    const View view = viewer.afterPass(lesson, labPanel.isVisible(), nowSeconds);
    show(view);
    form.announce(view.announcement,
                  view.pictureName.empty() ? std::nullopt : std::optional(view.pictureName));
    voicing.follow(view);
    sound.play(viewer.sound(), view.sound);
}

bool DesktopSimulator::panelOpen(std::optional<bool> open) {
    if (open && *open != labPanel.isVisible()) {
        labPanel.setVisible(*open);
    }
    return labPanel.isVisible();
}

} // namespace servo
