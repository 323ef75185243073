#include "net.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QUrl>

#include <utility>

namespace net {

namespace {

int timeoutMs = 30000;

}  // namespace

int transferTimeout()
{
    return timeoutMs;
}

int setTransferTimeout(int ms)
{
    return std::exchange(timeoutMs, ms);
}

bool DownloadToFile(const QString &address, const QString &target)
{
    const QUrl url(address.trimmed());
    if (!url.isValid() || url.isRelative() || target.isEmpty())
        return false;

    // Written beside the target and renamed over it only when complete.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setTransferTimeout(timeoutMs);

    QNetworkReply *reply = manager.get(request);
    bool written = true;
    const auto isErrorPage = [reply] {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        return status.isValid() && (status.toInt() < 200 || status.toInt() > 299);
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (isErrorPage())
            return;
        const QByteArray chunk = reply->readAll();
        if (written && file.write(chunk) != chunk.size()) {
            written = false;
            reply->abort();
        }
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    bool ok = written && reply->error() == QNetworkReply::NoError && !isErrorPage();
    if (ok) {
        const QByteArray rest = reply->readAll();
        ok = file.write(rest) == rest.size();
    }
    reply->deleteLater();
    if (!ok) {
        file.cancelWriting();
        file.commit();  // drops the temporary file, leaves the target alone
        return false;
    }
    return file.commit();
}

}  // namespace net
