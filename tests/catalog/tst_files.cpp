// Opening files with the desktop's application, as the user sees its failures, and the
// temporary folder.
#include "messagelist.h"
#include "process.h"
#include "common/files.h"
#include "common/globals.h"
#include "system.h"
#include "testsupport.h"

#include <QtTest>

class TestFiles : public QObject
{
    Q_OBJECT

    process::Opener m_previous;
    QStringList m_opened;

    void replaceOpener(int result)
    {
        m_previous = process::setOpener([this, result](const QString &file, const QString &parameters, const QString &) {
            m_opened << file + QLatin1Char('|') + parameters;
            return result;
        });
    }

private Q_SLOTS:
    void init()
    {
        sys::resetBeepCount();
        m_opened.clear();
        Preklady.reset();
    }
    void cleanup()
    {
        process::setOpener(m_previous);
        m_previous = nullptr;
        Preklady.reset();
    }

    // Each failure of the start: its message, the file name after a text ending in ":",
    // the title, a beep, and 0.
    void failures_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        const QString file = QStringLiteral(" /data/img/plán 1.pdf");
        QTest::newRow("2") << 2 << "Soubor nebyl nalezen:" + file;
        QTest::newRow("3") << 3 << "Cesta k souboru nebyla nalezena:" + file;
        QTest::newRow("5") << 5 << "Přístup zakázán:" + file;
        QTest::newRow("8: no name after it") << 8 << "Nedostatek paměti";
        QTest::newRow("11") << 11 << "Chybný soubor nebo obraz souboru EXE";
        QTest::newRow("26") << 26 << "Narušeno sdílení:" + file;
        QTest::newRow("27") << 27 << "Neúplné (chybné) přiřazení souboru:" + file;
        QTest::newRow("28") << 28 << "Vypršel časový interval DDE";
        QTest::newRow("29") << 29 << "Chybná DDE transakce";
        QTest::newRow("30") << 30 << "DDE je zaneprázdněno";
        QTest::newRow("31: no application") << 31 << "Souboru není přiřazena žádná aplikace:" + file;
        QTest::newRow("32") << 32 << "Knihovna DLL nebyla nalezena";
        for (int other : {0, 1, 4, 6, 7, 9, 10, 12, 25})
            QTest::newRow(qPrintable(QString::number(other))) << other << "Nepředvídaná chyba při otevírání souboru:" + file;
    }
    void failures()
    {
        QFETCH(int, result);
        QFETCH(QString, message);
        replaceOpener(result);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(OtevriSoubor(QStringLiteral("/data/img/plán 1.pdf"), QStringLiteral("-p")), 0);
        QCOMPARE(m_opened, QStringList{"/data/img/plán 1.pdf|-p"});
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, message);
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Otevřít soubor"));
        QCOMPARE(boxes.shown()[0].style, int(vbExclamation));
        QCOMPARE(sys::beepCount(), 1);
    }

    void success()
    {
        replaceOpener(42);
        testsupport::ScriptedBoxes boxes;  // no box
        QCOMPARE(OtevriSoubor(QStringLiteral("/data/a.txt"), QString()), 42);
        QCOMPARE(sys::beepCount(), 0);
    }

    // The desktop's opener itself, for what it can decide without starting anything.
    void missingWithTheDesktopOpener_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("message");
        QTest::newRow("file") << "nic.pdf" << "Soubor nebyl nalezen:";
        QTest::newRow("folder") << "chybí/nic.pdf" << "Cesta k souboru nebyla nalezena:";
    }
    void missingWithTheDesktopOpener()
    {
        QFETCH(QString, relative);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath(relative);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(OtevriSoubor(file, QString()), 0);
        QCOMPARE(boxes.shown()[0].text, message + QLatin1Char(' ') + file);
        QCOMPARE(sys::beepCount(), 1);
    }

    // The translated texts: the Chinese ones end in a full-width colon, and the file's
    // name follows them all the same.
    void translatedMessages_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << "File not found:" << "File not found: /x/a.doc";
        QTest::newRow("Chinese") << "找不到文件：" << "找不到文件： /x/a.doc";
        QTest::newRow("no colon") << "Missing" << "Missing";
    }
    void translatedMessages()
    {
        QFETCH(QString, translation);
        QFETCH(QString, message);
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= 310; ++i)
            Preklady->add(QString::number(i), i == 308 ? translation : i == 209 ? QStringLiteral("Open") : QString());
        replaceOpener(2);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        OtevriSoubor(QStringLiteral("/x/a.doc"), QString());
        QCOMPARE(boxes.shown()[0].text, message);
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Open"));
    }

    void temporaryFolder_data()
    {
        QTest::addColumn<QString>("tmpdir");
        QTest::newRow("with a trailing separator") << "/var/tmp/";
        QTest::newRow("without one") << "/var/tmp";
    }
    void temporaryFolder()
    {
        QFETCH(QString, tmpdir);
        const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmpdir.toUtf8());
        const QString folder = DocasnaSlozka();
        if (wasSet)
            qputenv("TMPDIR", saved);
        else
            qunsetenv("TMPDIR");
        QCOMPARE(folder, QStringLiteral("/var/tmp"));
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
