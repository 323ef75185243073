// The control's listing printed through its page preview: pages, ranges, settings, the
// printer dialog and its messages, the question about columns past the paper's edge.
#include "VarnexEditUni.h"
#include "frmNastav.h"
#include "frmTisk.h"
#include "grid.h"
#include "gridreport.h"
#include "msgbox.h"
#include "pageview.h"
#include "pdftools.h"
#include "printchooser.h"
#include "printdialog.h"
#include "printer.h"
#include "system.h"
#include "testhost.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QtTest>

using tabulix::frmNastav;
using tabulix::frmTisk;

namespace {

QStringList goods(int n)
{
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << joinRow({QString::number(i), QStringLiteral("Zboží číslo %1").arg(i), QStringLiteral("12,5"),
                         QStringLiteral("01.02.2024"), QStringLiteral("A"), QStringLiteral("X")});
    return rows;
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

}  // namespace

class TestEditorPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    msgbox::ScriptedAnswerer m_boxes;
    QTemporaryDir m_dir;
    // What the printer dialog was asked, and what it answers.
    std::optional<printer::PrintRequest> m_request;
    std::optional<printer::PrintChoice> m_choice;

    void open(int rows)
    {
        m_host = std::make_unique<TestHost>();
        m_host->setWindowTitle(QStringLiteral("Sklad"));
        m_host->defineColumns(2);
        e = m_host->VEdit;
        m_host->fill(goods(rows), rows);
        QVERIFY(m_host->showActive());
    }

    // Opens the preview from the function menu, as the user does, runs the steps in it
    // and closes it with its close button.
    void preview(std::function<void(frmTisk &)> steps)
    {
        bool ran = false;
        whenPopupOpens([&](QMenu *menu) {
            whenDialogOpens([&](QDialog *dialog) {
                auto *f = qobject_cast<frmTisk *>(dialog);
                const auto close = qScopeGuard([dialog] {
                    if (dialog->isVisible())
                        dialog->reject();
                });
                QVERIFY(f);
                steps(*f);
                ran = true;
                click(f->cmdKonec);
            });
            clickMenuItem(menu, QStringLiteral("mnuTisk"));
        });
        clickCell(e->grid(), 0, 1, Qt::RightButton);
        QVERIFY(ran);
    }

    QString pdf() const { return m_dir.filePath(QStringLiteral("sestava.pdf")); }

    // Prints through the print button, the dialog answering with a PDF file and a range.
    void printToPdf(frmTisk &f, bool allPages, int from, int to)
    {
        QFile::remove(pdf());
        m_choice = printer::PrintChoice{};
        m_choice->pdfFile = pdf();
        m_choice->allPages = allPages;
        m_choice->from = from;
        m_choice->to = to;
        m_choice->orientation = f.Orientace;
        click(f.cmdTisk);
    }

    // Rows of the page picture between the last place a row may reach and the footer.
    static bool footerBandClear(const QImage &image, double scaleHeight)
    {
        const int top = int(std::ceil((scaleHeight - 450) / 15)) + 1;
        const int bottom = int(std::floor((scaleHeight - 400) / 15)) - 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 200)
                    return false;
        return true;
    }

