// ProgressBar: Value is a real number from Min to Max (0 to 100 unless set); values
// beyond the range are shown at its end instead of failing. A new value shows at the
// next repaint (a window's repaint or the event pump), not at once.
#pragma once

#include "platform/forms/control.h"

class QProgressBar;

namespace forms {

class ProgressBar : public Control {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    double Value() const { return value_; }
    void setValue(double value);
    void setRange(double min, double max);
    QProgressBar* progressBar() const { return bar_; }

private:
    void show_();
    QProgressBar* bar_;
    double value_ = 0;
    double min_ = 0;
    double max_ = 100;
};

}  // namespace forms
