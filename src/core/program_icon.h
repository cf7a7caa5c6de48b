// The program's own icon, painted here rather than shipped as a picture: a gold
// gourd, the dispensary's old sign, on a deep red tile. The main window sets it for
// the whole program, so the working windows, the help and progress windows and the
// message boxes all carry it instead of the toolkit's logo.
#pragma once

#include <QIcon>

namespace core {

QIcon programIcon();

}  // namespace core
