// The western-drug window FrmXydl driven as the user drives it: the lists and count of
// the reset (empty table, Null rows, after the last delete), the ordered input check,
// save / edit / delete on keys stored normalised or imported as typed, the category
// list by Enter, the fuzzy query with apostrophes, wildcards and Null columns, the
// Enter rules of the boxes and the text for the word processor.
#include "reference/western_drug.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"
#include "platform/office/document.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QtTest>

using reference::FrmXydl;

class WesternDrugTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void resetFillsListsAndCount_data();
    void resetFillsListsAndCount();
    void inputCheckStopsAtTheFirstEmptyBox_data();
    void inputCheckStopsAtTheFirstEmptyBox();
    void saveStoresNormalisedTextsOnce();
    void keysAreSoughtStoredThenAsTyped_data();
    void keysAreSoughtStoredThenAsTyped();
    void deleteAsksAndSaysWhenNothingIsFound();
    void categoryEnterListsThatCategoryOnly();
    void queryMatchesContainedTexts_data();
    void queryMatchesContainedTexts();
    void enterInTheTextBoxes();
    void printHandsTheBoxesToTheWordProcessor();

private:
    FrmXydl* open() { return window_ = world_->open<FrmXydl>("ZysjDl4"); }
    void fill(const QString& name, const QString& category, const QString& effects, const QString& usage,
              const QString& cautions, const QString& notes = {});
    QStringList names() const;
    QStringList storedRow(const QString& name) const;

    std::unique_ptr<WindowFixture> world_;
    FrmXydl* window_ = nullptr;
};

void WesternDrugTest::fill(const QString& name, const QString& category, const QString& effects,
                           const QString& usage, const QString& cautions, const QString& notes)
{
    window_->Txtycmc->setText(name);
    window_->CboXylb->setText(category);
    window_->Txtyczz->setText(effects);
    window_->Txtycyf->setText(usage);
    window_->Txtycyj->setText(cautions);
    window_->Txtycgb->setText(notes);
}

QStringList WesternDrugTest::names() const
{
    QStringList items;
    for (int i = 0; i < window_->ListYcmc->ListCount(); ++i) items << window_->ListYcmc->List(i);
    return items;
}

QStringList WesternDrugTest::storedRow(const QString& name) const
{
    dao::Database db = world_->environment().open();
    dao::Recordset row = db.openRecordset("select * from ylsy where symc=" + dao::quote(name));
    QStringList texts;
    if (!row.eof())
        for (int col = 0; col < 7; ++col) texts << row.field(col).toString();
    return texts;
}

static void seedThree(const TestEnvironment& env)
{
    env.insert("ylsy", {"阿莫西林", "抗感染", "口服，一次0.5克", "青霉素过敏者禁用", "  ", "张医生", "抗生素"});
    env.insert("ylsy", {"布洛芬", "解热镇痛", "口服", "胃溃疡慎用", "  ", "张医生", "解热镇痛药"});
    env.insert("ylsy", {"头孢氨苄", "抗感染", "口服", "过敏者禁用", "  ", "张医生", "抗生素"});
}

// ---- the reset ----------------------------------------------------------------------

void WesternDrugTest::resetFillsListsAndCount_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty table") << 0 << QStringList{} << QStringList{} << "已经登录西药 0  种";
    QTest::newRow("three drugs") << 3 << QStringList{"解热镇痛药", "抗生素"}
                                 << QStringList{"阿莫西林", "布洛芬", "头孢氨苄"} << "已经登录西药 3 种";
    // An imported row without a category or a name shows as an empty entry, the
    // others stay listed.
    QTest::newRow("Null first row") << -1 << QStringList{"", "抗生素"} << QStringList{"", "阿莫西林"}
                                    << "已经登录西药 2 种";
}

void WesternDrugTest::resetFillsListsAndCount()
{
    QFETCH(int, rows);
    QFETCH(QStringList, categories);
    if (rows == 3) seedThree(world_->environment());
    if (rows == -1) {
        world_->environment().insert("ylsy", {vb::Variant(), "x"});
        world_->environment().insert("ylsy", {"阿莫西林", "抗感染", "口服", "慎用", "  ", "张", "抗生素"});
    }
    open();
    QStringList shown;
    for (int i = 0; i < window_->CboXylb->ListCount(); ++i) shown << window_->CboXylb->List(i);
    QCOMPARE(shown, categories);
    QTEST(names(), "listed");
    QTEST(window_->LabJL->Caption(), "count");
    QVERIFY(world_->messages().isEmpty());
}

// ---- the input check ---------------------------------------------------------------

void WesternDrugTest::inputCheckStopsAtTheFirstEmptyBox_data()
{
    QTest::addColumn<int>("emptied");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << 0 << "输入西药名称";
    QTest::newRow("effects") << 1 << "输入西药作用";
    QTest::newRow("usage") << 2 << "输入西药用法与剂量";
    QTest::newRow("cautions") << 3 << "输入西药使用注意事项";
    QTest::newRow("category of blanks") << 4 << "输入西药所属类别";
}

