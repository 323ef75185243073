#pragma once

// A catalog to work on for the catalog's tests: a fresh program folder with its catalog
// open as the program's Db and the program's shared state reset around it, and small ways
// to fill the catalog from tables of rows and to read it.

#include "common/globals.h"
#include "common/translation.h"
#include "dao.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "data/schema.h"
#include "system.h"
#include "testsupport.h"

#include <initializer_list>

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

// The program's shared state with no window open: the program folder and the user given,
// Czech with no messages loaded, the program not ending, no current section, no beep
// heard. With no folder and no user it is the state the program starts in.
inline void resetProgramState(const QString &appPath, const QString &user)
{
    AppPath = appPath;
    Uzivatel = user;
    Jazyk = QStringLiteral("1");
    Preklady.reset();
    KonecProgramu = false;
    Prehled().Vynuluj();
    sys::resetBeepCount();
}

// A fresh program folder for one test, its catalog open as Ws and Db and the program's
// state as start-up leaves it for the user PC1 (resetProgramState); when it goes, the
// catalog is closed and the state is the one the program starts in again. The test
// closes its windows first: they save into the catalog as they close. Not for the tests
// of start-up, which opens the catalog and sets the state itself.
class CatalogFolder : public ProgramFolder
{
public:
    CatalogFolder()
    {
        resetProgramState(path(), QStringLiteral("PC1"));
        openFreshCatalog(*this);
    }
    ~CatalogFolder()
    {
        Db.reset();
        Ws.reset();
        resetProgramState(QString(), QString());
    }
    CatalogFolder(const CatalogFolder &) = delete;
    CatalogFolder &operator=(const CatalogFolder &) = delete;
};

// The language in use and its messages loaded from the folder's Lang.mdb, as start-up
// loads them.
inline void loadLanguage(const ProgramFolder &folder, const QString &language)
{
    Jazyk = language;
    Preklady = std::make_unique<MessageList>();
    NactiPreklady(folder.file(QStringLiteral("Lang.mdb")), Jazyk, *Preklady);
}

// The interface language chosen in the settings and its messages loaded from the
// folder's Lang.mdb, as start-up loads them; for as long as it lives. Afterwards Czech
// again, with no setting and no messages.
class LanguageFromSettings
{
public:
    LanguageFromSettings(const ProgramFolder &folder, const QString &language)
    {
        UlozInfo(QStringLiteral("Lang"), language);
        loadLanguage(folder, NactiInfo(QStringLiteral("Lang")));
    }
    ~LanguageFromSettings()
    {
        SmazInfo(QStringLiteral("Lang"));
        Jazyk = QStringLiteral("1");
        Preklady.reset();
    }
    LanguageFromSettings(const LanguageFromSettings &) = delete;
    LanguageFromSettings &operator=(const LanguageFromSettings &) = delete;
};

// A field definition of a section: order, field number, shown, caption and type letter.
inline void defineField(int section, int order, int field, bool shown, const QString &caption, const QString &type)
{
    Db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Popis, Nazev, Typ, Zarovnani, Sekce) "
                               "values (%1, 'Pol%2', %3, 0, '%4', '%5', 'L', %6)")
                    .arg(order).arg(field).arg(shown ? 1 : 0).arg(caption, type).arg(section));
}

// A field of a section as defineSection defines it.
struct SectionField
{
    const char *caption;
    const char *type;  // the type letter: C, N or D
    bool shown = true;
};

// A section and its fields, numbered from 1 in the order given (Pol1, Pol2 ...), each
// defined at the place of its number.
inline void defineSection(int section, const QString &name, std::initializer_list<SectionField> fields)
{
    Db->Execute(QStringLiteral("insert into Sekce values (%1, '%2')").arg(section).arg(name));
    int number = 0;
    for (const SectionField &f : fields) {
        ++number;
        defineField(section, number, number, f.shown, QString::fromUtf8(f.caption), QString::fromUtf8(f.type));
    }
}

// Rows of a table from a small table of values: the columns once, then each row's
// values as SQL literals in the columns' order.
inline void insertRows(const QString &table, const QString &columns, std::initializer_list<const char *> rows)
{
    for (const char *row : rows)
        Db->Execute(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns, QString::fromUtf8(row)));
}

// The first field of the first row of a query; Empty when it has no row.
inline Variant scalar(const QString &sql)
{
    auto rs = Db->OpenRecordset(sql);
    return rs->Eof() ? Variant() : rs->Fields(0).Value();
}

// Turns the catalog file at path (a copy of the fresh one) into one that a newer version
// 3.1.0 wrote: Katalog without its key constraint, with two columns this version does
// not know (Hodnoceni, Stitek), Pol2n as text and Pol3c as a number; a table Recenze of
// its own; no S_CisA. Records 1 to 3 and one without a key; the counter at 1.
inline void makeNewerCatalog(const QString &path)
{
    dao::Workspace ws;
    auto db = ws.OpenDatabase(path);
    QString katalog = PrikazyTabulek()[3];
    katalog.replace(QStringLiteral("Inter Integer NOT NULL"), QStringLiteral("Inter Integer"));
    katalog.replace(QStringLiteral("Pol2n Single"), QStringLiteral("Pol2n VarChar(20)"));
    katalog.replace(QStringLiteral("Pol3c VarChar(50)"), QStringLiteral("Pol3c Double"));
    katalog.replace(QStringLiteral("CONSTRAINT Katalog_PK PRIMARY KEY ( Inter )"),
                    QStringLiteral("Hodnoceni Double, Stitek VarChar(20)"));
    for (const QString &sql : {QStringLiteral("drop table Katalog"), katalog, QStringLiteral("drop table S_CisA"),
                               QStringLiteral("create table Recenze (Inter Integer, Text VarChar(200))"),
                               QStringLiteral("insert into Recenze values (1, 'Výborná')"),
                               QStringLiteral("insert into Sekce values (1, 'Knihy')"),
                               QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Nazev, Typ, Zarovnani, Sekce) "
                                              "values (1, 'Pol1', 1, 'Název', 'C', 'L', 1)"),
                               QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Pol3c, Sekce, Hodnoceni, Stitek) "
                                              "values (1, 'První', '2.75', 1.25, 1, 4.5, 'modrá')"),
                               QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce, Hodnoceni) values (3, 'Třetí', 1, 0.125)"),
                               QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (2, 'Druhá', 1)"),
                               QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce, Stitek) values (null, 'Bez klíče', 1, 'žlutá')"),
                               QStringLiteral("update S_Param set Inter=1, Verze='3.1.0'")})
        db->Execute(sql);
}

}  // namespace testsupport
