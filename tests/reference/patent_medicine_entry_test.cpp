// The patent-medicine entry window FrmZycy driven as the user drives it: the list and
// count of the reset (empty table, after the last delete), the ordered input check,
// save and edit with the name stored as typed and the texts normalised, the delete
// that asks first and says when nothing is found, the look-up by name and by list,
// the fuzzy query (apostrophes, wildcards, Null columns), the Enter chain, the text
// for the word processor and the reset on returning from help.
#include "reference/patent_medicine_entry.h"
#include "formula_test_data.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/lists.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/office/document.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QtTest>

using reference::FrmZycy;

class PatentMedicineEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void resetShowsNamesAndCount();
    void inputCheckStopsAtTheFirstEmptyBox_data();
    void inputCheckStopsAtTheFirstEmptyBox();
    void saveEditAndDeleteByName_data();
    void saveEditAndDeleteByName();
    void lookUpByEnterAndByList();
    void queryListsContainedTexts_data();
    void queryListsContainedTexts();
    void enterChain();
    void printAndHelp();
    void herbMarkedInTheCompositionIsShown();

private:
    FrmZycy* open() { return window_ = world_->open<FrmZycy>("ZysjDl3"); }
    void fill(const QStringList& texts);
    QStringList names() const;
    QStringList stored(const QString& name) const;

    std::unique_ptr<WindowFixture> world_;
    FrmZycy* window_ = nullptr;
};

void PatentMedicineEntryTest::fill(const QStringList& texts)
{
    forms::TextBox* boxes[] = {window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy,
                               window_->Txtfjzz, window_->Txtfjyf, window_->Txtlcxd};
    for (int i = 0; i < 6; ++i) boxes[i]->setText(texts.value(i));
}

QStringList PatentMedicineEntryTest::names() const
{
    QStringList items;
    for (int i = 0; i < window_->ListFjmc->ListCount(); ++i) items << window_->ListFjmc->List(i);
    return items;
}

QStringList PatentMedicineEntryTest::stored(const QString& name) const
{
    dao::Database db = world_->environment().open();
    dao::Recordset row = db.openRecordset("select * from fjcy where cymc=" + dao::quote(name));
    QStringList texts;
    if (!row.eof())
        for (int col = 0; col < 7; ++col) texts << row.field(col).toString();
    return texts;
}

static void seed(const TestEnvironment& env)
{
    env.insert("fjcy", {"六味地黄丸", "熟地黄，山茱萸，山药，泽泻", "滋阴补肾", "肾阴亏损", "口服", "  ", "张"});
    env.insert("fjcy", {"逍遥丸", "柴胡，当归，白芍", "疏肝健脾", "肝郁脾虚", "口服", "  ", "张"});
}

void PatentMedicineEntryTest::resetShowsNamesAndCount()
{
    open();
    QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 0 条"));
    QVERIFY(names().isEmpty());
    QCOMPARE(window_->SSTab1->Tab(), 0);

    fill({"  保和丸 ", "山楂，神曲", "消食", "食积", "口服"});
    WindowFixture::click(window_->Cmdsave);
    QCOMPARE(names(), QStringList{"保和丸"});
    QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 1 条"));

    // Deleting the last medicine empties the list as well as the count.
    fill({"保和丸", "山楂", "消食", "食积", "口服"});
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 0 条"));
    QVERIFY(names().isEmpty());
    QVERIFY(world_->messages().size() == 1);
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
        world_->clearMessages();
        world_->answer({forms::vbYes});
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), message);
        QCOMPARE(WindowFixture::focusedControl(), boxes[emptied]);
    }
    QCOMPARE(world_->environment().count("fjcy"), 2);
    QCOMPARE(stored("逍遥丸").value(1), QString("柴胡，当归，白芍"));
}

void PatentMedicineEntryTest::saveEditAndDeleteByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "保和丸";
    QTest::newRow("half-width comma stays in the name") << "保和丸,大";
    QTest::newRow("apostrophe and wildcards") << "O'Neil*[丸]?#";
}

