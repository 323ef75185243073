// Downloads from a local HTTP server: what counts as a file, what as a failure, and that
// a failure never leaves a partial file at the target.
#include "net.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Answers each request by its path; "/silent" never answers.
class HttpServer : public QTcpServer
{
public:
    int requests = 0;
    QByteArray lastRequest;

    HttpServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            }
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_buffers[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests;
        lastRequest = request;
        const QByteArray path = request.split(' ').value(1);
        if (path == "/silent")
            return;
        if (path == "/file")
            reply(socket, "200 OK", "catalog release " + QByteArray::number(requests) + "\n");
        else if (path == "/big")
            reply(socket, "200 OK", QByteArray(3 * 1024 * 1024, 'x'));
        else if (path == "/moved")
            socket->write("HTTP/1.1 302 Found\r\nLocation: /file\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        else if (path == "/short")
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\nonly the beginning");
        else if (path == "/error")
            reply(socket, "500 Internal Server Error", "<html>server error page</html>");
        else
            reply(socket, "404 Not Found", "<html>not found page</html>");
        socket->disconnectFromHost();
    }

    static void reply(QTcpSocket *socket, const QByteArray &status, const QByteArray &body)
    {
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    }

    QHash<QTcpSocket *, QByteArray> m_buffers;
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

}  // namespace

class TestNet : public QObject
{
    Q_OBJECT

    HttpServer m_server;
    int m_timeout = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        m_timeout = net::setTransferTimeout(1500);
    }
    void cleanupTestCase() { net::setTransferTimeout(m_timeout); }

    void downloads()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("download.inf"));
        QVERIFY(net::DownloadToFile(m_server.url(QStringLiteral("/file")), target));
        const QByteArray first = contents(target);
        QVERIFY(first.startsWith("catalog release "));
        // Fetched afresh every time: the server is asked again, and asked not to cache.
        QVERIFY(net::DownloadToFile(m_server.url(QStringLiteral("/file")), target));
        QVERIFY(contents(target) != first);
        QVERIFY(m_server.lastRequest.toLower().contains("cache-control: no-cache"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"download.inf"});
    }

    void largeAndRedirected()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("big.bin"));
        QVERIFY(net::DownloadToFile(m_server.url(QStringLiteral("/big")), target));
        QCOMPARE(QFileInfo(target).size(), qint64(3 * 1024 * 1024));
        QVERIFY(net::DownloadToFile(m_server.url(QStringLiteral("/moved")), target));
        QVERIFY(contents(target).startsWith("catalog release "));
    }

    // Every failure answers False and leaves the target as it was: absent, or the old file.
    void failures_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("targetThere");
        QTest::newRow("404") << "/missing" << false;
        QTest::newRow("404 over an old file") << "/missing" << true;
        QTest::newRow("500") << "/error" << false;
        QTest::newRow("cut off") << "/short" << true;
        QTest::newRow("never answers") << "/silent" << false;
        QTest::newRow("never answers, old file") << "/silent" << true;
        QTest::newRow("closed port") << "closed" << false;
        QTest::newRow("no address") << "" << true;
        QTest::newRow("not an address") << "not an address" << false;
    }
    void failures()
    {
        QFETCH(QString, address);
        QFETCH(bool, targetThere);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("download.inf"));
        if (targetThere) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old release\n");
        }
        QString url = address.startsWith(QLatin1Char('/')) ? m_server.url(address) : address;
        if (address == QLatin1String("closed")) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/file").arg(closed.serverPort());
            closed.close();
        }
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!net::DownloadToFile(url, target));
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(contents(target), targetThere ? QByteArray("old release\n") : QByteArray("(none)"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), targetThere ? 1 : 0);
    }

    void targetFolderMissing()
    {
        QTemporaryDir dir;
        QVERIFY(!net::DownloadToFile(m_server.url(QStringLiteral("/file")), dir.filePath(QStringLiteral("dnload/x.zip"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("dnload"))));
    }

    // The time-out counts silence, not the whole transfer: a silent server is left soon.
    void timeOutIsSettable()
    {
        net::setTransferTimeout(300);
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!net::DownloadToFile(m_server.url(QStringLiteral("/silent")), dir.filePath(QStringLiteral("a"))));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(net::setTransferTimeout(1500), 300);
    }
};

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
