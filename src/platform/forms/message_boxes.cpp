// The message boxes; see message_boxes.h.
#include "platform/forms/message_boxes.h"

#include "platform/forms/control.h"
#include "platform/vb/error.h"

#include <QApplication>
#include <QMessageBox>

namespace forms {

namespace {
QString programTitle;

int firstButton(int buttons)
{
    return (buttons == vbYesNo || buttons == vbYesNoCancel) ? vbYes : vbOK;
}

int realBox(const QString& text, int buttons, int icon, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    // An empty title stays empty on screen: Qt would put the program's file name there.
    box.setWindowTitle(title.isEmpty() ? QStringLiteral(" ") : title);
    box.setIcon(icon == vbInformation ? QMessageBox::Information
                : icon == vbQuestion  ? QMessageBox::Question
                : icon == vbExclamation ? QMessageBox::Warning
                : icon == vbCritical  ? QMessageBox::Critical
                                      : QMessageBox::NoIcon);
    switch (buttons) {
    case vbOKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case vbYesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case vbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    // A box shows the normal pointer while it waits, whatever the window had set.
    const bool covered = QApplication::overrideCursor() != nullptr;
    if (covered) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    if (covered) QApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    case QMessageBox::Cancel: return vbCancel;
    default: return vbOK;
    }
}
}  // namespace

int MessageBoxes::show(const QString& text, int flags, const QString& title)
{
    const int buttons = flags & 7;
    const int icon = flags & 0x70;
    TestHook* hook = TestHook::installed();
    if (!hook) return realBox(text, buttons, icon, title);
    Shown shown{text, title, buttons, icon, firstButton(buttons), false};
    if (const std::optional<int> queued = takeNext(hook->answers)) {
        shown.answer = *queued;
        shown.queued = true;
    }
    hook->log.push_back(shown);
    return shown.answer;
}

QString MessageBoxes::defaultTitle()
{
    return programTitle.isEmpty() ? QCoreApplication::applicationName() : programTitle;
}

void MessageBoxes::setDefaultTitle(const QString& title) { programTitle = title; }


QStringList MessageBoxes::TestHook::texts() const
{
    QStringList result;
    for (const Shown& shown : log) result << shown.text;
    return result;
}

int MsgBox(const QString& text, int flags) { return MessageBoxes::show(text, flags, MessageBoxes::defaultTitle()); }
int MsgBox(const QString& text, int flags, const QString& title) { return MessageBoxes::show(text, flags, title); }

void Notice(const QString& text)
{
    MsgBox(text, vbInformation, QString());
}

void ReportError(const QString& description)
{
    Notice(description);
}

void ReportErrorLine(int number, const QString& description)
{
    MsgBox(QStringLiteral("错误号码：") + QString::number(number) + QStringLiteral("错误内容：") + description,
           vbInformation, QString());
}

void ReportErrorLine(const std::exception& error)
{
    ReportErrorLine(ErrorNumber(error), ErrorDescription(error));
}

int ErrorNumber(const std::exception& error)
{
    constexpr int internalError = 51;   // the old runtime's number for an error of no kind
    const auto* runtime = dynamic_cast<const vb::Error*>(&error);   // database errors too
    return runtime ? runtime->number() : internalError;
}

QString ErrorDescription(const std::exception& error)
{
    const auto* runtime = dynamic_cast<const vb::Error*>(&error);
    return runtime ? runtime->description() : QString::fromUtf8(error.what());
}

void ReportErrorBlock(int number, const QString& description, NumberText numberText, BoxTitle title)
{
    const QString numberPart = (numberText == NumberText::LeadingBlank && number >= 0 ? QStringLiteral(" ") : QString())
                               + QString::number(number);
    const QString text = QStringLiteral("错误号码：") + numberPart + QStringLiteral("\r\n") +
                         QStringLiteral("错误内容：") + description;
    MsgBox(text, vbOKOnly, title == BoxTitle::Default ? MessageBoxes::defaultTitle() : QString());
}

}  // namespace forms