void WesternDrugTest::inputCheckStopsAtTheFirstEmptyBox()
{
    QFETCH(int, emptied);
    open();
    QStringList texts = {"阿司匹林", "解热镇痛", "口服", "出血者禁用", "解热镇痛药"};
    texts[emptied] = "   ";
    fill(texts[0], texts[4], texts[1], texts[2], texts[3]);
    for (forms::CommandButton* button : {window_->Cmdsave, window_->Cmdedit}) {
        world_->clearMessages();
        WindowFixture::click(button);
        QCOMPARE(world_->messages().size(), 1);
        QTEST(world_->messages().value(0), "message");
        const forms::Control* boxes[] = {window_->Txtycmc, window_->Txtyczz, window_->Txtycyf, window_->Txtycyj,
                                         window_->CboXylb};
        QCOMPARE(WindowFixture::focusedControl(), boxes[emptied]);
    }
    QCOMPARE(world_->environment().count("ylsy"), 0);
}

// ---- writing ------------------------------------------------------------------------

void WesternDrugTest::saveStoresNormalisedTextsOnce()
{
    open();
    fill("  维生素C  ", "维生素类", "抗氧化,增强免疫", "口服;一日3次", "过量.腹泻");
    WindowFixture::click(window_->Cmdsave);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(storedRow("维生素C"),
             (QStringList{"维生素C", "抗氧化，增强免疫", "口服；一日3次", "过量。腹泻", "  ", core::OwnerName, "维生素类"}));
    QCOMPARE(names(), QStringList{"维生素C"});
    QCOMPARE(window_->LabJL->Caption(), QString("已经登录西药 1 种"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
    QVERIFY(window_->Txtycmc->Text().isEmpty());

    // The same name again: nothing written, no message, the focus on 修改.
    fill("维生素C", "其它", "另一个", "另一个", "另一个");
    WindowFixture::click(window_->Cmdsave);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(world_->environment().count("ylsy"), 1);
    QCOMPARE(storedRow("维生素C").value(6), QString("维生素类"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
}

void WesternDrugTest::keysAreSoughtStoredThenAsTyped_data()
{
    QTest::addColumn<QString>("stored");   // the key as the row holds it
    QTest::addColumn<QString>("typed");
    QTest::newRow("saved through the window, typed half-width") << "复方甘草片，小" << "复方甘草片,小";
    QTest::newRow("saved through the window, typed full-width") << "复方甘草片，小" << "复方甘草片，小";
    QTest::newRow("imported half-width, typed the same") << "复方,甘草" << "复方,甘草";
    QTest::newRow("apostrophe") << "O'Brien's" << "O'Brien's";
    QTest::newRow("wildcards") << "a*b?[c]#" << "a*b?[c]#";
}

void WesternDrugTest::keysAreSoughtStoredThenAsTyped()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    world_->environment().insert("ylsy", {stored, "旧作用", "旧用法", "旧注意", "  ", "张", "旧类"});
    open();

    // A save finds the row and adds nothing.
    fill(typed, "新类", "新作用", "新用法", "新注意");
    WindowFixture::click(window_->Cmdsave);
    QCOMPARE(world_->environment().count("ylsy"), 1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);

    // Enter looks it up; an edit rewrites all but the name.
    window_->Txtycmc->setText(typed);
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(window_->Txtyczz->Text(), QString("旧作用"));
    QCOMPARE(window_->CboXylb->Text(), QString("旧类"));
    QCOMPARE(WindowFixture::focusedControl(), window_->CboXylb);
    fill(typed, "新类", "新作用", "新用法", "新注意");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(storedRow(stored), (QStringList{stored, "新作用", "新用法", "新注意", "  ", core::OwnerName, "新类"}));

    // The list click shows it; a delete confirmed removes it and empties the lists.
    window_->ListYcmc->listWidget()->setCurrentRow(0);
    window_->ListYcmc->Click();
    QCOMPARE(window_->Txtycmc->Text(), stored);
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("ylsy"), 0);
    QVERIFY(names().isEmpty());
    QCOMPARE(window_->CboXylb->ListCount(), 0);
    QCOMPARE(window_->LabJL->Caption(), QString("已经登录西药 0  种"));
    QVERIFY(world_->messages().filter("错误").isEmpty());
}

void WesternDrugTest::deleteAsksAndSaysWhenNothingIsFound()
{
    seedThree(world_->environment());
    open();
    window_->Txtycmc->setText("布洛芬");
    world_->answer({forms::vbNo});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("ylsy"), 3);
    QCOMPARE(world_->boxes().shown().at(0).icon, forms::vbQuestion);

    window_->Txtycmc->setText("没有这个药");
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("ylsy"), 3);
    QCOMPARE(world_->messages().size(), 3);

    // An edit of a name not stored writes nothing and moves to 保存.
    fill("没有这个药", "类", "作用", "用法", "注意");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(world_->environment().count("ylsy"), 3);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdsave);
}

