// TabbedDialog: the old tabbed control. Tabs are made with their captions; controls
// are created on a tab's page; `Tab` selects from code; Click fires when the user
// changes the tab.
#pragma once

#include "platform/forms/control.h"

#include <QStringList>

class QTabWidget;

namespace forms {

class TabbedDialog : public Control {
    Q_OBJECT
public:
    explicit TabbedDialog(QWidget* parent = nullptr, const QStringList& captions = {});

    int Tab() const;
    void setTab(int index);
    // The page on which the controls of tab `index` are created.
    QWidget* Page(int index) const;

private:
    QTabWidget* tabs_;
    bool settingFromCode_ = false;
};

}  // namespace forms
