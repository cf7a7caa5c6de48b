// Form: the base of every working window. A form is shown as a child of the main
// window's MDI area (or top-level), placed and sized in twips, and receives the old
// events: Form_Load once before it is first shown, Form_Activate whenever it becomes
// the active window of this program (and when the help window hands control back
// through ReturnFromHelp), never on a return from another program; Form_QueryUnload
// before it closes. A form deletes itself when it is unloaded. A top-level form is
// owned by the main window and stays above it; the user cannot close a disabled form.
// A handler that lets pending events run holds a PumpScope: an Unload or a click on
// the close box reaching the window meanwhile waits until the handler has ended.
// The keyboard works as on the old forms: a shown form gives the focus to the first
// control of its tab order that can take it (unless Form_Load already placed it, and
// Form_Activate may move it on), and Tab and Shift+Tab walk every control that takes
// the focus, round from the last to the first.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <optional>
#include <vector>

class QKeyEvent;
class QMdiArea;
class QMdiSubWindow;

namespace forms {

class CommandButton;

class Form : public QWidget {
    Q_OBJECT
public:
    enum class Placement { MdiChild, TopLevel };
    // The buttons of the title bar. Every form states its own before it is loaded;
    // without a close box the user can't close the form, only Unload does.
    enum class WindowButtons { None, CloseBox, CloseBoxMinMax };
    explicit Form(Placement placement = Placement::MdiChild);
    ~Form() override;

    // The main window's MDI area, set once by the main window.
    static void setMdiArea(QMdiArea* area);
    static QMdiArea* mdiArea();
    // The form that was last activated (nullptr when none).
    static Form* ActiveForm();

    // The help window's hand-back: enables `form` again and gives it its
    // Form_Activate, as the old program did when the help window closed.
    static void ReturnFromHelp(Form* form);

    // Held by a handler for as long as it runs when it lets pending events run. The
    // pump may deliver the window's exit button or close box in the middle of it, and
    // a window deleted under a running handler takes the program down: while any
    // scope is held, Unload and the close box only leave a note (nothing closes,
    // Form_QueryUnload does not run yet); when the last scope ends, the window
    // unloads the normal way.
    class PumpScope {
    public:
        explicit PumpScope(Form& form) : form_(form) { ++form_.pumpScopes_; }
        ~PumpScope();
        PumpScope(const PumpScope&) = delete;
        PumpScope& operator=(const PumpScope&) = delete;

    private:
        Form& form_;
    };

    void Load();                                    // runs Form_Load once
    void Show();
    // Closes the form (Form_QueryUnload runs first and may cancel) and deletes it;
    // while a PumpScope is held, once the last one ends.
    void Unload();

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption);

    // Outer placement and size in twips: within the MDI area's client for a child,
    // on the screen for a top-level form.
    int Width() const;
    int Height() const;
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    // The inner (client) size in twips, as the window descriptions give it. Set before
    // the form is loaded (in its constructor), it is kept and given to the MDI frame
    // when Load makes one. Positions, in contrast, belong in Form_Load: Move and the
    // placement rules below measure against the frame and the main window.
    void setClientSize(int width, int height);
    int ScaleWidth() const;
    int ScaleHeight() const;

    // Placement rules of the windows: left = (area width - Width) / xDivisor,
    // top = (area height - Height) / yDivisor, on the screen or on the main window
    // (a top-level form placed on the main window stands over it wherever it is).
    void PlaceOnScreen(double xDivisor, double yDivisor);
    void PlaceOnMainWindow(double xDivisor, double yDivisor);
    // Main window size in twips (0 when there is none).
    static int MainWidth();
    static int MainHeight();

    void setWindowButtons(WindowButtons buttons);

    // The tab order, first to last (TabIndex 0, 1, ...). The Tab chain is these
    // controls in this order, then every other control of the form that takes the
    // focus, in the order they were made (a tabbed control after the controls on its
    // tabs); Tab and Shift+Tab pass over hidden and disabled ones, and of a group of
    // option buttons stop only at the selected one.
    void setTabOrder(std::initializer_list<QWidget*> controls);

    // The enabled, shown command button whose caption gives `key` (Alt with a letter or
    // digit) as its access key ("清屏&Q"), or nullptr. While the window is active its
    // access keys win over the main window's menus: the button takes the focus and is
    // clicked, and the key types nothing.
    CommandButton* accessKeyButton(const QKeyEvent& key) const;
    static bool pressAccessKey(const QWidget* within, const QKeyEvent& key);

    // The sub-window that holds an MDI child (nullptr for top-level or before Show).
    QMdiSubWindow* subWindow() const { return sub_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Runs before the form closes, by its close box or by Unload; cancel != 0 keeps it.
    virtual void Form_QueryUnload(int& cancel) { (void)cancel; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    static void noteActivated(Form* form);
    static void watchArea(QMdiArea* area);
    QWidget* frameWidget() const;
    QSize frameExtent() const;
    void applyWindowButtons();
    std::vector<QWidget*> tabChain() const;
    // The controls that Tab would visit now, from the first.
    std::vector<QWidget*> tabStops() const;
    void focusFirstControl();

    Placement placement_;
    QMdiSubWindow* sub_ = nullptr;
    bool loaded_ = false;
    std::optional<WindowButtons> buttons_;
    bool byCode_ = false;
    bool inQueryUnload_ = false;
    bool unloadRequested_ = false;
    int pumpScopes_ = 0;            // PumpScopes held: an unload waits for them
    bool unloadWaiting_ = false;    // an Unload or the close box came while they were held
    bool clientSized_ = false;      // setClientSize ran: the MDI frame is sized to it
    std::vector<QPointer<QWidget>> tabOrder_;
};

}  // namespace forms
