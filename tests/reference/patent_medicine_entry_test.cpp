// The patent-medicine entry window FrmZycy driven as the user drives it: the list and
// count of the reset (empty table, after the last delete), the ordered input check,
// save and edit with the name stored as typed and the texts normalised, the delete
// that asks first and says when nothing is found, the look-ups by name and by list,
// the fuzzy query (apostrophes, wildcards, Null columns), the Enter chain, the herb
// look-up and the text for the word processor.
#include "reference/patent_medicine_entry.h"
#include "formula_test_data.h"
#include "knowledge_test_support.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/tabbeddialog.h"

#include <QListWidget>
#include <QtTest>

using knowledgetest::itemsOf;
using reference::FrmZycy;

class PatentMedicineEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void inputCheckStopsAtTheFirstEmptyBox_data();
    void inputCheckStopsAtTheFirstEmptyBox();
    void saveEditAndDeleteByName_data();
    void saveEditAndDeleteByName();
    void lookUpsAndEnterChain();
    void queryListsContainedTexts_data();
    void queryListsContainedTexts();
    void herbLookUpPrintAndHelp();

private:
    FrmZycy* open() { return window_ = world_->open<FrmZycy>("ZysjDl3"); }
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy, window_->Txtfjzz,
                                  window_->Txtfjyf, window_->Txtlcxd},
                                 texts);
    }
    QStringList stored(const QString& name) const
    {
        return knowledgetest::storedRow(world_->environment(), "select * from fjcy where cymc=" + dao::quote(name));
    }

    std::unique_ptr<WindowFixture> world_;
    FrmZycy* window_ = nullptr;
};

static void seed(const TestEnvironment& env)
{
    env.insert("fjcy", {"六味地黄丸", "熟地黄，山茱萸，山药，泽泻", "滋阴补肾", "肾阴亏损", "口服", "  ", "张"});
    env.insert("fjcy", {"逍遥丸", "柴胡，当归，白芍", "疏肝健脾", "肝郁脾虚", "口服", "  ", "张"});
    env.insert("fjcy", {"O'Neil*散", vb::Variant(), vb::Variant(), vb::Variant(), "服", "验方"});
}

void PatentMedicineEntryTest::inputCheckStopsAtTheFirstEmptyBox_data()
{
    QTest::addColumn<int>("emptied");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << 0 << "输入成药名称";
    QTest::newRow("composition") << 1 << "输入成药构成";
    QTest::newRow("effects") << 2 << "输入成药功效";
    QTest::newRow("indications") << 3 << "输入成药主治";
    QTest::newRow("usage of blanks") << 4 << "输入成药用法";
}

void PatentMedicineEntryTest::inputCheckStopsAtTheFirstEmptyBox()
{
    QFETCH(int, emptied);
    QFETCH(QString, message);
    seed(world_->environment());
    open();
    forms::TextBox* boxes[] = {window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy, window_->Txtfjzz, window_->Txtfjyf};
    for (forms::CommandButton* button : {window_->Cmdsave, window_->Cmdedit, window_->Cmddele}) {
        QStringList texts = {"逍遥丸", "柴胡", "疏肝", "肝郁", "口服"};
        texts[emptied] = "  ";
        fill(texts);
        world_->answer({forms::vbYes});   // the delete asks first, then checks
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), message);
        QCOMPARE(WindowFixture::focusedControl(), boxes[emptied]);
    }
    QCOMPARE(stored("逍遥丸").value(1), QString("柴胡，当归，白芍"));
}

void PatentMedicineEntryTest::saveEditAndDeleteByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "保和丸";
    QTest::newRow("half-width comma kept in the name") << "保和丸,大";
    QTest::newRow("apostrophe and wildcards") << "O'Neil*[丸]?#";
}

