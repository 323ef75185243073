#include "selection.h"

#include "cellentry.h"
#include "libroutines.h"
#include "vberror.h"

#include <QDate>

namespace tabulix {

namespace {

// The value as LIKE must read it to match it as typed: each pattern character in a
// bracket of its own.
QString likeLiteral(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('['))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

QString text(const QString &value)
{
    return CSQL(Variant(value));
}

}  // namespace

const QStringList &SelectionOperators()
{
    static const QStringList operators{QStringLiteral("="),  QStringLiteral(">"),  QStringLiteral("<"),
                                       QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("<>"),
                                       QStringLiteral("*")};
    return operators;
}

SelectionInput &Filtr()
{
    static SelectionInput input;
    return input;
}

std::optional<SelectionPart> BuildSelectionPart(const QString &field, const QString &type, const QString &given,
                                                const QString &value)
{
    if (!SelectionOperators().contains(given) || field.trimmed().isEmpty())
        return std::nullopt;
    QString op = given;
    const bool blank = value.trimmed().isEmpty();
    const QString f = QLatin1Char('{') + field + QLatin1Char('}');
    const QString t = type.toUpper();
    if (t == QLatin1String("C")) {
        if (op == QLatin1String("*") && !blank) {
            const QString pattern = QLatin1Char('*') + value + QLatin1Char('*');
            return SelectionPart{field + QStringLiteral(" like ") + text(QLatin1Char('*') + likeLiteral(value) + QLatin1Char('*')),
                                 QStringLiteral("LowerCase(") + f + QStringLiteral(") like LowerCase(") + text(pattern)
                                     + QLatin1Char(')'),
                                 op};
        }
        if (op == QLatin1String("=") && !blank) {
            return SelectionPart{field + QStringLiteral(" like ") + text(likeLiteral(value) + QLatin1Char('*')),
                                 QStringLiteral("LowerCase(") + f + QStringLiteral(") like LowerCase(")
                                     + text(value + QLatin1Char('*')) + QLatin1Char(')'),
                                 op};
        }
        if (op == QLatin1String("*"))
            op = QStringLiteral("=");
        return SelectionPart{field + op + text(value),
                             QStringLiteral("LowerCase(") + f + QLatin1Char(')') + op + QStringLiteral("LowerCase(")
                                 + text(value) + QLatin1Char(')'),
                             op};
    }
    // Contains has a meaning only for texts: on numbers and dates it would build
    // arithmetic, on check marks nothing sensible.
    if (op == QLatin1String("*"))
        return std::nullopt;
    if (t == QLatin1String("N")) {
        QString n;
        try {
            n = CSQL(Variant(value), true);
        } catch (const VbError &) {
            return std::nullopt;
        }
        return SelectionPart{field + op + n, f + op + n, op};
    }
    if (t == QLatin1String("D")) {
        const std::optional<QString> entered = dateEntry(value);
        if (!entered || entered->isEmpty())
            return std::nullopt;
        const QDate day = QDate::fromString(*entered, QStringLiteral("dd.MM.yyyy"));
        return SelectionPart{QStringLiteral("format(") + field + QStringLiteral(",\"yyyymmdd\")") + op
                                 + text(day.toString(QStringLiteral("yyyyMMdd"))),
                             f + op + QStringLiteral("date(") + day.toString(QStringLiteral("yyyy,MM,dd")) + QLatin1Char(')'),
                             op};
    }
    if (t == QLatin1String("L") || t == QLatin1String("Z")) {
        const QString b = value.toUpper() == QLatin1String("A") ? QStringLiteral("True") : QStringLiteral("False");
        return SelectionPart{field + op + b, f + op + b, op};
    }
    return std::nullopt;
}

}  // namespace tabulix
