// Opening files with the desktop's opener, and waiting for processes.
#include "process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <spawn.h>
#include <unistd.h>

extern char **environ;

namespace {

// A child of this test running a shell command; its pid.
pid_t spawnShell(const char *command)
{
    pid_t pid = 0;
    char sh[] = "/bin/sh", c[] = "-c";
    std::string cmd(command);
    char *argv[] = {sh, c, cmd.data(), nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        return 0;
    return pid;
}

}  // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void desktopOpenerFailures_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("result");
        QTest::newRow("missing file") << "missing.pdf" << int(process::FileNotFound);
        QTest::newRow("missing folder") << "no folder/missing.pdf" << int(process::PathNotFound);
        QTest::newRow("no name at all") << "" << int(process::FileNotFound);
    }
    void desktopOpenerFailures()
    {
        QFETCH(QString, relative);
        QFETCH(int, result);
        QTemporaryDir dir;
        const QString file = relative.isEmpty() ? QString() : dir.filePath(relative);
        QCOMPARE(process::ShellExecute(file, QString(), QStringLiteral("/")), result);
    }

    // Without a desktop to open documents with (this test has no GUI), a document has no
    // application, whether or not it carries the execute bit.
    void documentWithoutApplication_data()
    {
        QTest::addColumn<bool>("executeBit");
        QTest::newRow("plain") << false;
        QTest::newRow("with the execute bit") << true;
    }
    void documentWithoutApplication()
    {
        QFETCH(bool, executeBit);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plán.pdf"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4 not really\n");
        f.close();
        if (executeBit)
            QVERIFY(QFile::setPermissions(file, f.permissions() | QFile::ExeOwner));
        QCOMPARE(process::ShellExecute(file, QString(), QStringLiteral("/")), int(process::NoAssociation));
    }

    void noPermission()
    {
        if (geteuid() == 0)
            QSKIP("the superuser reads every file");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("secret.txt"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QFile::setPermissions(file, {}));
        QCOMPARE(process::ShellExecute(file, QString(), QStringLiteral("/")), int(process::AccessDenied));
    }

    // A program is started with its parameters, in the folder given, and not waited for.
    // Parameters part at blanks and tabs alone: no-break spaces join one.
    void startsAProgram_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("received");
        QTest::newRow("quoted") << QStringLiteral("\"a b\" c") << QStringLiteral("a b|c");
        QTest::newRow("no-break spaces") << QStringLiteral("/p/\u00A0/q/\u00A0 r") << QStringLiteral("/p/\u00A0/q/\u00A0|r");
    }

    void startsAProgram()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, received);
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("run me.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nsleep 0.2\necho \"$1|$2|$(pwd)\" > \"$(dirname \"$0\")/out.txt\"\n");
        f.close();
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QElapsedTimer timer;
        timer.start();
        const int result = process::ShellExecute(script, parameters, dir.path());
        QVERIFY(result > 32);
        QVERIFY(timer.elapsed() < 200);
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && QFileInfo(out).size() > 0, 5000);
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(o.readAll()).trimmed(), received + QLatin1Char('|') + QDir(dir.path()).canonicalPath());
    }

    void replacedOpener()
    {
        QStringList calls;
        auto previous = process::setOpener([&](const QString &file, const QString &parameters, const QString &directory) {
            calls << file + QLatin1Char('|') + parameters + QLatin1Char('|') + directory;
            return int(process::NoAssociation);
        });
        QCOMPARE(process::ShellExecute(QStringLiteral("a.xyz"), QStringLiteral("p"), QStringLiteral("/")), 31);
        QCOMPARE(calls, QStringList{"a.xyz|p|/"});
        auto ours = process::setOpener(previous);
        QVERIFY(ours);
        // An empty opener is the desktop's.
        process::setOpener({});
        QCOMPARE(process::ShellExecute(QStringLiteral("/no/such/folder/a.pdf"), QString(), QStringLiteral("/")), 3);
        process::setOpener(previous);
    }

    void exitCodes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("block");
        QTest::addColumn<int>("code");
        QTest::newRow("blocking") << "exit 7" << true << 7;
        QTest::newRow("responsive") << "exit 7" << false << 7;
        QTest::newRow("responsive, still running") << "sleep 0.3; exit 3" << false << 3;
        QTest::newRow("blocking, still running") << "sleep 0.3; exit 0" << true << 0;
        QTest::newRow("ended by a signal") << "kill -9 $$" << true << 128 + 9;
    }
    void exitCodes()
    {
        QFETCH(QString, command);
        QFETCH(bool, block);
        QFETCH(int, code);
        const pid_t pid = spawnShell(command.toUtf8().constData());
        QVERIFY(pid > 0);
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(20);
        QCOMPARE(process::WaitForProcess(pid, block), code);
        // Window events run while the responsive form waits, and only then.
        if (command.startsWith(QLatin1String("sleep")))
            QCOMPARE(ticks > 3, !block);
    }

    // Another's process leaves no exit code to read, but its end is still waited for.
    void notAChild_data()
    {
        QTest::addColumn<bool>("block");
        QTest::newRow("blocking") << true;
        QTest::newRow("responsive") << false;
    }
    void notAChild()
    {
        QFETCH(bool, block);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        const pid_t shell = spawnShell(qPrintable(QStringLiteral("sleep 0.4 & echo $! > '%1'").arg(pidFile)));
        QCOMPARE(process::WaitForProcess(shell, true), 0);
        QFile f(pidFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const qint64 grandchild = f.readAll().trimmed().toLongLong();
        QVERIFY(grandchild > 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(process::WaitForProcess(grandchild, block), 0);
        QVERIFY2(timer.elapsed() > 150, qPrintable(QString::number(timer.elapsed())));
    }

    void noSuchProcess()
    {
        QCOMPARE(process::WaitForProcess(0, true), 0);
        QCOMPARE(process::WaitForProcess(-5, false), 0);
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
