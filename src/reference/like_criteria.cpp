// The criteria builder; see like_criteria.h.
#include "reference/like_criteria.h"

#include "platform/dao/dao.h"

#include <QStringList>
#include <algorithm>

namespace reference {

QString likeConditions(const std::vector<LikeCriterion>& criteria)
{
    QStringList conditions;
    for (const LikeCriterion& criterion : criteria) {
        const QString condition = criterion.column + QStringLiteral(" like ")
                                  + dao::quote(u'*' + criterion.text + u'*');
        conditions << (criterion.text.isEmpty()
                           ? QStringLiteral("(%1 or %2 is null)").arg(condition, criterion.column)
                           : condition);
    }
    return conditions.join(QStringLiteral(" and "));
}

bool allEmpty(const std::vector<LikeCriterion>& criteria)
{
    return std::all_of(criteria.begin(), criteria.end(),
                       [](const LikeCriterion& criterion) { return criterion.text.isEmpty(); });
}

}  // namespace reference
