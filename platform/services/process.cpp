#include "process.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <utility>

namespace process {

namespace {

Opener &currentOpener()
{
    static Opener opener = desktopOpen;
    return opener;
}

// Whether the desktop names an application for the file's type. nullopt when the
// desktop's tools cannot say.
std::optional<bool> hasAssociation(const QString &file)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return std::nullopt;
    const QString type = QMimeDatabase().mimeTypeForFile(file).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return std::nullopt;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

// The child's state without waiting, or after waiting for it; nullopt while it runs.
// Sets notOurs when the process is no child of this program.
std::optional<qint32> reap(pid_t pid, bool wait, bool &notOurs)
{
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid, &status, wait ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        notOurs = true;
        return std::nullopt;
    }
    if (r == 0)
        return std::nullopt;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 0;
}

// A process that has ended but was not yet reaped by its parent counts as ended.
bool alive(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno != EPERM)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.size() < close + 3 || line.at(close + 2) != 'Z';
}

}  // namespace

// A command line read as programs on Windows read theirs: split at blanks and tabs outside
// double quotes ("" inside quotes is one quote), never at other spaces, so that a
// parameter joined with no-break spaces stays one.
static QStringList splitParameters(const QString &line)
{
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                current += line[++i];
            else
                quoted = !quoted;
            any = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (any)
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        args << current;
    return args;
}

int desktopOpen(const QString &file, const QString &parameters, const QString &directory)
{
    if (file.isEmpty())
        return FileNotFound;
    const QFileInfo info(file);
    if (!info.exists())
        return QFileInfo(info.absolutePath()).isDir() ? FileNotFound : PathNotFound;
    if (!info.isReadable())
        return AccessDenied;
    // A program starts; a document that merely carries the execute bit (as files copied
    // from some media do) cannot, and is opened as a document instead.
    if (info.isFile() && info.isExecutable()) {
        const QString dir = QFileInfo(directory).isDir() ? directory : QString();
        if (QProcess::startDetached(info.absoluteFilePath(), splitParameters(parameters), dir))
            return Started;
    }
    if (hasAssociation(info.absoluteFilePath()) == false)
        return NoAssociation;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? Started : NoAssociation;
}

int ShellExecute(const QString &file, const QString &parameters, const QString &directory)
{
    const Opener opener = currentOpener();  // a copy: an opener may replace itself
    return opener(file, parameters, directory);
}

Opener setOpener(Opener opener)
{
    return std::exchange(currentOpener(), opener ? std::move(opener) : Opener(desktopOpen));
}

qint32 WaitForProcess(qint64 pid, bool block)
{
    if (pid <= 0)
        return 0;
    const auto p = static_cast<pid_t>(pid);
    bool notOurs = false;
    if (block) {
        if (const auto code = reap(p, true, notOurs))
            return *code;
        // Another's process: its end is all there is to see.
        while (alive(p))
            QThread::msleep(20);
        return 0;
    }
    std::optional<qint32> code = reap(p, false, notOurs);
    if (code || (notOurs && !alive(p)))
        return code.value_or(0);
    // Poll from the event loop, so that the windows stay responsive without a busy loop.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        code = notOurs ? std::nullopt : reap(p, false, notOurs);
        if (code || (notOurs && !alive(p)))
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    return code.value_or(0);
}

}  // namespace process
