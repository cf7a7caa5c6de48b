// The shared pieces of the knowledge-base windows; see entry_helpers.h.
#include "reference/entry_helpers.h"

#include "core/globals.h"
#include "core/text_normalizer.h"
#include "platform/dao/dao.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/vb/strings.h"

namespace reference {

QString enteredBy()
{
    return vb::Trim(core::LoginUser).isEmpty() ? core::OwnerName : core::LoginUser;
}

bool seekStored(dao::Recordset& table, const QString& key1, const QString& key2)
{
    const auto seek = [&table, &key2](const QString& first, const QString& second) {
        if (key2.isNull()) table.seek(QStringLiteral("="), first);
        else table.seek(QStringLiteral("="), first, second);
        return !table.noMatch();
    };
    if (seek(core::NormalizeText(key1), key2.isNull() ? key2 : core::NormalizeText(key2))) return true;
    return seek(key1, key2);
}

QString likeCriterion(const QString& column, const QString& text)
{
    QString literal;
    for (const QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[') literal += u'[' + QString(c) + u']';
        else literal += c;
    }
    const QString criterion = column + QStringLiteral(" like ") + dao::quote(u'*' + literal + u'*');
    if (!text.isEmpty()) return criterion;
    return u'(' + criterion + QStringLiteral(" or ") + column + QStringLiteral(" is null)");
}

int fillGrid(forms::FlexGrid* grid, dao::Recordset& rows, int cols, int rowHeight)
{
    if (rows.eof()) {
        grid->setRows(1);
        return 0;
    }
    rows.moveLast();
    rows.moveFirst();
    const int count = rows.recordCount();
    grid->setRows(count + 1);
    for (int row = 1; !rows.eof(); rows.moveNext(), ++row) {
        grid->setRowHeight(row, rowHeight);
        for (int col = 0; col < cols; ++col) grid->setTextMatrix(row, col, vb::Trim(rows.field(col).toString()));
        forms::DoEvents();
    }
    return count;
}

}  // namespace reference
