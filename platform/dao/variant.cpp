#include "variant.h"

#include "vberror.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <cmath>
#include <limits>

namespace {

const QString kSource = QStringLiteral("Variant");

[[noreturn]] void raise(int number, const char *text)
{
    throw VbError(number, kSource, QString::fromLatin1(text));
}

[[noreturn]] void typeMismatch() { raise(vberr::TypeMismatch, "Type mismatch"); }
[[noreturn]] void invalidNull() { raise(vberr::InvalidUseOfNull, "Invalid use of Null"); }
[[noreturn]] void overflow() { raise(vberr::Overflow, "Overflow"); }

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kCurrencyScale = 10000;

// The runtime rounds halves to the even neighbour when it turns a number into an integer.
double roundHalfEven(double v)
{
    return std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
}

template <typename T>
T checkedInteger(double v)
{
    if (!std::isfinite(v))
        overflow();
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        overflow();
    return T(r);
}

// Shortest decimal text of v with at most `digits` significant digits: the runtime's
// own choice between plain and exponent form, with the exponent written E+nn.
QString numberText(double v, int digits, QChar decimalPoint, bool zeroBeforePoint)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s = QString::number(v, 'g', digits);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e < 0 && zeroBeforePoint) {
        // The common case, in the one string made: a list of many numbers is written here.
        s.replace(QLatin1Char('.'), decimalPoint);
        return s;
    }
    QString mantissa = e < 0 ? s : s.left(e);
    QString exponent;
    if (e >= 0) {
        const int ex = s.mid(e + 1).toInt();
        exponent = QStringLiteral("E%1%2").arg(ex < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(std::abs(ex), 2, 10, QLatin1Char('0'));
    }
    if (!zeroBeforePoint) {
        if (mantissa.startsWith(QLatin1String("0.")))
            mantissa.remove(0, 1);
        else if (mantissa.startsWith(QLatin1String("-0.")))
            mantissa.remove(1, 1);
    }
    mantissa.replace(QLatin1Char('.'), decimalPoint);
    return mantissa + exponent;
}

QString currencyText(qint64 scaled, QChar decimalPoint, bool zeroBeforePoint)
{
    const bool negative = scaled < 0;
    const quint64 a = negative ? quint64(-(scaled + 1)) + 1 : quint64(scaled);
    QString whole = QString::number(a / kCurrencyScale);
    QString frac = QStringLiteral("%1").arg(a % kCurrencyScale, 4, 10, QLatin1Char('0'));
    while (frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (!frac.isEmpty() && whole == QLatin1String("0") && !zeroBeforePoint)
        whole.clear();
    QString s = negative ? QStringLiteral("-") : QString();
    s += whole;
    if (!frac.isEmpty())
        s += decimalPoint + frac;
    return s;
}

// The program's regional conventions are those of its Czech users.
const QChar kRegionalDecimal = QLatin1Char(',');

QString regionalDateText(double ole)
{
    const QDateTime dt = vbDateToDateTime(ole);
    const QTime t = dt.time();
    const bool hasDate = std::trunc(ole) != 0;
    const bool hasTime = t != QTime(0, 0);
    // Put together by hand: a list of many dates is written here, and the calendar's
    // pattern formatter is many times slower.
    char16_t text[40];
    int n = 0;
    const auto put = [&](int value, int width) {
        char16_t digits[12];
        int k = 0;
        const bool negative = value < 0;
        unsigned u = negative ? 0u - unsigned(value) : unsigned(value);
        do {
            digits[k++] = char16_t(u'0' + u % 10);
            u /= 10;
        } while (u);
        if (negative)
            text[n++] = u'-';
        for (int pad = k; pad < width; ++pad)
            text[n++] = u'0';
        while (k)
            text[n++] = digits[--k];
    };
    if (hasDate || !hasTime) {
        const QDate d = dt.date();
        put(d.day(), 1);
        text[n++] = u'.';
        put(d.month(), 1);
        text[n++] = u'.';
        put(d.year(), 4);
    }
    if (hasTime) {
        if (n)
            text[n++] = u' ';
        put(t.hour(), 1);
        text[n++] = u':';
        put(t.minute(), 2);
        text[n++] = u':';
        put(t.second(), 2);
    }
    return QString(reinterpret_cast<const QChar *>(text), n);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QLatin1Char('\t');
}

}  // namespace

Variant::Variant(qint64 v)
{
    if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max()) {
        m_kind = vbLong;
        m_i = v;
    } else {
        m_kind = vbDouble;
        m_d = double(v);
    }
}

Variant::Variant(const QDateTime &dt) : m_kind(vbDate), m_d(vbDateFromDateTime(dt)) {}

Variant::Variant(QDate d) : m_kind(vbDate), m_d(vbDateFromDateTime(QDateTime(d, QTime(0, 0), Qt::UTC))) {}

Variant Variant::fromCurrency(double value)
{
    Variant v;
    v.m_kind = vbCurrency;
    const double scaled = roundHalfEven(value * kCurrencyScale);
    if (!std::isfinite(scaled) || std::abs(scaled) > 9.2e18)
        overflow();
    v.m_i = qint64(scaled);
    return v;
}

