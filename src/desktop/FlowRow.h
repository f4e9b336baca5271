#pragma once

#include <QLayout>
#include <QList>

namespace servo {

// A row of the lab panel that wraps: its items stand side by side at their preferred widths,
// left to right, and an item that would pass the right edge starts a new line below. A label
// and the control it names go in as one item (a box layout of the two), so that they wrap
// together. Its height follows its width (heightForWidth).
class FlowRow : public QLayout {
public:
    explicit FlowRow(int spacing = -1);
    ~FlowRow() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange({0, 0, width, 0}, false); }
    int minimumHeightForWidth(int width) const override { return heightForWidth(width); }
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` (when `place`), and returns the height they take.
    int arrange(const QRect& rect, bool place) const;
    int gap() const;

    QList<QLayoutItem*> items_;
};

} // namespace servo
