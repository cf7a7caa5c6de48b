// The shared world of window tests; see window_fixture.h.
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/control.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/form.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

WindowFixture::WindowFixture(const QDate& today)
    : clock_(today), previousWindowsDir_(core::WindowsDir)
{
    core::WindowsDir = environment_.windowsDir();
    core::HoldDb();   // as the program holds its database for the run
    mainWindow_ = std::make_unique<core::MDIFqhmz>();
    mainWindow_->show();
    QApplication::setActiveWindow(mainWindow_.get());
}

WindowFixture::~WindowFixture()
{
    mainWindow_.reset();
    core::ReleaseDb();
    core::WindowsDir = previousWindowsDir_;
}

void WindowFixture::openThroughMenu(const QString& itemName, const core::MDIFqhmz::FormFactory& factory)
{
    mainWindow_->wire(itemName, factory);
    mainWindow_->menuAction(itemName)->trigger();
    QCoreApplication::processEvents();
}

void WindowFixture::answer(std::initializer_list<int> replies)
{
    for (int reply : replies) boxes_.answer(reply);
}

void WindowFixture::type(forms::Control* control, const QString& text)
{
    // Latin keys are typed; Chinese text arrives as an input method commits it.
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(control->inner(), character.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QCoreApplication::sendEvent(control->inner(), &commit);
        }
    }
}

void WindowFixture::pressEnter(forms::Control* control)
{
    QTest::keyClick(control->inner(), Qt::Key_Return);
}

void WindowFixture::click(forms::CommandButton* button)
{
    QTest::mouseClick(button->button(), Qt::LeftButton);
}

void WindowFixture::clickGridRow(forms::FlexGrid* grid, int row)
{
    QTableView* view = grid->view();
    if (row == 0) {
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        return;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row - 1, 1)).center());
}

bool WindowFixture::sideBySide(std::initializer_list<const QWidget*> row)
{
    const QWidget* before = nullptr;
    for (const QWidget* control : row) {
        if (before && (control->y() != before->y() || before->geometry().right() >= control->x())) return false;
        before = control;
    }
    return true;
}

forms::Control* WindowFixture::focusedControl()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (auto* control = qobject_cast<forms::Control*>(widget)) return control;
    return nullptr;
}

void WindowFixture::activateAnotherAndBack(forms::Form* window)
{
    auto* other = new forms::Form;
    other->setWindowButtons(forms::Form::WindowButtons::None);
    other->Show();
    QCoreApplication::processEvents();
    QCOMPARE(forms::Form::ActiveForm(), other);
    mainWindow().mdiArea()->setActiveSubWindow(window->subWindow());
    QCoreApplication::processEvents();
    QCOMPARE(forms::Form::ActiveForm(), window);
}
