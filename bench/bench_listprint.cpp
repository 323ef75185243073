// Figures for the print window's list print of a grid: the preview until its first page
// shows (the list laid out, the shown page drawn), the memory it holds, and every page
// printed into a PDF file.
// bench_listprint [--records N]
#include "benchmemory.h"
#include "benchsupport.h"
#include "grid.h"
#include "output/frmTisk.h"
#include "output/listpage.h"
#include "printchooser.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    const int rows = recordsArgument(app.arguments(), 10000);

    FlexGrid grid;
    grid.setCols(4);
    grid.setRows(rows + 1);
    const QStringList heads{QStringLiteral("Kód"), QStringLiteral("Název"), QStringLiteral("Datum"),
                            QStringLiteral("Cena")};
    const int widths[] = {1200, 4500, 1400, 1500};
    for (int c = 0; c < 4; ++c) {
        grid.setTextMatrix(0, c, heads[c]);
        grid.setColWidth(c, widths[c]);
    }
    grid.setColAlignment(3, 7);
    for (int r = 1; r <= rows; ++r) {
        grid.setTextMatrix(r, 0, QStringLiteral("K%1").arg(r));
        grid.setTextMatrix(r, 1, QStringLiteral("Zboží s dosti dlouhým názvem číslo %1, které se zkrátí").arg(r));
        grid.setTextMatrix(r, 2, QStringLiteral("1.2.2024"));
        grid.setTextMatrix(r, 3, QStringLiteral("%1,50").arg(r * 13));
    }
    const FlexGridSeznam list(grid);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("seznam.pdf"));
    printer::setPrintChooser([&](QWidget *, const printer::PrintRequest &) {
        printer::PrintChoice choice;
        choice.pdfFile = pdf;
        return std::optional<printer::PrintChoice>(choice);
    });

    const double before = residentMb();
    double preview = 0, printed = 0, held = 0;
    int pages = 0;
    QElapsedTimer shown;
    // Timed from the call until the window shows its first page; then the print button.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        frmTisk *w = frmTisk::Loaded();
        if (!w || !w->isVisible())
            return;
        poll.stop();
        preview = msSince(shown) / 1000;
        pages = w->PageCount();
        held = residentMb() - before;
        printed = seconds([&] { w->cmdTisk->click(); });
        w->cmdKonec->click();
    });
    poll.start();
    shown.start();
    frmTisk::Form().Tisk(list, QStringLiteral("Seznam zboží"));

    std::printf("rows: %d\n", rows);
    print("pages", pages, "");
    print("preview until the first page shows", preview, "s");
    print("memory held by the preview", held, "MB");
    print("printed into a PDF file", printed, "s");
    print("PDF file", double(QFile(pdf).size()) / 1024 / 1024, "MB");
    print("peak memory", peakMb(), "MB");
    return 0;
}
