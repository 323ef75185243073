#include "data/repair.h"

#include "dao.h"
#include "data/archive.h"

#include <QFile>
#include <QFileInfo>

void OpravKatalog(const QString &catalog, std::unique_ptr<dao::Workspace> &ws, std::unique_ptr<dao::Database> &db)
{
    const QString compacted = QFileInfo(catalog).absolutePath() + QStringLiteral("/QIRData.new");
    QFile::remove(compacted);  // left by an earlier attempt, if at all
    UschovejKatalog(catalog);
    dao::CompactDatabase(catalog, compacted, QStringLiteral(";LANGID=0x0405;CP=1250;COUNTRY=0; pwd="), 2,
                         QStringLiteral("; pwd="));
    // Into the file the catalog is, wherever a link leads to it.
    dao::OverwriteDatabase(compacted, catalog);
    QFile::remove(compacted);
    ws = dao::CreateWorkspace(QString(), QStringLiteral("admin"), QString(), 2);
    db = ws->OpenDatabase(catalog, false, false, QStringLiteral(";pwd="));
    // The names first, then the drops: a walk over the live list would skip the table
    // after each one dropped.
    QStringList names;
    for (int i = 0; i < db->TableDefs().Count(); ++i)
        names << db->TableDefs()[i].Name();
    for (const QString &name : names)
        if (name.left(3).toLower() == QLatin1String("tmp"))
            db->Execute(QStringLiteral("Drop table [") + name + QLatin1Char(']'));
    db->TableDefs().Refresh();
}
