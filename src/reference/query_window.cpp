// The query window base; see query_window.h.
#include "reference/query_window.h"

#include "core/enter_chain.h"
#include "core/globals.h"
#include "core/look.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/herb_lookup.h"
#include "reference/like_criteria.h"
#include "reference/result_grid.h"

namespace reference {

QueryWindow::QueryWindow(const QStringList& tabs, Grid grid, Query query)
    : SSTab1(new forms::TabbedDialog(this, tabs)),
      press_(*this),
      grid_(new forms::FlexGrid(SSTab1->Page(QueryTab))),
      gridLayout_(std::move(grid)),
      query_(std::move(query))
{
    setWindowButtons(WindowButtons::None);
    grid_->setToolTipText(gridLayout_.toolTip);
}

QueryWindow::~QueryWindow() = default;

void QueryWindow::onceOnClick(forms::Control* control, std::function<void()> handler)
{
    control->Click = [this, handler = std::move(handler)] { runOnce(handler); };
}

forms::Label* QueryWindow::newLabel(int tab, const char* caption) const
{
    return new forms::Label(SSTab1->Page(tab), QString::fromUtf8(caption));
}

forms::DBCombo* QueryWindow::newCombo(int tab) const
{
    auto* combo = new forms::DBCombo(SSTab1->Page(tab));
    core::giveLook(combo);
    return combo;
}

void QueryWindow::giveDetailLook(std::initializer_list<forms::TextBox*> boxes,
                                 const forms::ControlArray<forms::Label>& labels)
{
    for (forms::TextBox* box : boxes) {
        box->setLocked(true);
        if (box->MultiLine()) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
        core::giveLook(box, core::look::DetailFontSize, false);
        box->setBackColor(core::look::DetailColor);
        box->setForeColor(Qt::white);
    }
    for (forms::Label* label : labels) label->setWordWrap(true);
}

void QueryWindow::setDetail(std::vector<forms::TextBox*> byColumn, std::vector<forms::Control*> others)
{
    detailBoxes_ = std::move(byColumn);
    detailPanel_.assign(detailBoxes_.begin(), detailBoxes_.end());
    detailPanel_.insert(detailPanel_.end(), others.begin(), others.end());
}

PickList& QueryWindow::addPickList(forms::DataControl* data, const QString& sql, const QString& column,
                                   std::initializer_list<forms::DBCombo*> combos)
{
    pickLists_.push_back(std::make_unique<PickList>(data ? data : new forms::DataControl(this), sql, column, combos));
    return *pickLists_.back();
}

void QueryWindow::chain(std::initializer_list<Link> links)
{
    for (const Link& link : links) {
        forms::Control* from = std::visit([](forms::Control* control) { return control; }, link.from);
        from->KeyPress = [link](int& keyAscii) {
            if (!forms::EnterPressed(keyAscii) || !link.next) return;
            const QString text = textOf(link.from);
            if (link.test == Test::Any && text.isEmpty()) return;
            if (link.test == Test::Filled && !core::filled(text)) return;
            auto* box = qobject_cast<forms::TextBox*>(link.next);
            if (box && link.focus == Focus::SelectAll) box->SetFocusSelectAll();
            else if (box && link.focus == Focus::End) box->SetFocusEnd();
            else link.next->SetFocus();
        };
    }
}

void QueryWindow::chainHerbPanel(HerbLookup& herbs)
{
    chain({{herbs.Txtycmc, herbs.Txtycxw}, {herbs.Txtycxw, herbs.Txtycgj}, {herbs.Txtycgj, herbs.Txtycgy},
           {herbs.Txtycgy, herbs.Txtyczz}, {herbs.Txtyczz, herbs.Txtycyj}, {herbs.Txtycyj, herbs.Txtycyf},
           {herbs.Txtycyf, nullptr}, {herbs.Txtycgb, nullptr}});
}

void QueryWindow::setUpGrid()
{
    const int columns = static_cast<int>(gridLayout_.widths.size());
    grid_->setFormatString(gridLayout_.format);
    grid_->setCols(columns);
    grid_->setRows(2);
    grid_->setFixedRows(1);
    grid_->setFixedCols(1);
    for (int col = 0; col < columns; ++col) grid_->setColWidth(col, gridLayout_.widths[static_cast<std::size_t>(col)]);
}

void QueryWindow::fillResult(dao::Recordset& rows) { fillGrid(*grid_, rows, gridLayout_.rowHeight); }

void QueryWindow::refillPickLists()
{
    trapped([this] {
        for (const auto& pickList : pickLists_) pickList->refill();
    });
}

void QueryWindow::showDetail(bool shown)
{
    for (forms::Control* control : detailPanel_) control->setVisible(shown);
}

void QueryWindow::clearCriteria()
{
    for (const Criterion& criterion : criteria_) setTextOf(criterion.input, QString());
}

void QueryWindow::reset(const std::function<void()>& listAll)
{
    const PumpScope pumping(*this);
    refillPickLists();
    forms::DoEvents();
    clearCriteria();
    for (forms::TextBox* box : detailBoxes_) box->setText(QString());
    forms::DoEvents();
    listAll();
    forms::DoEvents();
    SSTab1->setTab(QueryTab);
    forms::Screen::setMousePointer(forms::vbArrow);
}

void QueryWindow::listRows(const std::function<dao::Recordset(dao::Database&)>& open)
{
    trapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset rows = open(db);
        if (!rows.eof()) fillResult(rows);
    });
}

