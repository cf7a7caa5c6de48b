// The knowledge-base windows' menu items; see reference_menu.h.
#include "reference/reference_menu.h"

#include "core/main_window.h"
#include "dictionary/dictionary_builder.h"
#include "reference/diagnosis_entry.h"
#include "reference/diagnosis_query.h"
#include "reference/formula_entry.h"
#include "reference/formula_query.h"
#include "reference/herb_entry.h"
#include "reference/herb_query.h"
#include "reference/patent_medicine_entry.h"
#include "reference/patent_medicine_query.h"
#include "reference/western_drug_entry.h"

void registerReferenceWindows(core::MDIFqhmz& mainWindow)
{
    using namespace reference;
    mainWindow.wire(QStringLiteral("ZysjDl0"), [] { return new Frmzyyc; });
    mainWindow.wire(QStringLiteral("zycxll0"), [] { return new Frmzyll; }, dictionary::BuildHerbDicts);
    mainWindow.wire(QStringLiteral("ZysjDl1"), [] { return new Frmfjdl; });
    mainWindow.wire(QStringLiteral("zycxll1"), [] { return new Frmfjll; }, dictionary::BuildFormulaDicts);
    mainWindow.wire(QStringLiteral("ZysjDl2"), [] { return new Frmzyzddl; });
    mainWindow.wire(QStringLiteral("zycxll2"), [] { return new Frmzyzdll; }, dictionary::BuildSymptomDict);
    mainWindow.wire(QStringLiteral("ZysjDl3"), [] { return new FrmZycy; });
    mainWindow.wire(QStringLiteral("ZycyCx"), [] { return new FrmCyzy; }, dictionary::BuildPatentMedDicts);
    mainWindow.wire(QStringLiteral("ZysjDl4"), [] { return new FrmXydl; });
}
