#include "desktop/MessageBoxes.h"

#include "core/commands/Commands.h"
#include "core/interfaces/ControlCaptions.h"
#include "core/language/Translation.h"
#include "core/teaching/MessageTexts.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>

#include <optional>

namespace servo {

namespace {

// Keeps a box centred on its parent window while the parent moves or changes size under it
// (the start-up notice opens while the window manager is still maximising the window).
class CentreOnParent : public QObject {
public:
    CentreOnParent(QWidget& box, QWidget& parent) : box_(box), parent_(parent) {
        parent_.installEventFilter(this);
        box_.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((watched == &parent_ && (type == QEvent::Resize || type == QEvent::Move)) ||
            (watched == &box_ && type == QEvent::Show)) {
            const QRect frame = parent_.frameGeometry();
            box_.move(frame.center() - QPoint(box_.width() / 2, box_.height() / 2));
        }
        return false;
    }

private:
    QWidget& box_;
    QWidget& parent_;
};

void showPlainBox(QWidget* parent, const QString& title, const QString& text,
                  Qt::TextFormat format = Qt::PlainText) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(tr(OkCaption)));
    box.setTextFormat(format);
    box.setEscapeButton(QMessageBox::Ok);
    box.setObjectName("servoMessageBox");
    std::optional<CentreOnParent> centred;
    if (parent != nullptr) {
        centred.emplace(box, *parent);
    }
    box.exec();
}

} // namespace

void showStartUpNotice(QWidget* parent) {
    showPlainBox(parent, QString::fromUtf8(tr(NoticeTitle)), QString::fromUtf8(tr(NoticeText)));
}

void showAboutBox(QWidget* parent) {
    showPlainBox(parent, QString::fromUtf8(tr(AboutTitle)),
                 QString::fromStdString(aboutText("Qt")));
}

void showKeysHelp(QWidget* parent) {
    // The gap between the columns is the second cell's padding, not spaces before its text,
    // so that a description that wraps lines up under its own first line; each row's keys
    // stand at the top of the row.
    QString rows;
    for (const KeyHelpRow& row : keyHelp(Edition::Desktop)) {
        rows += QString("<tr><td valign=\"top\"><b>%1</b></td>"
                        "<td valign=\"top\" style=\"padding-left: 12px\">%2</td></tr>")
                    .arg(QString::fromStdString(row.keys).toHtmlEscaped(),
                         QString::fromStdString(row.what).toHtmlEscaped());
    }
    showPlainBox(parent, QString::fromUtf8(tr(KeysHelpTitle)), "<table>" + rows + "</table>",
                 Qt::RichText);
}

void closeOpenMessageBoxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace servo
