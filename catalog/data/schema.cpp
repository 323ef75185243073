#include "data/schema.h"

#include "dao.h"
#include "vberror.h"

QStringList SeznamTabulek()
{
    return {QStringLiteral("VychoziDefinice"), QStringLiteral("Definice"), QStringLiteral("Katalog"),
            QStringLiteral("Majitel"),         QStringLiteral("Obrazky"),  QStringLiteral("S_CisA"),
            QStringLiteral("S_CisB"),          QStringLiteral("S_Grid"),   QStringLiteral("S_Param"),
            QStringLiteral("Sekce")};
}

void PrejmenujTabulky(dao::Database &db)
{
    for (const QString &name : SeznamTabulek()) {
        try {
            db.TableDefs()[name].SetName(name + QStringLiteral("_old"));
        } catch (const VbError &) {
            // not there, or the new name is taken: the next table
        }
    }
}

QStringList PrikazyTabulek()
{
    QString katalog = QStringLiteral("CREATE TABLE Katalog(  Inter Integer NOT NULL, ");
    for (int k = 1; k <= 30; ++k)
        katalog += QStringLiteral("Pol%1c VarChar(50), ").arg(k);
    for (int k = 1; k <= 30; ++k)
        katalog += QStringLiteral("Pol%1n Single, ").arg(k);
    for (int k = 1; k <= 30; ++k)
        katalog += QStringLiteral("Pol%1d Date, ").arg(k);
    katalog += QStringLiteral("Poznamka LongChar, ");
    katalog += QStringLiteral("Aktualizace Date, Sekce Byte, ");
    katalog += QStringLiteral("CONSTRAINT Katalog_PK PRIMARY KEY ( Inter )  )");

    return {
        QStringLiteral("CREATE TABLE VychoziDefinice(  Poradi Byte, Pol VarChar(10), Zobraz Bit, Vyber Bit, Detail Bit, "
                       "Popis Bit, Nazev VarChar(50), Zarovnani VarChar(10), Typ VarChar(10), Sekce Byte )"),
        QStringLiteral("CREATE TABLE Definice(  Poradi Byte, Pol VarChar(10), Zobraz Bit, Vyber Bit, Detail Bit, "
                       "Popis Bit, Nazev VarChar(50), Zarovnani VarChar(10), Typ VarChar(10), Sekce Byte )"),
        QStringLiteral("CREATE TABLE Majitel(  Ico VarChar(14), Dic VarChar(15), Nazev VarChar(40), Ulice VarChar(40), "
                       "Mesto VarChar(40), Psc Char(5), Dph Bit, Telefon VarChar(100), Www VarChar(40), "
                       "Email VarChar(40), WebAktualizace VarChar(70)  )"),
        katalog,
        QStringLiteral("CREATE TABLE Obrazky(  Inter Integer, Poradi Byte, Soubor VarChar(50), Popis VarChar(50), "
                       "Aktualizace Date  )"),
        QStringLiteral("CREATE TABLE S_CisA( Ciselnik VarChar(25) not null, Nazev VarChar(50), Typ Char(1), Aktual Bit, "
                       "CONSTRAINT S_CisA_PK PRIMARY KEY ( Ciselnik )  )"),
        QStringLiteral("CREATE TABLE S_CisB( Ciselnik VarChar(25) not null, Tridit Byte not null, Hodnota VarChar(50), "
                       "Ext1 VarChar(20), Ext2 VarChar(20), Popis VarChar(50), "
                       "CONSTRAINT S_CisB_PK PRIMARY KEY ( Ciselnik, Tridit )  )"),
        QStringLiteral("CREATE TABLE S_Grid( Tridit Byte, Nazev VarChar(20), Zarovnani Char(1), ColWidth Integer, "
                       "ColName VarChar(20), GridName VarChar(50), Login VarChar(50) )"),
        QStringLiteral("CREATE TABLE S_Param(  Inter Integer, PodporaKopii Bit, Verze VarChar(10), Logo VarChar(100), "
                       "Heslo VarChar(20), Export Date  )"),
        QStringLiteral("CREATE TABLE Sekce(  Sekce Byte, Nazev VarChar(30) )"),
    };
}

void VytvorTabulky(dao::Database &db)
{
    for (const QString &statement : PrikazyTabulek())
        db.Execute(statement);
}
