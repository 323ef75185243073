// The previews' page sizing and scrolling, and the program's default printer.
#include "pageview.h"
#include "printer.h"

#include <QScrollBar>
#include <QWidget>
#include <QtTest>

class TestPageView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scrollRange_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("view");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("large");
        QTest::addColumn<int>("small");
        QTest::newRow("overhang of 1000") << 9000 << 8270 << true << 1000 << 201 << 101;
        QTest::newRow("narrower by 270") << 8000 << 8270 << false << 0 << 1 << 1;
        QTest::newRow("much narrower") << 3000 << 8270 << false << 0 << 1 << 1;
        QTest::newRow("one twip over") << 8001 << 8270 << true << 1 << 1 << 1;
    }
    void scrollRange()
    {
        QFETCH(int, page);
        QFETCH(int, view);
        QScrollBar bar(Qt::Horizontal);
        bar.setEnabled(false);
        NastavPosuvnik(&bar, page, view);
        QTEST(bar.isEnabled(), "enabled");
        QTEST(bar.maximum(), "maximum");
        QTEST(bar.pageStep(), "large");
        QTEST(bar.singleStep(), "small");
    }

    void scrollingMovesPageAndShadow()
    {
        QWidget view;
        QWidget page(&view), lV(&view), lH(&view);
        page.resize(400, 600);
        PosunStranku(&page, &lV, &lH, 1500, 0);
        QCOMPARE(page.pos(), QPoint((120 - 1500) / 15, 120 / 15));
        // The shadow lies right of and under the page, whatever the scroll position.
        QVERIFY(qAbs(lV.x() - (page.geometry().right() + 1)) <= 1);
        QVERIFY(qAbs(lH.y() - (page.geometry().bottom() + 1)) <= 1);
        QVERIFY(lV.geometry().bottom() >= page.geometry().bottom());
    }

    // A printer set as this program's default stays this program's: the system's default
    // reads as before, and setting it back follows the system again.
    void programDefaultLeavesTheSystemsAlone()
    {
        const QString system = printer::DefaultPrinterName();
        NastavVychoziTiskarnu(QStringLiteral("Jina"));
        QCOMPARE(VychoziTiskarna(), QStringLiteral("Jina"));
        QCOMPARE(printer::DefaultPrinterName(), system);
        NastavVychoziTiskarnu(system);
        QCOMPARE(VychoziTiskarna(), system);
    }
};

QTEST_MAIN(TestPageView)
#include "tst_pageview.moc"
