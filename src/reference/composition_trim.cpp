// The composition box's trim before each key; see composition_trim.h.
#include "reference/composition_trim.h"

#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <algorithm>

namespace reference {

void RetakeTrimmedText(forms::TextBox& box)
{
    const QString text = box.Text();
    const QString trimmed = vb::Trim(text);
    if (trimmed == text) return;
    // Blanks trimmed off the start shift every position left; those off the end move
    // a caret standing among them back to the new end (the box clamps it there).
    const int shift = static_cast<int>(text.size() - vb::LTrim(text).size());
    const int start = std::max(box.SelStart() - shift, 0);
    const int end = std::max(box.SelStart() + box.SelLength() - shift, 0);
    box.setText(trimmed);
    box.setSelStart(start);
    box.setSelLength(end - start);
}

}  // namespace reference
