// The window base inside a real MDI main window: Form_Load once before the first
// show, Form_Activate when another window of the program becomes active (not on the
// return of the same one), Form_QueryUnload with
// cancel, no close box (and no closing while disabled), an Unload or a close box
// during a handler that lets events run (held back until its scope ends), the client
// size, no activation from a closing message box, and the window's access keys.
#include "platform/forms/buttons.h"
#include "platform/forms/control.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <optional>
#include <QtTest>

using namespace forms;

namespace {

class CountingForm : public Form {
public:
    // Sized before the load, as the windows are.
    explicit CountingForm(Placement placement = Placement::MdiChild) : Form(placement)
    {
        setClientSize(6000, 3000);
        setWindowButtons(WindowButtons::CloseBoxMinMax);
    }
    int loads = 0;
    int activations = 0;
    int queries = 0;
    int cancelWith = 0;
    bool unloadInQuery = false;
    bool refuse = false;   // unloads itself on activation: nothing to work on
    std::function<void()> onLoad, onActivate;

protected:
    void Form_Load() override
    {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_Activate() override
    {
        ++activations;
        if (onActivate) onActivate();
        if (refuse) Unload();
    }
    void Form_QueryUnload(int& cancel) override
    {
        ++queries;
        cancel = cancelWith;
        if (unloadInQuery) Unload();
    }
};

}  // namespace

class FormsFormTest : public QObject {
    Q_OBJECT

private:
    QMainWindow* main_ = nullptr;
    QMdiArea* area_ = nullptr;

private slots:
    void init()
    {
        main_ = new QMainWindow;
        area_ = new QMdiArea;
        main_->setCentralWidget(area_);
        main_->resize(1000, 700);
        // Any connection refused by Qt is a fault of the kit (it once wired the MDI
        // area's activation watch in a way Qt rejects on every start).
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QObject::connect")));
        Form::setMdiArea(area_);
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }

    void cleanup()
    {
        delete main_;
        Form::setMdiArea(nullptr);
    }

    void loadOnceActivateOnEachSwitchAndQueryUnload()
    {
        auto* first = new CountingForm;
        auto* second = new CountingForm;
        first->Show();
        QCOMPARE(first->activations, 1);
        QCOMPARE(first->ScaleHeight(), 3000);   // the client size holds; the frame adds to it
        QCOMPARE(first->subWindow()->widget()->size(), first->size());

        second->Show();
        area_->setActiveSubWindow(first->subWindow());
        QTRY_COMPARE(first->activations, 2);
        QCOMPARE(Form::ActiveForm(), first);

        // Leaving the program and coming back re-activates the same window: no event.
        emit area_->subWindowActivated(nullptr);
        emit area_->subWindowActivated(first->subWindow());
        first->Show();
        QCOMPARE(first->activations, 2);
        QCOMPARE(first->loads, 1);

        // Form_QueryUnload may cancel; "Unload Me" inside it deletes the window.
        QPointer<CountingForm> window = first;
        window->cancelWith = 1;
        window->Unload();
        QVERIFY(window->isVisible());
        window->cancelWith = 0;
        window->unloadInQuery = true;
        window->Unload();
        QTRY_VERIFY(window.isNull());
    }

    // A window may unload itself on its first activation; shown from inside a running
    // handler, it closes when that handler ends, not when Show returns.
    void aWindowMayUnloadItselfOnItsFirstActivation()
    {
        for (const bool insideHandler : {false, true}) {
            QPointer<CountingForm> window = new CountingForm;
            window->refuse = true;
            {
                std::optional<Form::PumpScope> handler;
                if (insideHandler) handler.emplace(*window);
                window->Show();
                QCOMPARE(window->activations, 1);
                QCOMPARE(window->queries, insideHandler ? 0 : 1);
            }
            QCOMPARE(window->queries, 1);
            QTRY_VERIFY(window.isNull());
        }
    }

