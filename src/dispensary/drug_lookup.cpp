// The drug look-up of the dispensary windows; see drug_lookup.h.
#include "dispensary/drug_lookup.h"

#include "core/globals.h"
#include "data/columns.h"
#include "core/error_trap.h"
#include "platform/forms/control.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QLineEdit>

namespace dispensary {

namespace {
std::optional<Drug> findDrug(dao::Database& db, const QString& column, const QString& value,
                             const QString& queryName)
{
    forms::DoEvents();
    dao::Recordset found = db.storeAndOpen(
        queryName, QStringLiteral("select * from ycjg where ") + column + QStringLiteral("=") + dao::quote(value));
    forms::DoEvents();
    std::optional<Drug> drug;
    if (!found.eof() && !found.field(data::ycjg::ycbm).isNull())
        drug = Drug{found.field(data::ycjg::ycbm).toString(), found.field(data::ycjg::ycmc).toString(),
                    found.field(data::ycjg::ycdj).toDouble()};
    found.close();
    return drug;
}
}  // namespace

std::optional<Drug> findDrugByCode(dao::Database& db, const QString& code, const QString& queryName)
{
    return findDrug(db, QStringLiteral("ycbm"), code, queryName);
}

std::optional<Drug> findDrugByName(dao::Database& db, const QString& name, const QString& queryName)
{
    return findDrug(db, QStringLiteral("ycmc"), name, queryName);
}

DrugLookup::DrugLookup(forms::TextBox& codeBox, forms::TextBox& nameBox) : codeBox_(codeBox), nameBox_(nameBox)
{
    // Only the user's edits: the look-up's own upper-casing and filling stay silent.
    QObject::connect(codeBox.lineEdit(), &QLineEdit::textEdited, &nameBox, [this] { nameBoxEmptied(); });
}

void DrugLookup::nameBoxEmptied()
{
    nameBox_.setText(QString());
    drug_.reset();
}

void DrugLookup::take(const Drug& drug)
{
    drug_ = drug;
    codeBox_.setText(drug.code);
    nameBox_.setText(drug.name);
}

template <class Find>
DrugLookup::Outcome DrugLookup::lookUp(const Find& find, forms::TextBox& otherBox, QString Drug::*shown)
{
    std::optional<Drug> drug;
    const bool ran = core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        drug = find(db);
        db.close();
        forms::DoEvents();
    });
    if (!ran) return Outcome::Failed;
    if (!drug) return Outcome::NotFound;
    drug_ = drug;
    otherBox.setText((*drug).*shown);
    return Outcome::Found;
}

DrugLookup::Outcome DrugLookup::codeKeyPress(int& keyAscii)
{
    if (keyAscii == forms::vbKeySpace) {
        keyAscii = 0;
        return Outcome::Typing;
    }
    nameBoxEmptied();
    if (keyAscii != forms::vbKeyReturn) return Outcome::Typing;
    keyAscii = 0;
    if (vb::Trim(codeBox_.Text()).isEmpty()) return Outcome::Empty;
    // A code typed in upper case already is left as it stands (no repaint mid-look-up).
    const QString upper = codeBox_.Text().toUpper();
    if (upper != codeBox_.Text()) codeBox_.setText(upper);
    const QString code = vb::Trim(codeBox_.Text());
    return lookUp([&](dao::Database& db) { return findDrugByCode(db, code); }, nameBox_, &Drug::name);
}

DrugLookup::Outcome DrugLookup::nameKeyPress(int& keyAscii)
{
    if (keyAscii == forms::vbKeySpace) {
        keyAscii = 0;
        return Outcome::Typing;
    }
    if (keyAscii != forms::vbKeyReturn) return Outcome::Typing;
    keyAscii = 0;
    const QString name = vb::Trim(nameBox_.Text());
    if (name.isEmpty()) return Outcome::Empty;
    return lookUp([&](dao::Database& db) { return findDrugByName(db, name); }, codeBox_, &Drug::code);
}

}  // namespace dispensary