// ---- listing and querying ------------------------------------------------------------

void WesternDrugTest::categoryEnterListsThatCategoryOnly()
{
    seedThree(world_->environment());
    world_->environment().insert("ylsy", {"奥司他韦", "抗病毒", "口服", "慎用", "  ", "张", "抗生素's"});
    open();
    for (const auto& [category, listed, count] :
         {std::tuple{QString("抗生素"), QStringList{"阿莫西林", "头孢氨苄"}, QString("符合查询条件的药材有 2 种")},
          std::tuple{QString("抗生素's"), QStringList{"奥司他韦"}, QString("符合查询条件的药材有 1 种")},
          // No row: list and label keep what they showed.
          std::tuple{QString("抗"), QStringList{"奥司他韦"}, QString("符合查询条件的药材有 1 种")}}) {
        window_->CboXylb->setText(category);
        WindowFixture::pressEnter(window_->CboXylb);
        QCOMPARE(names(), listed);
        QCOMPARE(window_->LabJL->Caption(), count);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtyczz);
    }
    QVERIFY(world_->messages().isEmpty());
}

void WesternDrugTest::queryMatchesContainedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("found");   // empty: "未找到相关药材。"
    QTest::newRow("category only") << "" << "解热" << QStringList{"布洛芬"};
    QTest::newRow("name inside") << "孢" << "" << QStringList{"头孢氨苄"};
    QTest::newRow("Null notes found by an empty criterion") << "林" << "抗生素" << QStringList{"阿莫西林"};
    QTest::newRow("apostrophe") << "'s" << "" << QStringList{"Tom's*"};
    QTest::newRow("star as a wildcard") << "阿*林" << "" << QStringList{"阿莫西林"};
    QTest::newRow("no match") << "青霉素" << "" << QStringList{};
}

void WesternDrugTest::queryMatchesContainedTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QStringList, found);
    seedThree(world_->environment());
    world_->environment().insert("ylsy", {"Tom's*", "x", "y", "z", "  ", "张", "其它"});
    {
        dao::Database db = world_->environment().open();
        db.execute("update ylsy set syxd = null where symc = '阿莫西林'");
    }
    open();
    const QStringList before = names();
    window_->Txtycmc->setText(name);
    window_->CboXylb->setText(category);
    WindowFixture::click(window_->Cmdseek);
    if (found.isEmpty()) {
        QCOMPARE(world_->messages(), QStringList{"未找到相关药材。"});
        QCOMPARE(names(), before);
        return;
    }
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(names(), found);
    QCOMPARE(window_->LabJL->Caption(), "符合查询条件的药材有 " + QString::number(found.size()) + " 种");

    // Every box empty: asked for a criterion, nothing opened.
    fill("", " ", "", "", "");
    WindowFixture::click(window_->Cmdseek);
    QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
    QCOMPARE(names(), found);
}

// ---- keys and print ----------------------------------------------------------------

void WesternDrugTest::enterInTheTextBoxes()
{
    open();
    for (forms::TextBox* box : {window_->Txtyczz, window_->Txtycyf, window_->Txtycyj, window_->Txtycgb}) {
        box->SetFocus();
        WindowFixture::pressEnter(box);
        WindowFixture::type(box, "a b");
        WindowFixture::pressEnter(box);
        WindowFixture::type(box, "c");
        QCOMPARE(box->Text(), QString("ab\r\nc"));
    }
    // Enter on an empty name stays; on a name not stored moves to the category.
    window_->Txtycmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
    WindowFixture::type(window_->Txtycmc, "x y");
    QCOMPARE(window_->Txtycmc->Text(), QString("xy"));
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(WindowFixture::focusedControl(), window_->CboXylb);
    QVERIFY(world_->messages().isEmpty());
}

void WesternDrugTest::printHandsTheBoxesToTheWordProcessor()
{
    office::setDocumentOpener([](const QString&) { return true; });
    open();
    fill("布洛芬", "解热镇痛药", "解热", "口服", "");
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(world_->boxes().shown().at(0).icon, 0);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdqcls);

    world_->clearMessages();
    window_->Txtycyj->setText("慎用");
    WindowFixture::click(window_->Cmdprnt);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("药材名称：布洛芬\r\n药材类别：解热镇痛药\r\n药材作用：解热\r\n用法剂量：口服\r\n"
                     "注意事项：慎用\r\n应用心得：\r\n\r\n打印时间：2024-03-15"));
    QVERIFY(world_->clock().waited >= 4);
    office::setDocumentOpener({});
}

QTEST_MAIN(WesternDrugTest)
#include "western_drug_test.moc"
