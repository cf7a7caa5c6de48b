// Build tool: writes the shipped, empty zyqhmz.mdb (every table and named index,
// encrypted with the system's password) to the path given on the command line.
#include "data/database_file.h"
#include "platform/dao/dao.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_database <output zyqhmz.mdb>\n");
        return 2;
    }
    try {
        data::createDatabase(QString::fromLocal8Bit(argv[1]), data::databasePassword());
    } catch (const dao::Error& error) {
        std::fprintf(stderr, "make_database: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
