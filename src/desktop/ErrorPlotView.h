#pragma once

#include <QWidget>

namespace servo {

class Lab;

// The lab's strip chart of the errors, drawn by the lab through a painter surface.
class ErrorPlotView : public QWidget {
    Q_OBJECT

public:
    explicit ErrorPlotView(Lab& lab, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The least height that shows the plot's texts and its traces in its font.
    void fitMinimumHeight();

    Lab& lab_;
};

} // namespace servo
