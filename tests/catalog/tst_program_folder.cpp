// The built program folder works wherever it is copied, and scripted runs answer its boxes.
#include "testsupport.h"

#include <QProcess>
#include <QtTest>

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

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
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
    }

    // Started from a copy, the program finds its library and its fresh catalog there.
    void runsFromACopy()
    {
        copyFolder();
        // Scripted with no answers: a box of any kind would end the run with code 3.
        const QString scriptPath = m_dir.filePath(QStringLiteral("none.txt"));
        const QString logPath = m_dir.filePath(QStringLiteral("none.log"));
        writeFile(scriptPath, QByteArray());
        QProcess oskal;
        oskal.setProcessEnvironment(environment(scriptPath, logPath));
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_folder + QStringLiteral("/QIRData.mdb")), 10000);
        QVERIFY2(!oskal.waitForFinished(1000), oskal.readAllStandardError().constData());
        QVERIFY2(!QFile::exists(logPath), qPrintable(readFile(logPath)));
        oskal.kill();
        oskal.waitForFinished();
    }

    // A box of a scripted run is answered from the script and written to the log;
    // a box with no answer left ends the program with exit code 3.
    void scriptedRun_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("answered") << QByteArray("# the missing fresh catalog\nok\n") << 1;
        QTest::newRow("no answer left") << QByteArray("") << 3;
        QTest::newRow("answer that fits no button") << QByteArray("yes\n") << 3;
    }
    void scriptedRun()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, exitCode);
        copyFolder({QStringLiteral("QIRData.upg")});
        const QString scriptPath = m_dir.filePath(QStringLiteral("answers.txt"));
        const QString logPath = m_dir.filePath(QStringLiteral("boxes.log"));
        writeFile(scriptPath, script);
        QFile::remove(logPath);
        QProcess oskal;
        oskal.setProcessEnvironment(environment(scriptPath, logPath));
        oskal.start(m_folder + QStringLiteral("/Oskal"), {});
        QVERIFY(oskal.waitForFinished(20000));
        QCOMPARE(oskal.exitCode(), exitCode);
        const QString log = readFile(logPath);
        QVERIFY2(log.startsWith(QStringLiteral("16|Oskal|")), qPrintable(log));
        QCOMPARE(log.count(QLatin1Char('\n')), 1);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_program_folder.moc"
