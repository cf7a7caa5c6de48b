// The herb look-up pop-up and its herb panel; see herb_lookup.h.
#include "reference/herb_lookup.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/look.h"
#include "platform/dao/dao.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QAction>
#include <QColor>
#include <QMenu>

namespace reference {

namespace {

const QString NotRegistered = QStringLiteral("查询药材的名称不对或系统中没有登记要查询的药材");

// One box of the panel: its place on the tab, its label's caption and place, and the
// label's index in the entry windows' `Labbq` and in the query windows' `Labyc`.
struct PanelBox {
    forms::TextBox* HerbLookup::*box;
    int left, top, width, height;
    const char* caption;
    int labelLeft, labelTop;
    int entryLabel, queryLabel;
    bool multiLine;
};

// Every member shows the panel in the same places; only the last caption differs.
const PanelBox Panel[] = {
    {&HerbLookup::Txtycmc, 840, 600, 3015, 375, "名称", 360, 720, 0, 0, false},
    {&HerbLookup::Txtycxw, 4560, 600, 2655, 375, "性味", 4080, 720, 1, 3, false},
    {&HerbLookup::Txtycgj, 7920, 600, 3375, 375, "归经", 7440, 720, 2, 7, false},
    {&HerbLookup::Txtycgy, 840, 1080, 5055, 1215, "功效", 360, 1440, 7, 1, true},
    {&HerbLookup::Txtyczz, 6600, 1080, 4695, 2895, "主治", 6120, 2280, 3, 4, true},
    {&HerbLookup::Txtycyf, 840, 2520, 5055, 1455, "用法", 360, 3000, 6, 2, true},
    {&HerbLookup::Txtycyj, 840, 4200, 10455, 975, "宜忌", 360, 4560, 4, 5, true},
    {&HerbLookup::Txtycgb, 840, 5400, 10455, 1935, nullptr, 360, 6000, 5, 6, true},
};
constexpr int LabelWidth = 480;
constexpr int LabelHeight = 720;
// The full-width rows: the five multi-line boxes of `Panel` one under the other.
constexpr int FullWidthTop = 1080;
constexpr int FullWidthPitch = 1260;
constexpr int FullWidthHeight = 1140;
constexpr int FullWidth = 10455;

// The boxes take columns 0 to 7 of `zyyc` in this order.
forms::TextBox* HerbLookup::* const ByColumn[] = {
    &HerbLookup::Txtycmc, &HerbLookup::Txtycgj, &HerbLookup::Txtycxw, &HerbLookup::Txtycgy,
    &HerbLookup::Txtyczz, &HerbLookup::Txtycyf, &HerbLookup::Txtycyj, &HerbLookup::Txtycgb};

}  // namespace

HerbLookup::HerbLookup(forms::TextBox* compositionBox, forms::TabbedDialog* tabs, int herbTab, Kind kind, Rows rows)
    : SeekYc(new QMenu(compositionBox)),
      FindYc(SeekYc->addAction(QStringLiteral("查询药材特点"))),
      composition_(compositionBox), tabs_(tabs), herbTab_(herbTab), kind_(kind)
{
    const bool entry = kind == Kind::Entry;
    QWidget* page = tabs->Page(herbTab);
    std::vector<forms::Label*> byIndex(std::size(Panel));
    int row = 0;
    for (PanelBox place : Panel) {
        if (rows == Rows::FullWidth && place.multiLine) {
            place.left = Panel[0].left;
            place.labelLeft = Panel[0].labelLeft;
            place.top = FullWidthTop + row++ * FullWidthPitch;
            place.width = FullWidth;
            place.height = FullWidthHeight;
            place.labelTop = place.top + 240;
        }
        auto* box = new forms::TextBox(page, place.multiLine ? forms::TextBox::Lines::Multi
                                                             : forms::TextBox::Lines::Single);
        this->*place.box = box;
        box->Move(place.left, place.top - core::look::TabStripHeight, place.width, place.height);
        box->setLocked(true);
        if (place.multiLine) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
        core::giveLook(box, entry ? core::look::FontSize : core::look::DetailFontSize);
        if (!entry) {
            box->setBackColor(core::look::DetailColor);
            box->setForeColor(Qt::white);
        }
        const QString caption = place.caption ? QString::fromUtf8(place.caption)
                                              : QStringLiteral("%1心得").arg(entry ? "临床" : "行医");
        auto* label = new forms::Label(page, caption);
        label->setFont(core::look::FontName, core::look::FontSize);
        label->setWordWrap(true);
        label->Move(place.labelLeft, place.labelTop - core::look::TabStripHeight, LabelWidth, LabelHeight);
        byIndex[static_cast<std::size_t>(entry ? place.entryLabel : place.queryLabel)] = label;
    }
    for (forms::Label* label : byIndex) labels.add(label);
    hidePanel();

    compositionBox->setToolTipText(QStringLiteral("拖动鼠标选中药材，双击鼠标右键，即可查询药材特点"));
    // The box's own edit menu would follow ours on the same right button.
    compositionBox->inner()->setContextMenuPolicy(Qt::PreventContextMenu);
    auto trigger = [this](int button, int, int, int) { popUpOnRightButton(button); };
    compositionBox->MouseDown = trigger;
    if (entry) compositionBox->MouseUp = trigger;
    else compositionBox->MouseMove = trigger;
    connect(FindYc, &QAction::triggered, this, [this] { FindYc_Click(); });
}

void HerbLookup::popUpOnRightButton(int button)
{
    if (button != forms::vbRightButton || vb::Trim(composition_->SelText()).isEmpty()) return;
    forms::PopupMenu(SeekYc, kind_ == Kind::Entry ? FindYc : nullptr);
}

void HerbLookup::showPanel()
{
    for (const PanelBox& place : Panel) (this->*place.box)->show();
    for (forms::Label* label : labels) label->show();
}

void HerbLookup::hidePanel()
{
    for (const PanelBox& place : Panel) (this->*place.box)->hide();
    for (forms::Label* label : labels) label->hide();
}

void HerbLookup::clear()
{
    for (const PanelBox& place : Panel) (this->*place.box)->setText(QString());
}

// A database failure is reported and leaves the panel as it was; the selection goes
// into the query as one quoted text, so an apostrophe in it is sought like any other
// character.
void HerbLookup::FindYc_Click()
{
    const QString sql = QStringLiteral("select * from zyyc where ycmc =") + dao::quote(vb::Trim(composition_->SelText()));
    bool found = false;
    const bool ran = core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset herb = db.storeAndOpen(QStringLiteral("ycmccx"), sql);
        found = !herb.eof() && !herb.field(0).isNull();
        if (found) fill(herb);
    });
    if (!ran) return;
    if (!found) {
        forms::Notice(NotRegistered);
        return;
    }
    showPanel();
    tabs_->setTab(herbTab_);
}

void HerbLookup::fill(const dao::Recordset& herb)
{
    for (int column = 0; column < static_cast<int>(std::size(ByColumn)); ++column) {
        const vb::Variant value = herb.field(column);
        (this->*ByColumn[column])->setText(value.isNull() ? QString() : value.toString());
    }
}

}  // namespace reference