void QueryWindow::runQuery()
{
    std::vector<LikeCriterion> conditions;
    for (const Criterion& criterion : criteria_) {
        const QString text = vb::Trim(textOf(criterion.input));
        if (query_.trimInPlace && text != textOf(criterion.input)) setTextOf(criterion.input, text);
        conditions.push_back({QString::fromUtf8(criterion.column), text});
    }
    if (!query_.noCriterion.isEmpty() && allEmpty(conditions)) {
        std::visit([](forms::Control* control) { control->SetFocus(); }, criteria_.front().input);
        forms::Notice(query_.noCriterion);
        return;
    }
    const QString sql = QStringLiteral("select * from ") + query_.table + whereClause(conditions) + u' ' + query_.order;
    const PumpScope pumping(*this);
    bool none = false;
    trapped([&] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        dao::Recordset found = db.storeAndOpen(query_.resultQuery, sql);
        forms::Screen::setMousePointer(forms::vbHourglass);
        none = found.eof();   // a row without a name (imported) is a match too
        if (!none) fillResult(found);
    });
    if (none) {
        forms::Notice(query_.noMatch);
        Qpcls();
    }
    forms::Screen::setMousePointer(forms::vbArrow);
}

std::optional<QString> QueryWindow::clickedName()
{
    const int row = grid_->MouseRow();
    if (row < 1 || row >= grid_->Rows()) return std::nullopt;
    grid_->setRow(row);
    grid_->setCol(0);
    const QString name = vb::Trim(grid_->Text());
    if (!name.isEmpty()) return name;
    forms::Notice(query_.noName);
    return std::nullopt;
}

void QueryWindow::showRecord(const QString& name)
{
    const PumpScope pumping(*this);
    trapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset record = db.storeAndOpen(QStringLiteral("ycnr"), QStringLiteral("select * from ") + query_.table
                                                                            + QStringLiteral(" where ") + query_.nameColumn
                                                                            + QStringLiteral(" = ") + dao::quote(name));
        if (record.eof()) return;
        showDetail(true);
        forms::DoEvents();
        int column = 0;
        for (forms::TextBox* box : detailBoxes_) box->setText(record.field(column++).toString());
        SSTab1->setTab(DetailTab);
    });
}

}  // namespace reference
