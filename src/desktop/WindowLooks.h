#pragma once

#include <QFont>
#include <QObject>

namespace servo {

class Form1;
class Lab;
class LabPanel;
class PersistentCanvas;

// How the whole window looks by the lab's settings: projector mode (thicker lines, larger read-
// outs, cues and controls), the colour profile and the picture's proportions, on the picture,
// the control column and the lab panel alike; and how it fits its screen: while the panel is
// open, a drawing area large enough for the column, and never a window taller than the screen
// can show.
class WindowLooks : public QObject {
public:
    // Applies the look of the lab's settings as they are now.
    WindowLooks(Form1& form, LabPanel& panel, PersistentCanvas& canvas, const Lab& lab);

    // Applies projector mode, the colour profile and the proportions where the lab's settings
    // changed them.
    void follow();
    // Fits the window to its screen's height while the panel is open: the panel keeps every
    // one of its controls and the picture gives up its room first; the control column keeps
    // its look's scale where the picture's height holds it, and shrinks to that height where
    // not, and the drawing area is kept large enough for it. In projector mode the panel's
    // larger text and the column give up size together, each keeping about the same share of
    // its projector size. With the panel closed the column has its look's scale.
    void keepColumnClear();

protected:
    // The window's width (the panel's rows wrap by it) and the panel's texts change the fit.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyProjectorMode();
    void applyColourProfile();
    void applyProportions();
    // The height the window's client area (under the menu bar) can have on its screen.
    int clientRoom() const;
    // The panel's text size, points.
    void setPanelPoints(double points);
    // The column's scale for the room the panel leaves it, applied; the scale.
    double fitColumn();
    // Widens a window narrower than the open panel's rows, within its screen.
    void widenForPanel();
    // Moves a window back onto its screen where it grew past an edge.
    void keepOnScreen();

    Form1& form_;
    LabPanel& panel_;
    PersistentCanvas& canvas_;
    const Lab& lab_;
    QFont readoutFont_; // the picture's read-out font outside projector mode
    bool appliedProjector_ = false;
    bool fitting_ = false;
};

} // namespace servo
