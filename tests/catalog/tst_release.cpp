// Publishing a release into Internet/ and updating a catalog from one, over the web
// (from a local server standing in for the update address) or from a folder, each chosen
// from the main window's Katalog menu.
#include "catalogfixture.h"
#include "common/globals.h"
#include "data/infosettings.h"
#include "data/release.h"
#include "mainwindow/frmMain.h"
#include "menudriver.h"
#include "modaldriver.h"
#include "net.h"
#include "output/frmExport.h"
#include "output/frmImport.h"
#include "process.h"
#include "testsupport.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeView>
#include <QtTest>

using testsupport::scalar;

namespace {

// The web server at the update address: the test reaches "http://www.oskal.test/..."
// through it as the program's proxy, so that nothing leaves 127.0.0.1. Serves the files
// of one folder under /rel/ and answers 404 for anything it does not have.
class ReleaseServer : public QTcpServer
{
public:
    QString folder;
    QStringList asked;
    // Whether the update window let a second run start or closed while it was served.
    bool buttonsOpen = false;

    ReleaseServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            }
        });
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_buffers[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString path = QUrl(QString::fromLatin1(request.split(' ').value(1))).path();
        asked << path;
        if (frmImport *w = frmImport::Loaded())
            buttonsOpen = buttonsOpen || w->cmdInternet->isEnabled() || w->cmdKonec[0]->isEnabled();
        QFile file(folder + path.mid(int(qstrlen("/rel/"))));
        const bool found = path.startsWith(QStringLiteral("/rel/")) && file.open(QIODevice::ReadOnly);
        const QByteArray body = found ? file.readAll() : QByteArray("<html>not found</html>");
        socket->write("HTTP/1.1 " + QByteArray(found ? "200 OK" : "404 Not Found")
                      + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QHash<QTcpSocket *, QByteArray> m_buffers;
};

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

void writeFile(const QString &path, const QByteArray &content, const QDateTime &modified = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    if (modified.isValid())
        QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
}

// The percentages a progress bar shows, in the order drawn (a repeat of the one before
// is not counted again). The bar is a picture; its accessible name is the text drawn.
class BarSamples : public QObject
{
public:
    QList<int> shown;
    QStringList malformed;
    void watch(QLabel *bar) { bar->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const QString text = static_cast<QLabel *>(watched)->accessibleName();
        if (text.isEmpty())
            return false;
        bool number = false;
        const int percent = text.chopped(1).toInt(&number);
        if (!number || !text.endsWith(QLatin1Char('%')))
            malformed << text;
        else if (shown.isEmpty() || shown.last() != percent)
            shown << percent;
        return false;
    }
};

struct Started {
    QString file, parameters;
};

}  // namespace

