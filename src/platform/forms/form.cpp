// The window base (see form.h): MDI or top-level placement in twips, the old
// Load/Activate/QueryUnload events, the title-bar buttons, the first focus and the
// Tab chain, and Enter on a button.
#include "platform/forms/form.h"

#include "platform/forms/buttons.h"
#include "platform/forms/control.h"
#include "platform/forms/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <stdexcept>

namespace forms {

namespace {
QPointer<QMdiArea> theArea;
QPointer<Form> lastActive;
QMetaObject::Connection areaWatch;
}  // namespace

Form::Form(Placement placement) : QWidget(nullptr), placement_(placement)
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    setFont(font);
    // The form paints its own background, so a box repainted while the user types
    // stops at the form instead of redrawing the sub-window's frame and title bar.
    setAutoFillBackground(true);
}

Form::~Form() = default;

void Form::setMdiArea(QMdiArea* area)
{
    theArea = area;
    if (area) watchArea(area);
}

QMdiArea* Form::mdiArea() { return theArea; }
Form* Form::ActiveForm() { return lastActive; }

// Form_Activate runs when a different form of this program becomes active; coming
// back from another program re-activates the same form and runs nothing.
void Form::noteActivated(Form* form)
{
    if (!form || form == lastActive) return;
    lastActive = form;
    form->Form_Activate();
}

void Form::watchArea(QMdiArea* area)
{
    QObject::disconnect(areaWatch);
    areaWatch = QObject::connect(area, &QMdiArea::subWindowActivated, area, [](QMdiSubWindow* sub) {
        if (sub) noteActivated(qobject_cast<Form*>(sub->widget()));
    });
}

void Form::ReturnFromHelp(Form* form)
{
    if (!form) return;
    form->setEnabled(true);
    if (lastActive == form) {   // the help window took no activation from it
        form->Form_Activate();
        return;
    }
    if (form->sub_ && theArea) theArea->setActiveSubWindow(form->sub_);
    noteActivated(form);        // nothing if the activation above already ran it
}

void Form::Load()
{
    if (loaded_) return;
    if (!buttons_) throw std::logic_error("a form states its title-bar buttons before it is loaded");
    loaded_ = true;
    if (placement_ == Placement::MdiChild && theArea && !sub_) {
        sub_ = theArea->addSubWindow(this);
        sub_->setAttribute(Qt::WA_DeleteOnClose);
        sub_->setWindowTitle(windowTitle());
        applyWindowButtons();
        if (clientSized_) sub_->resize(size() + frameExtent());
    } else {
        // Owned by the main window, a top-level form (the help and the progress
        // window) stays above it: the user never looks for it behind the main window
        // while the window that called it waits disabled.
        if (theArea) setParent(theArea->window(), windowFlags() | Qt::Window);
        setAttribute(Qt::WA_DeleteOnClose);
        applyWindowButtons();
    }
    Form_Load();
}

// A window may unload itself while it is being shown (its first Form_Activate finds
// nothing to work on); closing a sub-window in the middle of its own activation is
// unsafe, so Show holds a PumpScope and that Unload takes effect once the window is up.
void Form::Show()
{
    const PumpScope showing(*this);
    Load();
    if (!focusWidget()) focusFirstControl();
    if (sub_) {
        sub_->show();
        show();
        theArea->setActiveSubWindow(sub_);
    } else {
        show();
        raise();
        if (!testAttribute(Qt::WA_ShowWithoutActivating)) activateWindow();
    }
    noteActivated(this);
}

Form::PumpScope::~PumpScope()
{
    if (--form_.pumpScopes_ > 0 || !form_.unloadWaiting_) return;
    form_.unloadWaiting_ = false;
    form_.Unload();
}

void Form::Unload()
{
    if (inQueryUnload_) {   // Unload from within Form_QueryUnload: the close goes on
        unloadRequested_ = true;
        return;
    }
    if (pumpScopes_ > 0) {
        unloadWaiting_ = true;
        return;
    }
    byCode_ = true;
    if (sub_) sub_->close();
    else close();
    byCode_ = false;
}

