// Figures for the detail print of a record with a 4000 × 3000 photo and a note of two
// pages: the print preview's first page drawn, and three copies printed into a PDF file;
// beside them, in the same run, plain Qt drawing the same photo and lines with QPainter
// into a QImage and onto a QPdfWriter.
// bench_detailprint; each figure on a line of its own, "name: value unit".
#include "VarnexEditUni.h"
#include "benchboxes.h"
#include "benchsupport.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "data/infosettings.h"
#include "gencatalog.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "msgbox.h"
#include "output/frmTisk.h"
#include "printchooser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kNoteLines = 90;
constexpr int kRuns = 5;

QString noteLine(int i)
{
    return QStringLiteral("Řádek %1 poznámky k záznamu, který se tiskne i s fotografií").arg(i);
}

// Plain Qt: the photo decoded for its place, the fields and the note's lines; the note
// breaks to a second page on the PDF writer.
void plainPage(QPainter &p, QPdfWriter *writer, const QString &photo, double dpi)
{
    const double mm = dpi / 25.4;
    QImageReader reader(photo);
    reader.setScaledSize(QSize(int(80 * mm), int(60 * mm)));
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(10 * mm, 10 * mm, 80 * mm, 60 * mm), reader.read());
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(int(10 * dpi / 72));
    p.setFont(font);
    for (int i = 0; i < 10; ++i)
        p.drawText(QPointF(135 * mm, (13 + 5 * i) * mm), QStringLiteral("Pole %1: hodnota").arg(i + 1));
    double y = 80;
    for (int i = 1; i <= kNoteLines; ++i) {
        if (y > 280 && writer) {
            writer->newPage();
            y = 13;
        }
        p.drawText(QPointF(10 * mm, y * mm), noteLine(i));
        y += 4;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatform);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    endOnUnexpectedBoxes("bench_detailprint");

    QTemporaryDir dir;
    GenOptions o;
    o.records = 20;
    o.sections = 1;
    OpenProgramFolder(dir.path(), QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), o);
    QDir().mkpath(dir.filePath(QStringLiteral("img")));

    frmMain &main = frmMain::Form();
    main.show();
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    frmPrehled &overview = frmPrehled::Form();
    overview.Zobraz();
    overview.NactiData();

    const QString photoPath = dir.filePath(QStringLiteral("img/velka.jpg"));
    WritePhoto(photoPath, 4000, 3000, 0);
    const qint32 key = overview.findChild<VarnexEditUni *>(QStringLiteral("VEdit"))->TMatrix(1, 0).toInt();
    QStringList note;
    for (int i = 1; i <= kNoteLines; ++i)
        note << noteLine(i);
    Db->Execute(QStringLiteral("update Katalog set Poznamka='%1' where Inter=%2").arg(note.join(QLatin1Char('\n'))).arg(key));
    Db->Execute(QStringLiteral("delete from Obrazky where Inter=%1").arg(key));
    Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) values (%1, 1, 'velka.jpg', 'Velká')")
                    .arg(key));

    const QString pdf = dir.filePath(QStringLiteral("kopie.pdf"));
    printer::setPrintChooser([&](QWidget *, const printer::PrintRequest &r) {
        printer::PrintChoice choice;
        choice.pdfFile = pdf;
        choice.to = r.pageCount;
        choice.copies = 3;
        return std::optional<printer::PrintChoice>(choice);
    });

    std::vector<double> firstPage, copies;
    int pages = 0;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(pdf);
        QElapsedTimer t;
        t.start();
        // The window's loop turns first once the preview is drawn.
        QTimer::singleShot(0, [&] {
            firstPage.push_back(msSince(t));
            frmTisk *w = frmTisk::Loaded();
            pages = w->PageCount();
            copies.push_back(seconds([&] { w->cmdTisk->click(); }));
            w->cmdKonec->click();
        });
        frmTisk::Form().TiskDet(key, 1);
        QCoreApplication::processEvents();
    }
    std::printf("bench_detailprint: photo 4000x3000, note of %d lines, %d preview pages, %d runs\n", kNoteLines, pages,
                kRuns);
    print("detail_preview_first_page", median(firstPage), "ms");
    print("detail_print_3_copies_pdf", median(copies), "s");

    std::vector<double> plainImage, plainPdf;
    for (int run = 0; run < kRuns; ++run) {
        plainImage.push_back(1000 * seconds([&] {
            QImage page(794, 1123, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter p(&page);
            plainPage(p, nullptr, photoPath, 96);
        }));
        plainPdf.push_back(seconds([&] {
            QPdfWriter writer(dir.filePath(QStringLiteral("plain.pdf")));
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            QPainter p(&writer);
            for (int copy = 0; copy < 3; ++copy) {
                if (copy > 0)
                    writer.newPage();
                plainPage(p, &writer, photoPath, 300);
            }
        }));
    }
    print("plain_qt_page_qimage", median(plainImage), "ms");
    print("plain_qt_3_copies_pdfwriter", median(plainPdf), "s");
    print("detail_preview_vs_plain", median(firstPage) / median(plainImage), "x");
    print("detail_print_vs_plain", median(copies) / median(plainPdf), "x");

    frmPrehled::Unload();
    frmMain::Unload();
    Db.reset();
    Ws.reset();
    return pages == 2 ? 0 : 1;
}
