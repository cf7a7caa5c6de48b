// The screen and its mouse pointer; see pointer.h.
#include "platform/forms/pointer.h"

#include "platform/forms/control.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace forms {

namespace {
int pointer = vbDefault;
bool pointerPushed = false;

// The primary screen's size in pixels (empty without a screen).
QSize screenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}
}  // namespace

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

}  // namespace forms
