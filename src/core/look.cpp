// The shared look and the field layout; see look.h.
#include "core/look.h"

#include "core/entry_boxes.h"
#include "platform/forms/buttons.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"

namespace core {

namespace {
forms::TextBox* makeTextBox(QWidget* parent, forms::TextBox::Lines lines, int maxLength)
{
    auto* box = new forms::TextBox(parent, lines);
    giveLook(box);
    box->setMaxLength(maxLength);
    return box;
}
}  // namespace

forms::TextBox* makeBox(QWidget* parent, int maxLength)
{
    return makeTextBox(parent, forms::TextBox::Lines::Single, maxLength);
}

forms::MaskEdBox* makeDateBox(QWidget* parent)
{
    auto* box = new forms::MaskEdBox(parent);
    giveLook(box);
    box->setMaxLength(10);
    makeDateBox(*box);
    return box;
}

forms::TextBox* makeTextArea(QWidget* parent, int maxLength)
{
    forms::TextBox* box = makeTextBox(parent, forms::TextBox::Lines::Multi, maxLength);
    box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    return box;
}

forms::ComboBox* makeCombo(QWidget* parent)
{
    auto* combo = new forms::ComboBox(parent);
    giveLook(combo);
    return combo;
}

forms::CommandButton* makeButton(QWidget* parent, const QString& caption)
{
    auto* button = new forms::CommandButton(parent, caption);
    giveLook(button, look::FontSize, false);
    return button;
}

forms::Label* makeLabel(QWidget* parent, const QString& caption)
{
    auto* label = new forms::Label(parent, caption);
    giveLook(label, look::FontSize, false);
    return label;
}

void giveLook(forms::Control* control, double fontSize, bool coloured)
{
    control->setFont(look::FontName, fontSize);
    if (coloured) control->setBackColor(look::BoxColor);
}

void placeAll(std::initializer_list<Placement> placements)
{
    for (const Placement& placement : placements) {
        placement.control->Move(placement.left, placement.top, placement.width, placement.height);
        giveLook(placement.control, look::FontSize, false);
    }
}

int FieldLayout::place(const QString& caption, forms::Control* box, int left, int top, int boxWidth) const
{
    return place(new forms::Label(window_, caption), box, left, top, boxWidth);
}

int FieldLayout::place(forms::Label* label, forms::Control* box, int left, int top, int boxWidth) const
{
    label->setFont(look::FontName, label_.fontSize);
    label->setWordWrap(label_.wrap);
    label->Move(left, top + label_.drop, label_.width, label_.height);
    const int boxLeft = left + label_.width + label_.gap;
    box->Move(boxLeft, top, boxWidth, look::BoxHeight);
    return boxLeft + boxWidth;
}

}  // namespace core
