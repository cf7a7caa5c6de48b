// Start-up of the program: reads the Windows folder and the registered owner, makes
// sure the database file stands at WindowsDir + "\system\zyqhmz.mdb" (placing the
// shipped copy there at the first start), then shows the main window and runs the
// event loop. With neither file present the system data is lost and the program ends;
// a database file the system's key does not open is reported in the error form and
// the program ends without touching it. The database stays open for the run. A
// start also sweeps what killed runs left behind (copies' temporary files, workbooks'
// scratch folders, old shared texts) and makes an existing database file 0600 and its
// folders 0700, as earlier versions did not.
#pragma once

#include <QString>
#include <functional>

namespace core {

class MDIFqhmz;

// Reads WindowsDir and OwnerName, places the database and opens it for the run
// (HoldDb); false, after telling the user ("系统数据丢失，请将原系统卸载，重新安装。", or
// "错误号码：" and "错误内容：" naming the file and the cause), when the system cannot start.
bool PrepareSystem(const QString& shippedDatabase);

// The whole run: PrepareSystem, the main window with the windows that
// `registerWindows` wires to its menus, and the event loop. Returns the exit code.
int RunSystem(const QString& shippedDatabase,
              const std::function<void(MDIFqhmz&)>& registerWindows);

}  // namespace core
