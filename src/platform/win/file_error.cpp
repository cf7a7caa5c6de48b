// errno values as the old runtime's file errors; see file_error.h.
#include "platform/win/file_error.h"

#include <QDir>

#include <cerrno>

namespace win {

Error pathNotFound() { return Error(76, QStringLiteral("路径未找到")); }
Error fileAccessError() { return Error(75, QStringLiteral("路径/文件访问错误")); }

Error fileError(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT: return Error(53, QStringLiteral("文件未找到"));
    case ENOTDIR: return pathNotFound();
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return Error(61, QStringLiteral("磁盘已满"));
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY: return Error(70, QStringLiteral("没有权限"));
    case EIO: return Error(57, QStringLiteral("设备 I/O 错误"));
    default: return fileAccessError();
    }
}

Error folderError(int errnoValue, const QString& folder)
{
    const Error error = fileError(errnoValue);
    if (error.number() != 70) return error;
    return Error(70, QStringLiteral("没有权限：不能在文件夹“%1”中写入文件").arg(QDir::toNativeSeparators(folder)));
}

}  // namespace win
