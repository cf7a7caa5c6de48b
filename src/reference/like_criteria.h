// The criteria builder of the knowledge-base searches and query windows: a list of
// (column, text) pairs becomes the LIKE conditions of the query text, each text
// quoted once and matched anywhere inside its column ('*text*', where "*", "?", "#"
// and "[" keep their meaning as pattern characters). An empty criterion stands in its
// place as (column like '**' or column is null), so it matches every row, rows whose
// column holds no value (imported records) included.
//
//     likeConditions({{"ycmc", name}, {"ycgy", effects}})
//         -> "ycmc like '*参*' and (ycgy like '**' or ycgy is null)"
#pragma once

#include <QString>
#include <vector>

namespace reference {

struct LikeCriterion {
    QString column;
    QString text;        // trimmed by the caller
};

QString likeConditions(const std::vector<LikeCriterion>& criteria);

// True when every criterion is empty (the windows then ask for one).
bool allEmpty(const std::vector<LikeCriterion>& criteria);

}  // namespace reference
