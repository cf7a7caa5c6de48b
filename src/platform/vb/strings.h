// Trim and LTrim of the old runtime: they remove ASCII blanks (U+0020) only;
// tabs, line breaks and the full-width blank "　" stay where they are.
#pragma once

#include <QString>

namespace vb {

QString LTrim(const QString& text);
QString Trim(const QString& text);

}  // namespace vb
