// The list print of a grid in the print window, and on paper (a PDF file): pages, heading,
// footer and count line, right alignment, shortened values, the question about columns
// outside the paper, the settings, font sizes that fill the page, an empty grid, and a
// printer that fails.
#include "catalogfixture.h"
#include "common/globals.h"
#include "common/translation.h"
#include "grid.h"
#include "messagelist.h"
#include "output/frmNastavTisk.h"
#include "output/frmTisk.h"
#include "output/listpage.h"
#include "pdftools.h"
#include "printchooser.h"
#include "printer.h"
#include "printfixture.h"
#include "system.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

using testsupport::whenShown;

namespace {

const QString Nadpis = QStringLiteral("Seznam zboží");

// The text of a data row's cells: code, name, price (its length grows with the row).
QString kod(int r) { return QStringLiteral("K%1").arg(r, 3, 10, QLatin1Char('0')); }
QString nazev(int r) { return QStringLiteral("Zboží číslo %1").arg(r); }
QString cena(int r) { return QStringLiteral("%1,50").arg(r * r * 7); }

// Whether any pixel of the picture's rows from `top` to `bottom` (twips) is dark.
bool inked(const QImage &image, double top, double bottom)
{
    for (int y = std::max(0, int(std::ceil(top / 15))); y <= std::min(image.height() - 1, int(std::floor(bottom / 15))); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                return true;
    return false;
}

// The words of a page that stand on the line of the given word.
QList<pdftools::Word> lineOf(const QList<pdftools::Word> &words, const QString &text)
{
    QList<pdftools::Word> line;
    for (const pdftools::Word &w : words)
        if (w.text == text)
            for (const pdftools::Word &o : words)
                if (std::abs(o.yMin - w.yMin) < 1)
                    line << o;
    return line;
}

const pdftools::Word *find(const QList<pdftools::Word> &words, const QString &text)
{
    for (const pdftools::Word &w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}
// The word found points into the list: a temporary list would leave it dangling.
const pdftools::Word *find(QList<pdftools::Word> &&words, const QString &text) = delete;

}  // namespace

class TestListPrint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<FlexGrid> m_grid;
    std::unique_ptr<FlexGridSeznam> m_list;
    std::unique_ptr<testsupport::ProgramFolder> m_folder;
    std::unique_ptr<QObject> m_scope;
    // What the printer dialog answers: none for a cancel.
    std::optional<printer::PrintChoice> m_choice;

    // Code 1200 left, name 4000 centred (printed from the left like a left column), price
    // 1500 right-aligned; `rows` data rows.
    void fill(int rows)
    {
        m_list.reset();
        m_grid = std::make_unique<FlexGrid>();
        m_grid->setCols(3);
        m_grid->setRows(rows + 1);
        const QStringList heads{QStringLiteral("Kód"), QStringLiteral("Název"), QStringLiteral("Cena")};
        const int widths[] = {1200, 4000, 1500};
        const int alignments[] = {1, 4, 7};
        for (int c = 0; c < 3; ++c) {
            m_grid->setTextMatrix(0, c, heads[c]);
            m_grid->setColWidth(c, widths[c]);
            m_grid->setColAlignment(c, alignments[c]);
        }
        for (int r = 1; r <= rows; ++r) {
            m_grid->setTextMatrix(r, 0, kod(r));
            m_grid->setTextMatrix(r, 1, nazev(r));
            m_grid->setTextMatrix(r, 2, cena(r));
        }
        m_list = std::make_unique<FlexGridSeznam>(*m_grid);
    }

    QString pdf() const { return m_dir.filePath(QStringLiteral("seznam.pdf")); }

    // The list print opened on the grid, set up before it shows; `steps` run in the window,
    // which is then closed.
    void openList(const std::function<void(frmTisk &)> &steps, const QString &heading = Nadpis, quint8 pismo = 10)
    {
        inPrintPreview(m_scope.get(), steps, [&](frmTisk &w) {
            w.Pismo = pismo;
            w.Tisk(*m_list, heading);
        });
    }

    // The print button, the printer dialog answering with the PDF file.
    void printPdf(frmTisk &w)
    {
        QFile::remove(pdf());
        m_choice = printer::PrintChoice{};
        m_choice->pdfFile = pdf();
        m_choice->orientation = w.Orientace;
        QTest::mouseClick(w.cmdTisk, Qt::LeftButton);
    }

    // The pages drawn by the renderer alone, on pictures of the PDF paper's page turned
    // to the orientation.
    static std::vector<std::unique_ptr<printer::PagePicture>> pictures(const SeznamMrizka &list,
                                                                       const NastaveniSeznamu &nastaveni, int orientation)
    {
        auto paper = printer::Printer::pdf(QString());
        paper->Orientation(orientation);
        std::vector<std::unique_ptr<printer::PagePicture>> pages;
        KresliSeznam(list, nastaveni, [&](int i) -> printer::Surface & {
            while (int(pages.size()) <= i)
                pages.push_back(std::make_unique<printer::PagePicture>(paper->ScaleWidth(), paper->ScaleHeight(), 30, 25));
            return *pages[size_t(i)];
        });
        return pages;
    }

    void loadLanguage(const QString &jazyk)
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        testsupport::loadLanguage(*m_folder, jazyk);
    }

private Q_SLOTS:
    void init()
    {
        m_scope = std::make_unique<QObject>();
        m_choice.reset();
        printer::setPrintChooser([this](QWidget *, const printer::PrintRequest &) { return m_choice; });
        sys::setBeepHook([](int, int) {});
        sys::resetBeepCount();
    }

