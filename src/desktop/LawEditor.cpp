#include "desktop/LawEditor.h"

#include "core/commands/Commands.h"
#include "core/language/Translation.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/ScriptWords.h"
#include "core/lesson/View.h"
#include "core/ownlaw/ExampleLaws.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace servo {

namespace {

QString text(const char* english) {
    return QString::fromUtf8(tr(english));
}

// The gutter beside the text: it paints itself through its text box.
class Gutter : public QWidget {
public:
    explicit Gutter(LawTextEdit* edit) : QWidget(edit), edit_(edit) {}
    QSize sizeHint() const override { return {edit_->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { edit_->paintGutter(event); }

private:
    LawTextEdit* edit_;
};

} // namespace

LawTextEdit::LawTextEdit(QWidget* parent) : QPlainTextEdit(parent), gutter_(new Gutter(this)) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(gutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            gutter_->scroll(0, dy);
        } else {
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
        }
    });
    setViewportMargins(gutterWidth(), 0, 0, 0);
}

int LawTextEdit::gutterWidth() const {
    const auto digits = static_cast<int>(QString::number(std::max(1, blockCount())).size()) + 1;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void LawTextEdit::markLine(int line) {
    if (line == markedLine_) {
        return;
    }
    markedLine_ = line;
    QList<QTextEdit::ExtraSelection> marks;
    if (line > 0) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(QColor(255, 210, 210));
        mark.format.setForeground(Qt::black);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(document()->findBlockByNumber(line - 1));
        marks.push_back(mark);
    }
    setExtraSelections(marks);
    gutter_->update();
}

void LawTextEdit::paintGutter(QPaintEvent* event) {
    QPainter painter(gutter_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    QTextBlock block = firstVisibleBlock();
    auto top = static_cast<int>(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = static_cast<int>(blockBoundingRect(block).height());
        const int number = block.blockNumber() + 1;
        const bool marked = number == markedLine_;
        painter.setPen(marked ? QColor(200, 0, 0) : palette().color(QPalette::PlaceholderText));
        QFont font = painter.font();
        font.setBold(marked);
        painter.setFont(font);
        painter.drawText(0, top, gutter_->width() - 4, height, Qt::AlignRight,
                         (marked ? QStringLiteral("! ") : QString()) + QString::number(number));
        block = block.next();
        top += height;
    }
}

void LawTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit left();
        return;
    }
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
        insertPlainText(QStringLiteral("  "));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LawTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    gutter_->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
}

LawEditor::LawEditor(QWidget* parent, Lesson& lesson)
    : QDialog(parent), lesson_(lesson), examples_(new QComboBox(this)),
      useExample_(new QPushButton(this)), source_(new LawTextEdit(this)),
      apply_(new QPushButton(this)), status_(new QLabel(this)), help_(new QLabel(this)) {
    setObjectName("LawEditor");
    setModal(false);
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(examples_, 1);
    row->addWidget(useExample_);
    column->addLayout(row);
    column->addWidget(source_, 1);
    help_->setWordWrap(true);
    column->addWidget(help_);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    column->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    column->addLayout(buttons);
    for (std::size_t i = 0; i < exampleLaws().size(); ++i) {
        examples_->addItem({});
    }
    connect(useExample_, &QPushButton::clicked, this, [this] {
        const auto place = static_cast<std::size_t>(examples_->currentIndex());
        source_->setPlainText(QString::fromStdString(exampleSource(exampleLaws()[place])));
        source_->setFocus();
    });
    connect(apply_, &QPushButton::clicked, this, [this] {
        lesson_.submit(inputLine("own-law", lawArgument(source_->toPlainText().toStdString())));
    });
    connect(source_, &LawTextEdit::left, apply_, [this] { apply_->setFocus(); });
    resize(620, 520);
    retranslate();
}

void LawEditor::retranslate() {
    setWindowTitle(text(LawEditorTitle));
    for (std::size_t i = 0; i < exampleLaws().size(); ++i) {
        examples_->setItemText(static_cast<int>(i), text(exampleLaws()[i].caption));
    }
    examples_->setAccessibleName(text(LawExampleCaption));
    useExample_->setText(text(UseExampleCaption));
    apply_->setText(text(ApplyLawCaption));
    source_->setAccessibleName(text(LawSourceCaption));
    help_->setText(text(LawEditorHelp));
    source_->setAccessibleDescription(help_->text());
}

void LawEditor::open() {
    show();
    raise();
    activateWindow();
    source_->setFocus();
}

void LawEditor::showView(const View& view) {
    if (view.law.source != shownSource_) {
        shownSource_ = view.law.source;
        const QString source = QString::fromStdString(shownSource_);
        if (source_->toPlainText() != source) { // not the text just applied from here
            source_->setPlainText(source);
        }
    }
    const QString status = QString::fromStdString(view.law.statusText);
    if (status_->text() != status) {
        status_->setText(status);
        status_->setAccessibleName(status);
    }
    source_->markLine(view.law.status == "stopped" ? view.law.errorLine : 0);
    apply_->setEnabled(!view.playing);
}

} // namespace servo