Variant Variant::fromDecimal(double value)
{
    Variant v;
    v.m_kind = vbDecimal;
    v.m_d = value;
    return v;
}

Variant Variant::fromDate(double oleDate)
{
    Variant v;
    v.m_kind = vbDate;
    v.m_d = oleDate;
    return v;
}

Variant Variant::fromObject(const void *object)
{
    Variant v;
    v.m_kind = vbObject;
    v.m_obj = object;
    return v;
}

bool Variant::IsNumberKind() const noexcept
{
    switch (m_kind) {
    case vbInteger: case vbLong: case vbSingle: case vbDouble:
    case vbCurrency: case vbDecimal: case vbByte:
        return true;
    default:
        return false;
    }
}

bool Variant::IsNumeric() const
{
    if (IsNumberKind() || m_kind == vbBoolean || m_kind == vbEmpty)
        return true;
    if (m_kind == vbString)
        return vbParseNumber(m_s).has_value();
    return false;
}

bool Variant::IsDate() const
{
    if (m_kind == vbDate)
        return true;
    if (m_kind == vbString)
        return vbParseDate(m_s).has_value();
    return false;
}

double Variant::numberValue() const
{
    switch (m_kind) {
    case vbBoolean: return m_i ? -1.0 : 0.0;
    case vbInteger: case vbLong: case vbByte: return double(m_i);
    case vbCurrency: return double(m_i) / kCurrencyScale;
    case vbSingle: case vbDouble: case vbDecimal: case vbDate: return m_d;
    default: return 0.0;
    }
}

QString Variant::toString() const
{
    switch (m_kind) {
    case vbEmpty: return QString();
    case vbNull: invalidNull();
    case vbString: return m_s;
    case vbBoolean: return m_i ? QStringLiteral("True") : QStringLiteral("False");
    case vbInteger: case vbLong: case vbByte: return QString::number(m_i);
    case vbSingle: return numberText(m_d, 7, kRegionalDecimal, true);
    case vbDouble: case vbDecimal: return numberText(m_d, 15, kRegionalDecimal, true);
    case vbCurrency: return currencyText(m_i, kRegionalDecimal, true);
    case vbDate: return regionalDateText(m_d);
    default: typeMismatch();
    }
}

double Variant::toDouble() const
{
    switch (m_kind) {
    case vbEmpty: return 0.0;
    case vbNull: invalidNull();
    case vbString: {
        if (auto n = vbParseNumber(m_s))
            return *n;
        if (auto d = vbParseDate(m_s))
            return vbDateFromDateTime(*d);
        typeMismatch();
    }
    case vbObject: case vbError: typeMismatch();
    default: return numberValue();
    }
}

qint32 Variant::toLong() const { return checkedInteger<qint32>(toDouble()); }
qint16 Variant::toInteger() const { return checkedInteger<qint16>(toDouble()); }
quint8 Variant::toByte() const { return checkedInteger<quint8>(toDouble()); }

float Variant::toSingle() const
{
    const double d = toDouble();
    if (std::isfinite(d) && std::abs(d) > double(std::numeric_limits<float>::max()))
        overflow();
    return float(d);
}

double Variant::toCurrency() const
{
    if (m_kind == vbCurrency)
        return double(m_i) / kCurrencyScale;
    return double(fromCurrency(toDouble()).m_i) / kCurrencyScale;
}

bool Variant::toBool() const
{
    if (m_kind == vbString) {
        const QString t = m_s.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        if (auto n = vbParseNumber(t))
            return *n != 0;
        typeMismatch();
    }
    return toDouble() != 0;
}

double Variant::toDate() const
{
    switch (m_kind) {
    case vbDate: return m_d;
    case vbNull: invalidNull();
    case vbString: {
        if (auto d = vbParseDate(m_s))
            return vbDateFromDateTime(*d);
        if (auto n = vbParseNumber(m_s))
            return *n;
        typeMismatch();
    }
    case vbObject: case vbError: typeMismatch();
    default: return toDouble();
    }
}

QDateTime Variant::toDateTime() const { return vbDateToDateTime(toDate()); }

bool operator==(const Variant &a, const Variant &b)
{
    if (a.m_kind != b.m_kind)
        return false;
    switch (a.m_kind) {
    case vbEmpty: case vbNull: return true;
    case vbString: return a.m_s == b.m_s;
    case vbObject: return a.m_obj == b.m_obj;
    case vbSingle: case vbDouble: case vbDecimal: case vbDate: return a.m_d == b.m_d;
    default: return a.m_i == b.m_i;
    }
}

