// The built program folder works wherever it is copied, and scripted runs answer its boxes.
#include "catalogfixture.h"
#include "dao.h"
#include "startup/startup.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QtTest>

#include <csignal>

// Drives the program's windows on an X display through xdotool, as a user's mouse does.
class X11Driver
{
public:
    explicit X11Driver(const QProcessEnvironment &env) : m_env(env) {}
    QString xdotool(const QStringList &arguments) const
    {
        QProcess tool;
        tool.setProcessEnvironment(m_env);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromLatin1(tool.readAllStandardOutput());
    }
    // Top-left corner and size of a window, from "X=..", "Y=..", "WIDTH=..", "HEIGHT=..".
    QRect geometry(const QString &window) const
    {
        QMap<QString, int> values;
        for (const QString &line : xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
        return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")), values.value(QStringLiteral("WIDTH")),
                     values.value(QStringLiteral("HEIGHT")));
    }
    QStringList visibleWindows() const
    {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), QStringLiteral("Oskal")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void click(QPoint at) const
    {
        xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                 QStringLiteral("1")});
    }
    // The one window that shows besides `known`, once it shows; empty when none came.
    QString newWindow(const QStringList &known, int timeout = 10000) const
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeout) {
            QStringList open = visibleWindows();
            for (const QString &w : known)
                open.removeAll(w);
            if (!open.isEmpty())
                return open.first();
            QTest::qWait(50);
        }
        return {};
    }

private:
    QProcessEnvironment m_env;
};

// Runs on a display need Xvfb and xdotool; without them they are skipped.
#define SKIP_WITHOUT_DISPLAY(display)                                                  \
    do {                                                                               \
        if (!(display).isValid())                                                      \
            QSKIP("Xvfb is not available");                                            \
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())      \
            QSKIP("xdotool is not available");                                         \
    } while (false)

// "Katalog", "Konec" of the main window's menu bar, chosen with the mouse.
void chooseKonec(const X11Driver &x, const QString &mainWindow)
{
    const QRect main = x.geometry(mainWindow);
    // "Katalog" is the first title of the menu bar.
    x.click(main.topLeft() + QPoint(15, 8));
    const QString menu = x.newWindow({mainWindow});
    QVERIFY(!menu.isEmpty());
    const QRect items = x.geometry(menu);
    // "Konec" is its last item.
    x.click(QPoint(items.left() + 30, items.bottom() - 10));
}

// A start on a catalog without sections opens the sections window over the main window.
// Gives both; the main window is the larger.
void sectionsWindowShows(const X11Driver &x, QString *mainWindow, QRect *sections)
{
    QStringList windows;
    QTRY_VERIFY_WITH_TIMEOUT((windows = x.visibleWindows()).size() == 2, 20000);
    QRect first = x.geometry(windows[0]), second = x.geometry(windows[1]);
    const bool firstIsMain = first.width() * first.height() > second.width() * second.height();
    *mainWindow = windows[firstIsMain ? 0 : 1];
    *sections = firstIsMain ? second : first;
}

// The sections window's buttons, from its bottom right corner: Konec is the last of the
// row, OK the one before it.
const QPoint kKonecFromCorner(52, 23);
const QPoint kOKFromCorner(138, 23);
// The control's "Přidat řádek", from the window's bottom left corner.
const QPoint kAddFromCorner(60, -60);

// Closes the sections window that a start without sections opened, with its Konec; the
// main window stays alone.
void closeSectionsWindow(const X11Driver &x, QString *mainWindow)
{
    QRect sections;
    sectionsWindowShows(x, mainWindow, &sections);
    x.click(sections.bottomRight() - kKonecFromCorner);
    QTRY_VERIFY_WITH_TIMEOUT(x.visibleWindows().size() == 1, 10000);
}

class TestProgramFolder : public QObject
{
    Q_OBJECT

    QString m_folder;
    QTemporaryDir m_dir;

    void copyFolder(const QStringList &skip = {})
    {
        const QDir built(testsupport::builtProgramFolder());
        static int copies = 0;
        m_folder = m_dir.filePath(QStringLiteral("moved elsewhere %1").arg(++copies));
        QDir().mkpath(m_folder);
        for (const QString &name : built.entryList(QDir::Files)) {
            if (skip.contains(name) || name == QLatin1String("QIRData.mdb"))
                continue;
            QVERIFY(QFile::copy(built.filePath(name), m_folder + QLatin1Char('/') + name));
            QFile::setPermissions(m_folder + QLatin1Char('/') + name, QFile::permissions(built.filePath(name)));
        }
    }

