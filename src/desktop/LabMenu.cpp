#include "desktop/LabMenu.h"

#include "core/language/Translation.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "desktop/Form1.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace servo {

LabMenu::LabMenu(QMainWindow& window, Lesson& lesson) : window_(window), lesson_(lesson) {
    menu_ = window_.menuBar()->addMenu(LabMenuCaption);
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
                radios = new QActionGroup(menu_);
            }
            into = submenu;
        } else if (item.separatorBefore) {
            menu_->addSeparator();
        }
        QAction* action = into->addAction(QString::fromStdString(item.caption));
        action->setObjectName(item.name);
        action->setCheckable(item.check != Check::None);
        if (item.check == Check::Radio && radios != nullptr) {
            radios->addAction(action);
        }
        if (!item.keys.empty()) {
            action->setShortcut(keySequenceOf(item));
            action->setShortcutContext(Qt::WindowShortcut);
            window_.addAction(action); // the keys work wherever the focus is in the window
        }
        connect(action, &QAction::triggered, this, [this, item = &item] { perform(*item); });
        actions_.emplace_back(action, &item);
    }
    retranslate();
}

void LabMenu::perform(const MenuItem& item) {
    lesson_.perform(item);
    if (performed_) {
        performed_(item);
    }
}

QAction* LabMenu::action(Command command, int index) const {
    for (auto [action, item] : actions_) {
        if (item->command == command && item->index == index) {
            return action;
        }
    }
    return nullptr;
}

QList<QAction*> LabMenu::cueActions() const {
    QList<QAction*> cues;
    for (std::size_t i = 0; i < Cues.size(); ++i) {
        cues << action(Command::Cue, static_cast<int>(i));
    }
    return cues;
}

void LabMenu::showView(const View& view) {
    for (auto [action, item] : actions_) {
        const View::Item& shown =
            view.labMenu[static_cast<std::size_t>(item - labMenuItems().data())];
        if (action->isChecked() != shown.checked) {
            action->setChecked(shown.checked);
        }
        action->setEnabled(shown.enabled);
        if (item->command == Command::GainShown || item->command == Command::Record) {
            action->setText(QString::fromStdString(shown.caption));
        }
    }
}

void LabMenu::retranslate() {
    const auto text = [](const std::string& english) {
        return QString::fromUtf8(servo::tr(english.c_str()));
    };
    menu_->setTitle(text(LabMenuCaption));
    for (auto [submenu, caption] : submenus_) {
        submenu->setTitle(text(caption));
    }
    for (auto [action, item] : actions_) {
        // Languages keep their own names.
        action->setText(item->command == Command::Language ? QString::fromStdString(item->caption)
                                                           : text(item->caption));
    }
}

} // namespace servo
