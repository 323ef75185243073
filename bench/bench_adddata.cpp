// Figures for the table editor control: AddData of many rows of 12 columns and the first
// paint, compared with filling a plain QStandardItemModel shown in a QTableView in the
// same run; then scrolling and cell reads, which must not grow with the row count.
// bench_adddata [--rows N]
#include "VarnexEditUni.h"
#include "benchmemory.h"
#include "grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTableView>
#include <cstdio>

namespace {

constexpr int kCols = 12;

QStringList makeRows(int rows)
{
    QStringList list;
    list.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        QStringList cells;
        cells << QString::number(r) << QStringLiteral("Položka katalogu %1").arg(r)
              << QStringLiteral("Výrobce %1").arg(r % 97) << QString::number(r * 1.25, 'f', 2)
              << QStringLiteral("%1.%2.2024").arg(r % 28 + 1).arg(r % 12 + 1) << (r % 3 ? QStringLiteral("A") : QStringLiteral("N"));
        for (int c = cells.size(); c < kCols - 1; ++c)
            cells << QStringLiteral("Text %1/%2").arg(r).arg(c);
        cells << QStringLiteral("X");
        list << cells.join(QLatin1Char('\t'));
    }
    return list;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int rows = 100000;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--rows")));
    if (at > 0 && at + 1 < args.size())
        rows = args.at(at + 1).toInt();

    const QStringList data = makeRows(rows);
    std::printf("bench_adddata: %d rows of %d columns\n", rows, kCols);

    // --- the control ---
    const double before = residentMb();
    QWidget host;
    host.setObjectName(QStringLiteral("frmBench"));
    host.resize(1000, 700);
    auto *edit = new VarnexEditUni(&host);
    edit->setObjectName(QStringLiteral("VEdit"));
    edit->setGeometry(0, 0, 1000, 700);
    host.show();
    edit->Edited(1);  // update mode keeps no layout: no database needed
    edit->Init(kCols, 0);
    for (int c = 0; c < kCols; ++c)
        edit->SetCol(c, QStringLiteral("Sloupec %1").arg(c), 1200, QStringLiteral("L"), QStringLiteral("F%1").arg(c),
                     c == 5 ? QStringLiteral("Z") : QStringLiteral("C"), 50);
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    edit->Redraw(false);
    edit->Clear();
    for (const QString &row : data)
        edit->AddData(row);
    edit->RecordSetRows(rows);
    edit->Redraw(true);
    const double fillMs = double(timer.nsecsElapsed()) / 1e6;
    edit->repaint();
    const QPixmap first = host.grab();
    const double controlMs = double(timer.nsecsElapsed()) / 1e6;
    const double controlMb = residentMb() - before;
    std::printf("  control:   AddData %9.1f ms, with first paint %9.1f ms, memory +%.0f MB, process peak %.0f MB\n",
                fillMs, controlMs, controlMb, peakMb());

    // Scrolling and reads: the same time per step whatever the row.
    FlexGrid *grid = edit->grid();
    timer.restart();
    constexpr int kScrolls = 200;
    for (int i = 0; i < kScrolls; ++i) {
        grid->setTopRow(1 + int(QRandomGenerator::global()->bounded(rows - 40)));
        grid->repaint();
    }
    std::printf("  control:   scroll and repaint %9.3f ms per step\n", double(timer.nsecsElapsed()) / 1e6 / kScrolls);
    for (int part : {0, 1}) {
        const int base = part == 0 ? 1 : rows - 1000;
        timer.restart();
        qsizetype total = 0;
        for (int i = 0; i < 1000000; ++i)
            total += edit->TMatrix(base + i % 1000, i % kCols).size();
        std::printf("  control:   TMatrix near row %7d %9.1f ns per read (%lld)\n", base,
                    double(timer.nsecsElapsed()) / 1e6, static_cast<long long>(total));
    }

    // --- a plain model in the same run ---
    const double beforePlain = residentMb();
    timer.restart();
    QStandardItemModel model(0, kCols);
    for (const QString &row : data) {
        QList<QStandardItem *> items;
        items.reserve(kCols);
        for (const QString &cell : row.split(QLatin1Char('\t')))
            items << new QStandardItem(cell);
        model.appendRow(items);
    }
    QTableView view;
    view.setModel(&model);
    view.resize(1000, 700);
    view.show();
    view.repaint();
    const QPixmap plain = view.grab();
    const double plainMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("  plain QStandardItemModel + QTableView, with first paint %9.1f ms, memory +%.0f MB\n", plainMs,
                residentMb() - beforePlain);
    std::printf("  ratio control / plain: %.2f\n", controlMs / plainMs);
    return first.isNull() || plain.isNull() ? 1 : 0;
}