    void cleanup()
    {
        m_scope.reset();
        delete frmTisk::Loaded();
        printer::setPrintChooser({});
        sys::setBeepHook({});
        Preklady.reset();
        Jazyk = QStringLiteral("1");
        m_folder.reset();
        m_list.reset();
        m_grid.reset();
    }

    // Printed while the preview shows its last page, the list starts on paper at page 1
    // with the heading. Every row once, in order; the heading on the first page only;
    // brand, column heads, footer with the page number and the date on every page; the
    // count on the last.
    void pagesOnPaper()
    {
        fill(120);
        int pages = 0;
        openList([&](frmTisk &w) {
            pages = w.PageCount();
            QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
            QCOMPARE(w.lbl->text(), QStringLiteral("1/%1").arg(pages));
            QTest::mouseClick(w.cmdLast, Qt::LeftButton);
            QCOMPARE(w.lbl->text(), QStringLiteral("%1/%1").arg(pages));
            printPdf(w);
            // The preview stays on the page it showed.
            QCOMPARE(w.lbl->text(), QStringLiteral("%1/%1").arg(pages));
        });
        QCOMPARE(pdftools::pageCount(pdf()), pages);
        if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
            QFile::copy(pdf(), qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/seznam.pdf"));
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString today = QDate::currentDate().toString(QStringLiteral("d.M.yyyy"));
        int next = 1;
        for (int p = 1; p <= pages; ++p) {
            const QString text = pdftools::pageText(pdf(), p);
            QVERIFY2(text.trimmed().startsWith(QStringLiteral("Varnex")), qPrintable(text));
            QCOMPARE(text.contains(Nadpis), p == 1);
            QVERIFY(text.contains(QRegularExpression(QStringLiteral("Kód +Název +Cena"))));
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\bStrana +%1\\b").arg(p))), qPrintable(text));
            QVERIFY(text.contains(today));
            QCOMPARE(text.contains(QStringLiteral("Vytištěno záznamů: 120")), p == pages);
            while (next <= 120 && text.contains(QRegularExpression(
                                      QStringLiteral("%1 +%2 +%3\\n").arg(kod(next), nazev(next), cena(next)))))
                ++next;
        }
        QCOMPARE(next, 121);
    }

    // The preview's pages: the heading on the first only, the later ones alike whatever
    // the heading; each page the printer's page with the border allowance.
    void previewPages()
    {
        fill(120);
        std::vector<QImage> withHeading, without;
        for (auto *pages : {&withHeading, &without})
            openList(
                [&](frmTisk &w) {
                    for (int p = 0; p < w.PageCount(); ++p)
                        pages->push_back(w.PageImage(p));
                },
                pages == &withHeading ? Nadpis : QString());
        QVERIFY(withHeading.size() >= 2);
        QCOMPARE(withHeading.size(), without.size());
        QVERIFY(withHeading[0] != without[0]);
        for (size_t i = 1; i < withHeading.size(); ++i)
            QCOMPARE(withHeading[i], without[i]);
        auto paper = printer::Printer::pdf(QString());
        QCOMPARE(withHeading[0].width(), qRound((paper->ScaleWidth() + 30) / 15));
        QCOMPARE(withHeading[0].height(), qRound((paper->ScaleHeight() + 25) / 15));
    }

    // A right-aligned column ends its texts at one edge; the others start at one.
    void alignment()
    {
        fill(30);
        openList([&](frmTisk &w) { printPdf(w); });
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QList<pdftools::Word> words = pdftools::pageWords(pdf(), 1);
        QVERIFY(!words.isEmpty());
        const pdftools::Word *head = find(words, QStringLiteral("Cena"));
        QVERIFY(head);
        QList<double> priceEnds{head->xMax}, codeStarts, nameStarts;
        for (int r : {1, 5, 12, 30}) {
            const pdftools::Word *price = find(words, cena(r));
            const pdftools::Word *code = find(words, kod(r));
            QVERIFY2(price && code, qPrintable(cena(r)));
            priceEnds << price->xMax;
            codeStarts << code->xMin;
            const QList<pdftools::Word> line = lineOf(words, kod(r));  // kept: find() points into it
            const pdftools::Word *name = find(line, QStringLiteral("Zboží"));
            QVERIFY(name);
            nameStarts << name->xMin;
        }
        for (const QList<double> &edge : {priceEnds, codeStarts, nameStarts})
            for (double x : edge)
                QVERIFY2(std::abs(x - edge.front()) < 0.6, qPrintable(QStringLiteral("%1 / %2").arg(x).arg(edge.front())));
        // "7,50" is much shorter than "6300,50": it starts further right.
        QVERIFY(find(words, cena(1))->xMin > find(words, cena(30))->xMin + 5);
    }

    // Values too long for their column are cut with ".." before the next column starts,
    // in a right- and in a left-aligned column.
    void longValuesStayInTheirColumn()
    {
        fill(3);
        m_grid->setTextMatrix(1, 1, QStringLiteral("Velmi dlouhý název zboží, který se do sloupce nevejde ani zdaleka"));
        m_grid->setColAlignment(1, 7);
        m_grid->setTextMatrix(2, 0, QStringLiteral("KÓD-DLOUHÝ-PŘES-CELÝ-SLOUPEC"));
        openList([&](frmTisk &w) { printPdf(w); });
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QList<pdftools::Word> words = pdftools::pageWords(pdf(), 1);
        const pdftools::Word *priceHead = find(words, QStringLiteral("Cena"));
        QVERIFY(priceHead);
        // Row 1: the name ends in ".." and clear of the price column, which starts 1500
        // twips (75 points) before its right edge.
        double nameEnd = 0;
        QString name;
        for (const pdftools::Word &w : lineOf(words, kod(1)))
            if (w.text != kod(1) && w.text != cena(1)) {
                nameEnd = std::max(nameEnd, w.xMax);
                name += w.text + QLatin1Char(' ');
            }
        QVERIFY2(name.trimmed().endsWith(QStringLiteral("..")), qPrintable(name));
        QVERIFY2(nameEnd < priceHead->xMax - 75, qPrintable(QString::number(nameEnd)));
        // Row 2: the code is cut before the name column.
        const QList<pdftools::Word> second = lineOf(words, cena(2));
        const pdftools::Word *code2 = nullptr;
        for (const pdftools::Word &w : second)
            if (w.text.startsWith(QStringLiteral("KÓD")))
                code2 = &w;
        QVERIFY(code2);
        QVERIFY2(code2->text.endsWith(QStringLiteral("..")), qPrintable(code2->text));
        QVERIFY(code2->xMax < find(second, QStringLiteral("Zboží"))->xMin);
    }

    void zkratText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("fits, blanks kept") << QStringLiteral("Krátký  ") << 3000;
        QTest::newRow("empty") << QString() << 500;
        QTest::newRow("cut") << QStringLiteral("Dlouhý text, který se nevejde") << 1500;
        QTest::newRow("blanks before the cut") << QStringLiteral("Ab       cdefghijklmnopqrstuvwxyz") << 900;
        QTest::newRow("Chinese") << QStringLiteral("已打印记录已打印记录已打印记录") << 1200;
        QTest::newRow("nothing fits") << QStringLiteral("WWWW") << 150;
        QTest::newRow("width 0") << QStringLiteral("A") << 0;
    }
    void zkratText()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        printer::PagePicture s(10000, 10000, 0, 0);
        s.FontName(QStringLiteral("Arial CE"));
        s.FontSize(10);
        // A text that fits stays as it is; else the longest beginning, without its
        // trailing blanks, that with ".." leaves the width of ".." free, and ".."; or
        // nothing at all.
        QString expected = text;
        if (s.TextWidth(text) > width) {
            const QString mark = QStringLiteral("..");
            const double limit = width - qRound(s.TextWidth(mark));
            expected.clear();
            for (qsizetype n = 1; n < text.size(); ++n) {
                QString part = text.left(n);
                while (part.endsWith(QLatin1Char(' ')))
                    part.chop(1);
                if (!part.isEmpty() && s.TextWidth(part + mark) <= limit)
                    expected = part + mark;
            }
        }
        QCOMPARE(ZkratText(s, text, width), expected);
    }

    // Columns past the paper's edge: named (a hidden one never), the question asked with
    // a beep on each drawing. No in the preview leaves one empty page, No at the print
    // button prints nothing; Yes prints the column that fits in part, cut, and leaves
    // out the rest.
    void outsideColumns_data()
    {
        QTest::addColumn<int>("inPreview");
        QTest::addColumn<int>("onPaper");
        QTest::newRow("preview no, paper yes") << int(vbNo) << int(vbYes);
        QTest::newRow("preview yes, paper no") << int(vbYes) << int(vbNo);
    }
    void outsideColumns()
    {
        QFETCH(int, inPreview);
        QFETCH(int, onPaper);
        fill(5);
        m_grid->setCols(6);
        const QStringList heads{QStringLiteral("Skryto"), QStringLiteral(" Poznámka "), QStringLiteral("Dodavatel")};
        for (int c = 3; c < 6; ++c) {
            m_grid->setTextMatrix(0, c, heads[c - 3]);
            for (int r = 1; r <= 5; ++r)
                m_grid->setTextMatrix(r, c, QStringLiteral("hodnota%1%2").arg(c).arg(r));
        }
        m_grid->setColWidth(1, 6000);
        m_grid->setColWidth(3, 0);
        m_grid->setColWidth(4, 5000);
        m_grid->setColWidth(5, 2000);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(inPreview).expect(onPaper);
        openList([&](frmTisk &w) {
            QCOMPARE(w.lbl->text(), QStringLiteral("1/1"));
            QCOMPARE(inked(w.PageImage(0), 0, 1e9), inPreview == vbYes);
            printPdf(w);
        });
        QCOMPARE(boxes.shown().size(), size_t(2));
        for (const msgbox::Shown &box : boxes.shown()) {
            QCOMPARE(box.text, QStringLiteral("Šířka sestavy přesahuje formát papíru.\nPoložka 'Poznámka', 'Dodavatel' je "
                                              "mimo tisknutelnou plochu.\n\nPokračovat v tisku ?"));
            QCOMPARE(box.title, QStringLiteral("Tisk"));
            QCOMPARE(box.style, int(vbYesNo | vbQuestion));
        }
        QCOMPARE(sys::beepCount(), 2);
        QCOMPARE(QFile::exists(pdf()), onPaper == vbYes);
        if (onPaper == vbNo)
            return;
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(QStringLiteral("hodnota41")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Dodavatel")));
        QVERIFY(!text.contains(QStringLiteral("Skryto")));
        QVERIFY(!text.contains(QStringLiteral("hodnota5")));
    }

    // The settings for a list: no photo size; a larger font, landscape paper and a new
    // heading draw the pages again.
    void settings()
    {
        fill(120);
        openList([&](frmTisk &w) {
            const int before = w.PageCount();
            bool asked = false;
            whenShown<frmNastavTisk>(m_scope.get(), [&](frmNastavTisk &d) {
                asked = true;
                for (QWidget *c : std::initializer_list<QWidget *>{d.Label3, d.txtImgSize, d.Label4})
                    QVERIFY(!c->isVisible());
                for (QWidget *c : std::initializer_list<QWidget *>{d.cmbPismo, d.opt[0], d.opt[1], d.txtNadpis})
                    QVERIFY(c->isEnabled());
                QCOMPARE(d.txtNadpis->text(), Nadpis);
                QTest::mouseClick(d.txtNadpis, Qt::LeftButton);
                QTest::keyClick(d.txtNadpis, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.txtNadpis, QStringLiteral("Ceny"));
                QTest::mouseClick(d.cmbPismo->lineEdit(), Qt::LeftButton);
                QTest::keyClick(d.cmbPismo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.cmbPismo->lineEdit(), QStringLiteral("20"));
                QTest::mouseClick(d.opt[1], Qt::LeftButton, {}, QPoint(8, d.opt[1]->height() / 2));
                QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            });
            QTest::mouseClick(w.cmdNastav, Qt::LeftButton);
            QVERIFY(asked);
            QCOMPARE(w.Pismo, quint8(20));
            QCOMPARE(w.Orientace, 2);
            QVERIFY(w.PageImage(0).width() > w.PageImage(0).height());
            QVERIFY2(w.PageCount() > before, qPrintable(QStringLiteral("%1 / %2").arg(w.PageCount()).arg(before)));
            QCOMPARE(w.lbl->text(), QStringLiteral("1/%1").arg(w.PageCount()));
            printPdf(w);
        });
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        QVERIFY(pdftools::pageText(pdf(), 1).contains(QStringLiteral("Ceny")));
    }

    // Whatever the font size and orientation, rows and the count line stay clear of the
    // footer: every page of lists around the size where a page fills up.
    void largeFontsKeepClearOfTheFooter_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("orientation");
        for (int size : {5, 12, 24, 36})
            for (int o : {1, 2})
                QTest::addRow("%d pt, %s", size, o == 1 ? "portrait" : "landscape") << size << o;
    }
    void largeFontsKeepClearOfTheFooter()
    {
        QFETCH(int, size);
        QFETCH(int, orientation);
        const NastaveniSeznamu nastaveni{quint8(size), Nadpis};
        auto paper = printer::Printer::pdf(QString());
        paper->Orientation(orientation);
        const double footerTop = std::floor(paper->ScaleHeight() * 0.995 - 400);
        const auto pagesFor = [&](int rows) {
            fill(rows);
            return pictures(*m_list, nastaveni, orientation);
        };
        // The fewest rows that take a second page.
        int low = 1, high = 400;
        QVERIFY(pagesFor(high).size() > 1);
        while (low < high) {
            const int mid = (low + high) / 2;
            if (pagesFor(mid).size() > 1)
                high = mid;
            else
                low = mid + 1;
        }
        for (int rows = low - 1; rows <= low + 2; ++rows) {
            const auto pages = pagesFor(rows);
            for (size_t p = 0; p < pages.size(); ++p) {
                const QImage image = pages[p]->image();
                QVERIFY2(!inked(image, footerTop - 40, footerTop - 15),
                         qPrintable(QStringLiteral("%1 rows, page %2").arg(rows).arg(p + 1)));
                QVERIFY(inked(image, footerTop, footerTop + 400));
                if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
                    image.save(qEnvironmentVariable("OSKAL_KEEP_PAGES")
                               + QStringLiteral("/%1pt-%2-%3-%4.png").arg(size).arg(orientation).arg(rows).arg(p + 1));
            }
        }
    }

    // A grid of the caption row alone prints one page: heads, the count 0 and the footer.
    void emptyGrid()
    {
        fill(0);
        openList([&](frmTisk &w) {
            QCOMPARE(w.lbl->text(), QStringLiteral("1/1"));
            printPdf(w);
        });
        QCOMPARE(pdftools::pageCount(pdf()), 1);
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(Nadpis) && text.contains(QStringLiteral("Vytištěno záznamů: 0")), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\bStrana +1\\b"))));
    }

    // The window and the page in the user's language.
    void chinese()
    {
        loadLanguage(QStringLiteral("3"));
        fill(3);
        openList([&](frmTisk &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("打印预览"));
            if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
                w.grab().save(qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/okno-zh.png"));
            printPdf(w);
        });
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(QStringLiteral("已打印记录： 3")), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("页码 +1"))));
        if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
            QFile::copy(pdf(), qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/seznam-zh.pdf"));
    }

    // A printer that cannot start the job is told as not ready, under the window's caption.
    void printerNotReady()
    {
        fill(20);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        openList([&](frmTisk &w) {
            m_choice = printer::PrintChoice{};
            m_choice->printer = QStringLiteral("Oskal-zadna-tiskarna");
            QTest::mouseClick(w.cmdTisk, Qt::LeftButton);
        });
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text,
                 QStringLiteral("Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Náhled před tiskem"));
        QCOMPARE(boxes.shown()[0].style, int(vbExclamation));
    }
};

QTEST_MAIN(TestListPrint)
#include "tst_listprint.moc"
