#pragma once

#include "core/state/Geometry.h"
#include "desktop/PersistentCanvas.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace servo {

// A clear keyboard-focus mark for the window's controls: a ring drawn around whichever control
// of `area` has the focus, in a colour that stands out against the window's background. The
// platform style's own focus marks are faint or missing on the buttons, the scroll bar and the
// check boxes. When `picture` (one of the area's widgets) has the focus the ring runs along its
// edges.
// The ring takes no input and follows the control when it moves.
class FocusRing : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 2; // logical pixels
    static constexpr int Gap = 1;   // between the control and the ring
    FocusRing(QWidget* area, QWidget* picture);

    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

    // The control the ring surrounds, or nullptr while no control of the area has the focus.
    QWidget* target() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();

    QWidget* picture_;
    QPointer<QWidget> target_;
    QColor colour_ = PersistentCanvas::toQColor(FocusRingColour);
};

} // namespace servo
