// Message boxes as the old runtime showed them (MsgBox, the information notice and the
// three error-report forms), with a test hook that answers them in advance and logs
// what was shown; with the hook installed nothing real is shown.
#pragma once

#include "platform/forms/test_hook.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <exception>
#include <vector>

namespace forms {

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
    class TestHook : public InstalledHook<TestHook> {
    public:
        void answer(int reply) { answers.push_back(reply); }
        const std::vector<Shown>& shown() const { return log; }
        QStringList texts() const;
        void clear() { log.clear(); answers.clear(); }

        std::deque<int> answers;
        std::vector<Shown> log;
    };
};

}  // namespace forms
