// The runtime's value kinds: conversions, comparison, and the parsing of typed text.
#include "variant.h"
#include "vberror.h"

#include <QtTest>
#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(Variant)
Q_DECLARE_METATYPE(VbCompare)
Q_DECLARE_METATYPE(std::function<double(const Variant &)>)

char *toString(const Variant &v)
{
    QString text;
    try {
        text = v.toString();
    } catch (const VbError &) {
        text = QStringLiteral("<no text>");
    }
    return qstrdup(qPrintable(QStringLiteral("VarType %1 '%2'").arg(int(v.VarType())).arg(text)));
}

namespace {

// The number of the VbError that f raises, 0 when it raises none.
int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbError &e) {
        return e.Number();
    }
    return 0;
}

using Conversion = std::function<double(const Variant &)>;
const Conversion cdbl = [](const Variant &v) { return v.toDouble(); };
const Conversion clng = [](const Variant &v) { return double(v.toLong()); };
const Conversion cint = [](const Variant &v) { return double(v.toInteger()); };
const Conversion cbyte = [](const Variant &v) { return double(v.toByte()); };
const Conversion csng = [](const Variant &v) { return double(v.toSingle()); };
const Conversion cbool = [](const Variant &v) { return v.toBool() ? 1.0 : 0.0; };

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);  // values carry no zone
}

}  // namespace