// The user closes a window only by its close box, and not while the window is
// disabled (while the help window it called is open, for one). A close that comes
// while a PumpScope is held is kept for the end of the last one.
void Form::closeEvent(QCloseEvent* event)
{
    if (!byCode_ && (buttons_ == WindowButtons::None || !isEnabled())) {
        event->ignore();
        return;
    }
    if (pumpScopes_ > 0) {  // a handler still runs: the window closes after it
        unloadWaiting_ = true;
        event->ignore();
        return;
    }
    int cancel = 0;
    inQueryUnload_ = true;
    Form_QueryUnload(cancel);
    inQueryUnload_ = false;
    if (cancel != 0 && !unloadRequested_) {
        event->ignore();
        return;
    }
    event->accept();
    if (lastActive == this) lastActive = nullptr;
}

void Form::setCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (sub_) sub_->setWindowTitle(caption);
}

QWidget* Form::frameWidget() const
{
    if (sub_) return sub_;
    return const_cast<Form*>(this);
}

int Form::Width() const { return toTwips(sub_ ? sub_->width() : frameGeometry().width()); }
int Form::Height() const { return toTwips(sub_ ? sub_->height() : frameGeometry().height()); }

void Form::Move(int left, int top)
{
    frameWidget()->move(toPixels(left), toPixels(top));
}

// What the borders and the caption add to the client area, in pixels.
QSize Form::frameExtent() const
{
    if (!sub_) return frameGeometry().size() - geometry().size();
    QMargins margins = sub_->contentsMargins();
    if (sub_->layout()) margins += sub_->layout()->contentsMargins();
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

void Form::Move(int left, int top, int width, int height)
{
    Move(left, top);
    const QSize outer(toPixels(width), toPixels(height));
    if (sub_) sub_->resize(outer);
    else resize((outer - frameExtent()).expandedTo(QSize(1, 1)));
}

void Form::setClientSize(int width, int height)
{
    const QSize client(toPixels(width), toPixels(height));
    clientSized_ = true;
    resize(client);
    if (sub_) sub_->resize(client + frameExtent());
}

int Form::ScaleWidth() const { return toTwips(width()); }
int Form::ScaleHeight() const { return toTwips(height()); }

void Form::PlaceOnScreen(double xDivisor, double yDivisor)
{
    Move(static_cast<int>((Screen::Width() - Width()) / xDivisor),
         static_cast<int>((Screen::Height() - Height()) / yDivisor));
}

void Form::PlaceOnMainWindow(double xDivisor, double yDivisor)
{
    // An MDI child moves within the main window already; a top-level form moves on
    // the screen, so it starts from the main window's own corner.
    const QPoint mainCorner = (!sub_ && theArea) ? theArea->window()->frameGeometry().topLeft() : QPoint();
    Move(toTwips(mainCorner.x()) + static_cast<int>((MainWidth() - Width()) / xDivisor),
         toTwips(mainCorner.y()) + static_cast<int>((MainHeight() - Height()) / yDivisor));
}

int Form::MainWidth()
{
    return theArea ? toTwips(theArea->window()->frameGeometry().width()) : 0;
}

int Form::MainHeight()
{
    return theArea ? toTwips(theArea->window()->frameGeometry().height()) : 0;
}

void Form::setWindowButtons(WindowButtons buttons)
{
    buttons_ = buttons;
    applyWindowButtons();
}

void Form::applyWindowButtons()
{
    const bool closeBox = buttons_ != WindowButtons::None;
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    if (buttons_ == WindowButtons::CloseBoxMinMax) flags |= Qt::WindowMinMaxButtonsHint;
    if (sub_) {
        sub_->setWindowFlags(flags | Qt::SubWindow);
        if (!closeBox) sub_->setSystemMenu(nullptr);
    } else if (loaded_) {
        // A window manager may put its buttons on any title bar it draws (openbox
        // keeps minimise, maximise and close whatever the window asks), so a top-level
        // form without buttons and without a caption gets no title bar at all.
        if (!closeBox && windowTitle().isEmpty()) flags = Qt::FramelessWindowHint;
        const bool visible = isVisible();
        setWindowFlags(flags | Qt::Window);
        if (visible) show();
    }
}

void Form::setTabOrder(std::initializer_list<QWidget*> controls)
{
    tabOrder_.assign(controls.begin(), controls.end());
}

namespace {

// The widget that takes the focus for `control`: the end of its focus proxies, or, for
// a control that takes none itself (the tabbed control), its inner widget's.
QWidget* focusTaker(QWidget* control)
{
    QWidget* taker = control;
    while (taker->focusProxy()) taker = taker->focusProxy();
    if (taker->focusPolicy() & Qt::TabFocus) return taker;
    if (auto* kitControl = qobject_cast<Control*>(control); kitControl && kitControl->inner() != control)
        return focusTaker(kitControl->inner());
    return nullptr;
}

// Of a group of option buttons only the selected one is a stop.
bool unselectedOption(QWidget* control)
{
    const auto* option = qobject_cast<OptionButton*>(control);
    if (!option || option->Value()) return false;
    const auto siblings = option->parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly);
    return std::any_of(siblings.begin(), siblings.end(), [](const OptionButton* o) { return o->Value(); });
}

}  // namespace

