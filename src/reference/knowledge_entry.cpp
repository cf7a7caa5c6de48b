// The base of the knowledge-base entry windows; see knowledge_entry.h.
#include "reference/knowledge_entry.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/input_check.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "platform/dao/dao.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "reference/bound_lists.h"
#include "reference/like_criteria.h"

namespace reference {

KnowledgeEntry::KnowledgeEntry() = default;
KnowledgeEntry::~KnowledgeEntry() = default;

void KnowledgeEntry::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

void KnowledgeEntry::wireButtons(const Buttons& buttons)
{
    buttons.save->Click = [this] { road_->save(); };
    buttons.edit->Click = [this] { road_->edit(); };
    buttons.clear->Click = [this] { clearToKey(); };
    buttons.print->Click = [this] { Cmdprnt_Click(); };
    if (buttons.seek) buttons.seek->Click = [this] { seek(); };
}

void KnowledgeEntry::openRoad(RoadControls controls, KnowledgeRecord record)
{
    keyBox_ = controls.keyBox;
    road_ = std::make_unique<EntryRoad>(EntryRoad::Window{*this, [this] { return srnrJy(); }, [this] { Qpcls(); },
                                                          controls.keyBox, controls.saveButton, controls.editButton,
                                                          controls.trap, controls.deleteTrap},
                                        std::move(record));
}

void KnowledgeEntry::setUpNames() { names_->list->setUp(); }

// ---- the reset ----------------------------------------------------------------------

void KnowledgeEntry::Qpcls()
{
    const PumpScope pumping(*this);
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    road_->record().clear();
    if (!lists_.empty())
        core::runTrapped([this] {
            dao::Database db = core::OpenDb();
            for (const Listed& list : lists_) {
                dao::Recordset rows = db.storeAndOpen(list.query, list.sql);
                fillCombo(*list.combo, rows, list.nullAsEmpty);
            }
        });
    if (names_) showAllNames();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void KnowledgeEntry::showAllNames()
{
    const Counted& count = names_->count;
    core::runTrapped([&] {
        int rows = names_->list->show(names_->query, names_->sql);
        if (names_->countQuery) {
            dao::Database db = core::OpenDb();
            rows = db.storeAndOpen(names_->countQuery->first, names_->countQuery->second).recordCount();
        }
        forms::DoEvents();
        count.label->setCaption(rows == 0 && !count.none.isEmpty() ? count.none : count.all.arg(rows));
    });
}

void KnowledgeEntry::clearToKey()
{
    road_->writer().guarded([this] {
        Qpcls();
        forms::DoEvents();
        keyBox_->SetFocus();
    });
}

// ---- the input check ----------------------------------------------------------------

bool KnowledgeEntry::srnrJy()
{
    for (const Input& box : checks_.trimmed) setTextOf(box, trimmedTextOf(box));
    srnrcw = 1;
    std::vector<core::InputCheck> steps;
    for (const Required& required : checks_.required)
        steps.push_back({[box = required.box] { return trimmedTextOf(box).isEmpty(); }, required.message,
                         controlOf(required.box), false});
    if (!core::passesChecks(steps)) return false;
    if (checks_.notes && trimmedTextOf(*checks_.notes).isEmpty()) setTextOf(*checks_.notes, checks_.filler);
    srnrcw = 0;
    return true;
}

// ---- the search ---------------------------------------------------------------------

void KnowledgeEntry::seek()
{
    std::vector<LikeCriterion> criteria;
    for (const Searched& searched : search_->criteria) {
        const QString text = trimmedTextOf(searched.box);
        if (search_->trimsBoxes) setTextOf(searched.box, text);
        criteria.push_back({searched.column, text});
    }
    if (allEmpty(criteria)) {
        forms::Notice(search_->noCriterion);
        keyBox_->SetFocus();
        return;
    }
    const QString sql =
        QStringLiteral("select * from ") + search_->table + whereClause(criteria) + u' ' + search_->orderBy;
    road_->writer().guarded([&] {
        if (showFound(search_->query, sql)) return;
        forms::Notice(search_->noMatch);
        if (search_->resetsOnNoMatch) Qpcls();
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

bool KnowledgeEntry::showFound(const QString& query, const QString& sql)
{
    int found = -1;
    core::runTrappedLine([&] { found = names_->list->show(query, sql, true); });
    if (found > 0) names_->count.label->setCaption(names_->count.found.arg(found));
    return found != 0;
}

// ---- the print ----------------------------------------------------------------------

void KnowledgeEntry::Cmdprnt_Click()
{
    const PumpScope pumping(*this);
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    core::runTrappedLine([this] {
        std::vector<HandOffLine> lines;
        for (const Printed& line : print_->lines) {
            if (line.required && trimmedTextOf(line.box).isEmpty()) {
                const QString refusal = QStringLiteral("打印内容输入不完全，不能打印");
                if (print_->refusalTitled) forms::MsgBox(refusal, forms::vbOKOnly);
                else forms::MsgBox(refusal, forms::vbOKOnly, QString());
                print_->refusedFocus->SetFocus();
                return;
            }
            lines.emplace_back(line.caption, textOf(line.box));
        }
        const QString text = handOffText(lines, print_->dateLine);
        if (print_->paused) core::PauseAfterPrint(print_->paused);
        core::ShowTextInWord(text);
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

}  // namespace reference
