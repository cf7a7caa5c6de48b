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
#include <optional>
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

// A window that unloads itself on its first activation: nothing to work on.
struct Refusing : CountingForm {
    void Form_Activate() override
    {
        CountingForm::Form_Activate();
        Unload();
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

        // Form_QueryUnload may cancel; "Unload Me" inside it deletes the window.
        QPointer<CountingForm> window = first;
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


    // A window may unload itself on its first activation; shown from inside a running
    // handler, it closes when that handler ends, not when Show returns.
    void aWindowMayUnloadItselfOnItsFirstActivation_data()
    {
        QTest::addColumn<bool>("insideHandler");
        QTest::newRow("shown by itself") << false;
        QTest::newRow("shown inside a handler") << true;
    }
    void aWindowMayUnloadItselfOnItsFirstActivation()
    {
        QFETCH(bool, insideHandler);
        QPointer<Refusing> window = new Refusing;
        {
            std::optional<Form::PumpScope> handler;
            if (insideHandler) handler.emplace(*window);
            window->Show();
            QCOMPARE(window->activations, 1);
            QCOMPARE(window->queries, insideHandler ? 0 : 1);
        }
        QCOMPARE(window->queries, 1);
        QTRY_VERIFY(window.isNull());
        QVERIFY(area_->subWindowList().isEmpty() || !area_->subWindowList().first()->isVisible());
    }

    // Without a close box, or while disabled (its help window is open), the user's
    // Ctrl+F4 or click on the close box closes nothing and asks nothing.
    void theUserCannotCloseAWindowWithoutACloseBoxOrWhileDisabled_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::newRow("no close box") << false;
        QTest::newRow("disabled") << true;
    }
    void theUserCannotCloseAWindowWithoutACloseBoxOrWhileDisabled()
    {
        QFETCH(bool, disabled);
        QPointer<CountingForm> window = new CountingForm;
        window->setCloseBox(disabled);
        window->Show();
        window->setEnabled(!disabled);
        QCOMPARE(bool(window->subWindow()->windowFlags() & Qt::WindowCloseButtonHint), disabled);
        window->subWindow()->close();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->queries, 0);
        window->setEnabled(true);
        if (disabled) window->subWindow()->close();
        else window->Unload();
        QTRY_VERIFY(window.isNull());
    }

    // A handler that lets events run may receive the exit or the close box: nothing
    // closes and Form_QueryUnload waits until the outermost handler's scope has ended;
    // pressed twice it closes once. A close box the user may not use is refused, not
    // kept for the scope's end.
    void unloadDuringAScopeHappensAfterIt_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Unload") << "Unload" << true;
        QTest::newRow("close box") << "close box" << true;
        QTest::newRow("refused close box") << "refused" << false;
    }
    void unloadDuringAScopeHappensAfterIt()
    {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        QPointer<CountingForm> window = new CountingForm;
        window->Show();
        {
            const Form::PumpScope outer(*window);
            {
                const Form::PumpScope inner(*window);
                window->setEnabled(how != "refused");
                for (int press = 0; press < 2; ++press) {
                    if (how == "Unload") window->Unload();
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
        QCOMPARE(window.isNull() || window->queries == 1, closes);
        if (closes) QTRY_VERIFY(window.isNull());
        else QVERIFY(window->isVisible());
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

    // Placement in twips: a place chosen in Form_Load holds, and so does a client size
    // set before the load; the frame adds to the client.
    void placementInTwips()
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
        QVERIFY(window->Width() >= 6000);

        struct SizedAtBirth : Form {
            SizedAtBirth() { setClientSize(6000, 3000); }
        };
        auto* sized = new SizedAtBirth;
        sized->Show();
        QCOMPARE(sized->ScaleWidth(), 6000);
        QCOMPARE(sized->ScaleHeight(), 3000);
        QCOMPARE(sized->subWindow()->widget()->size(), sized->size());
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

    // A top-level window loads and activates as a child does, stays above the main
    // window, and placed on it stands centred over it.
    void topLevelForms()
    {
        main_->move(120, 90);
        QTRY_COMPARE(main_->frameGeometry().topLeft(), QPoint(120, 90));
        QPointer<CountingForm> window = new CountingForm(Form::Placement::TopLevel);
        window->setCaption("帮助向导");
        window->Show();
        QCOMPARE(window->loads, 1);
        QCOMPARE(window->activations, 1);
        QVERIFY(window->subWindow() == nullptr);
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), main_);
        window->PlaceOnMainWindow(2, 2);
        const QRect mainFrame = main_->frameGeometry();
        const QRect ownFrame = window->frameGeometry();
        QVERIFY(mainFrame.contains(ownFrame));
        QVERIFY(qAbs(ownFrame.center().x() - mainFrame.center().x()) <= 1);
        QVERIFY(qAbs(ownFrame.center().y() - mainFrame.center().y()) <= 1);
        window->Unload();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(FormsFormTest)
#include "forms_form_test.moc"
