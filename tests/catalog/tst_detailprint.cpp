// The detail print of a record: its page in the print preview, the pages printed into a
// PDF file, the shown page saved as a bitmap, the print settings, and the ways the user
// gets there from the overview's record menu and the preview window's menu.
#include "dialogs.h"
#include "menudriver.h"
#include "msgbox.h"
#include "output/detailpage.h"
#include "output/frmNastavTisk.h"
#include "output/frmTisk.h"
#include "pageview.h"
#include "pdftools.h"
#include "previewfixture.h"
#include "printfixture.h"
#include "printchooser.h"
#include "printdialog.h"
#include "printer.h"
#include "system.h"
#include "testhost.h"
#include "data/currentoverview.h"
#include "overviewgrid.h"

#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace testsupport;

namespace {

constexpr double MmPerInch = 25.4;
// Where the printable area of the PDF page starts on the sheet.
constexpr double PdfMargin = 6.35;

// The page picture's pixel of a place in millimetres of the printable area.
QPoint previewPixel(double xMm, double yMm)
{
    return QPoint(int(xMm / MmPerInch * 96), int(yMm / MmPerInch * 96));
}

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

bool isWhite(QRgb c)
{
    return qRed(c) > 240 && qGreen(c) < 256 && qGreen(c) > 240 && qBlue(c) > 240;
}

// The printer dialog answered: the job goes into the PDF file, in that many copies.
class PdfChooser
{
public:
    explicit PdfChooser(const QString &file, int copies = 1, int from = 0, int to = 0)
    {
        m_previous = printer::setPrintChooser([this, file, copies, from, to](QWidget *, const printer::PrintRequest &r) {
            requests << r;
            printer::PrintChoice choice;
            choice.pdfFile = file;
            choice.allPages = from == 0;
            choice.from = from == 0 ? 1 : from;
            choice.to = to == 0 ? r.pageCount : to;
            choice.copies = copies;
            return std::optional<printer::PrintChoice>(choice);
        });
    }
    ~PdfChooser() { printer::setPrintChooser(m_previous); }
    QList<printer::PrintRequest> requests;

private:
    printer::PrintChooser m_previous;
};

}  // namespace

class TestDetailPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;

    // Record 20: a red 400 × 300 photo as attachment 1, a price, a date, a long title and
    // a note of two lines.
    void addRecord(const QString &note)
    {
        defineField(1, 2, 2, true, QStringLiteral("Cena"), QStringLiteral("N"));
        defineField(1, 3, 3, true, QStringLiteral("Vydáno"), QStringLiteral("D"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Pol3d, Poznamka, Sekce) values "
                                   "(20, 'Fotka', 2.5, '2024-02-01', %1, 1)")
                        .arg(note.isNull() ? QStringLiteral("null") : QLatin1Char('\'') + note + QLatin1Char('\'')));
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) values (20, 1, 'cervena.jpg', 'Foto')"));
        QImage red(400, 300, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(m_folder->file(QStringLiteral("img/cervena.jpg")), "JPG"));
    }

    // The detail print of a record opened as the overview opens it; `steps` run in the
    // window and close it.
    void openDetail(qint32 inter, qint16 poradi, const std::function<void(frmTisk &)> &steps, qint16 imgSize = 0)
    {
        showOverview();
        inPrintPreview(m_scope.get(), steps, [&](frmTisk &w) {
            w.ImgSize = imgSize;
            w.TiskDet(inter, poradi);
        });
    }

    QString longNote(int lines)
    {
        QStringList rows;
        for (int i = 1; i <= lines; ++i)
            rows << QStringLiteral("Řádek %1 poznámky").arg(i);
        return rows.join(QLatin1Char('\n'));
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<CatalogFolder>();
        m_scope = std::make_unique<QObject>();
        attachmentCatalog(*m_folder);
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmTisk::Loaded();
        frmNahled::Unload();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // One A4 portrait page: the photo 80 × 60 mm at 10, 10 mm, the fields at the right as
    // the overview shows them, the note's two lines; the same in the preview and on paper.
    void photoAndFieldsOnOnePage()
    {
        if (!pdftools::available())
            QSKIP("poppler's tools are not installed");
        addRecord(QStringLiteral("první řádek\ndruhý řádek"));
        const QString pdf = m_folder->file(QStringLiteral("detail.pdf"));
        PdfChooser chooser(pdf);
        openDetail(20, 1, [&](frmTisk &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Náhled před tiskem"));
            QCOMPARE(w.lbl->text(), QStringLiteral("1/1"));
            QCOMPARE(w.ImgSize, qint16(80));
            QCOMPARE(w.Nadpis, QStringLiteral("Tisk záznamu s fotografií"));
            const QImage page = w.PageImage(0);
            QVERIFY(isRed(page.pixel(previewPixel(50, 40))));
            QVERIFY(isRed(page.pixel(previewPixel(11, 11))));
            QVERIFY(isRed(page.pixel(previewPixel(89, 69))));
            QVERIFY(isWhite(page.pixel(previewPixel(92, 40))));
            QVERIFY(isWhite(page.pixel(previewPixel(50, 72))));
            QVERIFY(isWhite(page.pixel(previewPixel(8, 40))));
            // Every paging button only beeps on a single page.
            for (QPushButton *b : {w.cmdFirst, w.cmdBefore, w.cmdNext, w.cmdLast})
                QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(sys::beepCount(), 4);
            QTest::mouseClick(w.cmdTisk, Qt::LeftButton);
        });
        QCOMPARE(chooser.requests.size(), 1);
        QCOMPARE(pdftools::pageCount(pdf), 1);
        const QImage sheet = pdftools::pageImage(pdf, 1, 100);
        QVERIFY(qAbs(sheet.width() - 210 / MmPerInch * 100) <= 1);
        QVERIFY(qAbs(sheet.height() - 297 / MmPerInch * 100) <= 1);
        const auto at = [&](double x, double y) {
            return sheet.pixel(int((PdfMargin + x) / MmPerInch * 100), int((PdfMargin + y) / MmPerInch * 100));
        };
        QVERIFY(isRed(at(11, 11)));
        QVERIFY(isRed(at(89, 69)));
        QVERIFY(isWhite(at(92, 40)));
        QVERIFY(isWhite(at(50, 72)));
        const QString text = pdftools::pageText(pdf, 1);
        QVERIFY2(text.contains(QStringLiteral("Název")) && text.contains(QStringLiteral("Fotka")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("2,5")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("1.2.2024")), qPrintable(text));
        const QStringList lines = text.split(QLatin1Char('\n'));
        const qsizetype first = lines.indexOf(QRegularExpression(QStringLiteral("^\\s*první řádek\\s*$")));
        QVERIFY2(first >= 0, qPrintable(text));
        QVERIFY2(lines.value(first + 1).trimmed() == QStringLiteral("druhý řádek"), qPrintable(text));
    }

    // The note starts 5 mm below the photo or below the last field, whichever is lower,
    // its lines 4 mm apart; a landscape photo fills the width of its square, a portrait
    // one the height; without a photo the note follows the fields.
    void noteBelowPhotoOrFields_data()
    {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QRectF>("place");
        QTest::addColumn<double>("firstNoteLine");
        QTest::newRow("landscape") << QSize(400, 300) << QRectF(10, 10, 80, 60) << 79.0;
        QTest::newRow("portrait") << QSize(300, 400) << QRectF(10, 10, 60, 80) << 99.0;
        QTest::newRow("square") << QSize(300, 300) << QRectF(10, 10, 80, 80) << 99.0;
        QTest::newRow("none") << QSize() << QRectF() << -1.0;
    }
    void noteBelowPhotoOrFields()
    {
        QFETCH(QSize, photo);
        QFETCH(QRectF, place);
        QFETCH(double, firstNoteLine);
        QCOMPARE(MistoFotografie(photo, 80), place);
        DetailZaznamu z;
        z.Popisky = QStringList{"Název", "Cena", "Vydáno"};
        z.Hodnoty = QStringList{"Fotka", "", "1.2.2024"};
        z.Poznamka = QStringLiteral("první\ndruhá");
        if (photo.isValid()) {
            QImage picture(photo, QImage::Format_RGB32);
            picture.fill(Qt::red);
            z.Fotografie = m_folder->file(QStringLiteral("img/foto.png"));
            QVERIFY(picture.save(z.Fotografie));
            z.Pixely = photo;
        }
        printer::PagePicture page(11000, 16000, 0, 0);
        const VysledekDetailu done = KresliDetail(z, 80, [&](int i) -> printer::Surface & {
            [&] { QCOMPARE(i, 0); }();
            return page;
        });
        QCOMPARE(done.Stran, 1);
        if (firstNoteLine < 0) {
            // The last field's line ends at 20 mm and the height of a line.
            firstNoteLine = 20 + page.TextHeight() + 5 + 4;
        }
        QVERIFY2(qAbs(done.PoziceY - (firstNoteLine + 2 * 4)) < 0.01, qPrintable(QString::number(done.PoziceY)));
    }

    // The note's lines break as they were written, whichever line break the data keep;
    // an empty line between two stays.
    void noteLineBreaks_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("LF") << QStringLiteral("jedna\ndvě") << QStringList{"jedna", "dvě"};
        QTest::newRow("CR LF") << QStringLiteral("jedna\r\ndvě") << QStringList{"jedna", "dvě"};
        QTest::newRow("CR") << QStringLiteral("jedna\rdvě") << QStringList{"jedna", "dvě"};
        QTest::newRow("empty line") << QStringLiteral("jedna\r\n\r\ndvě  ") << QStringList{"jedna", "", "dvě"};
        QTest::newRow("blanks") << QStringLiteral("  jedna  \n  dvě") << QStringList{"jedna", "dvě"};
    }
    void noteLineBreaks()
    {
        QFETCH(QString, note);
        QFETCH(QStringList, lines);
        printer::PagePicture page(11000, 16000, 0, 0);
        page.ScaleMode(printer::vbMillimeters);
        QCOMPARE(ZalomText(page, note, 190), lines);
    }

    // Text wider than its column breaks after the last blank that fits, a word longer
    // than the column where it stops fitting; nothing is lost and no line is too wide.
    void wrapsToTheWidth()
    {
        printer::PagePicture page(11000, 16000, 0, 0);
        page.ScaleMode(printer::vbMillimeters);
        page.FontSize(10);
        const QString words = QStringLiteral("Velmi dlouhá hodnota pole, která se na stránku nevejde do jednoho řádku");
        const QStringList lines = ZalomText(page, words, 40);
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines.join(QLatin1Char(' ')), words);
        for (const QString &line : lines)
            QVERIFY2(page.TextWidth(line) <= 40, qPrintable(line));
        const QString word(120, QLatin1Char('m'));
        const QStringList cut = ZalomText(page, word, 40);
        QVERIFY(cut.size() > 2);
        QCOMPARE(cut.join(QString()), word);
        for (const QString &line : cut)
            QVERIFY((page.TextWidth(line) <= 40 && page.TextWidth(line + QLatin1Char('m')) > 40) || line == cut.last());
    }

    // A long value wraps in its column: nothing of it reaches the right edge of the page,
    // and every word of it is printed.
    void longValueWrapsOnThePage()
    {
        addRecord(QStringLiteral("krátká"));
        const QString value = QStringLiteral("Název tak dlouhý že se vedle popisku nevejde ani zdaleka");
        Db->Execute(QStringLiteral("update Katalog set Pol1c='%1' where Inter=20").arg(value));
        openDetail(20, 1, [&](frmTisk &w) {
            const QImage page = w.PageImage(0);
            // The printable area's last 5 mm stay white.
            const int from = page.width() - previewPixel(5.5, 0).x();
            for (int x = from; x < page.width(); ++x)
                for (int y = 0; y < page.height(); ++y)
                    QVERIFY2(isWhite(page.pixel(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            // The value takes several lines beside its caption: the price comes lower
            // than the second row.
            QVERIFY(w.PoziceY > 10 + 3 * 5);
        });
    }

    // A note longer than a page goes on to the next; the counter and the paging buttons
    // follow; printing while page 2 shows still prints from page 1, with the fields.
    void longNoteContinuesAndPrintsFromPageOne()
    {
        if (!pdftools::available())
            QSKIP("poppler's tools are not installed");
        addRecord(longNote(90));
        const QString pdf = m_folder->file(QStringLiteral("dlouha.pdf"));
        PdfChooser chooser(pdf);
        openDetail(20, 1, [&](frmTisk &w) {
            QCOMPARE(w.PageCount(), 2);
            QCOMPARE(w.lbl->text(), QStringLiteral("1/2"));
            QTest::mouseClick(w.cmdNext, Qt::LeftButton);
            QCOMPARE(w.lbl->text(), QStringLiteral("2/2"));
            QCOMPARE(w.Stranka, qint16(1));
            QTest::mouseClick(w.cmdLast, Qt::LeftButton);
            QCOMPARE(sys::beepCount(), 1);
            // Nothing runs below the page's bottom margin.
            for (int p = 0; p < 2; ++p) {
                const QImage page = w.PageImage(p);
                const int from = page.height() - previewPixel(0, 9).y();
                for (int y = from; y < page.height(); ++y)
                    for (int x = 0; x < page.width(); x += 2)
                        QVERIFY(isWhite(page.pixel(x, y)));
            }
            QTest::mouseClick(w.cmdTisk, Qt::LeftButton);
        });
        QCOMPARE(pdftools::pageCount(pdf), 2);
        const QString first = pdftools::pageText(pdf, 1);
        const QString second = pdftools::pageText(pdf, 2);
        QVERIFY(first.contains(QStringLiteral("Název")));
        QVERIFY(first.contains(QStringLiteral("Řádek 1 poznámky")));
        QVERIFY(!second.contains(QStringLiteral("Název")));
        QVERIFY(second.contains(QStringLiteral("Řádek 90 poznámky")));
        // Each line once, in order, across both pages.
        const QString both = first + second;
        qsizetype at = 0;
        for (int i = 1; i <= 90; ++i) {
            const qsizetype next = both.indexOf(QStringLiteral("Řádek %1 poznámky").arg(i), at);
            QVERIFY2(next >= at, qPrintable(QString::number(i)));
            at = next;
        }
    }

    // Copies from the printer dialog: each a whole detail from its first page; into one
    // PDF file they follow each other. The default printer is as it was.
    void copies_data()
    {
        QTest::addColumn<int>("noteLines");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        QTest::newRow("three of one page") << 2 << 3 << 3;
        QTest::newRow("two of two pages") << 90 << 2 << 4;
    }
    void copies()
    {
        if (!pdftools::available())
            QSKIP("poppler's tools are not installed");
        QFETCH(int, noteLines);
        QFETCH(int, copies);
        QFETCH(int, pages);
        addRecord(longNote(noteLines));
        NastavVychoziTiskarnu(QStringLiteral("Kancelář"));
        const QString pdf = m_folder->file(QStringLiteral("kopie.pdf"));
        PdfChooser chooser(pdf, copies);
        openDetail(20, 1, [&](frmTisk &w) { QTest::mouseClick(w.cmdTisk, Qt::LeftButton); });
        QCOMPARE(pdftools::pageCount(pdf), pages);
        const int perCopy = pages / copies;
        for (int p = 1; p <= pages; ++p)
            QCOMPARE(pdftools::pageText(pdf, p).contains(QStringLiteral("Název")), (p - 1) % perCopy == 0);
        QCOMPARE(VychoziTiskarna(), QStringLiteral("Kancelář"));
        NastavVychoziTiskarnu(printer::DefaultPrinterName());
    }

    // A PDF file that cannot be written: the print fails with the reason, nothing else.
    void failedPrintIsReported()
    {
        addRecord(QString());
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        PdfChooser chooser(m_folder->file(QStringLiteral("chybi/tisk.pdf")));
        openDetail(20, 1, [&](frmTisk &w) { QTest::mouseClick(w.cmdTisk, Qt::LeftButton); });
        QCOMPARE(boxes.shown().size(), size_t(1));
        QVERIFY2(boxes.shown()[0].text.startsWith(QStringLiteral("Chyba při tisku.\n")), qPrintable(boxes.shown()[0].text));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Náhled před tiskem"));
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("chybi/tisk.pdf"))));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // A record the database cannot read: the reason in a message, an empty page shown,
    // no wait cursor left behind.
    void unreadableRecord()
    {
        addRecord(QString());
        showOverview();
        DotazPrehledu broken = Prehled().Dotaz();
        broken.SeznamPoli += QStringLiteral(", NeniTakovePole");
        Prehled().NastavDotaz(broken);
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        bool shown = false;
        whenShown<frmTisk>(m_scope.get(), [&](frmTisk &w) {
            shown = true;
            QCOMPARE(w.PageCount(), 1);
            QCOMPARE(w.lbl->text(), QStringLiteral("1/1"));
            QVERIFY(!QGuiApplication::overrideCursor());
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
        });
        frmTisk::Form().TiskDet(20, 1);
        QVERIFY(shown);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QVERIFY2(boxes.shown()[0].text.startsWith(QStringLiteral("Chyba při tisku.\n")), qPrintable(boxes.shown()[0].text));
    }

    // A printer that cannot start a job is reported once, whatever the copies; the
    // default printer is the one it was.
    void printerNotReady()
    {
        addRecord(QString());
        NastavVychoziTiskarnu(QStringLiteral("Kancelář"));
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        const printer::PrintChooser previous = printer::setPrintChooser([](QWidget *, const printer::PrintRequest &) {
            printer::PrintChoice choice;
            choice.printer = QStringLiteral("Oskal-zadna-tiskarna");
            choice.copies = 3;
            return std::optional<printer::PrintChoice>(choice);
        });
        openDetail(20, 1, [&](frmTisk &w) { QTest::mouseClick(w.cmdTisk, Qt::LeftButton); });
        printer::setPrintChooser(previous);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text,
                 QStringLiteral("Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte."));
        QCOMPARE(VychoziTiskarna(), QStringLiteral("Kancelář"));
        NastavVychoziTiskarnu(printer::DefaultPrinterName());
    }

    // The scroll bars follow the window's size and move the page; a size of 3000 twips
    // or less in one direction leaves that direction as it was; the next page keeps
    // the place the page was scrolled to.
    void resizeAndScroll()
    {
        addRecord(longNote(90));
        openDetail(20, 1, [&](frmTisk &w) {
            w.resize(500, 600);
            QVERIFY(w.hsb->isEnabled());
            QVERIFY(w.vsb->isEnabled());
            const QSize frame = w.fra->size();
            w.hsb->setValue(w.hsb->maximum());
            w.vsb->setValue(w.vsb->maximum() / 2);
            const QPoint scrolled = w.pic->pos();
            QVERIFY(scrolled.x() < 0 && scrolled.y() < 0);
            QTest::mouseClick(w.cmdNext, Qt::LeftButton);
            QCOMPARE(w.pic->pos(), scrolled);
            w.resize(180, 700);  // 2700 twips wide
            QCOMPARE(w.fra->width(), frame.width());
            QVERIFY(w.fra->height() > frame.height());
            w.resize(1400, 180);
            QVERIFY(w.fra->width() > frame.width());
            QCOMPARE(w.fra->height(), frame.height() + 100);
        });
    }

    // A range chosen in the printer dialog prints those pages only, in each copy.
    void printsTheChosenPages()
    {
        if (!pdftools::available())
            QSKIP("poppler's tools are not installed");
        addRecord(longNote(90));
        const QString pdf = m_folder->file(QStringLiteral("druha.pdf"));
        PdfChooser chooser(pdf, 2, 2, 2);
        openDetail(20, 1, [&](frmTisk &w) { QTest::mouseClick(w.cmdTisk, Qt::LeftButton); });
        QCOMPARE(chooser.requests.value(0).pageCount, 2);
        QCOMPARE(pdftools::pageCount(pdf), 2);
        for (int p = 1; p <= 2; ++p) {
            const QString text = pdftools::pageText(pdf, p);
            QVERIFY(!text.contains(QStringLiteral("Název")));
            QVERIFY(text.contains(QStringLiteral("Řádek 90 poznámky")));
        }
    }

    // Without an installed printer the print button opens the print dialog all the same,
    // with a PDF file as its target: its page range and copies hold as for a printer.
    void printDialogWithoutAPrinter()
    {
        if (!pdftools::available())
            QSKIP("poppler's tools are not installed");
        addRecord(longNote(90));
        const QString pdf = m_folder->file(QStringLiteral("bez-tiskarny.pdf"));
        PrintDialogSeen seen;
        openDetail(20, 1, [&](frmTisk &w) {
            QCOMPARE(w.PageCount(), 2);
            whenPrintDialogOpens({pdf, 2, 2, 2}, seen);
            QTest::mouseClick(w.cmdTisk, Qt::LeftButton);
        });
        verifyChoicesOfAPrinter(seen, printer::Printers());
        QCOMPARE(pdftools::pageCount(pdf), 2);
        for (int p = 1; p <= 2; ++p) {
            const QString text = pdftools::pageText(pdf, p);
            QVERIFY(!text.contains(QStringLiteral("Název")));
            QVERIFY(text.contains(QStringLiteral("Řádek 90 poznámky")));
        }
    }

    // Cancelling the printer dialog prints nothing and keeps the default printer.
    void cancelledPrinterDialog()
    {
        addRecord(QString());
        NastavVychoziTiskarnu(QStringLiteral("Kancelář"));
        int asked = 0;
        const printer::PrintChooser previous = printer::setPrintChooser([&](QWidget *, const printer::PrintRequest &) {
            ++asked;
            return std::optional<printer::PrintChoice>();
        });
        openDetail(20, 1, [&](frmTisk &w) { QTest::mouseClick(w.cmdTisk, Qt::LeftButton); });
        printer::setPrintChooser(previous);
        QCOMPARE(asked, 1);
        QCOMPARE(VychoziTiskarna(), QStringLiteral("Kancelář"));
        NastavVychoziTiskarnu(printer::DefaultPrinterName());
    }

    // The shown page saved as a bitmap of the page's size: page 2 while page 2 shows;
    // cancelling the file dialog or a file that cannot be written leaves nothing.
    void savesTheShownPage()
    {
        addRecord(longNote(90));
        QStringList answers{m_folder->file(QStringLiteral("strana2.bmp")), QString(),
                            m_folder->file(QStringLiteral("chybi/strana.bmp"))};
        QStringList filters;
        const dialogs::FileChooser previous = dialogs::setSaveFileChooser(
            [&](QWidget *, const dialogs::FileRequest &r) -> std::optional<QString> {
                filters << r.filter;
                const QString answer = answers.takeFirst();
                if (answer.isEmpty())
                    return std::nullopt;
                return answer;
            });
        QImage shown;
        openDetail(20, 1, [&](frmTisk &w) {
            QTest::mouseClick(w.cmdNext, Qt::LeftButton);
            shown = w.PageImage(1);
            for (int i = 0; i < 3; ++i)
                QTest::mouseClick(w.cmdSave, Qt::LeftButton);
        });
        dialogs::setSaveFileChooser(previous);
        QCOMPARE(filters.value(0), QStringLiteral("Rastrové soubory (*.bmp)|*.bmp"));
        QImageReader reader(m_folder->file(QStringLiteral("strana2.bmp")));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage saved = reader.read();
        QCOMPARE(saved.size(), shown.size());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("chybi/strana.bmp"))));
    }

    // The settings dialog of a detail print: only the photo size can change; a new size
    // draws the page again with the photo that size; closing with the close box changes
    // nothing but still draws again.
    void settingsRedrawThePhoto()
    {
        addRecord(QString());
        openDetail(20, 1, [&](frmTisk &w) {
            QVERIFY(isRed(w.PageImage(0).pixel(previewPixel(70, 20))));
            bool asked = false;
            whenShown<frmNastavTisk>(m_scope.get(), [&](frmNastavTisk &d) {
                QCOMPARE(d.windowTitle(), QStringLiteral("Nastavení tisku"));
                QVERIFY(!d.cmbPismo->isEnabled());
                QVERIFY(!d.opt[0]->isEnabled() && !d.opt[1]->isEnabled());
                QCOMPARE(d.opt[0]->text(), QStringLiteral("Na výšku"));
                QCOMPARE(d.opt[1]->text(), QStringLiteral("Na šířku"));
                QVERIFY(!d.txtNadpis->isEnabled());
                QCOMPARE(d.txtImgSize->text(), QStringLiteral("80"));
                QTest::mouseClick(d.txtImgSize, Qt::LeftButton);
                QTest::keyClick(d.txtImgSize, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.txtImgSize, QStringLiteral("40"));
                QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                asked = true;
            });
            QTest::mouseClick(w.cmdNastav, Qt::LeftButton);
            QVERIFY(asked);
            QCOMPARE(w.ImgSize, qint16(40));
            QCOMPARE(w.Stranka, qint16(0));
            const QImage page = w.PageImage(0);
            QVERIFY(isRed(page.pixel(previewPixel(48, 38))));
            QVERIFY(isWhite(page.pixel(previewPixel(70, 20))));
            QVERIFY(isWhite(page.pixel(previewPixel(30, 45))));

            whenShown<frmNastavTisk>(m_scope.get(), [&](frmNastavTisk &d) {
                QTest::keyClicks(d.txtImgSize, QStringLiteral("5"));
                d.close();
            });
            QTest::mouseClick(w.cmdNastav, Qt::LeftButton);
            QCOMPARE(w.ImgSize, qint16(40));
            QVERIFY(isRed(w.PageImage(0).pixel(previewPixel(48, 38))));
        });
    }

    // A photo size set beforehand is held to the range; the dialog refuses a size out of
    // it with a message and keeps to an allowed one.
    void photoSizeLimits_data()
    {
        QTest::addColumn<qint16>("before");
        QTest::addColumn<qint16>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint16>("after");
        QTest::newRow("150 set, 121 typed") << qint16(150) << qint16(120) << "121"
                                            << "Maximální velikost obrázku může být 120mm" << qint16(120);
        QTest::newRow("120 passes") << qint16(0) << qint16(80) << "120" << "" << qint16(120);
        QTest::newRow("0 refused") << qint16(0) << qint16(80) << "0" << "Velikost obrázku musí být alespoň 1 mm."
                                   << qint16(80);
        QTest::newRow("negative refused") << qint16(-3) << qint16(80) << "-5"
                                          << "Velikost obrázku musí být alespoň 1 mm." << qint16(80);
        QTest::newRow("letters after a number") << qint16(0) << qint16(80) << "60mm" << "" << qint16(60);
        QTest::newRow("no number") << qint16(0) << qint16(80) << "abc" << "Velikost obrázku musí být alespoň 1 mm."
                                   << qint16(80);
    }
    void photoSizeLimits()
    {
        QFETCH(qint16, before);
        QFETCH(qint16, shown);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(qint16, after);
        addRecord(QString());
        ScriptedBoxes boxes;
        if (!message.isEmpty())
            boxes.expect(vbOK);
        openDetail(20, 1, [&](frmTisk &w) {
            QCOMPARE(w.ImgSize, shown);
            whenShown<frmNastavTisk>(m_scope.get(), [&](frmNastavTisk &d) {
                QTest::mouseClick(d.txtImgSize, Qt::LeftButton);
                QTest::keyClick(d.txtImgSize, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.txtImgSize, typed);
                QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            });
            QTest::mouseClick(w.cmdNastav, Qt::LeftButton);
            QCOMPARE(w.ImgSize, after);
        }, before);
        if (message.isEmpty()) {
            QVERIFY(boxes.shown().empty());
        } else {
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text, message);
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Nastavení tisku"));
        }
    }

    // Leaving the photo size box for another control checks it there and then.
    void leavingThePhotoSizeBox()
    {
        addRecord(QString());
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        openDetail(20, 1, [&](frmTisk &w) {
            whenShown<frmNastavTisk>(m_scope.get(), [&](frmNastavTisk &d) {
                QTest::mouseClick(d.txtImgSize, Qt::LeftButton);
                QTest::keyClick(d.txtImgSize, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.txtImgSize, QStringLiteral("150"));
                QTest::keyClick(d.txtImgSize, Qt::Key_Tab);
                QCOMPARE(d.txtImgSize->text(), QStringLiteral("120"));
                QCOMPARE(boxes.shown().size(), size_t(1));
                d.close();
            });
            QTest::mouseClick(w.cmdNastav, Qt::LeftButton);
            QCOMPARE(w.ImgSize, qint16(80));
        });
    }

    // The dialog of a print that uses them: font size, orientation and heading written
    // back on OK; a font size out of the list's range is refused with a message.
    void fontOrientationAndHeading()
    {
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        frmTisk &print = frmTisk::Form();
        print.Pismo = 14;
        print.Nadpis = QStringLiteral("Seznam");
        frmNastavTisk &dialog = frmNastavTisk::Form(&print);
        dialog.txtImgSize->hide();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.cmbPismo->currentText(), QStringLiteral("14"));
        QCOMPARE(dialog.pic->property("image").toString(), QStringLiteral("port"));
        QTest::mouseClick(dialog.opt[1], Qt::LeftButton, {}, QPoint(8, dialog.opt[1]->height() / 2));
        QCOMPARE(dialog.pic->property("image").toString(), QStringLiteral("land"));
        QTest::mouseClick(dialog.txtNadpis, Qt::LeftButton);
        QTest::keyClick(dialog.txtNadpis, Qt::Key_End);
        QTest::keyClicks(dialog.txtNadpis, QStringLiteral(" knih"));
        QTest::mouseClick(dialog.cmbPismo->lineEdit(), Qt::LeftButton);
        QTest::keyClick(dialog.cmbPismo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog.cmbPismo->lineEdit(), QStringLiteral("40"));
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Velikost písma musí být celé číslo od 5 do 36."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(print.Pismo, quint8(14));
        QTest::keyClick(dialog.cmbPismo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog.cmbPismo->lineEdit(), QStringLiteral("8"));
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(print.Pismo, quint8(8));
        QCOMPARE(print.Orientace, 2);
        QCOMPARE(print.Nadpis, QStringLiteral("Seznam knih"));
        QCOMPARE(print.ImgSize, qint16(0));
    }

    // From the overview's record menu and from the preview window's menu the detail
    // print opens on the current record with the preview's attachment: the third tab
    // gives 3, the note tab none.
    void openedFromTheMenus()
    {
        frmNahled &preview = previewOn(2);
        QTRY_COMPARE(preview.tabS->count(), 4);
        QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(2).center());
        QList<QPair<qint32, qint16>> opened;
        const auto record = [&] {
            whenShown<frmTisk>(m_scope.get(), [&](frmTisk &w) {
                opened << qMakePair(w.TiskInter, w.TiskPoradi);
                QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
            });
        };
        record();
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("Tisk detailu")); });
        clickCell(overviewGrid(frmPrehled::Form())->grid(), 2, 1, Qt::RightButton);
        QTRY_COMPARE(opened.size(), 1);
        QTRY_VERIFY(!frmTisk::Loaded());

        QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(3).center());
        record();
        QMenu *popup = frmMain::Form().PopupNahledy;
        QTest::mousePress(preview.tabS, Qt::RightButton, {}, preview.tabS->tabRect(3).center());
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(frmMain::Form().PopupNahledTisk->isEnabled());
        chooseFromOpenMenu(popup, frmMain::Form().PopupNahledTisk);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(opened[0], qMakePair(qint32(12), qint16(3)));
        QCOMPARE(opened[1], qMakePair(qint32(12), qint16(0)));
    }
};

QTEST_MAIN(TestDetailPrint)
#include "tst_detailprint.moc"
