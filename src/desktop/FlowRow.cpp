#include "desktop/FlowRow.h"

#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace servo {

FlowRow::FlowRow(int spacing) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(spacing);
}

FlowRow::~FlowRow() {
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void FlowRow::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* FlowRow::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowRow::gap() const {
    if (spacing() >= 0) {
        return spacing();
    }
    const QWidget* parent = parentWidget();
    return parent == nullptr
               ? 6
               : parent->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, parent);
}

QSize FlowRow::minimumSize() const {
    // As narrow as its widest item; the height for a width is heightForWidth's.
    QSize size;
    for (const QLayoutItem* item : items_) {
        size = size.expandedTo(item->minimumSize());
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowRow::sizeHint() const {
    // Everything on one line.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        width += (width > 0 ? gap() : 0) + item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void FlowRow::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowRow::arrange(const QRect& rect, bool place) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int spacing = gap();
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    // Each line's items share the line's height, centred in it.
    QList<std::pair<QLayoutItem*, QRect>> line;
    const auto endLine = [&] {
        for (auto& [item, box] : line) {
            box.moveTop(y + (lineHeight - box.height()) / 2);
            item->setGeometry(box);
        }
        line.clear();
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        const QSize size = item->sizeHint();
        if (x > area.x() && x + size.width() > area.right() + 1) {
            if (place) {
                endLine();
            }
            x = area.x();
            y += lineHeight + spacing;
            lineHeight = 0;
        }
        if (place) {
            line.append({item, QRect(QPoint(x, y), size)});
        }
        x += size.width() + spacing;
        lineHeight = std::max(lineHeight, size.height());
    }
    if (place) {
        endLine();
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

} // namespace servo
