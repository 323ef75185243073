// The list print of a grid, on paper (a PDF file) and in preview pages: pages, heading,
// footer and count line, right alignment, shortened values, the question about columns
// outside the paper, font sizes that fill the page, an empty grid and printer failures.
#include "common/globals.h"
#include "common/translation.h"
#include "grid.h"
#include "messagelist.h"
#include "output/listpage.h"
#include "pdftools.h"
#include "printer.h"
#include "system.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>

namespace {

const QString Nadpis = QStringLiteral("Seznam zboží");
const QString Titulek = QStringLiteral("Náhled před tiskem");

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

}  // namespace

class TestListPrint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<FlexGrid> m_grid;
    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    // Code 1200 left, name 4000 left (centred alignment prints from the left too), price
    // 1500 right-aligned; `rows` data rows.
    void fill(int rows)
    {
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
    }

    QString pdf() const { return m_dir.filePath(QStringLiteral("seznam.pdf")); }

    bool printPdf(const NastaveniSeznamu &nastaveni = {10, 1, Nadpis})
    {
        QFile::remove(pdf());
        auto paper = printer::Printer::pdf(pdf());
        return TiskniSeznam(FlexGridSeznam(*m_grid), nastaveni, *paper, Titulek);
    }

    std::vector<std::unique_ptr<printer::PagePicture>> preview(const NastaveniSeznamu &nastaveni, bool *went = nullptr)
    {
        std::vector<std::unique_ptr<printer::PagePicture>> pages;
        auto paper = printer::Printer::pdf(QString());
        const bool dal = KresliNahledSeznamu(FlexGridSeznam(*m_grid), nastaveni, *paper, pages);
        if (went)
            *went = dal;
        return pages;
    }

    void loadLanguage(const QString &jazyk)
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        Jazyk = jazyk;
        Preklady = std::make_unique<MessageList>();
        NactiPreklady(m_folder->file(QStringLiteral("Lang.mdb")), Jazyk, *Preklady);
    }

