#pragma once

#include <QComboBox>
#include <QLineEdit>

namespace servo {

// What the window's own widgets are to a screen reader, where Qt's defaults say otherwise:
// - the picture (DrawingArea) is a graphic, with no children;
// - a HeadingBox (a caption over a group of controls, in the keyboard order but not for typing)
//   is static text named by its caption;
// - a LabelledComboBox is named by its label (Qt names a combo box by its current item on
//   Unix, leaving the label to a relation) and tells its current item as its value.
// Installed once, before the first widget is asked for.
void installAccessibleFactories();

class HeadingBox : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;
};

class LabelledComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
};

} // namespace servo
