// Figures for the print window's list print of a grid: the preview until its first page
// shows (the list laid out, the shown page drawn), the memory it holds, and every page
// printed into a PDF file, beside plain Qt writing the same rows into a PDF file.
// bench_listprint [--records N]
#include "benchmemory.h"
#include "benchsupport.h"
#include "grid.h"
#include "output/frmTisk.h"
#include "output/listpage.h"
#include "printchooser.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The baseline: the same rows, each cell cut to its column, on A4 pages of a PDF file with
// plain QPainter text, no heads or footers.
double plainQtPdf(const FlexGrid &grid, const int *widths, const QString &file)
{
    return seconds([&] {
        QPdfWriter writer(file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(1440);
        QPainter painter(&writer);
        QFont font(QStringLiteral("Arial CE"));
        font.setPointSizeF(10);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &writer);
        const double line = metrics.height();
        const double bottom = writer.height() - line;
        double y = 0;
        for (int r = 1; r < grid.Rows(); ++r) {
            if (y + line > bottom) {
                writer.newPage();
                y = 0;
            }
            double x = 0;
            for (int c = 0; c < grid.Cols(); ++c) {
                const QString text = metrics.elidedText(grid.TextMatrix(r, c), Qt::ElideRight, widths[c] - 100);
                painter.drawText(QPointF(x, y + metrics.ascent()), text);
                x += widths[c];
            }
            y += line;
        }
    });
}

}  // namespace

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

    const double plain = plainQtPdf(grid, widths, dir.filePath(QStringLiteral("plain.pdf")));

    std::printf("bench_listprint: %d rows of 4 columns\n", rows);
    print("list_pages", pages, "pages");
    print("list_preview_first_page", preview, "s");
    print("list_preview_memory", held, "MB");
    print("list_print_pdf", printed, "s");
    print("plain_qt_rows_pdfwriter", plain, "s");
    print("list_print_vs_plain", printed / plain, "x");
    print("list_pdf_size", double(QFile(pdf).size()) / 1024 / 1024, "MB");
    print("peak_memory", peakMb(), "MB");
    return 0;
}
