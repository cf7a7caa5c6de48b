// Speed of the formula query window's query over 2,000 formulas with four criteria
// filled (a herb, an effect, an indication and the source): through the window's own
// path (the criteria trimmed, the query built, every stored query deleted, "fjcx"
// stored and opened, the grid filled) against what a plain program runs for the same
// rows: a SELECT of the filled criteria only, matched by SQLite's own LIKE, prepared on
// a plain connection and filling the same grid. The statement is prepared in every
// run, as each query the user makes is a new text. Both run in the open window inside
// the main window, with the file already open (the program holds its connection for
// the run); the grids' cells are compared first; the sides take turns; prints the
// medians of processor time and their ratio (limit 1.5), and the clock's ratio.
#include "bench_support.h"
#include "platform/forms/application.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/datacontrol.h"
#include "platform/vb/strings.h"
#include "reference/formula_query.h"
#include "support/window_fixture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Formulas = 2000;
constexpr int Runs = 25;

const char* const Herbs[] = {"当归", "川芎", "白芍", "熟地黄", "人参", "白术", "茯苓", "甘草", "黄芪", "柴胡",
                             "陈皮", "半夏", "生姜", "大枣", "桂枝", "麻黄", "杏仁", "石膏", "知母", "黄芩",
                             "黄连", "黄柏", "栀子", "连翘", "金银花", "薄荷", "荆芥", "防风", "羌活", "独活",
                             "附子", "干姜", "肉桂", "山药", "山茱萸", "泽泻", "丹皮", "枸杞子", "菊花", "麦冬"};
const char* const Effects[] = {"补血", "益气", "健脾", "活血", "化瘀", "清热", "解毒", "疏肝", "解郁", "温中",
                               "散寒", "止咳", "化痰", "利水", "渗湿", "滋阴", "补肾", "安神", "养心", "和胃"};
const char* const Indications[] = {"血虚萎黄", "气虚乏力", "脾虚泄泻", "肝郁胁痛", "外感风寒", "咳嗽痰多",
                                   "水肿", "失眠心悸", "胃脘疼痛", "月经不调", "腰膝酸软", "头痛眩晕"};
const char* const Sources[] = {"和剂局方", "伤寒论", "金匮要略", "温病条辨", "景岳全书", "医方集解"};
const char* const Suffixes[] = {"汤", "散", "丸", "饮", "膏"};

QString pick(const char* const* list, std::size_t size, int n) { return QString::fromUtf8(list[n % size]); }

void seedFormulas(const TestEnvironment& env)
{
    dao::Database db = env.open();
    dao::Transaction work(db);
    dao::Recordset formulas = db.openTable("zyfj");
    for (int i = 0; i < Formulas; ++i) {
        const int n = i * 7919 % Formulas;
        QStringList herbs, effects, indications;
        for (int k = 0; k < 4 + n % 7; ++k) herbs << pick(Herbs, std::size(Herbs), n * 3 + k * 7);
        for (int k = 0; k < 3; ++k) effects << pick(Effects, std::size(Effects), n + k * 5);
        for (int k = 0; k < 2; ++k) indications << pick(Indications, std::size(Indications), n * 7 + k * 5);
        formulas.addNew();
        formulas.setField(0, herbs[0] + herbs[1] + pick(Suffixes, std::size(Suffixes), n) + QString::number(n));
        formulas.setField(1, herbs.join(QStringLiteral("、")));
        formulas.setField(2, effects.join(QStringLiteral("，")));
        formulas.setField(3, indications.join(QStringLiteral("，")) + QStringLiteral("。舌淡，脉细弱。"));
        formulas.setField(4, QStringLiteral("水煎服，日一剂，分两次温服。"));
        formulas.setField(5, pick(Sources, std::size(Sources), n));
        formulas.setField(6, QStringLiteral("临床用于") + indications[0] + QStringLiteral("，加减得宜，疗效可靠。"));
        formulas.setField(7, QStringLiteral("王医生"));
        formulas.update();
    }
    formulas.close();
    work.commit();
}

