#pragma once

#include <QFont>

namespace servo {

class Form1;
class Lab;
class LabPanel;
class PersistentCanvas;

// How the whole window looks by the lab's settings: projector mode (thicker lines, larger read-
// outs, cues and controls), the colour profile and the picture's proportions, on the picture,
// the control column and the lab panel alike; and, while the panel is open, a drawing area large
// enough for the column.
class WindowLooks {
public:
    // Applies the look of the lab's settings as they are now.
    WindowLooks(Form1& form, LabPanel& panel, PersistentCanvas& canvas, const Lab& lab);

    // Applies projector mode, the colour profile and the proportions where the lab's settings
    // changed them.
    void follow();
    // Keeps the drawing area, while the panel is open, large enough for the control column.
    void keepColumnClear();

private:
    void applyProjectorMode();
    void applyColourProfile();
    void applyProportions();

    Form1& form_;
    LabPanel& panel_;
    PersistentCanvas& canvas_;
    const Lab& lab_;
    QFont readoutFont_; // the picture's read-out font outside projector mode
    bool appliedProjector_ = false;
};

} // namespace servo