// The controls the tab order leaves out follow it in the order they were made, those
// holding others (the tabbed control) after all the rest.
std::vector<QWidget*> Form::tabChain() const
{
    std::vector<QWidget*> chain;
    for (const QPointer<QWidget>& control : tabOrder_)
        if (control) chain.push_back(control);
    const auto declared = static_cast<std::ptrdiff_t>(chain.size());
    for (Control* control : findChildren<Control*>())
        if (focusTaker(control) && std::find(chain.begin(), chain.end(), control) == chain.end())
            chain.push_back(control);
    std::stable_partition(chain.begin() + declared, chain.end(),
                          [](const QWidget* control) { return !control->findChild<Control*>(); });
    return chain;
}

std::vector<QWidget*> Form::tabStops() const
{
    std::vector<QWidget*> stops;
    for (QWidget* control : tabChain()) {
        if (!control->isVisibleTo(this) || !control->isEnabledTo(this) || unselectedOption(control)) continue;
        if (focusTaker(control)) stops.push_back(control);
    }
    return stops;
}

// The old forms gave the focus to the control with tab index 0 when they were shown,
// or to the next that could take it.
void Form::focusFirstControl()
{
    const std::vector<QWidget*> stops = tabStops();
    if (!stops.empty()) focusTaker(stops.front())->setFocus(Qt::OtherFocusReason);
}

// Tab and Shift+Tab move to the next or the previous stop of the chain, round from the
// last to the first. The stop that holds the focus is the innermost one around it (a
// box on a tab's page, not the tabbed control).
bool Form::focusNextPrevChild(bool next)
{
    const std::vector<QWidget*> stops = tabStops();
    if (stops.empty()) return true;
    auto current = stops.end();
    for (QWidget* w = QApplication::focusWidget(); w && w != this && current == stops.end(); w = w->parentWidget())
        current = std::find(stops.begin(), stops.end(), w);
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t at = current == stops.end() ? (next ? -1 : 0) : current - stops.begin();
    at = ((next ? at + 1 : at - 1) % count + count) % count;
    focusTaker(stops[static_cast<std::size_t>(at)])->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

// The command button that holds the keyboard focus, if any.
static CommandButton* focusedButton()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (auto* button = qobject_cast<CommandButton*>(widget)) return button;
    return nullptr;
}

// The shown, enabled button whose caption marks the letter of Alt+letter `key`.
CommandButton* Form::accessKeyButton(const QKeyEvent& key) const
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool letter = (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) || (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9);
    if (!letter || (modifiers & ~Qt::ShiftModifier) != Qt::AltModifier) return nullptr;
    const QString mark = QStringLiteral("&") + QChar(key.key());
    for (CommandButton* button : findChildren<CommandButton*>()) {
        if (!button->isEnabled() || !button->isVisible()) continue;
        const QString caption = QString(button->Caption()).replace(QStringLiteral("&&"), QString());
        if (caption.contains(mark, Qt::CaseInsensitive)) return button;
    }
    return nullptr;
}

// The access key of the window that holds `within`, pressed: true when it was one.
bool Form::pressAccessKey(const QWidget* within, const QKeyEvent& key)
{
    for (const QWidget* w = within; w; w = w->parentWidget()) {
        const auto* form = qobject_cast<const Form*>(w);
        if (!form) continue;
        CommandButton* button = form->accessKeyButton(key);
        if (!button) return false;
        button->SetFocus();
        button->Press();
        return true;
    }
    return false;
}

// An access key presses its button; Enter on a command button clicks it, as the
// space does.
void Form::keyPressEvent(QKeyEvent* event)
{
    if (pressAccessKey(this, *event)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (CommandButton* button = focusedButton()) {
            button->Press();
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !sub_) noteActivated(this);
    if (event->type() == QEvent::ShortcutOverride && accessKeyButton(*static_cast<QKeyEvent*>(event))) {
        event->accept();   // the key comes as a key press, not as a menu's shortcut
        return true;
    }
    return QWidget::event(event);
}

}  // namespace forms
