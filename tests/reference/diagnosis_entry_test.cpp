// The diagnosis entry window Frmzyzddl driven as the user drives it: the grid and its
// count (empty table, merged names, a Null row), the key of name and symptoms, the grid
// click and the Enter chain. The base it shares with the other entry windows has its
// own test.
#include "reference/diagnosis_entry.h"
#include "knowledge_test_support.h"

using knowledgetest::columnOf;
using reference::Frmzyzddl;

class DiagnosisEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    // One name's rows under one merged name cell; an imported row without a name shown
    // empty; the count ("0" alone for an empty table).
    void gridListsEveryRowByNameAndSymptoms_data()
    {
        QTest::addColumn<bool>("filled");
        QTest::newRow("empty table") << false;
        QTest::newRow("a name twice, a Null name") << true;
    }
    void gridListsEveryRowByNameAndSymptoms()
    {
        QFETCH(bool, filled);
        const TestEnvironment& env = world_->environment();
        if (filled) {
            env.insert("zybz", {"脾虚", "乏力，食少", "饮食不节", "健脾益气"});
            env.insert("zybz", {"肝郁", "胁痛", "情志不畅", "疏肝"});
            env.insert("zybz", {"脾虚", "便溏，腹胀", "久病", "健脾"});
            env.insert("zybz", {vb::Variant(), "头痛", vb::Variant(), "止痛"});
        }
        open();
        QCOMPARE(window_->Labsl->Caption(), QString(filled ? "系统已经登录  4" : "0"));
        QCOMPARE(columnOf(window_->MSFGridzyzd, 0), filled ? QStringList({"", "肝郁", "脾虚", "脾虚"}) : QStringList());
        if (!filled) return;
        QCOMPARE(columnOf(window_->MSFGridzyzd, 1), (QStringList{"头痛", "胁痛", "便溏，腹胀", "乏力，食少"}));
        QVERIFY(window_->MSFGridzyzd->isMergedWithAbove(4, 0) && !window_->MSFGridzyzd->isMergedWithAbove(3, 0));
    }
    // The symptoms are part of the key: found from a half-width typing, the row takes the
    // cause and treatment normalised (no entered-by); other symptoms are another syndrome.
    void symptomsArePartOfTheKey()
    {
        world_->environment().insert("zybz", {"湿热，下注", "带下，黄稠", "旧因", "旧治"});
        open();
        fill({"湿热,下注", "带下,黄稠", "新,因", "新治"});
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(knowledgetest::storedRow(world_->environment(), "select * from zybz"),
                 (QStringList{"湿热，下注", "带下，黄稠", "新，因", "新治", ""}));   // one row, no entered-by
        fill({"湿热,下注", "头痛", "因", "治"});
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(window_->Labsl->Caption(), QString("系统已经登录  2"));
    }
    void gridClickAndEnterChain()
    {
        world_->environment().insert("zybz", {"脾虚", "乏力", "饮食不节", "健脾\r\n益气"});
        open();
        fill({"x"});
        WindowFixture::clickGridRow(window_->MSFGridzyzd, 0);   // the header: nothing
        QCOMPARE(window_->TxtBzmc->Text(), QString("x"));
        WindowFixture::clickGridRow(window_->MSFGridzyzd, 1);
        QCOMPARE(window_->TxtZlcs->Text(), QString("健脾\r\n益气"));

        // Enter moves on from a filled box only; no box takes a blank; treatment takes lines.
        fill({});
        window_->TxtBzmc->SetFocus();
        for (forms::TextBox* box : {window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs}) {
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), box);
            WindowFixture::type(box, "a b");
            WindowFixture::pressEnter(box);
        }
        QCOMPARE(window_->TxtZlcs->Text(), QString("ab\r\n"));
    }

private:
    Frmzyzddl* open() { return window_ = world_->open<Frmzyzddl>("ZysjDl2"); }
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs}, texts);
    }

    std::unique_ptr<WindowFixture> world_;
    Frmzyzddl* window_ = nullptr;
};

QTEST_MAIN(DiagnosisEntryTest)
#include "diagnosis_entry_test.moc"
