// What the four knowledge-base query windows share, each opened through its menu item
// (the arrow pointer back) and left through its exit button (the menus back): a name
// box of at most 20 characters, detail boxes locked or not (the close box: the keyboard
// walk); what each shows, one row a window: its caption, its place, the criteria, the
// result grid's header captions (blanks inside them kept), alignments, column widths,
// font and data-row height, the look of the detail boxes and their labels; the detail
// panel shown whole by a row click and by nothing else; a second 查询 pressed while the
// first still runs does nothing; and the patent-medicine window's herb tab, whose five
// text boxes run the full width one under the other.
#include "knowledge_test_support.h"

#include "reference/herb_lookup.h"
#include "reference/patent_medicine_query.h"
#include "reference/reference_menu.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTimer>

namespace {

// One query window as the user sees it.
struct Shown {
    const char* item;
    const char* title;      // none: the window names no caption
    QStringList captions;   // "<" left, "^" centred, as the format string gives them
    std::vector<int> widths;
    int rowHeight;
    double gridFont;
    int nameBoxes, combos;
    QColor nameBack, nameText;   // of the name box
    double detailFont;
    QColor back, text;
    qsizetype oneLine, multiLine;
    bool labelsWrap;
    double labelFont;
    const char* noMatch;
};

const QColor Blue(128, 128, 255), LightBlue(192, 192, 255);

const Shown Windows[] = {
    {"zycxll0", "中医药材内容浏览",
     {"<  药 材 名 称", "<归 经", "<性  味", "<功  用", "<主    治", "<用   法", "<宜     忌"},
     {1400, 2000, 2000, 3000, 3500, 3500, 3600}, 400, 11.25, 1, 8, LightBlue, Qt::black, 10.5, LightBlue, Qt::black, 3, 5, true, 11.25,
     "没有符合条件的药材。"},
    {"zycxll1", "方剂内容浏览",
     {"<  方 剂 名 称", "<方 剂 组 成", "<方 剂 功 用", "<方 剂 主 治", "<方 剂 用 法", "<方 剂 来 源", "<临 床 心 得"},
     {1400, 4500, 2000, 3000, 3000, 3500, 1600}, 400, 11.25, 1, 13, LightBlue, Qt::black, 11.25, Blue, Qt::white, 2, 5, true, 10.5,
     "查询条件输入错误。"},
    {"zycxll2", nullptr, {"^病症名称", "<临  床  症  状  表  现", "<病症成因", "<治疗措施"}, {1600, 8200, 2000, 4000},
     460, 10.5, 0, 6, {}, {}, 10.5, LightBlue, Qt::black, 1, 3, false, 10.5,
     "没有符合查询条件的内容"},
    {"ZycyCx", "中医成药查询",
     {"<  中医成药名称", "<中医成药组成", "<中医成药功用", "<中医成药主治", "<中医成药用法", "<临 床 心 得"},
     {1400, 4500, 2000, 3000, 3000, 3500}, 400, 9, 1, 9, Blue, Qt::white, 11.25, Blue, Qt::white, 1, 5, true, 10.5, "查询条件输入错误。"},
};

}  // namespace

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
            for (forms::TextBox* name : pageOf(window, 0)->findChildren<forms::TextBox*>()) {
                name->SetFocus();
                WindowFixture::type(name, QString(21, u'x'));
                QCOMPARE(name->Text().size(), 20);
            }
            // The detail boxes take typed text only where the window edits its rows.
            for (const forms::TextBox* box : pageOf(window, 1)->findChildren<forms::TextBox*>())
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

    void captionCriteriaAndGrid_data() { windows(); }
    void captionCriteriaAndGrid()
    {
        QFETCH(int, row);
        const Shown& w = Windows[row];
        forms::Form* window = openThrough(w.item);
        QCOMPARE(window->Caption(), QString::fromUtf8(w.title ? w.title : ""));
        QWidget* criteria = pageOf(window, 0);
        QCOMPARE(criteria->findChildren<forms::ComboBox*>().size(), w.combos);
        QCOMPARE(criteria->findChildren<forms::TextBox*>().size(), w.nameBoxes);
        for (const forms::ComboBox* combo : criteria->findChildren<forms::ComboBox*>())
            QCOMPARE(combo->inner()->palette().color(QPalette::Base), LightBlue);
        for (const forms::TextBox* name : criteria->findChildren<forms::TextBox*>()) {
            QCOMPARE(name->inner()->palette().color(QPalette::Base), w.nameBack);
            QCOMPARE(name->inner()->palette().color(QPalette::Text), w.nameText);
        }
        forms::FlexGrid* grid = window->findChild<forms::FlexGrid*>();
        constexpr double TwipsPerPixel = 15;   // a width comes back in whole pixels
        QStringList shown;
        std::vector<int> shownWidths, widths;
        for (int col = 0; col < grid->Cols(); ++col) {
            const auto alignment = grid->view()->model()->index(0, col).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
            shown << (alignment & Qt::AlignHCenter ? "^" : "<") + grid->TextMatrix(0, col);
            shownWidths.push_back(qRound(grid->ColWidth(col) / TwipsPerPixel));
        }
        for (int width : w.widths) widths.push_back(qRound(width / TwipsPerPixel));
        QCOMPARE(shown, w.captions);
        QCOMPARE(shownWidths, widths);
        QCOMPARE(grid->RowHeight(1), w.rowHeight);
        QCOMPARE(grid->inner()->font().family(), QString("宋体"));
        QCOMPARE(grid->inner()->font().pointSizeF(), w.gridFont);
    }

    // Placed as every knowledge-base window: in a main window of at most 12000 twips
    // across, at its client's top-left corner and filling it; in a wider one, at
    // ((screen width - 11625) / 2, (screen height - 8700) / 6) twips.
    void placedByTheKnowledgeBaseRule_data() { windows(); }
    void placedByTheKnowledgeBaseRule()
    {
        QFETCH(int, row);
        QMainWindow& main = world_->mainWindow();
        main.resize(700, 560);
        QCoreApplication::processEvents();
        forms::Form* window = openThrough(Windows[row].item);
        const QWidget* client = main.findChild<QMdiArea*>()->viewport();
        QCOMPARE(window->subWindow()->geometry(), QRect(QPoint(0, 0), client->size()));
        window->Unload();
        QCoreApplication::processEvents();

        main.resize(1000, 800);
        QCoreApplication::processEvents();
        window = openThrough(Windows[row].item);
        const QPoint at(forms::toPixels((forms::Screen::Width() - 11625) / 2),
                        forms::toPixels((forms::Screen::Height() - 8700) / 6));
        QCOMPARE(window->subWindow()->pos(), at);
    }

    // The detail boxes on the tabs after the first: their font size and colours, a
    // vertical scroll bar on every multi-line one, labels that wrap or not, their font.
    void detailBoxesLook_data() { windows(); }
    void detailBoxesLook()
    {
        QFETCH(int, row);
        const Shown& w = Windows[row];
        forms::Form* window = openThrough(w.item);
        QWidget* detail = pageOf(window, 1);
        QVERIFY(detail->findChildren<QLabel*>().size() >= 4);
        for (const QLabel* label : detail->findChildren<QLabel*>()) {
            QCOMPARE(label->wordWrap(), w.labelsWrap);
            QCOMPARE(label->font().pointSizeF(), w.labelFont);
        }
        const QList<forms::TextBox*> boxes = detail->findChildren<forms::TextBox*>();
        const auto multi = std::count_if(boxes.begin(), boxes.end(), [](auto* box) { return box->MultiLine(); });
        QCOMPARE(std::pair(boxes.size() - multi, multi), std::pair(w.oneLine, w.multiLine));
        for (const forms::TextBox* box : boxes) {
            const QPalette palette = box->inner()->palette();
            QCOMPARE(box->inner()->font().pointSizeF(), w.detailFont);
            QCOMPARE(palette.color(QPalette::Base), w.back);
            QCOMPARE(palette.color(QPalette::Text), w.text);
            if (box->MultiLine()) QCOMPARE(box->plainTextEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
    }

    // The detail panel (boxes, labels, buttons) stays hidden until a data row is
    // clicked: a click below the last row does nothing; a click on a row shows it whole.
    void detailPanelShownByARowClick_data() { windows(); }
    void detailPanelShownByARowClick()
    {
        QFETCH(int, row);
        forms::Form* window = openThrough(Windows[row].item);
        auto* tabs = window->findChild<forms::TabbedDialog*>();
        QWidget* detail = tabs->Page(1);
        const QList<forms::Control*> panel = detail->findChildren<forms::Control*>();
        const auto shown = [&] {
            return std::count_if(panel.begin(), panel.end(), [detail](const forms::Control* c) { return c->isVisibleTo(detail); });
        };
        QCOMPARE(shown(), 0);
        QTableView* view = window->findChild<forms::FlexGrid*>()->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, view->viewport()->height() - 5));
        QCOMPARE(tabs->Tab(), 0);
        QCOMPARE(shown(), 0);
        QVERIFY(world_->messages().isEmpty());
        WindowFixture::clickGridRow(window->findChild<forms::FlexGrid*>(), 1);
        QCOMPARE(tabs->Tab(), 1);
        QCOMPARE(shown(), panel.size());
    }

    // 查询 pressed again while the first query lets events run (a criterion that
    // matches nothing): the second press does nothing, the message is shown once;
    // pressed afterwards, it runs.
    void secondQueryPressedMeanwhileRunsNothing_data() { windows(); }
    void secondQueryPressedMeanwhileRunsNothing()
    {
        QFETCH(int, row);
        const Shown& w = Windows[row];
        forms::Form* window = openThrough(w.item);
        QWidget* criteria = pageOf(window, 0);
        forms::CommandButton* seek = nullptr;
        for (forms::CommandButton* button : criteria->findChildren<forms::CommandButton*>())
            if (button->Caption().startsWith("查询")) seek = button;
        QVERIFY(seek);
        const auto query = [&] {
            criteria->findChild<forms::ComboBox*>()->setText("无此一词");
            WindowFixture::click(seek);
        };
        QTimer::singleShot(0, window, [seek] { WindowFixture::click(seek); });
        query();
        QCoreApplication::processEvents();
        QCOMPARE(world_->messages(), QStringList{w.noMatch});
        query();
        QCOMPARE(world_->messages(), (QStringList{w.noMatch, w.noMatch}));
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
    static QWidget* pageOf(forms::Form* window, int tab) { return window->findChild<forms::TabbedDialog*>()->Page(tab); }
    static void windows()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(Windows)); ++row) QTest::addRow("%s", Windows[row].item) << row;
    }
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
