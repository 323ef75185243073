// Builds the fresh catalog that the program copies in when its folder has none:
// the program's own tables and the one parameter row, no sections.
#include "data/schema.h"
#include "data/sqlliteral.h"
#include "common/globals.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkfreshcatalog TARGET\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const QString building = target + QStringLiteral(".part");
    QFile::remove(building);
    try {
        Ws = std::make_unique<dao::Workspace>(QStringLiteral("admin"));
        Db = Ws->CreateDatabase(building);
        VytvorTabulky(*Db);
        const QString version = QStringLiteral("%1.%2.%3")
                                    .arg(OSKAL_VERSION_MAJOR).arg(OSKAL_VERSION_MINOR).arg(OSKAL_VERSION_REVISION);
        Db->Execute(QStringLiteral("INSERT INTO S_Param (Inter, PodporaKopii, Verze) VALUES (%1, %2, %3)")
                        .arg(CSQL(0), CSQL(false), CSQL(version)));
        Db->Close();
    } catch (const VbError &e) {
        std::fprintf(stderr, "mkfreshcatalog: %s\n", e.what());
        QFile::remove(building);
        return 1;
    }
    // Put in place whole, so that an interrupted build never leaves half a catalog.
    QFile::remove(target);
    if (!QFile::rename(building, target)) {
        std::fprintf(stderr, "mkfreshcatalog: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
