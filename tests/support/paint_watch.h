// A watch on the progress window for the tests of the batches that show it: it calls
// `seen` each time a progress window is painted, so a test reads what the user saw.
#pragma once

#include "core/progress_window.h"

#include <QApplication>
#include <QEvent>
#include <functional>

class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void(core::Frmjdys*)> seen) : seen_(std::move(seen)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (auto* window = qobject_cast<core::Frmjdys*>(object); window && event->type() == QEvent::Paint) seen_(window);
        return false;
    }

private:
    std::function<void(core::Frmjdys*)> seen_;
};
