#include "desktop/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace servo {

namespace {

// A widget with a role of its own and no accessible children.
class LeafAccessible : public QAccessibleWidget {
public:
    LeafAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

// A heading's name is its caption (the accessible name set with it, else the text shown).
class HeadingAccessible : public LeafAccessible {
public:
    explicit HeadingAccessible(QLineEdit* box) : LeafAccessible(box, QAccessible::StaticText) {}
    QString text(QAccessible::Text which) const override {
        const auto* box = static_cast<const QLineEdit*>(widget());
        if (which == QAccessible::Name && box->accessibleName().isEmpty()) {
            return box->text();
        }
        return QAccessibleWidget::text(which);
    }
};

// A combo box named by its accessible name (its label's caption), its current item the value;
// its one child is the list it pops up, as Qt's own combo box has it.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    int childCount() const override { return box()->view() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && box()->view() != nullptr
                   ? QAccessible::queryAccessibleInterface(box()->view())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && box()->view() != nullptr && child->object() == box()->view()
                   ? 0
                   : -1;
    }
    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(which);
    }
    QAccessible::State state() const override {
        QAccessible::State now = QAccessibleWidget::state();
        now.expandable = true;
        now.expanded = box()->view() != nullptr && box()->view()->isVisible();
        return now;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) {
            box()->showPopup();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

QAccessibleInterface* windowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("servo::DrawingArea")) {
        return new LeafAccessible(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    if (className == QLatin1String("servo::HeadingBox")) {
        return new HeadingAccessible(static_cast<QLineEdit*>(object));
    }
    if (className == QLatin1String("servo::LabelledComboBox")) {
        return new ComboBoxAccessible(static_cast<QComboBox*>(object));
    }
    return nullptr;
}

} // namespace

void installAccessibleFactories() {
    QAccessible::installFactory(windowFactory); // installs it once, however often called
}

} // namespace servo