VbCompare vbCompare(const Variant &a, const Variant &b, bool textCompare)
{
    if (a.IsNull() || b.IsNull())
        return VbCompare::Null;
    const auto sign = [](auto x) { return x < 0 ? VbCompare::Less : x > 0 ? VbCompare::Greater : VbCompare::Equal; };
    const bool aText = a.IsString(), bText = b.IsString();
    if (aText && bText)
        return sign(QString::compare(a.stringValue(), b.stringValue(),
                                     textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive));
    if (a.IsEmpty() && b.IsEmpty())
        return VbCompare::Equal;
    // Empty takes the other side's kind: "" beside a text, 0 beside a number.
    if (aText && b.IsEmpty())
        return a.stringValue().isEmpty() ? VbCompare::Equal : VbCompare::Greater;
    if (bText && a.IsEmpty())
        return b.stringValue().isEmpty() ? VbCompare::Equal : VbCompare::Less;
    if (aText)
        return VbCompare::Greater;  // a number is less than a text
    if (bText)
        return VbCompare::Less;
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? VbCompare::Less : x > y ? VbCompare::Greater : VbCompare::Equal;
}

double vbDateFromDateTime(const QDateTime &dt)
{
    const qint64 days = kEpoch.daysTo(dt.date());
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the fraction still counts forward from midnight: -1.25 is 29.12.1899 6:00.
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime vbDateToDateTime(double oleDate)
{
    const double day = std::trunc(oleDate);
    const double fraction = std::abs(oleDate - day);
    qint64 seconds = qint64(std::llround(fraction * 86400.0));
    QDate date = kEpoch.addDays(qint64(day));
    if (seconds >= 86400) {
        // The time counts forward on both sides of the epoch, so a full day is the next day.
        seconds -= 86400;
        date = date.addDays(1);
    }
    // A date value is a calendar date and time with no zone: kept in UTC, so that no
    // local clock change can make an hour of it invalid.
    return QDateTime(date, QTime(0, 0).addSecs(int(seconds)), Qt::UTC);
}

std::optional<double> vbParseNumber(const QString &text)
{
    QString t;
    t.reserve(text.size());
    for (QChar c : text) {
        if (isBlank(c))
            continue;  // blanks and the grouping spaces that Czech numbers carry
        t += c == QLatin1Char(',') ? QLatin1Char('.') : c;
    }
    if (t.isEmpty())
        return std::nullopt;
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!re.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<QDateTime> vbParseDate(const QString &text)
{
    static const QRegularExpression dayFirst(QStringLiteral(
        "^\\s*(\\d{1,2})\\s*[./]\\s*(\\d{1,2})\\s*[./]\\s*(\\d{1,4})"
        "(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    static const QRegularExpression iso(QStringLiteral(
        "^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.\\d+)?)?)?\\s*$"));
    int y, m, d;
    QRegularExpressionMatch match = dayFirst.match(text);
    if (match.hasMatch()) {
        d = match.captured(1).toInt();
        m = match.captured(2).toInt();
        y = match.captured(3).toInt();
        if (match.captured(3).size() <= 2)
            y += y < 30 ? 2000 : 1900;  // the runtime's two-digit year window
    } else {
        match = iso.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        y = match.captured(1).toInt();
        m = match.captured(2).toInt();
        d = match.captured(3).toInt();
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (!match.captured(4).isEmpty()) {
        time = QTime(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

double vbVal(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')
                         || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text[i] == QLatin1Char('&')) {
        const QChar radixChar = text[i + 1].toUpper();
        const int radix = radixChar == QLatin1Char('H') ? 16 : radixChar == QLatin1Char('O') ? 8 : 0;
        if (radix) {
            i += 2;
            qint64 v = 0;
            int digits = 0;
            for (; i < n && digits < 16; ++i, ++digits) {
                const char16_t c = text[i].toUpper().unicode();
                const int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
                if (digit < 0 || digit >= radix)
                    break;
                v = v * radix + digit;
            }
            // Like the runtime's literals: what fits 16 bits is an Integer, 32 bits a Long,
            // so "&HFFFF" is -1.
            if (v <= 0xFFFF)
                return double(qint16(quint16(v)));
            if (v <= 0xFFFFFFFFLL)
                return double(qint32(quint32(v)));
            return double(v);
        }
    }
    // Blanks inside the number are skipped, as the runtime did ("1 2 3" is 123).
    QString t;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            seenDigit = true;
            t += c;
        } else if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && (t.isEmpty() || t.endsWith(QLatin1Char('e')))) {
            t += c;
        } else if (c == QLatin1Char('.') && !seenPoint && !seenExp) {
            seenPoint = true;
            t += c;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char('d') || c == QLatin1Char('D'))
                   && seenDigit && !seenExp) {
            seenExp = true;
            t += QLatin1Char('e');
        } else {
            break;
        }
    }
    while (!t.isEmpty() && !t.back().isDigit() && t.back() != QLatin1Char('.'))
        t.chop(1);  // a dangling sign or exponent mark adds nothing
    if (t.endsWith(QLatin1Char('e')))
        t.chop(1);
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v : 0.0;
}

QString vbStr(double value, int significantDigits)
{
    const QString s = numberText(value, significantDigits, QLatin1Char('.'), false);
    return value < 0 ? s : QLatin1Char(' ') + s;
}
