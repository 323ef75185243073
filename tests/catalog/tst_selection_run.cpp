// The real program on a real display, driven as a user drives it, its questions answered
// from the script: a hostile row typed into the selection window and applied, then
// "Smazat všechny vybrané záznamy" from the menu, which takes the one record that holds
// the text, in no other section; and "Smazat záznam" from the menu, which takes the
// overview's current record with its attachment row.
#include "dao.h"
#include "testsupport.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

class TestSelectionRun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder;

    static QString readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Records per section and attachment rows: "1:3 2:2 3:1 obr:3".
    QString census()
    {
        dao::Workspace ws;
        auto db = ws.OpenDatabase(m_folder + QStringLiteral("/QIRData.mdb"));
        QStringList parts;
        for (int s = 1; s <= 3; ++s)
            parts << QStringLiteral("%1:%2").arg(s).arg(
                db->OpenRecordset(QStringLiteral("select count(*) from Katalog where Sekce=%1").arg(s))->Fields(0).Value().toLong());
        parts << QStringLiteral("obr:%1").arg(db->OpenRecordset(QStringLiteral("select count(*) from Obrazky"))->Fields(0).Value().toLong());
        return parts.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void deletesFromTheMenu_data()
    {
        QTest::addColumn<bool>("hostileRow");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("after");
        QTest::newRow("selected records") << true
                                          << QStringLiteral("52|Rušení záznamů|Smazat vybrané záznamy?\\nPočet záznamů 1\n")
                                          << QStringLiteral("1:2 2:2 3:1 obr:2");
        // The first row in Czech order is "Čaj", record 1 with the attachment a.jpg.
        QTest::newRow("current record") << false << QStringLiteral("4|Aktualizace|Opravdu zrušit řádek?\n")
                                        << QStringLiteral("1:2 2:2 3:1 obr:2");
    }
    void deletesFromTheMenu()
    {
        QFETCH(bool, hostileRow);
        QFETCH(QString, box);
        QFETCH(QString, after);
        // Each run in a folder of its own.
        const QString run = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
        const testsupport::VirtualDisplay display;
        if (!display.isValid())
            QSKIP("Xvfb is not available");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not available");

        // The program folder with a catalog of three sections; section 1 holds the text.
        m_folder = m_dir.filePath(run + QStringLiteral("/program"));
        QDir().mkpath(m_folder);
        const QDir built(testsupport::builtProgramFolder());
        for (const QString &name : built.entryList(QDir::Files)) {
            if (name == QLatin1String("QIRData.mdb"))
                continue;
            QVERIFY(QFile::copy(built.filePath(name), m_folder + QLatin1Char('/') + name));
            QFile::setPermissions(m_folder + QLatin1Char('/') + name, QFile::permissions(built.filePath(name)));
        }
        const QString catalog = m_folder + QStringLiteral("/QIRData.mdb");
        QVERIFY(QFile::copy(m_folder + QStringLiteral("/QIRData.upg"), catalog));
        QFile::setPermissions(catalog, QFile::permissions(catalog) | QFile::WriteOwner);
        {
            dao::Workspace ws;
            auto db = ws.OpenDatabase(catalog);
            for (int s = 1; s <= 3; ++s) {
                db->Execute(QStringLiteral("insert into Sekce values (%1, 'Sekce %1')").arg(s));
                db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Popis, Nazev, Typ, Zarovnani, Sekce) "
                                           "values (1, 'Pol1', 1, 1, 'Název', 'C', 'L', %1)").arg(s));
            }
            for (const char *row : {"1, 'Čaj', 1", "2, 'x'') OR 1=1 OR (''', 1", "3, 'Káva', 1", "20, 'Čaj', 2",
                                    "21, 'x'') OR 1=1 OR (''', 2", "30, 'Čaj', 3"})
                db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1)").arg(QLatin1String(row)));
            for (const char *row : {"1, 1, 'a.jpg'", "2, 1, 'b.jpg'", "21, 1, 'c.jpg'"})
                db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (%1)").arg(QLatin1String(row)));
        }
        QCOMPARE(census(), QStringLiteral("1:3 2:2 3:1 obr:3"));

        const QString config = m_dir.filePath(run + QStringLiteral("/config"));
        {
            QSettings settings(config + QStringLiteral("/Oskal/Oskal.ini"), QSettings::IniFormat);
            settings.setValue(QStringLiteral("INFO/Sekce"), QStringLiteral("1"));
            settings.setValue(QStringLiteral("INFO/VyberWindowShow"), QStringLiteral("True"));
            settings.setValue(QStringLiteral("INFO/NahledWindowShow"), QStringLiteral("False"));
            // The selection window in the area's corner, the overview beside it.
            settings.setValue(QStringLiteral("INFO/VyberWindowLeft"), QStringLiteral("0"));
            settings.setValue(QStringLiteral("INFO/VyberWindowTop"), QStringLiteral("0"));
            settings.setValue(QStringLiteral("INFO/PrehledWindowLeft"), QStringLiteral("6000"));
            settings.setValue(QStringLiteral("INFO/PrehledWindowTop"), QStringLiteral("0"));
        }
        const QString script = m_dir.filePath(run + QStringLiteral("/answers.txt"));
        const QString log = m_dir.filePath(run + QStringLiteral("/boxes.log"));
        {
            QFile f(script);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("# the delete question\nyes\n");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display.name());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("OSKAL_SCRIPT"), script);
        env.insert(QStringLiteral("OSKAL_SCRIPT_LOG"), log);

        QProcess oskal;
        oskal.setProcessEnvironment(env);
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        const auto xdotool = [&](const QStringList &arguments) {
            QProcess tool;
            tool.setProcessEnvironment(env);
            tool.start(QStringLiteral("xdotool"), arguments);
            tool.waitForFinished(10000);
            return QString::fromLatin1(tool.readAllStandardOutput());
        };
        const auto keys = [&](const QStringList &sequence) {
            for (const QString &key : sequence) {
                xdotool({QStringLiteral("key"), key});
                QTest::qWait(150);
            }
        };
        const auto click = [&](QPoint at) {
            xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                     QStringLiteral("1")});
            QTest::qWait(300);
        };
        QStringList windows;
        QTRY_VERIFY_WITH_TIMEOUT(!(windows = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                                                      QStringLiteral("Oskal")}).split(QLatin1Char('\n'), Qt::SkipEmptyParts)).isEmpty(),
                                 20000);
        QMap<QString, int> values;
        for (const QString &line : xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windows.first()})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
        const QPoint main(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")));
        QTest::qWait(1500);  // the views open after the main window

        if (hostileRow) {
            // Into the first row (below the menu bar, the section strip and the window's
            // title), the hostile text, Tab to "Vybrat" and Space.
            click(main + QPoint(200, 85));
            xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("x') OR 1=1 OR ('")});
            keys({QStringLiteral("Tab"), QStringLiteral("space")});
            QTest::qWait(500);
            // "Katalog" is the first title of the menu bar; Up wraps round to "Konec", five
            // more (the update, the export and the two attachment commands) reach "Smazat
            // všechny vybrané záznamy"; the keys pass over separators and disabled items.
            click(main + QPoint(15, 8));
            keys({QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up"),
                  QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Return")});
        } else {
            // Down from "Změna sekce" past three record commands to "Smazat záznam".
            click(main + QPoint(15, 8));
            keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                  QStringLiteral("Down"), QStringLiteral("Return")});
        }
        QTRY_COMPARE_WITH_TIMEOUT(readFile(log), box, 10000);
        QTest::qWait(500);
        // Konec.
        click(main + QPoint(15, 8));
        keys({QStringLiteral("Up"), QStringLiteral("Return")});
        // It may have ended while the test waited.
        QVERIFY2(oskal.state() == QProcess::NotRunning || oskal.waitForFinished(20000), "the program did not end");
        QCOMPARE(oskal.exitStatus(), QProcess::NormalExit);
        QCOMPARE(oskal.exitCode(), 0);
        QCOMPARE(census(), after);
    }
};

QTEST_GUILESS_MAIN(TestSelectionRun)
#include "tst_selection_run.moc"
