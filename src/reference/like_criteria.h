// The criteria builder of the knowledge-base searches and query windows: a list of
// (column, text) pairs becomes the WHERE clause of the query text, each text quoted
// once and matched anywhere inside its column ('*text*', where "*", "?", "#" and "["
// keep their meaning as pattern characters). An empty criterion matches every row,
// rows whose column holds no value (imported records) included, so it adds no
// condition; a text of characters without case and without pattern characters (the
// usual Chinese term) is found by SQLite's own GLOB, which finds the same rows as the
// pattern; any other text is matched by the old engine's LIKE.
//
//     whereClause({{"ycmc", name}, {"ycgy", QString()}, {"ycxw", "Ab"}})
//         -> " where ycmc glob '*参*' and ycxw like '*Ab*'"
//     whereClause({{"ycmc", QString()}})  -> ""
#pragma once

#include <QString>
#include <vector>

namespace reference {

struct LikeCriterion {
    QString column;
    QString text;        // trimmed by the caller
};

// " where " and the conditions of the criteria, or nothing when every one is empty.
QString whereClause(const std::vector<LikeCriterion>& criteria);

// True when every criterion is empty (the windows then ask for one).
bool allEmpty(const std::vector<LikeCriterion>& criteria);

}  // namespace reference
