// The composition box of the formula and patent-medicine entry windows takes back its
// text trimmed of blanks before each key it receives, so that no leading or trailing
// blank of a paste survives. The typed key must still land where the user typed it:
// the text is re-taken only when trimming changes it, and the caret and the selection
// stay on the same characters.
#pragma once

namespace forms { class TextBox; }

namespace reference {

void RetakeTrimmedText(forms::TextBox& box);

}  // namespace reference