class TestVariant : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wideIntegersAndPointers()
    {
        static_assert(!std::is_constructible_v<Variant, int *>, "a pointer must not become a Boolean");
        QCOMPARE(Variant(qint64(5)).VarType(), vbLong);
        QCOMPARE(Variant(qint64(1) << 40).VarType(), vbDouble);
        QCOMPARE(Variant(qint64(1) << 40).toDouble(), 1099511627776.0);
    }

    void varType_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<int>("varType");
        QTest::newRow("empty") << Variant() << 0;
        QTest::newRow("null") << Variant::Null() << 1;
        QTest::newRow("integer") << Variant(qint16(1)) << 2;
        QTest::newRow("long") << Variant(1) << 3;
        QTest::newRow("single") << Variant(1.0f) << 4;
        QTest::newRow("double") << Variant(1.0) << 5;
        QTest::newRow("currency") << Variant::fromCurrency(1) << 6;
        QTest::newRow("date") << Variant(QDate(2004, 3, 5)) << 7;
        QTest::newRow("datetime") << Variant(at(2004, 3, 5, 1)) << 7;
        QTest::newRow("string") << Variant("x") << 8;
        QTest::newRow("object") << Variant::fromObject(this) << 9;
        QTest::newRow("boolean") << Variant(false) << 11;
        QTest::newRow("decimal") << Variant::fromDecimal(1) << 14;
        QTest::newRow("byte") << Variant(quint8(1)) << 17;
    }
    void varType()
    {
        QFETCH(Variant, value);
        QFETCH(int, varType);
        QCOMPARE(int(value.VarType()), varType);
    }

    // CStr writes the regional (Czech) form.
    void cstr_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double comma") << Variant(1.5) << "1,5";
        QTest::newRow("double below one") << Variant(0.5) << "0,5";
        QTest::newRow("double negative") << Variant(-0.25) << "-0,25";
        QTest::newRow("double 15 digits") << Variant(1.0 / 3) << "0,333333333333333";
        QTest::newRow("double exponent") << Variant(1e20) << "1E+20";
        QTest::newRow("double small exponent") << Variant(1.5e-7) << "1,5E-07";
        QTest::newRow("single tenth") << Variant(0.1f) << "0,1";
        QTest::newRow("single 7 digits") << Variant(1.0f / 3) << "0,3333333";
        QTest::newRow("single large") << Variant(123456.7f) << "123456,7";
        QTest::newRow("long") << Variant(-3) << "-3";
        QTest::newRow("byte") << Variant(quint8(255)) << "255";
        QTest::newRow("currency") << Variant::fromCurrency(1234.5) << "1234,5";
        QTest::newRow("currency negative") << Variant::fromCurrency(-0.0001) << "-0,0001";
        QTest::newRow("currency rounded") << Variant::fromCurrency(1.23456) << "1,2346";
        QTest::newRow("date midnight") << Variant(QDate(2004, 3, 5)) << "5.3.2004";
        QTest::newRow("date and time") << Variant(at(2004, 3, 5, 14, 7, 9)) << "5.3.2004 14:07:09";
        QTest::newRow("date morning") << Variant(at(2004, 12, 31, 6, 0, 5)) << "31.12.2004 6:00:05";
        QTest::newRow("time only") << Variant::fromDate(0.25) << "6:00:00";
        QTest::newRow("true") << Variant(true) << "True";
        QTest::newRow("false") << Variant(false) << "False";
        QTest::newRow("empty") << Variant() << "";
        QTest::newRow("string") << Variant("a,b") << "a,b";
    }
    void cstr()
    {
        QFETCH(Variant, value);
        QFETCH(QString, expected);
        QCOMPARE(value.toString(), expected);
    }

    void conversion_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<Conversion>("convert");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("error");
        // Banker's rounding in the integer conversions.
        QTest::newRow("CLng 2.5") << Variant(2.5) << clng << 2.0 << 0;
        QTest::newRow("CLng 3.5") << Variant(3.5) << clng << 4.0 << 0;
        QTest::newRow("CLng -2.5") << Variant(-2.5) << clng << -2.0 << 0;
        QTest::newRow("CLng 2.51") << Variant(2.51) << clng << 3.0 << 0;
        QTest::newRow("CInt 0.5") << Variant(0.5) << cint << 0.0 << 0;
        QTest::newRow("CInt 1.5") << Variant(1.5) << cint << 2.0 << 0;
        QTest::newRow("CByte 254.5") << Variant(254.5) << cbyte << 254.0 << 0;
        QTest::newRow("CLng text") << Variant("2,5") << clng << 2.0 << 0;
        QTest::newRow("CLng currency") << Variant::fromCurrency(3.5) << clng << 4.0 << 0;
        QTest::newRow("CInt true") << Variant(true) << cint << -1.0 << 0;
        QTest::newRow("CLng empty") << Variant() << clng << 0.0 << 0;
        // Range limits, after rounding.
        QTest::newRow("CInt 32767.4") << Variant(32767.4) << cint << 32767.0 << 0;
        QTest::newRow("CInt 32767.5") << Variant(32767.5) << cint << 0.0 << 6;
        QTest::newRow("CInt -32768.5") << Variant(-32768.5) << cint << -32768.0 << 0;
        QTest::newRow("CInt -32769") << Variant(-32769) << cint << 0.0 << 6;
        QTest::newRow("CLng 2^31") << Variant(2147483648.0) << clng << 0.0 << 6;
        QTest::newRow("CLng -2^31") << Variant(-2147483648.0) << clng << -2147483648.0 << 0;
        QTest::newRow("CByte 255.5") << Variant(255.5) << cbyte << 0.0 << 6;
        QTest::newRow("CByte -0.5") << Variant(-0.5) << cbyte << 0.0 << 0;
        QTest::newRow("CByte -0.6") << Variant(-0.6) << cbyte << 0.0 << 6;
        QTest::newRow("CByte true") << Variant(true) << cbyte << 0.0 << 6;
        QTest::newRow("CSng 1e39") << Variant(1e39) << csng << 0.0 << 6;
        // Typed text.
        QTest::newRow("CDbl grouped comma") << Variant("1 234,5") << cdbl << 1234.5 << 0;
        QTest::newRow("CDbl nbsp point") << Variant(QStringLiteral("1\u00a0234.5")) << cdbl << 1234.5 << 0;
        QTest::newRow("CDbl blanks sign") << Variant(" -0,25 ") << cdbl << -0.25 << 0;
        QTest::newRow("CDbl date text") << Variant("5.3.2004") << cdbl << 38051.0 << 0;
        QTest::newRow("CDbl true") << Variant(true) << cdbl << -1.0 << 0;
        QTest::newRow("CDbl date") << Variant(at(2004, 3, 5, 12)) << cdbl << 38051.5 << 0;
        QTest::newRow("CBool text true") << Variant(" true ") << cbool << 1.0 << 0;
        QTest::newRow("CBool text zero") << Variant("0") << cbool << 0.0 << 0;
        QTest::newRow("CBool text number") << Variant("-1") << cbool << 1.0 << 0;
        // Null and what is no number.
        QTest::newRow("CDbl null") << Variant::Null() << cdbl << 0.0 << 94;
        QTest::newRow("CLng null") << Variant::Null() << clng << 0.0 << 94;
        QTest::newRow("CByte null") << Variant::Null() << cbyte << 0.0 << 94;
        QTest::newRow("CDbl letters") << Variant("abc") << cdbl << 0.0 << 13;
        QTest::newRow("CLng number and letters") << Variant("12abc") << clng << 0.0 << 13;
        QTest::newRow("CInt empty text") << Variant("") << cint << 0.0 << 13;
        QTest::newRow("CBool letters") << Variant("abc") << cbool << 0.0 << 13;
        QTest::newRow("CDbl object") << Variant::fromObject(this) << cdbl << 0.0 << 13;
    }
    void conversion()
    {
        QFETCH(Variant, value);
        QFETCH(Conversion, convert);
        QFETCH(double, expected);
        QFETCH(int, error);
        double result = 0;
        QCOMPARE(errorNumber([&] { result = convert(value); }), error);
        if (!error)
            QCOMPARE(result, expected);
    }

    void cstrRefuses()
    {
        QCOMPARE(errorNumber([] { Variant::Null().toString(); }), 94);
        QCOMPARE(errorNumber([this] { Variant::fromObject(this).toString(); }), 13);
    }

    void compare_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<bool>("textCompare");
        QTest::addColumn<VbCompare>("expected");
        QTest::newRow("numbers as numbers") << Variant(2) << Variant(10.0) << false << VbCompare::Less;
        QTest::newRow("texts as texts") << Variant("2") << Variant("10") << false << VbCompare::Greater;
        QTest::newRow("integer and single") << Variant(qint16(3)) << Variant(3.0f) << false << VbCompare::Equal;
        QTest::newRow("number below text") << Variant(1000) << Variant("1") << false << VbCompare::Less;
        QTest::newRow("text above number") << Variant("1") << Variant(1000) << false << VbCompare::Greater;
        QTest::newRow("date as number") << Variant(QDate(2004, 3, 5)) << Variant(38051.0) << false << VbCompare::Equal;
        QTest::newRow("true below zero") << Variant(true) << Variant(0) << false << VbCompare::Less;
        QTest::newRow("empty as zero") << Variant() << Variant(0.0) << false << VbCompare::Equal;
        QTest::newRow("empty above negative") << Variant() << Variant(-1) << false << VbCompare::Greater;
        QTest::newRow("empty below number") << Variant(1) << Variant() << false << VbCompare::Greater;
        QTest::newRow("empty as blank text") << Variant() << Variant("") << false << VbCompare::Equal;
        QTest::newRow("empty below text") << Variant() << Variant("a") << false << VbCompare::Less;
        QTest::newRow("text above empty") << Variant("0") << Variant() << false << VbCompare::Greater;
        QTest::newRow("empty and empty") << Variant() << Variant() << false << VbCompare::Equal;
        QTest::newRow("binary case") << Variant("abc") << Variant("ABC") << false << VbCompare::Greater;
        QTest::newRow("text case") << Variant("abc") << Variant("ABC") << true << VbCompare::Equal;
        QTest::newRow("text case czech") << Variant("čaj") << Variant("ČAJ") << true << VbCompare::Equal;
        QTest::newRow("null left") << Variant::Null() << Variant(1) << false << VbCompare::Null;
        QTest::newRow("null right") << Variant("a") << Variant::Null() << true << VbCompare::Null;
        QTest::newRow("null null") << Variant::Null() << Variant::Null() << false << VbCompare::Null;
        QTest::newRow("null empty") << Variant() << Variant::Null() << false << VbCompare::Null;
    }
    void compare()
    {
        QFETCH(Variant, a);
        QFETCH(Variant, b);
        QFETCH(bool, textCompare);
        QFETCH(VbCompare, expected);
        QCOMPARE(int(vbCompare(a, b, textCompare)), int(expected));
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("expected");
        QTest::newRow("comma") << "12,5" << true << 12.5;
        QTest::newRow("point") << "12.5" << true << 12.5;
        QTest::newRow("blank groups") << " 1 234 567,25 " << true << 1234567.25;
        QTest::newRow("nbsp groups") << QStringLiteral("1\u00a0234,5") << true << 1234.5;
        QTest::newRow("narrow nbsp") << QStringLiteral("1\u202f234") << true << 1234.0;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("leading point") << ",5" << true << 0.5;
        QTest::newRow("exponent") << "+1,5e3" << true << 1500.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks") << "   " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("trailing letters") << "12abc" << false << 0.0;
        QTest::newRow("two separators") << "1,234.5" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("hex") << "&H1F" << false << 0.0;
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, expected);
        const auto n = vbParseNumber(text);
        QCOMPARE(n.has_value(), valid);
        if (valid)
            QCOMPARE(*n, expected);
        QCOMPARE(Variant(text).IsNumeric(), valid);
    }

    void parseDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");  // invalid: refused
        QTest::newRow("d.m.yyyy") << "5.3.2004" << at(2004, 3, 5);
        QTest::newRow("dd.mm.yyyy spaced") << " 05. 03. 2004 " << at(2004, 3, 5);
        QTest::newRow("d.m.yyyy time") << "5.3.2004 7:08" << at(2004, 3, 5, 7, 8);
        QTest::newRow("d.m.yyyy seconds") << "5.3.2004 17:08:09" << at(2004, 3, 5, 17, 8, 9);
        QTest::newRow("dd/mm/yyyy") << "05/03/2004" << at(2004, 3, 5);
        QTest::newRow("iso") << "2004-03-05" << at(2004, 3, 5);
        QTest::newRow("iso time") << "2004-03-05 10:20:30" << at(2004, 3, 5, 10, 20, 30);
        QTest::newRow("iso T") << "2004-03-05T10:20" << at(2004, 3, 5, 10, 20);
        QTest::newRow("leap day") << "29.2.2024" << at(2024, 2, 29);
        QTest::newRow("two-digit year 29") << "1.1.29" << at(2029, 1, 1);
        QTest::newRow("two-digit year 30") << "1.1.30" << at(1930, 1, 1);
        QTest::newRow("31 April") << "31.4.2026" << QDateTime();
        QTest::newRow("31 April slash") << "31/04/2026" << QDateTime();
        QTest::newRow("31 April iso") << "2026-04-31" << QDateTime();
        QTest::newRow("no leap day") << "29.2.2023" << QDateTime();
        QTest::newRow("month 13") << "1.13.2004" << QDateTime();
        QTest::newRow("hour 25") << "5.3.2004 25:00" << QDateTime();
        QTest::newRow("minute 60") << "2004-03-05 10:60" << QDateTime();
        QTest::newRow("number") << "38051" << QDateTime();
        QTest::newRow("words") << "yesterday" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }
    void parseDate()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const auto d = vbParseDate(text);
        QCOMPARE(d.has_value(), expected.isValid());
        if (d)
            QCOMPARE(std::pair(d->date(), d->time()), std::pair(expected.date(), expected.time()));
        QCOMPARE(Variant(text).IsDate(), expected.isValid());
    }

    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("inner blanks") << "  1 2 3" << 123.0;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex integer wraps") << "&HFFFF" << -1.0;
        QTest::newRow("hex long") << "&H10000" << 65536.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("hex stops at a non-digit") << "&H1G" << 1.0;
        QTest::newRow("hex lower case") << "&h1fz" << 31.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("D exponent") << "1D2" << 100.0;
        QTest::newRow("dangling exponent") << "7e" << 7.0;
        QTest::newRow("negative") << "-12.5xyz" << -12.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("comma ends") << "1,5" << 1.0;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("sign inside ends") << "1-2" << 1.0;
        QTest::newRow("tab and newline") << "\t\n 42" << 42.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(vbVal(text), expected);
    }

    void str_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half") << 0.5 << 15 << " .5";
        QTest::newRow("negative half") << -0.5 << 15 << "-.5";
        QTest::newRow("negative integer") << -3.0 << 15 << "-3";
        QTest::newRow("zero") << 0.0 << 15 << " 0";
        QTest::newRow("plain") << 123.25 << 15 << " 123.25";
        QTest::newRow("large") << 1e20 << 15 << " 1E+20";
        QTest::newRow("negative large") << -1e20 << 15 << "-1E+20";
        QTest::newRow("small") << 1.5e-7 << 15 << " 1.5E-07";
        QTest::newRow("single tenth") << double(0.1f) << 7 << " .1";
        QTest::newRow("single third") << double(1.0f / 3) << 7 << " .3333333";
        QTest::newRow("double tenth of single") << double(0.1f) << 15 << " .100000001490116";
    }
    void str()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(vbStr(value, digits), expected);
    }

    // Days since 30.12.1899; before it the fraction still counts forward from midnight.
    void oleDate_data()
    {
        QTest::addColumn<double>("ole");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("epoch") << 0.0 << at(1899, 12, 30);
        QTest::newRow("next day") << 1.0 << at(1899, 12, 31);
        QTest::newRow("day before") << -1.0 << at(1899, 12, 29);
        QTest::newRow("day before 6:00") << -1.25 << at(1899, 12, 29, 6);
        QTest::newRow("two days before 18:00") << -2.75 << at(1899, 12, 28, 18);
        QTest::newRow("1900 18:00") << 2.75 << at(1900, 1, 1, 18);
        QTest::newRow("2004 noon") << 38051.5 << at(2004, 3, 5, 12);
        QTest::newRow("seconds") << 38051.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0 << at(2004, 3, 5, 10, 20, 30);
    }
    void oleDate()
    {
        QFETCH(double, ole);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(vbDateToDateTime(ole), dateTime);
        QCOMPARE(vbDateFromDateTime(dateTime), ole);
        QCOMPARE(Variant(dateTime).toDate(), ole);
        const QDateTime back = Variant::fromDate(ole).toDateTime();
        QCOMPARE(std::pair(back.date(), back.time()), std::pair(dateTime.date(), dateTime.time()));
    }

    // A time a hair before midnight rounds to the next day's midnight, on either side of
    // the epoch.
    void oleDateRoundsToNextDay_data()
    {
        QTest::addColumn<double>("ole");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("after epoch") << 1.9999999 << at(1900, 1, 1);
        QTest::newRow("before epoch") << -1.9999999 << at(1899, 12, 30);
        QTest::newRow("well before epoch") << -3.9999999 << at(1899, 12, 28);
    }
    void oleDateRoundsToNextDay()
    {
        QFETCH(double, ole);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(vbDateToDateTime(ole), dateTime);
    }

    void equality()
    {
        QVERIFY(Variant(1) == Variant(1));
        QVERIFY(!(Variant(1) == Variant(qint16(1))));  // same value, other kind
        QVERIFY(!(Variant(1.0f) == Variant(1.0)));
        QVERIFY(Variant::Null() == Variant::Null());
        QVERIFY(!(Variant() == Variant::Null()));
        QVERIFY(!(Variant("a") == Variant("A")));
    }
};

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"
