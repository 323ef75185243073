// The conversion of a catalog that another version wrote: what it keeps, how it fails,
// and what the user sees of it at start.
#include "catalogfixture.h"
#include "common/files.h"
#include "common/globals.h"
#include "data/conversion.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "startup/konverze.h"
#include "startup/startup.h"
#include "testsupport.h"

#include <QScopeGuard>
#include <QtTest>

class TestConversion : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;
    QTemporaryDir m_temp;  // the temporary folder the program sees

    QString catalog() const { return m_folder->file(QStringLiteral("QIRData.mdb")); }
    QString program() const { return m_folder->file(QStringLiteral("Oskal")); }

    void newerCatalog()
    {
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), catalog()));
        QFile::setPermissions(catalog(), QFile::permissions(catalog()) | QFile::WriteOwner);
        testsupport::makeNewerCatalog(catalog());
    }

    void run(const QStringList &statements)
    {
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog());
        for (const QString &sql : statements)
            db->Execute(sql);
    }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList tables(dao::Database &db)
    {
        db.TableDefs().Refresh();
        QStringList names;
        for (int i = 0; i < db.TableDefs().Count(); ++i)
            names << db.TableDefs()[i].Name();
        names.sort(Qt::CaseInsensitive);
        return names;
    }

    static QString row(dao::Database &db, const QString &sql)
    {
        auto rs = db.OpenRecordset(sql);
        QStringList cells;
        for (int i = 0; i < rs->FieldCount(); ++i)
        {
            const Variant v = rs->Fields(i).Value();
            cells << (v.IsNull()     ? QStringLiteral("null")
                      : v.IsString() ? v.stringValue()
                                     : QString::number(v.toDouble(), 'g', 15));
        }
        return cells.join(QLatin1Char('|'));
    }

    // Safety copies left in the temporary folder.
    QStringList safetyFolders() const
    {
        return QDir(m_temp.path()).entryList({QStringLiteral("Oskal-konverze-*")}, QDir::Dirs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        for (const char *key : {"Sekce", "VyberWindowShow", "NahledWindowShow"})
            SmazInfo(QLatin1String(key));
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        for (const QString &left : safetyFolders())
            QDir(m_temp.filePath(left)).removeRecursively();
    }

    void cleanup()
    {
        frmMain::Unload();
        Db.reset();
        Ws.reset();
        UvolniInstanci();
        Preklady.reset();
        m_folder.reset();
    }

    // Data of a newer version lose nothing: unknown columns and tables stay with their
    // values, decimals stay decimals, a record without a key gets one, and the counter
    // is raised to the highest key.
    void newerDataKeptWhole()
    {
        newerCatalog();
        // Code-list items without their place, which this version's key refuses.
        run({QStringLiteral("drop table S_CisB"),
             QStringLiteral("create table S_CisB (Ciselnik VarChar(25), Tridit Byte, Hodnota VarChar(50))"),
             QStringLiteral("insert into S_CisB values ('Barvy', 1, 'modrá'), ('Barvy', null, 'bez pořadí')")});
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog());
        PrevedKatalog(ws, *db, 3, QStringLiteral("3.0.4"));
        QCOMPARE(row(*db, QStringLiteral("select Hodnota from S_CisB")), QStringLiteral("modrá"));
        QCOMPARE(row(*db, QStringLiteral("select Hodnota from S_CisB_nezarazeno")), QStringLiteral("bez pořadí"));

        QStringList expected = SeznamTabulek();
        expected << QStringLiteral("Recenze") << QStringLiteral("S_CisB_nezarazeno");
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(tables(*db), expected);
        dao::TableDef &katalog = db->TableDefs()[QStringLiteral("Katalog")];
        QCOMPARE(katalog.FieldCount(), 96);
        QCOMPARE(katalog.Fields(94).Name(), QStringLiteral("Hodnoceni"));
        QCOMPARE(katalog.Fields(95).Name(), QStringLiteral("Stitek"));
        QCOMPARE(katalog.Fields(QStringLiteral("Pol2n")).Type(), int(dao::dbSingle));  // this version's types
        QCOMPARE(katalog.Fields(QStringLiteral("Pol3c")).Type(), int(dao::dbText));
        QCOMPARE(row(*db, QStringLiteral("select Inter, Pol1c, Pol2n, Pol3c, Hodnoceni, Stitek from Katalog order by Inter")),
                 QStringLiteral("1|První|2.75|1.25|4.5|modrá"));
        QCOMPARE(row(*db, QStringLiteral("select Inter, Pol1c, Hodnoceni from Katalog where Inter=3")), QStringLiteral("3|Třetí|0.125"));
        QCOMPARE(row(*db, QStringLiteral("select Inter, Pol1c, Stitek from Katalog where Pol1c='Bez klíče'")),
                 QStringLiteral("4|Bez klíče|žlutá"));
        QCOMPARE(row(*db, QStringLiteral("select count(*) from Katalog")), QStringLiteral("4"));
        QCOMPARE(row(*db, QStringLiteral("select Inter, Verze from S_Param")), QStringLiteral("4|3.0.4"));
        QCOMPARE(row(*db, QStringLiteral("select * from Recenze")), QStringLiteral("1|Výborná"));
        QCOMPARE(row(*db, QStringLiteral("select count(*) from S_CisA")), QStringLiteral("0"));
        QCOMPARE(row(*db, QStringLiteral("select Nazev from Sekce")), QStringLiteral("Knihy"));
        // The key holds again: a second record of the same key is refused.
        QVERIFY_THROWS_EXCEPTION(VbError, db->Execute(QStringLiteral("insert into Katalog (Inter) values (1)")));
        // The added text column sorts as the catalog's texts do.
        QCOMPARE(row(*db, QStringLiteral("select count(*) from Katalog where Stitek='MODRÁ'")), QStringLiteral("1"));
    }

    void counter_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("result");
        QTest::newRow("below the highest key: raised") << "2" << "(5),(3)" << "5";
        QTest::newRow("above: kept") << "9" << "(5)" << "9";
        QTest::newRow("null: repaired") << "null" << "(5)" << "5";
        QTest::newRow("null, no records: 0") << "null" << "" << "0";
    }
    void counter()
    {
        QFETCH(QString, counter);
        QFETCH(QString, records);
        QFETCH(QString, result);
        testsupport::openFreshCatalog(*m_folder);
        Db->Execute(QStringLiteral("update S_Param set Inter=") + counter);
        if (!records.isEmpty())
            Db->Execute(QStringLiteral("insert into Katalog (Inter) values ") + records);
        NastavCitac(*Db);
        QCOMPARE(row(*Db, QStringLiteral("select Inter from S_Param")), result);
    }

    // Tables left as <name>_old by a run that was cut short: converted where the old table
    // is plainly the data, refused with words where it cannot be told; never a failure
    // that nobody can read.
    void interruptedRun_data()
    {
        QTest::addColumn<QString>("katalog");
        QTest::addColumn<bool>("converts");
        QTest::newRow("no new table") << "drop" << true;
        QTest::newRow("empty new table") << "empty" << true;
        QTest::newRow("both hold rows") << "rows" << false;
    }
    void interruptedRun()
    {
        QFETCH(QString, katalog);
        QFETCH(bool, converts);
        newerCatalog();
        run({QStringLiteral("alter table Katalog rename to Katalog_old")});
        if (katalog != QLatin1String("drop"))
            run({QStringLiteral("create table Katalog (Inter Integer, Pol1c VarChar(50), Sekce Byte)")});
        if (katalog == QLatin1String("rows"))
            run({QStringLiteral("insert into Katalog values (7, 'Nová', 1)")});
        const QByteArray before = bytes(catalog());
        // Refused at every start alike, with the file as it was.
        for (int start = 0; start < (converts ? 1 : 2); ++start) {
            testsupport::ScriptedBoxes boxes;
            if (!converts)
                boxes.expect(vbOK).expect(vbOK);
            const QStringList keptBefore = safetyFolders();
            const auto end = Main(program(), {});
            if (converts) {
                QVERIFY(!end);
                QCOMPARE(row(*Db, QStringLiteral("select count(*), max(Inter) from Katalog")), QStringLiteral("4|4"));
                QCOMPARE(row(*Db, QStringLiteral("select Verze from S_Param")), QStringLiteral("3.0.4"));
                QVERIFY(!tables(*Db).contains(QStringLiteral("Katalog_old")));
                return;
            }
            QCOMPARE(end, std::optional<int>(1));
            QStringList kept = safetyFolders();
            for (const QString &folder : keptBefore)
                kept.removeOne(folder);
            QCOMPARE(kept.size(), 1);
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Během převodu dat pro novou verzi programu došlo k chybě:\n"
                                                           "Data obsahují tabulku z přerušeného převodu dat a vedle ní tabulku "
                                                           "téhož jména s daty: Katalog_old, Katalog\n"
                                                           "Kopie dat z doby před převodem zůstává v souboru: ")
                                                + m_temp.filePath(kept[0] + QStringLiteral("/QIRData.mdb")));
            QCOMPARE(boxes.shown()[1].text,
                     QStringLiteral("Nezdařila se konverze dat nezbytná pro funkci nové verze programu. Program bude ukončen."));
            Db.reset();
            Ws.reset();
            UvolniInstanci();
            QCOMPARE(bytes(catalog()), before);
        }
    }

    // Converted at start without a word; the safety copy goes afterwards.
    void convertedAtStart()
    {
        newerCatalog();
        testsupport::ScriptedBoxes boxes;  // none
        QVERIFY(!Main(program(), {}));
        QCOMPARE(VerzeDat, QStringLiteral("3.1.0"));
        QCOMPARE(row(*Db, QStringLiteral("select Verze from S_Param")), QStringLiteral("3.0.4"));
        QCOMPARE(row(*Db, QStringLiteral("select Stitek from Katalog where Inter=1")), QStringLiteral("modrá"));
        QVERIFY(frmMain::Loaded());
        QCOMPARE(safetyFolders(), QStringList());
    }

    // A failure half-way: the user is told the engine's words and where the safety copy
    // is kept, in the language of the settings; the file is back byte for byte, and the
    // safety copy is kept; the program then ends with 181.
    void failsMidway_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("keptIn");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("endTitle");
        QTest::newRow("Czech") << "1" << "Během převodu dat pro novou verzi programu došlo k chybě:\n"
                               << "Kopie dat z doby před převodem zůstává v souboru: " << "Převod dat" << "Konverze dat";
        QTest::newRow("English") << "2" << "An error occurred while converting the data for the new program version:\n"
                                 << "The copy of the data from before the conversion is kept in the file: " << "Data conversion"
                                 << "Data conversion";
        QTest::newRow("Chinese") << "3" << "为新版本程序转换数据时出错：\n" << "转换前的数据副本保存在文件： " << "数据转换"
                                 << "数据转换";
    }
    void failsMidway()
    {
        QFETCH(QString, language);
        QFETCH(QString, heading);
        QFETCH(QString, keptIn);
        QFETCH(QString, title);
        QFETCH(QString, endTitle);
        QVERIFY(QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/Lang.mdb"), m_folder->file(QStringLiteral("Lang.mdb"))));
        UlozInfo(QStringLiteral("Lang"), language);
        const auto back = qScopeGuard([] { SmazInfo(QStringLiteral("Lang")); });
        newerCatalog();
        run({QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (2, 'Dvojník', 1)")});
        const QByteArray before = bytes(catalog());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK);
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        QCOMPARE(boxes.shown().size(), size_t(2));
        QVERIFY2(boxes.shown()[0].text.startsWith(heading), qPrintable(boxes.shown()[0].text));
        QVERIFY2(boxes.shown()[0].text.contains(QStringLiteral("UNIQUE")), qPrintable(boxes.shown()[0].text));
        QCOMPARE(boxes.shown()[0].title, title);
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        QCOMPARE(boxes.shown()[1].title, endTitle);
        QVERIFY(!frmMain::Loaded());
        Db.reset();
        Ws.reset();
        QCOMPARE(bytes(catalog()), before);
        QCOMPARE(safetyFolders().size(), 1);
        const QString copy = m_temp.filePath(safetyFolders()[0] + QStringLiteral("/QIRData.mdb"));
        QVERIFY2(boxes.shown()[0].text.endsWith(QLatin1Char('\n') + keptIn + copy), qPrintable(boxes.shown()[0].text));
        QVERIFY(QFileInfo(QFileInfo(copy).absolutePath()).permissions() == (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                             | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
        dao::Workspace ws;
        QCOMPARE(row(*ws.OpenDatabase(copy), QStringLiteral("select count(*), Verze from Katalog, S_Param")), QStringLiteral("5|3.1.0"));
        QVERIFY(QDir(QFileInfo(copy).absolutePath()).removeRecursively());
    }

    // No safety copy, no conversion: the messages in their order, then the end.
    void safetyCopyImpossible()
    {
        newerCatalog();
        const QByteArray before = bytes(catalog());
        qputenv("TMPDIR", QFile::encodeName(m_temp.filePath(QStringLiteral("missing/folder"))));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK).expect(vbOK);
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        const auto &shown = boxes.shown();
        QCOMPARE(shown.size(), size_t(3));
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Během zálohy dat došlo k chybě.\n")));
        QCOMPARE(shown[0].style, int(vbCritical));
        QCOMPARE(shown[0].title, QStringLiteral("Převod dat"));
        QCOMPARE(shown[1].text, QStringLiteral("Před převodem datových struktur se nepodařilo zálohovat data.\n"
                                               "Konverze dat nebude provedena."));
        QCOMPARE(shown[1].style, int(vbExclamation));
        QCOMPARE(shown[1].title, QStringLiteral("Převod dat"));
        QCOMPARE(shown[2].text,
                 QStringLiteral("Nezdařila se konverze dat nezbytná pro funkci nové verze programu. Program bude ukončen."));
        QCOMPARE(shown[2].title, QStringLiteral("Konverze dat"));
        Db.reset();
        Ws.reset();
        QCOMPARE(bytes(catalog()), before);
    }

    // The safety copy put back over a catalog that a failed conversion left changed; with
    // QIRData.mdb a symbolic link into a shared folder, into the shared catalog, and the
    // link stays.
    void safetyCopyPutBack_data()
    {
        QTest::addColumn<bool>("link");
        QTest::newRow("file") << false;
        QTest::newRow("link") << true;
    }
    void safetyCopyPutBack()
    {
        QFETCH(bool, link);
        QTemporaryDir shared;
        const QString target = link ? shared.filePath(QStringLiteral("QIRData.mdb")) : catalog();
        testsupport::openFreshCatalog(*m_folder);
        if (link) {
            Db.reset();
            QVERIFY(QFile::rename(catalog(), target));
            QVERIFY(QFile::link(target, catalog()));
            Db = Ws->OpenDatabase(catalog());
        }
        Db->Execute(QStringLiteral("insert into Sekce values (1, 'Knihy')"));
        const QString copy = ZalohujData(Db->Name(), DocasnaSlozka());
        Db->Execute(QStringLiteral("alter table Sekce rename to Sekce_old"));
        ObnovZalohu(*Ws, Db, copy);
        QVERIFY(Db && Db->IsOpen());
        QCOMPARE(row(*Db, QStringLiteral("select Nazev from Sekce")), QStringLiteral("Knihy"));
        QCOMPARE(QFileInfo(catalog()).isSymLink(), link);
        dao::Workspace ws;
        QCOMPARE(row(*ws.OpenDatabase(target), QStringLiteral("select Nazev from Sekce")), QStringLiteral("Knihy"));
        if (link)
            QCOMPARE(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
                     QStringList{"QIRData.mdb"});
        QVERIFY(QFile::exists(copy));
        SmazZalohu(copy);
        QCOMPARE(safetyFolders(), QStringList());
    }

    // Safety copies that conversions cut short or failed left in the temporary folder:
    // kept while the conversions of their catalog fail, all gone once one succeeds; the
    // copies of another catalog, and every folder that holds anything else, stay.
    void safetyCopiesOfTheCatalog()
    {
        newerCatalog();
        // Cut short twice, by this program folder and by another one whose QIRData.mdb is
        // a link to the same catalog.
        ZalohujData(catalog(), DocasnaSlozka());
        QTemporaryDir otherFolder;
        const QString throughLink = otherFolder.filePath(QStringLiteral("QIRData.mdb"));
        QVERIFY(QFile::link(catalog(), throughLink));
        ZalohujData(throughLink, DocasnaSlozka());
        // Another catalog's, cut short.
        const QString another = otherFolder.filePath(QStringLiteral("jiny.mdb"));
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), another));
        const QString anothersFolder = QFileInfo(ZalohujData(another, DocasnaSlozka())).absolutePath();
        // A folder of this catalog's that holds a file of someone else's too, and one that
        // only looks like a safety folder.
        const QString withMore = QFileInfo(ZalohujData(catalog(), DocasnaSlozka())).absolutePath();
        QFile note(withMore + QStringLiteral("/poznamka.txt"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();
        QVERIFY(QDir(m_temp.path()).mkpath(QStringLiteral("Oskal-konverze-cizi/QIRData.mdb")));
        const QStringList foreign{QFileInfo(anothersFolder).fileName(), QFileInfo(withMore).fileName(),
                                  QStringLiteral("Oskal-konverze-cizi")};
        QCOMPARE(safetyFolders().size(), 5);

        // A failed conversion keeps every copy, its own too.
        run({QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (2, 'Dvojník', 1)")});
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbOK).expect(vbOK);
            QCOMPARE(Main(program(), {}), std::optional<int>(1));
        }
        Db.reset();
        Ws.reset();
        UvolniInstanci();
        QCOMPARE(safetyFolders().size(), 6);

        run({QStringLiteral("delete from Katalog where Pol1c='Dvojník'")});
        testsupport::ScriptedBoxes boxes;  // none
        QVERIFY(!Main(program(), {}));
        QCOMPARE(row(*Db, QStringLiteral("select Verze from S_Param")), QStringLiteral("3.0.4"));
        QStringList left = safetyFolders();
        QStringList expected = foreign;
        left.sort();
        expected.sort();
        QCOMPARE(left, expected);
        QVERIFY(QFile::exists(withMore + QStringLiteral("/poznamka.txt")));
        QVERIFY(QFile::exists(anothersFolder + QStringLiteral("/QIRData.mdb")));
    }
};

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
