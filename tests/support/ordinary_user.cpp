// See ordinary_user.h.
#include "support/ordinary_user.h"

#include <QDirIterator>
#include <QFile>
#include <stdexcept>
#include <unistd.h>

namespace {
constexpr uid_t nobody = 65534;
}

OrdinaryUser::OrdinaryUser(const QString& dir)
{
    if (geteuid() != 0) return;
    bool owned = ::chown(QFile::encodeName(dir).constData(), nobody, nobody) == 0;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) owned = ::chown(QFile::encodeName(it.next()).constData(), nobody, nobody) == 0 && owned;
    if (!owned || setegid(nobody) != 0 || seteuid(nobody) != 0)
        throw std::runtime_error("cannot run as an ordinary user");
    switched_ = true;
}

OrdinaryUser::~OrdinaryUser()
{
    if (!switched_) return;
    if (seteuid(0) != 0 || setegid(0) != 0) std::terminate();
}
