// The progress bar with a real-valued Value (see progressbar.h).
#include "platform/forms/progressbar.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QStyle>
#include <QStyleFactory>
#include <cmath>

namespace forms {

namespace {

constexpr int Steps = 1000;   // resolution of the shown bar

// The bar is drawn plain, in the selection colour in a sunken frame, as the Windows
// control draws it: the application's style draws stripes with a wide pen, which
// costs several times as much on every step of a batch and hands the filling to
// other threads. Null when that style is missing: the bar keeps the application's.
QStyle* blockStyle()
{
    static QPointer<QStyle> style = [] {
        QStyle* blocks = QStyleFactory::create(QStringLiteral("Windows"));
        if (blocks) blocks->setParent(qApp);   // goes with the application
        return blocks;
    }();
    return style;
}

}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : Control(parent, new QProgressBar)
{
    bar_ = static_cast<QProgressBar*>(inner());
    bar_->setRange(0, Steps);
    bar_->setTextVisible(false);
    if (QStyle* blocks = blockStyle()) bar_->setStyle(blocks);
    setFocusPolicy(Qt::NoFocus);
    show_();
}

void ProgressBar::setValue(double value)
{
    value_ = std::isfinite(value) ? value : min_;
    show_();
}

void ProgressBar::setRange(double min, double max)
{
    min_ = min;
    max_ = max > min ? max : min + 1;
    show_();
}

// A new value is drawn with the next repaint: the batches that show their progress
// draw their window once per step, and a repaint of the bar at once on every visible
// change would draw it twice.
void ProgressBar::show_()
{
    const double fraction = std::clamp((value_ - min_) / (max_ - min_), 0.0, 1.0);
    const int steps = static_cast<int>(std::lround(fraction * Steps));
    if (steps == bar_->value()) return;
    bar_->setUpdatesEnabled(false);
    bar_->setValue(steps);
    bar_->setUpdatesEnabled(true);   // schedules the redraw
}

}  // namespace forms
