// The dictionary builders: before a query window of a knowledge base opens, its menu
// item empties that base's query dictionaries and cuts them again from every stored
// text, stage by stage, while the progress window shows the stage and how far it has
// come. Each builder is a table of stages run by one builder (dictionary_builder.cpp).
//
// A rebuild is one transaction: when anything fails, the dictionaries stay as they
// were, the progress window goes, the user is told in the "错误号码：" CR LF
// "错误内容：" form, and the builder returns so that the query window opens on what the
// dictionaries hold. A stage is skipped only when its source has no row; Null or blank
// texts add nothing. The progress window repaints on a time slice, not on every row.
#pragma once

#include "core/progress_driver.h"

#include <QString>
#include <functional>

namespace dao { class Database; }

namespace dictionary {

void BuildHerbDicts();        // ycgy, yczz from zyyc
void BuildFormulaDicts();     // fjgy, fjzz, lcfj from zyfj
void BuildSymptomDict();      // bzzz from zybz
void BuildPatentMedDicts();   // Cyzz, Cygx from fjcy

// The diagnosis query window's narrowing of the symptom dictionary: the symptom texts
// that `sql` selects, stored as "qkbz"; when it selects rows, `bzzz` is emptied and
// refilled from them in one transaction, the bar running from 0 over 98; `alsoInRefill`
// runs on the open database inside that transaction (the window stores the query of
// its grid there, so that one pick writes the file once). True when it refilled; false
// when the source has no row (nothing changes, nothing is shown) or after a failure,
// which leaves `bzzz` as it was and is told as the builders tell it.
bool NarrowSymptomDict(const QString& sql, const std::function<void(dao::Database&)>& alsoInRefill = {});

// Where a stage of `rows` rows stands at its row n (1 to rows): the bar's value,
// base + n × (span ÷ rows) in four-decimal fixed point, and the percentage label, that
// value rounded to a whole number (a half to the even neighbour) and "%".
using StageProgress = core::ProgressPlace;
StageProgress stageProgress(int base, int span, int rows, int n);

}  // namespace dictionary
