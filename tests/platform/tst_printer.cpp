// The printer in twips: PDF documents, page pictures drawn by the same code, errors.
#include "pdftools.h"
#include "printer.h"
#include "vberror.h"

#include <QtTest>

class TestPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesOfADocument()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("out.pdf"));
        auto p = printer::Printer::pdf(file);
        // A4 less a quarter inch all round, in twips.
        QVERIFY(qAbs(p->ScaleWidth() - (210 - 12.7) / 25.4 * 1440) < 10);
        QVERIFY(qAbs(p->ScaleHeight() - (297 - 12.7) / 25.4 * 1440) < 10);
        p->FontName(QStringLiteral("Arial CE"));
        p->FontSize(12);
        p->Print(QStringLiteral("první strana"));
        QCOMPARE(p->CurrentX, 0.0);
        QCOMPARE(p->CurrentY, p->TextHeight());
        p->NewPage();
        QCOMPARE(p->CurrentY, 0.0);
        p->Print(QStringLiteral("druhá strana"));
        // A new page with nothing on it before the end is no sheet of its own.
        p->NewPage();
        p->EndDoc();
        QCOMPARE(pdftools::pageCount(file), 2);
        if (pdftools::available()) {
            QVERIFY(pdftools::pageText(file, 1).contains(QStringLiteral("první strana")));
            QVERIFY(pdftools::pageText(file, 2).contains(QStringLiteral("druhá strana")));
        }
    }

    void discardedAndEmptyDocumentsSendNothing()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("out.pdf"));
        auto p = printer::Printer::pdf(file);
        p->EndDoc();
        QVERIFY(!QFile::exists(file));
        p->Print(QStringLiteral("zahozeno"));
        p->KillDoc();
        QVERIFY(!QFile::exists(file));
    }

    void orientationTurnsThePrintableArea()
    {
        auto p = printer::Printer::pdf(QString());
        const double w = p->ScaleWidth(), h = p->ScaleHeight();
        p->Orientation(printer::vbPRORLandscape);
        QCOMPARE(p->Orientation(), int(printer::vbPRORLandscape));
        QCOMPARE(p->ScaleWidth(), h);
        QCOMPARE(p->ScaleHeight(), w);
    }

    // The preview and the printer measure a text alike, and the picture draws it as wide
    // as it was measured: what fits on the screen fits on paper.
    void pictureDrawsAsMeasured()
    {
        printer::PagePicture page(6000, 3000, 0, 0);
        auto pdf = printer::Printer::pdf(QString());
        const QString text = QStringLiteral("WWWWWWWWWW MMMMMMMMMM");
        for (printer::Surface *s : std::initializer_list<printer::Surface *>{&page, pdf.get()}) {
            s->FontName(QStringLiteral("Arial CE"));
            s->FontSize(14);
            s->FontBold(true);
        }
        QCOMPARE(page.TextWidth(text), pdf->TextWidth(text));
        page.CurrentX = 300;
        page.CurrentY = 300;
        page.Print(text);
        const QImage image = page.image();
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY(right > left);
        QVERIFY2(qAbs(left - 20) <= 2, qPrintable(QString::number(left)));
        const double measured = page.TextWidth(text) / 15;
        QVERIFY2(qAbs((right - left + 1) - measured) <= 4,
                 qPrintable(QStringLiteral("drawn %1 px, measured %2 px").arg(right - left + 1).arg(measured)));
    }

    // In millimetres every position and measure is the twips' one over 1440 / 25.4: the
    // page, the text, the cursor after a line and a picture stretched into its place.
    void millimetres()
    {
        printer::PagePicture page(11340, 5670, 0, 0);  // 200 × 100 mm
        page.FontSize(10);
        const QString text = QStringLiteral("Název 12,5");
        const double twips = page.TextWidth(text);
        const double lineTwips = page.TextHeight();
        page.ScaleMode(printer::vbMillimeters);
        QCOMPARE(page.scaleMode(), int(printer::vbMillimeters));
        QVERIFY(qAbs(page.ScaleWidth() - 200) < 0.05);
        QVERIFY(qAbs(page.ScaleHeight() - 100) < 0.05);
        QVERIFY(qAbs(page.TextWidth(text) * 1440 / 25.4 - twips) < 1e-6);
        page.CurrentY = 10;
        page.Print(text);
        QVERIFY(qAbs(page.CurrentY - (10 + lineTwips * 25.4 / 1440)) < 1e-6);
        QImage red(40, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        page.PaintPicture(red, 50, 20, 40, 30);
        const QImage image = page.image();
        const auto px = [](double mm) { return int(mm / 25.4 * 96); };
        QCOMPARE(image.pixel(px(51), px(21)), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(px(89), px(49)), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(px(92), px(40)), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(px(70), px(52)), qRgb(255, 255, 255));
        QCOMPARE(page.Resolution(), 96.0);
        page.ScaleMode(printer::vbTwips);
        QVERIFY(qAbs(page.CurrentY - (10 * 1440 / 25.4 + lineTwips)) < 1e-6);
    }

    void sizeBelowOnePointIsOnePoint()
    {
        printer::PagePicture page(1000, 1000, 0, 0);
        page.FontSize(0);
        QCOMPARE(page.FontSize(), 1.0);
        QVERIFY(page.TextHeight() > 0);
    }

    void unwritableFileIsAnAccessError()
    {
        auto p = printer::Printer::pdf(QStringLiteral("/nonexistent-folder/x/out.pdf"));
        try {
            p->Print(QStringLiteral("x"));
            QFAIL("no error");
        } catch (const VbError &e) {
            QCOMPARE(e.Number(), 75);
        }
    }

    void printerThatCannotStartIsNotReady()
    {
        if (printer::Printers().contains(QStringLiteral("Oskal-zadna-tiskarna")))
            QSKIP("a printer of that name exists");
        printer::Printer p(QStringLiteral("Oskal-zadna-tiskarna"));
        try {
            p.Print(QStringLiteral("x"));
            p.EndDoc();
            QFAIL("no error");
        } catch (const VbError &e) {
            QCOMPARE(e.Number(), 482);
        }
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
