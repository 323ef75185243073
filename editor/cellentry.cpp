#include "cellentry.h"

#include "typeddate.h"
#include "variant.h"

#include <QRegularExpression>
#include <cmath>

namespace tabulix {

namespace {

std::function<QDate()> &clockHook()
{
    static std::function<QDate()> hook;
    return hook;
}

constexpr QChar NoBreakSpace(0x00A0);
constexpr QChar NarrowNoBreakSpace(0x202F);

// The digits of an unsigned whole number with at least minDigits of them, grouped.
QString wholeDigits(double whole, int minDigits, bool group)
{
    QString digits = QString::number(whole, 'f', 0);
    if (digits == QLatin1String("0") && minDigits == 0)
        digits.clear();
    while (digits.size() < minDigits)
        digits.prepend(QLatin1Char('0'));
    if (group)
        for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
            digits.insert(i, NoBreakSpace);
    return digits;
}

QString namedFormat(const QString &format)
{
    const QString name = format.toLower();
    if (name == QLatin1String("fixed"))
        return QStringLiteral("0.00");
    if (name == QLatin1String("standard"))
        return QStringLiteral("#,##0.00");
    if (name == QLatin1String("percent"))
        return QStringLiteral("0.00%");
    if (name == QLatin1String("general number"))
        return QString();
    return format;
}

// Whether the format shows hundredths: a "%" outside its quoted and escaped text.
bool isPercentFormat(const QString &given)
{
    const QString format = namedFormat(given);
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('\\'))
            ++i;
        else if (!quoted && c == QLatin1Char('%'))
            return true;
    }
    return false;
}

}  // namespace

QDate today()
{
    const auto &hook = clockHook();
    return hook ? hook() : QDate::currentDate();
}

void setToday(std::function<QDate()> clock)
{
    clockHook() = std::move(clock);
}

QString formatNumber(double value, const QString &given)
{
    QString format = namedFormat(given);
    // A second section is for negative numbers; without one they take the first and a sign.
    const QStringList sections = format.split(QLatin1Char(';'));
    bool sign = value < 0;
    if (sign && sections.size() > 1 && !sections.at(1).isEmpty()) {
        format = sections.at(1);
        sign = false;
    } else {
        format = sections.at(0);
    }
    if (format.isEmpty())
        return Variant(value).toString();

    // Read the picture: literal text before and after the digit places.
    QString prefix, suffix;
    int intZeros = 0, decZeros = 0, decHashes = 0;
    bool seenDigit = false, inDecimals = false, group = false, percent = false, digitsDone = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        QString literal;
        if (c == QLatin1Char('"')) {
            const qsizetype end = format.indexOf(QLatin1Char('"'), i + 1);
            literal = format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            i = end < 0 ? format.size() : end;
        } else if (c == QLatin1Char('\\') && i + 1 < format.size()) {
            literal = format.at(++i);
        } else if (!digitsDone && (c == QLatin1Char('0') || c == QLatin1Char('#'))) {
            seenDigit = true;
            if (inDecimals)
                (c == QLatin1Char('0') && decHashes == 0 ? decZeros : decHashes)++;
            else if (c == QLatin1Char('0'))
                ++intZeros;
            continue;
        } else if (!digitsDone && c == QLatin1Char('.')) {
            seenDigit = true;
            inDecimals = true;
            continue;
        } else if (!digitsDone && c == QLatin1Char(',') && !inDecimals) {
            group = group || seenDigit;
            continue;
        } else {
            if (c == QLatin1Char('%'))
                percent = true;
            literal = c;
        }
        if (seenDigit)
            digitsDone = true;
        (digitsDone ? suffix : prefix) += literal;
    }
    if (!seenDigit)
        return format;

    double v = std::fabs(value) * (percent ? 100.0 : 1.0);
    const int places = decZeros + decHashes;
    const double scale = std::pow(10.0, places);
    v = std::round(v * scale) / scale;
    const double whole = std::floor(v);
    QString decimals = places > 0 ? QString::number(v - whole, 'f', places).mid(2) : QString();
    // A rounding to a whole carries: QString::number gives "1.00" for 0.999 at two places.
    double wholePart = whole;
    if (places > 0 && QString::number(v - whole, 'f', places).startsWith(QLatin1Char('1'))) {
        wholePart += 1;
        decimals.fill(QLatin1Char('0'));
    }
    while (decimals.size() > decZeros && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    QString number = wholeDigits(wholePart, intZeros, group);
    if (inDecimals && !decimals.isEmpty())
        number += QLatin1Char(',') + decimals;
    if (number.isEmpty())
        number = QStringLiteral("0");
    const bool negative = sign && (wholePart != 0 || decimals.contains(QRegularExpression(QStringLiteral("[1-9]"))));
    return (negative ? QStringLiteral("-") : QString()) + prefix + number + suffix;
}

QString numberEntry(const QString &typed, const QString &format)
{
    // The cell's own text comes back unchanged when committed as it stands: its group
    // separators are no-break spaces, which would end the number, and a percent format
    // shows hundredths, which would grow a hundredfold at every commit.
    QString text;
    text.reserve(typed.size());
    for (const QChar c : typed)
        if (c != NoBreakSpace && c != NarrowNoBreakSpace && c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            text += c == QLatin1Char(',') ? QChar(u'.') : c;
    double value = vbVal(text);
    if (text.endsWith(QLatin1Char('%')) && isPercentFormat(format))
        value /= 100.0;
    return formatNumber(value, format);
}

std::optional<QString> dateEntry(const QString &typed)
{
    // The program's edit window reads the same typed dates; the cell reads only the forms
    // it can be sure of, since what it cannot read it refuses.
    const TypedDate read = readTypedDate(typed, today(), TypedDateRules{});
    switch (read.kind) {
    case TypedDate::None:
        return QString();
    case TypedDate::Date:
        return read.date.toString(QStringLiteral("dd.MM.yyyy"));
    case TypedDate::Unreadable:
        break;
    }
    return std::nullopt;
}

}  // namespace tabulix