void PatentMedicineEntryTest::saveEditAndDeleteByName()
{
    QFETCH(QString, name);
    core::LoginUser = "王医生";
    open();
    fill({" " + name + " ", "山楂,神曲", "消食.和胃", "食积;停滞", "口服"});
    WindowFixture::click(window_->Cmdsave);
    core::LoginUser.clear();
    QCOMPARE(stored(name), (QStringList{name, "山楂，神曲", "消食。和胃", "食积；停滞", "口服", "  ", "王医生"}));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    // Saved again: nothing written, the focus on 修改.
    fill({name, "x", "x", "x", "x"});
    WindowFixture::click(window_->Cmdsave);
    QCOMPARE(world_->environment().count("fjcy"), 1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);

    // Edited: the texts and the entered-by name, never the name.
    fill({name, "山楂", "消食", "食积", "水送服", "效佳"});
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(stored(name), (QStringList{name, "山楂", "消食", "食积", "水送服", "效佳", core::OwnerName}));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    // An edit of a name not stored writes nothing and leaves the focus in the name box.
    fill({name + "x", "a", "b", "c", "d"});
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(world_->environment().count("fjcy"), 1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    // A delete confirmed of a name not stored says so; of the stored one, removes it.
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), (QStringList{"删除此条内容吗？", "没有找到要删除的成药。"}));
    fill({name, "a", "b", "c", "d"});
    world_->answer({forms::vbNo});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("fjcy"), 1);
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("fjcy"), 0);
}

void PatentMedicineEntryTest::lookUpByEnterAndByList()
{
    seed(world_->environment());
    world_->environment().insert("fjcy", {"O'Neil丸", vb::Variant(), "效", vb::Variant(), "服"});
    open();
    QCOMPARE(names(), (QStringList{"六味地黄丸", "逍遥丸", "O'Neil丸"}));   // stored order

    window_->Txtfjmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtfjmc);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);   // empty name: nothing
    for (const QString& name : {QString("O'Neil丸"), QString("逍遥丸")}) {
        fill({name});
        WindowFixture::pressEnter(window_->Txtfjmc);
        QCOMPARE(window_->Txtfjgy->Text(), stored(name).value(2));
        QCOMPARE(window_->Txtfjnr->Text(), stored(name).value(1));
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
    }
    fill({"没有的", "原样"});
    WindowFixture::pressEnter(window_->Txtfjmc);
    QCOMPARE(window_->Txtfjnr->Text(), QString("原样"));
    QVERIFY(world_->messages().isEmpty());

    window_->ListFjmc->listWidget()->setCurrentRow(0);
    window_->ListFjmc->Click();
    QCOMPARE(window_->Txtfjmc->Text(), QString("六味地黄丸"));
    QCOMPARE(window_->Txtfjzz->Text(), QString("肾阴亏损"));
}

void PatentMedicineEntryTest::queryListsContainedTexts_data()
{
    QTest::addColumn<QStringList>("criteria");   // the six boxes
    QTest::addColumn<QStringList>("found");      // empty: nothing matches
    QTest::newRow("name only, in name order") << QStringList{"丸"} << QStringList{"六味地黄丸", "逍遥丸"};
    QTest::newRow("composition and effects") << QStringList{"", "当归", "疏肝"} << QStringList{"逍遥丸"};
    QTest::newRow("notes only") << QStringList{"", "", "", "", "", "验方"} << QStringList{"O'Neil*散"};
    QTest::newRow("Null columns match empty criteria") << QStringList{"'"} << QStringList{"O'Neil*散"};
    QTest::newRow("star literal") << QStringList{"l*散"} << QStringList{"O'Neil*散"};
    QTest::newRow("star as a wildcard") << QStringList{"六*丸"} << QStringList{"六味地黄丸"};
    QTest::newRow("no match") << QStringList{"不存在"} << QStringList{};
}

