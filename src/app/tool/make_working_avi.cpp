// Build tool: writes the animation clip working.avi that the program ships in its own
// folder (the backup window plays it while a copy runs).
#include "platform/forms/animation.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make_working_avi <path>\n";
        return 2;
    }
    if (!forms::writeWorkingAvi(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
