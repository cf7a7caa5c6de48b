// FrmHelp and the registry of the windows that own help codes.
#include "core/help_window.h"

#include "core/globals.h"
#include "core/help_texts.h"
#include "platform/forms/textbox.h"

#include <QHash>
#include <QPointer>

namespace core {

namespace {

constexpr int ClientWidth = 7200;    // twips
constexpr int ClientHeight = 5400;

QHash<QString, QPointer<forms::Form>>& helpOwners()
{
    static QHash<QString, QPointer<forms::Form>> owners;
    return owners;
}

}  // namespace

FrmHelp::FrmHelp()
    : forms::Form(Placement::TopLevel),
      TxtHelp(new forms::TextBox(this, forms::TextBox::Lines::Multi))
{
    setCaption(QStringLiteral("帮助向导"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::CloseBox);
    TxtHelp->Move(0, 0, ClientWidth, ClientHeight);
    TxtHelp->setLocked(true);
    TxtHelp->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    TxtHelp->setFont(QStringLiteral("宋体"), 10.5);
}

void FrmHelp::Form_Load()
{
    PlaceOnScreen(2, 2);
    TxtHelp->setText(helpTextFor(HelpTopic));
}

void FrmHelp::Form_QueryUnload(int& /*cancel*/)
{
    if (forms::Form* owner = helpOwners().value(HelpTopic))
        forms::Form::ReturnFromHelp(owner);
    HelpTopic.clear();
}

void RegisterHelpOwner(const QString& helpCode, forms::Form* window)
{
    helpOwners().insert(helpCode, window);
}

void ShowHelpFor(forms::Form* window, const QString& helpCode)
{
    RegisterHelpOwner(helpCode, window);
    window->setEnabled(false);
    HelpTopic = helpCode;
    (new FrmHelp)->Show();
}

}  // namespace core