    QProcessEnvironment environment(const QString &script, const QString &log)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("OSKAL_SCRIPT"), script);
        env.insert(QStringLiteral("OSKAL_SCRIPT_LOG"), log);
        return env;
    }

    // A fresh copy of the program with no settings, its boxes answered by `answers` and
    // logged to `name`.log, to run on `display`.
    QProcessEnvironment displayRun(const testsupport::VirtualDisplay &display, const QString &name, const QByteArray &answers)
    {
        copyFolder();
        const QString scriptPath = m_dir.filePath(name + QStringLiteral(".txt"));
        const QString logPath = m_dir.filePath(name + QStringLiteral(".log"));
        writeFile(scriptPath, answers);
        QFile::remove(logPath);
        QFile::remove(m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini")));
        QProcessEnvironment env = environment(scriptPath, logPath);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display.name());
        return env;
    }

    // Starts the copied program headless, its boxes answered by `answers`; gives the log's path.
    QString startScripted(QProcess &oskal, const QString &name, const QByteArray &answers)
    {
        const QString scriptPath = m_dir.filePath(name + QStringLiteral(".txt"));
        const QString logPath = m_dir.filePath(name + QStringLiteral(".log"));
        writeFile(scriptPath, answers);
        QFile::remove(logPath);
        oskal.setProcessEnvironment(environment(scriptPath, logPath));
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        return logPath;
    }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // The copied folder's catalog with one section of one field, and the password tajne.
    void withNetworkCatalog(const QString &verze = QStringLiteral("3.0.4"))
    {
        const QString catalog = m_folder + QStringLiteral("/QIRData.mdb");
        QVERIFY(QFile::copy(m_folder + QStringLiteral("/QIRData.upg"), catalog));
        QFile::setPermissions(catalog, QFile::permissions(catalog) | QFile::WriteOwner);
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog);
        db->Execute(QStringLiteral("update S_Param set Heslo='tajne', Verze='%1'").arg(verze));
        db->Execute(QStringLiteral("insert into Sekce (Sekce, Nazev) values (1, 'Knihy')"));
        db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Typ, Zarovnani, Nazev, Sekce) "
                                   "values (1, 'Pol1', 1, 'C', 'L', 'Název', 1)"));
    }

    // The settings of section INFO the next run starts with, and no others.
    void withSettings(const QMap<QString, QString> &values)
    {
        const QString ini = m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"));
        QFile::remove(ini);
        QSettings settings(ini, QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(QStringLiteral("INFO/") + it.key(), it.value());
    }

    QStringList gridLogins()
    {
        QStringList logins;
        dao::Workspace ws;
        auto db = ws.OpenDatabase(m_folder + QStringLiteral("/QIRData.mdb"), false, true);
        auto rs = db->OpenRecordset(QStringLiteral("select distinct Login from S_Grid"));
        for (; !rs->Eof(); rs->MoveNext())
            logins << rs->Fields(0).Value().toString();
        return logins;
    }

    // The first field of a query's first row on the catalog at path, read-only; empty when
    // there is none, or while the program writes the file.
    static QString firstValue(const QString &path, const QString &sql)
    {
        dao::Workspace ws;
        try {
            auto db = ws.OpenDatabase(path, false, true);
            auto rs = db->OpenRecordset(sql);
            return rs->Eof() ? QString() : rs->Fields(0).Value().toString();
        } catch (const VbError &) {
            return QString();
        }
    }

    static QString readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private Q_SLOTS:
    void contents()
    {
        const QDir built(testsupport::builtProgramFolder());
        QVERIFY(built.exists(QStringLiteral("Oskal")));
        QVERIFY(built.exists(QStringLiteral("libTabulix.so")));
        QVERIFY(built.exists(QStringLiteral("libjetcz.so")));
        QVERIFY(built.exists(QStringLiteral("QIRData.upg")));
        QVERIFY(built.exists(QStringLiteral("img")));
    }

    // The platform's state (the box answerer, the beep counter) exists once, in the control
    // library, so that the program and its controls share it.
    void platformOnlyInTheLibrary()
    {
        const QDir built(testsupport::builtProgramFolder());
        const auto defines = [](const QString &file) {
            QProcess nm;
            nm.start(QStringLiteral("nm"), {QStringLiteral("-C"), QStringLiteral("--defined-only"), file});
            nm.waitForFinished();
            return QString::fromUtf8(nm.readAllStandardOutput());
        };
        const QString library = defines(built.filePath(QStringLiteral("libTabulix.so")));
        if (library.isEmpty())
            QSKIP("nm is not available");
        QVERIFY(library.contains(QLatin1String("MsgBox(")));
        const QString program = defines(built.filePath(QStringLiteral("Oskal")));
        QVERIFY(!program.contains(QLatin1String("MsgBox(")));
        QVERIFY(!program.contains(QLatin1String("dao::Database::Execute")));
        // The routines both deliverables share are the library's too.
        QVERIFY(library.contains(QLatin1String("MaxPole(")));
        QVERIFY(!program.contains(QLatin1String("MaxPole(")));
    }

    // Started from a copy, the program finds its library and its fresh catalog there, and
    // its only question is the one for a catalog without sections.
    void runsFromACopy()
    {
        copyFolder();
        const QString scriptPath = m_dir.filePath(QStringLiteral("fresh.txt"));
        const QString logPath = m_dir.filePath(QStringLiteral("fresh.log"));
        writeFile(scriptPath, QByteArray("ok\n"));
        QFile::remove(logPath);
        QProcess oskal;
        oskal.setProcessEnvironment(environment(scriptPath, logPath));
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(logPath), 10000);
        QVERIFY2(!oskal.waitForFinished(1000), oskal.readAllStandardError().constData());
        QVERIFY(QFile::exists(m_folder + QStringLiteral("/QIRData.mdb")));
        QCOMPARE(readFile(logPath),
                 QStringLiteral("64|Zobrazení přehledu|Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.\n"));

        // A second start of the same program is refused while the first runs.
        const QString secondLog = m_dir.filePath(QStringLiteral("second.log"));
        QProcess second;
        second.setProcessEnvironment(environment(scriptPath, secondLog));
        second.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(readFile(secondLog), QStringLiteral("48|Oskal|Program již je spuštěn.\n"));

        oskal.kill();
        oskal.waitForFinished();
    }

    // Control files that cannot be created: the first start registers them and starts the
    // program anew with "R"; the new instance either runs, or gives up with message 286.
    void restartAfterRegistering_data()
    {
        QTest::addColumn<QString>("hook");
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("runs");
        QTest::newRow("fails again after the restart") << "1"
            << "16|Registrace komponent aplikace|Registrace komponent neproběhla úspěšně. Aplikaci nelze spustit.\n" << false;
        QTest::newRow("works after the restart") << "first"
            << "64|Zobrazení přehledu|Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.\n" << true;
    }
    void restartAfterRegistering()
    {
        QFETCH(QString, hook);
        QFETCH(QString, log);
        QFETCH(bool, runs);
        copyFolder();
        const QString scriptPath = m_dir.filePath(QStringLiteral("restart.txt"));
        const QString logPath = m_dir.filePath(QStringLiteral("restart.log"));
        writeFile(scriptPath, QByteArray("ok\n"));
        QFile::remove(logPath);
        QProcessEnvironment env = environment(scriptPath, logPath);
        env.insert(QStringLiteral("OSKAL_TEST_PROBE_FAILS"), hook);
        const QString program = m_folder + QStringLiteral("/Oskal");
        QProcess first;
        first.setProcessEnvironment(env);
        // The new instance inherits the output channels, which nobody reads once the first
        // has ended: it must live on all the same.
        first.start(program, {});
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        // The first instance showed nothing; the box is the new instance's.
        QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath), log, 20000);
        QLockFile lock(ZamekInstance(program));
        if (runs) {
            qint64 pid = 0;
            QString host, application;
            QVERIFY(lock.getLockInfo(&pid, &host, &application));
            QVERIFY(pid > 0 && pid != first.processId());
            ::kill(pid_t(pid), SIGTERM);
        }
        // Whether it gave up or was ended, the new instance lets go of the program.
        bool free = false;
        QTRY_VERIFY_WITH_TIMEOUT(free || (free = lock.tryLock(0)), 20000);
    }

    // Katalog, Konec chosen with the mouse on a real display: the program saves its
    // settings and ends normally, as closing its window does.
    void konecEndsTheProgram()
    {
        const testsupport::VirtualDisplay display;
        SKIP_WITHOUT_DISPLAY(display);
        const QString logPath = m_dir.filePath(QStringLiteral("konec.log"));
        const QString ini = m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"));
        const QProcessEnvironment env = displayRun(display, QStringLiteral("konec"), QByteArray("ok\n"));
        QProcess oskal;
        oskal.setProcessEnvironment(env);
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        // The catalog has no section: the box about it comes after the main window.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(logPath), 20000);

        const X11Driver x(env);
        QString mainWindow;
        closeSectionsWindow(x, &mainWindow);
        chooseKonec(x, mainWindow);

        QVERIFY2(oskal.waitForFinished(20000), "the program did not end");
        QCOMPARE(oskal.exitStatus(), QProcess::NormalExit);
        QCOMPARE(oskal.exitCode(), 0);
        QSettings settings(ini, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("INFO/mdiWindowState")).toString(), QStringLiteral("0"));
        QCOMPARE(settings.value(QStringLiteral("INFO/Sekce")).toString(), QStringLiteral("0"));
        QCOMPARE(readFile(logPath),
                 QStringLiteral("64|Zobrazení přehledu|Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.\n"));
    }

    // From the fresh catalog a user makes the first section: the box about none, then the
    // sections window, where a row added, named and saved with OK gives the catalog the
    // section and its definitions. The section is current at once: it is the one saved
    // when the program ends.
    void makesTheFirstSection()
    {
        const testsupport::VirtualDisplay display;
        SKIP_WITHOUT_DISPLAY(display);
        const QString logPath = m_dir.filePath(QStringLiteral("first.log"));
        const QString ini = m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"));
        const QProcessEnvironment env = displayRun(display, QStringLiteral("first"), QByteArray("ok\n"));
        const auto cleanSettings = qScopeGuard([ini] { QFile::remove(ini); });
        QProcess oskal;
        oskal.setProcessEnvironment(env);
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        const X11Driver x(env);
        QString mainWindow;
        QRect sections;
        sectionsWindowShows(x, &mainWindow, &sections);
        QCOMPARE(readFile(logPath),
                 QStringLiteral("64|Zobrazení přehledu|Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.\n"));
        // "Přidat řádek" under the grid's left end; the new row's name cell takes the keys.
        x.click(sections.bottomLeft() + kAddFromCorner);
        QTest::qWait(300);
        x.xdotool({QStringLiteral("type"), QStringLiteral("Knihy")});
        x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QTest::qWait(300);
        x.click(sections.bottomRight() - kOKFromCorner);
        QTRY_VERIFY_WITH_TIMEOUT(x.visibleWindows().size() == 1, 10000);
        const auto read = [&](const QString &sql) { return firstValue(m_folder + QStringLiteral("/QIRData.mdb"), sql); };
        QCOMPARE(read(QStringLiteral("select Sekce || ' ' || Nazev from Sekce")), QStringLiteral("1 Knihy"));
        QCOMPARE(read(QStringLiteral("select count(*) from Definice where Sekce=1")), QStringLiteral("30"));
        QCOMPARE(read(QStringLiteral("select count(*) from VychoziDefinice where Sekce=1")), QStringLiteral("30"));
        chooseKonec(x, mainWindow);
        QVERIFY2(oskal.waitForFinished(20000), "the program did not end");
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("INFO/Sekce")).toString(), QStringLiteral("1"));
        QCOMPARE(readFile(logPath).count(QLatin1Char('\n')), 1);
    }

    // Started on a catalog that a newer version wrote, the program converts it and opens
    // its section without a question; the values it does not know stay in the file.
    void convertsANewerCatalog()
    {
        copyFolder();
        const QString catalog = m_folder + QStringLiteral("/QIRData.mdb");
        QVERIFY(QFile::copy(m_folder + QStringLiteral("/QIRData.upg"), catalog));
        QFile::setPermissions(catalog, QFile::permissions(catalog) | QFile::WriteOwner);
        testsupport::makeNewerCatalog(catalog);
        const QString scriptPath = m_dir.filePath(QStringLiteral("convert.txt"));
        const QString logPath = m_dir.filePath(QStringLiteral("convert.log"));
        writeFile(scriptPath, QByteArray());
        QFile::remove(logPath);
        QProcess oskal;
        oskal.setProcessEnvironment(environment(scriptPath, logPath));
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        const auto read = [&](const QString &sql) { return firstValue(catalog, sql); };
        QTRY_COMPARE_WITH_TIMEOUT(read(QStringLiteral("select Verze from S_Param")), QStringLiteral("3.0.4"), 20000);
        QVERIFY2(!oskal.waitForFinished(1000), oskal.readAllStandardError().constData());
        QCOMPARE(read(QStringLiteral("select Stitek from Katalog where Inter=1")), QStringLiteral("modrá"));
        QCOMPARE(read(QStringLiteral("select Pol1c from Katalog where Inter=4")), QStringLiteral("Bez klíče"));
        QCOMPARE(read(QStringLiteral("select Text from Recenze")), QStringLiteral("Výborná"));
        QCOMPARE(readFile(logPath), QString());
        oskal.kill();
        oskal.waitForFinished();
    }

    // The flag of the status bar opens the language window; "China" chosen there is stored,
    // the program says it takes effect at the next start, and the next start speaks Chinese.
    void languageChosenForTheNextStart()
    {
        const testsupport::VirtualDisplay display;
        SKIP_WITHOUT_DISPLAY(display);
        const QString logPath = m_dir.filePath(QStringLiteral("lang.log"));
        const QString ini = m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"));
        const QProcessEnvironment env = displayRun(display, QStringLiteral("lang"), QByteArray("ok\nok\nok\n"));
        // The runs after this one start in Czech again.
        const auto czechAgain = qScopeGuard([ini] { QFile::remove(ini); });
        const X11Driver x(env);
        const auto start = [&](QProcess &oskal) {
            oskal.setProcessEnvironment(env);
            oskal.start(m_folder + QStringLiteral("/Oskal"), {});
            QVERIFY(oskal.waitForStarted());
        };
        const QString noSectionCzech =
            QStringLiteral("64|Zobrazení přehledu|Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.\n");

        QProcess first;
        start(first);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(logPath), 20000);
        QString mainWindow;
        closeSectionsWindow(x, &mainWindow);
        const QStringList windows{mainWindow};
        const QRect main = x.geometry(mainWindow);
        // The flag is a panel at the right of the status bar; the panels around it do nothing.
        QString lang;
        for (int dx = 6; dx < 400 && lang.isEmpty(); dx += 6) {
            x.click(QPoint(main.right() - dx, main.bottom() - 8));
            lang = x.newWindow(windows, 300);
        }
        QVERIFY2(!lang.isEmpty(), "no language window from the status bar");
        const QRect grid = x.geometry(lang);
        x.click(QPoint(grid.left() + 60, grid.top() + grid.height() * 5 / 6));  // the third row
        QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath),
                                  noSectionCzech + QStringLiteral("64|Oskal|Provedené změny se projeví po restartu aplikace\n"), 10000);
        chooseKonec(x, windows.first());
        QVERIFY2(first.waitForFinished(20000), "the program did not end");
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("INFO/Lang")).toString(), QStringLiteral("3"));
        QCOMPARE(readFile(logPath).count(QLatin1Char('\n')), 2);  // nothing said on the way out

        QFile::remove(logPath);
        QProcess second;
        start(second);
        QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath), QStringLiteral("64|显示概览|尚未添加任何分区。请添加新分区并设置目录。\n"), 20000);
        second.kill();
        second.waitForFinished();
    }

    // A network workstation's first start on a display: the name is asked for by a box,
    // the login is typed into its window, and the user's name is the one the overview's
    // control keeps its layout under.
    void networkWorkstation_data()
    {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QStringList>("keys");  // xdotool commands typed into the login window
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QString>("log");
        const QString named = QStringLiteral(
            "input|Nastavení prostředí|První spušťení síťové stanice.\\nZadejte unikátní název stanice (max.30 znaků)"
            "\\n\\nBez nastavení názvu stanice program nebude pracovat!\n"
            "64|Nastavení prostředí|Stanice  Sklad 2  byla nastavena.\n");
        QTest::newRow("right password") << QByteArray("input Sklad 2\nok\n")
                                        << QStringList{"key ctrl+a", "type eva", "key Tab", "type tajne", "key Return"} << true
                                        << named;
        QTest::newRow("wrong password, then the right one")
            << QByteArray("input Sklad 2\nok\nok\n")
            << QStringList{"key ctrl+a", "type eva", "key Tab", "type spatne", "key Return", "type tajne", "key Return"} << true
            << named + QStringLiteral("0|Login|Špatně zadané heslo.\n");
        QTest::newRow("cancelled") << QByteArray("input Sklad 2\nok\n") << QStringList{"type eva", "key Tab", "type taj", "key Escape"}
                                   << false << named;
    }
    void networkWorkstation()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QStringList, keys);
        QFETCH(bool, runs);
        QFETCH(QString, log);
        const testsupport::VirtualDisplay display;
        SKIP_WITHOUT_DISPLAY(display);
        const QString logPath = m_dir.filePath(QStringLiteral("network.log"));
        const QString ini = m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"));
        const QProcessEnvironment env = displayRun(display, QStringLiteral("network"), answers);
        withNetworkCatalog();
        withSettings({{QStringLiteral("SitovaStanice"), QStringLiteral("True")}});
        const auto cleanSettings = qScopeGuard([ini] { QFile::remove(ini); });
        QProcess oskal;
        oskal.setProcessEnvironment(env);
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        const auto ended = qScopeGuard([&oskal] {
            if (oskal.state() != QProcess::NotRunning) {
                oskal.kill();
                oskal.waitForFinished();
            }
        });

        const X11Driver x(env);
        const QString login = x.newWindow({}, 20000);
        QVERIFY2(!login.isEmpty(), "no login window");
        QCOMPARE(x.xdotool({QStringLiteral("getwindowname"), login}).trimmed(), QStringLiteral("Login"));
        for (const QString &step : keys)
            x.xdotool({step.section(QLatin1Char(' '), 0, 0), QStringLiteral("--delay"), QStringLiteral("20"),
                       step.section(QLatin1Char(' '), 1)});
        if (runs) {
            const QString main = x.newWindow({login}, 20000);
            QVERIFY2(!main.isEmpty(), "no main window");
            QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath), log, 10000);
            chooseKonec(x, main);
        }
        QVERIFY2(oskal.waitForFinished(20000), "the program did not end");
        QCOMPARE(oskal.exitStatus(), QProcess::NormalExit);
        QCOMPARE(oskal.exitCode(), 0);
        QCOMPARE(readFile(logPath), log);
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("INFO/Stanice")).toString(), QStringLiteral("Sklad 2"));
        QCOMPARE(gridLogins(), runs ? QStringList{QStringLiteral("eva")} : QStringList());
        // The password is nowhere to be read.
        const QString output = QString::fromUtf8(oskal.readAllStandardOutput() + oskal.readAllStandardError());
        for (const QString &text : {readFile(logPath), readFile(ini), output})
            QVERIFY2(!text.contains(QLatin1String("taj")) && !text.contains(QLatin1String("spatne")), qPrintable(text));
    }

    // The network starts that end before the login, or never ask for one.
    void networkStartWithoutLogin_data()
    {
        QTest::addColumn<QString>("network");
        QTest::addColumn<QString>("fromNetwork");
        QTest::addColumn<QString>("verze");
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<int>("exitCode");  // -1: runs
        QTest::addColumn<QString>("log");
        QTest::newRow("no workstation name")
            << "True" << QString() << "3.0.4" << QByteArray("input\nok\n") << 1
            << "input|Nastavení prostředí|První spušťení síťové stanice.\\nZadejte unikátní název stanice (max.30 znaků)"
               "\\n\\nBez nastavení názvu stanice program nebude pracovat!\n"
               "48|Nastavení prostředí|Nebylo nastaveno systémové jméno stanice. Program nebude pracovat!\n";
        QTest::newRow("program on the network drive, data to convert")
            << "True" << "True" << "3.1.0" << QByteArray("ok\n") << 1
            << "16|Otevření dat|Verze programu ( 3.0.4 ) neodpovídá verzi dat na serveru (3.1.0 )\\nProgram bude ukončen.\n";
        QTest::newRow("single workstation: nothing asked") << "False" << "True" << "3.0.4" << QByteArray() << -1 << QString();
    }
    void networkStartWithoutLogin()
    {
        QFETCH(QString, network);
        QFETCH(QString, fromNetwork);
        QFETCH(QString, verze);
        QFETCH(QByteArray, answers);
        QFETCH(int, exitCode);
        QFETCH(QString, log);
        copyFolder();
        withNetworkCatalog(verze);
        QMap<QString, QString> settings{{QStringLiteral("SitovaStanice"), network}};
        if (!fromNetwork.isNull())
            settings.insert(QStringLiteral("ProgramZeSite"), fromNetwork);
        withSettings(settings);
        const auto cleanSettings = qScopeGuard([this] { QFile::remove(m_dir.filePath(QStringLiteral("config/Oskal/Oskal.ini"))); });
        QProcess oskal;
        const QString logPath = startScripted(oskal, QStringLiteral("network"), answers);
        if (exitCode < 0) {
            // Running on its section, with no box shown.
            QVERIFY2(!oskal.waitForFinished(3000), oskal.readAllStandardError().constData());
            QCOMPARE(readFile(logPath), log);
            oskal.kill();
            oskal.waitForFinished();
            return;
        }
        QVERIFY(oskal.waitForFinished(20000));
        QCOMPARE(oskal.exitCode(), exitCode);
        QCOMPARE(readFile(logPath), log);
        dao::Workspace ws;
        QCOMPARE(ws.OpenDatabase(m_folder + QStringLiteral("/QIRData.mdb"), false, true)
                     ->OpenRecordset(QStringLiteral("select Verze from S_Param"))
                     ->Fields(0)
                     .Value()
                     .toString(),
                 verze);
    }

    // Each way a start can fail ends the program with its message, through the real program.
    void failedStart_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("log");
        const QString missing = QStringLiteral("48|Spuštění aplikace Oskal|Datový soubor QIRData.mdb nebyl nalezen. Aplikace bude ukončena.\n");
        QTest::newRow("no catalog, answered") << "no catalog" << QByteArray("# the missing catalog\nok\n") << 1 << missing;
        QTest::newRow("no catalog, no answer left") << "no catalog" << QByteArray("") << 3 << missing;
        QTest::newRow("no catalog, answer that fits no button") << "no catalog" << QByteArray("yes\n") << 3 << missing;
        QTest::newRow("not a database") << "not a database" << QByteArray("ok\n") << 1
            << "16|Spuštění aplikace Oskal|Chyba při otevírání dat. Aplikaci nelze spustit.\\nfile is not a database";
        QTest::newRow("old data") << "2.9.9" << QByteArray("ok\n") << 1
            << "16|Spuštění programu Oskal verze 3.0.4|Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit.\n";
    }
    void failedStart()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, script);
        QFETCH(int, exitCode);
        QFETCH(QString, log);
        copyFolder(setup == QLatin1String("no catalog") ? QStringList{QStringLiteral("QIRData.upg")} : QStringList());
        const QString catalog = m_folder + QStringLiteral("/QIRData.mdb");
        if (setup == QLatin1String("not a database"))
            writeFile(catalog, QByteArray("plain words, not a catalog\n").repeated(100));
        if (setup == QLatin1String("2.9.9")) {
            QVERIFY(QFile::copy(m_folder + QStringLiteral("/QIRData.upg"), catalog));
            dao::Workspace ws;
            ws.OpenDatabase(catalog)->Execute(QStringLiteral("update S_Param set Verze='2.9.9'"));
        }
        QProcess oskal;
        const QString logPath = startScripted(oskal, QStringLiteral("boxes"), script);
        QVERIFY(oskal.waitForFinished(20000));
        QCOMPARE(oskal.exitCode(), exitCode);
        const QString logged = readFile(logPath);
        QVERIFY2(logged.startsWith(log), qPrintable(logged));
        QCOMPARE(logged.count(QLatin1Char('\n')), 1);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_program_folder.moc"
