// The fixed help texts that the help window shows, one per help code of a working
// window ("BM", "YCKC", "YC", ...). A code without a text gives an empty text.
#pragma once

#include <QString>

namespace core {

QString helpTextFor(const QString& helpCode);

}  // namespace core
