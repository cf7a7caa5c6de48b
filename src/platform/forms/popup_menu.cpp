// Pop-up menus; see popup_menu.h.
#include "platform/forms/popup_menu.h"


#include <QAction>
#include <QCursor>
#include <QMenu>

namespace forms {

QAction* PopupMenu(QMenu* menu, QAction* defaultItem)
{
    if (!menu) return nullptr;
    menu->setDefaultAction(defaultItem);
    if (PopupMenus::TestHook* hook = PopupMenus::TestHook::installed()) {
        hook->log.push_back({menu, defaultItem});
        QAction* chosen = takeNext(hook->answers).value_or(nullptr);
        if (chosen) chosen->trigger();
        return chosen;
    }
    return menu->exec(QCursor::pos());
}


}  // namespace forms
