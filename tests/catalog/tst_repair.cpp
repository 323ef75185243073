// The repair of the catalog file that holding Ctrl at start asks for.
#include "common/globals.h"
#include "dao.h"
#include "startup/oprava.h"
#include "testsupport.h"

#include <QtTest>

class TestRepair : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    QString file(const QString &name) const { return m_folder->file(name); }
    QString catalog() const { return file(QStringLiteral("QIRData.mdb")); }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void prepare(const QStringList &statements)
    {
        QVERIFY(QFile::copy(file(QStringLiteral("QIRData.upg")), catalog()));
        QFile::setPermissions(catalog(), QFile::permissions(catalog()) | QFile::WriteOwner);
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog());
        for (const QString &sql : statements)
            db->Execute(sql);
    }

    static QStringList tables(dao::Database &db)
    {
        db.TableDefs().Refresh();
        QStringList names;
        for (int i = 0; i < db.TableDefs().Count(); ++i)
            names << db.TableDefs()[i].Name();
        return names;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        QFile::remove(file(QStringLiteral("Lang.mdb")));
        AppPath = m_folder->path();
    }
    void cleanup()
    {
        Db.reset();
        Ws.reset();
        m_folder.reset();
    }

    // The scratch tables go, whatever the case of their prefix, and the tables after
    // them keep their rows; the file is compacted and the copy from before is kept.
    void dropsScratchTables()
    {
        QStringList statements{QStringLiteral("create table tmpA (x Integer)"), QStringLiteral("create table TMPb (x Integer)"),
                               QStringLiteral("create table tmp (x Integer)"), QStringLiteral("create table MSysObjekty (x Integer)"),
                               QStringLiteral("create table Zbytek (x Integer)"),
                               QStringLiteral("insert into Zbytek values (1), (2), (3)"),
                               QStringLiteral("insert into Sekce values (1, 'Knihy')"),
                               QStringLiteral("create table Balast (t LongChar)")};
        for (int i = 0; i < 200; ++i)
            statements << QStringLiteral("insert into Balast values ('%1')").arg(QString(2000, QLatin1Char('x')));
        statements << QStringLiteral("drop table Balast");
        prepare(statements);
        QVERIFY(QFile::copy(file(QStringLiteral("QIRData.upg")), file(QStringLiteral("QIRData.new"))));  // a leftover
        const QByteArray before = bytes(catalog());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        OpravDatabazi();
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Opravit systémovou databázi?"));
        QCOMPARE(boxes.shown()[0].style, int(vbYesNo));
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Oprava systémové databáze proběhla v pořádku!"));
        QCOMPARE(boxes.shown()[1].style, int(vbOKOnly));
        QVERIFY(Ws && Db && Db->IsOpen());
        const QStringList left = tables(*Db);
        for (const char *gone : {"tmpA", "TMPb", "tmp"})
            QVERIFY2(!left.contains(QLatin1String(gone)), gone);
        QVERIFY(left.contains(QStringLiteral("MSysObjekty")));
        QCOMPARE(Db->OpenRecordset(QStringLiteral("select count(*) from Zbytek"))->Fields(0).Value().toLong(), 3);
        QCOMPARE(Db->OpenRecordset(QStringLiteral("select Nazev from Sekce"))->Fields(0).Value().toString(), QStringLiteral("Knihy"));
        QVERIFY(QFileInfo(catalog()).size() < before.size());
        QCOMPARE(bytes(file(QStringLiteral("QIRData.zal"))).size(), before.size());
        QVERIFY(!QFile::exists(file(QStringLiteral("QIRData.new"))));
    }

    // The copy that a restore kept is not lost to a repair: it moves on to QIRData.zdb.
    void keepsTheRestoresCopy()
    {
        prepare({});
        QVERIFY(QFile::copy(file(QStringLiteral("QIRData.upg")), file(QStringLiteral("QIRData.zal"))));
        const QByteArray restoresCopy = bytes(file(QStringLiteral("QIRData.zal")));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        OpravDatabazi();
        QCOMPARE(bytes(file(QStringLiteral("QIRData.zdb"))), restoresCopy);
        QVERIFY(QFile::exists(file(QStringLiteral("QIRData.zal"))));
    }

    // The program folder's QIRData.mdb a symbolic link into a shared folder: the repair
    // compacts the shared catalog and the link stays; the copy from before lies beside
    // the link, and the shared folder holds the catalog alone.
    void repairThroughALink()
    {
        QStringList statements{QStringLiteral("create table tmpA (x Integer)"), QStringLiteral("insert into Sekce values (1, 'Knihy')"),
                               QStringLiteral("create table Balast (t LongChar)")};
        for (int i = 0; i < 200; ++i)
            statements << QStringLiteral("insert into Balast values ('%1')").arg(QString(2000, QLatin1Char('x')));
        statements << QStringLiteral("drop table Balast");
        prepare(statements);
        QTemporaryDir shared;
        const QString target = shared.filePath(QStringLiteral("QIRData.mdb"));
        QVERIFY(QFile::rename(catalog(), target));
        QVERIFY(QFile::link(target, catalog()));
        const qint64 before = QFileInfo(target).size();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        OpravDatabazi();
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Oprava systémové databáze proběhla v pořádku!"));
        QVERIFY(QFileInfo(catalog()).isSymLink());
        QCOMPARE(QFileInfo(catalog()).symLinkTarget(), target);
        QVERIFY(QFileInfo(target).size() < before);
        QVERIFY(!tables(*Db).contains(QStringLiteral("tmpA")));
        Db->Execute(QStringLiteral("update Sekce set Nazev='Po opravě'"));
        dao::Workspace ws;
        QCOMPARE(ws.OpenDatabase(target)->OpenRecordset(QStringLiteral("select Nazev from Sekce"))->Fields(0).Value().toString(),
                 QStringLiteral("Po opravě"));
        const QString kept = file(QStringLiteral("QIRData.zal"));
        QVERIFY(!QFileInfo(kept).isSymLink());
        QCOMPARE(QFileInfo(kept).size(), before);
        QCOMPARE(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"QIRData.mdb"});
        QVERIFY(!QFile::exists(file(QStringLiteral("QIRData.new"))));
    }

    void answeredNo()
    {
        prepare({QStringLiteral("create table tmpA (x Integer)")});
        const QByteArray before = bytes(catalog());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        OpravDatabazi();
        QCOMPARE(bytes(catalog()), before);
        QVERIFY(!Db);
        QCOMPARE(QDir(AppPath).entryList(QDir::Files), (QStringList{"QIRData.mdb", "QIRData.upg"}));
    }

    // A copy that cannot be made is told with its reason, and the catalog stays as it was.
    void failedCopyReported()
    {
        prepare({QStringLiteral("create table tmpA (x Integer)")});
        const QByteArray before = bytes(catalog());
        QVERIFY(QFile::copy(file(QStringLiteral("QIRData.upg")), file(QStringLiteral("QIRData.zal"))));
        QVERIFY(QDir().mkpath(file(QStringLiteral("QIRData.zdb/occupied"))));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        OpravDatabazi();
        QCOMPARE(boxes.shown().size(), size_t(2));
        const QStringList lines = boxes.shown()[1].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Oprava neúšpěšná!"));
        QVERIFY2(lines[1].startsWith(QStringLiteral("Číslo chyby: ")), qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(QStringLiteral("QIRData.zdb")), qPrintable(lines[2]));
        QCOMPARE(bytes(catalog()), before);
        QVERIFY(QFile::exists(file(QStringLiteral("QIRData.zal"))));
    }
};

QTEST_MAIN(TestRepair)
#include "tst_repair.moc"
