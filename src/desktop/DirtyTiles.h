#pragma once

#include <QLineF>
#include <QRect>
#include <QSize>

#include <vector>

namespace servo {

// Which parts of a picture were touched, kept as a grid of square tiles so that the record of
// a long thin stroke stays thin. Coordinates are pixels of the picture.
class DirtyTiles {
public:
    static constexpr int TileSize = 16;

    // Starts over, empty, for a picture of this size.
    void reset(QSize pixels);
    void clear();
    void markAll();
    void markRect(const QRect& area);
    // The pixels a line of the given half-width may touch; parts outside the picture are
    // dropped first, so far off-picture geometry costs nothing.
    void markLine(QLineF line, double halfWidth);

    bool isEmpty() const { return marked_ == 0; }
    // The marked tiles as rectangles that do not overlap: runs of tiles along each tile row,
    // clipped to the picture.
    std::vector<QRect> rects() const;

private:
    void markTiles(int firstColumn, int firstRow, int lastColumn, int lastRow);

    QSize pixels_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<unsigned char> tiles_; // row by row, 1 = touched
    // Per tile row, the first and last touched column (first > last: none), so that reading
    // and clearing cost what was touched, not the size of the picture.
    std::vector<int> rowFirst_;
    std::vector<int> rowLast_;
    std::size_t marked_ = 0;
};

} // namespace servo
