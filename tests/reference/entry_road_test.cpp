// The road the five entry windows share, driven through each window as the user
// drives it: the input check in its order; save new, save of a stored key (on to
// 修改), edit, edit of a key not stored, delete declined, confirmed and of a key not
// stored; the list refilled; the entered-by column; keys with apostrophes and pattern
// characters stored and found literally; keys sought in their stored form and then as
// typed (or as typed only, where a window keeps its keys as typed). Each window's own
// rules are in its own test.
#include "knowledge_test_support.h"

#include "reference/diagnosis_entry.h"
#include "reference/formula_entry.h"
#include "reference/herb_entry.h"
#include "reference/patent_medicine_entry.h"
#include "reference/western_drug_entry.h"

#include <functional>

using namespace knowledgetest;
using namespace reference;

namespace {

// One window opened: the inputs its check requires, in the check's order, its buttons,
// where an edit of a key not stored sends the focus, and its list of keys.
struct Road {
    std::vector<Input> inputs;
    forms::CommandButton *save, *edit, *remove;
    forms::Control* editMiss;
    std::function<QStringList()> listed;
};

struct Kind {
    const char* name;
    const char* table;
    const char* keyColumn;
    QStringList valid;    // texts the check passes, the key first
    QStringList checks;   // the check's message for each input
    int textInput;        // the input the test changes, and its column
    int textColumn;
    int enteredBy;        // -1: the window leaves it unset
    const char* question; // %1: the key
    const char* notFound;
    bool normalisesKey;
    bool removeChecks;    // the delete checks the inputs after its question
    std::function<Road(WindowFixture&)> open;
};

const Kind Kinds[] = {
    {"herb", "zyyc", "ycmc", {"人参", "补气", "气虚", "煎服"}, {"输入药材名称", "输入药材功用", "输入药材主治", "输入药材用法"},
     1, 3, 8, "确实要删除 %1 药材吗？", "未找到要删除的药材。", true, false, [](WindowFixture& world) {
         auto* w = world.open<Frmzyyc>("ZysjDl0");
         return Road{{w->Txtycmc, w->Txtycgy, w->Txtyczz, w->Txtycyf}, w->CmdSave, w->Cmdedit, w->Cmddele, w->CmdSave,
                     [w] { return itemsOf(w->ListYcmc); }};
     }},
    {"formula", "zyfj", "fjmc", {"新方", "甘草", "和中", "腹痛", "水煎服", "自拟"},
     {"输入方剂名称", "输入方剂构成", "输入方剂功效", "输入方剂主治", "输入方剂用法", "输入方剂来源"}, 2, 2, 7,
     "确实要删除 %1 方剂吗？", "未找到要删除的方剂。", false, true, [](WindowFixture& world) {
         auto* w = world.open<Frmfjdl>("ZysjDl1");
         return Road{{w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf, w->Txtfjly}, w->CmdSave, w->Cmdedit,
                     w->Cmddele, w->CmdSave, [w] { return itemsOf(w->ListFjmc); }};
     }},
    {"diagnosis", "zybz", "bzmc", {"脾虚", "乏力", "饮食不节", "健脾"},
     {"输入病症名称", "输入病症症状", "输入病症成因", "输入病症的治疗措施"}, 2, 2, -1, "确实要删除 %1 的病症资料吗",
     "没有找到要删除的病症资料。", true, true, [](WindowFixture& world) {
         auto* w = world.open<Frmzyzddl>("ZysjDl2");
         return Road{{w->TxtBzmc, w->Txtbzzz, w->Txtbzcy, w->TxtZlcs}, w->CmdSave, w->Cmdedit, w->Cmddele, w->CmdSave,
                     [w] { return columnOf(w->MSFGridzyzd, 0); }};
     }},
    {"patent medicine", "fjcy", "cymc", {"逍遥丸", "柴胡", "疏肝", "肝郁", "口服"},
     {"输入成药名称", "输入成药构成", "输入成药功效", "输入成药主治", "输入成药用法"}, 2, 2, 6, "删除此条内容吗？",
     "没有找到要删除的成药。", false, true, [](WindowFixture& world) {
         auto* w = world.open<FrmZycy>("ZysjDl3");
         return Road{{w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf}, w->Cmdsave, w->Cmdedit, w->Cmddele,
                     w->Txtfjmc, [w] { return itemsOf(w->ListFjmc); }};
     }},
    {"western drug", "ylsy", "symc", {"阿司匹林", "解热镇痛", "口服", "出血者禁用", "解热镇痛药"},
     {"输入西药名称", "输入西药作用", "输入西药用法与剂量", "输入西药使用注意事项", "输入西药所属类别"}, 1, 1, 5,
     "删除此条内容吗？", "没有找到要删除的西药。", true, false, [](WindowFixture& world) {
         auto* w = world.open<FrmXydl>("ZysjDl4");
         return Road{{w->Txtycmc, w->Txtyczz, w->Txtycyf, w->Txtycyj, w->CboXylb}, w->Cmdsave, w->Cmdedit, w->Cmddele,
                     w->Cmdsave, [w] { return itemsOf(w->ListYcmc); }};
     }},
};

void fill(const Road& road, const QStringList& texts)
{
    for (std::size_t i = 0; i < road.inputs.size(); ++i) setTextOf(road.inputs[i], texts.value(int(i)));
}

}  // namespace

class EntryRoadTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        core::OwnerName = "张医生";
        core::LoginUser.clear();
    }
    void cleanup() { world_.reset(); }

    // With a box blank and every later one empty, each checking button names the box,
    // puts the focus there and writes nothing.
    void inputCheckStopsAtTheFirstEmptyBox_data() { kinds(); }
    void inputCheckStopsAtTheFirstEmptyBox()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        Road road = k.open(*world_);
        std::vector<forms::CommandButton*> buttons{road.save, road.edit};
        if (k.removeChecks) buttons.push_back(road.remove);
        for (int blank = 0; blank < k.checks.size(); ++blank) {
            for (forms::CommandButton* button : buttons) {
                fill(road, k.valid.mid(0, blank) << "  ");
                WindowFixture::click(button);
                QCOMPARE(world_->messages().last(), k.checks[blank]);
                QCOMPARE(WindowFixture::focusedControl(), controlOf(road.inputs[std::size_t(blank)]));
            }
        }
        QCOMPARE(world_->environment().count(k.table), 0);
    }

    void saveEditDelete_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("login");
        for (int k = 0; k < int(std::size(Kinds)); ++k) {
            QTest::addRow("%s, plain, logged in", Kinds[k].name) << k << "甲乙" << "王医生";
            QTest::addRow("%s, apostrophe and pattern marks", Kinds[k].name) << k << "O'Neil*[a]?#%" << "";
        }
    }

    // The entered-by column takes the login, or the owner when nobody logged in.
    void saveEditDelete()
    {
        QFETCH(int, kind);
        QFETCH(QString, key);
        QFETCH(QString, login);
        const Kind& k = Kinds[kind];
        core::LoginUser = login;
        Road road = k.open(*world_);
        const auto stored = [&](int column) {
            const QString sql = QString("select * from %1 where %2 = %3").arg(k.table, k.keyColumn, dao::quote(key));
            return storedRow(world_->environment(), sql).value(column);
        };
        const auto fillWith = [&](const QString& name, const QString& text) {
            QStringList texts = k.valid;
            texts[0] = name;
            texts[k.textInput] = text;
            fill(road, texts);
        };
        const QString enteredBy = login.isEmpty() ? core::OwnerName : login;

        fillWith(" " + key + " ", "旧");
        WindowFixture::click(road.save);
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(stored(k.textColumn), QString("旧"));
        if (k.enteredBy >= 0) QCOMPARE(stored(k.enteredBy), enteredBy);
        QCOMPARE(road.listed(), QStringList{key});
        QCOMPARE(WindowFixture::focusedControl(), controlOf(road.inputs[0]));

        fillWith(key, "新");
        WindowFixture::click(road.save);   // stored already: nothing written, on to 修改
        QCOMPARE(WindowFixture::focusedControl(), road.edit);
        QCOMPARE(stored(k.textColumn), QString("旧"));
        WindowFixture::click(road.edit);
        QCOMPARE(stored(k.textColumn), QString("新"));
        if (k.enteredBy >= 0) QCOMPARE(stored(k.enteredBy), enteredBy);
        fillWith(key + "x", "新");
        WindowFixture::click(road.edit);   // not stored: nothing written
        QCOMPARE(WindowFixture::focusedControl(), road.editMiss);
        QCOMPARE(world_->environment().count(k.table), 1);

        world_->answer({forms::vbYes, forms::vbOK, forms::vbNo, forms::vbYes});
        WindowFixture::click(road.remove);
        QCOMPARE(world_->messages().last(), QString(k.notFound));
        fillWith(key, "新");
        WindowFixture::click(road.remove);   // declined
        QCOMPARE(world_->messages().last(), QString(k.question).replace("%1", key));
        QCOMPARE(world_->environment().count(k.table), 1);
        WindowFixture::click(road.remove);
        QCOMPARE(world_->environment().count(k.table), 0);
        QVERIFY(road.listed().isEmpty());
        QCOMPARE(WindowFixture::focusedControl(), controlOf(road.inputs[0]));
        QCOMPARE(world_->messages().size(), 4);
    }

    // A row stored in the normalised form is found from the key typed half-width (the
    // second column of the diagnoses' key as the window fills it); an imported row
    // keeping its half-width key is found as typed. Never a second row.
    void keyIsSoughtStoredThenAsTyped_data() { kinds(); }
    void keyIsSoughtStoredThenAsTyped()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        const TestEnvironment& env = world_->environment();
        for (const QString& key : {QString("甲，乙"), QString("丙,丁")}) env.insert(k.table, {key, k.valid[1]});
        Road road = k.open(*world_);
        fill(road, QStringList{"甲,乙"} << k.valid.mid(1));
        WindowFixture::click(road.save);
        QCOMPARE(env.count(k.table), k.normalisesKey ? 2 : 3);   // kept as typed: a key of its own
        QStringList texts = QStringList{"丙,丁"} << k.valid.mid(1);
        texts[k.textInput] = "新";
        fill(road, texts);
        WindowFixture::click(road.save);
        QCOMPARE(WindowFixture::focusedControl(), road.edit);
        WindowFixture::click(road.edit);
        QCOMPARE(env.count(k.table), k.normalisesKey ? 2 : 3);
        const QString sql = QString("select * from %1 where %2 in ('丙,丁', '丙，丁')").arg(k.table, k.keyColumn);
        QCOMPARE(storedRow(env, sql).value(k.textColumn), QString("新"));
        QVERIFY(world_->messages().filter("错误").isEmpty());
    }

private:
    static void kinds()
    {
        QTest::addColumn<int>("kind");
        for (int k = 0; k < int(std::size(Kinds)); ++k) QTest::addRow("%s", Kinds[k].name) << k;
    }

    std::unique_ptr<WindowFixture> world_;
};

QTEST_MAIN(EntryRoadTest)
#include "entry_road_test.moc"