    // Without a close box the user's Ctrl+F4 closes nothing and asks nothing. (A
    // disabled window's close box: the "refused" row below.)
    void theUserCannotCloseAWindowWithoutACloseBox()
    {
        auto* window = new CountingForm;
        window->setWindowButtons(Form::WindowButtons::None);
        window->Show();
        QVERIFY(!(window->subWindow()->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!window->subWindow()->systemMenu());   // no Close there either
        window->subWindow()->close();
        QVERIFY(window->isVisible());
        QCOMPARE(window->queries, 0);
        window->Unload();
    }

    // A handler that lets events run may receive the exit or the close box: nothing
    // closes and Form_QueryUnload waits until the outermost handler's scope has ended;
    // pressed twice it closes once. A close box the user may not use is refused, not
    // kept for the scope's end; a held-back unload may be cancelled like any other, and
    // the next handler's end then closes nothing by itself.
    void unloadDuringAScopeHappensAfterIt_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Unload", "close box", "refused", "cancelled"}) QTest::newRow(how) << QString::fromLatin1(how);
    }
    void unloadDuringAScopeHappensAfterIt()
    {
        QFETCH(QString, how);
        QPointer<CountingForm> window = new CountingForm;
        window->cancelWith = how == "cancelled";
        window->Show();
        {
            const Form::PumpScope outer(*window);
            {
                const Form::PumpScope inner(*window);
                window->setEnabled(how != "refused");
                for (int press = 0; press < 2; ++press) {
                    if (how == "Unload" || how == "cancelled") window->Unload();
                    else window->subWindow()->close();
                }
                window->setEnabled(true);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY(window);
            }
            QCOMPARE(window->queries, 0);
            QVERIFY(window->isVisible());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (how == "Unload" || how == "close box") {
            QVERIFY(window.isNull() || window->queries == 1);
            QTRY_VERIFY(window.isNull());
            return;
        }
        { const Form::PumpScope nextHandler(*window); }
        QCOMPARE(window->queries, how == "cancelled" ? 1 : 0);
        QVERIFY(window->isVisible());
    }

    // A message box, a pop-up menu or a file dialog closing over a window gives it no
    // activation, whether it is an MDI child or a top-level window.
    void closingABoxMenuOrDialogRunsNoActivation_data()
    {
        QTest::addColumn<int>("service");
        QTest::addColumn<bool>("topLevel");
        for (const bool topLevel : {false, true})
            for (const int service : {0, 1, 2}) QTest::addRow("service %d%s", service, topLevel ? ", top-level" : "") << service << topLevel;
    }
    void closingABoxMenuOrDialogRunsNoActivation()
    {
        QFETCH(int, service);
        QFETCH(bool, topLevel);
        auto* window = new CountingForm(topLevel ? Form::Placement::TopLevel : Form::Placement::MdiChild);
        window->Show();
        QTRY_VERIFY(QApplication::activeWindow() != nullptr);
        const int activations = window->activations;
        QTimer::singleShot(200, [] {
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            else if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QMenu menu;
        menu.addAction("复制");
        CommonDialog dialog;
        switch (service) {
        case 0: MsgBox("请输入药品编码"); break;
        case 1: PopupMenu(&menu); break;
        default: dialog.ShowOpen(window); break;
        }
        QTest::qWait(100);
        QCOMPARE(window->activations, activations);
        window->Unload();
    }

    // The window's own access keys win over the main window's top menus, enabled or
    // locked, before and after a message box; the key types nothing into the box.
    void accessKeysOfTheWindowWinOverTheMenus()
    {
        main_->menuBar()->addMenu("退出系统&Q")->setEnabled(false);
        main_->menuBar()->addMenu("系统帮助&H");
        auto* window = new CountingForm;
        auto* box = new TextBox(window);
        auto* clear = new CommandButton(window, "清屏&Q");
        auto* help = new CommandButton(window, "操作说明&H");
        auto* locked = new CommandButton(window, "删除&D");
        locked->setEnabled(false);
        int clears = 0, helps = 0;
        clear->Click = [&] { ++clears; };
        help->Click = [&] { ++helps; };
        window->Show();
        for (int round = 1; round <= 2; ++round) {
            box->SetFocus();
            QTRY_VERIFY(box->hasFocusNow());
            QTest::keyClick(box->lineEdit(), Qt::Key_Q, Qt::AltModifier);
            QCOMPARE(clears, round);
            QVERIFY(clear->hasFocusNow());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
            QCOMPARE(helps, round);
            QVERIFY(!locked->hasFocusNow());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);   // disabled: nothing
            QVERIFY(help->hasFocusNow());
            QCOMPARE(box->Text(), QString());
            QTimer::singleShot(100, [] { QApplication::activeModalWidget()->close(); });
            MsgBox("请输入药品编码");
            QApplication::setActiveWindow(main_);   // as the window manager gives it back
        }
        window->Unload();
    }

    // Shown, a window gives the focus to the first control of its tab order that can
    // take it, unless its Form_Load placed the focus; its Form_Activate may move it on.
    void theFirstFocus_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("focused");
        QTest::newRow("first of the order") << "" << 1;
        QTest::newRow("first hidden") << "hide" << 2;
        QTest::newRow("first disabled") << "disable" << 2;
        QTest::newRow("placed by Form_Load") << "load" << 3;
        QTest::newRow("moved by Form_Activate") << "activate" << 3;
    }
    void theFirstFocus()
    {
        QFETCH(QString, how);
        QFETCH(int, focused);
        auto* window = new CountingForm;
        TextBox* boxes[] = {new TextBox(window), new TextBox(window), new TextBox(window), new TextBox(window)};
        window->setTabOrder({boxes[1], boxes[2], boxes[3], boxes[0]});
        if (how == "hide") boxes[1]->hide();
        if (how == "disable") boxes[1]->setEnabled(false);
        if (how == "load") window->onLoad = [&] { boxes[3]->SetFocus(); };
        if (how == "activate") window->onActivate = [&] { boxes[3]->SetFocus(); };
        window->Show();
        QTRY_COMPARE(QApplication::focusWidget(), boxes[focused]->inner());
        window->Unload();
    }

    // Tab walks the tab order, then the controls it leaves out as they were made (a
    // tabbed control after those it holds), passing over hidden and disabled ones and
    // the unselected options of a group; a grid is left with Tab while its arrows walk
    // its cells; Shift+Tab walks back.
    void tabWalksEveryControlRoundBothWays()
    {
        auto* window = new CountingForm;
        auto* tabs = new TabbedDialog(window, {"a", "b"});
        tabs->Move(0, 1500, 5000, 1400);
        auto* onPage = new TextBox(tabs->Page(0));
        auto* hiddenPage = new TextBox(tabs->Page(1));
        auto* grid = new FlexGrid(window);
        grid->Move(0, 0, 3000, 1000);
        grid->setRows(3);
        grid->setCols(3);
        auto* first = new TextBox(window);
        auto* disabled = new TextBox(window);
        disabled->setEnabled(false);
        auto* chosen = new OptionButton(window, "x");
        auto* other = new OptionButton(window, "y");
        chosen->setValue(true);
        auto* button = new CommandButton(window, "ok");
        window->setTabOrder({first, grid, disabled, other, chosen});
        window->Show();
        const std::vector<QWidget*> chain{first, grid, chosen, onPage, button, tabs};
        QTRY_COMPARE(QApplication::focusWidget(), first->inner());
        const auto focusedStop = [&] {
            const auto at = std::find_if(chain.begin(), chain.end(), [](QWidget* stop) {
                return stop == QApplication::focusWidget() || stop->isAncestorOf(QApplication::focusWidget());
            });
            return int(at - chain.begin());
        };
        for (int i = 1; i <= int(chain.size()); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focusedStop(), i % int(chain.size()));
            if (chain[i % chain.size()] == grid) {   // the arrows stay in the grid
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
                QCOMPARE(focusedStop(), i);
                QCOMPARE(grid->Row(), 2);
            }
        }
        for (int i = int(chain.size()) - 1; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(focusedStop(), i);
        }
        QVERIFY(!hiddenPage->hasFocusNow());
        other->SetFocus();   // a focus off the chain: Tab goes to the first stop
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedStop(), 0);
        window->Unload();
    }

