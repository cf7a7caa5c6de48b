// The diagnosis query window Frmzyzdll driven as the user drives it: the six criteria
// (substrings, all five terms in one text, apostrophes, wildcards, Null columns), the
// query without a match, the symptom dictionary narrowed by a picked name (its
// percentages, a name that matches nothing, a failure in the middle, a second press
// meanwhile), and the detail tab's save, change and delete on stored or typed keys.
#include "reference/diagnosis_query.h"
#include "support/window_fixture.h"

#include "core/progress_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

using reference::Frmzyzdll;

class DiagnosisQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { world_.reset(); }

    void criteriaNarrowTheGrid_data();
    void criteriaNarrowTheGrid();
    void queryWithoutMatchSaysSoAndResets();
    void pickedNameNarrowsTheSymptomTerms();
    void pickedNameWithoutMatchChangesNothing();
    void failedNarrowingKeepsTheTermsAndTheWindow();
    void secondPressDuringTheNarrowingIsIgnored();
    void gridClickOpensTheDetailButNotFromTheHeader();
    void detailSaveChangeAndDelete_data();
    void detailSaveChangeAndDelete();
    void emptyDetailBoxStopsWithoutMessage();

private:
    Frmzyzdll* open() { return window_ = world_->open<Frmzyzdll>("zycxll2"); }
    void pick(const QString& name);
    void clickRow(int row) { WindowFixture::clickGridRow(window_->MSFGridzyzd, row); }
    QStringList column(int col) const;
    QStringList terms() const;

    std::unique_ptr<WindowFixture> world_;
    Frmzyzdll* window_ = nullptr;
};

void DiagnosisQueryTest::init()
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

void DiagnosisQueryTest::pick(const QString& name)
{
    window_->Dbobzmc->setText(name);
    window_->Dbobzmc->Click();
}


QStringList DiagnosisQueryTest::column(int col) const
{
    QStringList texts;
    for (int row = 1; row < window_->MSFGridzyzd->Rows(); ++row) texts << window_->MSFGridzyzd->TextMatrix(row, col);
    return texts;
}

static QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

QStringList DiagnosisQueryTest::terms() const
{
    QStringList texts;
    for (int i = 0; i < window_->Dbobzzz(0)->ListCount(); ++i) texts << window_->Dbobzzz(0)->List(i);
    texts.sort();
    return texts;
}

// ---- the query ----------------------------------------------------------------------

void DiagnosisQueryTest::criteriaNarrowTheGrid_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("symptoms");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("all empty lists every row, Null included")
        << "" << QStringList{} << QStringList{"", "O'Neil*证", "肝郁气滞", "脾胃虚弱", "脾阳虚"};
    QTest::newRow("name inside") << "脾" << QStringList{} << QStringList{"脾胃虚弱", "脾阳虚"};
    QTest::newRow("two terms in one text") << "" << QStringList{"便溏", "乏力"} << QStringList{"脾胃虚弱"};
    QTest::newRow("terms of two texts") << "" << QStringList{"胁痛", "乏力"} << QStringList{};
    QTest::newRow("five terms, last matters") << "脾" << QStringList{"便溏", "", "", "", "畏寒"}
                                              << QStringList{"脾阳虚"};
    QTest::newRow("apostrophe and star") << "O'Neil*" << QStringList{"a*b"} << QStringList{"O'Neil*证"};
    QTest::newRow("star as a wildcard") << "O*证" << QStringList{} << QStringList{"O'Neil*证"};
    QTest::newRow("question mark as a wildcard") << "脾?虚" << QStringList{} << QStringList{"脾胃虚弱", "脾阳虚"};
}

void DiagnosisQueryTest::criteriaNarrowTheGrid()
{
    QFETCH(QString, name);
    QFETCH(QStringList, symptoms);
    QFETCH(QStringList, found);
    world_->environment().insert("zybz", {vb::Variant(), vb::Variant(), "x", "y"});
    open();
    window_->Dbobzmc->setText(name);
    for (int i = 0; i < symptoms.size(); ++i) window_->Dbobzzz(i)->setText(symptoms[i]);
    WindowFixture::click(window_->CmdSeek);
    if (found.isEmpty()) {
        QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
        return;
    }
    QVERIFY(world_->messages().isEmpty());
    QStringList names = column(0);
    names.removeDuplicates();
    QCOMPARE(names, found);
}

void DiagnosisQueryTest::queryWithoutMatchSaysSoAndResets()
{
    open();
    window_->Dbobzmc->setText("不存在");
    window_->Dbobzzz(2)->setText("乏力");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
    QVERIFY(window_->Dbobzmc->Text().isEmpty());
    QVERIFY(window_->Dbobzzz(2)->Text().isEmpty());
    QCOMPARE(window_->MSFGridzyzd->Rows(), 5);
    QCOMPARE(window_->SSTab1->Tab(), 0);
}

// ---- the narrowed dictionary ---------------------------------------------------------