private Q_SLOTS:
    void init()
    {
        m_boxes.clear();
        m_boxes.onUnexpected = [](const msgbox::Shown &box) {
            QFAIL(qPrintable(QStringLiteral("unexpected box: ") + box.text));
        };
        msgbox::setAnswerer(&m_boxes);
        m_request.reset();
        m_choice.reset();
        QFile::remove(pdf());
        printer::setPrintChooser([this](QWidget *, const printer::PrintRequest &request) {
            m_request = request;
            return m_choice;
        });
        sys::setBeepHook([](int, int) {});
        sys::resetBeepCount();
    }

    void cleanup()
    {
        msgbox::setAnswerer(nullptr);
        printer::setPrintChooser({});
        sys::setBeepHook({});
        m_host.reset();
    }

    // A range of one page sends exactly that page, with its own number in the footer.
    void rangeSendsOnlyItsPages()
    {
        open(150);
        preview([&](frmTisk &f) {
            QCOMPARE(f.lbl->text(), QStringLiteral("1/3"));
            if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
                f.grab().save(qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/preview.png"));
            printToPdf(f, false, 2, 2);
            QCOMPARE(f.OdStrany(), qint16(2));
            QCOMPARE(f.DoStrany(), qint16(2));
        });
        QCOMPARE(pdftools::pageCount(pdf()), 1);
        if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
            QFile::copy(pdf(), qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/strana2.pdf"));
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        // The footer "Strana  2" (the tool writes one blank for the two).
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\bStrana +2\\b"))), qPrintable(text));
        QVERIFY(!text.contains(QRegularExpression(QStringLiteral("\\bStrana +[13]\\b"))));
        QVERIFY(!text.contains(QStringLiteral("Vytištěno")));
    }

    // "All pages" prints every page, whatever range the dialog's fields hold; the last
    // one ends with the count line, and the first has the host's caption as heading.
    void allPagesPrintEveryPage()
    {
        open(150);
        preview([&](frmTisk &f) {
            QCOMPARE(f.windowTitle(), QStringLiteral("Sklad - náhled"));
            printToPdf(f, true, 1, 1);
            QVERIFY(m_request);
            QCOMPARE(m_request->pageCount, 3);
        });
        QCOMPARE(pdftools::pageCount(pdf()), 3);
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        QVERIFY(pdftools::pageText(pdf(), 1).contains(QStringLiteral("Sklad")));
        const QString last = pdftools::pageText(pdf(), 3);
        QVERIFY2(last.contains(QStringLiteral("Vytištěno záznamů: 150")), qPrintable(last));
        QVERIFY(last.contains(QStringLiteral("Zboží číslo 150")));
        QVERIFY(last.contains(QRegularExpression(QStringLiteral("\\bStrana +3\\b"))));
        QVERIFY(last.contains(QDate::currentDate().toString(QStringLiteral("d.M.yyyy"))));
    }

    // Deleted rows and the placeholder of an empty grid are neither printed nor counted.
    void onlyLiveRowsPrint()
    {
        open(10);
        for (int r : {2, 5, 9})
            e->grid()->setRowHeight(r, 0);
        preview([&](frmTisk &f) { printToPdf(f, true, 1, 1); });
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(QStringLiteral("Vytištěno záznamů: 7")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Zboží číslo 5 ")) && !text.contains(QStringLiteral("Zboží číslo 9")));
        QVERIFY(text.contains(QStringLiteral("Zboží číslo 10")));
    }

    void emptyGridPrintsNothing()
    {
        open(0);
        preview([&](frmTisk &f) {
            QCOMPARE(f.lbl->text(), QStringLiteral("1/1"));
            printToPdf(f, true, 1, 1);
        });
        QVERIFY(!QFile::exists(pdf()));
    }

    void tooWideListingAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("label");
        QTest::newRow("yes") << int(vbYes) << QStringLiteral("1/1");
        QTest::newRow("no") << int(vbNo) << QStringLiteral("1/1");
    }
    void tooWideListingAsks()
    {
        QFETCH(int, answer);
        open(5);
        e->ColWidth(3, 12000);
        m_boxes.expect(answer);
        preview([&](frmTisk &f) {
            QTEST(f.lbl->text(), "label");
            // A declined listing shows a blank page.
            const QImage page = f.PageImage();
            bool blank = true;
            for (int y = 0; y < page.height() && blank; ++y)
                for (int x = 0; x < page.width() && blank; ++x)
                    blank = qGray(page.pixel(x, y)) > 200;
            QCOMPARE(blank, answer == vbNo);
        });
        QCOMPARE(m_boxes.shown().size(), size_t(1));
        const msgbox::Shown &box = m_boxes.shown().front();
        QCOMPARE(box.title, QStringLiteral("Tisk"));
        QCOMPARE(box.style, int(vbYesNo | vbQuestion));
        QCOMPARE(box.text, QStringLiteral("Šířka sestavy přesahuje formát papíru.\nPoložky 'Datum', 'Aktivní' jsou "
                                          "mimo tisknutelnou plochu.\n\nPokračovat v tisku ?"));
        QCOMPARE(sys::beepCount(), 1);
    }

    // A listing far wider than the paper: the question's box, shown for real, breaks its
    // long list of columns into lines inside the box.
    void tooWideQuestionWraps()
    {
        m_host = std::make_unique<TestHost>();
        m_host->setWindowTitle(QStringLiteral("Sklad"));
        e = m_host->VEdit;
        e->Edited(2);
        e->Init(32, 0);
        e->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
        QStringList cells{QStringLiteral("1")};
        for (int i = 1; i <= 30; ++i) {
            e->SetCol(i, QStringLiteral("Pol%1").arg(i), 2000, QStringLiteral("L"), QStringLiteral("Katalog.Pol%1c").arg(i),
                      QStringLiteral("C"), 50);
            cells << QStringLiteral("text %1").arg(i);
        }
        e->SetCol(31, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
        m_host->fill({joinRow(cells + QStringList{QStringLiteral("X")})}, 1);
        QVERIFY(m_host->showActive());
        msgbox::setAnswerer(nullptr);
        bool asked = false;
        whenPopupOpens([&](QMenu *menu) {
            whenDialogOpens([&](QDialog *dialog) {
                auto *box = qobject_cast<QMessageBox *>(dialog);
                const auto answer = qScopeGuard([&] {
                    whenDialogOpens([](QDialog *preview) { preview->reject(); });
                    if (box)
                        box->button(QMessageBox::No)->click();
                    else
                        dialog->reject();
                });
                QVERIFY(box);
                QVERIFY(box->text().contains(QStringLiteral("Pol29")));
                auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                QVERIFY(label);
                QVERIFY(label->geometry().right() < box->width());
                // Broken at words only, every line fits the label.
                const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 100000),
                                                                       Qt::TextWordWrap, box->text());
                QVERIFY2(needed.width() <= label->width(),
                         qPrintable(QStringLiteral("%1 > %2").arg(needed.width()).arg(label->width())));
                QVERIFY(needed.height() <= label->height());
                asked = true;
            });
            clickMenuItem(menu, QStringLiteral("mnuTisk"));
        });
        clickCell(e->grid(), 0, 1, Qt::RightButton);
        QTRY_VERIFY(asked);
    }

    void singlePageButtonsOnlyBeep()
    {
        open(5);
        preview([&](frmTisk &f) {
            for (QPushButton *b : {f.cmdFirst, f.cmdBefore, f.cmdNext, f.cmdLast})
                click(b);
            QCOMPARE(sys::beepCount(), 4);
            QCOMPARE(f.lbl->text(), QStringLiteral("1/1"));
        });
    }

    // Moving between pages keeps the scroll position; at the ends the buttons beep.
    void pagingKeepsThePlace()
    {
        open(150);
        preview([&](frmTisk &f) {
            f.resize(600, 500);
            QVERIFY(f.vsb->isEnabled());
            f.vsb->setValue(900);
            QCOMPARE(f.pic->y(), (120 - 900) / 15);
            const QPoint at = f.pic->pos();
            click(f.cmdLast);
            QCOMPARE(f.lbl->text(), QStringLiteral("3/3"));
            QCOMPARE(f.pic->pos(), at);
            click(f.cmdNext);
            click(f.cmdLast);
            QCOMPARE(sys::beepCount(), 2);
            click(f.cmdBefore);
            QCOMPARE(f.lbl->text(), QStringLiteral("2/3"));
            click(f.cmdFirst);
            QCOMPARE(f.lbl->text(), QStringLiteral("1/3"));
            click(f.cmdBefore);
            QCOMPARE(sys::beepCount(), 3);
        });
    }

    // A listing of more than a thousand pages: its page label is wide enough for its
    // text and clear of the buttons beside it.
    void pageLabelFitsFourDigits()
    {
        open(70000);
        preview([&](frmTisk &f) {
            QVERIFY(f.PageCount() >= 1000);
            click(f.cmdLast);
            QCOMPARE(f.lbl->text(), QStringLiteral("%1/%1").arg(f.PageCount()));
            QVERIFY(f.lbl->width() >= f.lbl->fontMetrics().horizontalAdvance(f.lbl->text()));
            QVERIFY(!f.lbl->geometry().intersects(f.cmdNext->geometry()));
            QVERIFY(!f.lbl->geometry().intersects(f.cmdBefore->geometry()));
            QVERIFY(f.cmdLast->geometry().right() < f.fraLBtn->width());
            QVERIFY(!f.fraLBtn->geometry().intersects(f.fraRBtn->geometry()));
        });
    }

    // A window of 3000 twips or less in a direction keeps that direction's layout.
    void smallWindowKeepsItsLayout()
    {
        open(5);
        preview([&](frmTisk &f) {
            f.resize(700, 600);
            const QRect frame = f.fra->geometry(), buttons = f.fraRBtn->geometry();
            f.resize(200, 600);
            QCOMPARE(f.fra->width(), frame.width());
            QCOMPARE(f.fraRBtn->x(), buttons.x());
            f.resize(700, 200);
            QCOMPARE(f.fra->height(), frame.height());
            QCOMPARE(f.fraRBtn->y(), buttons.y());
            f.resize(800, 700);
            QCOMPARE(f.fra->width(), frame.width() + 100);
            QCOMPARE(f.fra->height(), frame.height() + 100);
        });
    }

    // The settings window's font size and orientation lay the listing out anew.
    void settingsChangeThePages_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("beeps");
        QTest::newRow("unchanged") << QStringLiteral("10") << false << QStringLiteral("1/3") << 0;
        QTest::newRow("20 points") << QStringLiteral("20") << false << QStringLiteral("1/5") << 0;
        QTest::newRow("landscape") << QStringLiteral("10") << true << QStringLiteral("1/4") << 0;
        QTest::newRow("8.5 to 8") << QStringLiteral("8,5") << false << QStringLiteral("1/2") << 0;
        QTest::newRow("0 refused") << QStringLiteral("0") << false << QStringLiteral("1/3") << 1;
        QTest::newRow("300 refused") << QStringLiteral("300") << false << QStringLiteral("1/3") << 1;
    }
    void settingsChangeThePages()
    {
        QFETCH(QString, size);
        QFETCH(bool, landscape);
        QFETCH(int, beeps);
        open(150);
        preview([&](frmTisk &f) {
            whenDialogOpens([&](QDialog *dialog) {
                auto *s = qobject_cast<frmNastav *>(dialog);
                const auto close = qScopeGuard([dialog] {
                    if (dialog->isVisible())
                        dialog->reject();
                });
                QVERIFY(s);
                QCOMPARE(s->cmbPismo->currentText(), QStringLiteral("10"));
                QVERIFY(s->opt[0]->isChecked());
                QCOMPARE(s->pic->property("image").toString(), QStringLiteral("port"));
                s->cmbPismo->lineEdit()->setFocus();
                QTest::keyClick(s->cmbPismo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(s->cmbPismo->lineEdit(), size);
                if (landscape) {
                    click(s->opt[1]);
                    QCOMPARE(s->pic->property("image").toString(), QStringLiteral("land"));
                }
                click(s->cmdOK);
                // A size the listing has no room for keeps the window open.
                QCOMPARE(s->isVisible(), beeps > 0);
            });
            click(f.cmdNastav);
            QTEST(f.lbl->text(), "label");
            QCOMPARE(sys::beepCount(), beeps);
        });
    }

    // Rows and the count line keep clear of the footer at every size the settings take,
    // a full last page included (its count line goes to a page of its own).
    void footerStaysClear_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("orientation");
        for (int size : {tabulix::GridReport::MinPismo, 10, 36, tabulix::GridReport::MaxPismo})
            for (int o : {1, 2})
                QTest::addRow("%d pt, %s", size, o == 1 ? "portrait" : "landscape") << size << o;
    }
    void footerStaysClear()
    {
        QFETCH(int, size);
        QFETCH(int, orientation);
        auto paper = printer::Printer::pdf(QString());
        paper->Orientation(orientation);
        printer::PagePicture measure(paper->ScaleWidth(), paper->ScaleHeight(), 0, 0);
        const auto band = [&](const tabulix::GridReport &report, int page) {
            printer::PagePicture picture(paper->ScaleWidth(), paper->ScaleHeight(), 30, 25);
            report.RenderPage(picture, page);
            return footerBandClear(picture.image(), paper->ScaleHeight());
        };
        open(1);
        tabulix::GridReport one(*e, size, QStringLiteral("Nadpis"));
        one.Layout(measure);
        // More rows than two pages hold; they show one by one.
        const int rows = 2 + 2 * int(paper->ScaleHeight() / one.VyskaRadku());
        m_host->fill(goods(rows), rows);
        for (int r = 2; r <= rows; ++r)
            e->grid()->setRowHeight(r, 0);
        bool countAlone = false;
        for (int n = 1; n <= rows; ++n) {
            e->grid()->setRowHeight(n, 240);
            tabulix::GridReport report(*e, size, QStringLiteral("Nadpis"));
            report.Layout(measure);
            QCOMPARE(report.Printed(), n);
            const int last = report.PageCount() - 1;
            QVERIFY2(band(report, last), qPrintable(QStringLiteral("%1 rows, last page").arg(n)));
            if (last > 0 && report.RowsOn(last) == 0) {
                countAlone = true;
                QVERIFY2(band(report, last - 1), qPrintable(QStringLiteral("%1 rows, full page").arg(n)));
            }
        }
        QVERIFY(countAlone);
    }

    void noPrinterInstalled()
    {
        if (!printer::Printers().isEmpty())
            QSKIP("a printer is installed here");
        open(150);
        preview([&](frmTisk &f) {
            // The page of an A4 PDF file, a quarter inch unprinted all round.
            const double w = (210 - 12.7) / 25.4 * 1440 + 30, h = (297 - 12.7) / 25.4 * 1440 + 25;
            QVERIFY(qAbs(f.pic->width() - w / 15) <= 1);
            QVERIFY(qAbs(f.pic->height() - h / 15) <= 1);
            printToPdf(f, false, 1, 3);
            QVERIFY(m_request);
            QVERIFY(m_request->printers.isEmpty());
            QVERIFY(!m_request->pdfFile.isEmpty());
        });
        QCOMPARE(pdftools::pageCount(pdf()), 3);
    }

    // Without an installed printer the print button opens the print dialog all the same,
    // with a PDF file as its target: the page range and the copies hold as for a printer,
    // the copies following one another in the file.
    void printDialogWithoutAPrinter()
    {
        printer::setPrintChooser({});
        open(150);
        testsupport::PrintDialogSeen seen;
        preview([&](frmTisk &f) {
            QCOMPARE(f.PageCount(), 3);
            testsupport::whenPrintDialogOpens({pdf(), 2, 3, 2}, seen);
            click(f.cmdTisk);
            QCOMPARE(f.OdStrany(), qint16(2));
            QCOMPARE(f.DoStrany(), qint16(3));
        });
        testsupport::verifyChoicesOfAPrinter(seen, printer::Printers());
        QCOMPARE(pdftools::pageCount(pdf()), 4);
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        for (int p = 1; p <= 4; ++p) {
            const QString footer = QStringLiteral("\\bStrana +%1\\b").arg(p % 2 == 1 ? 2 : 3);
            QVERIFY2(pdftools::pageText(pdf(), p).contains(QRegularExpression(footer)), qPrintable(QString::number(p)));
        }
    }

    // A printer chosen for a job is that job's: the default stays. One that cannot
    // start the job is reported as not ready; a file that cannot be written as a failure.
    void printerErrors()
    {
        open(20);
        const QString before = VychoziTiskarna();
        m_boxes.expect(vbOK).expect(vbOK);
        preview([&](frmTisk &f) {
            m_choice = printer::PrintChoice{};
            m_choice->printer = QStringLiteral("Oskal-zadna-tiskarna");
            click(f.cmdTisk);
            QCOMPARE(VychoziTiskarna(), before);
            m_choice = printer::PrintChoice{};
            m_choice->pdfFile = m_dir.filePath(QStringLiteral("chybi/sestava.pdf"));
            click(f.cmdTisk);
        });
        QCOMPARE(VychoziTiskarna(), before);
        QCOMPARE(m_boxes.shown().size(), size_t(2));
        QCOMPARE(m_boxes.shown()[0].text,
                 QStringLiteral("Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte."));
        QCOMPARE(m_boxes.shown()[0].title, QStringLiteral("Sklad - náhled"));
        QVERIFY(m_boxes.shown()[1].text.startsWith(QStringLiteral("Chyba při tisku.\n")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("chybi/sestava.pdf"))));
    }

    void cancelledDialogPrintsNothing()
    {
        open(20);
        preview([&](frmTisk &f) {
            m_choice.reset();
            click(f.cmdTisk);
            QVERIFY(m_request);
        });
        QVERIFY(!QFile::exists(pdf()));
    }

    void fitText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("result");
        QTest::newRow("fits") << QStringLiteral("Krátký  ") << 3000 << QStringLiteral("Krátký  ");
        QTest::newRow("cut") << QStringLiteral("Dlouhý text, který se nevejde") << 1500 << QString();
        QTest::newRow("blanks before the cut") << QStringLiteral("Ab       cdefghijklmnopqrstuvwxyz") << 900 << QString();
        QTest::newRow("nothing fits") << QStringLiteral("WWWW") << 150 << QStringLiteral("");
    }
    void fitText()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, result);
        printer::PagePicture s(10000, 10000, 0, 0);
        s.FontName(QStringLiteral("Arial CE"));
        s.FontSize(10);
        const QString fitted = tabulix::GridReport::FitText(s, text, width);
        if (!result.isNull()) {
            QCOMPARE(fitted, result);
            return;
        }
        // Cut: it ends in "..", leaves the width of ".." free, and one more character
        // would not have left it.
        QVERIFY(fitted.endsWith(QStringLiteral("..")));
        const QString kept = fitted.chopped(2);
        QVERIFY(!kept.endsWith(QLatin1Char(' ')));
        const double reserve = qRound(s.TextWidth(QStringLiteral("..")));
        QVERIFY(s.TextWidth(fitted) <= width - reserve);
        QVERIFY(text.startsWith(kept));
        QString longer = text.left(kept.size() + 1);
        while (longer.endsWith(QLatin1Char(' ')) && longer.size() < text.size())
            longer = text.left(longer.size() + 1);
        QVERIFY(s.TextWidth(longer.trimmed() + QStringLiteral("..")) > width - reserve);
    }
};

QTEST_MAIN(TestEditorPrint)
#include "tst_editor_print.moc"
