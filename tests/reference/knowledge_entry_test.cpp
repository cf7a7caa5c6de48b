// What the five entry windows share, driven through each window as the user drives it:
// the input check in its order; save new, save of a stored key (on to 修改), edit,
// edit of a key not stored, delete declined, confirmed and of a key not stored; the
// list refilled; the entered-by column; keys with apostrophes and pattern characters
// stored and found literally; keys sought as typed first, then in their stored form;
// the delete's error in the window's form; the text for the word processor and its
// refusal; captions, fonts, limits and help codes. Each window's own rules are in its
// own test.
#include "knowledge_test_support.h"

#include "reference/diagnosis_entry.h"
#include "reference/formula_entry.h"
#include "reference/herb_entry.h"
#include "reference/patent_medicine_entry.h"
#include "reference/western_drug_entry.h"
#include "core/globals.h"

#include <functional>

using namespace knowledgetest;
using namespace reference;

namespace {

// One window opened: the inputs its check requires, in the check's order, its buttons,
// where an edit of a key not stored sends the focus, its list of keys, the boxes its
// print reads (in the order of the kind's print texts) and its print and clear buttons.
struct Road {
    std::vector<Input> inputs;
    forms::CommandButton *save, *edit, *remove;
    forms::Control* editMiss;
    std::function<QStringList()> listed;
    std::vector<Input> printed;
    forms::CommandButton *print, *clear, *help;
    forms::Form* window;
    std::vector<std::pair<forms::TextBox*, int>> limits;   // a box and its MaxLength
    std::vector<std::pair<Input, const char*>> searched;   // a search box and its column
    forms::CommandButton* seek = nullptr;
};

enum class ErrorForm { Description, Line, Block };

// The word processor's text of one window: the printed boxes' texts, which one left
// blank refuses, the text handed over, and whether the print button pauses.
struct Print {
    QStringList texts;
    int refusedWhenBlank;
    const char* text;
    bool pauses;
    bool titled;   // the refusal under the program's title
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
    bool editRenamesKey;  // the edit rewrites the key column normalised
    ErrorForm deleteError;
    const char* caption;
    const char* help;
    Print print;
    std::function<Road(WindowFixture&)> open;
};

const Kind Kinds[] = {
    {"herb", "zyyc", "ycmc", {"人参", "补气", "气虚", "煎服"}, {"输入药材名称", "输入药材功用", "输入药材主治", "输入药材用法"},
     1, 3, 8, "确实要删除 %1 药材吗？", "未找到要删除的药材。", true, false, true, ErrorForm::Description, "", "YC",
     {{"人参", "", "", "大补元气", "气虚欲脱", "煎服", " 实证忌用 ", "另煎\r\n兑服"}, 6,
      "药材名称：人参\r\n药材性味：\r\n药材归经：\r\n药材功效：大补元气\r\n药材主治：气虚欲脱\r\n"
      "使用方法：煎服\r\n药材宜忌：实证忌用\r\n应用心得：另煎\r\n兑服\r\n\r\n打印时间：2024-03-15", false, true},
     [](WindowFixture& world) {
         auto* w = world.open<Frmzyyc>("ZysjDl0");
         return Road{{w->Txtycmc, w->Txtycgy, w->Txtyczz, w->Txtycyf}, w->CmdSave, w->Cmdedit, w->Cmddele, w->CmdSave,
                     [w] { return itemsOf(w->ListYcmc); },
                     {w->Txtycmc, w->Cboycxw, w->Cboycgj, w->Txtycgy, w->Txtyczz, w->Txtycyf, w->Txtycyj, w->Txtycgb},
                     w->Cmdprnt, w->CmdQcls, w->CmdHelp, w, {{w->Txtycmc, 0}},
                     {{w->Txtycmc, "ycmc"}, {w->Txtycyf, "ycyf"}, {w->Cboycgj, "ycgj"}, {w->Cboycxw, "ycxw"},
                      {w->Txtycgy, "ycgy"}, {w->Txtycgb, "ycxd"}, {w->Txtyczz, "yczz"}},
                     w->CmdSeek};
     }},
    {"formula", "zyfj", "fjmc", {"新方", "甘草", "和中", "腹痛", "水煎服", "自拟"},
     {"输入方剂名称", "输入方剂构成", "输入方剂功效", "输入方剂主治", "输入方剂用法", "输入方剂来源"}, 2, 2, 7,
     "确实要删除 %1 方剂吗？", "未找到要删除的方剂。", false, true, false, ErrorForm::Line, "方剂登录", "FJ",
     {{" 四物汤", "当归、川芎", "补血", "血虚", "水煎服", "和剂局方 ", ""}, 5,
      "方剂名称：四物汤\r\n方剂来源：和剂局方\r\n方剂内容：当归、川芎\r\n方剂功效：补血\r\n方剂主治：血虚\r\n"
      "使用方法：水煎服\r\n应用心得：\r\n打印时间：2024-03-15", true, false},
     [](WindowFixture& world) {
         auto* w = world.open<Frmfjdl>("ZysjDl1");
         return Road{{w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf, w->Txtfjly}, w->CmdSave, w->Cmdedit,
                     w->Cmddele, w->CmdSave, [w] { return itemsOf(w->ListFjmc); },
                     {w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf, w->Txtfjly, w->Txtlcxd}, w->Cmdprnt,
                     w->CmdQcls, w->CmdHelp, w, {{w->Txtfjmc, 100}, {w->Txtfjly, 100}},
                     {{w->Txtfjmc, "fjmc"}, {w->Txtfjnr, "fjgc"}, {w->Txtfjgy, "fjgy"}, {w->Txtfjzz, "fjzz"},
                      {w->Txtfjly, "fjly"}, {w->Txtlcxd, "fjxd"}, {w->Txtfjyf, "fjyf"}},
                     w->CmdSeek};
     }},
    {"diagnosis", "zybz", "bzmc", {"脾虚", "乏力", "饮食不节", "健脾"},
     {"输入病症名称", "输入病症症状", "输入病症成因", "输入病症的治疗措施"}, 2, 2, -1, "确实要删除 %1 的病症资料吗",
     "没有找到要删除的病症资料。", true, true, false, ErrorForm::Description, "", "ZD",
     {{"脾虚 ", "乏力", "饮食不节", "健脾"}, 2,
      "病症名称：脾虚\r\n病症症状：乏力\r\n病症成因：饮食不节\r\n治疗措施：健脾\r\n打印时间：2024-03-15", false, true},
     [](WindowFixture& world) {
         auto* w = world.open<Frmzyzddl>("ZysjDl2");
         return Road{{w->TxtBzmc, w->Txtbzzz, w->Txtbzcy, w->TxtZlcs}, w->CmdSave, w->Cmdedit, w->Cmddele, w->CmdSave,
                     [w] { return columnOf(w->MSFGridzyzd, 0); }, {w->TxtBzmc, w->Txtbzzz, w->Txtbzcy, w->TxtZlcs},
                     w->Cmdprnt, w->CmdQcls, w->CmdHelp, w,
                     {{w->TxtBzmc, 200}, {w->Txtbzzz, 248}, {w->Txtbzcy, 248}, {w->TxtZlcs, 248}}};
     }},
    {"patent medicine", "fjcy", "cymc", {"逍遥丸", "柴胡", "疏肝", "肝郁", "口服"},
     {"输入成药名称", "输入成药构成", "输入成药功效", "输入成药主治", "输入成药用法"}, 2, 2, 6, "删除此条内容吗？",
     "没有找到要删除的成药。", false, true, false, ErrorForm::Block, "中医成药编辑", "CY",
     {{"逍遥丸", "柴胡", "疏肝", "肝郁", "口服", ""}, 4,
      "成药名称：逍遥丸\r\n成药内容：柴胡\r\n成药功效：疏肝\r\n成药主治：肝郁\r\n使用方法：口服\r\n应用心得：\r\n"
      "打印时间：2024-03-15", false, false},
     [](WindowFixture& world) {
         auto* w = world.open<FrmZycy>("ZysjDl3");
         return Road{{w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf}, w->Cmdsave, w->Cmdedit, w->Cmddele,
                     w->Txtfjmc, [w] { return itemsOf(w->ListFjmc); },
                     {w->Txtfjmc, w->Txtfjnr, w->Txtfjgy, w->Txtfjzz, w->Txtfjyf, w->Txtlcxd}, w->Cmdprnt, w->Cmdqcls, w->CmdHelp, w,
                     {{w->Txtfjmc, 100}},
                     {{w->Txtfjmc, "cymc"}, {w->Txtfjnr, "cygc"}, {w->Txtfjgy, "cygy"}, {w->Txtfjzz, "cyzz"},
                      {w->Txtlcxd, "cyxd"}, {w->Txtfjyf, "cyyf"}},
                     w->Cmdseek};
     }},
    {"western drug", "ylsy", "symc", {"阿司匹林", "解热镇痛", "口服", "出血者禁用", "解热镇痛药"},
     {"输入西药名称", "输入西药作用", "输入西药用法与剂量", "输入西药使用注意事项", "输入西药所属类别"}, 1, 1, 5,
     "删除此条内容吗？", "没有找到要删除的西药。", true, false, false, ErrorForm::Description, "西药编辑", "XY",
     {{"布洛芬", "解热镇痛药", "解热", "口服", "慎用", ""}, 4,
      "药材名称：布洛芬\r\n药材类别：解热镇痛药\r\n药材作用：解热\r\n用法剂量：口服\r\n注意事项：慎用\r\n"
      "应用心得：\r\n\r\n打印时间：2024-03-15", true, false},
     [](WindowFixture& world) {
         auto* w = world.open<FrmXydl>("ZysjDl4");
         return Road{{w->Txtycmc, w->Txtyczz, w->Txtycyf, w->Txtycyj, w->CboXylb}, w->Cmdsave, w->Cmdedit, w->Cmddele,
                     w->Cmdsave, [w] { return itemsOf(w->ListYcmc); },
                     {w->Txtycmc, w->CboXylb, w->Txtyczz, w->Txtycyf, w->Txtycyj, w->Txtycgb}, w->Cmdprnt, w->Cmdqcls,
                     w->CmdHelp, w, {{w->Txtycyf, 200}},
                     {{w->Txtycmc, "symc"}, {w->Txtyczz, "syyt"}, {w->Txtycyf, "syjl"}, {w->Txtycyj, "syzy"},
                      {w->CboXylb, "sylb"}, {w->Txtycgb, "syxd"}},
                     w->Cmdseek};
     }},
};

void fill(const std::vector<Input>& inputs, const QStringList& texts)
{
    for (std::size_t i = 0; i < inputs.size(); ++i) setTextOf(inputs[i], texts.value(int(i)));
}

void fill(const Road& road, const QStringList& texts) { fill(road.inputs, texts); }

}  // namespace