// The criteria the window is given, and the SELECT a plain program runs for them: the
// filled criteria only, each matched anywhere in its column by SQLite's own LIKE (the
// texts hold no character with a case, so it matches as the window's pattern does).
const QString Criteria[] = {QStringLiteral("当归"), QStringLiteral("补血"), QStringLiteral("虚"),
                            QStringLiteral("局方")};
QByteArray plainSelect()
{
    const char* const columns[] = {"fjgc", "fjgy", "fjzz", "fjly"};
    QStringList conditions;
    for (int k = 0; k < 4; ++k) conditions << QStringLiteral("%1 LIKE '%%2%'").arg(QString::fromLatin1(columns[k]), Criteria[k]);
    return (QStringLiteral("SELECT * FROM zyfj WHERE ") + conditions.join(QStringLiteral(" AND "))
            + QStringLiteral(" ORDER BY fjmc COLLATE PINYIN")).toUtf8();
}

// One query as a plain program runs it: the statement prepared, stepped into a list of
// trimmed texts, finalized, and the grid sized once and written cell by cell.
void plainQuery(sqlite3* db, const QByteArray& sql, forms::FlexGrid* grid)
{
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
    std::vector<std::array<QString, 7>> rows;
    while (sqlite3_step(select) == SQLITE_ROW) {
        auto& texts = rows.emplace_back();
        for (int col = 0; col < 7; ++col)
            texts[col] = vb::Trim(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, col))));
    }
    sqlite3_finalize(select);
    grid->setRows(static_cast<int>(rows.size()) + 1);
    for (int row = 1; row <= static_cast<int>(rows.size()); ++row) {
        grid->setRowHeight(row, 400);
        for (int col = 0; col < 7; ++col) grid->setTextMatrix(row, col, rows[row - 1][col]);
    }
    QCoreApplication::processEvents();
}

// The grid's cells row by row.
QStringList cellsOf(const forms::FlexGrid& grid)
{
    QStringList cells;
    for (int row = 1; row < grid.Rows(); ++row)
        for (int col = 0; col < grid.Cols(); ++col) cells << grid.TextMatrix(row, col);
    return cells;
}
}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    WindowFixture world;
    seedFormulas(world.environment());
    auto* window = world.open<reference::Frmfjll>(QStringLiteral("zycxll1"));

    sqlite3* db = bench::openPlain(world.environment().databasePath(), true);
    const QByteArray sql = plainSelect();

    // The criteria are filled once, as the user leaves them; each run is a press of 查询.
    window->Cbocxyc1->setText(Criteria[0]);
    window->Cboycgx1->setText(Criteria[1]);
    window->Cboyczz1->setText(Criteria[2]);
    window->Cbofjly->setText(Criteria[3]);
    const auto ours = [&] {
        window->CmdSeek->Press();
        QCoreApplication::processEvents();
    };
    const auto plain = [&] { plainQuery(db, sql, window->MSFGridzyfj); };
    ours();
    const QStringList found = cellsOf(*window->MSFGridzyfj);
    plain();
    const QStringList plainFound = cellsOf(*window->MSFGridzyfj);
    if (found != plainFound || found.isEmpty() || !world.messages().isEmpty()) {
        std::fprintf(stderr, "formula query: the window shows %lld cells, the plain query %lld, or other cells\n",
                     static_cast<long long>(found.size()), static_cast<long long>(plainFound.size()));
        return 1;
    }
    const bench::Medians medians = bench::inTurns(ours, plain, Runs);
    sqlite3_close(db);

    std::printf("formula query (%d formulas, 4 criteria, %d found): window %.2f ms, prepared statement %.2f ms, "
                "ratio %.2f (limit 1.5%s; by the clock %.2f)\n",
                Formulas, window->MSFGridzyfj->Rows() - 1, medians.ours, medians.plain, medians.ratio(),
                bench::overLimit(medians.ratio(), 1.5), medians.clockRatio());
    return 0;
}
