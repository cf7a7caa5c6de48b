// The criteria builder; see like_criteria.h.
#include "reference/like_criteria.h"

#include "platform/dao/dao.h"
#include "platform/dao/like_pattern.h"

#include <QStringList>
#include <algorithm>

namespace reference {

QString whereClause(const std::vector<LikeCriterion>& criteria)
{
    QStringList conditions;
    for (const LikeCriterion& criterion : criteria) {
        if (criterion.text.isEmpty()) continue;
        const QString pattern = u'*' + criterion.text + u'*';
        if (const std::optional<QByteArray> term = dao::LikePattern(pattern).containedTerm())
            conditions << criterion.column + QStringLiteral(" glob ")
                              + dao::quote(u'*' + QString::fromUtf8(*term).replace(u'[', QStringLiteral("[[]")) + u'*');
        else
            conditions << criterion.column + QStringLiteral(" like ") + dao::quote(pattern);
    }
    return conditions.isEmpty() ? QString() : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

bool allEmpty(const std::vector<LikeCriterion>& criteria)
{
    return std::all_of(criteria.begin(), criteria.end(),
                       [](const LikeCriterion& criterion) { return criterion.text.isEmpty(); });
}

}  // namespace reference
