// The selection condition without any window: the grammar of a row, the
// condition of all rows, its readable text, its checks, and what the conditions select
// when the database runs them.
#include "catalogfixture.h"
#include "data/selectioncondition.h"
#include "variant.h"

#include <QtTest>

using testsupport::scalar;

namespace {

// Three rows as the selection window has them for the test section: Název (text,
// Pol1C), Cena (number, Pol2N) and Vydáno (date, Pol3D).
std::vector<RadekVyberu> rows(const QString &text, const QString &number, const QString &date)
{
    return {{text, QStringLiteral("C"), QStringLiteral("Pol1C")},
            {number, QStringLiteral("N"), QStringLiteral("Pol2N")},
            {date, QStringLiteral("D"), QStringLiteral("Pol3D")}};
}

std::vector<SloupecPrehledu> columns()
{
    return {{},
            {QStringLiteral("Pol1C"), QStringLiteral("Název"), QStringLiteral("L"), QStringLiteral("C")},
            {QStringLiteral("Pol2N"), QStringLiteral("Cena"), QStringLiteral("R"), QStringLiteral("N")},
            {QStringLiteral("Pol3D"), QStringLiteral("Vydáno"), QStringLiteral("C"), QStringLiteral("D")}};
}

// A refusal as one text: "343@1 ,,", "342@2", "97@3"; empty for none.
QString refusal(const std::optional<ChybaVyberu> &c)
{
    if (!c)
        return QString();
    const char *code = c->Duvod == ChybaVyberu::Zdvojeni ? "343" : c->Duvod == ChybaVyberu::Konvence ? "342" : "97";
    QString text = QLatin1String(code) + QLatin1Char('@') + QString::number(c->Radek);
    if (!c->Dvojice.isEmpty())
        text += QLatin1Char(' ') + c->Dvojice;
    return text;
}

// What the window does: the check first, the build only when it passes.
QString build(const std::vector<RadekVyberu> &r, QString *refused, int leftOut = 0)
{
    if (const auto doubled = KontrolujVyraz(r)) {
        *refused = refusal(doubled);
        return QString();
    }
    const PodminkaVyberu p = SestavPodminku(r, leftOut);
    *refused = refusal(p.Chyba);
    return p.Podminka;
}

const QString P = QStringLiteral(", \"yyyymmdd\"");

}  // namespace

class TestSelectionCondition : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Section 1: texts with Czech letters, apostrophes and pattern characters, numbers
    // with and without decimals, dates with and without a time; section 2 a neighbour.
    static void records()
    {
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Pol2n, Pol3d, Sekce"),
                                {"1, 'Čaj', 10, '2000-05-01 00:00:00', 1",
                                 "2, 'čajovna', 300, '2000-12-31 14:30:00', 1",
                                 "3, 'Káva', 1.5, '2001-01-01 00:00:00', 1",
                                 "4, 'O''Brien', 0, null, 1",
                                 "5, '', null, '1999-12-31 00:00:00', 1",
                                 "6, null, 301, null, 1",
                                 "7, 'x'') OR 1=1 OR (''', 5, null, 1",
                                 "8, 'abc%', 9.99, '2000-06-15 00:00:00', 1",
                                 "9, 'chata', -2, null, 1",
                                 "10, 'hrad', 100, null, 1",
                                 "20, 'Čaj', 10, '2000-05-01 00:00:00', 2",
                                 "21, 'zzz', 1, null, 2"});
    }

    static QStringList selected(const QString &condition)
    {
        auto rs = Db->OpenRecordset(QStringLiteral("select Inter from Katalog where ") + FiltrVyberu(1, condition)
                                    + QStringLiteral(" order by Inter"));
        QStringList keys;
        for (; !rs->Eof(); rs->MoveNext())
            keys << rs->Fields(0).Value().toString();
        return keys;
    }

