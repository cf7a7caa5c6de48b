// The window base inside a real MDI main window: Form_Load once before the first
// show, Form_Activate when another window of the program becomes active (not on the
// return of the same one) and when the help window hands back, Form_QueryUnload with
// cancel, no close box (and no closing while disabled), an Unload or a close box
// during a handler that lets events run (held back until its scope ends), placement
// in twips.
#include "platform/forms/buttons.h"
#include "platform/forms/control.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

using namespace forms;

namespace {

class CountingForm : public Form {
public:
    explicit CountingForm(Placement placement = Placement::MdiChild) : Form(placement) {}
    int loads = 0;
    int activations = 0;
    int queries = 0;
    int cancelWith = 0;
    bool unloadInQuery = false;

protected:
    void Form_Load() override
    {
        ++loads;
        setClientSize(6000, 3000);
    }
    void Form_Activate() override { ++activations; }
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

    void loadOnceThenActivateOnEachSwitch()
    {
        auto* first = new CountingForm;
        auto* second = new CountingForm;
        first->Show();
        QCOMPARE(first->loads, 1);
        QCOMPARE(first->activations, 1);
        QCOMPARE(first->subWindow()->mdiArea(), area_);

        second->Show();
        QCOMPARE(second->activations, 1);
        area_->setActiveSubWindow(first->subWindow());
        QTRY_COMPARE(first->activations, 2);
        QCOMPARE(Form::ActiveForm(), first);

        // Leaving the program and coming back re-activates the same window: no event.
        emit area_->subWindowActivated(nullptr);
        emit area_->subWindowActivated(first->subWindow());
        first->Show();
        QCOMPARE(first->activations, 2);
        QCOMPARE(first->loads, 1);
    }

    void theHelpWindowHandsBack()
    {
        auto* window = new CountingForm;
        window->Show();
        window->setEnabled(false);                          // the help button disables it

        // Help as a top-level window: the MDI child stayed the active form.
        Form::ReturnFromHelp(window);
        QVERIFY(window->Enabled());
        QCOMPARE(window->activations, 2);

        // Help as another MDI child: activation comes back once.
        auto* help = new CountingForm;
        help->Show();
        window->setEnabled(false);
        Form::ReturnFromHelp(window);
        QCOMPARE(window->activations, 3);
        help->Unload();
        QCOMPARE(window->activations, 3);
        QVERIFY(window->Enabled());
    }

    void queryUnloadMayCancelAndUnloadDeletes()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        window->cancelWith = 1;
        window->Unload();
        QCOMPARE(window->queries, 1);
        QVERIFY(window->isVisible());

        window->cancelWith = 0;
        window->unloadInQuery = true;                       // "Unload Me" inside QueryUnload
        window->Unload();
        QTRY_VERIFY(window.isNull());
        QVERIFY(Form::ActiveForm() == nullptr || Form::ActiveForm() != window);
    }

    void aWindowMayUnloadItselfOnItsFirstActivation()
    {
        struct Refusing : CountingForm {
            void Form_Activate() override
            {
                CountingForm::Form_Activate();
                Unload();                                   // nothing to work on
            }
        };
        QPointer<Refusing> window = new Refusing;
        window->Show();
        QCOMPARE(window->activations, 1);
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
        QVERIFY(area_->subWindowList().isEmpty() || !area_->subWindowList().first()->isVisible());
    }

