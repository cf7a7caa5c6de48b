// The look the windows share: 宋体 in the sizes below, the light blue RGB(192, 192, 255)
// of the entry boxes and grids, boxes 360 twips high. A window makes its controls
// through the makers here (boxes, text areas and combos in the light blue, buttons and
// labels uncoloured), then places them in one of two ways, so no window repeats fonts,
// colours or the arithmetic of a label beside its box:
// - placeAll, a table of every control and its place in twips, for a window whose
//   description numbers each place (the knowledge-base entry windows);
// - FieldLayout, rows of a label beside its box, for a window of such rows.
//
//   Txtycbm = core::makeBox(this, 20);                       // 宋体 10.5, light blue
//   core::placeAll({{Txtycbm, 840, 120, 1380, 360}, {Label1, 240, 180, 600, 300}});
#pragma once

#include <QColor>
#include <QString>
#include <initializer_list>

class QWidget;

namespace forms {
class ComboBox;
class CommandButton;
class Control;
class Label;
class MaskEdBox;
class TextBox;
}

namespace core {

namespace look {
inline const QString FontName = QStringLiteral("宋体");
constexpr double FontSize = 10.5;        // boxes, buttons, grids of the entry windows
constexpr double LabelFontSize = 9;      // labels of four characters in a narrow column
constexpr double GridFontSize = 11.25;   // the drug list's grid
constexpr double DetailFontSize = 11.25; // the locked detail boxes of the query windows
inline const QColor BoxColor = QColor(192, 192, 255);
// The locked detail boxes of the query windows: white text on this blue, 11.25 pt.
inline const QColor DetailColor = QColor(128, 128, 255);
constexpr int BoxHeight = 360;           // twips
// Places on a tab were given from the top of the tabbed control, its tab strip
// included; on a tab's page they stand this much higher.
constexpr int TabStripHeight = 360;
}  // namespace look

// A text box of the look (宋体 10.5 pt, light blue), `maxLength` 0 for none.
forms::TextBox* makeBox(QWidget* parent, int maxLength);
// A date box of the look: mask "####-##-##", prompt "_", at most 10 characters.
forms::MaskEdBox* makeDateBox(QWidget* parent);
// A multi-line text box of the look with a vertical scroll bar, `maxLength` 0 for none.
forms::TextBox* makeTextArea(QWidget* parent, int maxLength = 0);
// An editable combo box of the look.
forms::ComboBox* makeCombo(QWidget* parent);
// A command button in 宋体 10.5 pt.
forms::CommandButton* makeButton(QWidget* parent, const QString& caption);
// A label in 宋体 10.5 pt.
forms::Label* makeLabel(QWidget* parent, const QString& caption = QString());
// Gives a control of another kind (a combo box, a grid) the look's font and colour.
void giveLook(forms::Control* control, double fontSize = look::FontSize, bool coloured = true);

// A control and where it stands, in twips. `placeAll` moves each one there and gives it
// the look's font, 宋体 10.5 pt (its colour stays as its maker gave it).
struct Placement {
    forms::Control* control;
    int left, top, width, height;
};
void placeAll(std::initializer_list<Placement> placements);

// A label and its box side by side. The label stands `drop` twips lower than the
// box's top (negative: higher), `width` wide and `height` high, then `gap` twips of
// space, then the box, `look::BoxHeight` high. The label's text may wrap onto two lines.
class FieldLayout {
public:
    struct Label {
        int width;
        int gap = 0;
        int drop = 60;
        int height = look::BoxHeight - 60;
        double fontSize = look::LabelFontSize;
        bool wrap = false;
    };
    FieldLayout(QWidget* window, const Label& label) : window_(window), label_(label) {}

    // Places a new label reading `caption` and `box` from `left`, the box's top at
    // `top`, the box `boxWidth` wide; returns the box's right edge.
    int place(const QString& caption, forms::Control* box, int left, int top, int boxWidth) const;
    // The same with a label the window already has.
    int place(forms::Label* label, forms::Control* box, int left, int top, int boxWidth) const;

private:
    QWidget* window_;
    Label label_;
};

}  // namespace core