    // A window states its title-bar buttons: one that does not can't be loaded.
    void aWindowWithoutItsButtonsIsNotLoaded()
    {
        Form window;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, window.Load());
    }

    // A control destroyed while it holds the focus (the window's own controls go as it
    // unloads) takes its events with it.
    void aFocusedControlDestroyed()
    {
        auto* window = new CountingForm;
        auto* grid = new FlexGrid(window);
        auto* box = new TextBox(window);
        window->setTabOrder({grid, box});
        window->Show();
        QTRY_VERIFY(grid->hasFocusNow());
        delete grid;
        box->SetFocus();
        QTRY_VERIFY(box->hasFocusNow());
        window->Unload();
    }

    // A top-level window stays above the main window, and placed on it stands centred
    // over it; one without buttons and caption has no title bar. A child moves its frame
    // within the MDI area.
    void topLevelForms()
    {
        auto* window = new CountingForm(Form::Placement::TopLevel);
        window->Show();
        QVERIFY(window->isWindow() && window->parentWidget() == main_);
        QVERIFY(!(window->windowFlags() & Qt::FramelessWindowHint));
        window->PlaceOnMainWindow(2, 2);
        const QPoint offset = window->frameGeometry().center() - main_->frameGeometry().center();
        QVERIFY(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1);
        window->Unload();

        auto* bare = new CountingForm(Form::Placement::TopLevel);
        bare->setWindowButtons(Form::WindowButtons::None);
        bare->Show();
        QVERIFY(bare->windowFlags() & Qt::FramelessWindowHint);
        bare->Unload();

        auto* child = new CountingForm;
        child->Show();
        child->Move(1500, 750);
        QCOMPARE(child->subWindow()->pos(), QPoint(100, 50));
        child->Unload();
    }
};

QTEST_MAIN(FormsFormTest)
#include "forms_form_test.moc"
