// What the four knowledge-base query windows share, each opened through its menu item
// (the arrow pointer back) and left through its exit button (the menus back): a name
// box of at most 20 characters, detail boxes locked or not (the close box: the keyboard
// walk); and the patent-medicine window's herb tab, whose five text boxes run the full
// width one under the other.
#include "knowledge_test_support.h"

#include "reference/herb_lookup.h"
#include "reference/patent_medicine_query.h"
#include "reference/reference_menu.h"

#include <QTableView>

class QueryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        knowledgetest::seedFormulas(world_->environment());
        world_->environment().insert("zybz", {"脾虚", "乏力"});
        world_->environment().insert("fjcy", {"逍遥丸", "柴胡"});
        registerReferenceWindows(world_->mainWindow());
    }
    void cleanup() { world_.reset(); }

    void openAndLeaveThroughTheirButtons()
    {
        const struct { const char* item; bool locked; } windows[] = {
            {"zycxll0", true}, {"zycxll1", true}, {"zycxll2", false}, {"ZycyCx", true}};
        for (auto [item, locked] : windows) {
            forms::Form* window = openThrough(item);
            QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
            for (forms::TextBox* name : window->findChild<forms::TabbedDialog*>()->Page(0)->findChildren<forms::TextBox*>()) {
                name->SetFocus();
                WindowFixture::type(name, QString(21, u'x'));
                QCOMPARE(name->Text().size(), 20);
            }
            // The detail boxes take typed text only where the window edits its rows.
            for (const forms::TextBox* box : window->findChild<forms::TabbedDialog*>()->Page(1)->findChildren<forms::TextBox*>())
                QCOMPARE(box->takesTypedText(), !locked);
            const QPointer<forms::Form> open = window;
            QAction* menus = world_->mainWindow().menuAction("xtwh");
            QVERIFY(!menus->isEnabled());
            for (forms::CommandButton* button : window->findChildren<forms::CommandButton*>())
                if (button->Caption().startsWith("退出") || button->Caption().startsWith("结束")) WindowFixture::click(button);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(!open && menus->isEnabled(), item);
        }
    }

    void patentMedicineHerbTabRunsFullWidth()
    {
        auto* window = world_->open<reference::FrmCyzy>("ZycyCx");
        const reference::HerbLookup& herbs = *window->herbs;
        const forms::TextBox* top[] = {herbs.Txtycmc, herbs.Txtycxw, herbs.Txtycgj};
        const forms::TextBox* below[] = {herbs.Txtycgy, herbs.Txtyczz, herbs.Txtycyf, herbs.Txtycyj, herbs.Txtycgb};
        for (const forms::TextBox* box : top) QCOMPARE(box->geometry().top(), herbs.Txtycmc->geometry().top());
        QRect above = herbs.Txtycmc->geometry();
        for (const forms::TextBox* box : below) {
            QCOMPARE(box->geometry().left(), herbs.Txtycmc->geometry().left());
            QCOMPARE(box->geometry().right(), herbs.Txtycgj->geometry().right());
            QVERIFY(box->geometry().top() > above.bottom());
            above = box->geometry();
        }
        QVERIFY(above.bottom() < window->SSTab1->Page(2)->height());
    }

private:
    forms::Form* openThrough(const char* item)
    {
        world_->mainWindow().menuAction(item)->trigger();
        QCoreApplication::processEvents();
        return forms::Form::ActiveForm();
    }

    std::unique_ptr<WindowFixture> world_;
};

QTEST_MAIN(QueryWindowTest)
#include "query_window_test.moc"
