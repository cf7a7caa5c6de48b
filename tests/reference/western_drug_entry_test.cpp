// The western-drug window FrmXydl where it differs from the other entry windows (whose
// shared base has its own test): the lists and count of the reset (empty table, Null
// rows, after the last delete), the look-ups and the edit, the category list by Enter and
// the fuzzy query (apostrophes, wildcards, Null columns).
#include "reference/western_drug_entry.h"
#include "knowledge_test_support.h"

using knowledgetest::itemsOf;
using reference::FrmXydl;

static void seedThree(const TestEnvironment& env)
{
    env.insert("ylsy", {"阿莫西林", "抗感染", "口服", "过敏者禁用", "  ", "张", "抗生素"});
    env.insert("ylsy", {"布洛芬", "解热镇痛", "口服", "胃溃疡慎用", "  ", "张", "解热镇痛药"});
    env.insert("ylsy", {"头孢氨苄", "抗感染", "口服", "过敏者禁用", vb::Variant(), "张", "抗生素"});
}

class WesternDrugEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    // Imported rows without name or category show as one empty entry; the others stay;
    // the count is of every row.
    void resetFillsListsAndCount()
    {
        seedThree(world_->environment());
        for (const char* effects : {"x", "y"}) world_->environment().insert("ylsy", {vb::Variant(), effects});
        open();
        QCOMPARE(itemsOf(window_->CboXylb), (QStringList{"", "解热镇痛药", "抗生素"}));
        QCOMPARE(itemsOf(window_->ListYcmc), (QStringList{"", "阿莫西林", "布洛芬", "头孢氨苄"}));
        QCOMPARE(window_->LabJL->Caption(), QString("已经登录西药 5 种"));
    }
    // A drug loaded by Enter (from the list: the road the other entry windows' tests
    // walk); its edit rewrites all but the name, normalised; after the last delete
    // both lists and the count are empty.
    void loadEditAndTheLastDelete()
    {
        world_->environment().insert("ylsy", {"复方,甘草", "旧作用", "旧用法", "旧注意", "  ", "张", "旧类"});
        open();
        window_->Txtycmc->setText("复方,甘草");
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(window_->CboXylb->Text(), QString("旧类"));
        QCOMPARE(WindowFixture::focusedControl(), window_->CboXylb);
        fill({"复方,甘草", "新,类", "新作用", "新用法", "新注意"});
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(knowledgetest::storedRow(world_->environment(), "select * from ylsy where symc = '复方,甘草'"),
                 (QStringList{"复方,甘草", "新作用", "新用法", "新注意", "  ", core::OwnerName, "新，类"}));
        window_->Txtycmc->setText("复方,甘草");
        WindowFixture::click(window_->Cmddele);
        QVERIFY(itemsOf(window_->ListYcmc).isEmpty() && itemsOf(window_->CboXylb).isEmpty());
        QCOMPARE(window_->LabJL->Caption(), QString("已经登录西药 0  种"));
    }
    // The category list by Enter in its box (a category not stored changes nothing)
    // and the fuzzy query (no match said, the list left), apostrophes and "*" in both.
    void categoryAndQueryListMatches()
    {
        seedThree(world_->environment());
        world_->environment().insert("ylsy", {"O'Neil*", "抗病毒", "口服", "慎用", "  ", "张", "抗生素's"});
        open();
        const QStringList all = itemsOf(window_->ListYcmc);
        const struct { bool byCategory; QString name, category; QStringList found; const char* message; } cases[] = {
            {true, "", "抗", all, nullptr},
            {false, "青霉素", "", all, "未找到相关药材。"},
            {true, "", "抗生素", {"阿莫西林", "头孢氨苄"}},
            {true, "", "抗生素's", {"O'Neil*"}},
            {false, "", "解热", {"布洛芬"}},    // part of a category
            {false, "孢", "", {"头孢氨苄"}},    // Null notes found
            {false, "'N", "", {"O'Neil*"}},
            {false, "阿*林", "", {"阿莫西林"}}};
        for (const auto& c : cases) {
            world_->clearMessages();
            window_->Txtycmc->setText(c.name);
            window_->CboXylb->setText(c.category);
            if (c.byCategory) WindowFixture::pressEnter(window_->CboXylb);
            else WindowFixture::click(window_->Cmdseek);
            if (c.byCategory) QCOMPARE(WindowFixture::focusedControl(), window_->Txtyczz);
            QCOMPARE(world_->messages(), c.message ? QStringList{c.message} : QStringList{});
            QCOMPARE(itemsOf(window_->ListYcmc), c.found);
            if (c.found != all) QCOMPARE(window_->LabJL->Caption(), QString("符合查询条件的药材有 %1 种").arg(c.found.size()));
        }
    }
private:
    FrmXydl* open() { return window_ = world_->open<FrmXydl>("ZysjDl4"); }
    // Name, category, effects, usage, cautions, notes.
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->Txtycmc, window_->Txtyczz, window_->Txtycyf, window_->Txtycyj, window_->Txtycgb},
                                 {texts.value(0), texts.value(2), texts.value(3), texts.value(4), texts.value(5)});
        window_->CboXylb->setText(texts.value(1));
    }

    std::unique_ptr<WindowFixture> world_;
    FrmXydl* window_ = nullptr;
};

QTEST_MAIN(WesternDrugEntryTest)
#include "western_drug_entry_test.moc"
