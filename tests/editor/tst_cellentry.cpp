// Typed numbers and dates as the number and date cells of the table editor store them.
#include "cellentry.h"

#include <QtTest>

class TestCellEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { tabulix::setToday([] { return QDate(2026, 4, 14); }); }
    void cleanup() { tabulix::setToday({}); }

    void dates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a day of this month") << "5" << true << "05.04.2026";
        QTest::newRow("two digits, blanks around") << " 30 " << true << "30.04.2026";
        QTest::newRow("day 0 empties") << "0" << true << "";
        QTest::newRow("day 45 empties") << "45" << true << "";
        QTest::newRow("nothing empties") << "  " << true << "";
        QTest::newRow("day and month") << "5.3" << true << "05.03.2026";
        QTest::newRow("day and month with a point") << "5.3." << true << "05.03.2026";
        QTest::newRow("full date") << "5.3.2026" << true << "05.03.2026";
        QTest::newRow("two-digit year, this century") << "5.3.26" << true << "05.03.2026";
        QTest::newRow("two-digit year, last century") << "5.3.87" << true << "05.03.1987";
        QTest::newRow("slashes") << "05/03/2026" << true << "05.03.2026";
        QTest::newRow("ISO") << "2026-03-05" << true << "05.03.2026";
        QTest::newRow("leap day") << "29.2.2028" << true << "29.02.2028";
        QTest::newRow("blanks after the points") << "5. 3. 2026" << true << "05.03.2026";
        QTest::newRow("blanks, day and month") << "5. 3." << true << "05.03.2026";
        QTest::newRow("blanks after slashes") << "5/ 3/ 26" << true << "05.03.2026";
        // Refused: the editor stays open with a beep, nothing is emptied behind the user.
        QTest::newRow("31 in a month of 30 days, day alone") << "31" << false << "";
        QTest::newRow("31 in a month of 30 days") << "31.4.2026" << false << "";
        QTest::newRow("no 29 February") << "29.2.2026" << false << "";
        QTest::newRow("month 13") << "1.13.2026" << false << "";
        QTest::newRow("three digits are no day count") << "123" << false << "";
        QTest::newRow("digits alone") << "050326" << false << "";
        QTest::newRow("words") << "zítra" << false << "";
        QTest::newRow("mixed separators") << "5.3/2026" << false << "";
        QTest::newRow("blank before a point") << "5 .3.2026" << false << "";
    }
    void dates()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        const std::optional<QString> result = tabulix::dateEntry(typed);
        QCOMPARE(result.has_value(), accepted);
        if (accepted)
            QCOMPARE(*result, stored);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("stored");
        const QString nbsp(QChar(0x00A0));
        QTest::newRow("decimal comma") << "1,5" << "0.00" << "1,50";
        QTest::newRow("decimal point") << "1.5" << "0.00" << "1,50";
        QTest::newRow("no format") << "1,5" << "" << "1,5";
        QTest::newRow("whole number, no format") << "42" << "" << "42";
        QTest::newRow("nothing is 0") << "" << "0.00" << "0,00";
        QTest::newRow("leading number only") << "12kg" << "0" << "12";
        QTest::newRow("rounded") << "2,345" << "0.00" << "2,35";
        QTest::newRow("carry") << "0,999" << "0.00" << "1,00";
        QTest::newRow("optional decimals") << "3,1" << "0.##" << "3,1";
        QTest::newRow("optional decimals, whole") << "3" << "0.##" << "3";
        QTest::newRow("thousands") << "1234567,891" << "#,##0.00" << "1" + nbsp + "234" + nbsp + "567,89";
        QTest::newRow("negative") << "-7,5" << "0.0" << "-7,5";
        QTest::newRow("literal suffix") << "12" << "0 \"Kč\"" << "12 Kč";
        QTest::newRow("percent") << "0,25" << "0%" << "25%";
        QTest::newRow("named Fixed") << "2" << "Fixed" << "2,00";
        QTest::newRow("leading zeros") << "7" << "000" << "007";
        // The cell's own text, committed again, keeps its value.
        QTest::newRow("own grouped text") << "1" + nbsp + "234,50" << "#,##0.00" << "1" + nbsp + "234,50";
        QTest::newRow("own millions") << "1" + nbsp + "234" + nbsp + "567,89" << "Standard"
                                       << "1" + nbsp + "234" + nbsp + "567,89";
        QTest::newRow("narrow no-break space") << "1" + QString(QChar(0x202F)) + "234,5" << "#,##0.00"
                                               << "1" + nbsp + "234,50";
        QTest::newRow("blank between thousands") << "1 234,5" << "#,##0.00" << "1" + nbsp + "234,50";
        QTest::newRow("own percent text") << "1250,00%" << "Percent" << "1250,00%";
        QTest::newRow("own percent, blank before the sign") << "25 %" << "0%" << "25%";
        QTest::newRow("percent typed as a fraction") << "0,125" << "Percent" << "12,50%";
        QTest::newRow("% under a plain format") << "5%" << "0.00" << "5,00";
        QTest::newRow("quoted % is no percent format") << "5%" << "0\"%\"" << "5%";
    }
    void numbers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, format);
        QFETCH(QString, stored);
        QCOMPARE(tabulix::numberEntry(typed, format), stored);
    }
};

QTEST_GUILESS_MAIN(TestCellEntry)
#include "tst_cellentry.moc"
