#include "data/selectioncondition.h"

#include "common/messages.h"
#include "data/overviewquery.h"
#include "data/sqlliteral.h"
#include "jetsql.h"
#include "variant.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The date pattern argument of every date comparison: ", " Q yyyymmdd Q.
const QString P = QStringLiteral(", \"yyyymmdd\"");

// Blanks only, as the old Trim took them.
QString trimSpaces(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

// A number as a statement may take it unquoted: digits with a point and an exponent,
// blanks around. Anything else ("a", "5%", "1) or (1=1") never reaches the statement.
bool isNumber(const QString &term)
{
    static const QRegularExpression number(QStringLiteral("^ *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)? *$"));
    return number.match(term).hasMatch();
}

// A date as the layer's format reads one (d.m.yyyy, dd/mm/yyyy, ISO, blanks around).
bool isDate(const QString &term)
{
    return vbParseDate(term).has_value();
}

// A date term's eight digits, year first, as the layer's format writes them for a field.
QString dateDigits(const QString &term)
{
    return jet::format(Variant(term), QStringLiteral("yyyymmdd")).toString();
}

enum class Kind { Text, Number, Date };

Kind kindOf(const QString &typ)
{
    if (typ == QLatin1String("C"))
        return Kind::Text;
    if (typ == QLatin1String("D"))
        return Kind::Date;
    return Kind::Number;
}

struct Term {
    enum Outcome { Sql, Malformed, NoValue } outcome = Sql;
    QString sql;
};

// One term holding an asterisk (the old PrevedPodminku); c is "Katalog." and the column
// in lower case. A text term is classified as it stands and quoted by CSQL, which gives
// the old text wherever the term holds no apostrophe.
Term convert(Kind kind, const QString &c, const QString &term)
{
    const int stars = PocetVyskytu(term, QStringLiteral("*"));
    const bool first = term.startsWith(QLatin1Char('*'));
    const bool last = term.endsWith(QLatin1Char('*'));
    const auto fmt = [](const QString &field) { return QStringLiteral("format(") + field + P + QLatin1Char(')'); };
    const auto bound = [&](const QString &value) {
        return kind == Kind::Date ? isDate(value) : isNumber(value);
    };
    const auto compare = [&](const char *op, const QString &value) -> QString {
        if (kind == Kind::Date)
            return fmt(c) + QLatin1Char(' ') + QLatin1String(op) + QLatin1Char(' ') + fmt(CSQL(value));
        return c + QLatin1String(op) + value;
    };

    if (kind == Kind::Text) {
        if (stars == 1 && (first || last))  // wildcard at one end
            return {Term::Sql, c + QStringLiteral(" like ") + CSQL(term)};
        if (first && last)  // contains: further asterisks stay in the pattern
            return {Term::Sql, QStringLiteral("(") + c + QStringLiteral(" like ") + CSQL(term) + QLatin1Char(')')};
        if (stars >= 2)
            return {Term::Malformed, QString()};
        const qsizetype at = term.indexOf(QLatin1Char('*'));
        return {Term::Sql, QStringLiteral("(") + c + QStringLiteral(">=") + CSQL(term.left(at)) + QStringLiteral(" AND ") + c
                               + QStringLiteral("<=") + CSQL(term.mid(at + 1)) + QLatin1Char(')')};
    }

    if (stars == 1 && first) {  // up to
        const QString x = term.mid(1);
        return bound(x) ? Term{Term::Sql, compare("<=", x)} : Term{Term::NoValue, QString()};
    }
    if (stars == 1 && last) {  // from
        const QString x = term.chopped(1);
        return bound(x) ? Term{Term::Sql, compare(">=", x)} : Term{Term::NoValue, QString()};
    }
    if (stars >= 2)
        return {Term::Malformed, QString()};
    // range: both bounds as typed, blanks and all
    const qsizetype at = term.indexOf(QLatin1Char('*'));
    const QString a = term.left(at), b = term.mid(at + 1);
    if (!bound(a) || !bound(b))
        return {Term::NoValue, QString()};
    return {Term::Sql, QStringLiteral("(") + compare(">=", a) + QStringLiteral(" AND ") + compare("<=", b) + QLatin1Char(')')};
}

}  // namespace

int PocetVyskytu(const QString &text, const QString &hledany)
{
    if (hledany.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(hledany); at >= 0; at = text.indexOf(hledany, at + 1))
        ++count;
    return count;
}

std::optional<ChybaVyberu> KontrolujVyraz(const std::vector<RadekVyberu> &radky)
{
    static const char *const pairs[] = {",,", "..", "**", "%%", "__"};
    for (size_t i = 0; i < radky.size(); ++i) {
        const QString &text = radky[i].Text;
        if (trimSpaces(text).isEmpty())
            continue;
        for (const char *pair : pairs)
            if (text.contains(QLatin1String(pair)))
                return ChybaVyberu{ChybaVyberu::Zdvojeni, int(i) + 1, QLatin1String(pair)};
    }
    return std::nullopt;
}

