// A watch on the windows or controls of one kind for the tests that read what the user
// saw as it was drawn: it calls `seen` each time one of them is painted. PaintWatch
// watches the progress window, for the batches that show it.
#pragma once

#include "core/progress_window.h"

#include <QApplication>
#include <QEvent>
#include <functional>

template <class Watched>
class PaintWatchOf : public QObject {
public:
    explicit PaintWatchOf(std::function<void(Watched*)> seen) : seen_(std::move(seen)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (auto* watched = qobject_cast<Watched*>(object); watched && event->type() == QEvent::Paint) seen_(watched);
        return false;
    }

private:
    std::function<void(Watched*)> seen_;
};

using PaintWatch = PaintWatchOf<core::Frmjdys>;
