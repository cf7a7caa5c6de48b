// What the four knowledge-base query windows share, each opened through its menu item
// (the arrow pointer back) and left through its exit button (the menus back): no close,
// minimise or maximise button; the criteria (a name box of at most 20
// characters, the combo boxes); the result grid's header captions (blanks
// inside them kept), alignments, column widths and data-row height; the look of the
// detail boxes and their labels; and the patent-medicine window's herb tab, whose five
// text boxes run the full width one under the other.
#include "knowledge_test_support.h"

#include "reference/herb_lookup.h"
#include "reference/patent_medicine_query.h"
#include "reference/reference_menu.h"

#include <QLabel>
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

    void buttonsAndGridsAsDescribed()
    {
        const struct {
            const char* item;
            const char* title;      // none: not checked
            QStringList captions;   // "<" left, "^" centred, as the format string gives them
            std::vector<int> widths;
            int rowHeight;
            double fontSize;
            int nameBoxes, combos;
        } windows[] = {
            {"zycxll0", "中医药材内容浏览",
             {"<  药 材 名 称", "<归 经", "<性  味", "<功  用", "<主    治", "<用   法", "<宜     忌"},
             {1400, 2000, 2000, 3000, 3500, 3500, 3600}, 400, 11.25, 1, 8},
            {"zycxll1", "方剂内容浏览",
             {"<  方 剂 名 称", "<方 剂 组 成", "<方 剂 功 用", "<方 剂 主 治", "<方 剂 用 法", "<方 剂 来 源", "<临 床 心 得"},
             {1400, 4500, 2000, 3000, 3000, 3500, 1600}, 400, 11.25, 1, 13},
            {"zycxll2", nullptr, {"^病症名称", "<临  床  症  状  表  现", "<病症成因", "<治疗措施"}, {1600, 8200, 2000, 4000},
             460, 10.5, 0, 6},
            {"ZycyCx", "中医成药查询",
             {"<  中医成药名称", "<中医成药组成", "<中医成药功用", "<中医成药主治", "<中医成药用法", "<临 床 心 得"},
             {1400, 4500, 2000, 3000, 3000, 3500}, 400, 9, 1, 9},
        };
        constexpr double TwipsPerPixel = 15;   // a width comes back in whole pixels
        for (auto [item, title, captions, widths, rowHeight, fontSize, nameBoxes, combos] : windows) {
            forms::Form* window = openThrough(item);
            const Qt::WindowFlags buttons = Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint;
            QVERIFY2(!(window->parentWidget()->windowFlags() & buttons), item);
            if (title) QCOMPARE(window->windowTitle(), QString(title));
            QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
            QWidget* criteria = window->findChild<forms::TabbedDialog*>()->Page(0);
            QCOMPARE(criteria->findChildren<forms::ComboBox*>().size(), combos);
            const QList<forms::TextBox*> names = criteria->findChildren<forms::TextBox*>();
            QCOMPARE(names.size(), nameBoxes);
            for (forms::TextBox* name : names) {
                name->SetFocus();
                WindowFixture::type(name, QString(21, u'x'));
                QCOMPARE(name->Text().size(), 20);
            }
            forms::FlexGrid* grid = window->findChild<forms::FlexGrid*>();
            QVERIFY2(grid, item);
            QStringList shown;
            std::vector<int> shownWidths;
            for (int col = 0; col < grid->Cols(); ++col) {
                const auto alignment = grid->view()->model()->index(0, col).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
                shown << (alignment & Qt::AlignHCenter ? "^" : "<") + grid->TextMatrix(0, col);
                shownWidths.push_back(qRound(grid->ColWidth(col) / TwipsPerPixel));
            }
            QCOMPARE(shown, captions);
            for (int& width : widths) width = qRound(width / TwipsPerPixel);
            QCOMPARE(shownWidths, widths);
            QCOMPARE(grid->RowHeight(1), rowHeight);
            QCOMPARE(grid->inner()->font().pointSizeF(), fontSize);
            QVERIFY(grid->inner()->toolTip().startsWith("点击鼠标选取要浏览的"));
            const QPointer<forms::Form> open = window;
            QAction* menus = world_->mainWindow().menuAction("xtwh");
            QVERIFY(!menus->isEnabled());
            for (forms::CommandButton* button : window->findChildren<forms::CommandButton*>())
                if (button->Caption().startsWith("退出") || button->Caption().startsWith("结束")) WindowFixture::click(button);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(!open && menus->isEnabled(), item);
        }
    }

    // The detail boxes on the tabs after the first: locked or not, their font size and
    // colours, a vertical scroll bar on every multi-line one.
    void detailBoxesLook()
    {
        const QColor blue(128, 128, 255), lightBlue(192, 192, 255);
        const struct {
            const char* item;
            bool locked;
            double fontSize;
            QColor back, text;
            qsizetype oneLine, multiLine;
            bool labelsWrap;
        } windows[] = {{"zycxll0", true, 10.5, lightBlue, Qt::black, 3, 5, true},
                       {"zycxll1", true, 11.25, blue, Qt::white, 2, 5, true},
                       {"zycxll2", false, 10.5, lightBlue, Qt::black, 1, 3, false},
                       {"ZycyCx", true, 11.25, blue, Qt::white, 1, 5, true}};
        for (const auto& [item, locked, fontSize, back, text, oneLine, multiLine, labelsWrap] : windows) {
            forms::Form* window = openThrough(item);
            QWidget* detail = window->findChild<forms::TabbedDialog*>()->Page(1);
            QVERIFY(detail->findChildren<QLabel*>().size() >= 4);
            for (const QLabel* label : detail->findChildren<QLabel*>()) QCOMPARE(label->wordWrap(), labelsWrap);
            const QList<forms::TextBox*> boxes = detail->findChildren<forms::TextBox*>();
            const auto multi = std::count_if(boxes.begin(), boxes.end(), [](auto* box) { return box->MultiLine(); });
            QCOMPARE(std::pair(boxes.size() - multi, multi), std::pair(oneLine, multiLine));
            for (const forms::TextBox* box : boxes) {
                const QPalette palette = box->inner()->palette();
                QCOMPARE(box->takesTypedText(), !locked);
                QCOMPARE(box->inner()->font().pointSizeF(), fontSize);
                QCOMPARE(palette.color(QPalette::Base), back);
                QCOMPARE(palette.color(QPalette::Text), text);
                if (box->MultiLine()) QCOMPARE(box->plainTextEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            }
            close(window);
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
    static void close(forms::Form* window)
    {
        window->Unload();
        QCoreApplication::processEvents();
    }

    std::unique_ptr<WindowFixture> world_;
};

QTEST_MAIN(QueryWindowTest)
#include "query_window_test.moc"
