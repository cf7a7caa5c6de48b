// Pop-up menus; see popup_menu.h.
#include "platform/forms/popup_menu.h"

#include "platform/forms/answer_queue.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace forms {

namespace {
PopupMenus::TestHook* popupHook = nullptr;
}  // namespace

QAction* PopupMenu(QMenu* menu, QAction* defaultItem)
{
    if (!menu) return nullptr;
    menu->setDefaultAction(defaultItem);
    if (popupHook) {
        popupHook->log.push_back({menu, defaultItem});
        QAction* chosen = takeNext(popupHook->answers).value_or(nullptr);
        if (chosen) chosen->trigger();
        return chosen;
    }
    return menu->exec(QCursor::pos());
}

PopupMenus::TestHook::TestHook() { popupHook = this; }
PopupMenus::TestHook::~TestHook() { if (popupHook == this) popupHook = nullptr; }

}  // namespace forms
