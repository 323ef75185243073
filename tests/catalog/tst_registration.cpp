// The registration of a control file and its messages, over the platform's check of the
// file and over a stand-in that gives each result.
#include "registration.h"
#include "startup/controlregistration.h"
#include "testsupport.h"

#include <QLibraryInfo>
#include <QtTest>

class TestRegistration : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Registers path with boxes answered; the text of the one box shown, or "" for none.
    static QString registerShowing(const QString &path)
    {
        const QString before = QDir::currentPath();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        RegistrujKomponentu(path);
        [&] { QCOMPARE(QDir::currentPath(), before); }();
        if (boxes.shown().empty()) {
            boxes.release();
            return QString();
        }
        [&] {
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].style, int(vbCritical));
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Registrace komponent aplikace"));
        }();
        return boxes.shown()[0].text;
    }

private Q_SLOTS:
    void cleanup() { setSelfRegisterHook({}); }

    void results_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        const QString general = QStringLiteral("Při registraci souboru /opt/x/Tabulix.ocx došlo k chybě\n");
        QTest::newRow("0") << 0 << QString();
        QTest::newRow("2") << 2 << "Nelze inicializovat OLE ve spojení s registrovaným souborem /opt/x/Tabulix.ocx";
        QTest::newRow("3") << 3 << "LoadLibrary() zhavarovalo při registraci souboru /opt/x/Tabulix.ocx";
        QTest::newRow("4") << 4 << "Nebyl nalezen vstupní bod pro DllRegisterServer() - registrace souboru /opt/x/Tabulix.ocx";
        QTest::newRow("5") << 5 << "DllRegisterServer() v souboru /opt/x/Tabulix.ocx vrátil chybu";
        QTest::newRow("1") << 1 << general;
        QTest::newRow("6") << 6 << general;
        QTest::newRow("-1") << -1 << general;
    }
    void results()
    {
        QFETCH(int, result);
        QFETCH(QString, message);
        QString asked;
        setSelfRegisterHook([&](const QString &path) {
            asked = path;
            return qint16(result);
        });
        QCOMPARE(registerShowing(QStringLiteral("/opt/x/Tabulix.ocx")), message);
        QCOMPARE(asked, QStringLiteral("/opt/x/Tabulix.ocx"));
    }

    // The platform's own check of real files.
    void files_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing" << "LoadLibrary() zhavarovalo při registraci souboru %1";
        QTest::newRow("no library") << "text" << "LoadLibrary() zhavarovalo při registraci souboru %1";
        QTest::newRow("library without the entry") << "qt"
            << "Nebyl nalezen vstupní bod pro DllRegisterServer() - registrace souboru %1";
        QTest::newRow("the control library") << "tabulix" << QString();
    }
    void files()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QString path = m_dir.filePath(QStringLiteral("QirEdit.ocx"));
        if (file == QLatin1String("text")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a library\n");
        } else if (file == QLatin1String("qt")) {
            path = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Test.so.6");
            if (!QFile::exists(path))
                QSKIP("no Qt library file to try");
        } else if (file == QLatin1String("tabulix")) {
            path = testsupport::builtProgramFolder() + QStringLiteral("/libTabulix.so");
        }
        QCOMPARE(registerShowing(path), message.isNull() ? QString() : message.arg(path));
    }

    void splitPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("slashes") << "/opt/oskal/Tabulix.ocx" << "/opt/oskal" << "Tabulix.ocx";
        QTest::newRow("backslashes") << "C:\\Oskal\\Tabulix.ocx" << "C:\\Oskal" << "Tabulix.ocx";
        QTest::newRow("mixed: the last counts") << "C:\\Oskal/lib\\a.ocx" << "C:\\Oskal/lib" << "a.ocx";
        QTest::newRow("ends in a separator") << "/opt/oskal/" << "/opt/oskal" << "";
        QTest::newRow("drive root") << "C:\\a.ocx" << "C:" << "a.ocx";
        QTest::newRow("root") << "/a.ocx" << "/" << "a.ocx";
        QTest::newRow("no separator") << "a.ocx" << QDir::currentPath() << "a.ocx";
    }
    void splitPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QString f, n;
        RozdelCestu(path, f, n);
        QCOMPARE(f, folder);
        QCOMPARE(n, name);
        QCOMPARE(SlozkaSouboru(path), folder);
    }
};

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