private Q_SLOTS:
    void init()
    {
        sys::setBeepHook([](int, int) {});
        sys::resetBeepCount();
    }

    void cleanup()
    {
        sys::setBeepHook({});
        Preklady.reset();
        Jazyk = QStringLiteral("1");
        m_folder.reset();
        m_grid.reset();
    }

    // Every row once, in order; the heading on the first page only; brand, column heads,
    // footer with the page number and the date on every page; the count on the last.
    void pagesOnPaper()
    {
        fill(120);
        testsupport::ScriptedBoxes boxes;
        QVERIFY(printPdf());
        const int pages = pdftools::pageCount(pdf());
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
        QCOMPARE(int(preview({10, 1, Nadpis}).size()), pages);
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

    // The preview draws what the paper gets: the same pages, the heading on the first.
    void previewPages()
    {
        fill(120);
        const auto withHeading = preview({10, 1, Nadpis});
        const auto without = preview({10, 1, QString()});
        QVERIFY(withHeading.size() >= 2);
        QCOMPARE(withHeading.size(), without.size());
        QVERIFY(withHeading[0]->image() != without[0]->image());
        for (size_t i = 1; i < withHeading.size(); ++i)
            QCOMPARE(withHeading[i]->image(), without[i]->image());
        // The page carries the border allowance around the printable area.
        auto paper = printer::Printer::pdf(QString());
        QCOMPARE(withHeading[0]->image().width(), qRound((paper->ScaleWidth() + 30) / 15));
        QCOMPARE(withHeading[0]->image().height(), qRound((paper->ScaleHeight() + 25) / 15));
    }

    // A right-aligned column ends its texts at one edge; the others start at one.
    void alignment()
    {
        fill(30);
        QVERIFY(printPdf());
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
            const QList<pdftools::Word> line = lineOf(words, kod(r));
            const pdftools::Word *name = find(line, QStringLiteral("Zboží"));
            QVERIFY(name);
            nameStarts << name->xMin;
        }
        for (const QList<double> &edge : {priceEnds, codeStarts, nameStarts})
            for (double x : edge)
                QVERIFY2(std::abs(x - edge.front()) < 0.6, qPrintable(QStringLiteral("%1 / %2").arg(x).arg(edge.front())));
        // "1,50" is much shorter than "6300,50": it starts further right.
        QVERIFY(find(words, cena(1))->xMin > find(words, cena(30))->xMin + 5);
    }

    // Values too long for their column are cut with ".." before the next column starts,
    // in a left- and in a right-aligned column.
    void longValuesStayInTheirColumn()
    {
        fill(3);
        m_grid->setTextMatrix(1, 1, QStringLiteral("Velmi dlouhý název zboží, který se do sloupce nevejde ani zdaleka"));
        m_grid->setColAlignment(1, 7);
        m_grid->setTextMatrix(2, 0, QStringLiteral("KÓD-DLOUHÝ-PŘES-CELÝ-SLOUPEC"));
        QVERIFY(printPdf());
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QList<pdftools::Word> words = pdftools::pageWords(pdf(), 1);
        const pdftools::Word *nameHead = find(words, QStringLiteral("Název"));
        const pdftools::Word *priceHead = find(words, QStringLiteral("Cena"));
        QVERIFY(nameHead && priceHead);
        // Row 1: the name ends in ".." and clear of the price column's first text.
        const QList<pdftools::Word> first = lineOf(words, kod(1));
        const pdftools::Word *price1 = find(first, cena(1));
        QVERIFY(price1);
        double nameEnd = 0;
        QString name;
        for (const pdftools::Word &w : first)
            if (w.text != kod(1) && w.text != cena(1)) {
                nameEnd = std::max(nameEnd, w.xMax);
                name += w.text + QLatin1Char(' ');
            }
        QVERIFY2(name.trimmed().endsWith(QStringLiteral("..")), qPrintable(name));
        // The price column starts 1500 twips (75 pt) before its right edge.
        QVERIFY2(nameEnd < priceHead->xMax - 75, qPrintable(QString::number(nameEnd)));
        // Row 2: the code is cut before the name column.
        const QList<pdftools::Word> second = lineOf(words, nazev(2).section(QLatin1Char(' '), 2));
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

    // Columns past the paper's edge: named (hidden ones never), the question asked with
    // a beep; No prints nothing and leaves an empty preview page, Yes prints the column
    // that fits in part, cut, and leaves out the rest.
    void outsideColumns_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(vbNo);
        QTest::newRow("yes") << int(vbYes);
    }
    void outsideColumns()
    {
        QFETCH(int, answer);
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
        const QString question = QStringLiteral("Šířka sestavy přesahuje formát papíru.\nPoložka 'Poznámka','Dodavatel' je "
                                                "mimo tisknutelnou plochu.\n\nPokračovat v tisku ?");
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(answer);
            QCOMPARE(printPdf(), answer == vbYes);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown().front().text, question);
            QCOMPARE(boxes.shown().front().title, QStringLiteral("Tisk"));
            QCOMPARE(boxes.shown().front().style, int(vbYesNo | vbQuestion));
        }
        QCOMPARE(sys::beepCount(), 1);
        QCOMPARE(QFile::exists(pdf()), answer == vbYes);
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(answer);
            bool went = true;
            const auto pages = preview({10, 1, Nadpis}, &went);
            QCOMPARE(went, answer == vbYes);
            QCOMPARE(pages.size(), size_t(1));
            const QImage image = pages[0]->image();
            QCOMPARE(inked(image, 0, 1e9), answer == vbYes);
        }
        if (answer == vbNo)
            return;
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(QStringLiteral("hodnota41")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Dodavatel")));
        QVERIFY(!text.contains(QStringLiteral("Skryto")));
        QVERIFY(!text.contains(QStringLiteral("hodnota5")));
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
        const NastaveniSeznamu nastaveni{quint8(size), orientation, Nadpis};
        auto paper = printer::Printer::pdf(QString());
        paper->Orientation(orientation);
        const double footerTop = std::floor(paper->ScaleHeight() * 0.995 - 400);
        const auto pagesFor = [&](int rows) {
            fill(rows);
            return preview(nastaveni);
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
            }
        }
    }

    // A grid of the caption row alone prints one page: heads, the count 0 and the footer.
    void emptyGrid()
    {
        fill(0);
        QVERIFY(printPdf());
        QCOMPARE(pdftools::pageCount(pdf()), 1);
        QCOMPARE(preview({10, 1, Nadpis}).size(), size_t(1));
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(Nadpis) && text.contains(QStringLiteral("Vytištěno záznamů: 0")), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\bStrana +1\\b"))));
    }

    // The labels in the user's language.
    void chinese()
    {
        loadLanguage(QStringLiteral("3"));
        fill(3);
        QVERIFY(printPdf());
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY2(text.contains(QStringLiteral("已打印记录： 3")), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("页码 +1"))));
        if (!qEnvironmentVariableIsEmpty("OSKAL_KEEP_PAGES"))
            QFile::copy(pdf(), qEnvironmentVariable("OSKAL_KEEP_PAGES") + QStringLiteral("/seznam-zh.pdf"));
    }

    // A printer that cannot start the job is reported as not ready, a file that cannot be
    // written as a print failure; nothing is left behind.
    void printerFailures()
    {
        fill(20);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK);
        printer::Printer missing(QStringLiteral("Oskal-zadna-tiskarna"));
        QVERIFY(!TiskniSeznam(FlexGridSeznam(*m_grid), {10, 1, Nadpis}, missing, Titulek));
        auto unwritable = printer::Printer::pdf(m_dir.filePath(QStringLiteral("chybi/seznam.pdf")));
        QVERIFY(!TiskniSeznam(FlexGridSeznam(*m_grid), {10, 1, Nadpis}, *unwritable, Titulek));
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[0].text,
                 QStringLiteral("Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte."));
        QCOMPARE(boxes.shown()[0].title, Titulek);
        QCOMPARE(boxes.shown()[0].style, int(vbExclamation));
        QVERIFY(boxes.shown()[1].text.startsWith(QStringLiteral("Chyba při tisku.\n")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("chybi/seznam.pdf"))));
    }
};

QTEST_MAIN(TestListPrint)
#include "tst_listprint.moc"
