#include "settings.h"
#include "vberror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

// Every case runs against its own empty config folder, so no case sees another's keys.
class TstSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home.emplace();
        QVERIFY(m_home->isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path()));
    }

    void missingGivesDefault()
    {
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Nothing")), QString());
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Nothing"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        SaveSetting(App, Info, QStringLiteral("Other"), QStringLiteral("1"));
        QCOMPARE(GetSetting(App, QStringLiteral("ELSEWHERE"), QStringLiteral("Other"),
                            QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("comma") << QStringLiteral("a,b");
        QTest::newRow("comma-space") << QStringLiteral("a, b,");
        QTest::newRow("equals") << QStringLiteral("x=y");
        QTest::newRow("leading blank") << QStringLiteral(" lead");
        QTest::newRow("trailing blank") << QStringLiteral("trail ");
        QTest::newRow("czech") << QStringLiteral("Příliš žluťoučký");
        QTest::newRow("chinese") << QStringLiteral("中文");
        QTest::newRow("semicolon") << QStringLiteral("a;b");
        QTest::newRow("quoted") << QStringLiteral("\"quoted\"");
        QTest::newRow("backslash") << QStringLiteral("C:\\Data\\x.mdb");
        QTest::newRow("at sign") << QStringLiteral("@Variant(x)");
        QTest::newRow("hash") << QStringLiteral("#1");
        QTest::newRow("newline") << QStringLiteral("one\ntwo");
    }

    void roundTrip()
    {
        QFETCH(QString, value);
        SaveSetting(App, Info, QStringLiteral("Value"), value);
        // An empty string is a stored value, not a missing one.
        const QString back = GetSetting(App, Info, QStringLiteral("Value"), QStringLiteral("dflt"));
        QCOMPARE(back, value);
    }

    void unicodeNames()
    {
        SaveSetting(App, QStringLiteral("Sekce čí"), QStringLiteral("Klíč 中"), QStringLiteral("v"));
        QCOMPARE(GetSetting(App, QStringLiteral("SEKCE ČÍ"), QStringLiteral("klíč 中")),
                 QStringLiteral("v"));
    }

    void keyCaseInsensitive()
    {
        SaveSetting(App, Info, QStringLiteral("Sekce"), QStringLiteral("first"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("SEKCE")), QStringLiteral("first"));
        QCOMPARE(GetSetting(App, QStringLiteral("info"), QStringLiteral("sekce")),
                 QStringLiteral("first"));

        // Writing under another spelling replaces the value rather than adding a twin.
        SaveSetting(App, QStringLiteral("Info"), QStringLiteral("SEKCE"), QStringLiteral("second"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Sekce")), QStringLiteral("second"));
        DeleteSetting(App, Info, QStringLiteral("sEKCE"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Sekce"), QStringLiteral("gone")),
                 QStringLiteral("gone"));
    }

    void deleteThenDefault()
    {
        SaveSetting(App, Info, QStringLiteral("Keep"), QStringLiteral("k"));
        SaveSetting(App, Info, QStringLiteral("Drop"), QStringLiteral("d"));
        DeleteSetting(App, Info, QStringLiteral("Drop"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Drop"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Keep")), QStringLiteral("k"));
    }

    void deleteMissingIsSilent()
    {
        DeleteSetting(App, Info, QStringLiteral("Never"));
        DeleteSetting(QStringLiteral("NoSuchApp"), QStringLiteral("NoSection"), QStringLiteral("x"));
        SaveSetting(App, Info, QStringLiteral("Some"), QStringLiteral("s"));
        DeleteSetting(App, Info, QStringLiteral("Never"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Some")), QStringLiteral("s"));
    }

    // The file is where other tools and other instances look for it, and written at once.
    void fileLocationAndFlush()
    {
        SaveSetting(App, Info, QStringLiteral("Seen"), QStringLiteral("yes"));
        QFile file(m_home->filePath(QStringLiteral("Oskal/Oskal.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains(QStringLiteral("[INFO]")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Seen=yes")), qPrintable(text));
    }

    // Another instance writing the file must be seen by the next read, not hidden
    // behind what this process read before.
    void seesOtherWriters()
    {
        SaveSetting(App, Info, QStringLiteral("Shared"), QStringLiteral("mine"));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Shared")), QStringLiteral("mine"));
        QFile file(m_home->filePath(QStringLiteral("Oskal/Oskal.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[INFO]\nShared=written by the other one\n");
        file.close();
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Shared")),
                 QStringLiteral("written by the other one"));
    }

    void followsConfigFolderChange()
    {
        SaveSetting(App, Info, QStringLiteral("Where"), QStringLiteral("first"));
        QTemporaryDir other;
        QVERIFY(other.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(other.path()));

        QCOMPARE(GetSetting(App, Info, QStringLiteral("Where"), QStringLiteral("none")),
                 QStringLiteral("none"));
        SaveSetting(App, Info, QStringLiteral("Where"), QStringLiteral("second"));
        QVERIFY(QFile::exists(other.filePath(QStringLiteral("Oskal/Oskal.ini"))));

        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path()));
        QCOMPARE(GetSetting(App, Info, QStringLiteral("Where")), QStringLiteral("first"));
    }

    void fallsBackToHomeConfig()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldHome = qgetenv("HOME");
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        SaveSetting(App, Info, QStringLiteral("Home"), QStringLiteral("h"));
        qputenv("HOME", oldHome);
        QVERIFY(QFile::exists(home.filePath(QStringLiteral(".config/Oskal/Oskal.ini"))));
    }

    void unwritableFileThrows()
    {
        // Root writes anywhere, so make the settings file's place a folder instead.
        QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("Oskal/Oskal.ini")));
        QVERIFY_THROWS_EXCEPTION(VbError,
                                 SaveSetting(App, Info, QStringLiteral("K"), QStringLiteral("v")));
    }

private:
    const QString App = QStringLiteral("Oskal");
    const QString Info = QStringLiteral("INFO");
    std::optional<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
