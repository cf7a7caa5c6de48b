// The normaliser that every entry window runs over a free text before storing it:
// half-width punctuation becomes full-width so that the dictionary builders can cut
// terms at the full-width marks, decimal points between digits survive, blanks and
// stray line feeds go, and an empty text is stored as two blanks.
#pragma once

#include <QString>

namespace core {

// Returns the text to store; the caller's text is left as it was.
QString NormalizeText(const QString& text);

}  // namespace core
