// The world of a window test: a fresh database (TestEnvironment) that the globals point
// at and that stays open for the test as the program holds it for its run, a real main window, message boxes answered from a queue and logged, and today
// fixed by the clock's hook. A window is opened through its menu item as the user
// opens it; keys, text and clicks reach its controls through QTest.
#pragma once

#include "core/main_window.h"
#include "platform/forms/services.h"
#include "support/test_environment.h"

#include <QDate>
#include <QStringList>
#include <QWidget>
#include <initializer_list>
#include <memory>

namespace forms {
class Control;
class CommandButton;
class FlexGrid;
class Form;
}

class WindowFixture {
public:
    explicit WindowFixture(const QDate& today = QDate(2024, 3, 15));
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TestEnvironment& environment() { return environment_; }
    core::MDIFqhmz& mainWindow() { return *mainWindow_; }
    forms::MessageBoxes::TestHook& boxes() { return boxes_; }
    forms::Clock::TestHook& clock() { return clock_; }

    // Opens a window of type W through the menu item `itemName` (wired here as the
    // program wires it) and returns it, loaded, shown and active.
    template <class W>
    W* open(const QString& itemName)
    {
        W* window = nullptr;
        openThroughMenu(itemName, [&window] { return window = new W; });
        return window;
    }
    void openThroughMenu(const QString& itemName, const core::MDIFqhmz::FormFactory& factory);

    // Answers for the next message boxes, in order (an empty queue answers OK or Yes).
    void answer(std::initializer_list<int> replies);
    // The texts of the message boxes shown so far, and a fresh start of the log.
    QStringList messages() const { return boxes_.texts(); }
    void clearMessages() { boxes_.log.clear(); }

    // Types `text` into a control, key by key (Chinese through the input method).
    static void type(forms::Control* control, const QString& text);
    static void pressEnter(forms::Control* control);
    static void click(forms::CommandButton* button);
    // Clicks a grid's row as the mouse does (row 0: the header row).
    static void clickGridRow(forms::FlexGrid* grid, int row);
    // The widget that has the keyboard focus, as the control that holds it (or null).
    static forms::Control* focusedControl();
    // Another window of the program becomes active, then `window` again.
    void activateAnotherAndBack(forms::Form* window);
    // Whether the controls stand on one line, left to right in the order given, none
    // touching the next.
    static bool sideBySide(std::initializer_list<const QWidget*> row);

private:
    TestEnvironment environment_;
    forms::MessageBoxes::TestHook boxes_;
    forms::Clock::TestHook clock_;
    QString previousWindowsDir_;
    std::unique_ptr<core::MDIFqhmz> mainWindow_;
};