private Q_SLOTS:
    void init() { m_folder = std::make_unique<testsupport::CatalogFolder>(); }
    void cleanup() { m_folder.reset(); }

    // The grammar of a row, its examples and its edge cases, and where terms as literals
    // change the outcome (hostile and malformed terms).
    void grammar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("refused");
        const QString f3 = QStringLiteral("format(Katalog.pol3d") + P + QLatin1Char(')');

        QTest::newRow("all rows empty") << "" << "" << "" << "" << "";
        QTest::newRow("rows of blanks contribute nothing") << "   " << " " << "  " << "" << "";
        QTest::newRow("the Part's example") << "abc*" << "10*300" << ""
            << "Katalog.pol1c like 'abc*' AND (Katalog.pol2n>=10 AND Katalog.pol2n<=300)" << "";
        QTest::newRow("text list") << "a, b" << "" << "" << "Katalog.pol1c in ('a', 'b')" << "";
        QTest::newRow("three rows in row order") << "a" << "5" << "1.5.2000"
            << "Katalog.pol1c in ('a') AND Katalog.pol2n in (5) AND " + f3 + " in ('20000501')" << "";

        // filled and empty
        QTest::newRow("filled text, blanks around") << " * " << "" << ""
            << "(Katalog.pol1c <>'' and Katalog.pol1c is not null )" << "";
        QTest::newRow("filled number") << "" << "*" << "" << "(Katalog.pol2n <> 0 and Katalog.pol2n is not null )" << "";
        QTest::newRow("filled date") << "" << "" << "*" << "(Katalog.pol3d <> 0 and Katalog.pol3d is not null )" << "";
        QTest::newRow("empty text") << "_" << "" << "" << "(Katalog.pol1c = '' or Katalog.pol1c is null )" << "";
        QTest::newRow("empty number") << "" << " _ " << "" << "(Katalog.pol2n = 0 or Katalog.pol2n is null )" << "";
        QTest::newRow("empty date") << "" << "" << "_" << "(Katalog.pol3d = 0 or Katalog.pol3d is null )" << "";

        // the check of doubled characters, before anything is built
        QTest::newRow("two asterisks side by side") << "**" << "" << "" << "" << "343@1 **";
        QTest::newRow(",,") << "a,,b" << "" << "" << "" << "343@1 ,,";
        QTest::newRow("1..5 in a number row") << "" << "1..5" << "" << "" << "343@2 ..";
        QTest::newRow("%%") << "a%%" << "" << "" << "" << "343@1 %%";
        QTest::newRow("__") << "" << "" << "__" << "" << "343@3 __";
        QTest::newRow("pairs tried in their order") << "a..b,,c" << "" << "" << "" << "343@1 ,,";
        QTest::newRow("the first row with a pair") << "a" << "1..2" << "**" << "" << "343@2 ..";

        // lists and the first empty item
        QTest::newRow("a leading comma: nothing") << ",a" << "" << "" << "" << "";
        QTest::newRow("a blank item ends the row") << "a, ,b" << "" << "" << "Katalog.pol1c in ('a')" << "";
        QTest::newRow("a trailing comma") << "a," << "" << "" << "Katalog.pol1c in ('a')" << "";
        QTest::newRow("number list") << "" << "1, 2.5,-3" << "" << "Katalog.pol2n in (1, 2.5, -3)" << "";
        QTest::newRow("a decimal comma splits the term") << "" << "*10,5" << ""
            << "(Katalog.pol2n<=10 or Katalog.pol2n in (5))" << "";

        // like terms
        QTest::newRow("abc% is a like term") << "abc%" << "" << "" << "Katalog.pol1c like ('abc%')" << "";
        QTest::newRow("x%, y") << "x%, y" << "" << "" << "(Katalog.pol1c like ('x%') or Katalog.pol1c in ('y'))" << "";
        QTest::newRow("x%, z%, y") << "x%, z%, y" << "" << ""
            << "((Katalog.pol1c like ('x%') or Katalog.pol1c like ('z%')) or Katalog.pol1c in ('y'))" << "";

        // asterisk terms of a text row
        QTest::newRow("wildcard at the start") << "*abc" << "" << "" << "Katalog.pol1c like '*abc'" << "";
        QTest::newRow("an asterisk alone in a list") << "*, a" << "" << ""
            << "(Katalog.pol1c like '*' or Katalog.pol1c in ('a'))" << "";
        QTest::newRow("contains") << "*abc*" << "" << "" << "(Katalog.pol1c like '*abc*')" << "";
        QTest::newRow("contains keeps inner asterisks") << "*a*b*" << "" << "" << "(Katalog.pol1c like '*a*b*')" << "";
        QTest::newRow("text range") << "a*b" << "" << "" << "(Katalog.pol1c>='a' AND Katalog.pol1c<='b')" << "";
        QTest::newRow("text range keeps its blanks") << "a * b" << "" << ""
            << "(Katalog.pol1c>='a ' AND Katalog.pol1c<=' b')" << "";
        QTest::newRow("two like terms in one pair of brackets") << "a*, *b" << "" << ""
            << "(Katalog.pol1c like 'a*' or Katalog.pol1c like '*b')" << "";
        QTest::newRow("a like term and a range") << "a*, c*d" << "" << ""
            << "(Katalog.pol1c like 'a*' or (Katalog.pol1c>='c' AND Katalog.pol1c<='d'))" << "";
        QTest::newRow("1*2*3 in a text row") << "1*2*3" << "" << "" << "" << "342@1";

        // asterisk terms of a number row
        QTest::newRow("number up to") << "" << "*300" << "" << "Katalog.pol2n<=300" << "";
        QTest::newRow("number from") << "" << "10*" << "" << "Katalog.pol2n>=10" << "";
        QTest::newRow("number range keeps its blanks") << "" << "10 * 300" << ""
            << "(Katalog.pol2n>=10  AND Katalog.pol2n<= 300)" << "";
        QTest::newRow("*5* in a number row") << "" << "*5*" << "" << "" << "342@2";
        QTest::newRow("1*2*3 in a number row") << "" << "1*2*3" << "" << "" << "342@2";

        // date rows, through the layer's format
        QTest::newRow("date value") << "" << "" << "1.5.2000" << f3 + " in ('20000501')" << "";
        QTest::newRow("date list of two forms") << "" << "" << "1.5.2000, 2000-12-31"
            << f3 + " in ('20000501', '20001231')" << "";
        QTest::newRow("date up to") << "" << "" << "*31.12.2000" << f3 + " <= format('31.12.2000'" + P + ")" << "";
        QTest::newRow("date from") << "" << "" << "1.1.2000*" << f3 + " >= format('1.1.2000'" + P + ")" << "";
        QTest::newRow("date range") << "" << "" << "1.1.2000*31.12.2000"
            << "(" + f3 + " >= format('1.1.2000'" + P + ") AND " + f3 + " <= format('31.12.2000'" + P + "))" << "";
        QTest::newRow("1*2*3 in a date row") << "" << "" << "1*2*3" << "" << "342@3";

        // building stops at a malformed term; the rows before it stay
        QTest::newRow("malformed: the rows before stay") << "a" << "1*2*3" << "1.5.2000" << "Katalog.pol1c in ('a')"
                                                         << "342@2";
        QTest::newRow("malformed wins over a value before it") << "a" << "x" << "1*2*3" << "Katalog.pol1c in ('a')"
                                                               << "342@3";

        // Terms only as literals: written as they were typed, these broke open the
        // statement (a,b,c unquoted, 5% and the empty bound of "*" a syntax error, a
        // date that is none compared as text); they are refused (97) and their row is
        // left out, the other rows kept.
        QTest::newRow("letters in a number row") << "" << "a,b,c" << "" << "" << "97@2";
        QTest::newRow("5% in a number row") << "" << "5%" << "" << "" << "97@2";
        QTest::newRow("the empty bound of a lone asterisk") << "" << "*, 5" << "" << "" << "97@2";
        QTest::newRow("a number range with a letter") << "" << "1*b" << "" << "" << "97@2";
        QTest::newRow("a date that is none") << "" << "" << "abc" << "" << "97@3";
        QTest::newRow("a date range that is none") << "" << "" << "a*b" << "" << "97@3";
        QTest::newRow("a bad value keeps the other rows") << "a" << "x" << "1.5.2000"
            << "Katalog.pol1c in ('a') AND " + f3 + " in ('20000501')" << "97@2";
        QTest::newRow("the first bad row is named") << "" << "x" << "y" << "" << "97@2";

        // hostile and careless texts: apostrophes doubled, so that each stays one literal
        QTest::newRow("an apostrophe") << "O'Brien" << "" << "" << "Katalog.pol1c in ('O''Brien')" << "";
        QTest::newRow("hostile text") << "x') OR 1=1 OR ('" << "" << ""
            << "Katalog.pol1c in ('x'') OR 1=1 OR (''')" << "";
        QTest::newRow("hostile like") << "x' OR 'a'='a*" << "" << "" << "Katalog.pol1c like 'x'' OR ''a''=''a*'" << "";
        QTest::newRow("hostile like term") << "x%') OR (1=1" << "" << "" << "Katalog.pol1c like ('x%'') OR (1=1')" << "";
        QTest::newRow("hostile range") << "a'*') OR 1=1 OR ('" << "" << ""
            << "(Katalog.pol1c>='a''' AND Katalog.pol1c<=''') OR 1=1 OR (''')" << "";
        QTest::newRow("hostile number") << "" << "1) OR (1=1" << "" << "" << "97@2";
        QTest::newRow("hostile number bound") << "" << "*1 OR 1=1" << "" << "" << "97@2";
        QTest::newRow("hostile date") << "" << "" << "1.1.2000') OR ('1" << "" << "97@3";
        QTest::newRow("hostile date bound") << "" << "" << "*1.1.2000', \"yyyymmdd\") OR (1=1" << "" << "97@3";
    }
    void grammar()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QString, condition);
        QFETCH(QString, refused);
        QString actual;
        QCOMPARE(build(rows(text, number, date), &actual), condition);
        QCOMPARE(actual, refused);
    }

    // The row whose list is being filled never contributes, whatever it holds.
    void rowLeftOut_data()
    {
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<QString>("condition");
        QTest::newRow("none") << 0 << "Katalog.pol1c in ('a') AND Katalog.pol2n in (5)";
        QTest::newRow("the text row") << 1 << "Katalog.pol2n in (5)";
        QTest::newRow("the number row") << 2 << "Katalog.pol1c in ('a')";
        QTest::newRow("the malformed date row") << 3 << "Katalog.pol1c in ('a') AND Katalog.pol2n in (5)";
    }
    void rowLeftOut()
    {
        QFETCH(int, leftOut);
        QFETCH(QString, condition);
        const PodminkaVyberu p = SestavPodminku(rows(QStringLiteral("a"), QStringLiteral("5"), QStringLiteral("1*2*3")), leftOut);
        QCOMPARE(p.Podminka, condition);
        QCOMPARE(p.Chyba.has_value(), leftOut != 3);
    }

    // A column that is no field of the catalog never reaches the statement.
    void foreignColumn()
    {
        const std::vector<RadekVyberu> r{{QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("Pol1C; drop table Katalog")},
                                         {QStringLiteral("b"), QStringLiteral("C"), QStringLiteral("Pol31C")},
                                         {QStringLiteral("c"), QStringLiteral("C"), QStringLiteral("pol30c")}};
        QCOMPARE(SestavPodminku(r).Podminka, QStringLiteral("Katalog.pol30c in ('c')"));
    }

    void readableText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("readable");
        QTest::newRow("the Part's example") << "abc*" << "10*300" << "" << "Název je abc* a Cena>=10 a Cena<=300";
        QTest::newRow("a text list") << "a, b" << "" << "" << "Název=a, b";
        QTest::newRow("a date value shows its digits") << "" << "" << "1.5.2000" << "Vydáno=20000501";
        QTest::newRow("a date range") << "" << "" << "1.1.2000*31.12.2000" << "Vydáno >= 1.1.2000 a Vydáno <= 31.12.2000";
        QTest::newRow("filled: the lower-case and stays") << "*" << "" << "" << "Název <> and Název is not null ";
        QTest::newRow("empty number") << "" << "_" << "" << "Cena = 0 or Cena is null ";
        QTest::newRow("like and list") << "x%, y" << "" << "" << "Název je x% or Název=y";
        QTest::newRow("an apostrophe goes") << "O'Brien" << "" << "" << "Název=OBrien";
    }
    void readableText()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QString, readable);
        QCOMPARE(CitelnyText(SestavPodminku(rows(text, number, date)).Podminka, columns()), readable);
    }

    void pocetVyskytu_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sought");
        QTest::addColumn<int>("count");
        QTest::newRow("none") << "abc" << "%" << 0;
        QTest::newRow("two") << "a%b%" << "%" << 2;
        QTest::newRow("overlapping hits count") << "%%%" << "%%" << 2;
        QTest::newRow("exact case") << "aA" << "a" << 1;
        QTest::newRow("nothing sought") << "abc" << "" << 0;
    }
    void pocetVyskytu()
    {
        QFETCH(QString, text);
        QFETCH(QString, sought);
        QFETCH(int, count);
        QCOMPARE(PocetVyskytu(text, sought), count);
    }

    // The section's filter with the condition in brackets; blanks are no condition.
    void filter()
    {
        QCOMPARE(FiltrVyberu(3, QString()), QStringLiteral("sekce=3"));
        QCOMPARE(FiltrVyberu(3, QStringLiteral("   ")), QStringLiteral("sekce=3"));
        QCOMPARE(FiltrVyberu(3, QStringLiteral("a or b")), QStringLiteral("sekce=3 AND (a or b)"));
    }

    void listQuery()
    {
        const std::vector<SloupecPrehledu> c = columns();
        QCOMPARE(DotazSeznamuVyberu(1, c[1], QString()),
                 QStringLiteral("select distinct Pol1C as vyber from Katalog Where sekce=1 order by Pol1C"));
        QCOMPARE(DotazSeznamuVyberu(2, c[3], QStringLiteral("Katalog.pol2n in (5)")),
                 QStringLiteral("select distinct format(Pol3D, \"yyyymmdd\") as vyber from Katalog Where sekce=2 AND "
                                "(Katalog.pol2n in (5)) order by format(Pol3D, \"yyyymmdd\")"));
        // The edit window's: the whole section, a date as it is stored.
        QCOMPARE(DotazSeznamuVyberu(3, c[3], QString(), DatumSeznamu::Ulozene),
                 QStringLiteral("select distinct Pol3D as vyber from Katalog Where sekce=3 order by Pol3D"));
        QCOMPARE(DotazSeznamuVyberu(3, c[2], QStringLiteral(" "), DatumSeznamu::Ulozene),
                 QStringLiteral("select distinct Pol2N as vyber from Katalog Where sekce=3 order by Pol2N"));
    }

    void listItems_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("item");
        QTest::newRow("a date's digits") << Variant(QStringLiteral("20000501")) << "D" << "1.5.2000";
        QTest::newRow("a date without leading zeros") << Variant(QStringLiteral("19991231")) << "D" << "31.12.1999";
        QTest::newRow("a missing date") << Variant::Null() << "D" << "";
        QTest::newRow("an empty date") << Variant(QString()) << "D" << "";
        QTest::newRow("a text") << Variant(QStringLiteral("Čaj, zelený")) << "C" << "Čaj, zelený";
        QTest::newRow("a missing text") << Variant::Null() << "C" << "";
        QTest::newRow("a decimal number with a point") << Variant(1.5f) << "N" << "1.5";
        QTest::newRow("a whole number") << Variant(300.0f) << "N" << "300";
    }
    void listItems()
    {
        QFETCH(Variant, value);
        QFETCH(QString, type);
        QFETCH(QString, item);
        QCOMPARE(PolozkaSeznamuVyberu(value, type), item);
    }

    // What the conditions select when the layer runs them behind the section's filter.
    void selects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("everything") << "" << "" << "" << QStringList{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::newRow("Czech letters in any case, wildcard") << "čaj*" << "" << "" << QStringList{"1", "2"};
        QTest::newRow("Czech capital in a list") << "ČAJ" << "" << "" << QStringList{"1"};
        QTest::newRow("contains, any case") << "*AJ*" << "" << "" << QStringList{"1", "2"};
        QTest::newRow("a Czech range: ch after h") << "h*i" << "" << "" << QStringList{"10", "9"};
        QTest::newRow("an apostrophe matches itself") << "o'brien" << "" << "" << QStringList{"4"};
        QTest::newRow("the hostile text is one literal") << "x') OR 1=1 OR ('" << "" << "" << QStringList{"7"};
        QTest::newRow("% matches itself") << "abc%" << "" << "" << QStringList{"8"};
        QTest::newRow("filled text") << "*" << "" << "" << QStringList{"1", "10", "2", "3", "4", "7", "8", "9"};
        QTest::newRow("empty text") << "_" << "" << "" << QStringList{"5", "6"};
        QTest::newRow("number range") << "" << "10*300" << "" << QStringList{"1", "10", "2"};
        QTest::newRow("number up to, negative and decimals") << "" << "*1.5" << "" << QStringList{"3", "4", "9"};
        QTest::newRow("number list") << "" << "1.5, 5" << "" << QStringList{"3", "7"};
        QTest::newRow("filled number") << "" << "*" << "" << QStringList{"1", "10", "2", "3", "6", "7", "8", "9"};
        QTest::newRow("empty number") << "" << "_" << "" << QStringList{"4", "5"};
        QTest::newRow("a date with a time is that day") << "" << "" << "31.12.2000" << QStringList{"2"};
        QTest::newRow("date range through format") << "" << "" << "1.5.2000*31.12.2000" << QStringList{"1", "2", "8"};
        QTest::newRow("date from") << "" << "" << "2000-12-31*" << QStringList{"2", "3"};
        QTest::newRow("filled date") << "" << "" << "*" << QStringList{"1", "2", "3", "5", "8"};
        QTest::newRow("two rows") << "*a*" << "*100" << "" << QStringList{"1", "10", "3", "8", "9"};
    }
    void selects()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QStringList, keys);
        records();
        QString refused;
        const QString condition = build(rows(text, number, date), &refused);
        QCOMPARE(refused, QString());
        QStringList actual = selected(condition);
        actual.sort();
        QCOMPARE(actual, keys);
    }

    // The list query runs and offers the values that still occur, once each.
    void listValues()
    {
        records();
        const std::vector<SloupecPrehledu> c = columns();
        const auto values = [](const QString &sql, const QString &type) {
            QStringList items;
            for (auto rs = Db->OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
                items << PolozkaSeznamuVyberu((*rs)[0], type);
            return items;
        };
        QCOMPARE(values(DotazSeznamuVyberu(1, c[3], QStringLiteral("Katalog.pol2n>=10")), QStringLiteral("D")),
                 (QStringList{"", "1.5.2000", "31.12.2000"}));
        QCOMPARE(values(DotazSeznamuVyberu(1, c[2], SestavPodminku(rows(QStringLiteral("čaj*"), {}, {})).Podminka),
                        QStringLiteral("N")),
                 (QStringList{"10", "300"}));
        // "Čaj" and "ČAJ" are one value under the catalog's collation.
        Db->Execute(QStringLiteral("update Katalog set Pol1c='ČAJ' where Inter=2"));
        QCOMPARE(values(DotazSeznamuVyberu(1, c[1], QStringLiteral("Katalog.pol1c like 'č*'")), QStringLiteral("C")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSelectionCondition)
#include "tst_selectioncondition.moc"
