// The import window FrmLinkDb; see import_window.h.
#include "maintenance/import_window.h"

#include "core/error_trap.h"
#include "core/look.h"
#include "core/main_window.h"
#include "maintenance/database_copy.h"
#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace maintenance {

namespace {
constexpr int ClientWidth = 8235;
constexpr int ClientHeight = 1815;
constexpr double ProgressEnd = 110;
}  // namespace

FrmLinkDb::FrmLinkDb()
    : CmdFileName(new forms::CommandButton(this, QStringLiteral("文件名称&F"))),
      TxtFile(core::makeBox(this, 0)),
      CmdLook(new forms::CommandButton(this, QStringLiteral("导入数据&L"))),
      CmdQcls(new forms::CommandButton(this, QStringLiteral("清屏&Q"))),
      CmdQuit(new forms::CommandButton(this, QStringLiteral("退出&T"))),
      ProgBar(new forms::ProgressBar(this)),
      LabJd(new forms::Label(this)),
      pupmenu1(new QMenu(this))
{
    setCaption(QStringLiteral("导入数据库"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    TxtFile->setLocked(true);
    ProgBar->setRange(0, ProgressEnd);
    LabJd->setFont(core::look::FontName, core::look::FontSize);
    layOut();
    setTabOrder({CmdQuit, CmdQcls, CmdLook, TxtFile, CmdFileName});

    for (const ImportMember& member : importMembers()) {
        QAction* item = pupmenu1->addAction(member.caption);
        item->setObjectName(member.menuItem);
        connect(item, &QAction::triggered, this, [this, &member] { importClicked(member); });
    }
    CmdFileName->Click = [this] { CmdFileName_Click(); };
    CmdLook->Click = [this] { CmdLook_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdQuit->Click = [this] { CmdQuit_Click(); };
}

void FrmLinkDb::layOut()
{
    CmdFileName->Move(120, 120, 1215, 375);
    TxtFile->Move(1440, 120, 6615, 375);
    CmdLook->Move(240, 720, 2595, 375);
    CmdQcls->Move(2880, 720, 2595, 375);
    CmdQuit->Move(5640, 720, 2475, 375);
    ProgBar->Move(240, 1320, 8055, 255);
    LabJd->Move(2760, 1560, 2655, 255);
}

void FrmLinkDb::Form_Load()
{
    PlaceOnMainWindow(2, 3);
    forms::DoEvents();
    Qpcls();   // the focus is on CmdQuit, the first of the tab order, as the window shows
}

void FrmLinkDb::Qpcls()
{
    TxtFile->setText(QString());
    LabJd->setCaption(QString());
    ProgBar->setVisible(false);
    forms::Screen::setMousePointer(forms::vbDefault);
}

// A cancelled dialog leaves the path box as it was: after 清屏 a cancel must not
// bring back the file chosen before for the next import to read unasked.
void FrmLinkDb::CmdFileName_Click()
{
    CmDialg.InitDir = QCoreApplication::applicationDirPath() + QStringLiteral("/");
    CmDialg.Filter = QStringLiteral("*.mdb|*.mdb");
    CmDialg.DialogTitle = QStringLiteral("查找 mdb 数据库");
    const bool chosen = CmDialg.ShowOpen(this);
    forms::DoEvents();
    forms::DoEvents();
    if (chosen) TxtFile->setText(CmDialg.FileName);
}

void FrmLinkDb::CmdLook_Click() { forms::PopupMenu(pupmenu1); }

void FrmLinkDb::CmdQcls_Click()
{
    Qpcls();
    CmdFileName->SetFocus();
}

void FrmLinkDb::CmdQuit_Click()
{
    Unload();
    forms::DoEvents();
    core::menuOn();
}

// ---- the import -----------------------------------------------------------------

// The record loop runs no events; the one pump before it lets the window repaint
// after the menu. On an error the bar and the percentage stay where the run stopped.
void FrmLinkDb::importClicked(const ImportMember& member)
{
    const QString file = TxtFile->Text();
    if (vb::Trim(file).isEmpty()) return;
    const PumpScope pumping(*this);
    core::runTrappedBlock([&] {
        forms::DoEvents();
        importTable(member, databaseFile(), file, *this);
    });
    CmdLook->setEnabled(true);
}

void FrmLinkDb::started(const ImportMember& member)
{
    shownPercent_ = -1;
    ProgBar->setVisible(true);
    ProgBar->setValue(0);
    if (member.locksMenuButton) CmdLook->setEnabled(false);
}

// The bar and the label are drawn at once when the percentage changes, as no event
// runs before the loop ends.
void FrmLinkDb::advanced(float percent)
{
    ProgBar->setValue(percent);
    const int whole = wholePercent(percent);
    if (whole == shownPercent_) return;
    shownPercent_ = whole;
    LabJd->setCaption(percentCaption(whole));
    ProgBar->repaint();
    LabJd->repaint();
}

void FrmLinkDb::finished(const ImportMember& /*member*/)
{
    ProgBar->setVisible(false);
    LabJd->setCaption(QString());
}

}  // namespace maintenance
