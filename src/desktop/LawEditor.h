#pragma once

#include <QDialog>
#include <QPlainTextEdit>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace servo {

class Lesson;
struct View;

// The text box of the student's law: Lua in a fixed-pitch font with the line numbers in a
// gutter; Tab indents by two spaces and Esc leaves the box (to Apply), so the keyboard is
// never held in it.
class LawTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LawTextEdit(QWidget* parent);
    // The line (1 on) the law stopped at, marked in the gutter and the text; 0 for none.
    void markLine(int line);
    int gutterWidth() const;
    void paintGutter(QPaintEvent* event);

signals:
    void left(); // Esc

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* gutter_;
    int markedLine_ = 0;
};

// The editor of the student's law, a window beside the main one (Lab > Your Law..., F4): an
// example to start from, the source, Apply (the law's input line through the lesson) and the
// law's state in words. The source shows the lesson's law whenever that changes from outside
// (an experiment, a replay, a reset); what the student types stays until then.
class LawEditor : public QDialog {
    Q_OBJECT

public:
    LawEditor(QWidget* parent, Lesson& lesson);
    void showView(const View& view);
    void retranslate();
    void open();

    LawTextEdit* source() const { return source_; }
    QPushButton* applyButton() const { return apply_; }
    QLabel* status() const { return status_; }

private:
    Lesson& lesson_;
    QComboBox* examples_;
    QPushButton* useExample_;
    LawTextEdit* source_;
    QPushButton* apply_;
    QLabel* status_;
    QLabel* help_;
    std::string shownSource_; // the lesson's law as last shown
};

} // namespace servo