class TestRelease : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    ReleaseServer m_server;
    QList<Started> m_started;
    int m_timeout = 0;

    static const QString kAddress;

    QString release(const QString &name) const { return AppPath + QStringLiteral("Internet/") + name; }

    static void setAddress(const QString &address)
    {
        Db->Execute(QStringLiteral("delete from Majitel"));
        Db->Execute(QStringLiteral("insert into Majitel (WebAktualizace) values ('%1')").arg(address));
    }

    // Katalog and the item, with the mouse, as the user chooses it.
    static void choose(QAction *item)
    {
        frmMain &w = frmMain::Form();
        testsupport::chooseFromMenu(w.mnuKatalog, nullptr, item);
        QTRY_VERIFY(!w.mnuKatalog->isVisible());
    }

    // Chooses Export katalogu and clicks Exportovat.
    void runExport()
    {
        testsupport::whenShown<frmExport>(this, [](frmExport &w) { QTest::mouseClick(w.cmdExport, Qt::LeftButton); });
        choose(frmMain::Form().mnuExport);
        QVERIFY(!frmExport::Loaded());
    }

    // Chooses Aktualizace katalogu and takes the steps; a window they leave open is
    // closed afterwards.
    void runImport(const std::function<void(frmImport &)> &steps)
    {
        testsupport::whenShown<frmImport>(this, [steps](frmImport &w) {
            steps(w);
            if (frmImport::Loaded() && frmImport::Loaded()->isVisible())
                frmImport::Loaded()->close();
        });
        choose(frmMain::Form().mnuImport);
        QVERIFY(!frmImport::Loaded());
    }

    void webUpdate() { runImport([](frmImport &w) { QTest::mouseClick(w.cmdInternet, Qt::LeftButton); }); }

    // A program folder's catalog with three records and attachments: a.jpg changed after
    // its recorded time, b.jpg whose file is gone, and a name that reaches out of img/.
    void fillCatalog()
    {
        testsupport::defineSection(1, QStringLiteral("Knihy"), {});
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Sekce"),
                                {"1, 'Kniha 1', 1", "2, 'Kniha 2', 1", "3, 'Kniha 3', 1"});
        testsupport::insertRows(QStringLiteral("Obrazky"), QStringLiteral("Inter, Poradi, Soubor, Popis, Aktualizace"),
                                {"1, 1, 'a.jpg', 'p', '2001-01-01 10:00:00'", "1, 2, 'B.JPG', 'p', '2024-01-01 10:00:00'",
                                 "2, 1, 'gone.jpg', 'p', '2024-01-01 10:00:00'", "3, 1, '../x', 'p', '2024-01-01 10:00:00'",
                                 "3, 2, 'QIRData.mdb', 'p', '2024-01-01 10:00:00'"});
        writeFile(AppPath + QStringLiteral("img/a.jpg"), "picture a", QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        writeFile(AppPath + QStringLiteral("img/b.jpg"), "picture b", QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
        writeFile(AppPath + QStringLiteral("img/QIRData.mdb"), "not the catalog");
        writeFile(AppPath + QStringLiteral("x"), "outside img");
        writeFile(AppPath + QStringLiteral("update"), "#!/bin/sh\n");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server.serverPort()));
        m_timeout = net::setTransferTimeout(2000);
        process::setOpener([this](const QString &file, const QString &parameters, const QString &) {
            m_started << Started{file, parameters};
            return int(process::Started);
        });
    }

    void cleanupTestCase()
    {
        m_server.close();
        QNetworkProxy::setApplicationProxy(QNetworkProxy());
        net::setTransferTimeout(m_timeout);
        process::setOpener({});
    }

    void init()
    {
        for (const char *key : {"VyberWindowShow", "NahledWindowShow", "Sekce", "Aktualizace"})
            SmazInfo(QLatin1String(key));
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("False"));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("False"));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        QVERIFY(m_folder->isValid());
        setAddress(kAddress);
        m_server.asked.clear();
        m_server.buttonsOpen = false;
        m_started.clear();
        frmMain &w = frmMain::Form();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        m_folder.reset();
    }

    // The release of a catalog with a changed attachment, a row whose file is gone and
    // names that are no bare names of their own: only what may be published goes out,
    // nothing is written outside Internet/, the gone row goes only on the user's word.
    void exportRelease()
    {
        fillCatalog();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbYes).expect(vbOK).expect(vbOK);
            runExport();
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Spustit export dat?"));
            QCOMPARE(boxes.shown()[1].text,
                     QStringLiteral("Soubory těchto příloh nejsou ve složce img. Odstranit jejich záznamy?\ngone.jpg"));
            QVERIFY(boxes.shown()[2].text.endsWith(QStringLiteral("../x, QIRData.mdb")));
            QCOMPARE(boxes.shown()[3].text, QStringLiteral("Export úspěšně proveden."));
            QCOMPARE(boxes.shown()[3].title, QStringLiteral("Export dat"));
        }
        QCOMPARE(bytes(release(QStringLiteral("download.inf"))), QByteArray("1.1.2000 00:00:00\r\n"));
        QCOMPARE(bytes(release(QStringLiteral("a.jpg"))), QByteArray("picture a"));
        // The check pass keeps the file's time, to the second; B.JPG, recorded later than
        // its file, goes out under its stored name, found in any case.
        const QFileInfo a(AppPath + QStringLiteral("img/a.jpg"));
        QCOMPARE(Razitko(scalar(QStringLiteral("select Aktualizace from Obrazky where Inter=1 and Poradi=1")).toDateTime()),
                 std::max(Razitko(a.birthTime()), Razitko(a.lastModified())));
        QCOMPARE(bytes(release(QStringLiteral("B.JPG"))), QByteArray("picture b"));
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=2")).toLong(), 0);
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=3")).toLong(), 2);
        QCOMPARE(bytes(release(QStringLiteral("update"))), QByteArray("#!/bin/sh\n"));
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("Oskal"))));  // the program folder has none
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("x"))));
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("QIRData.zal"))));
        QCOMPARE(QDir(AppPath + QStringLiteral("Internet")).entryList(QDir::Files).size(), 5);
        {
            dao::Workspace ws;
            auto copy = ws.OpenDatabase(release(QStringLiteral("QIRData.mdb")), false, true);
            QCOMPARE(copy->OpenRecordset(QStringLiteral("select count(*) from Katalog"))->Fields(0).Value().toLong(), 3);
        }
        const QDateTime recorded = scalar(QStringLiteral("select Export from S_Param")).toDateTime();
        QVERIFY(qAbs(recorded.secsTo(QDateTime(QDateTime::currentDateTime().date(), QDateTime::currentDateTime().time(), Qt::UTC))) < 60);

        // The next run starts from that time and keeps the gone row's question: a No
        // leaves the row.
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Aktualizace) values (2, 1, 'gone.jpg', '2024-01-01')"));
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbNo).expect(vbOK);
            runExport();
            QCOMPARE(boxes.shown()[2].text, QStringLiteral("Export úspěšně proveden."));
        }
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=2")).toLong(), 1);
        QCOMPARE(bytes(release(QStringLiteral("download.inf"))),
                 recorded.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")).toLatin1() + "\r\n");
    }

    // The bar runs from 0 to 100 % over each pass of the export: the records done of all
    // records, never beyond and not full from the start.
    void exportProgress()
    {
        Db->Execute(QStringLiteral("insert into Sekce (Sekce, Nazev) values (1, 'Knihy')"));
        Ws->BeginTrans();
        for (int i = 1; i <= 300; ++i) {
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'Kniha %1', 1)").arg(i));
            if (i % 10 == 0) {
                Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis, Aktualizace) "
                                           "values (%1, 1, 'p%1.jpg', 'p', '2024-01-01 10:00:00')")
                                .arg(i));
                writeFile(AppPath + QStringLiteral("img/p%1.jpg").arg(i), "picture");
            }
        }
        Ws->CommitTrans();
        BarSamples samples;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        testsupport::whenShown<frmExport>(this, [&](frmExport &w) {
            samples.watch(w.picStatus);
            QTest::mouseClick(w.cmdExport, Qt::LeftButton);
        });
        choose(frmMain::Form().mnuExport);
        QVERIFY(!frmExport::Loaded());
        QCOMPARE(boxes.shown().back().text, QStringLiteral("Export úspěšně proveden."));
        QVERIFY2(samples.malformed.isEmpty(), qPrintable(samples.malformed.join(QLatin1Char(' '))));
        QVERIFY(samples.shown.size() > 10);
        for (int p : samples.shown)
            QVERIFY2(p >= 0 && p <= 100, qPrintable(QString::number(p)));
        // The check pass and the export pass, each rising from a small part done to all
        // but the end; then the bar is reset.
        QList<QList<int>> passes;
        for (int p : samples.shown) {
            if (passes.isEmpty() || p < passes.last().last())
                passes.append(QList<int>());
            passes.last() << p;
        }
        QCOMPARE(passes.size(), 3);
        for (const QList<int> &pass : passes)
            QVERIFY2(pass.first() <= 1, qPrintable(QString::number(pass.first())));
        QCOMPARE(passes[0].last(), 99);
        QCOMPARE(passes[1].last(), 99);
    }

    // A release folder that cannot be made stops the run with a message, and the next
    // run starts from the same date.
    void failedExportKeepsDate()
    {
        writeFile(AppPath + QStringLiteral("Internet"), "a file in the folder's place");
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        runExport();
        QVERIFY(boxes.shown()[1].text.startsWith(QStringLiteral("Při vytváření katalogu došlo k chybě.\n")));
        QCOMPARE(boxes.shown()[1].style & 0xF0, int(vbCritical));
        QVERIFY(scalar(QStringLiteral("select Export from S_Param")).IsNull());
    }

    // An empty catalog without an address still makes a release.
    void emptyCatalog()
    {
        setAddress(QString());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbYes).expect(vbOK);
        runExport();
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Není uvedena adresa pro aktualizace přes internet. Pokračovat?"));
        QVERIFY(QFileInfo::exists(release(QStringLiteral("QIRData.mdb"))));
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("update"))));
    }

    // The box is edited only after the warning, and is read when it is left.
    void dateBoxAsks()
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo).expect(vbYes);
        testsupport::whenShown<frmExport>(this, [](frmExport &w) {
            QCOMPARE(w.txtDatum->text(), QStringLiteral("1.1.2000 00:00:00"));
            QTest::mouseClick(w.txtDatum, Qt::LeftButton);
            QTRY_VERIFY(w.picStatus->hasFocus());
            QTest::mouseClick(w.txtDatum, Qt::LeftButton);
            QTRY_VERIFY(w.txtDatum->hasFocus());
            w.txtDatum->selectAll();
            QTest::keyClicks(w.txtDatum, QStringLiteral("5.3.2024 14:07"));
            QTest::keyClick(w.txtDatum, Qt::Key_Tab);
            QCOMPARE(w.txtDatum->text(), QStringLiteral("05.03.2024 14:07:00"));
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
        });
        choose(frmMain::Form().mnuExport);
        QVERIFY(!frmExport::Loaded());
        QCOMPARE(boxes.shown().size(), 2);
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Pozor upravujete datum exportu. Pokračovat?"));
    }

    void dateBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const QDate today = QDate::currentDate();
        const QString loaded = QStringLiteral("01.01.2000 00:00:00");
        QTest::newRow("day") << "5" << QDate(today.year(), today.month(), 5).toString(QStringLiteral("dd.MM.yyyy 00:00:00"));
        QTest::newRow("0") << "0" << loaded;
        QTest::newRow("32") << "32" << loaded;
        QTest::newRow("empty") << "" << loaded;
        QTest::newRow("not a date") << "zítra" << loaded;
        QTest::newRow("date") << "5.3.2024" << "05.03.2024 00:00:00";
        QTest::newRow("date and time") << "5.3.2024 14:07" << "05.03.2024 14:07:00";
        QTest::newRow("no 30th of February") << "30.2.2024" << loaded;
    }

    void dateBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(UpravDatumExportu(typed, QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QDate::currentDate()), shown);
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("used");
        QTest::addColumn<bool>("valid");
        QTest::newRow("www and a slash") << " www.Firma.cz/Katalog/ " << "http://www.firma.cz/Katalog" << true;
        QTest::newRow("two slashes lose one") << "http://www.firma.cz//" << "http://www.firma.cz/" << true;
        QTest::newRow("backslash") << "http://www.firma.cz\\" << "http://www.firma.cz" << true;
        QTest::newRow("https") << "HTTPS://WWW.Firma.cz/Rel" << "https://www.firma.cz/Rel" << true;
        QTest::newRow("no www") << "http://firma.cz" << "http://firma.cz" << false;
        QTest::newRow("ftp") << "ftp://www.firma.cz" << "ftp://www.firma.cz" << false;
    }

    void addresses()
    {
        QFETCH(QString, owner);
        QFETCH(QString, used);
        QFETCH(bool, valid);
        QCOMPARE(NormalizujAdresu(owner), used);
        QCOMPARE(JeAdresaPlatna(NormalizujAdresu(owner)), valid);
    }

    void releaseStamp_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("default") << QByteArray("1.1.2000 00:00:00\r\n") << "20000101000000";
        QTest::newRow("padded") << QByteArray("05.03.2024 14:07:09\r\n") << "20240305140709";
        QTest::newRow("last item counts") << QByteArray("1.1.2001,\r\n2.2.2002 10:00:00, 05.03.2024 14:07:09\r\n")
                                          << "20240305140709";
        QTest::newRow("no date") << QByteArray("<html>") << "";
    }

    void releaseStamp()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, stamp);
        QCOMPARE(RazitkoVydani(list), stamp);
    }

    // Export here, then update a second program folder from the release over the web:
    // the files come in order into dnload/, the missing language database is no file, the
    // updater gets its argument, the stamp is kept, and the same release is then no
    // longer newer: the server is asked again, not a cache.
    void webRoundTrip()
    {
        fillCatalog();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes).expect(vbNo).expect(vbOK).expect(vbOK);
            runExport();
        }
        m_server.folder = release(QString());
        const QString publisher = AppPath;
        delete frmMain::Loaded();
        Db.reset();
        Ws.reset();
        testsupport::ProgramFolder client;
        AppPath = client.path();
        testsupport::openFreshCatalog(client);
        setAddress(QStringLiteral("WWW.oskal.test/rel/"));
        frmMain::Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&frmMain::Form()));
        QVERIFY(QDir().mkpath(AppPath + QStringLiteral("dnload")));
        writeFile(AppPath + QStringLiteral("dnload/old"), "an earlier attempt");
        {
            testsupport::ScriptedBoxes boxes;
            BarSamples samples;
            runImport([&](frmImport &w) {
                samples.watch(w.picStatus);
                QTest::mouseClick(w.cmdInternet, Qt::LeftButton);
            });
            QCOMPARE(boxes.shown().size(), 0);
            // The files fetched of the four, before each file and when all have come.
            QCOMPARE(samples.shown, (QList<int>{1, 25, 50, 75, 100}));
        }
        QCOMPARE(m_server.asked, (QStringList{"/rel/download.inf", "/rel/update", "/rel/QIRData.mdb", "/rel/Lang.mdb", "/rel/Oskal"}));
        QVERIFY(!m_server.buttonsOpen);
        const QString dnload = AppPath + QStringLiteral("dnload/");
        QStringList arrived = QDir(dnload).entryList(QDir::Files);
        arrived.sort();
        QCOMPARE(arrived, (QStringList{"QIRData.mdb", "download.inf", "update"}));
        QCOMPARE(bytes(dnload + QStringLiteral("QIRData.mdb")), bytes(publisher + QStringLiteral("Internet/QIRData.mdb")));
        QCOMPARE(m_started.size(), 1);
        QCOMPARE(m_started[0].file, AppPath + QStringLiteral("update"));
        QCOMPARE(m_started[0].parameters, AppPath + QChar(0xA0) + dnload + QChar(0xA0) + QStringLiteral("http://www.oskal.test/rel"));
        QCOMPARE(bytes(AppPath + QStringLiteral("update")), QByteArray("#!/bin/sh\n"));
        QCOMPARE(NactiInfo(QStringLiteral("Aktualizace")), QStringLiteral("20000101000000"));
        QTRY_VERIFY(!frmMain::Loaded() || !frmMain::Loaded()->isVisible());

        // The same release again: not newer, and the list came from the server once more.
        frmMain::Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&frmMain::Form()));
        m_server.asked.clear();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbOK);
            webUpdate();
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Nebyly nalezeny žádné změny."));
        }
        QCOMPARE(m_server.asked, QStringList{"/rel/download.inf"});
        QCOMPARE(m_started.size(), 1);

        // A folder update of the same release: not newer either, and silent.
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbYes);
            runImport([&](frmImport &w) {
                QTest::mouseClick(w.cmdAdresar, Qt::LeftButton);
                w.dir->setCurrentIndex(w.dirModel->index(publisher + QStringLiteral("Internet")));
                QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            });
        }
        QCOMPARE(m_started.size(), 1);
        delete frmMain::Loaded();
        Db.reset();
        Ws.reset();
    }

    // A folder update of a newer release: the updater comes from the folder, really
    // starts, and gets one argument: the program folder, the chosen folder and no address.
    void folderUpdate()
    {
        QTemporaryDir source;
        const QString folder = source.path() + QLatin1Char('/');
        const QByteArray stub = "#!/bin/sh\npwd > \"$(dirname \"$0\")/folder\"\n"
                                "printf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/received\"\n";
        writeFile(folder + QStringLiteral("download.inf"), "05.03.2024 14:07:00\r\n");
        writeFile(folder + QStringLiteral("update"), stub);
        QVERIFY(QFile::setPermissions(folder + QStringLiteral("update"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const process::Opener stubOpener = process::setOpener({});
        const auto back = qScopeGuard([&] { process::setOpener(stubOpener); });
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        runImport([&](frmImport &w) {
            QTest::mouseClick(w.cmdAdresar, Qt::LeftButton);
            QVERIFY(w.dir->isVisible());
            w.dir->setCurrentIndex(w.dirModel->index(source.path()));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Provést aktualizaci z adresáře %1?").arg(folder));
        QCOMPARE(bytes(AppPath + QStringLiteral("update")), stub);
        const QString received = AppPath + QStringLiteral("received");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(received).size() > 0, 5000);
        QCOMPARE(QString::fromUtf8(bytes(received)), QStringLiteral("1|") + AppPath + QChar(0xA0) + folder + QChar(0xA0));
        // It runs in the program folder, whose files it is to replace.
        QCOMPARE(QDir(QString::fromUtf8(bytes(AppPath + QStringLiteral("folder"))).trimmed()).canonicalPath(),
                 QDir(AppPath).canonicalPath());
        QCOMPARE(NactiInfo(QStringLiteral("Aktualizace")), QStringLiteral("20240305140700"));
    }

    // A newer release, but no updater in the folder or beside the program: the message
    // names the updater as it is called here, in the language of the settings, and
    // nothing starts.
    void updaterMissing_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("Czech") << "1" << "Aktualizace dat" << "Soubor 'update' nebyl nalezen. Nelze provést aktualizaci dat.";
        QTest::newRow("English") << "2" << "Data update" << "The file 'update' was not found. The data cannot be updated.";
        QTest::newRow("Chinese") << "3" << "数据更新" << "未找到文件 'update'。无法更新数据。";
    }
    void updaterMissing()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, message);
        const testsupport::LanguageFromSettings chosen(*m_folder, language);
        QTemporaryDir source;
        writeFile(source.filePath(QStringLiteral("download.inf")), "05.03.2024 14:07:00\r\n");
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        runImport([&](frmImport &w) {
            QTest::mouseClick(w.cmdAdresar, Qt::LeftButton);
            w.dir->setCurrentIndex(w.dirModel->index(source.path()));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
        });
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[1].text, message);
        QCOMPARE(boxes.shown()[1].title, title);
        QCOMPARE(boxes.shown()[1].style, int(vbCritical));
        QVERIFY(m_started.isEmpty());
        QCOMPARE(NactiInfo(QStringLiteral("Aktualizace")), QString());
        QVERIFY(frmMain::Loaded() && frmMain::Loaded()->isVisible());
    }

    // An address without "www." is refused, and the one typed instead serves this update
    // only; a release no newer than the applied one ends it.
    void typedAddress()
    {
        setAddress(QStringLiteral("http://firma.cz"));
        UlozInfo(QStringLiteral("Aktualizace"), QStringLiteral("20240305140700"));
        QTemporaryDir served;
        writeFile(served.filePath(QStringLiteral("download.inf")), "05.03.2024 14:07:00\r\n");
        m_server.folder = served.path() + QLatin1Char('/');
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expectInput(QStringLiteral(" WWW.Oskal.test/rel/ ")).expect(vbOK);
        webUpdate();
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Internetová adresa pro aktualizaci nemá správný formát. Aktualizace "
                                                       "nebude provedena.\nChcete adresu zadat ručně?"));
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Zadejte internetovou adresu pro aktualizaci dat"));
        QCOMPARE(boxes.shown()[2].text, QStringLiteral("Nebyly nalezeny žádné změny."));
        QCOMPARE(m_server.asked, QStringList{"/rel/download.inf"});
        QCOMPARE(scalar(QStringLiteral("select WebAktualizace from Majitel")).toString(), QStringLiteral("http://firma.cz"));
        QVERIFY(m_started.isEmpty());
    }

    // A release without its catalog, or no server at all: nothing reaches the updater.
    void webFailures()
    {
        QTemporaryDir empty;
        writeFile(empty.filePath(QStringLiteral("download.inf")), "05.03.2024 14:07:00\r\n");
        m_server.folder = empty.path() + QLatin1Char('/');
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbOK);
            webUpdate();
            QCOMPARE(boxes.shown()[0].text,
                     QStringLiteral("Soubor aktualizace se nepodařilo stáhnout. Aktualizace nebude provedena: "
                                    "http://www.oskal.test/rel/QIRData.mdb"));
        }
        QVERIFY(m_started.isEmpty());
        QVERIFY(QDir(AppPath + QStringLiteral("dnload")).entryList(QDir::Files).isEmpty());
        QCOMPARE(NactiInfo(QStringLiteral("Aktualizace")), QString());

        m_server.close();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbNo);
            webUpdate();
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Není připojení k internetu nebo adresa pro aktualizaci není "
                                                           "správná. Chcete adresu zadat ručně?"));
        }
        QVERIFY(m_server.listen(QHostAddress::LocalHost, m_server.serverPort()) || m_server.listen(QHostAddress::LocalHost));
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server.serverPort()));
        QVERIFY(m_started.isEmpty());
    }
};

const QString TestRelease::kAddress = QStringLiteral("http://www.oskal.test/rel");

QTEST_MAIN(TestRelease)
#include "tst_release.moc"
