// Pop-up menus shown where the mouse is, with a test hook that picks the item in
// advance and logs what was offered.
#pragma once

#include "platform/forms/test_hook.h"

#include <deque>
#include <vector>

class QAction;
class QMenu;

namespace forms {

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
    class TestHook : public InstalledHook<TestHook> {
    public:
        void choose(QAction* item) { answers.push_back(item); }

        std::deque<QAction*> answers;
        std::vector<Shown> log;
    };
};

}  // namespace forms
