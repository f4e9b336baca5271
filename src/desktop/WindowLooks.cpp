#include "desktop/WindowLooks.h"

#include "core/access/ColourProfile.h"
#include "core/lab/Lab.h"
#include "core/lab/Projector.h"
#include "desktop/DrawingArea.h"
#include "desktop/ErrorPlotView.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"
#include "desktop/PersistentCanvas.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>

namespace servo {

namespace {

// The column of controls shrinks to fit a short screen, but no further than this: below it its
// captions would no longer be read, and a window a little taller than the screen serves better.
constexpr double SmallestControlScale = 0.6;

QFont boldFont(const QFont& base, double points) {
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The application's colours with every role set, so that none is taken from the parent.
QPalette systemColours() {
    const QPalette system = QApplication::palette();
    QPalette colours;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colourRole = static_cast<QPalette::ColorRole>(role);
            colours.setBrush(group, colourRole, system.brush(group, colourRole));
        }
    }
    return colours;
}

} // namespace

WindowLooks::WindowLooks(Form1& form, LabPanel& panel, PersistentCanvas& canvas, const Lab& lab)
    : form_(form), panel_(panel), canvas_(canvas), lab_(lab), readoutFont_(canvas.font()) {
    form_.installEventFilter(this);
    panel_.widget()->installEventFilter(this);
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

int WindowLooks::clientRoom() const {
    const QScreen* screen = form_.screen();
    if (screen == nullptr) {
        return std::numeric_limits<int>::max() / 2;
    }
    const QWindow* window = form_.windowHandle();
    const QMargins frame = window != nullptr ? window->frameMargins() : QMargins();
    return screen->availableGeometry().height() - frame.top() - frame.bottom() -
           form_.menuBar()->height();
}

void WindowLooks::keepColumnClear() {
    if (fitting_) {
        return;
    }
    fitting_ = true;
    const bool open = !panel_.isHidden();
    if (open) {
        widenForPanel();
    }
    const bool projector = lab_.settings().projector;
    double points = projector ? ProjectorLabPanelPoints : LabPanelPoints;
    setPanelPoints(points);
    double scale = fitColumn();
    // On a short screen the panel's larger text of projector mode and the column give up size
    // together, neither keeping a larger share of its projector size than the other (the text
    // no smaller than the panel's own).
    const auto share = [](double value, double full) { return value / full; };
    while (open && projector && points > LabPanelPoints &&
           share(scale, ProjectorControlScale) < share(points, ProjectorLabPanelPoints)) {
        points = std::max(LabPanelPoints, points - 1);
        setPanelPoints(points);
        scale = fitColumn();
    }
    fitting_ = false;
}

void WindowLooks::setPanelPoints(double points) {
    QWidget* body = panel_.widget();
    if (body->font().pointSizeF() != points) {
        QFont font = panel_.font();
        font.setPointSizeF(points);
        body->setFont(font);
    }
}

double WindowLooks::fitColumn() {
    const bool open = !panel_.isHidden();
    // The panel spans the window; once shown, its body's own width counts.
    const QWidget* body = panel_.widget();
    const int width = panel_.isVisible() && body->width() > 0 ? body->width() : form_.width();
    // The panel and the separator the window puts between it and the picture.
    const int panelHeight =
        open ? panel_.fitHeight(width) +
                   form_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &form_)
             : 0;
    const double wanted = lab_.settings().projector ? ProjectorControlScale : 1;
    // The column's height at scale 1, and the room the picture has left for it.
    const double unitHeight = form_.columnExtent().height() / form_.controlScale();
    const int room = clientRoom() - panelHeight;
    // With the panel closed the column keeps its look's scale, as the window always had it.
    const double scale =
        open ? std::clamp(room / unitHeight, SmallestControlScale, wanted) : wanted;
    if (std::abs(scale - form_.controlScale()) > 1e-3) {
        form_.setControlScale(scale);
    }
    form_.drawingArea().setMinimumSize(open ? form_.columnExtent() : QSize(0, 0));
    return scale;
}

bool WindowLooks::eventFilter(QObject* watched, QEvent* event) {
    const bool widthChanged = watched == &form_ && event->type() == QEvent::Resize &&
                              static_cast<QResizeEvent*>(event)->oldSize().width() != form_.width();
    const bool panelChanged =
        watched == panel_.widget() &&
        (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize);
    const bool screenChanged = watched == &form_ && event->type() == QEvent::ScreenChangeInternal;
    if (widthChanged || screenChanged) {
        keepColumnClear();
    } else if (panelChanged && !fitting_) {
        // The panel's rows changed (a caption, a language): the column follows, the panel's
        // text keeps its size.
        fitting_ = true;
        fitColumn();
        fitting_ = false;
    }
    if (watched == &form_ && event->type() == QEvent::Resize) {
        keepOnScreen();
    }
    return false;
}

void WindowLooks::widenForPanel() {
    // A window narrower than the panel's rows (not maximised, or no window manager made it so)
    // widens, as far as its screen allows, until each row fits on one line, rather than stack
    // them under a narrow picture. A maximised window is as wide as it can be already.
    const QScreen* screen = form_.screen();
    if (screen == nullptr) {
        return;
    }
    const QWindow* window = form_.windowHandle();
    const QMargins frame = window != nullptr ? window->frameMargins() : QMargins();
    const int wanted = std::min(panel_.sizeHint().width(),
                                screen->availableGeometry().width() - frame.left() - frame.right());
    if (form_.width() < wanted) {
        form_.resize(wanted, form_.height());
    }
}

void WindowLooks::keepOnScreen() {
    // A window grown by the open panel past an edge of its screen (not maximised, or no window
    // manager made it so) moves back onto the screen. A maximised window is on it already.
    const QScreen* screen = form_.screen();
    if (screen == nullptr || !form_.isVisible() || panel_.isHidden()) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect frame = form_.frameGeometry();
    if (available.contains(frame)) {
        return;
    }
    const auto within = [](int at, int size, int start, int room) {
        return std::max(start, std::min(at, start + room - size));
    };
    form_.move(within(frame.x(), frame.width(), available.x(), available.width()),
               within(frame.y(), frame.height(), available.y(), available.height()));
}

void WindowLooks::applyColourProfile() {
    const ColourProfile profile = colourProfileOf(lab_.settings());
    canvas_.setProfile(profile);
    form_.setLook(windowLook(profile));
    // The controls with faces of their own (buttons, scroll bars, spin boxes, combo boxes,
    // sliders) draw their arrows and marks in the window's text colour on their faces: on the
    // high-contrast form's light text that would be light on light. They keep the system's
    // colours there, dark arrows on light faces, each face standing out from the black form.
    const bool own = profile == ColourProfile::HighContrast;
    const QPalette system = systemColours();
    for (QWidget* control : form_.findChildren<QWidget*>()) {
        const bool faced = qobject_cast<QPushButton*>(control) != nullptr ||
                           qobject_cast<QAbstractSlider*>(control) != nullptr ||
                           qobject_cast<QAbstractSpinBox*>(control) != nullptr ||
                           qobject_cast<QComboBox*>(control) != nullptr;
        if (faced) {
            control->setPalette(own ? system : QPalette());
        }
    }
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
    keepColumnClear(); // the panel's text and the column at their sizes for the screen
}

} // namespace servo
