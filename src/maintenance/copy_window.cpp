// The backup and restore window Frmcopy; see copy_window.h.
#include "maintenance/copy_window.h"

#include "core/error_trap.h"
#include "core/look.h"
#include "core/main_window.h"
#include "maintenance/database_copy.h"
#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace maintenance {

namespace {
constexpr int ClientWidth = 7110;
constexpr int ClientHeight = 2280;
constexpr double ButtonFontSize = 11.25;
constexpr double PauseSeconds = 5;
}  // namespace

Frmcopy::Frmcopy()
    : CmdPath(new forms::CommandButton(this, QStringLiteral("文件名称路径"))),
      Txtpath(core::makeBox(this, 0)),
      Optsave(new forms::OptionButton(this, QStringLiteral("备份数据"))),
      Optcove(new forms::OptionButton(this, QStringLiteral("恢复数据"))),
      Aniplay(new forms::Animation(this)),
      Cmdcopy(new forms::CommandButton(this, QStringLiteral("保存数据&B"))),
      Cmdexit(new forms::CommandButton(this, QStringLiteral("退出&T")))
{
    setCaption(QStringLiteral("数据备份及数据恢复"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    Txtpath->setLocked(true);
    Txtpath->setToolTipText(QStringLiteral("\"回车选择要保存或要恢复的路径及名称\""));
    Optsave->setValue(true);
    layOut();
    setTabOrder({Txtpath, Cmdcopy, Cmdexit, Optsave, Optcove, Aniplay, CmdPath});

    Optsave->Click = [this] { Optsave_Click(); };
    Optcove->Click = [this] { Optcove_Click(); };
    CmdPath->Click = [this] { CmdPath_Click(); };
    Cmdcopy->Click = [this] { Cmdcopy_Click(); };
    Cmdexit->Click = [this] { Cmdexit_Click(); };
}

void Frmcopy::layOut()
{
    CmdPath->Move(120, 120, 1455, 375);
    Txtpath->Move(1680, 120, 5055, 375);
    for (forms::OptionButton* mode : {Optsave, Optcove}) mode->setFont(core::look::FontName, core::look::FontSize);
    Optsave->Move(2160, 600, 1335, 375);
    Optcove->Move(4320, 600, 1335, 375);
    Aniplay->Move(360, 960, 6495, 1095);
    for (forms::CommandButton* button : {Cmdcopy, Cmdexit}) button->setFont(core::look::FontName, ButtonFontSize);
    Cmdcopy->Move(720, 1560, 2535, 495);
    Cmdexit->Move(3960, 1560, 2535, 495);
}

void Frmcopy::Form_Load()
{
    PlaceOnScreen(2, 3);
    Aniplay->setVisible(false);
    forms::Screen::setMousePointer(forms::vbDefault);
    Txtpath->setText(QString());
    Txtpath->SetFocus();   // the first of the tab order
}

// ---- mode and file ----------------------------------------------------------------

void Frmcopy::Optcove_Click() { switchMode(QStringLiteral("数据恢复")); }

void Frmcopy::Optsave_Click() { switchMode(QStringLiteral("数据备份")); }

void Frmcopy::switchMode(const QString& caption)
{
    Txtpath->setText(QString());
    Cmdcopy->setCaption(caption);
    Txtpath->SetFocusSelectAll();
}

// A cancelled dialog leaves the path box as it was, so a cancel never puts back a
// file chosen earlier for the next copy to overwrite or restore from unasked.
void Frmcopy::CmdPath_Click()
{
    core::runTrappedBlock([this] {
        CmDlog.InitDir = QStringLiteral("d:\\");
        CmDlog.Filter = QStringLiteral("数据库文件(*.mdb)|*.mdb");
        const bool chosen = Optsave->Value() ? CmDlog.ShowSave(this) : CmDlog.ShowOpen(this);
        if (chosen) Txtpath->setText(vb::Trim(CmDlog.FileName));
        Cmdcopy->SetFocus();
    });
}

// ---- the copy -------------------------------------------------------------------

void Frmcopy::Cmdcopy_Click()
{
    const PumpScope pumping(*this);
    const QString chosen = vb::Trim(Txtpath->Text());
    if (chosen.isEmpty()) {
        forms::MsgBox(QStringLiteral("选择要备份或恢复的文件"), forms::vbOKOnly, QString());
        CmdPath->SetFocus();
        return;
    }
    forms::DoEvents();
    Cmdcopy->setVisible(false);
    forms::DoEvents();
    Cmdexit->setVisible(false);

    bool copied = false;
    if (!core::runTrappedBlock([&] { copied = Optsave->Value() ? backup(chosen) : restore(chosen); })) {
        Aniplay->Stop();
        Aniplay->setVisible(false);
        showButtons();
        return;
    }
    if (!copied) return;
    forms::DoEvents();
    Aniplay->setVisible(false);
    forms::DoEvents();
    Cmdcopy->setVisible(true);
    forms::DoEvents();
    Cmdexit->setVisible(true);
    forms::DoEvents();
}

bool Frmcopy::backup(const QString& target)
{
    const QFileInfo database(databaseFile());
    if (!database.exists()) {
        forms::Notice(QStringLiteral("系统数据丢失，不能备份。"));
        forms::DoEvents();
        showButtons();
        return false;
    }
    if (refusedForRoom(database.size(), target, QStringLiteral("目标磁盘太小，不能备份数据。"))) return false;
    copyWithAnimation([&] { backupDatabase(target); });
    return true;
}

// The room is asked of the database's own filesystem, which receives the restored
// pages and the journal of the pages they replace.
bool Frmcopy::restore(const QString& source)
{
    if (refusedForRoom(QFileInfo(source).size(), databaseFile(), QStringLiteral("数据库所在的磁盘太小，不能恢复数据。")))
        return false;
    copyWithAnimation([&] { restoreDatabase(source); });
    return true;
}

bool Frmcopy::refusedForRoom(qint64 bytes, const QString& receivingPath, const QString& refusal)
{
    if (hasRoomFor(bytes, receivingPath)) return false;
    forms::Notice(refusal);
    Txtpath->SetFocusSelectAll();
    showButtons();
    return true;
}

void Frmcopy::copyWithAnimation(const std::function<void()>& copy)
{
    Cmdcopy->setVisible(false);
    Cmdexit->setVisible(false);
    forms::DoEvents();
    Aniplay->setVisible(true);
    Aniplay->raise();
    Aniplay->Open(QCoreApplication::applicationDirPath() + QStringLiteral("/working.avi"));
    Aniplay->Play();
    forms::DoEvents();
    copy();
    forms::DoEvents();
    waitment(Cmdcopy, Cmdexit, Aniplay);
    forms::DoEvents();
    Txtpath->setText(QString());
}

void Frmcopy::waitment(forms::CommandButton* cmd1, forms::CommandButton* cmd2, forms::Animation* ani)
{
    cmd1->setVisible(false);
    cmd2->setVisible(false);
    forms::Clock::WaitSeconds(PauseSeconds);
    ani->Stop();
    forms::DoEvents();
    cmd1->setVisible(true);
    cmd2->setVisible(true);
}

void Frmcopy::showButtons()
{
    Cmdcopy->setVisible(true);
    Cmdexit->setVisible(true);
}

void Frmcopy::Cmdexit_Click()
{
    forms::DoEvents();
    Unload();
    forms::DoEvents();
    core::menuOn();
}

}  // namespace maintenance
