// The catalog's tables: creating them, setting them aside, and the fresh catalog file.
#include "data/schema.h"
#include "common/globals.h"
#include "testsupport.h"

#include <QtTest>

class TestSchema : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    void openEmpty()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Ws = std::make_unique<dao::Workspace>();
        Db = Ws->CreateDatabase(m_dir->filePath(QStringLiteral("t.mdb")));
    }

    QStringList tableNames()
    {
        Db->TableDefs().Refresh();
        QStringList names;
        for (int i = 0; i < Db->TableDefs().Count(); ++i)
            names << Db->TableDefs()[i].Name();
        names.sort(Qt::CaseInsensitive);
        return names;
    }

private Q_SLOTS:
    void cleanup()
    {
        Db.reset();
        Ws.reset();
    }

    void tableList()
    {
        QCOMPARE(SeznamTabulek(), QStringList({"VychoziDefinice", "Definice", "Katalog", "Majitel", "Obrazky", "S_CisA",
                                               "S_CisB", "S_Grid", "S_Param", "Sekce"}));
    }

    void katalogStatement()
    {
        const QString katalog = PrikazyTabulek().at(3);
        QVERIFY(katalog.startsWith(QStringLiteral("CREATE TABLE Katalog(  Inter Integer NOT NULL, Pol1c VarChar(50), ")));
        QVERIFY(katalog.contains(QStringLiteral("Pol30c VarChar(50), Pol1n Single, ")));
        QVERIFY(katalog.contains(QStringLiteral("Pol30n Single, Pol1d Date, ")));
        QVERIFY(katalog.endsWith(QStringLiteral(
            "Pol30d Date, Poznamka LongChar, Aktualizace Date, Sekce Byte, CONSTRAINT Katalog_PK PRIMARY KEY ( Inter )  )")));
    }

    void createsTheTen()
    {
        openEmpty();
        VytvorTabulky(*Db);
        QStringList expected = SeznamTabulek();
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(tableNames(), expected);

        dao::TableDef &katalog = Db->TableDefs()[QStringLiteral("katalog")];
        QCOMPARE(katalog.FieldCount(), 94);
        QCOMPARE(katalog.Fields(0).Name(), QStringLiteral("Inter"));
        QCOMPARE(katalog.Fields(0).Type(), int(dao::dbLong));
        QVERIFY(katalog.Fields(0).Required());
        QCOMPARE(katalog.Fields(1).Name(), QStringLiteral("Pol1c"));
        QCOMPARE(katalog.Fields(1).Type(), int(dao::dbText));
        QCOMPARE(katalog.Fields(1).Size(), 50);
        QCOMPARE(katalog.Fields(31).Name(), QStringLiteral("Pol1n"));
        QCOMPARE(katalog.Fields(31).Type(), int(dao::dbSingle));
        QCOMPARE(katalog.Fields(61).Name(), QStringLiteral("Pol1d"));
        QCOMPARE(katalog.Fields(61).Type(), int(dao::dbDate));
        QCOMPARE(katalog.Fields(91).Type(), int(dao::dbMemo));
        QCOMPARE(katalog.Fields(93).Name(), QStringLiteral("Sekce"));
        QCOMPARE(katalog.Fields(93).Type(), int(dao::dbByte));

        dao::TableDef &majitel = Db->TableDefs()[QStringLiteral("Majitel")];
        QCOMPARE(majitel.Fields(QStringLiteral("Psc")).Type(), int(dao::dbChar));
        QCOMPARE(majitel.Fields(QStringLiteral("Psc")).Size(), 5);
        QCOMPARE(majitel.Fields(QStringLiteral("Dph")).Type(), int(dao::dbBoolean));
        QCOMPARE(Db->TableDefs()[QStringLiteral("S_Grid")].Fields(QStringLiteral("Nazev")).Size(), 20);
        QVERIFY(Db->TableDefs()[QStringLiteral("S_CisB")].Fields(QStringLiteral("Tridit")).Required());
        QVERIFY(!Db->TableDefs()[QStringLiteral("S_Grid")].Fields(QStringLiteral("Tridit")).Required());

        // Empty, and only the declared keys hold.
        for (const QString &t : SeznamTabulek()) {
            auto rs = Db->OpenRecordset(QStringLiteral("select * from ") + t);
            QVERIFY2(rs->Eof(), qPrintable(t));
        }
        Db->Execute(QStringLiteral("insert into S_CisB (Ciselnik, Tridit) values ('a', 1)"));
        Db->Execute(QStringLiteral("insert into S_CisB (Ciselnik, Tridit) values ('a', 2)"));
        QVERIFY_THROWS_EXCEPTION(VbError, Db->Execute(QStringLiteral("insert into S_CisB (Ciselnik, Tridit) values ('a', 1)")));
        Db->Execute(QStringLiteral("insert into Katalog (Inter) values (5)"));
        QVERIFY_THROWS_EXCEPTION(VbError, Db->Execute(QStringLiteral("insert into Katalog (Inter) values (5)")));
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi) values (1, 1)"));
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi) values (1, 1)"));  // no key there
    }

    void stopsAtTheFirstFailure()
    {
        openEmpty();
        Db->Execute(QStringLiteral("CREATE TABLE Majitel (x Integer)"));
        QVERIFY_THROWS_EXCEPTION(VbError, VytvorTabulky(*Db));
        // The two created before it stay, nothing after it is made.
        QCOMPARE(tableNames(), QStringList({"Definice", "Majitel", "VychoziDefinice"}));
    }

    void setsTablesAside()
    {
        openEmpty();
        // An old file without the code-list tables, and with a leftover Sekce_old.
        for (const QString &statement : PrikazyTabulek())
            if (!statement.contains(QLatin1String("S_Cis")))
                Db->Execute(statement);
        Db->Execute(QStringLiteral("insert into Sekce (Sekce, Nazev) values (1, 'Knihy')"));
        Db->Execute(QStringLiteral("CREATE TABLE Sekce_old (x Integer)"));
        Db->TableDefs().Refresh();
        PrejmenujTabulky(*Db);
        QCOMPARE(tableNames(), QStringList({"Definice_old", "Katalog_old", "Majitel_old", "Obrazky_old", "S_Grid_old",
                                            "S_Param_old", "Sekce", "Sekce_old", "VychoziDefinice_old"}));
        auto kept = Db->OpenRecordset(QStringLiteral("select Nazev from Sekce"));
        QCOMPARE(kept->Fields(0).Value().toString(), QStringLiteral("Knihy"));
        kept->Close();

        // What was skipped is made new; Sekce exists still, so creation stops there.
        Db->Execute(QStringLiteral("DROP TABLE Sekce"));
        VytvorTabulky(*Db);
        QVERIFY(tableNames().contains(QStringLiteral("S_CisA")));
        QVERIFY(Db->OpenRecordset(QStringLiteral("select * from S_CisA"))->Eof());
    }

    void freshCatalog()
    {
        testsupport::ProgramFolder folder;
        QVERIFY(QFile::exists(folder.file(QStringLiteral("QIRData.upg"))));
        Ws = std::make_unique<dao::Workspace>();
        Db = Ws->OpenDatabase(folder.file(QStringLiteral("QIRData.upg")));
        QStringList expected = SeznamTabulek();
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(tableNames(), expected);
        auto param = Db->OpenRecordset(QStringLiteral("select * from s_param"));
        QVERIFY(!param->Eof());
        QCOMPARE((*param)[QStringLiteral("inter")].toLong(), 0);
        QCOMPARE((*param)[QStringLiteral("Verze")].toString(), QStringLiteral("3.0.4"));
        QCOMPARE((*param)[QStringLiteral("PodporaKopii")].VarType(), vbBoolean);
        QCOMPARE((*param)[QStringLiteral("PodporaKopii")].toBool(), false);
        param->MoveNext();
        QVERIFY(param->Eof());
        QVERIFY(Db->OpenRecordset(QStringLiteral("select * from Sekce"))->Eof());
        QVERIFY(Db->OpenRecordset(QStringLiteral("select * from Definice"))->Eof());
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
