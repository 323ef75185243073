// Warns, at every build, about a message number that the program's code uses with two
// different Czech texts: only one of them can be the language table's row. It never
// fails the build; the language test holds the code against the table.
#include "messagescan.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: checkmessages SOURCE_DIR\n");
        return 0;
    }
    const QString sourceDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir(sourceDir).exists()) {
        std::fprintf(stderr, "warning: checkmessages: no folder %s\n", argv[1]);
        return 0;
    }
    const auto uses = messagescan::scanTree(sourceDir);
    for (const auto &[number, texts] : messagescan::byNumber(uses)) {
        if (texts.size() < 2)
            continue;
        QString line = QStringLiteral("warning: message %1 is used with %2 Czech texts:").arg(number).arg(texts.size());
        for (const auto &[text, where] : texts)
            line += QStringLiteral("\n    \"%1\" at %2").arg(text, messagescan::where(where.front()))
                    + (where.size() > 1 ? QStringLiteral(" (and %1 more)").arg(where.size() - 1) : QString());
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    }
    return 0;
}
