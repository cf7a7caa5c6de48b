// The shared look and the field layout; see look.h.
#include "core/look.h"

#include "core/entry_boxes.h"
#include "platform/forms/buttons.h"
#include "platform/forms/textbox.h"

namespace core {

forms::TextBox* makeBox(QWidget* parent, int maxLength)
{
    auto* box = new forms::TextBox(parent);
    giveLook(box);
    box->setMaxLength(maxLength);
    return box;
}

forms::MaskEdBox* makeDateBox(QWidget* parent)
{
    auto* box = new forms::MaskEdBox(parent);
    giveLook(box);
    box->setMaxLength(10);
    makeDateBox(*box);
    return box;
}

forms::CommandButton* makeButton(QWidget* parent, const QString& caption)
{
    auto* button = new forms::CommandButton(parent, caption);
    giveLook(button, look::FontSize, false);
    return button;
}

void giveLook(forms::Control* control, double fontSize, bool coloured)
{
    control->setFont(look::FontName, fontSize);
    if (coloured) control->setBackColor(look::BoxColor);
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
