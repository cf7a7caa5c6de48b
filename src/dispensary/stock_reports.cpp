// The four stock reports; see stock_reports.h.
#include "dispensary/stock_reports.h"

#include "platform/vb/strings.h"

namespace dispensary {

namespace {

using Kind = core::ReportColumn::Kind;

const QString Money = QStringLiteral("##,###,##0.00_ ");
const QString Day = QStringLiteral("yyyy-mm-dd");

// The columns of the reports: most are 10 characters wide.
core::ReportColumn text(const char* header, double width = 10)
{
    return {QString::fromUtf8(header), Kind::Text, {}, width};
}
core::ReportColumn date(const char* header, const QString& format = Day)
{
    return {QString::fromUtf8(header), Kind::Date, format, 10};
}
core::ReportColumn number(const char* header, double width = 10)
{
    return {QString::fromUtf8(header), Kind::Number, Money, width};
}

struct StockReport {
    QString queryName;
    QString fileEnding;
    std::vector<core::ReportColumn> columns;   // in the order of the query's fields
};

// Stock-out cost and income (width 0) are fitted to their widest cell. The expiry
// date carries no format of its own: it shows as the spreadsheet's short date.
const StockReport& reportOf(StockReportKind kind)
{
    static const StockReport reports[] = {
        {QStringLiteral("ycrk"), QStringLiteral("商品入库统计表.xls"),
         {text("药品名称"), date("进货时间"), text("货物产地"), text("货物来源"), text("药品批号 "),
          date("有效期限", {}), number("进货数量"), number("进货金额"), text("进货经办"), text("进货验收")}},
        {QStringLiteral("ycck"), QStringLiteral("商品出库统计表.xls"),
         {text("病案号码"), text("病案序号"), date("出库时间"), text("药品名称"), text("摘要", 14),
          number("出库数量"), number("出库成本", 0), number("收款金额", 0)}},
        {QStringLiteral("ycjy"), QStringLiteral("商品结余统计表.xls"),
         {text("药品名称"), number("结余数量"), number("结余金额")}},
        {QStringLiteral("ycck"), QStringLiteral("商品入库出库统计表.xls"),
         {date("时间"), text("药品名称"), text("摘要"), number("入库数量"), number("入库金额", 14),
          number("出库数量", 14), number("出库成本", 14), number("收款金额", 14)}},
    };
    return reports[static_cast<int>(kind)];
}

}  // namespace

QString stockQueryName(StockReportKind kind)
{
    return reportOf(kind).queryName;
}

QString stockQuerySql(StockReportKind kind, const StockSelection& selection)
{
    const QString range = QStringLiteral(" from yccrtb where crsj between ") + u'#' + selection.start + u'#'
                          + QStringLiteral(" and  ") + u'#' + selection.end + u'#';
    const QString filter =
        selection.oneDrug ? QStringLiteral(" and ycbm= ") + dao::quote(selection.drugName) : QString();
    switch (kind) {
    case StockReportKind::StockIn:
        return QStringLiteral("select ycbm,crsj,yccd,ycly,ywph,yxqx,rksl,rkje,jbxm,bgxm ")
               + (selection.oneDrug ? QStringLiteral(" ") : QString()) + range + filter
               + QStringLiteral(" and ywzy='购进' order by ycbm,crsj");
    case StockReportKind::StockOut:
        // Journal column 8 is `blks` in the file; the report heads it 病案序号.
        return QStringLiteral("select blhm,blks,crsj,ycbm,ywzy,cksl,ckje,xsje ") + range + filter
               + QStringLiteral(" and ywzy<>'购进' order by ycbm,crsj");
    case StockReportKind::Balance:
        return QStringLiteral("select ycbm,ycyl,rkje from ycyltb where ycbm<>'' order by ycbm");
    case StockReportKind::Ledger:
        return QStringLiteral("select crsj,ycbm,ywzy,rksl,rkje,cksl,ckje,xsje ") + range + filter
               + QStringLiteral(" order by crsj,ycbm");
    }
    return {};
}

QString stockReportPath(StockReportKind kind, const StockSelection& selection)
{
    return QStringLiteral("c:\\my documents\\") + vb::Trim(selection.start) + QStringLiteral(" 至 ")
           + vb::Trim(selection.end) + reportOf(kind).fileEnding;
}

void writeStockReport(dao::Recordset& records, StockReportKind kind, const QString& path,
                      const std::function<void()>& afterSave)
{
    const StockReport& report = reportOf(kind);
    const int fields = static_cast<int>(report.columns.size());
    core::WorkbookReport layout{path, report.columns};
    layout.firstDataRow = 4;
    core::writeWorkbookReport(layout, [&](std::vector<vb::Variant>& row) {
        if (records.eof()) return false;
        row.resize(fields);
        for (int f = 0; f < fields; ++f) row[f] = records.field(f);
        records.moveNext();
        return true;
    }, {}, afterSave);
}

}  // namespace dispensary
