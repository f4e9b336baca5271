#include "desktop/DirtyTiles.h"
#include "desktop/PersistentCanvas.h"

#include <QGuiApplication>
#include <QTest>

#include <cmath>

namespace servo::testing {

class CanvasTest : public QObject {
    Q_OBJECT

private:
    static int countColour(const QImage& image, QRgb colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
            }
        }
        return count;
    }
    static qint64 area(const QRegion& region) {
        qint64 total = 0;
        for (const QRect& r : region) {
            total += static_cast<qint64>(r.width()) * r.height();
        }
        return total;
    }
    static void drawArmLikeFrame(PersistentCanvas& canvas, float shift) {
        canvas.clear();
        canvas.setForeColour(White);
        canvas.plotPoint(300 + shift, 70);
        canvas.lineTo(310 + shift, 20);
        canvas.lineTo(350 + shift, 30);
        canvas.circle(300 + shift, 70, 2, 1);
        canvas.setTextPosition(230, 110);
        canvas.print("X ERROR=1.5");
    }

private slots:
    void tilesOfALongThinLineStayThin() {
        DirtyTiles tiles;
        tiles.reset(QSize(4000, 2000));
        tiles.markLine(QLineF(10, 10, 3990, 1990), 2.5);
        qint64 marked = 0;
        for (const QRect& r : tiles.rects()) {
            marked += static_cast<qint64>(r.width()) * r.height();
        }
        const double length = std::hypot(3980.0, 1980.0);
        QVERIFY(marked > 0);
        QVERIFY2(static_cast<double>(marked) < length * 3 * DirtyTiles::TileSize,
                 qPrintable(QString::number(marked))); // a band, not the bounding box
        QVERIFY(marked < 4000LL * 2000 / 10);
    }

    void tilesIgnoreWhatLiesOutsideThePicture() {
        DirtyTiles tiles;
        tiles.reset(QSize(800, 600));
        tiles.markLine(QLineF(-1e12, -5e11, -1e9, -2e9), 2.5);
        tiles.markLine(QLineF(1e9, 300, 2e9, 300), 2.5);
        tiles.markRect(QRect(-500, -500, 100, 100));
        QVERIFY(tiles.isEmpty());
        // A line crossing the picture from far away marks only its visible part.
        tiles.markLine(QLineF(-1e9, 300, 1e9, 300), 2.5);
        QVERIFY(!tiles.isEmpty());
        for (const QRect& r : tiles.rects()) {
            QVERIFY(QRect(0, 0, 800, 600).contains(r));
            QVERIFY(r.top() <= 300 && r.bottom() >= 300 - DirtyTiles::TileSize);
        }
    }

    void tileRectsDoNotOverlapAndClearEmpties() {
        DirtyTiles tiles;
        tiles.reset(QSize(333, 222));
        tiles.markRect(QRect(5, 5, 100, 40));
        tiles.markLine(QLineF(0, 221, 332, 0), 1);
        const auto rects = tiles.rects();
        for (std::size_t i = 0; i < rects.size(); ++i) {
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                QVERIFY(!rects[i].intersects(rects[j]));
            }
        }
        tiles.clear();
        QVERIFY(tiles.isEmpty());
        QVERIFY(tiles.rects().empty());
        tiles.markAll();
        QCOMPARE(tiles.rects().size(), std::size_t((222 + 15) / 16));
    }

    void repeatedFrameChangesNothing() {
        PersistentCanvas canvas;
        canvas.resize(QSize(660, 260), 1);
        QVERIFY(!canvas.takeChangedArea().isEmpty()); // the first frame shows everything
        drawArmLikeFrame(canvas, 0);
        QVERIFY(!canvas.takeChangedArea().isEmpty());
        const QImage first = canvas.image().copy();
        drawArmLikeFrame(canvas, 0);
        QVERIFY(canvas.takeChangedArea().isEmpty());
        QCOMPARE(canvas.image(), first);
        drawArmLikeFrame(canvas, 1); // moved: drawn again, old strokes gone
        QVERIFY(!canvas.takeChangedArea().isEmpty());
        QVERIFY(canvas.image() != first);
        drawArmLikeFrame(canvas, 0); // back: same picture as the first frame
        canvas.takeChangedArea();
        QCOMPARE(canvas.image(), first);
    }

    void textWithoutClearIsNotSkipped() {
        PersistentCanvas canvas;
        canvas.resize(QSize(660, 260), 1);
        canvas.takeChangedArea();
        for (int i = 0; i < 2; ++i) {
            canvas.setForeColour(White);
            canvas.setTextPosition(230, 110);
            canvas.print("Y ERROR=-65.");
            QVERIFY(!canvas.takeChangedArea().isEmpty());
        }
        // Strokes alone repeated without a clear are skipped.
        for (int i = 0; i < 2; ++i) {
            canvas.line(130, 10, 440, 120);
            const bool changed = !canvas.takeChangedArea().isEmpty();
            QCOMPARE(changed, i == 0);
        }
    }

    void changedAreaFollowsTheStrokes() {
        PersistentCanvas canvas;
        canvas.resize(QSize(1320, 520), 1);
        canvas.takeChangedArea();
        canvas.setForeColour(White);
        canvas.line(130, 5, 440, 125);
        const qint64 changed = area(canvas.takeChangedArea());
        QVERIFY(changed > 0);
        QVERIFY2(changed < 1320LL * 520 / 4, qPrintable(QString::number(changed)));
    }

    void clearRestoresTheBackground() {
        PersistentCanvas canvas;
        canvas.resize(QSize(330, 130), 1);
        canvas.setForeColour(White);
        canvas.line(120, 0, 450, 130);
        canvas.circle(300, 70, 10, 1);
        QVERIFY(countColour(canvas.image(), qRgb(255, 255, 255)) > 100);
        QVERIFY(countColour(canvas.image(), qRgb(1, 0, 0)) > 20);
        canvas.clear();
        QCOMPARE(countColour(canvas.image(), canvas.background().rgb()), 330 * 130);
    }

    void userScaleMapsTheCornersAndCirclesStayRound() {
        PersistentCanvas canvas;
        canvas.resize(QSize(660, 390), 1); // 2 px per unit across, 3 down
        QCOMPARE(canvas.toLogical(120, 0), QPointF(0, 0));
        QCOMPARE(canvas.toLogical(450, 130), QPointF(660, 390));
        QCOMPARE(canvas.toUser(QPointF(330, 195)), QPointF(285, 65));
        canvas.circle(285, 65, 20, 1); // radius 20 horizontal units = 40 px
        const QImage& image = canvas.image();
        int left = 10000, right = -1, top = 10000, bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == 0x010000) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        QVERIFY(qAbs((right - left) - 80) <= 2);
        QVERIFY(qAbs((bottom - top) - 80) <= 2);
    }

    void trueProportionsCentresTheBoxAndCarriesWhatWasDrawn() {
        PersistentCanvas canvas;
        canvas.resize(QSize(660, 130), 1); // 165 by 130 arm units fit 165 px across at 1 px each
        canvas.setForeColour(White);
        canvas.line(120, 65, 450, 65); // across the whole box
        canvas.takeChangedArea();
        auto whiteIn = [&canvas](int from, int to) {
            int count = 0;
            for (int x = from; x < to; ++x) {
                count += (canvas.image().pixel(x, 65) & 0xFFFFFF) == 0xFFFFFF;
            }
            return count;
        };
        QCOMPARE(whiteIn(0, 660), 660);
        canvas.setTrueProportions(true);
        QCOMPARE(canvas.toLogical(120, 0), QPointF(247.5, 0));
        QCOMPARE(canvas.toLogical(450, 130), QPointF(412.5, 130));
        QCOMPARE(canvas.toUser(QPointF(330, 65)), QPointF(285, 65));
        // The line moved with the box: none of it beside the box, all of the box's width.
        QCOMPARE(whiteIn(0, 247) + whiteIn(414, 660), 0);
        QVERIFY(whiteIn(248, 412) == 164);
        canvas.setTrueProportions(false);
        QCOMPARE(canvas.toLogical(450, 130), QPointF(660, 130));
        QVERIFY(whiteIn(0, 660) >= 650);
    }

    void printContinuesOnTheSameLine() {
        // "AB" then "CD" covers the same stretch of the line as "ABCD" at once.
        auto extent = [](PersistentCanvas& canvas) {
            QRect box;
            const QImage& image = canvas.image();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if ((image.pixel(x, y) & 0xFFFFFF) != (canvas.background().rgb() & 0xFFFFFF)) {
                        box |= QRect(x, y, 1, 1);
                    }
                }
            }
            return box;
        };
        PersistentCanvas pieces;
        pieces.resize(QSize(660, 260), 1);
        pieces.setForeColour(White);
        pieces.setTextPosition(230, 110);
        pieces.print("AB");
        pieces.print("CD");
        PersistentCanvas whole;
        whole.resize(QSize(660, 260), 1);
        whole.setForeColour(White);
        whole.setTextPosition(230, 110);
        whole.print("ABCD");
        const QRect a = extent(pieces);
        const QRect b = extent(whole);
        QVERIFY(!a.isEmpty());
        QVERIFY2(qAbs(a.left() - b.left()) <= 1 && qAbs(a.right() - b.right()) <= 2 &&
                     a.top() == b.top() && a.bottom() == b.bottom(),
                 qPrintable(QString("pieces %1,%2-%3,%4 whole %5,%6-%7,%8")
                                .arg(a.left())
                                .arg(a.top())
                                .arg(a.right())
                                .arg(a.bottom())
                                .arg(b.left())
                                .arg(b.top())
                                .arg(b.right())
                                .arg(b.bottom())));
        // Its top-left corner is the text position: (230, 110) maps to (220, 220).
        QVERIFY(a.left() >= 220 && a.left() <= 224);
        QVERIFY(a.top() >= 220);
    }

    void resizeKeepsThePictureAndZeroSizeIgnoresDrawing() {
        PersistentCanvas canvas;
        canvas.resize(QSize(330, 130), 1);
        canvas.setForeColour(White);
        canvas.line(120, 65, 450, 65);
        QVERIFY(countColour(canvas.image(), qRgb(255, 255, 255)) >= 300);
        canvas.resize(QSize(660, 260), 1);
        QVERIFY(countColour(canvas.image(), qRgb(255, 255, 255)) >= 600);
        canvas.resize(QSize(0, 0), 1);
        canvas.line(120, 0, 450, 130);
        canvas.clear();
        canvas.print("nothing");
        QVERIFY(canvas.takeChangedArea().isEmpty());
        canvas.resize(QSize(330, 130), 2);
        QCOMPARE(canvas.image().size(), QSize(660, 260));
        QCOMPARE(canvas.image().devicePixelRatio(), 2.0);
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::CanvasTest)
#include "CanvasTest.moc"
