// The control base and the bridge that turns Qt's key, input-method, mouse and focus
// events of a control's inner widgets into the old events (KeyPress, MouseDown/Move/Up,
// Click, GotFocus).
#include "platform/forms/control.h"

#include "platform/forms/event_bridge.h"
#include "platform/forms/form.h"

#include <QFocusEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace forms {

bool EnterPressed(int& keyAscii, bool keepSpace)
{
    if (keyAscii == vbKeySpace && !keepSpace) keyAscii = 0;
    if (keyAscii != vbKeyReturn) return false;
    keyAscii = 0;
    return true;
}

Qt::Alignment horizontalAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Center: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

namespace {

int shiftState(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= vbShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= vbCtrlMask;
    if (modifiers & Qt::AltModifier) shift |= vbAltMask;
    return shift;
}

int buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton) code |= vbLeftButton;
    if (buttons & Qt::RightButton) code |= vbRightButton;
    if (buttons & Qt::MiddleButton) code |= vbMiddleButton;
    return code;
}

// Alt (without Ctrl, which with Alt is AltGr on some keyboards) and a character key.
bool altCharacter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier)) return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

int EventBridge::keyAscii(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Return: case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Escape: return vbKeyEscape;
    default: break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
    const QString text = event->text();
    if (text.isEmpty()) return 0;
    const char16_t c = text.at(0).unicode();
    return (c >= 32 && c != 127) ? c : 0;
}

EventBridge::EventBridge(Control* owner) : QObject(owner), owner_(owner) {}

void EventBridge::watch(QWidget* widget)
{
    widget->installEventFilter(this);
}

QPoint EventBridge::twipsOf(QObject* watched, const QPointF& pos) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const QPoint inOwner = widget ? widget->mapTo(owner_, pos.toPoint()) : pos.toPoint();
    return {toTwips(inOwner.x()), toTwips(inOwner.y())};
}

void EventBridge::fireMouse(const ControlEvents::MouseHook& hook, QObject* watched, const QMouseEvent* mouse,
                            Qt::MouseButtons buttons) const
{
    if (!hook) return;
    const QPoint at = twipsOf(watched, mouse->position());
    hook(buttonCode(buttons), shiftState(mouse->modifiers()), at.x(), at.y());
}

bool EventBridge::keyPress(QObject* watched, QKeyEvent* event)
{
    if (event == lastKey_) {
        // Passed on by an inner widget of this same control (a combo's editor to the
        // combo): the hooks have had it already.
        watched->event(event);
        if (event->isAccepted()) lastKey_ = nullptr;
        return true;
    }
    if (Form::pressAccessKey(owner_, *event)) return true;
    if (altCharacter(*event)) {
        // Alt with a character that marks no button (the access keys have had their
        // turn): the toolkit's editors would type the character; it does nothing.
        event->accept();
        return true;
    }
    lastKey_ = event;
    const int original = keyAscii(event);
    if (original != 0 && owner_->KeyPress) {
        int key = original;
        owner_->KeyPress(key);
        if (key == 0) {
            lastKey_ = nullptr;
            return true;                             // swallowed
        }
        if (key != original) {
            lastKey_ = nullptr;
            deliverReplacement(watched, event, key);
            return true;
        }
    }
    // Let the widget handle it now, so that we know whether it goes on to the parent.
    watched->event(event);
    if (event->isAccepted()) lastKey_ = nullptr;
    return true;
}

void EventBridge::deliverReplacement(QObject* watched, QKeyEvent* event, int key)
{
    Qt::Key qtKey = Qt::Key_unknown;
    QString text(QChar(static_cast<char16_t>(key)));
    if (key == vbKeyReturn) qtKey = Qt::Key_Return;
    else if (key == vbKeyBack) qtKey = Qt::Key_Backspace;
    else if (key == vbKeyEscape) qtKey = Qt::Key_Escape;
    else if (key >= 'a' && key <= 'z') qtKey = static_cast<Qt::Key>(key - 'a' + Qt::Key_A);
    else if (key < 128) qtKey = static_cast<Qt::Key>(key);
    QKeyEvent replacement(QEvent::KeyPress, qtKey, event->modifiers() & Qt::ShiftModifier, text);
    watched->event(&replacement);
    event->setAccepted(replacement.isAccepted());
}

