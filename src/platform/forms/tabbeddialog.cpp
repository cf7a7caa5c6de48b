// The tabbed control (see tabbeddialog.h).
#include "platform/forms/tabbeddialog.h"

#include <QTabWidget>

namespace forms {

TabbedDialog::TabbedDialog(QWidget* parent, const QStringList& captions) : Control(parent, new QTabWidget)
{
    tabs_ = static_cast<QTabWidget*>(inner());
    for (const QString& caption : captions) tabs_->addTab(new QWidget, caption);
    setFocusProxy(nullptr);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (!settingFromCode_ && Click) Click();
    });
}

int TabbedDialog::Tab() const { return tabs_->currentIndex(); }

void TabbedDialog::setTab(int index)
{
    settingFromCode_ = true;
    tabs_->setCurrentIndex(index);
    settingFromCode_ = false;
}

QWidget* TabbedDialog::Page(int index) const { return tabs_->widget(index); }

}  // namespace forms
