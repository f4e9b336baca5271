#pragma once

#include "core/commands/Commands.h"

#include <QList>
#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace servo {

class Lesson;
struct View;

// The "Lab" menu after "About": one action for each of the core's lab items the window shows,
// in its submenus, with the items' keys working wherever the focus is in the window. An item
// acts through the lesson; what only the window can do (open the panel, files, dialogs) is left
// to the `performed` hook, which hears every item after the lesson did its part.
class LabMenu : public QObject {
    Q_OBJECT

public:
    using Performed = std::function<void(const MenuItem&)>;

    LabMenu(QMainWindow& window, Lesson& lesson);

    void setPerformed(Performed performed) { performed_ = std::move(performed); }

    // Shows every item's check mark, enabled state and changing caption as the core's view
    // has them.
    void showView(const View& view);
    // Shows the menu's texts in the language now chosen.
    void retranslate();

    QMenu* menu() const { return menu_; }
    // Every action with its item, in the menu's order.
    const std::vector<std::pair<QAction*, const MenuItem*>>& actions() const { return actions_; }
    // The action of a command (and index, for a speed or a cue).
    QAction* action(Command command, int index = 0) const;
    QAction* panelAction() const { return action(Command::LabPanel); }
    QAction* slowerAction() const { return action(Command::Slower); }
    QAction* fasterAction() const { return action(Command::Faster); }
    QAction* stepAction() const { return action(Command::Step); }
    QAction* gainUpAction() const { return action(Command::GainUp); }
    QAction* gainDownAction() const { return action(Command::GainDown); }
    QAction* projectorAction() const { return action(Command::Projector); }
    QAction* resetAction() const { return action(Command::Reset); }
    QList<QAction*> cueActions() const;

private:
    void perform(const MenuItem& item);

    QMainWindow& window_;
    Lesson& lesson_;
    Performed performed_;
    QMenu* menu_ = nullptr;
    std::vector<std::pair<QMenu*, const char*>> submenus_; // with their English captions
    std::vector<std::pair<QAction*, const MenuItem*>> actions_;
};

} // namespace servo