bool EventBridge::inputMethod(QObject* watched, QInputMethodEvent* event)
{
    if (event->commitString().isEmpty()) return false;
    if (!owner_->KeyPress && owner_->takesTypedText()) return false;
    QString kept;
    bool changed = false;
    for (const QChar c : event->commitString()) {
        int key = c.unicode();
        if (owner_->KeyPress) owner_->KeyPress(key);
        if (key != 0) kept.append(QChar(static_cast<char16_t>(key)));
        changed = changed || key != c.unicode();
    }
    if (!owner_->takesTypedText()) return true;   // a Locked box: the keys were seen, the text stays
    if (!changed) return false;
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    watched->event(&filtered);
    return true;
}

bool EventBridge::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(watched, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        return inputMethod(watched, static_cast<QInputMethodEvent*>(event));
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = true;
        fireMouse(owner_->MouseDown, watched, mouse, mouse->button());
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        fireMouse(owner_->MouseMove, watched, mouse, mouse->buttons());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        fireMouse(owner_->MouseUp, watched, mouse, mouse->button());
        if (clicks_ && pressed_ && mouse->button() == Qt::LeftButton && owner_->Click) owner_->Click();
        pressed_ = false;
        break;
    }
    case QEvent::FocusIn:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && !owner_->focusInside_) {
            owner_->focusInside_ = true;
            if (owner_->GotFocus) owner_->GotFocus();
        }
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && owner_->focusInside_) {
            QWidget* next = QApplication::focusWidget();
            if (next && owner_->isAncestorOf(next)) break;   // focus moved within the control
            owner_->focusInside_ = false;
        }
        break;
    default:
        break;
    }
    return false;
}

// ---- Control --------------------------------------------------------------------

Control::Control(QWidget* parent, QWidget* inner) : QWidget(parent), inner_(inner)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(inner_);
    setFocusProxy(inner_);
    bridge_ = new EventBridge(this);
    bridge(inner_);
    if (parent) show();   // controls are visible unless a window hides them
}

// The bridge goes first: the focus leaving a destroyed control reaches the inner
// widgets' filters after this control's own part is gone.
Control::~Control()
{
    delete bridge_;
}

void Control::bridge(QWidget* widget)
{
    bridge_->watch(widget);
}

void Control::setClickOnRelease(bool on)
{
    bridge_->setClicks(on);
}

void Control::setHeight(int twips) { resize(width(), toPixels(twips)); }
void Control::Move(int left, int top) { move(toPixels(left), toPixels(top)); }
void Control::Move(int left, int top, int width, int height)
{
    setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

void Control::setBackColor(const QColor& color)
{
    QPalette palette = inner_->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    inner_->setPalette(palette);
    inner_->setAutoFillBackground(true);
}

void Control::setForeColor(const QColor& color)
{
    QPalette palette = inner_->palette();
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    inner_->setPalette(palette);
}

void Control::setFont(const QString& family, double pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    QWidget::setFont(font);
}

void Control::SetFocus()
{
    inner_->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocusNow() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

// Keys and input-method text sent to the control itself go to its inner widget;
// keys the inner widget passed on go further up (to the form).
void Control::keyPressEvent(QKeyEvent* event)
{
    if (bridge_->isPassedOn(event)) {
        event->ignore();
        return;
    }
    QCoreApplication::sendEvent(inner_, event);
    event->accept();
}

void Control::keyReleaseEvent(QKeyEvent* event)
{
    event->ignore();
}

void Control::inputMethodEvent(QInputMethodEvent* event)
{
    QCoreApplication::sendEvent(inner_, event);
}

}  // namespace forms