void DiagnosisQueryTest::pickedNameNarrowsTheSymptomTerms()
{
    world_->environment().insert("zybz", {"脾肾两虚", vb::Variant(), "x", "y"});   // adds nothing
    open();
    QCOMPARE(window_->Dbobzmc->ListCount(), 5);
    pick("脾");
    QCOMPARE(terms(), sorted({"乏力", "便溏", "腹痛", "食少", "畏寒"}));
    for (forms::DBCombo* combo : window_->Dbobzzz) QCOMPARE(combo->ListCount(), 5);
    QCOMPARE(column(0), (QStringList{"脾肾两虚", "脾胃虚弱", "脾阳虚"}));
    QVERIFY(world_->messages().isEmpty());
    for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<core::Frmjdys*>(widget));

    // The clear button keeps the narrowed terms and lists every row again.
    WindowFixture::click(window_->CmdQcls);
    QCOMPARE(terms().size(), 5);
    QCOMPARE(window_->MSFGridzyzd->Rows(), 6);
    QCOMPARE(WindowFixture::focusedControl(), window_->Dbobzmc);
}

void DiagnosisQueryTest::pickedNameWithoutMatchChangesNothing()
{
    open();
    for (const QString& name : {QString("肾"), QString("'x"), QString("*x")}) {
        pick(name);
        QCOMPARE(world_->environment().count("bzzz"), 9);
        QCOMPARE(window_->MSFGridzyzd->Rows(), 5);
    }
    QVERIFY(world_->messages().isEmpty());
}

void DiagnosisQueryTest::failedNarrowingKeepsTheTermsAndTheWindow()
{
    {
        dao::Database db = world_->environment().open();
        db.executeSchema("create trigger refuse before insert on bzzz when new.bzzz = '畏寒' "
                         "begin select raise(abort, '磁盘已满'); end");
    }
    open();
    pick("脾");
    QCOMPARE(world_->messages().size(), 1);
    QVERIFY(world_->messages().at(0).contains("磁盘已满"));
    QCOMPARE(world_->environment().count("bzzz"), 9);
    for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<core::Frmjdys*>(widget));
    // The window still answers.
    world_->clearMessages();
    pick("肝");
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(terms(), sorted({"嗳气", "胁痛"}));
}

void DiagnosisQueryTest::secondPressDuringTheNarrowingIsIgnored()
{
    open();
    window_->Dbobzzz(0)->setText("不存在");
    QTimer::singleShot(0, window_, [this] { WindowFixture::click(window_->CmdSeek); });
    pick("肝");
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(terms(), sorted({"嗳气", "胁痛"}));
    WindowFixture::click(window_->CmdSeek);    // now it runs
    QCOMPARE(world_->messages(), QStringList{"没有符合查询条件的内容"});
}

// ---- the detail tab -----------------------------------------------------------------

void DiagnosisQueryTest::gridClickOpensTheDetailButNotFromTheHeader()
{
    open();
    clickRow(0);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QVERIFY(!window_->CmdSave->isVisible());
    clickRow(3);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(window_->TxtBzmc->Text(), QString("脾胃虚弱"));
    QCOMPARE(window_->Txtbzzz->Text(), QString("乏力，食少，便溏。"));
    QVERIFY(window_->CmdSave->isVisible());
    WindowFixture::click(window_->CmdBack);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QVERIFY(!window_->CmdSave->isVisible());
    QCOMPARE(WindowFixture::focusedControl(), window_->Dbobzmc);
}

void DiagnosisQueryTest::detailSaveChangeAndDelete_data()
{
    QTest::addColumn<QString>("typedName");   // the name box as the user leaves it
    QTest::addColumn<QString>("typedSymptoms");
    QTest::newRow("as loaded") << "肝郁气滞" << "胁痛，嗳气。";
    QTest::newRow("typed half-width") << "肝郁气滞" << "胁痛,嗳气.";
    QTest::newRow("apostrophe and star") << "O'Neil*证" << "a*b，头痛。";
}

void DiagnosisQueryTest::detailSaveChangeAndDelete()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedSymptoms);
    open();
    const int row = column(0).indexOf(typedName) + 1;
    clickRow(row);
    window_->TxtBzmc->setText(typedName);
    window_->Txtbzzz->setText(typedSymptoms);

    // Unchanged key: the save finds the row and writes nothing.
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->environment().count("zybz"), 4);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);

    // The change rewrites cause and treatment only, then the query runs again.
    window_->Txtbzcy->setText("新的,成因");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    {
        dao::Database db = world_->environment().open();
        QCOMPARE(db.openRecordset("select * from zybz where bzcy = '新的，成因' and bzmc = " + dao::quote(typedName))
                     .recordCount(),
                 1);
    }

    // An edited symptom text is a new row; the change then misses it.
    clickRow(column(0).indexOf(typedName) + 1);
    window_->Txtbzzz->setText("另一种症状");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->environment().count("zybz"), 5);

    // Delete removes at once, without a question; the query runs again.
    clickRow(column(0).indexOf(typedName) + 1);
    window_->TxtBzmc->setText(typedName);
    window_->Txtbzzz->setText(typedSymptoms);
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zybz"), 4);
    QVERIFY(world_->messages().isEmpty());
}

void DiagnosisQueryTest::emptyDetailBoxStopsWithoutMessage()
{
    open();
    clickRow(1);
    forms::TextBox* boxes[] = {window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs};
    for (forms::TextBox* emptied : boxes) {
        for (forms::CommandButton* button : {window_->CmdSave, window_->Cmdedit, window_->Cmddele}) {
            clickRow(1);
            emptied->setText("  ");
            WindowFixture::click(button);
            QCOMPARE(WindowFixture::focusedControl(), emptied);
        }
    }
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(world_->environment().count("zybz"), 4);
}

QTEST_MAIN(DiagnosisQueryTest)
#include "diagnosis_query_test.moc"