void PatentMedicineEntryTest::queryListsContainedTexts()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, found);
    seed(world_->environment());
    world_->environment().insert("fjcy", {"O'Neil*散", vb::Variant(), vb::Variant(), vb::Variant(), "服", "验方"});
    open();
    const QStringList before = names();
    fill(criteria);
    WindowFixture::click(window_->Cmdseek);
    if (found.isEmpty()) {
        QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
        QCOMPARE(names(), before);
        QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 3 条"));
        return;
    }
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(names(), found);
    QCOMPARE(window_->LabFjsl->Caption(), "已经登录成药 " + QString::number(found.size()) + " 条");
    fill({" ", "", " "});
    WindowFixture::click(window_->Cmdseek);
    QCOMPARE(world_->messages(), QStringList{"请输入查询条件"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);
}

void PatentMedicineEntryTest::enterChain()
{
    open();
    // The composition moves on only with text; effects, indications, usage always.
    window_->Txtfjnr->SetFocus();
    WindowFixture::pressEnter(window_->Txtfjnr);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
    WindowFixture::type(window_->Txtfjnr, "a b");
    QCOMPARE(window_->Txtfjnr->Text(), QString("ab"));
    WindowFixture::pressEnter(window_->Txtfjnr);
    for (forms::TextBox* box : {window_->Txtfjgy, window_->Txtfjzz, window_->Txtfjyf}) {
        QCOMPARE(WindowFixture::focusedControl(), box);
        WindowFixture::pressEnter(box);
    }
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtlcxd);
    WindowFixture::pressEnter(window_->Txtlcxd);
    WindowFixture::type(window_->Txtlcxd, "c d");
    WindowFixture::pressEnter(window_->Txtlcxd);
    QCOMPARE(window_->Txtlcxd->Text(), QString("cd\r\n"));
    QCOMPARE(window_->Txtfjgy->Text(), QString());
}

void PatentMedicineEntryTest::printAndHelp()
{
    office::setDocumentOpener([](const QString&) { return true; });
    open();
    fill({"逍遥丸", "柴胡", "疏肝", "肝郁", ""});
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(world_->boxes().shown().at(0).icon, 0);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdqcls);
    world_->clearMessages();
    window_->Txtfjyf->setText("口服");
    WindowFixture::click(window_->Cmdprnt);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("成药名称：逍遥丸\r\n成药内容：柴胡\r\n成药功效：疏肝\r\n成药主治：肝郁\r\n使用方法：口服\r\n"
                     "应用心得：\r\n打印时间：2024-03-15"));
    office::setDocumentOpener({});

    // Back from the help window the boxes are empty again.
    WindowFixture::click(window_->CmdHelp);
    QVERIFY(!window_->isEnabled());
    forms::Form::ReturnFromHelp(window_);
    QVERIFY(window_->Txtfjmc->Text().isEmpty());
}

void PatentMedicineEntryTest::herbMarkedInTheCompositionIsShown()
{
    formulatest::seedHerbs(world_->environment());
    forms::PopupMenus::TestHook popups;
    open();
    window_->Txtfjnr->setText("川芎、 当归 ");
    formulatest::select(window_->Txtfjnr, 3, 4);
    popups.choose(window_->herbs->FindYc);
    formulatest::mouseOver(window_->Txtfjnr, Qt::RightButton);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(window_->herbs->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->herbs->labels(5)->Caption(), QString("临床心得"));
    WindowFixture::click(window_->CmdHelp);              // back from help: the panel is hidden again
    forms::Form::ReturnFromHelp(window_);
    QVERIFY(!window_->herbs->Txtycmc->isVisibleTo(window_));
    QCOMPARE(window_->SSTab1->Tab(), 0);
}

QTEST_MAIN(PatentMedicineEntryTest)
#include "patent_medicine_entry_test.moc"
