// File errors in the old runtime's terms. The environment helpers and the office
// stand-ins throw win::Error (the runtime's error: a number and a Chinese
// description) for a failed system call, so a window's error trap can show them.
#pragma once

#include "platform/vb/error.h"

namespace win {

using Error = vb::Error;

// 53 文件未找到, 57 设备 I/O 错误, 61 磁盘已满, 70 没有权限, 75 路径/文件访问错误,
// 76 路径未找到, chosen from an errno value.
Error fileError(int errnoValue);
// The same for a file to be made in `folder`; a refused permission names the folder.
Error folderError(int errnoValue, const QString& folder);
Error pathNotFound();
Error fileAccessError();   // 75, where no errno says more

}  // namespace win
