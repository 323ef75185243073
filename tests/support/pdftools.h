#pragma once

// Reading back a printed PDF file: its pages from the file itself, its text and a page
// as a picture through poppler's tools (pdftotext, pdftoppm), which tests skip without.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace pdftools {

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

// The page objects of the file (Qt writes them uncompressed): a blank trailing sheet
// counts as a page too.
inline int pageCount(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(text.count(page));
}

// The text of one page (from 1), laid out as on the page; null when the tool failed.
inline QString pageText(const QString &file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One page (from 1) as a picture at `dpi`.
inline QImage pageImage(const QString &file, int page, int dpi = 72)
{
    QTemporaryDir dir;
    QProcess p;
    const QString out = dir.filePath(QStringLiteral("page"));
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                         QString::number(page), QStringLiteral("-singlefile"), file, out});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QImage(out + QStringLiteral(".png"));
}

}  // namespace pdftools