void PatentMedicineEntryTest::saveEditAndDeleteByName()
{
    QFETCH(QString, name);
    world_->environment().insert("fjcy", {"保和丸，大", "x", "x", "x", "x", "  ", "张"});   // the normalised twin
    core::LoginUser = "王医生";
    open();
    fill({" " + name + " ", "山楂,神曲", "消食.和胃", "食积;停滞", "口服"});
    WindowFixture::click(window_->Cmdsave);
    core::LoginUser.clear();
    QCOMPARE(stored(name), (QStringList{name, "山楂，神曲", "消食。和胃", "食积；停滞", "口服", "  ", "王医生"}));
    QCOMPARE(itemsOf(window_->ListFjmc).last(), name);
    QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 2 条"));

    fill({name, "x", "x", "x", "x"});
    WindowFixture::click(window_->Cmdsave);   // stored: nothing written, the focus on 修改
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
    fill({name, "山楂", "消食", "食积", "水送服", "效佳"});
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(stored(name), (QStringList{name, "山楂", "消食", "食积", "水送服", "效佳", core::OwnerName}));
    fill({name + "x", "a", "b", "c", "d"});
    WindowFixture::click(window_->Cmdedit);   // not stored: nothing, the focus in the name box
    QCOMPARE(world_->environment().count("fjcy"), 2);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    world_->answer({forms::vbYes, forms::vbOK, forms::vbNo, forms::vbYes, forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages().last(), QString("没有找到要删除的成药。"));
    fill({name, "a", "b", "c", "d"});
    WindowFixture::click(window_->Cmddele);   // No: nothing
    QCOMPARE(world_->environment().count("fjcy"), 2);
    WindowFixture::click(window_->Cmddele);
    fill({"保和丸，大", "a", "b", "c", "d"});
    WindowFixture::click(window_->Cmddele);   // the last one: the list empties too
    QCOMPARE(world_->environment().count("fjcy"), 0);
    QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 0 条"));
    QVERIFY(itemsOf(window_->ListFjmc).isEmpty());
}

void PatentMedicineEntryTest::lookUpsAndEnterChain()
{
    seed(world_->environment());
    open();
    QCOMPARE(itemsOf(window_->ListFjmc), (QStringList{"六味地黄丸", "逍遥丸", "O'Neil*散"}));   // stored order
    window_->Txtfjmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtfjmc);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);   // an empty name: nothing
    for (const QString& name : {QString("O'Neil*散"), QString("没有的")}) {
        fill({name, "原样"});
        WindowFixture::pressEnter(window_->Txtfjmc);
        QCOMPARE(window_->Txtfjnr->Text(), name == "没有的" ? QString("原样") : QString());
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
    }
    window_->ListFjmc->listWidget()->setCurrentRow(0);
    window_->ListFjmc->Click();
    QCOMPARE(window_->Txtfjzz->Text(), QString("肾阴亏损"));

    // The composition moves on only with text, its blanks trimmed as keys come.
    fill({});
    window_->Txtfjnr->SetFocus();
    WindowFixture::pressEnter(window_->Txtfjnr);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
    WindowFixture::type(window_->Txtfjnr, "a b");
    WindowFixture::pressEnter(window_->Txtfjnr);
    QCOMPARE(window_->Txtfjnr->Text(), QString("ab"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjgy);
}

void PatentMedicineEntryTest::queryListsContainedTexts_data()
{
    QTest::addColumn<QStringList>("criteria");   // the six boxes
    QTest::addColumn<QStringList>("found");      // empty: nothing matches
    QTest::newRow("name only, in name order") << QStringList{"丸"} << QStringList{"六味地黄丸", "逍遥丸"};
    QTest::newRow("composition and effects") << QStringList{"", "当归", "疏肝"} << QStringList{"逍遥丸"};
    QTest::newRow("Null columns match empty criteria") << QStringList{"'", "", "", "", "", "验方"}
                                                       << QStringList{"O'Neil*散"};
    QTest::newRow("star a wildcard") << QStringList{"六*丸"} << QStringList{"六味地黄丸"};
    QTest::newRow("no match") << QStringList{"不存在"} << QStringList{};
}

void PatentMedicineEntryTest::queryListsContainedTexts()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, found);
    seed(world_->environment());
    open();
    const QStringList before = itemsOf(window_->ListFjmc);
    fill(criteria);
    WindowFixture::click(window_->Cmdseek);
    if (found.isEmpty()) {
        QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
        QCOMPARE(itemsOf(window_->ListFjmc), before);
        QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 3 条"));
        return;
    }
    QCOMPARE(itemsOf(window_->ListFjmc), found);
    QCOMPARE(window_->LabFjsl->Caption(), "已经登录成药 " + QString::number(found.size()) + " 条");
    fill({" "});
    WindowFixture::click(window_->Cmdseek);
    QCOMPARE(world_->messages(), QStringList{"请输入查询条件"});
}

void PatentMedicineEntryTest::herbLookUpPrintAndHelp()
{
    formulatest::seed(world_->environment());
    forms::PopupMenus::TestHook popups;
    open();
    window_->Txtfjnr->setText("川芎、 当归 ");
    popups.choose(window_->herbs->FindYc);
    formulatest::markAndUse(window_->Txtfjnr, 3, 4, Qt::RightButton);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(window_->herbs->Txtycmc->Text(), QString("当归"));

    fill({"逍遥丸", "柴胡", "疏肝", "肝郁", ""});   // the hand-off refuses an empty usage
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdqcls);

    WindowFixture::click(window_->CmdHelp);   // back from help: boxes empty, panel hidden
    forms::Form::ReturnFromHelp(window_);
    QVERIFY(window_->Txtfjmc->Text().isEmpty() && !window_->herbs->Txtycmc->isVisibleTo(window_));
}

QTEST_MAIN(PatentMedicineEntryTest)
#include "patent_medicine_entry_test.moc"
