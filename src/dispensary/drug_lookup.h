// The drug look-up shared by the stock-in, other stock-out and pricing windows. Each
// of them has a code box and a locked name box that only ever shows the name found
// for the code: every key typed in the code box but the space empties the name box;
// Enter upper-cases the code and looks it up in the drug list `ycjg`, and the name
// box receives the name found. Enter in the name box looks the name up again and the
// code box receives the code found. The look-up keeps the drug it found (drug()) until
// the code box changes: a window writes what it kept, never what a box shows. Each
// window adds its own messages and focus.
//
// The queries follow the stored-query convention (all stored queries deleted, the SQL
// stored under a short name and opened as a dynaset); texts go in through dao::quote.
#pragma once

#include "platform/dao/dao.h"

#include <QString>
#include <optional>

namespace forms { class TextBox; }

namespace dispensary {

// One row of the drug list, the columns the dispensary reads.
struct Drug {
    QString code;        // 0 ycbm
    QString name;        // 1 ycmc
    double price = 0;    // 2 ycdj, the sales price per unit
};

// "select * from ycjg where ycbm='<code>'" stored as `queryName`.
std::optional<Drug> findDrugByCode(dao::Database& db, const QString& code,
                                   const QString& queryName = QStringLiteral("ycbm"));
// "select * from ycjg where ycmc='<name>'" stored as `queryName`.
std::optional<Drug> findDrugByName(dao::Database& db, const QString& name,
                                   const QString& queryName = QStringLiteral("ycmc"));

// The key handling of a code box and its name box.
class DrugLookup {
public:
    enum class Outcome {
        Typing,      // not Enter: the key was passed on or swallowed, nothing looked up
        Empty,       // Enter on an empty box: nothing looked up
        Found,       // the other box now shows what was found
        NotFound,    // no row: the boxes are as they were
        Failed,      // the database failed; its description has been shown
    };

    // Besides the keys, every edit the user makes in the code box that no key press
    // announces (a paste or cut by the keyboard or the context menu) empties the name
    // box too, so the name shown always belongs to the code shown.
    DrugLookup(forms::TextBox& codeBox, forms::TextBox& nameBox);

    // KeyPress of the code box: the space is swallowed, any other key empties the
    // name box; Enter is swallowed and, with a code in the box, upper-cases it and
    // looks the trimmed code up (query "ycbm"); found, the name box shows the name.
    Outcome codeKeyPress(int& keyAscii);
    // KeyPress of the name box: the space is swallowed; Enter is swallowed and, with a
    // name in the box, looks the trimmed name up (query "ycmc"); found, the code box
    // shows the code.
    Outcome nameKeyPress(int& keyAscii);

    // The drug the last look-up found, while the code box still shows its code.
    const std::optional<Drug>& drug() const { return drug_; }
    // Takes `drug` as found (a take-back from a list): both boxes show it.
    void take(const Drug& drug);
    // Forgets the drug (the window cleared its boxes).
    void forget() { drug_.reset(); }

private:
    // Runs `find` under the error trap; found, `otherBox` shows the drug's `shown`.
    template <class Find>
    Outcome lookUp(const Find& find, forms::TextBox& otherBox, QString Drug::*shown);
    void nameBoxEmptied();

    forms::TextBox& codeBox_;
    forms::TextBox& nameBox_;
    std::optional<Drug> drug_;
};

}  // namespace dispensary
