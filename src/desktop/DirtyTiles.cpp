#include "desktop/DirtyTiles.h"

#include <algorithm>
#include <cmath>

namespace servo {

void DirtyTiles::reset(QSize pixels) {
    pixels_ = pixels;
    columns_ = (std::max(pixels.width(), 0) + TileSize - 1) / TileSize;
    rows_ = (std::max(pixels.height(), 0) + TileSize - 1) / TileSize;
    tiles_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
    rowFirst_.assign(static_cast<std::size_t>(rows_), columns_);
    rowLast_.assign(static_cast<std::size_t>(rows_), -1);
    marked_ = 0;
}

void DirtyTiles::clear() {
    if (marked_ == 0) {
        return;
    }
    for (int row = 0; row < rows_; ++row) {
        int& first = rowFirst_[static_cast<std::size_t>(row)];
        int& last = rowLast_[static_cast<std::size_t>(row)];
        if (first <= last) {
            unsigned char* line = &tiles_[static_cast<std::size_t>(row * columns_)];
            std::fill(line + first, line + last + 1, 0);
        }
        first = columns_;
        last = -1;
    }
    marked_ = 0;
}

void DirtyTiles::markAll() {
    markTiles(0, 0, columns_ - 1, rows_ - 1);
}

void DirtyTiles::markTiles(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, columns_ - 1);
    lastRow = std::min(lastRow, rows_ - 1);
    if (firstColumn > lastColumn) {
        return;
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        int& first = rowFirst_[static_cast<std::size_t>(row)];
        int& last = rowLast_[static_cast<std::size_t>(row)];
        first = std::min(first, firstColumn);
        last = std::max(last, lastColumn);
        unsigned char* tile = &tiles_[static_cast<std::size_t>(row * columns_ + firstColumn)];
        for (int column = firstColumn; column <= lastColumn; ++column, ++tile) {
            marked_ += *tile == 0;
            *tile = 1;
        }
    }
}

void DirtyTiles::markRect(const QRect& area) {
    const QRect clipped = area & QRect(QPoint(0, 0), pixels_);
    if (clipped.isEmpty()) {
        return;
    }
    markTiles(clipped.left() / TileSize, clipped.top() / TileSize, clipped.right() / TileSize,
              clipped.bottom() / TileSize);
}

void DirtyTiles::markLine(QLineF line, double halfWidth) {
    // Clip the line to the picture grown by the half-width (Liang-Barsky).
    const double left = -halfWidth;
    const double top = -halfWidth;
    const double right = pixels_.width() + halfWidth;
    const double bottom = pixels_.height() + halfWidth;
    const double dx = line.dx();
    const double dy = line.dy();
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - left, right - line.x1(), line.y1() - top, bottom - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return;
        }
    }
    const QPointF from = line.pointAt(t0);
    const QPointF to = line.pointAt(t1);
    if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x()) ||
        !std::isfinite(to.y())) {
        return;
    }
    // Samples at most half a tile apart, each marking the tiles under its small square.
    const double length = QLineF(from, to).length();
    const int steps = static_cast<int>(std::ceil(length / (TileSize / 2.0)));
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0 : static_cast<double>(i) / steps;
        const double x = from.x() + (to.x() - from.x()) * t;
        const double y = from.y() + (to.y() - from.y()) * t;
        markTiles(static_cast<int>(std::floor((x - halfWidth) / TileSize)),
                  static_cast<int>(std::floor((y - halfWidth) / TileSize)),
                  static_cast<int>(std::floor((x + halfWidth) / TileSize)),
                  static_cast<int>(std::floor((y + halfWidth) / TileSize)));
    }
}

std::vector<QRect> DirtyTiles::rects() const {
    std::vector<QRect> result;
    const QRect picture(QPoint(0, 0), pixels_);
    for (int row = 0; row < rows_; ++row) {
        const unsigned char* line = &tiles_[static_cast<std::size_t>(row * columns_)];
        const int end = rowLast_[static_cast<std::size_t>(row)] + 1;
        for (int column = rowFirst_[static_cast<std::size_t>(row)]; column < end;) {
            if (line[column] == 0) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < end && line[column] != 0) {
                ++column;
            }
            result.push_back(
                QRect(first * TileSize, row * TileSize, (column - first) * TileSize, TileSize) &
                picture);
        }
    }
    return result;
}

} // namespace servo
