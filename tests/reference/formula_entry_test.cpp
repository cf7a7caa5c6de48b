// The formula entry window Frmfjdl where it differs from the other entry windows (whose
// shared base has its own test): the texts stored normalised, the search and the
// count, the look-up by name and by list, the keys of the seven boxes and the
// composition box's trim, the herb look-up, and errors that must not end it.
#include "reference/formula_entry.h"
#include "knowledge_test_support.h"
#include "reference/herb_lookup.h"

using knowledgetest::itemsOf;
using reference::Frmfjdl;

class FormulaEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        knowledgetest::seedFormulas(world_->environment());
        core::OwnerName = "张医生";
        window_ = world_->open<Frmfjdl>("ZysjDl1");
    }
    void cleanup() { world_.reset(); }

    // The notes left empty are stored as two blanks; the delete asks before it checks.
    void saveStoresNormalizedTextsAndDeleteAsksFirst()
    {
        QCOMPARE(window_->LabFjsl->Caption(), QString("5篇"));
        fill({"新方", "甘草,大枣", "和中", "腹痛", "水煎服", "自拟", ""});
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(knowledgetest::storedRow(world_->environment(), "select * from zyfj where fjmc = '新方'"),
                 QStringList({"新方", "甘草，大枣", "和中", "腹痛", "水煎服", "自拟", "  ", "张医生"}));
        QCOMPARE(window_->LabFjsl->Caption(), QString("6篇"));
        fill({});
        WindowFixture::click(window_->Cmddele);
        QCOMPARE(world_->messages(), QStringList({"确实要删除  方剂吗？", "输入方剂名称"}));
    }

    void searchListsTheMatchesWithTheirCount()
    {
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), QStringList{"请输入查询条件"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);
        const std::pair<QStringList, QStringList> searches[] = {
            {{" 汤"}, {"八珍汤", "四君子汤", "四物汤", "王氏'清暑益气汤"}},
            {{"", "当归", "", "", "", "和剂"}, {"四物汤", "逍遥散"}},   // Null notes of the imported row pass
            {{" 王氏' ", "石斛*"}, {"王氏'清暑益气汤"}}};
        for (const auto& [criteria, found] : searches) {
            fill(criteria);
            WindowFixture::click(window_->CmdSeek);
            QCOMPARE(itemsOf(window_->ListFjmc), found);
            QCOMPARE(window_->LabFjsl->Caption(), QString::number(found.size()) + "种");
        }
        QCOMPARE(window_->Txtfjmc->Text(), QString("王氏'"));   // the criteria kept trimmed
        fill({"麻黄汤"});
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages().last(), QString("没有符合查询条件的方剂"));
        QCOMPARE(window_->LabFjsl->Caption(), QString("5篇"));
    }

    void nameLookUpAndListClickFillTheBoxes()
    {
        fill({"无此方", "旧文"});
        WindowFixture::pressEnter(window_->Txtfjmc);   // not stored: the boxes stay
        QCOMPARE(window_->Txtfjnr->Text(), QString("旧文"));
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
        QCOMPARE(window_->Txtfjnr->SelLength(), 2);
        QVERIFY(world_->messages().isEmpty());
        window_->Txtfjmc->setText("王氏'清暑益气汤");
        WindowFixture::pressEnter(window_->Txtfjmc);
        QCOMPARE(window_->Txtfjnr->Text() + window_->Txtfjly->Text(), QString("西洋参、石斛*、麦冬'温热经纬"));
        window_->ListFjmc->listWidget()->setCurrentRow(itemsOf(window_->ListFjmc).indexOf("逍遥散"));
        window_->ListFjmc->Click();
        QCOMPARE(window_->Txtfjmc->Text() + window_->Txtlcxd->Text(), QString("逍遥散"));   // Null shows empty
    }

    // A blank box swallows Enter; one with text moves on, the next box's caret at its end.
    void keysOfTheSevenBoxes()
    {
        const std::pair<forms::TextBox*, forms::Control*> chain[] = {
            {window_->Txtfjnr, window_->Txtfjgy}, {window_->Txtfjgy, window_->Txtfjzz}, {window_->Txtfjzz, window_->Txtfjyf},
            {window_->Txtfjyf, window_->Txtlcxd}, {window_->Txtfjly, window_->CmdSave}};
        for (const auto& [box, next] : chain) {
            box->setText("  ");
            box->SetFocus();
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), box);
            WindowFixture::type(box, "甘 草");
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), next);
            QCOMPARE(box->Text().trimmed(), QString("甘草"));
            if (auto* text = qobject_cast<forms::TextBox*>(next)) QCOMPARE(text->SelStart(), text->Text().size());
        }
        window_->Txtlcxd->setText("");
        WindowFixture::pressEnter(window_->Txtlcxd);
        WindowFixture::type(window_->Txtlcxd, "验");
        WindowFixture::pressEnter(window_->Txtlcxd);   // a new line in the notes, once they hold text
        WindowFixture::type(window_->Txtlcxd, "方");
        QCOMPARE(window_->Txtlcxd->Text(), QString("验\r\n方"));
    }

    // The composition box re-takes its text trimmed before a key, and the key lands
    // where the caret or the selection stood.
    void compositionTrimKeepsWhereTheKeyLands()
    {
        const struct { QString text; int start, length; QString typed, result; } cases[] = {
            {"  当归川芎  ", 4, 0, "、", "当归、川芎"}, {" 当归川芎", 3, 2, "白芍", "当归白芍"},
            {"  当归", 1, 0, "x", "x当归"},             {"当归   ", 4, 0, "x", "当归x"},
            {"当归", 1, 0, "x", "当x归"},               {"当归\r\n川芎 ", 4, 0, "x", "当归\r\n川x芎"}};
        for (const auto& c : cases) {
            window_->Txtfjnr->setText(c.text);
            window_->Txtfjnr->SetFocus();
            window_->Txtfjnr->setSelStart(c.start);
            window_->Txtfjnr->setSelLength(c.length);
            WindowFixture::type(window_->Txtfjnr, c.typed);
            QCOMPARE(window_->Txtfjnr->Text(), c.result);
        }
    }

    // The entry windows' trigger: a right button going down or up over a marked text
    // that is not blank pops the menu up, 查询药材特点 shown bold.
    void rightButtonOnAMarkedHerbOpensIt()
    {
        forms::PopupMenus::TestHook popups;
        reference::HerbLookup& herbs = *window_->herbs;
        window_->Txtfjnr->setText("川芎、 当归 ");
        knowledgetest::markAndUse(window_->Txtfjnr, 0, 0, Qt::RightButton);   // nothing marked
        knowledgetest::markAndUse(window_->Txtfjnr, 3, 1, Qt::RightButton);   // only a blank
        knowledgetest::markAndUse(window_->Txtfjnr, 3, 4, Qt::LeftButton);
        QCOMPARE(popups.log.size(), std::size_t(0));
        popups.choose(herbs.FindYc);
        knowledgetest::markAndUse(window_->Txtfjnr, 3, 4, Qt::RightButton);   // " 当归 ": trimmed before the look-up
        QCOMPARE(popups.log.size(), std::size_t(2));
        QCOMPARE(popups.log[0].defaultItem, herbs.FindYc);
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(herbs.Txtycmc->Text() + herbs.Txtycgj->Text() + herbs.Txtycxw->Text() + herbs.Txtycgb->Text(),
                 QString("当归肝、心、脾经甘、辛，温补血圣药"));
        WindowFixture::click(window_->CmdQcls);   // the reset hides and empties the panel
        QVERIFY(!herbs.Txtycmc->isVisibleTo(window_) && herbs.Txtycmc->Text().isEmpty());
    }

    // With the database file gone, every handler that reads it says so and the window
    // stays usable.
    void databaseErrorsAreReportedNotFatal()
    {
        forms::PopupMenus::TestHook popups;
        QVERIFY(QFile::rename(world_->environment().databasePath(), world_->environment().databasePath() + ".away"));
        fill({"四物汤", "当归", "补血", "血虚", "水煎服", "和剂局方", ""});
        WindowFixture::click(window_->Cmdedit);
        WindowFixture::click(window_->Cmddele);
        WindowFixture::pressEnter(window_->Txtfjmc);
        popups.choose(window_->herbs->FindYc);
        knowledgetest::markAndUse(window_->Txtfjnr, 0, 2, Qt::RightButton);
        QCOMPARE(world_->messages().filter("错误号码：").size(), 4);
        QCOMPARE(window_->Txtfjmc->Text(), QString("四物汤"));
    }

private:
    // Name, composition, effects, indications, usage, source, notes.
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy, window_->Txtfjzz, window_->Txtfjyf,
                                  window_->Txtfjly, window_->Txtlcxd},
                                 texts);
    }

    std::unique_ptr<WindowFixture> world_;
    Frmfjdl* window_ = nullptr;
};

QTEST_MAIN(FormulaEntryTest)
#include "formula_entry_test.moc"