PodminkaVyberu SestavPodminku(const std::vector<RadekVyberu> &radky, int vynechany)
{
    PodminkaVyberu out;
    const auto append = [&out](const QString &rowCondition) {
        if (!out.Podminka.isEmpty())
            out.Podminka += QStringLiteral(" AND ");
        out.Podminka += rowCondition;
    };
    for (size_t i = 0; i < radky.size(); ++i) {
        const RadekVyberu &row = radky[i];
        const int number = int(i) + 1;
        // A column that is no field of the catalog would go into the statement as it stands.
        if (number == vynechany || row.Text.isEmpty() || !JePoleKatalogu(row.Sloupec))
            continue;
        const Kind kind = kindOf(row.Typ);
        const QString c = QStringLiteral("Katalog.") + row.Sloupec.toLower();
        const QString trimmed = trimSpaces(row.Text);
        if (trimmed == QLatin1String("*")) {  // filled
            append(kind == Kind::Text ? QStringLiteral("(") + c + QStringLiteral(" <>'' and ") + c + QStringLiteral(" is not null )")
                                      : QStringLiteral("(") + c + QStringLiteral(" <> 0 and ") + c + QStringLiteral(" is not null )"));
            continue;
        }
        if (trimmed == QLatin1String("_")) {  // empty
            append(kind == Kind::Text ? QStringLiteral("(") + c + QStringLiteral(" = '' or ") + c + QStringLiteral(" is null )")
                                      : QStringLiteral("(") + c + QStringLiteral(" = 0 or ") + c + QStringLiteral(" is null )"));
            continue;
        }

        QStringList others, values;
        bool noValue = false;
        // The first empty item ends the row: after ",a" or "a, ,b" nothing more counts.
        for (const QString &item : row.Text.split(QLatin1Char(','))) {
            const QString term = trimSpaces(item);
            if (term.isEmpty())
                break;
            if (term.contains(QLatin1Char('*'))) {
                const Term t = convert(kind, c, term);
                if (t.outcome == Term::Malformed) {
                    // Building stops; the rows completed before stay.
                    out.Chyba = ChybaVyberu{ChybaVyberu::Konvence, number, QString()};
                    return out;
                }
                if (t.outcome == Term::NoValue)
                    noValue = true;
                else
                    others << t.sql;
            } else if (kind == Kind::Text && PocetVyskytu(term, QStringLiteral("%")) > 0) {
                others << c + QStringLiteral(" like (") + CSQL(term) + QLatin1Char(')');
            } else if (kind == Kind::Text) {
                values << CSQL(term);
            } else if (kind == Kind::Date) {
                if (isDate(term))
                    values << QLatin1Char('\'') + dateDigits(term) + QLatin1Char('\'');
                else
                    noValue = true;
            } else if (isNumber(term)) {
                values << term;
            } else {
                noValue = true;
            }
        }
        // A row with a term that is no value of its kind is left out whole: the rest of
        // it alone would select more than the user asked for.
        if (noValue) {
            if (!out.Chyba)
                out.Chyba = ChybaVyberu{ChybaVyberu::Hodnota, number, QString()};
            continue;
        }
        QString other = others.join(QStringLiteral(" or "));
        if (others.size() > 1)
            other = QLatin1Char('(') + other + QLatin1Char(')');
        QString list;
        if (!values.isEmpty())
            list = (kind == Kind::Date ? QStringLiteral("format(") + c + P + QLatin1Char(')') : c) + QStringLiteral(" in (")
                   + values.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (!other.isEmpty() && !list.isEmpty())
            append(QLatin1Char('(') + other + QStringLiteral(" or ") + list + QLatin1Char(')'));
        else if (!other.isEmpty() || !list.isEmpty())
            append(other + list);
    }
    return out;
}

QString CitelnyText(const QString &podminka, const std::vector<SloupecPrehledu> &sloupce)
{
    QString text = podminka;
    for (size_t j = 1; j < sloupce.size(); ++j)
        text.replace(QStringLiteral("Katalog.") + sloupce[j].Jmeno.toLower(), sloupce[j].Titulek);
    const std::pair<const char *, const char *> rewrites[] = {
        {" in ", "="}, {"(", ""}, {")", ""}, {"'", ""}, {"format", ""}};
    for (const auto &[from, to] : rewrites)
        text.replace(QLatin1String(from), QLatin1String(to));
    text.replace(P, QString());
    // The words last: no sign dropped above is taken out of a translation.
    const QChar blank = QLatin1Char(' ');
    text.replace(QStringLiteral(" AND "), blank + PrelozText(QStringLiteral("460,a")) + blank);
    text.replace(QStringLiteral(" like "), blank + PrelozText(QStringLiteral("531,je")) + blank);
    return text;
}

QString FiltrVyberu(qint32 sekce, const QString &podminka)
{
    QString filter = QStringLiteral("sekce=") + CSQL(sekce);
    if (!podminka.trimmed().isEmpty())
        filter += QStringLiteral(" AND (") + podminka + QLatin1Char(')');
    return filter;
}

QString DotazSeznamuVyberu(qint32 sekce, const SloupecPrehledu &sloupec, const QString &podminka, DatumSeznamu datum)
{
    const QString field = kindOf(sloupec.Typ) == Kind::Date && datum == DatumSeznamu::Dny
                              ? QStringLiteral("format(") + sloupec.Jmeno + P + QLatin1Char(')')
                              : sloupec.Jmeno;
    return QStringLiteral("select distinct ") + field + QStringLiteral(" as vyber from Katalog Where ")
           + FiltrVyberu(sekce, podminka) + QStringLiteral(" order by ") + field;
}

QString PolozkaSeznamuVyberu(const Variant &hodnota, const QString &typ)
{
    if (hodnota.IsNull() || hodnota.IsEmpty())
        return QString();
    QString text = hodnota.toString();
    switch (kindOf(typ)) {
    case Kind::Date: {
        static const QRegularExpression digits(QStringLiteral("^([0-9]{4})([0-9]{2})([0-9]{2})$"));
        const QRegularExpressionMatch m = digits.match(text);
        if (m.hasMatch())
            text = QString::number(m.captured(3).toInt()) + QLatin1Char('.') + QString::number(m.captured(2).toInt())
                   + QLatin1Char('.') + m.captured(1);
        break;
    }
    case Kind::Number:
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        break;
    case Kind::Text:
        break;
    }
    return text;
}
