// Builds the language database Lang.mdb from its text source (see lang/README.md).
// Messages are looked up by their row's position, so the source must number its rows
// 1, 2, 3 ... without gaps or repeats; any other source stops the build.
#include "dao.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <cstdio>

namespace {

struct Row {
    int id;
    QString zaklad, us, chi;
};

struct SourceError {
    int line;
    QString what;
};

// \t, \n and \\ stand for a tab, a line break and a backslash; nothing else is escaped.
QString unescape(const QString &field, int line)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != QLatin1Char('\\')) {
            text += field[i];
            continue;
        }
        const QChar next = i + 1 < field.size() ? field[i + 1] : QChar();
        if (next == QLatin1Char('t'))
            text += QLatin1Char('\t');
        else if (next == QLatin1Char('n'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char('\\'))
            text += QLatin1Char('\\');
        else
            throw SourceError{line, QStringLiteral("unknown escape \\%1 (write \\\\ for a backslash)").arg(next)};
        ++i;
    }
    return text;
}

std::vector<Row> readSource(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString content = decoder(bytes);
    if (decoder.hasError())
        throw SourceError{0, QStringLiteral("the file is not UTF-8 text")};
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    QStringList lines = content.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the line break that ends the file
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);  // a source saved with Windows line ends
    if (lines.isEmpty() || lines.front() != QStringLiteral("id\tzaklad\tus\tchi"))
        throw SourceError{1, QStringLiteral("the first line must be the header \"id<TAB>zaklad<TAB>us<TAB>chi\"")};
    std::vector<Row> rows;
    for (int i = 1; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        if (fields.size() != 4)
            throw SourceError{lineNo, QStringLiteral("%1 tab-separated fields where 4 (id, zaklad, us, chi) belong")
                                          .arg(fields.size())};
        bool ok = false;
        const int id = fields[0].toInt(&ok);
        const int expected = int(rows.size()) + 1;
        if (!ok || fields[0] != QString::number(id))
            throw SourceError{lineNo, QStringLiteral("id \"%1\" is not a number").arg(fields[0])};
        if (id != expected)
            throw SourceError{lineNo, QStringLiteral("id %1 where %2 belongs: ids run 1, 2, 3 ... without gaps or repeats")
                                          .arg(id).arg(expected)};
        rows.push_back({id, unescape(fields[1], lineNo), unescape(fields[2], lineNo), unescape(fields[3], lineNo)});
    }
    return rows;
}

void writeDatabase(const QString &path, const std::vector<Row> &rows)
{
    dao::Workspace ws(QStringLiteral("admin"));
    auto db = ws.CreateDatabase(path);
    db->Execute(QStringLiteral("create table Jazyky (id Long, zaklad LongText, us LongText, chi LongText)"));
    ws.BeginTrans();
    auto rs = db->OpenRecordset(QStringLiteral("select * from Jazyky"));
    for (const Row &row : rows) {
        rs->AddNew();
        rs->Fields(QStringLiteral("id")).SetValue(Variant(row.id));
        rs->Fields(QStringLiteral("zaklad")).SetValue(Variant(row.zaklad));
        rs->Fields(QStringLiteral("us")).SetValue(Variant(row.us));
        rs->Fields(QStringLiteral("chi")).SetValue(Variant(row.chi));
        rs->Update();
    }
    rs->Close();
    ws.CommitTrans();
    db->Close();
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mklangdb SOURCE.tsv TARGET\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mklangdb: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<Row> rows;
    try {
        rows = readSource(file.readAll());
    } catch (const SourceError &e) {
        const QString at = e.line > 0 ? QStringLiteral("%1:%2").arg(source).arg(e.line) : source;
        std::fprintf(stderr, "%s: error: %s\n", at.toLocal8Bit().constData(), e.what.toUtf8().constData());
        return 1;
    }
    const QString building = target + QStringLiteral(".part");
    QFile::remove(building);
    try {
        writeDatabase(building, rows);
    } catch (const VbError &e) {
        std::fprintf(stderr, "mklangdb: %s\n", e.what());
        QFile::remove(building);
        return 1;
    }
    // Put in place whole, so that an interrupted build never leaves half a table.
    QFile::remove(target);
    if (!QFile::rename(building, target)) {
        std::fprintf(stderr, "mklangdb: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
