#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>

// The value kinds of the old runtime, numbered as its VarType() answers them.
enum VbVarType : int {
    vbEmpty = 0,
    vbNull = 1,
    vbInteger = 2,   // 16-bit
    vbLong = 3,      // 32-bit
    vbSingle = 4,
    vbDouble = 5,
    vbCurrency = 6,  // fixed point, four decimals
    vbDate = 7,
    vbString = 8,
    vbObject = 9,
    vbError = 10,
    vbBoolean = 11,
    vbDecimal = 14,
    vbByte = 17,
};

// A value of one of the runtime's kinds. Dates are kept as the runtime kept them:
// days since 30 December 1899, the fraction being the time of day, so that date
// arithmetic and comparison work on one number.
class Variant
{
public:
    Variant() = default;  // Empty
    Variant(bool b) : m_kind(vbBoolean), m_i(b ? 1 : 0) {}
    Variant(qint16 v) : m_kind(vbInteger), m_i(v) {}
    Variant(int v) : m_kind(vbLong), m_i(v) {}
    Variant(quint8 v) : m_kind(vbByte), m_i(v) {}
    Variant(float v) : m_kind(vbSingle), m_d(v) {}
    Variant(double v) : m_kind(vbDouble), m_d(v) {}
    Variant(const QString &s) : m_kind(vbString), m_s(s) {}
    Variant(QString &&s) : m_kind(vbString), m_s(std::move(s)) {}
    Variant(const char *s) : m_kind(vbString), m_s(QString::fromUtf8(s)) {}
    // A 64-bit number is a Long where it fits, else a Double.
    Variant(qint64 v);
    // Any other pointer would quietly become a Boolean; objects go through fromObject.
    template <typename T>
    Variant(T *) = delete;
    Variant(const QDateTime &dt);
    Variant(QDate d);

    static Variant Null() { Variant v; v.m_kind = vbNull; return v; }
    static Variant fromCurrency(double value);          // rounded to four decimals
    static Variant fromDecimal(double value);
    static Variant fromDate(double oleDate);
    static Variant fromObject(const void *object);

    VbVarType VarType() const noexcept { return m_kind; }
    bool IsEmpty() const noexcept { return m_kind == vbEmpty; }
    bool IsNull() const noexcept { return m_kind == vbNull; }
    bool IsObject() const noexcept { return m_kind == vbObject; }
    bool IsString() const noexcept { return m_kind == vbString; }
    // Integer, Long, Single, Double, Currency, Decimal, Byte: the kinds that hold a number.
    bool IsNumberKind() const noexcept;
    // The runtime's IsNumeric: a number kind, a Boolean, Empty, or a text that reads as a number.
    bool IsNumeric() const;
    // The runtime's IsDate: a Date, or a text that reads as a date.
    bool IsDate() const;

    // Conversions as the runtime's CStr, CDbl, CLng, CInt, CSng, CByte, CBool, CDate, CCur.
    // Null raises 94, an unconvertible value 13 and a value out of range 6.
    // Numbers and dates are written in the program's regional form (decimal comma, d.m.yyyy).
    QString toString() const;
    double toDouble() const;
    qint32 toLong() const;
    qint16 toInteger() const;
    float toSingle() const;
    quint8 toByte() const;
    bool toBool() const;
    double toDate() const;
    double toCurrency() const;
    QDateTime toDateTime() const;  // CDate as a calendar date and time (UTC, no zone applied), to the second

    // Raw access without conversion (meaningful only for the matching kind).
    const QString &stringValue() const noexcept { return m_s; }
    const void *objectValue() const noexcept { return m_obj; }

    // Same kind and same value; Null equals Null here (unlike the runtime's "=").
    friend bool operator==(const Variant &a, const Variant &b);

private:
    double numberValue() const;  // for number kinds, Boolean (True = -1) and Date

    VbVarType m_kind = vbEmpty;
    qint64 m_i = 0;      // Boolean, Integer, Long, Byte, Currency (scaled by 10,000)
    double m_d = 0;      // Single, Double, Decimal, Date
    QString m_s;
    const void *m_obj = nullptr;
};

// The result of the runtime's comparison of two values.
enum class VbCompare { Less = -1, Equal = 0, Greater = 1, Null = 2 };

// The runtime's comparison of two variants: numbers (dates and Booleans too) compare
// as numbers, texts as texts (binary, or case-insensitively with textCompare), a number
// is less than a text, Empty counts as 0 or as "" beside the other kind, and anything
// compared with Null is Null.
VbCompare vbCompare(const Variant &a, const Variant &b, bool textCompare = false);

// Conversions between the runtime's date numbers and calendar values. Only the date and
// the time of a QDateTime count; the ones made here are in UTC, as a value has no zone.
double vbDateFromDateTime(const QDateTime &dt);
QDateTime vbDateToDateTime(double oleDate);

// A text read as a number the way the program accepts typed numbers: blanks and
// non-breaking spaces around and between the digit groups ignored, a sign, a decimal
// comma or point, an optional exponent. nullopt when it is no number.
std::optional<double> vbParseNumber(const QString &text);

// A text read as a date: d.m.yyyy, dd/mm/yyyy and yyyy-mm-dd, each optionally with
// h:nn or h:nn:ss (ISO also with "T"), in UTC. nullopt when it is no valid date.
std::optional<QDateTime> vbParseDate(const QString &text);

// The runtime's Val: the number at the start of a text, blanks skipped, "." as the
// decimal point, "&H" and "&O" for hexadecimal and octal; 0 when there is none.
double vbVal(const QString &text);

// The runtime's Str for numbers: a leading blank for non-negative values, "." as the
// decimal point, no zero before the point ("-.5"), the exponent form "1E+20" for very
// large or small values. significantDigits is 7 for Single and 15 for Double.
QString vbStr(double value, int significantDigits = 15);
