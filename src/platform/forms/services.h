// Services the windows take from the platform, each behind one small class with a
// static API and a test hook: message boxes (and the three error-report forms), the
// common file dialog, the screen's mouse pointer, the event pump and the clock, and
// pop-up menus. With a hook installed nothing real is shown and no time passes.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QAction;
class QWidget;

namespace forms {

// ---- Message boxes --------------------------------------------------------------

// Buttons and icons, combined with |, and the answers, as the old runtime numbered them.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;

constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// Shows a message box and returns the answer (vbOK, vbYes, vbNo, vbCancel).
// With `title` omitted the box carries the program's default title; an empty
// title stays empty, as the working windows pass it.
int MsgBox(const QString& text, int flags = vbOKOnly);
int MsgBox(const QString& text, int flags, const QString& title);

// A notice of a working window: information icon, OK, empty title.
void Notice(const QString& text);

// The error reports of trapped handlers:
// the description alone (information icon, empty title);
void ReportError(const QString& description);
// "错误号码：<n>错误内容：<description>" on one line (information icon, empty title);
void ReportErrorLine(int number, const QString& description);
// the same for any error (ErrorNumber and ErrorDescription below);
void ReportErrorLine(const std::exception& error);
// "错误号码：<n>" CR LF "错误内容：<description>" (OK only, no icon). The number may
// be written with one leading blank (the old Str conversion), and the title is the
// program's default title or empty, as each window's wording says.
enum class NumberText { Plain, LeadingBlank };
enum class BoxTitle { Default, Empty };
void ReportErrorBlock(int number, const QString& description,
                      NumberText numberText = NumberText::Plain, BoxTitle title = BoxTitle::Default);

// The number and the description of any error a handler traps: a runtime or
// database error carries its own; any other is error 51 with its text.
int ErrorNumber(const std::exception& error);
QString ErrorDescription(const std::exception& error);

class MessageBoxes {
public:
    struct Shown {
        QString text;
        QString title;
        int buttons = vbOKOnly;                     // flags & 7
        int icon = 0;                               // vbInformation, vbQuestion, ... or 0
        int answer = vbOK;
        bool queued = false;                        // false: the hook answered by default
    };

    static int show(const QString& text, int flags, const QString& title);
    static QString defaultTitle();
    static void setDefaultTitle(const QString& title);

    // Installed for its lifetime: boxes are logged and answered from the queue; with
    // the queue empty a box gets its first button (OK, or Yes).
    class TestHook {
    public:
        TestHook();
        ~TestHook();
        TestHook(const TestHook&) = delete;
        TestHook& operator=(const TestHook&) = delete;
        void answer(int reply) { answers.push_back(reply); }
        const std::vector<Shown>& shown() const { return log; }
        QStringList texts() const;
        void clear() { log.clear(); answers.clear(); }

        std::deque<int> answers;
        std::vector<Shown> log;
    };
};

// ---- File dialogs ----------------------------------------------------------------

// The common dialog as a window holds it (`CmDlog`): set InitDir, Filter (the old
// "text|pattern|text|pattern" form) and DialogTitle, call ShowOpen or ShowSave, and
// read FileName. A cancelled dialog leaves FileName as it was.
class CommonDialog {
public:
    QString InitDir;
    QString Filter;
    QString DialogTitle;
    QString FileName;

    bool ShowOpen(QWidget* parent = nullptr);       // false when cancelled
    bool ShowSave(QWidget* parent = nullptr);

    struct Shown {
        bool save = false;
        QString initDir;
        QString filter;
        QString title;
    };
    // Installed for its lifetime: each dialog takes the next queued file name
    // (std::nullopt cancels); an empty queue cancels.
    class TestHook {
    public:
        TestHook();
        ~TestHook();
        TestHook(const TestHook&) = delete;
        TestHook& operator=(const TestHook&) = delete;
        void choose(const QString& fileName) { answers.push_back(fileName); }
        void cancel() { answers.push_back(std::nullopt); }

        std::deque<std::optional<QString>> answers;
        std::vector<Shown> log;
    };

    // "数据库文件(*.mdb)|*.mdb" -> "数据库文件(*.mdb) (*.mdb)".
    static QString qtFilter(const QString& oldFilter);

private:
    bool run(bool save, QWidget* parent);
};

// ---- Mouse pointer ----------------------------------------------------------------

constexpr int vbDefault = 0;
constexpr int vbArrow = 1;
constexpr int vbHourglass = 11;
constexpr int vbArrowHourglass = 13;

// Screen.MousePointer: setting replaces the shape (never stacks on Qt's override
// cursor stack); 0 and 1 give the normal pointer back.
class Screen {
public:
    static void setMousePointer(int pointer);
    static int MousePointer();
    // Screen size in twips.
    static int Width();
    static int Height();
};

// ---- Event pump and clock -------------------------------------------------------

void DoEvents();

// The event pump of a long loop, which calls it on every row: the first call lets
// pending events run, later ones only when a slice of time has passed since they last
// did. The window keeps answering (a press, a close box, a repaint within a slice)
// while the loop pays for the pump a few times a second instead of on every row.
class EventSlice {
public:
    explicit EventSlice(int milliseconds = 30) : milliseconds_(milliseconds) {}
    void DoEvents();

private:
    int milliseconds_;
    QElapsedTimer lastRun_;
};

class Clock {
public:
    static QDate Today();
    static QDateTime Now();
    // Seconds since midnight, as the old Timer function gave them.
    static double Timer();
    // Waits `seconds` on a monotonic clock, pumping events all the while.
    static void WaitSeconds(double seconds);

    // Installed for its lifetime: Today/Now come from the hook and waits return at
    // once (after one pass of the event pump), adding to `waited`.
    class TestHook {
    public:
        explicit TestHook(const QDate& today = QDate(2024, 3, 15));
        ~TestHook();
        TestHook(const TestHook&) = delete;
        TestHook& operator=(const TestHook&) = delete;
        void setToday(const QDate& date) { now = QDateTime(date, now.time()); }

        QDateTime now;
        double waited = 0;
        int waits = 0;
    };
};

// ---- Pop-up menus ----------------------------------------------------------------

// Pops `menu` up at the mouse; `defaultItem` (if given) is shown bold. Returns the
// item chosen (already triggered), or nullptr.
QAction* PopupMenu(QMenu* menu, QAction* defaultItem = nullptr);

class PopupMenus {
public:
    struct Shown {
        QMenu* menu = nullptr;
        QAction* defaultItem = nullptr;
    };
    // Installed for its lifetime: no menu is shown; each pop-up takes the next queued
    // item (nullptr: dismissed; empty queue: dismissed) and triggers it.
    class TestHook {
    public:
        TestHook();
        ~TestHook();
        TestHook(const TestHook&) = delete;
        TestHook& operator=(const TestHook&) = delete;
        void choose(QAction* item) { answers.push_back(item); }

        std::deque<QAction*> answers;
        std::vector<Shown> log;
    };
};

}  // namespace forms
