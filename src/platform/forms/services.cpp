// Message boxes, error reports, file dialogs, the mouse pointer, the event pump, the
// clock and pop-up menus, each with its test hook (see services.h).
#include "platform/forms/services.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "platform/forms/control.h"
#include "platform/vb/error.h"

namespace forms {

namespace {
MessageBoxes::TestHook* boxHook = nullptr;
CommonDialog::TestHook* dialogHook = nullptr;
Clock::TestHook* clockHook = nullptr;
PopupMenus::TestHook* popupHook = nullptr;
QString programTitle;
int pointer = vbDefault;
bool pointerPushed = false;

// The answer a test queued for the next box, dialog or pop-up, taken off the queue.
template <class T>
std::optional<T> takeNext(std::deque<T>& queue)
{
    if (queue.empty()) return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

// The primary screen's size in pixels (empty without a screen).
QSize screenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

int firstButton(int buttons)
{
    return (buttons == vbYesNo || buttons == vbYesNoCancel) ? vbYes : vbOK;
}

int realBox(const QString& text, int buttons, int icon, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title);
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
    const bool covered = pointerPushed;
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

// ---- Message boxes --------------------------------------------------------------

int MessageBoxes::show(const QString& text, int flags, const QString& title)
{
    const int buttons = flags & 7;
    const int icon = flags & 0x70;
    if (!boxHook) return realBox(text, buttons, icon, title);
    Shown shown{text, title, buttons, icon, firstButton(buttons), false};
    if (const std::optional<int> queued = takeNext(boxHook->answers)) {
        shown.answer = *queued;
        shown.queued = true;
    }
    boxHook->log.push_back(shown);
    return shown.answer;
}

QString MessageBoxes::defaultTitle()
{
    return programTitle.isEmpty() ? QCoreApplication::applicationName() : programTitle;
}

void MessageBoxes::setDefaultTitle(const QString& title) { programTitle = title; }

MessageBoxes::TestHook::TestHook() { boxHook = this; }
MessageBoxes::TestHook::~TestHook() { if (boxHook == this) boxHook = nullptr; }

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

// ---- File dialogs ----------------------------------------------------------------

QString CommonDialog::qtFilter(const QString& oldFilter)
{
    const QStringList parts = oldFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowOpen(QWidget* parent) { return run(false, parent); }
bool CommonDialog::ShowSave(QWidget* parent) { return run(true, parent); }

bool CommonDialog::run(bool save, QWidget* parent)
{
    std::optional<QString> chosen;
    if (dialogHook) {
        dialogHook->log.push_back({save, InitDir, Filter, DialogTitle});
        chosen = takeNext(dialogHook->answers).value_or(std::nullopt);
    } else {
        const QString folder = QDir(InitDir).exists() ? InitDir : QDir::homePath();
        const QString name = save ? QFileDialog::getSaveFileName(parent, DialogTitle, folder, qtFilter(Filter), nullptr,
                                                                 QFileDialog::DontConfirmOverwrite)
                                  : QFileDialog::getOpenFileName(parent, DialogTitle, folder, qtFilter(Filter));
        if (!name.isEmpty()) chosen = QDir::toNativeSeparators(name);
    }
    if (!chosen) return false;   // cancelled: FileName stays as it was
    FileName = *chosen;
    return true;
}

CommonDialog::TestHook::TestHook() { dialogHook = this; }
CommonDialog::TestHook::~TestHook() { if (dialogHook == this) dialogHook = nullptr; }

// ---- Mouse pointer ----------------------------------------------------------------

void Screen::setMousePointer(int value)
{
    if (pointerPushed) {
        QApplication::restoreOverrideCursor();
        pointerPushed = false;
    }
    pointer = value;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (value) {
    case vbHourglass: shape = Qt::WaitCursor; break;
    case vbArrowHourglass: shape = Qt::BusyCursor; break;
    default: return;   // 0 and 1: the normal pointer
    }
    QApplication::setOverrideCursor(QCursor(shape));
    pointerPushed = true;
}

int Screen::MousePointer() { return pointer; }

int Screen::Width() { return toTwips(screenSize().width()); }
int Screen::Height() { return toTwips(screenSize().height()); }

// ---- Event pump and clock -------------------------------------------------------

void DoEvents() { QCoreApplication::processEvents(); }

void EventSlice::DoEvents()
{
    if (lastRun_.isValid() && lastRun_.elapsed() < milliseconds_) return;
    forms::DoEvents();
    lastRun_.start();
}

QDate Clock::Today() { return Now().date(); }
QDateTime Clock::Now() { return clockHook ? clockHook->now : QDateTime::currentDateTime(); }

double Clock::Timer()
{
    return Now().time().msecsSinceStartOfDay() / 1000.0;
}

void Clock::WaitSeconds(double seconds)
{
    if (clockHook) {
        clockHook->waited += seconds;
        ++clockHook->waits;
        DoEvents();
        return;
    }
    QElapsedTimer elapsed;   // monotonic: a wait across midnight still ends
    elapsed.start();
    const qint64 until = static_cast<qint64>(seconds * 1000);
    // The pump sleeps until an event comes, and the ticks of this timer are events:
    // the wait keeps the window answering without keeping a processor busy.
    QTimer tick;
    tick.start(20);
    while (elapsed.elapsed() < until)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

Clock::TestHook::TestHook(const QDate& today) : now(today, QTime(10, 0)) { clockHook = this; }
Clock::TestHook::~TestHook() { if (clockHook == this) clockHook = nullptr; }

// ---- Pop-up menus ----------------------------------------------------------------

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
