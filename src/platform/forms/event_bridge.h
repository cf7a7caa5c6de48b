// Internal to the windows kit: the event filter that a control installs on its inner
// widgets to deliver the old events (see control.h).
#pragma once

#include "platform/forms/control.h"

#include <QApplication>
#include <QObject>
#include <QPoint>

class QKeyEvent;
class QInputMethodEvent;
class QMouseEvent;

namespace forms {

class EventBridge : public QObject {
    Q_OBJECT
public:
    explicit EventBridge(Control* owner);
    void watch(QWidget* widget);
    void setClicks(bool on) { clicks_ = on; }
    // True for a key the inner widget saw and left unhandled (going up to the parent).
    bool isPassedOn(const QKeyEvent* event)
    {
        const bool passed = event == lastKey_;
        if (passed) lastKey_ = nullptr;
        return passed;
    }
    // The old keyAscii of a key event: 0 when the key types no character.
    static int keyAscii(const QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(QObject* watched, QKeyEvent* event);
    void deliverReplacement(QObject* watched, QKeyEvent* event, int key);
    bool inputMethod(QObject* watched, QInputMethodEvent* event);
    QPoint twipsOf(QObject* watched, const QPointF& pos) const;
    // Runs a mouse hook, if set, with `buttons`, the shift state and the place in twips.
    void fireMouse(const ControlEvents::MouseHook& hook, QObject* watched, const QMouseEvent* mouse,
                   Qt::MouseButtons buttons) const;

    Control* owner_;
    const QKeyEvent* lastKey_ = nullptr;
    bool clicks_ = false;
    bool pressed_ = false;
};

}  // namespace forms