class KnowledgeEntryTest : public QObject {
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
    // puts the focus there and writes nothing; 清屏 empties the boxes, the focus to the key.
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
                QCOMPARE(static_cast<KnowledgeEntry*>(road.window)->srnrcw, 1);
            }
        }
        QCOMPARE(world_->environment().count(k.table), 0);
        fill(road, k.valid);
        WindowFixture::click(road.clear);
        for (const Input& input : road.inputs) QVERIFY(textOf(input).isEmpty());
        QCOMPARE(WindowFixture::focusedControl(), controlOf(road.inputs[0]));
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
        for (const Input& input : road.inputs) QVERIFY(textOf(input).isEmpty());
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
        road.save->SetFocus();
        WindowFixture::click(road.remove);   // not stored: said, the focus back to the key
        QCOMPARE(world_->messages().last(), QString(k.notFound));
        QCOMPARE(WindowFixture::focusedControl(), controlOf(road.inputs[0]));
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

    // With both `重,复` (kept as imported) and `重，复` stored, the loaded `重,复` is the
    // row edited and deleted, the other left alone (an edit that would rename it to
    // the other's key is refused whole); with `重,复` gone, typing it finds `重，复`
    // where the window stores keys normalised, and adds a row of its own otherwise.
    void keyIsSoughtAsTypedThenStored_data() { kinds(); }
    void keyIsSoughtAsTypedThenStored()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        const TestEnvironment& env = world_->environment();
        for (const char* key : {"重，复", "重,复"}) env.insert(k.table, {QString::fromUtf8(key), k.valid[1]});
        Road road = k.open(*world_);
        const auto textOfRow = [&](const char* key) {
            const QString sql = QString("select * from %1 where %2 = '%3'").arg(k.table, k.keyColumn, QString::fromUtf8(key));
            return storedRow(env, sql).value(k.textColumn);
        };
        QStringList texts = QStringList{"重,复"} << k.valid.mid(1);
        texts[k.textInput] = "新";
        fill(road, texts);
        WindowFixture::click(road.edit);
        QCOMPARE(textOfRow("重，复") == "新", false);
        QCOMPARE(textOfRow("重,复") == "新", !k.editRenamesKey);
        QCOMPARE(world_->messages().size(), k.editRenamesKey ? 1 : 0);

        world_->answer({forms::vbYes});
        fill(road, texts);
        WindowFixture::click(road.remove);
        QCOMPARE(termsOf(env, k.table), QStringList{"重，复"});
        fill(road, texts);
        WindowFixture::click(road.save);
        QCOMPARE(env.count(k.table), k.normalisesKey ? 1 : 2);
        if (k.normalisesKey) QCOMPARE(WindowFixture::focusedControl(), road.edit);
    }

    // Each search box alone is compared with its own column. Every row holds in each
    // searched column a way of preparing (蜜制, 姜制, ...), each way once per column and
    // in another row for every column, so the word a user looks for finds a different
    // row through every box: a box read against another column finds another row, a
    // box left out finds none (and says so).
    void searchReadsEachBoxAgainstItsOwnColumn_data()
    {
        QTest::addColumn<int>("kind");
        for (int k = 0; k < int(std::size(Kinds)); ++k)
            if (QString(Kinds[k].name) != "diagnosis") QTest::addRow("%s", Kinds[k].name) << k;
    }
    void searchReadsEachBoxAgainstItsOwnColumn()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        const QStringList ways = {"蜜制", "姜制", "盐制", "酒制", "醋制", "米制", "土制"};
        const auto rowsOf = [&](const Road& road) {
            const int n = int(road.searched.size());
            dao::Database db = world_->environment().open();
            for (int row = 0; row < n; ++row) {
                QStringList columns, values;
                for (int box = 0; box < n; ++box) {
                    columns << road.searched[std::size_t(box)].second;
                    values << dao::quote(ways[(box + row) % n]);
                }
                db.execute(QString("insert into %1 (%2) values (%3)").arg(k.table, columns.join(','), values.join(',')));
            }
            return n;
        };
        Road road = k.open(*world_);
        const int n = rowsOf(road);
        for (int box = 0; box < n; ++box) {
            for (const auto& [input, column] : road.searched) setTextOf(input, "");
            setTextOf(road.searched[std::size_t(box)].first, ways[0].left(1));
            WindowFixture::click(road.seek);
            QVERIFY2(road.listed() == QStringList{ways[(n - box) % n]}, road.searched[std::size_t(box)].second);
        }
        QVERIFY(world_->messages().isEmpty());
    }

    // A failure inside the delete (the database file gone) is shown in the window's form.
    void deleteErrorInTheWindowsForm_data() { kinds(); }
    void deleteErrorInTheWindowsForm()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        Road road = k.open(*world_);
        fill(road, k.valid);
        const QString path = world_->environment().databasePath();
        QVERIFY(QFile::rename(path, path + ".away"));
        world_->answer({forms::vbYes});
        WindowFixture::click(road.remove);
        const QString shown = world_->messages().last();
        switch (k.deleteError) {
        case ErrorForm::Description: QVERIFY2(!shown.contains("错误号码"), qPrintable(shown)); break;
        case ErrorForm::Line: QVERIFY2(shown.startsWith("错误号码：") && !shown.contains("\r\n"), qPrintable(shown)); break;
        case ErrorForm::Block: QVERIFY2(shown.startsWith("错误号码： ") && shown.contains("\r\n错误内容："), qPrintable(shown)); break;
        }
        QVERIFY(QFile::rename(path + ".away", path));
    }

    // A required box blank refuses (the focus on 清屏, nothing handed over); otherwise the
    // boxes' trimmed texts go to the word processor, after a pause where the window has one.
    void printHandsTheBoxesToTheWordProcessor_data() { kinds(); }
    void printHandsTheBoxesToTheWordProcessor()
    {
        QFETCH(int, kind);
        const Print& print = Kinds[kind].print;
        office::setDocumentOpener([](const QString&) { return true; });
        QGuiApplication::clipboard()->clear();
        Road road = Kinds[kind].open(*world_);
        QStringList texts = print.texts;
        texts[print.refusedWhenBlank] = " ";
        fill(road.printed, texts);
        WindowFixture::click(road.print);
        QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
        QCOMPARE(world_->boxes().log.back().title.isEmpty(), !print.titled);
        QCOMPARE(WindowFixture::focusedControl(), road.clear);
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        fill(road.printed, print.texts);
        WindowFixture::click(road.print);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(print.text));
        QCOMPARE(world_->clock().waits, print.pauses ? 1 : 0);
        QCOMPARE(world_->messages().size(), 1);
        office::setDocumentOpener({});
    }

    // The caption, every control in 宋体 10.5 pt, the boxes' limits, the help code; the
    // exit button closes the window and gives the main menus back.
    void captionFontsLimitsAndHelp_data() { kinds(); }
    void captionFontsLimitsAndHelp()
    {
        QFETCH(int, kind);
        const Kind& k = Kinds[kind];
        Road road = k.open(*world_);
        QCOMPARE(road.window->Caption(), QString::fromUtf8(k.caption));
        for (const forms::Control* control : road.window->findChildren<forms::Control*>()) {
            QCOMPARE(control->font().family(), QString("宋体"));
            QVERIFY2(control->font().pointSizeF() == 10.5, control->metaObject()->className());
        }
        for (const auto& [box, limit] : road.limits) {   // 0: no limit
            box->setText(QString(limit ? limit : 300, u'药'));
            WindowFixture::type(box, "xy");
            QCOMPARE(box->Text().size(), limit ? limit : 302);
        }
        WindowFixture::click(road.help);
        QCOMPARE(core::HelpTopic, QString::fromLatin1(k.help));
        forms::Form::ReturnFromHelp(road.window);
        QPointer<forms::Form> window = road.window;
        for (forms::CommandButton* button : window->findChildren<forms::CommandButton*>())
            if (button->Caption().startsWith("退出") || button->Caption().startsWith("结束")) WindowFixture::click(button);
        QTRY_VERIFY(window.isNull());
        QVERIFY(world_->mainWindow().menuAction("ZysjDl")->isEnabled());
    }

private:
    static void kinds()
    {
        QTest::addColumn<int>("kind");
        for (int k = 0; k < int(std::size(Kinds)); ++k) QTest::addRow("%s", Kinds[k].name) << k;
    }

    std::unique_ptr<WindowFixture> world_;
};

QTEST_MAIN(KnowledgeEntryTest)
#include "knowledge_entry_test.moc"
