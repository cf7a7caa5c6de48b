// The herb entry window Frmzyyc where it differs from the other entry windows (whose
// shared base has its own test): the Enter chain and its messages, the count and the
// two combos after each reset (Null rows, the last delete), the look-up by Enter, the
// fuzzy search.
#include "reference/herb_entry.h"
#include "knowledge_test_support.h"

using knowledgetest::itemsOf;
using reference::Frmzyyc;

class HerbEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        core::OwnerName = "张医生";
        core::LoginUser.clear();
    }
    void cleanup() { world_.reset(); }

    void enterChainAndItsMessages()
    {
        open();
        window_->Txtycmc->SetFocus();
        WindowFixture::pressEnter(window_->Txtycmc);   // empty name: stays
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
        WindowFixture::type(window_->Txtycmc, "人 参");
        QCOMPARE(window_->Txtycmc->Text(), QString("人参"));   // no blank can be typed
        const std::tuple<forms::Control*, forms::Control*, const char*> steps[] = {   // the message of an empty box
            {window_->Txtycmc, window_->Cboycxw, nullptr}, {window_->Cboycxw, window_->Cboycgj, nullptr},
            {window_->Cboycgj, window_->Txtycgy, nullptr}, {window_->Txtycgy, window_->Txtyczz, "请输入药材功效内容"},
            {window_->Txtyczz, window_->Txtycyf, "请输入药材主治内容"}, {window_->Txtycyf, window_->Txtycyj, "请输入药材使用方法"}};
        for (const auto& [box, next, message] : steps) {
            if (message) {
                world_->clearMessages();
                WindowFixture::pressEnter(box);
                QCOMPARE(world_->messages(), QStringList{QString::fromUtf8(message)});
                QCOMPARE(WindowFixture::focusedControl(), box);
                WindowFixture::type(box, "甲");
            }
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), next);
        }
        WindowFixture::pressEnter(window_->Txtycyj);   // cautions: no check
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycgb);
        WindowFixture::pressEnter(window_->Txtycgb);   // empty notes: Enter dropped, then a new line
        WindowFixture::type(window_->Txtycgb, "甲");
        WindowFixture::pressEnter(window_->Txtycgb);
        WindowFixture::type(window_->Txtycgb, "乙");
        QCOMPARE(window_->Txtycgb->Text(), QString("甲\r\n乙"));
    }

    // An imported row with Nulls, stored first, adds nothing to the combos and no longer
    // empties them; the look-up by Enter loads a stored row as stored, the imported one
    // as empty texts (a name not stored: the formula window's test); its edit stores the key
    // and the texts normalised, the list keeping the stored order; after the last delete
    // the count and the combos are empty.
    void importedRowsAndTheLastDelete()
    {
        world_->environment().insert("zyyc", {"当归,酒"});
        world_->environment().insert("zyyc", {"川芎", "肝经", "辛，温", "活血", "头痛", "煎服", "  ", "  ", "李"});
        open();
        QCOMPARE(itemsOf(window_->Cboycgj), QStringList{"肝经"});
        QCOMPARE(window_->Labycsl->Caption(), QString("2种"));
        window_->ListYcmc->listWidget()->setCurrentRow(1);
        window_->ListYcmc->Click();
        QCOMPARE(window_->Txtycmc->Text() + window_->Txtycgy->Text(), QString("川芎活血"));
        window_->Txtycmc->setText("川芎");
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(WindowFixture::focusedControl(), window_->Cboycxw);
        QCOMPARE(window_->Cboycgj->Text() + window_->Txtycgy->Text() + window_->Txtycyj->Text(), QString("肝经活血  "));   // as stored
        window_->Txtycmc->setText("当归,酒");
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(window_->Txtycgy->Text(), QString());
        fill({"当归,酒", "补血,养血", "血虚", "煎服"});
        window_->Cboycxw->setText("甘,温");
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(knowledgetest::storedRow(world_->environment(), "select * from zyyc where ycmc = '当归，酒'").mid(1, 5),
                 (QStringList{"  ", "甘，温", "补血，养血", "血虚", "煎服"}));
        QCOMPARE(itemsOf(window_->ListYcmc), (QStringList{"当归，酒", "川芎"}));
        QCOMPARE(itemsOf(window_->Cboycgj), (QStringList{"", "肝经"}));   // the stored blank of the edit
        for (const char* name : {"当归，酒", "川芎"}) {
            window_->Txtycmc->setText(QString::fromUtf8(name));
            WindowFixture::click(window_->Cmddele);
        }
        QCOMPARE(window_->Labycsl->Caption(), QString("0种"));
        QCOMPARE(window_->Cboycgj->ListCount() + window_->Cboycxw->ListCount(), 0);
    }

    // Each criterion alone; an empty one lets Null columns through; an apostrophe is a
    // criterion like any other; no criterion and no match.
    void searchFindsByEveryCriterionAndNullColumns()
    {
        TestEnvironment& env = world_->environment();
        env.insert("zyyc", {"人参", "脾、肺经", "甘，微温", "大补元气", "气虚欲脱", "煎服", "  ", "  ", "李"});
        env.insert("zyyc", {"党参", "脾、肺经", "甘，平", "补中益气", "脾肺气虚", "煎服", "  ", "常用", "李"});
        env.insert("zyyc", {"玄参"});
        env.insert("zyyc", {"当归'"});
        open();
        const std::tuple<reference::Input, const char*, QStringList> cases[] = {
            {window_->Txtycmc, "参", {"人参", "党参", "玄参"}}, {window_->Txtycyf, "煎", {"人参", "党参"}},
            {window_->Cboycgj, "肺", {"人参", "党参"}},         {window_->Cboycxw, "平", {"党参"}},
            {window_->Txtycgy, "元气", {"人参"}},               {window_->Txtycgb, "常", {"党参"}},
            {window_->Txtyczz, "脾", {"党参"}},                 {window_->Txtycmc, "归'", {"当归'"}}};
        for (const auto& [input, text, found] : cases) {
            WindowFixture::click(window_->CmdQcls);
            reference::setTextOf(input, QString::fromUtf8(text));
            WindowFixture::click(window_->CmdSeek);
            QCOMPARE(itemsOf(window_->ListYcmc), found);
            QCOMPARE(window_->Labycsl->Caption(), QString(" %1种").arg(found.size()));
        }
        QVERIFY(world_->messages().isEmpty());
        WindowFixture::click(window_->CmdQcls);
        window_->Txtycyj->setText("忌");   // cautions take no part
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
        window_->Txtycmc->setText("黄");   // no match: every herb stays listed, the criterion too
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), (QStringList{"输入查询条件。", "未找到相关药材。"}));
        QCOMPARE(itemsOf(window_->ListYcmc).size(), 4);
        QCOMPARE(window_->Labycsl->Caption() + window_->Txtycmc->Text(), QString("4种黄"));
    }

private:
    void open() { window_ = world_->open<Frmzyyc>("ZysjDl0"); }
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->Txtycmc, window_->Txtycgy, window_->Txtyczz, window_->Txtycyf}, texts);
    }

    std::unique_ptr<WindowFixture> world_;
    Frmzyyc* window_ = nullptr;
};

QTEST_MAIN(HerbEntryTest)
#include "herb_entry_test.moc"
