// The patent-medicine entry window FrmZycy where it differs from the other entry
// windows (whose shared base has its own test): the texts stored normalised and the
// count, the look-ups by name and by list, the fuzzy query (apostrophes, wildcards,
// Null columns), the Enter chain, the herb look-up and the return from help.
#include "reference/patent_medicine_entry.h"
#include "knowledge_test_support.h"

using knowledgetest::itemsOf;
using reference::FrmZycy;

static void seed(const TestEnvironment& env)
{
    env.insert("fjcy", {"六味地黄丸", "熟地黄，山茱萸，山药，泽泻", "滋阴补肾", "肾阴亏损", "口服", "  ", "张"});
    env.insert("fjcy", {"逍遥丸", "柴胡，当归，白芍", "疏肝健脾", "肝郁脾虚", "口服", "  ", "张"});
    env.insert("fjcy", {"O'Neil*散", vb::Variant(), vb::Variant(), vb::Variant(), "服", "验方"});
}

class PatentMedicineEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void lookUpsEnterChainAndSave()
    {
        seed(world_->environment());
        open();
        QCOMPARE(itemsOf(window_->ListFjmc), (QStringList{"六味地黄丸", "逍遥丸", "O'Neil*散"}));   // stored order
        window_->Txtfjmc->SetFocus();
        WindowFixture::pressEnter(window_->Txtfjmc);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);   // an empty name: nothing
        fill({"O'Neil*散", "原样"});
        WindowFixture::pressEnter(window_->Txtfjmc);   // Nulls load as empty boxes
        QCOMPARE(window_->Txtfjnr->Text(), QString());
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
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

        // The name kept as typed, the texts normalised, the count.
        fill({"保和丸,大", "山楂,神曲", "消食.和胃", "食积;停滞", "口服"});
        WindowFixture::click(window_->Cmdsave);
        QCOMPARE(knowledgetest::storedRow(world_->environment(), "select * from fjcy where cymc = '保和丸,大'").mid(1, 5),
                 (QStringList{"山楂，神曲", "消食。和胃", "食积；停滞", "口服", "  "}));
        QCOMPARE(window_->LabFjsl->Caption(), QString("已经登录成药 4 条"));
    }
    // The fuzzy query over the six boxes, in name order: no match says so and leaves
    // the list and the count; Null columns match empty criteria; "*" is a wildcard.
    void queryListsContainedTexts()
    {
        seed(world_->environment());
        open();
        const std::pair<QStringList, QStringList> cases[] = {
            {{"不存在"}, {"六味地黄丸", "逍遥丸", "O'Neil*散"}},
            {{"丸"}, {"六味地黄丸", "逍遥丸"}},
            {{"", "当归", "疏肝"}, {"逍遥丸"}},
            {{"'", "", "", "", "", "验方"}, {"O'Neil*散"}},
            {{"六*丸"}, {"六味地黄丸"}}};
        for (const auto& [criteria, found] : cases) {
            fill(criteria);
            WindowFixture::click(window_->Cmdseek);
            QCOMPARE(itemsOf(window_->ListFjmc), found);
            QCOMPARE(window_->LabFjsl->Caption(), "已经登录成药 " + QString::number(found.size()) + " 条");
        }
        QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
    }
    void herbLookUpAndHelp()
    {
        knowledgetest::seedFormulas(world_->environment());
        forms::PopupMenus::TestHook popups;
        open();
        window_->Txtfjnr->setText("川芎、 当归 ");
        popups.choose(window_->herbs->FindYc);
        knowledgetest::markAndUse(window_->Txtfjnr, 3, 4, Qt::RightButton);
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->herbs->Txtycmc->Text(), QString("当归"));

        WindowFixture::click(window_->CmdHelp);   // back from help: boxes empty, panel hidden
        forms::Form::ReturnFromHelp(window_);
        QVERIFY(window_->Txtfjmc->Text().isEmpty() && !window_->herbs->Txtycmc->isVisibleTo(window_));
    }

private:
    FrmZycy* open() { return window_ = world_->open<FrmZycy>("ZysjDl3"); }
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy, window_->Txtfjzz,
                                  window_->Txtfjyf, window_->Txtlcxd},
                                 texts);
    }

    std::unique_ptr<WindowFixture> world_;
    FrmZycy* window_ = nullptr;
};

QTEST_MAIN(PatentMedicineEntryTest)
#include "patent_medicine_entry_test.moc"
