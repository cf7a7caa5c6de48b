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

#include <QString>

namespace dictionary {

void BuildHerbDicts();        // ycgy, yczz from zyyc
void BuildFormulaDicts();     // fjgy, fjzz, lcfj from zyfj
void BuildSymptomDict();      // bzzz from zybz
void BuildPatentMedDicts();   // Cyzz, Cygx from fjcy

// Where a stage of `rows` rows stands at its row n (1 to rows): the bar's value,
// base + n × (span ÷ rows) in four-decimal fixed point, and the percentage label, that
// value rounded to a whole number (a half to the even neighbour) and "%".
struct StageProgress {
    double bar;
    QString label;
};
StageProgress stageProgress(int base, int span, int rows, int n);

}  // namespace dictionary
