#include "data/selectedrecords.h"

#include "dao.h"
#include "data/selectioncondition.h"
#include "data/sqlliteral.h"

namespace {

// Runs the statements in one transaction of ws; the rows the first one changed.
long inTransaction(dao::Workspace &ws, dao::Database &db, const QStringList &statements)
{
    dao::Transaction trans(ws);
    long affected = 0;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        db.Execute(statements[i]);
        if (i == 0)
            affected = db.RecordsAffected();
    }
    trans.Commit();
    return affected;
}

}  // namespace

QString PocetVybranychSql(qint32 sekce, const QString &podminka)
{
    return QStringLiteral("select count(*) from katalog where ") + FiltrVyberu(sekce, podminka);
}

QStringList SmazaniVybranychSql(qint32 sekce, const QString &podminka)
{
    return {QStringLiteral("Delete * from katalog where ") + FiltrVyberu(sekce, podminka),
            QStringLiteral("Delete * from obrazky where inter not in (select inter from katalog)")};
}

QString PresunVybranychSql(qint32 sekce, qint32 cil, const QString &podminka)
{
    return QStringLiteral("Update katalog set sekce=") + CSQL(cil) + QStringLiteral(" where ") + FiltrVyberu(sekce, podminka);
}

qint32 PocetVybranych(dao::Database &db, qint32 sekce, const QString &podminka)
{
    return db.OpenRecordset(PocetVybranychSql(sekce, podminka))->Fields(0).Value().toLong();
}

long SmazVybrane(dao::Workspace &ws, dao::Database &db, qint32 sekce, const QString &podminka)
{
    return inTransaction(ws, db, SmazaniVybranychSql(sekce, podminka));
}

long PresunVybrane(dao::Workspace &ws, dao::Database &db, qint32 sekce, qint32 cil, const QString &podminka)
{
    return inTransaction(ws, db, {PresunVybranychSql(sekce, cil, podminka)});
}

QStringList SmazaniZaznamuSql(qint32 inter)
{
    return {QStringLiteral("Delete * from katalog where inter=") + CSQL(inter),
            QStringLiteral("Delete * from obrazky where inter=") + CSQL(inter)};
}

long SmazZaznam(dao::Workspace &ws, dao::Database &db, qint32 inter)
{
    return inTransaction(ws, db, SmazaniZaznamuSql(inter));
}
