// oskal-gencatalog TARGET [--records N] [--sections K] [--seed S] [--pictures P] [--upg PATH]
// Writes a generated catalog to TARGET (a new file) from a copy of the fresh catalog; with
// --pictures, P pictures in the img folder beside it, attached to records.
#include "gencatalog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: oskal-gencatalog TARGET [--records N] [--sections K] [--seed S] [--pictures P] [--upg PATH]\n"
                 "  writes a new catalog TARGET; defaults: 10000 records, 3 sections, seed 1,\n"
                 "  upg %s/QIRData.upg\n",
                 OSKAL_APP_DIR);
    return 2;
}

bool readNumber(const QString &text, qint64 min, qint64 max, qint64 &out)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    out = v;
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    GenOptions options;
    QString target;
    QString upg = QStringLiteral(OSKAL_APP_DIR "/QIRData.upg");
    int pictures = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help"))
            return usage();
        if (a.startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size())
                return usage();
            const QString value = args[++i];
            qint64 n = 0;
            if (a == QLatin1String("--records") && readNumber(value, 0, 100000000, n))
                options.records = int(n);
            else if (a == QLatin1String("--sections") && readNumber(value, 1, 255, n))
                options.sections = int(n);
            else if (a == QLatin1String("--seed") && readNumber(value, 0, 0xffffffffLL, n))
                options.seed = quint32(n);
            else if (a == QLatin1String("--pictures") && readNumber(value, 0, 999, n))
                pictures = int(n);
            else if (a == QLatin1String("--upg"))
                upg = value;
            else
                return usage();
        } else if (target.isEmpty()) {
            target = a;
        } else {
            return usage();
        }
    }
    if (target.isEmpty())
        return usage();

    try {
        CreateCatalogFile(upg, target, options);
        if (pictures > 0) {
            dao::Workspace ws;
            auto db = ws.OpenDatabase(target);
            GeneratePictures(*db, QFileInfo(target).absolutePath() + QStringLiteral("/img"), pictures, options.records,
                             options.seed);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "oskal-gencatalog: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %d records in %d sections (seed %u)\n", qPrintable(target), options.records, options.sections,
                options.seed);
    return 0;
}
