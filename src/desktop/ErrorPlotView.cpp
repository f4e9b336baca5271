#include "desktop/ErrorPlotView.h"

#include "core/commands/Commands.h"
#include "core/lab/Lab.h"
#include "desktop/PainterSurface.h"
#include "desktop/PersistentCanvas.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

namespace servo {

ErrorPlotView::ErrorPlotView(Lab& lab, QWidget* parent) : QWidget(parent), lab_(lab) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitMinimumHeight();
    setAccessibleName(PlotCaption);
}

void ErrorPlotView::fitMinimumHeight() {
    // Two lines of legend, the step axis's numbers and the figures line in the plot's font,
    // and room for the traces under them: 140 pixels in the panel's own 9 pt, more in the
    // projector's larger text, so that its traces never shrink to a strip.
    const int lines = 4;
    const int traces = 80;
    setMinimumHeight(lines * QFontMetrics(font()).lineSpacing() + traces);
}

void ErrorPlotView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fitMinimumHeight();
    }
    QWidget::changeEvent(event);
}

void ErrorPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PainterSurface surface(
        painter, [](double x, double y) { return QPointF(x, y); }, 1);
    const ColourProfile profile = colourProfileOf(lab_.settings());
    surface.setProfile(profile);
    surface.setBackground(PersistentCanvas::toQColor(windowLook(profile).plotBackground));
    // Redrawn every frame while it runs: the thin lines' fast path, without smoothing.
    painter.setRenderHint(QPainter::Antialiasing, false);
    surface.setFont(font());
    const QFontMetricsF metrics(font());
    // The figures since the last change in a line under the plot, drawn here rather than in a
    // label so that a frame costs no layout pass.
    const double figuresHeight = metrics.height() + 4;
    const PlotLayout layout{static_cast<double>(width()), height() - figuresHeight,
                            metrics.height(), [&metrics](std::string_view text) {
                                return metrics.horizontalAdvance(QString::fromUtf8(
                                    text.data(), static_cast<qsizetype>(text.size())));
                            }};
    lab_.drawPlot(layout, surface);
    painter.fillRect(QRectF(0, layout.height, width(), figuresHeight), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    const QString figures = QString::fromStdString(lab_.figures());
    painter.drawText(QPointF(4, layout.height + 2 + metrics.ascent()), figures);
    setAccessibleDescription(figures);
}

} // namespace servo
