// The diagnosis query window Frmzyzdll driven as the user drives it: the six criteria
// (substrings, all five terms in one text, apostrophes, wildcards, Null columns), the
// query without a match, the symptom dictionary narrowed by a picked name (a name that
// matches nothing, a second press meanwhile), and the detail tab's save, change and
// delete on stored or typed keys, the key sought as opened first, then as stored.
#include "reference/diagnosis_query.h"
#include "knowledge_test_support.h"
#include "support/window_fixture.h"

#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/tabbeddialog.h"

#include <QTimer>
#include <QtTest>

using knowledgetest::columnOf;
using reference::Frmzyzdll;

class DiagnosisQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        const TestEnvironment& env = world_->environment();
        env.insert("zybz", {"脾胃虚弱", "乏力，食少，便溏。", "饮食不节", "健脾益气"});
        env.insert("zybz", {"脾阳虚", "腹痛，便溏，畏寒。", "久病", "温中健脾"});
        env.insert("zybz", {"肝郁气滞", "胁痛，嗳气。", "情志不畅", "疏肝理气"});
        env.insert("zybz", {"O'Neil*证", "a*b，头痛。", "x", "y"});
        for (const char* term : {"乏力", "食少", "便溏", "腹痛", "畏寒", "胁痛", "嗳气", "a*b", "头痛"})
            env.insert("bzzz", {QString::fromUtf8(term)});
    }
    void cleanup() { world_.reset(); }

    void criteriaNarrowTheGrid_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("symptoms");
        QTest::addColumn<QStringList>("found");   // empty: the message and the reset
        QTest::newRow("all empty: every row, Null included")
            << "" << QStringList{} << QStringList{"", "O'Neil*证", "肝郁气滞", "脾胃虚弱", "脾阳虚"};
        QTest::newRow("two terms in one text") << "" << QStringList{"便溏", "乏力"} << QStringList{"脾胃虚弱"};
        QTest::newRow("terms of two texts") << "" << QStringList{"胁痛", "乏力"} << QStringList{};
        QTest::newRow("the third term") << "" << QStringList{"", "", "嗳气"} << QStringList{"肝郁气滞"};
        QTest::newRow("name and the fifth term") << "脾" << QStringList{"便溏", "", "", "", "畏寒"} << QStringList{"脾阳虚"};
        QTest::newRow("apostrophe and star") << "O'Neil*" << QStringList{"a*b"} << QStringList{"O'Neil*证"};
        QTest::newRow("question mark a wildcard") << "脾?虚" << QStringList{} << QStringList{"脾胃虚弱", "脾阳虚"};
    }
    void criteriaNarrowTheGrid()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, symptoms);
        QFETCH(QStringList, found);
        world_->environment().insert("zybz", {vb::Variant(), vb::Variant(), "x", "y"});
        open();
        window_->Dbobzmc->setText(name);
        for (int i = 0; i < symptoms.size(); ++i) window_->Dbobzzz(i)->setText(symptoms[i]);
        WindowFixture::click(window_->CmdSeek);
        QStringList names = columnOf(window_->MSFGridzyzd, 0);
        if (found.isEmpty()) {
            QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
            QVERIFY(window_->Dbobzmc->Text().isEmpty() && window_->Dbobzzz(1)->Text().isEmpty());
            QCOMPARE(names.size(), 5);
            return;
        }
        names.removeDuplicates();
        QCOMPARE(names, found);
        QCOMPARE(world_->messages(), QStringList());   // a Null name first is a match too
    }
    // Rows of one syndrome show its name once, in the full list and in a result.
    void oneNameShownOnceForItsRows()
    {
        world_->environment().insert("zybz", {"脾阳虚", "腹胀，便溏。", "x", "y"});
        open();
        for (int run = 0; run < 2; ++run) {
            const forms::FlexGrid* grid = window_->MSFGridzyzd;
            int merged = 0;
            for (int row = 2; row < grid->Rows(); ++row) {
                const bool sameName = grid->TextMatrix(row, 0) == grid->TextMatrix(row - 1, 0);
                QCOMPARE(grid->isMergedWithAbove(row, 0), sameName);
                merged += sameName;
            }
            QCOMPARE(merged, 1);
            window_->Dbobzmc->setText("脾");
            WindowFixture::click(window_->CmdSeek);
        }
    }
    void pickedNameNarrowsTheSymptomTerms()
    {
        world_->environment().insert("zybz", {"脾肾两虚", vb::Variant(), "x", "y"});   // adds nothing
        open();
        for (const QString& name : {QString("肾阴"), QString("'x"), QString("*x")}) {   // no match: nothing changes
            pick(name);
            QCOMPARE(terms().size(), 9);
            QCOMPARE(window_->MSFGridzyzd->Rows(), 6);
        }
        // The progress window never takes the activation: the focus stays in the box.
        window_->Dbobzmc->SetFocus();
        int activations = 0;
        const auto watch = connect(qApp, &QGuiApplication::focusWindowChanged, this, [&activations] { ++activations; });
        pick("脾");
        disconnect(watch);
        QCOMPARE(activations, 0);
        QCOMPARE(WindowFixture::focusedControl(), window_->Dbobzmc);
        QStringList expected = {"乏力", "便溏", "腹痛", "食少", "畏寒"};
        expected.sort();
        QCOMPARE(terms(), expected);
        QCOMPARE(columnOf(window_->MSFGridzyzd, 0), (QStringList{"脾肾两虚", "脾胃虚弱", "脾阳虚"}));
        QVERIFY(world_->messages().isEmpty() && knowledgetest::progressWindowGone());
        WindowFixture::click(window_->CmdQcls);   // the terms stay narrowed, every row comes back
        QCOMPARE(terms().size(), 5);
        QCOMPARE(window_->MSFGridzyzd->Rows(), 6);
        QCOMPARE(WindowFixture::focusedControl(), window_->Dbobzmc);
    }
    void secondPressDuringTheNarrowingIsIgnored()
    {
        open();
        window_->Dbobzzz(0)->setText("不存在");
        QTimer::singleShot(0, window_, [this] { WindowFixture::click(window_->CmdSeek); });
        pick("肝");
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(terms().size(), 2);
        WindowFixture::click(window_->CmdSeek);   // now it runs
        QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
    }
    // Enter moves on from a detail box holding more than blanks: name to symptoms to
    // cause, which keeps the focus (the chain skips it); treatment to 保存.
    void enterWalksTheDetailBoxes()
    {
        open();
        WindowFixture::clickGridRow(window_->MSFGridzyzd, 1);
        const Frmzyzdll& w = *window_;
        const std::pair<forms::TextBox*, forms::Control*> steps[] = {
            {w.TxtBzmc, w.Txtbzzz}, {w.Txtbzzz, w.Txtbzcy}, {w.Txtbzcy, w.Txtbzcy}, {w.TxtZlcs, w.CmdSave}};
        for (const auto& [from, to] : steps) {
            from->SetFocus();
            WindowFixture::pressEnter(from);
            QCOMPARE(WindowFixture::focusedControl(), to);
            from->setText("  ");
            from->SetFocus();
            WindowFixture::pressEnter(from);
            QCOMPARE(WindowFixture::focusedControl(), from);
        }
    }
    void detailSaveChangeAndDelete_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typedSymptoms");   // the symptom box as the user leaves it
        QTest::newRow("typed half-width") << "肝郁气滞" << "胁痛,嗳气.";
        QTest::newRow("apostrophe and star") << "O'Neil*证" << "a*b，头痛。";
    }
    void detailSaveChangeAndDelete()
    {
        QFETCH(QString, name);
        QFETCH(QString, typedSymptoms);
        open();
        const auto openRow = [&] {
            WindowFixture::clickGridRow(window_->MSFGridzyzd, columnOf(window_->MSFGridzyzd, 0).indexOf(name) + 1);
            window_->Txtbzzz->setText(typedSymptoms);
        };
        WindowFixture::clickGridRow(window_->MSFGridzyzd, 0);   // the header: nothing
        QCOMPARE(window_->SSTab1->Tab(), 0);
        openRow();
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->TxtBzmc->Text(), name);
        window_->TxtZlcs->setText("  ");            // an empty box: no message, the focus there
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(WindowFixture::focusedControl(), window_->TxtZlcs);
        QCOMPARE(window_->srnrcw, 1);
        window_->Dbobzmc->setText(name);
        WindowFixture::click(window_->CmdBack);     // back: the query again, the focus on the name
        QCOMPARE(window_->SSTab1->Tab(), 0);
        QVERIFY(window_->TxtBzmc->Text().isEmpty() && !window_->TxtBzmc->isVisibleTo(window_));
        QCOMPARE(columnOf(window_->MSFGridzyzd, 0), QStringList{name});
        QCOMPARE(WindowFixture::focusedControl(), window_->Dbobzmc);
        openRow();
        WindowFixture::click(window_->CmdSave);     // the key is stored: nothing written
        QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
        window_->Txtbzcy->setText("新的,成因");
        WindowFixture::click(window_->Cmdedit);     // rewritten, and the query runs again
        QCOMPARE(window_->SSTab1->Tab(), 0);
        window_->SSTab1->setTab(1);                 // the detail tab emptied and hidden
        QVERIFY(window_->TxtBzmc->Text().isEmpty() && !window_->TxtBzmc->isVisible());
        QCOMPARE(world_->environment().open()
                     .openRecordset("select * from zybz where bzcy = '新的，成因' and bzmc = " + dao::quote(name))
                     .recordCount(),
                 1);
        openRow();
        window_->Txtbzzz->setText("另一种症状");   // another key: the change misses, save adds
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(world_->environment().count("zybz"), 5);
        openRow();
        WindowFixture::click(window_->Cmddele);     // at once, without a question
        QCOMPARE(world_->environment().count("zybz"), 4);
        QVERIFY(world_->messages().isEmpty());
    }

    // With both `重,复` (kept as imported) and `重，复` stored for one symptom text, the
    // row opened as `重,复` is the one changed and deleted, the other left alone; with it
    // gone, the name typed half-width finds `重，复`, the form the window stores.
    void keyIsSoughtAsOpenedThenStored()
    {
        const TestEnvironment& env = world_->environment();
        for (const char* name : {"重，复", "重,复"}) env.insert("zybz", {QString::fromUtf8(name), "乏力", "旧", "旧"});
        open();
        const auto cause = [&](const char* name) {
            const QString sql = QString("select * from zybz where bzmc = '%1'").arg(QString::fromUtf8(name));
            return knowledgetest::storedRow(env, sql).value(2, "-");
        };
        const auto openRow = [&](const char* name) {
            const int row = columnOf(window_->MSFGridzyzd, 0).indexOf(QString::fromUtf8(name)) + 1;
            QVERIFY(row > 0);
            WindowFixture::clickGridRow(window_->MSFGridzyzd, row);
        };
        openRow("重,复");
        window_->Txtbzcy->setText("新");
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(cause("重,复") + cause("重，复"), QString("新旧"));
        openRow("重,复");
        WindowFixture::click(window_->Cmddele);
        QCOMPARE(cause("重,复") + cause("重，复"), QString("-旧"));
        openRow("重，复");
        window_->TxtBzmc->setText("重,复");
        window_->Txtbzcy->setText("再");
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(cause("重，复"), QString("再"));
        openRow("重，复");
        window_->TxtBzmc->setText("重,复");
        WindowFixture::click(window_->CmdSave);     // stored in its normalised form: on to 修改
        QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
        QCOMPARE(env.count("zybz"), 5);
        QVERIFY(world_->messages().isEmpty());
    }

private:
    Frmzyzdll* open() { return window_ = world_->open<Frmzyzdll>("zycxll2"); }
    void pick(const QString& name)
    {
        window_->Dbobzmc->setText(name);
        window_->Dbobzmc->Click();
    }
    QStringList terms() const
    {
        QStringList texts = knowledgetest::itemsOf(window_->Dbobzzz(4));
        texts.sort();
        return texts;
    }

    std::unique_ptr<WindowFixture> world_;
    Frmzyzdll* window_ = nullptr;
};

QTEST_MAIN(DiagnosisQueryTest)
#include "diagnosis_query_test.moc"
