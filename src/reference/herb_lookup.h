// The herb look-up of the windows that show a composition text (the formula entry and
// query windows, the patent-medicine entry and query windows). The user marks a herb
// name in the composition box and presses the right mouse button; the pop-up menu
// `SeekYc` offers its one item `FindYc` "查询药材特点", which seeks the marked text,
// trimmed, as a whole herb name in `zyyc` and shows that herb in the herb panel: eight
// locked boxes with their labels on a tab of the same window, which is then brought to
// the front. A name not registered leaves the panel as it was and says so.
//
// The two kinds of member differ only in small ways, set by `HerbLookup::Kind`: entry
// windows pop the menu up on button down and button up with `FindYc` shown bold, and
// their boxes have the entry windows' look (label array `Labbq`, last label 临床心得);
// query windows pop it up on button down and on a mouse move with the right button
// alone held, without a default item, and show white text on RGB(128, 128, 255)
// (label array `Labyc`, last label 行医心得). The window keeps its own names for
// showing and hiding the panel and calls `showPanel` / `hidePanel` from them; it owns
// the component, whose boxes, labels and menu belong to the window's widgets.
//
//     herbs = std::make_unique<HerbLookup>(Txtfjnr, SSTab1, 1, HerbLookup::Kind::Entry);
#pragma once

#include "platform/forms/buttons.h"

#include <QObject>

class QAction;
class QMenu;

namespace dao { class Recordset; }

namespace forms {
class TabbedDialog;
class TextBox;
}

namespace reference {

class HerbLookup : public QObject {
    Q_OBJECT
public:
    enum class Kind { Entry, Query };
    // Below the top row, the five multi-line boxes stand in two columns, or one under
    // the other across the full width.
    enum class Rows { TwoColumns, FullWidth };

    // Builds the herb panel on tab `herbTab` of `tabs` (hidden until a herb is found)
    // and binds the right button of `compositionBox` to the pop-up menu.
    HerbLookup(forms::TextBox* compositionBox, forms::TabbedDialog* tabs, int herbTab, Kind kind,
               Rows rows = Rows::TwoColumns);

    // The herb panel, in the order of its boxes on the tab: name, nature and flavour,
    // meridians in one row, then effects, indications, usage, cautions and notes.
    forms::TextBox* Txtycmc;
    forms::TextBox* Txtycxw;
    forms::TextBox* Txtycgj;
    forms::TextBox* Txtycgy;
    forms::TextBox* Txtyczz;
    forms::TextBox* Txtycyf;
    forms::TextBox* Txtycyj;
    forms::TextBox* Txtycgb;
    // `Labbq` of the entry windows or `Labyc` of the query windows, by the window's own
    // numbering of the array.
    forms::ControlArray<forms::Label> labels;

    QMenu* SeekYc;
    QAction* FindYc;

    void showPanel();
    void hidePanel();
    // Empties the eight boxes.
    void clear();

    // The item "查询药材特点": seeks the composition box's selection as a herb name.
    void FindYc_Click();

private:
    // The pop-up trigger of the composition box's mouse events.
    void popUpOnRightButton(int button);
    void fill(const dao::Recordset& herb);

    forms::TextBox* composition_;
    forms::TabbedDialog* tabs_;
    int herbTab_;
    Kind kind_;
};

}  // namespace reference
