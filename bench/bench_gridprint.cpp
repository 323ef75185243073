// Figures for printing the table editor control's listing: the page preview's first page,
// memory while paging to the last page, and every page printed to a PDF file; beside
// them, in the same run, plain Qt drawing the same cells (QFontMetricsF::elidedText,
// QPainter on a QImage and on a QPdfWriter).
// bench_gridprint [--rows N]
#include "VarnexEditUni.h"
#include "benchmemory.h"
#include "frmTisk.h"
#include "printchooser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kCols = 12;
constexpr int kWidth = 800;  // twips per column: most texts are cut

QString word(QRandomGenerator &random)
{
    static const QString letters = QStringLiteral("abcdeěfghijklmnoprsštuvyzž ");
    QString text;
    const int length = int(random.bounded(3, 31));
    for (int i = 0; i < length; ++i)
        text += letters[int(random.bounded(letters.size()))];
    return text;
}

void report(const char *name, double value, const char *unit)
{
    std::printf("%s: %.1f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Plain Qt: the same cells, 60 rows a page, elided and drawn; `pages` pages.
void plainPages(QPaintDevice &device, QPdfWriter *writer, const std::vector<QStringList> &rows, int pages,
                double scale)
{
    QPainter p(&device);
    p.scale(scale, scale);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(200);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    size_t r = 0;
    for (int page = 0; page < pages && r < rows.size(); ++page) {
        if (page > 0 && writer)
            writer->newPage();
        for (int line = 0; line < 60 && r < rows.size(); ++line, ++r)
            for (int c = 0; c < kCols; ++c)
                p.drawText(QPointF(c * (kWidth + 100), 1200 + line * 230 + metrics.ascent()),
                           metrics.elidedText(rows[r][c], Qt::ElideRight, kWidth));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int rows = 100000;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--rows")
            rows = QByteArray(argv[i + 1]).toInt();

    QRandomGenerator random(20);
    std::vector<QStringList> cells;
    cells.resize(size_t(rows));
    QWidget host;
    host.setWindowTitle(QStringLiteral("Sestava"));
    auto *control = new VarnexEditUni(&host);
    control->Init(kCols, 0);
    for (int c = 0; c < kCols; ++c)
        control->SetCol(c, QStringLiteral("Sloupec %1").arg(c + 1), kWidth, QStringLiteral("L"),
                        QStringLiteral("Pol%1c").arg(c + 1), QStringLiteral("C"), 30);
    control->Redraw(false);
    for (int r = 0; r < rows; ++r) {
        QStringList &row = cells[size_t(r)];
        for (int c = 0; c < kCols; ++c)
            row << word(random);
        control->AddData(row.join(QLatin1Char('\t')));
    }
    control->Redraw(true);
    std::printf("rows: %d\n", rows);

    QTemporaryDir dir;
    QElapsedTimer timer;
    // Plain Qt's first page into a picture of the screen's resolution.
    timer.start();
    {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.fill(Qt::white);
        plainPages(image, nullptr, cells, 1, 1.0 / 15);
    }
    report("plain_qt_first_page", double(timer.nsecsElapsed()) / 1e6, "ms");

    const double before = residentMb();
    double peak = before;
    tabulix::frmTisk preview;
    timer.start();
    QTimer::singleShot(0, &preview, [&] {
        report("preview_first_page", double(timer.nsecsElapsed()) / 1e6, "ms");
        report("preview_pages", preview.PageCount(), "pages");
        timer.start();
        preview.cmdLast->click();
        report("preview_to_last_page", double(timer.nsecsElapsed()) / 1e6, "ms");
        peak = std::max(peak, residentMb());
        // Back a hundred pages one at a time: every page is drawn when shown.
        timer.start();
        for (int i = 0; i < 100; ++i) {
            preview.cmdBefore->click();
            peak = std::max(peak, residentMb());
        }
        report("preview_page_step", double(timer.nsecsElapsed()) / 1e6 / 100, "ms");
        report("preview_memory_growth", peak - before, "MB");

        const QString file = dir.filePath(QStringLiteral("all.pdf"));
        printer::setPrintChooser([&](QWidget *, const printer::PrintRequest &) {
            printer::PrintChoice choice;
            choice.pdfFile = file;
            return std::optional<printer::PrintChoice>(choice);
        });
        timer.start();
        preview.cmdTisk->click();
        report("print_all_pages_pdf", double(timer.nsecsElapsed()) / 1e9, "s");
        report("print_pdf_size", double(QFile(file).size()) / (1024.0 * 1024.0), "MB");
        preview.cmdKonec->click();
    });
    preview.Tisk(control);

    // Plain Qt printing the same number of pages into a PDF file.
    const int pages = (rows + 59) / 60;
    timer.start();
    {
        QPdfWriter writer(dir.filePath(QStringLiteral("plain.pdf")));
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        plainPages(writer, &writer, cells, pages, 1200.0 / 1440);
    }
    report("plain_qt_print_pdf", double(timer.nsecsElapsed()) / 1e9, "s");
    return 0;
}
