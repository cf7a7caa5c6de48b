// The progress driver of the long batches; see progress_driver.h.
#include "core/progress_driver.h"

#include "core/progress_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/services.h"

#include <QCoreApplication>
#include <QThread>
#include <QWindow>

namespace core {

namespace {

constexpr int SliceMilliseconds = 40;
constexpr int ExposeMilliseconds = 1000;
bool everyPlaceDrawn = false;   // set by the test hook

}  // namespace

ProgressDriver::ProgressDriver() : window_(new Frmjdys)
{
    window_->Show();
    window_->Labpre->setCaption(QString());
    window_->Labprg->setCaption(QString());
    forms::DoEvents();
    window_->ProgBar->setValue(0);
    waitUntilDrawable();
    slice_.start();
}

ProgressDriver::~ProgressDriver()
{
    close();
    forms::DoEvents();
}

void ProgressDriver::close()
{
    if (window_) window_->Unload();
    window_ = nullptr;
}

// A window that the display has not exposed yet is not drawn by a repaint, and once
// the transaction is open no event will expose it: events run until it is (or for a
// second at most, so that a display that never says so blocks nothing).
void ProgressDriver::waitUntilDrawable()
{
    QElapsedTimer waited;
    waited.start();
    forms::DoEvents();
    while (window_ && !(window_->windowHandle() && window_->windowHandle()->isExposed())
           && waited.elapsed() < ExposeMilliseconds) {
        QThread::msleep(5);
        forms::DoEvents();
    }
}

void ProgressDriver::beginStage(const QString& stageText, const std::optional<ProgressPlace>& at)
{
    flush();
    if (!window_) return;
    if (at) {
        window_->Labpre->setCaption(at->label);
        window_->ProgBar->setValue(at->bar);
    }
    window_->Labprg->setCaption(stageText);
    draw();
}

void ProgressDriver::note(std::function<ProgressPlace()> place)
{
    pending_ = std::move(place);
    if (everyPlaceDrawn || slice_.elapsed() >= SliceMilliseconds) flush();
}

void ProgressDriver::flush()
{
    if (!pending_) return;
    const ProgressPlace place = pending_();
    pending_ = nullptr;
    if (!window_) return;
    window_->ProgBar->setValue(place.bar);
    window_->Labpre->setCaption(place.label);
    draw();
}

// Only what changed since the last drawing (the bar, a label) is drawn, at once and
// without running any other event.
void ProgressDriver::draw()
{
    QCoreApplication::sendPostedEvents(window_, QEvent::UpdateRequest);
    slice_.start();
}

ProgressDriver::TestHook::TestHook() { everyPlaceDrawn = true; }
ProgressDriver::TestHook::~TestHook() { everyPlaceDrawn = false; }

}  // namespace core
