#include "desktop/WindowLooks.h"

#include "core/access/ColourProfile.h"
#include "core/lab/Lab.h"
#include "core/lab/Projector.h"
#include "desktop/DrawingArea.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"
#include "desktop/PersistentCanvas.h"

namespace servo {

namespace {

QFont boldFont(const QFont& base, double points) {
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

} // namespace

WindowLooks::WindowLooks(Form1& form, LabPanel& panel, PersistentCanvas& canvas, const Lab& lab)
    : form_(form), panel_(panel), canvas_(canvas), lab_(lab), readoutFont_(canvas.font()) {
    applyProjectorMode();
    if (canvas_.profile() != colourProfileOf(lab_.settings())) {
        applyColourProfile();
    }
    applyProportions();
}

void WindowLooks::follow() {
    if (appliedProjector_ != lab_.settings().projector) {
        applyProjectorMode();
    }
    if (canvas_.profile() != colourProfileOf(lab_.settings())) {
        applyColourProfile();
    }
    if (canvas_.trueProportions() != lab_.settings().trueProportions) {
        applyProportions();
    }
}

void WindowLooks::keepColumnClear() {
    form_.drawingArea().setMinimumSize(panel_.isVisible() ? form_.columnExtent() : QSize(0, 0));
}

void WindowLooks::applyColourProfile() {
    const ColourProfile profile = colourProfileOf(lab_.settings());
    canvas_.setProfile(profile);
    form_.setLook(windowLook(profile));
    form_.drawingArea().update();
    panel_.plot()->update();
}

void WindowLooks::applyProportions() {
    canvas_.setTrueProportions(lab_.settings().trueProportions);
    form_.drawingArea().update();
}

void WindowLooks::applyProjectorMode() {
    const bool on = lab_.settings().projector;
    appliedProjector_ = on;
    const double ratio = form_.drawingArea().devicePixelRatioF();
    canvas_.setStrokeWidth(on ? ProjectorStrokePixels : 0);
    canvas_.setFont(on ? boldFont(readoutFont_, ProjectorPoints) : readoutFont_);
    form_.drawingArea().setOverlayStyle(boldFont(readoutFont_, on ? ProjectorPoints : CuePoints),
                                        on ? ProjectorStrokePixels / ratio : CueStrokePixels);
    form_.setControlScale(on ? ProjectorControlScale : 1);
    keepColumnClear();
    QFont panelFont = panel_.font();
    panelFont.setPointSizeF(on ? ProjectorLabPanelPoints : LabPanelPoints);
    panel_.widget()->setFont(panelFont);
}

} // namespace servo
