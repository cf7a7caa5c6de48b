// Frmjdys: layout and load (see the header).
#include "core/progress_window.h"

#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"

#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace core {

namespace {

constexpr int ClientWidth = 6000;    // twips
constexpr int ClientHeight = 1500;

}  // namespace

Frmjdys::Frmjdys()
    : forms::Form(Placement::TopLevel),
      ProgBar(new forms::ProgressBar(this)),
      Labpre(new forms::Label(this)),
      Labprg(new forms::Label(this))
{
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    Labprg->Move(240, 180, 5520, 330);
    ProgBar->Move(240, 600, 4500, 360);
    Labpre->Move(4860, 630, 1020, 330);   // room for "8.5714%"
    for (forms::Label* label : {Labpre, Labprg})
        label->setFont(QStringLiteral("宋体"), 10.5);
}

void Frmjdys::Form_Load()
{
    // Set after the kit has set the window's buttons: a frameless window over every
    // other window that never takes the activation, so the window the user worked in
    // keeps it, with its focus and its title, while the batch runs.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    PlaceOnMainWindow(2, 2);
    ProgBar->setValue(0);
    Labpre->setCaption(QString());
    Labprg->setCaption(QString());
}

// Without a title bar, the window's raised edge sets it off from the window below.
// A step of a batch redraws only the bar or a label, well inside the edge.
void Frmjdys::paintEvent(QPaintEvent* event)
{
    forms::Form::paintEvent(event);
    constexpr int Edge = 2;   // pixels
    if (rect().adjusted(Edge, Edge, -Edge, -Edge).contains(event->rect())) return;
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette());
}

}  // namespace core
