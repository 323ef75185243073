#pragma once

// A catalog to work on for the catalog's tests: the program folder's fresh catalog,
// copied and opened as the program's Db, and small ways to fill and read it.

#include "common/globals.h"
#include "dao.h"
#include "testsupport.h"

namespace testsupport {

// Opens a writable copy of the fresh catalog of `folder` as Ws and Db.
inline void openFreshCatalog(const ProgramFolder &folder)
{
    const QString path = folder.file(QStringLiteral("QIRData.mdb"));
    QVERIFY(QFile::copy(folder.file(QStringLiteral("QIRData.upg")), path));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
}

// A field definition of a section: order, field number, shown, caption and type letter.
inline void defineField(int section, int order, int field, bool shown, const QString &caption, const QString &type)
{
    Db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Popis, Nazev, Typ, Zarovnani, Sekce) "
                               "values (%1, 'Pol%2', %3, 0, '%4', '%5', 'L', %6)")
                    .arg(order).arg(field).arg(shown ? 1 : 0).arg(caption, type).arg(section));
}

// The first field of the first row of a query; Empty when it has no row.
inline Variant scalar(const QString &sql)
{
    auto rs = Db->OpenRecordset(sql);
    return rs->Eof() ? Variant() : rs->Fields(0).Value();
}

}  // namespace testsupport
