// The common file dialog as a window holds it, with a test hook that chooses the file
// names in advance and logs what was asked.
#pragma once

#include "platform/forms/test_hook.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace forms {

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
    class TestHook : public InstalledHook<TestHook> {
    public:
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

}  // namespace forms
