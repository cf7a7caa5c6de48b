// The common ground of every control of the windows kit: placement in twips (15 twips
// a pixel), the old property names (BackColor, ToolTipText, SetFocus...) and
// the old events as hooks a window assigns once in its constructor:
//
//     Txtycbm->KeyPress = [this](int& keyAscii) { Txtycbm_KeyPress(keyAscii); };
//
// A control is a thin QWidget around one Qt widget (`inner()`); keys sent to the
// control reach the inner widget, and the inner widget's keys, input-method text and
// mouse events pass through the hooks first, as the old controls delivered them.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

namespace forms {

constexpr int TwipsPerPixel = 15;
inline int toPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + 0.5); }
inline int toTwips(int pixels) { return pixels * TwipsPerPixel; }

// Key codes and shift flags as the old events carried them.
constexpr int vbKeyBack = 8;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;
constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;
// The key rule of most input boxes: the space is swallowed (unless `keepSpace`) and
// so is Enter; true when the key was Enter.
bool EnterPressed(int& keyAscii, bool keepSpace = false);

// Mouse buttons.
constexpr int vbLeftButton = 1;
constexpr int vbRightButton = 2;
constexpr int vbMiddleButton = 4;

// Text alignment of boxes and labels.
enum class Alignment { Left = 0, Right = 1, Center = 2 };
// Qt's horizontal flag for an alignment.
Qt::Alignment horizontalAlignment(Alignment alignment);

// The events of the old controls. Unset hooks cost nothing.
struct ControlEvents {
    // Character keys, Backspace (8), Enter (13) and Esc (27); setting keyAscii to 0
    // swallows the key, another value types that character instead.
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void()> Click;
    std::function<void()> GotFocus;
    // Button 1 left, 2 right (the buttons held, for MouseMove); x and y in twips.
    using MouseHook = std::function<void(int button, int shift, int x, int y)>;
    MouseHook MouseDown;
    MouseHook MouseMove;
    MouseHook MouseUp;
};

class EventBridge;

class Control : public QWidget, public ControlEvents {
    Q_OBJECT
public:
    ~Control() override;

    // Placement and size in twips, relative to the parent (form, frame or tab).
    void setHeight(int twips);
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);

    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color);
    void setFont(const QString& family, double pointSize, bool bold = false);
    void setToolTipText(const QString& text) { setToolTip(text); inner_->setToolTip(text); }

    void SetFocus();
    bool hasFocusNow() const;

    // The Qt widget that does the work; tests may drive it directly.
    QWidget* inner() const { return inner_; }
    // Whether typed text may change the control (false for a Locked box, whose keys
    // still reach KeyPress but whose text the input method must not change either).
    virtual bool takesTypedText() const { return true; }

protected:
    Control(QWidget* parent, QWidget* inner);
    // Routes the events of `widget` (the inner widget, a viewport, a combo's editor)
    // through the hooks of this control.
    void bridge(QWidget* widget);
    // Controls whose Click is a plain mouse click (text boxes, labels) turn this on;
    // buttons, lists and grids fire Click themselves.
    void setClickOnRelease(bool on);
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    QWidget* inner_;
    EventBridge* bridge_;
    bool focusInside_ = false;
    friend class EventBridge;
};

}  // namespace forms
