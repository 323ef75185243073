// Fills 100,000 rows of 12 columns into the grid the way the control does (drawing off,
// one tab-joined row at a time, 300 twips each), shows it and times the first paint;
// then the same rows in a plain QStandardItemModel in a QTableView. Each kind runs in a
// child process of its own, so that each peak memory figure is its own.

#include "grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr int RowCount = 100000;
constexpr int ColCount = 12;

QString rowText(int r)
{
    QString s;
    s.reserve(120);
    for (int c = 0; c < ColCount; ++c) {
        if (c)
            s += QLatin1Char('\t');
        if (c == 0)
            s += QString::number(r + 1);
        else if (c == ColCount - 1)
            s += QLatin1Char('X');
        else
            s += QStringLiteral("Text %1/%2").arg(r).arg(c);
    }
    return s;
}

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void report(const char *kind, qint64 fillMs, qint64 paintMs, qint64 readMs, qint64 scrollMs)
{
    std::printf("%s fill_ms=%lld first_paint_ms=%lld total_ms=%lld read_all_cells_ms=%lld "
                "scroll_200_steps_ms=%lld peak_rss_mb=%.1f\n",
                kind, fillMs, paintMs, fillMs + paintMs, readMs, scrollMs, peakKb() / 1024.0);
}

// The host's row texts, made before the clock starts: their making is the host's cost.
QStringList rowTexts()
{
    QStringList rows;
    rows.reserve(RowCount);
    for (int r = 0; r < RowCount; ++r)
        rows.append(rowText(r));
    return rows;
}

int runGrid()
{
    const QStringList rows = rowTexts();
    FlexGrid grid;
    grid.resize(1000, 700);
    grid.setCols(ColCount);
    grid.setFixedCols(0);
    QElapsedTimer t;
    t.start();
    grid.setRedraw(false);
    grid.setRows(2);
    grid.setRowHeight(1, 15);
    for (int r = 0; r < RowCount; ++r) {
        grid.AddItem(rows.at(r));
        if (grid.Rows() == 3 && grid.RowHeight(1) == 15)
            grid.RemoveItem(1);
        grid.setRowHeight(grid.Rows() - 1, 300);
    }
    const qint64 fill = t.restart();
    grid.setRedraw(true);
    grid.show();
    QApplication::processEvents();
    const QImage shot = grid.grab().toImage();
    const qint64 paint = t.restart();

    qint64 chars = 0;
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < ColCount; ++c)
            chars += grid.TextMatrix(r, c).size();
    const qint64 read = t.restart();
    for (int i = 0; i < 200; ++i) {
        grid.setTopRow(1 + i * (RowCount / 200));
        grid.repaint();
    }
    const qint64 scroll = t.restart();
    // Deleting rows one by one, as the control hides them, with drawing on.
    for (int r = 1; r < RowCount; r += 100)
        grid.setRowHeight(r, 0);
    QApplication::processEvents();
    std::printf("grid hide_1000_rows_ms=%lld\n", t.restart());
    report("grid", fill, paint, read, scroll);
    return chars > 0 && !shot.isNull() ? 0 : 1;
}

int runStandard()
{
    const QStringList rows = rowTexts();
    QTableView view;
    view.resize(1000, 700);
    QElapsedTimer t;
    t.start();
    QStandardItemModel model(0, ColCount);
    for (int r = 0; r < RowCount; ++r) {
        const QStringList cells = rows.at(r).split(QLatin1Char('\t'));
        QList<QStandardItem *> items;
        items.reserve(ColCount);
        for (const QString &c : cells)
            items.append(new QStandardItem(c));
        model.appendRow(items);
    }
    view.setModel(&model);
    view.verticalHeader()->setDefaultSectionSize(20);
    const qint64 fill = t.restart();
    view.show();
    QApplication::processEvents();
    const QImage shot = view.grab().toImage();
    const qint64 paint = t.restart();

    qint64 chars = 0;
    for (int r = 0; r < RowCount; ++r)
        for (int c = 0; c < ColCount; ++c)
            chars += model.item(r, c)->text().size();
    const qint64 read = t.restart();
    for (int i = 0; i < 200; ++i) {
        view.verticalScrollBar()->setValue(i * (RowCount / 200));
        view.repaint();
    }
    const qint64 scroll = t.restart();
    report("standard", fill, paint, read, scroll);
    return chars > 0 && !shot.isNull() ? 0 : 1;
}

// Runs one kind in a child process; its figures line goes to stdout and is returned.
QString runChild(const QString &self, const QString &kind)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(self, {kind});
    p.waitForFinished(-1);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    std::printf("%s\n", qPrintable(out));
    return out;
}

double field(const QString &line, const QString &name)
{
    for (const QString &part : line.split(QLatin1Char(' ')))
        if (part.startsWith(name + QLatin1Char('=')))
            return part.mid(name.size() + 1).toDouble();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && args.at(1) == QLatin1String("grid"))
        return runGrid();
    if (args.size() > 1 && args.at(1) == QLatin1String("standard"))
        return runStandard();

    std::printf("%d rows x %d columns, build %s\n", RowCount, ColCount, OSKAL_BUILD_TYPE);
    const QString grid = runChild(args.at(0), QStringLiteral("grid"));
    const QString standard = runChild(args.at(0), QStringLiteral("standard"));
    const double gt = field(grid, QStringLiteral("total_ms"));
    const double st = field(standard, QStringLiteral("total_ms"));
    const double gm = field(grid, QStringLiteral("peak_rss_mb"));
    const double sm = field(standard, QStringLiteral("peak_rss_mb"));
    std::printf("grid/standard: time %.2f, memory %.2f; goal: grid total under 500 ms and 300 MB\n",
                st > 0 ? gt / st : 0.0, sm > 0 ? gm / sm : 0.0);
    return 0;
}
