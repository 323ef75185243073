// The catalog's backup to zaloha/ and its restore, chosen from the main window's menu,
// and the copies they keep.
#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "common/globals.h"
#include "data/archive.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "mainwindow/views.h"
#include "menudriver.h"
#include "testsupport.h"
#include "overviewgrid.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

using testsupport::scalar;

class TestArchive : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    QString catalog() const { return m_folder->file(QStringLiteral("QIRData.mdb")); }
    QString backup() const { return m_folder->file(QStringLiteral("zaloha/QIRData.mdb")); }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The title of record 1 in a catalog file that is not open.
    static QString titleIn(const QString &file)
    {
        dao::Workspace ws;
        auto db = ws.OpenDatabase(file, false, true);
        auto rs = db->OpenRecordset(QStringLiteral("select Pol1c from Katalog where Inter=1"));
        return rs->Eof() ? QString() : rs->Fields(0).Value().toString();
    }

    static void setTitle(const QString &title)
    {
        Db->Execute(QStringLiteral("update Katalog set Pol1c='%1' where Inter=1").arg(title));
    }

    // Systém, Archivace and the item, with the mouse, as the user chooses it.
    static void choose(QAction *item)
    {
        frmMain &w = frmMain::Form();
        testsupport::chooseFromMenu(w.mnuSys, w.mnuArch, item);
        QTRY_VERIFY(!w.mnuArch->isVisible());
    }

    static QString firstRowTitle()
    {
        frmPrehled *overview = frmPrehled::Loaded();
        return overview && overviewGrid(*overview)->Rows() > 1 ? overviewGrid(*overview)->TMatrix(1, 1) : QString();
    }

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"VyberWindowShow", "NahledWindowShow", "Sekce"})
            SmazInfo(QLatin1String(key));
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("False"));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("False"));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        QVERIFY(m_folder->isValid());
        testsupport::defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}});
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (1, 'Původní', 1)"));
        frmMain &w = frmMain::Form();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[0]);
        QCOMPARE(firstRowTitle(), QStringLiteral("Původní"));
    }

    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        m_folder.reset();
    }

    // Backed up, changed, restored: the data of the backup are back, in the windows too,
    // and the data that were replaced are kept beside the catalog.
    void roundTrip()
    {
        frmMain &w = frmMain::Form();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(w.mnuZaloha);
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Provést zálohu dat na disk?"));
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Záloha dat na disk"));
            QCOMPARE(boxes.shown()[1].text,
                     QStringLiteral("Záloha byla provedena na pevný disk do adresáře %1zaloha/.").arg(AppPath));
            QCOMPARE(boxes.shown()[1].style, int(vbInformation));
        }
        QCOMPARE(titleIn(backup()), QStringLiteral("Původní"));
        setTitle(QStringLiteral("Změněný"));
        // The copy the last repair kept: the restore must not take it away.
        const QString repairCopy = m_folder->file(QStringLiteral("QIRData.zal"));
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), repairCopy));
        const QByteArray repairBytes = bytes(repairCopy);
        const dao::Database *before = Db.get();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(w.mnuObnova);
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Provést obnovu dat ze zálohy? Aktuální data budou přepsána."));
            QCOMPARE(boxes.shown()[1].text, QStringLiteral("Obnova dat z disku proběhla úspěšně."));
            QCOMPARE(boxes.shown()[1].title, QStringLiteral("Obnova dat z disku"));
        }
        QVERIFY(Db && Db->IsOpen() && Db.get() != before);
        QCOMPARE(scalar(QStringLiteral("select Pol1c from Katalog where Inter=1")).toString(), QStringLiteral("Původní"));
        QCOMPARE(firstRowTitle(), QStringLiteral("Původní"));
        QCOMPARE(titleIn(m_folder->file(QStringLiteral("QIRData.zal"))), QStringLiteral("Změněný"));
        QCOMPARE(bytes(m_folder->file(QStringLiteral("QIRData.zdb"))), repairBytes);

        // The overview's control works on the restored catalog: closing stores its
        // column widths there.
        Db->Execute(QStringLiteral("delete from S_Grid"));
        UnloadViews();
        QVERIFY(scalar(QStringLiteral("select count(*) from S_Grid")).toLong() > 0);
    }

    // Restores of one backup in a row, chosen from the menu: the first keeps the data it
    // replaces, every further one finds the backup's data in place already and leaves the
    // copies as they are, so the data from before the first are never lost.
    void restoresInARow()
    {
        frmMain &w = frmMain::Form();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(w.mnuZaloha);
        }
        setTitle(QStringLiteral("Práce mezi tím"));
        // The copy an earlier repair kept.
        const QString kept = m_folder->file(QStringLiteral("QIRData.zal"));
        const QString previous = m_folder->file(QStringLiteral("QIRData.zdb"));
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), kept));
        const QByteArray repairBytes = bytes(kept);
        QStringList files = QDir(AppPath).entryList(QDir::Files | QDir::Hidden) << QStringLiteral("QIRData.zdb");
        files.sort();
        QByteArray keptBytes;
        for (int restore = 1; restore <= 4; ++restore) {
            {
                testsupport::ScriptedBoxes boxes;
                boxes.expect(vbYes).expect(vbOK);
                choose(w.mnuObnova);
                QCOMPARE(boxes.shown()[1].text, QStringLiteral("Obnova dat z disku proběhla úspěšně."));
            }
            QCOMPARE(scalar(QStringLiteral("select Pol1c from Katalog where Inter=1")).toString(), QStringLiteral("Původní"));
            QCOMPARE(firstRowTitle(), QStringLiteral("Původní"));
            QVERIFY2(titleIn(kept) == QStringLiteral("Práce mezi tím"), qPrintable(QString::number(restore)));
            QVERIFY2(bytes(previous) == repairBytes, qPrintable(QString::number(restore)));
            if (restore == 1)
                keptBytes = bytes(kept);
            QVERIFY2(bytes(kept) == keptBytes, qPrintable(QString::number(restore)));
            QCOMPARE(QDir(AppPath).entryList(QDir::Files | QDir::Hidden), files);
        }
    }

    // The shared set-up: the program folder's QIRData.mdb a symbolic link into the shared
    // folder. The restore writes the shared catalog and leaves the link, so that later
    // edits and the other workstations meet in one file; the copies lie in the program
    // folder, the shared folder holds the catalog alone.
    void restoreThroughALink()
    {
        QTemporaryDir shared;
        const QString target = shared.filePath(QStringLiteral("QIRData.mdb"));
        UnloadViews();
        Db.reset();
        QVERIFY(QFile::rename(catalog(), target));
        QVERIFY(QFile::link(target, catalog()));
        Db = Ws->OpenDatabase(catalog());
        frmMain &w = frmMain::Form();
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[0]);
        QCOMPARE(firstRowTitle(), QStringLiteral("Původní"));
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(w.mnuZaloha);
        }
        setTitle(QStringLiteral("Sdílená práce"));
        dao::Workspace otherWorkstation;
        auto other = otherWorkstation.OpenDatabase(target);
        const auto otherSees = [&] {
            return other->OpenRecordset(QStringLiteral("select Pol1c from Katalog where Inter=1"))->Fields(0).Value().toString();
        };
        QCOMPARE(otherSees(), QStringLiteral("Sdílená práce"));
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(w.mnuObnova);
            QCOMPARE(boxes.shown()[1].text, QStringLiteral("Obnova dat z disku proběhla úspěšně."));
        }
        QVERIFY(QFileInfo(catalog()).isSymLink());
        QCOMPARE(QFileInfo(catalog()).symLinkTarget(), target);
        QCOMPARE(titleIn(target), QStringLiteral("Původní"));
        QCOMPARE(otherSees(), QStringLiteral("Původní"));
        QCOMPARE(firstRowTitle(), QStringLiteral("Původní"));
        const QString kept = m_folder->file(QStringLiteral("QIRData.zal"));
        QVERIFY(!QFileInfo(kept).isSymLink());
        QCOMPARE(titleIn(kept), QStringLiteral("Sdílená práce"));
        QCOMPARE(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"QIRData.mdb"});
        // What is edited now is in the shared catalog, for every workstation.
        setTitle(QStringLiteral("Po obnově"));
        QCOMPARE(otherSees(), QStringLiteral("Po obnově"));
    }

    // A restore that cannot be made leaves the catalog in use, open and shown, and the
    // copies beside it as they were.
    void restoreRefused_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("no backup folder") << "no folder"
            << QStringLiteral("Disk neobsahuje adresář %1 se soubory zálohy.");
        QTest::newRow("no backup file") << "no file" << QStringLiteral("Při obnově dat ze zálohy došlo k chybě.");
        QTest::newRow("not a database") << "text" << QStringLiteral("file is not a database");
        QTest::newRow("another version") << "3.1.0" << QStringLiteral("Verze dat v záloze neodpovídá verzi programu: 3.1.0");
        QTest::newRow("a table missing") << "no Sekce" << QStringLiteral("Soubor není katalogem programu:");
        QTest::newRow("kept copy cannot move on") << "zdb is a folder" << QStringLiteral("Při obnově dat ze zálohy došlo k chybě.");
    }
    void restoreRefused()
    {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        const QString folder = AppPath + QStringLiteral("zaloha/");
        if (setup != QLatin1String("no folder"))
            QVERIFY(QDir().mkpath(folder));
        if (setup == QLatin1String("text")) {
            QFile f(backup());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("no catalog here\n").repeated(300));
        } else if (setup != QLatin1String("no folder") && setup != QLatin1String("no file")) {
            ZalohujKatalog(*Db, folder);
            dao::Workspace ws;
            auto db = ws.OpenDatabase(backup());
            if (setup == QLatin1String("3.1.0"))
                db->Execute(QStringLiteral("update S_Param set Verze='3.1.0'"));
            if (setup == QLatin1String("no Sekce"))
                db->Execute(QStringLiteral("drop table Sekce"));
            db->Execute(QStringLiteral("update Katalog set Pol1c='Ze zálohy'"));
        }
        if (setup == QLatin1String("zdb is a folder")) {
            QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), m_folder->file(QStringLiteral("QIRData.zal"))));
            QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("QIRData.zdb/inside"))));
        }
        setTitle(QStringLiteral("Aktuální"));
        const QByteArray kept = bytes(m_folder->file(QStringLiteral("QIRData.zal")));
        const QStringList filesBefore = QDir(AppPath).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(frmMain::Form().mnuObnova);
            QCOMPARE(boxes.shown().size(), size_t(2));
            const QString text = boxes.shown()[1].text;
            if (setup == QLatin1String("no folder")) {
                QCOMPARE(text, message.arg(folder));
                QCOMPARE(boxes.shown()[1].style, int(vbExclamation));
                QCOMPARE(boxes.shown()[1].title, QStringLiteral("Obnova dat z disku"));
            } else {
                QVERIFY2(text.startsWith(QStringLiteral("Při obnově dat ze zálohy došlo k chybě. Obnova dat nebyla provedena.\n"
                                                        "Zkontrolujte zda žádný uživatel nepracuje v aplikaci.\n")),
                         qPrintable(text));
                QVERIFY2(text.contains(message), qPrintable(text));
                QCOMPARE(boxes.shown()[1].style, int(vbOKOnly));
            }
        }
        QVERIFY(Db && Db->IsOpen());
        QCOMPARE(Db->Name(), catalog());
        QCOMPARE(scalar(QStringLiteral("select Pol1c from Katalog where Inter=1")).toString(), QStringLiteral("Aktuální"));
        QCOMPARE(bytes(m_folder->file(QStringLiteral("QIRData.zal"))), kept);
        QCOMPARE(QDir(AppPath).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), filesBefore);
        QVERIFY(frmPrehled::Loaded());
        QCOMPARE(firstRowTitle(), setup == QLatin1String("zdb is a folder") ? QStringLiteral("Aktuální") : QStringLiteral("Původní"));
    }

    // Another workstation holds the catalog for a write: the restore says it cannot be
    // made, and the catalog stays as it was, open and shown, once the other lets go.
    void restoreUnderAnotherWorkstationsLock()
    {
        const QString folder = AppPath + QStringLiteral("zaloha/");
        QVERIFY(QDir().mkpath(folder));
        ZalohujKatalog(*Db, folder);
        {
            dao::Workspace ws;
            ws.OpenDatabase(backup())->Execute(QStringLiteral("update Katalog set Pol1c='Ze zálohy'"));
        }
        setTitle(QStringLiteral("Aktuální"));
        {
            dao::Workspace other;
            auto writer = other.OpenDatabase(catalog());
            writer->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbOK);
            choose(frmMain::Form().mnuObnova);
            QCOMPARE(boxes.shown().size(), size_t(2));
            QVERIFY2(boxes.shown()[1].text.startsWith(QStringLiteral("Při obnově dat ze zálohy došlo k chybě. Obnova dat nebyla provedena.")),
                     qPrintable(boxes.shown()[1].text));
            writer->Execute(QStringLiteral("ROLLBACK"));
        }
        QVERIFY(Db && Db->IsOpen());
        QCOMPARE(scalar(QStringLiteral("select Pol1c from Katalog where Inter=1")).toString(), QStringLiteral("Aktuální"));
        QVERIFY(frmPrehled::Loaded());
    }

    // Answering No changes nothing.
    void answeredNo()
    {
        frmMain &w = frmMain::Form();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo).expect(vbNo);
        choose(w.mnuZaloha);
        choose(w.mnuObnova);
        QVERIFY(!QFileInfo::exists(AppPath + QStringLiteral("zaloha")));
        QVERIFY(Db->IsOpen());
    }

    // Each backup keeps the one before it; a damaged one is not kept in place of a good one.
    void backupKeepsTheLastGoodOne()
    {
        const QString folder = AppPath + QStringLiteral("zaloha");
        const QString previous = m_folder->file(QStringLiteral("zaloha/QIRData.zal"));
        ZalohujKatalog(*Db, folder);
        QVERIFY(!QFileInfo::exists(previous));
        setTitle(QStringLiteral("Druhá"));
        ZalohujKatalog(*Db, folder);
        QCOMPARE(titleIn(backup()), QStringLiteral("Druhá"));
        QCOMPARE(titleIn(previous), QStringLiteral("Původní"));
        {
            QFile f(backup());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray("damaged\n").repeated(500));
        }
        setTitle(QStringLiteral("Třetí"));
        ZalohujKatalog(*Db, folder);
        QCOMPARE(titleIn(backup()), QStringLiteral("Třetí"));
        QCOMPARE(titleIn(previous), QStringLiteral("Původní"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{"QIRData.mdb", "QIRData.zal"}));
    }

    // A failed backup tells why and leaves the last backup as it was.
    void backupFails()
    {
        const QString folder = AppPath + QStringLiteral("zaloha/");
        ZalohujKatalog(*Db, folder);
        const QByteArray last = bytes(backup());
        // The catalog's file is gone from under the open database: nothing to copy.
        QVERIFY(QFile::rename(catalog(), catalog() + QStringLiteral(".away")));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        choose(frmMain::Form().mnuZaloha);
        const QString text = boxes.shown()[1].text;
        QVERIFY2(text.startsWith(QStringLiteral("Při provádění zálohy došlo k chybě. Záloha nebyla provedena.\n"
                                                "Zkontrolujte zda je na disku dostatek místa.\n")),
                 qPrintable(text));
        QVERIFY(text.contains(catalog()));
        QCOMPARE(bytes(backup()), last);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"QIRData.mdb"});
        QVERIFY(QFile::rename(catalog() + QStringLiteral(".away"), catalog()));
    }

    // Another connection in the middle of a write: the backup holds what was committed.
    void backupDuringAnotherWrite()
    {
        dao::Workspace other;
        auto writer = other.OpenDatabase(catalog());
        other.BeginTrans();
        writer->Execute(QStringLiteral("update Katalog set Pol1c='Nepotvrzeno' where Inter=1"));
        writer->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (2, 'Také ne', 1)"));
        ZalohujKatalog(*Db, AppPath + QStringLiteral("zaloha"));
        other.Rollback();
        QCOMPARE(titleIn(backup()), QStringLiteral("Původní"));
        dao::Workspace ws;
        auto copy = ws.OpenDatabase(backup(), false, true);
        QCOMPARE(copy->OpenRecordset(QStringLiteral("select count(*) from Katalog"))->Fields(0).Value().toLong(), 1);
    }
};

QTEST_MAIN(TestArchive)
#include "tst_archive.moc"