    void withoutACloseBoxOnlyUnloadCloses()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->setCloseBox(false);
        window->Show();
        QVERIFY(!(window->subWindow()->windowFlags() & Qt::WindowCloseButtonHint));
        window->subWindow()->close();                       // the user's Ctrl+F4
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->queries, 0);
        window->Unload();
        QTRY_VERIFY(window.isNull());
    }

    void aDisabledWindowCannotBeClosedByTheUser()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        window->setEnabled(false);                          // its help window is open
        window->subWindow()->close();                       // a click on its close box
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->queries, 0);

        window->setEnabled(true);
        window->subWindow()->close();
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
    }

    // A handler that lets events run may receive the exit or the close box: nothing
    // closes and Form_QueryUnload waits until the handler's scope has ended.
    void unloadDuringAScopeHappensAfterIt_data()
    {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("Unload") << false;
        QTest::newRow("close box") << true;
    }

    void unloadDuringAScopeHappensAfterIt()
    {
        QFETCH(bool, byCloseBox);
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        {
            const Form::PumpScope handler(*window);
            if (byCloseBox)
                window->subWindow()->close();
            else
                window->Unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(window);
            QVERIFY(window->isVisible());
            QCOMPARE(window->queries, 0);
        }
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
    }

    void nestedScopesCloseAfterTheOuterOne()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        {
            const Form::PumpScope outer(*window);
            {
                const Form::PumpScope inner(*window);
                window->Unload();
                window->Unload();                           // pressed twice: one close
            }
            QCOMPARE(window->queries, 0);
            QVERIFY(window->isVisible());
        }
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
    }

    // The held-back unload asks Form_QueryUnload like any other: a cancel keeps the
    // window, and the next handler's end closes nothing by itself.
    void aHeldBackUnloadMayBeCancelled()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        window->cancelWith = 1;
        {
            const Form::PumpScope handler(*window);
            window->Unload();
        }
        QCOMPARE(window->queries, 1);
        QVERIFY(window->isVisible());
        window->cancelWith = 0;
        { const Form::PumpScope nextHandler(*window); }
        QCOMPARE(window->queries, 1);
        QVERIFY(window->isVisible());
    }

    // A close box the user may not use is refused, not kept for the scope's end.
    void aRefusedCloseIsNotHeldBack()
    {
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        {
            const Form::PumpScope handler(*window);
            window->setEnabled(false);                      // its help window is open
            window->subWindow()->close();
            window->setEnabled(true);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->queries, 0);
    }

    // Shown from inside a running handler, a window that unloads itself on its first
    // activation closes when that handler ends, not when Show returns.
    void anUnloadDuringShowWaitsForTheHandlerAround()
    {
        struct Refusing : CountingForm {
            void Form_Activate() override
            {
                CountingForm::Form_Activate();
                Unload();
            }
        };
        QPointer<Refusing> window = new Refusing;
        {
            const Form::PumpScope handler(*window);
            window->Show();
            QCOMPARE(window->activations, 1);
            QCOMPARE(window->queries, 0);
            QVERIFY(window->isVisible());
        }
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
    }

    void aPlaceChosenInFormLoadHolds()
    {
        struct Placed : CountingForm {
            void Form_Load() override
            {
                CountingForm::Form_Load();
                Move(1500, 750);
            }
        };
        auto* window = new Placed;
        window->Show();
        QCOMPARE(window->Left(), 1500);
        QCOMPARE(window->Top(), 750);
        QCOMPARE(window->ScaleWidth(), 6000);
        QCOMPARE(window->ScaleHeight(), 3000);
    }

    void aClientSizeSetBeforeLoadHolds()
    {
        struct SizedAtBirth : Form {
            SizedAtBirth() { setClientSize(6000, 3000); }
        };
        auto* window = new SizedAtBirth;
        window->Show();
        QCOMPARE(window->ScaleWidth(), 6000);
        QCOMPARE(window->ScaleHeight(), 3000);
        QVERIFY(window->Width() >= 6000);
        QCOMPARE(window->subWindow()->widget()->size(), window->size());
    }

    void aTopLevelFormPlacedOnTheMainWindowStandsOverIt()
    {
        main_->move(120, 90);
        QTRY_COMPARE(main_->frameGeometry().topLeft(), QPoint(120, 90));
        auto* window = new CountingForm(Form::Placement::TopLevel);
        window->Show();
        window->PlaceOnMainWindow(2, 2);
        const QRect mainFrame = main_->frameGeometry();
        const QRect ownFrame = window->frameGeometry();
        QVERIFY(mainFrame.contains(ownFrame));
        QVERIFY(qAbs(ownFrame.center().x() - mainFrame.center().x()) <= 1);
        QVERIFY(qAbs(ownFrame.center().y() - mainFrame.center().y()) <= 1);
        window->Unload();
    }

    void placementInTwips()
    {
        auto* window = new CountingForm;
        window->Show();
        window->Move(1500, 750);
        QCOMPARE(window->Left(), 1500);
        QCOMPARE(window->Top(), 750);
        QCOMPARE(window->ScaleWidth(), 6000);
        QVERIFY(window->Width() >= 6000);                   // the frame adds to the client

        window->Move(0, 0, 7500, 4500);
        QCOMPARE(window->Width(), 7500);
        QCOMPARE(window->Height(), 4500);
    }

    // A message box, a pop-up menu or a file dialog closing over a window gives it no
    // activation, whether it is an MDI child or a top-level window.
    void closingABoxMenuOrDialogRunsNoActivation_data()
    {
        QTest::addColumn<int>("service");
        QTest::addColumn<bool>("topLevel");
        for (const bool topLevel : {false, true}) {
            const char* placement = topLevel ? " over a top-level window" : " over an MDI child";
            QTest::newRow(qPrintable(QStringLiteral("message box") + placement)) << 0 << topLevel;
            QTest::newRow(qPrintable(QStringLiteral("pop-up menu") + placement)) << 1 << topLevel;
            QTest::newRow(qPrintable(QStringLiteral("file dialog") + placement)) << 2 << topLevel;
        }
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

    void topLevelFormsActivateToo()
    {
        QPointer<CountingForm> window = new CountingForm(Form::Placement::TopLevel);
        window->setCaption("帮助向导");
        window->Show();
        QCOMPARE(window->loads, 1);
        QCOMPARE(window->activations, 1);
        QVERIFY(window->subWindow() == nullptr);
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), main_);           // kept above the main window
        window->Unload();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(FormsFormTest)
#include "forms_form_test.moc"
