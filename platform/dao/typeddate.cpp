#include "typeddate.h"

#include "variant.h"

#include <QRegularExpression>
#include <QRegularExpressionMatch>
#include <QTime>

TypedDate readTypedDate(const QString &typed, const QDate &today, const TypedDateRules &rules)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return {};
    const TypedDate unreadable{TypedDate::Unreadable, QDate()};
    const int firstYear = rules.looseForms ? 1 : 100;
    const auto dated = [&](const QDate &d) {
        if (!d.isValid() || d.year() < firstYear || d.year() > 9999)
            return unreadable;
        return TypedDate{TypedDate::Date, d};
    };
    // The time of day whose hour the match captured at `hour`, if any, is one the rules
    // read and the clock has.
    const auto timeRead = [&rules](const QRegularExpressionMatch &m, int hour) {
        if (m.captured(hour).isEmpty())
            return true;
        return rules.timeOfDay
               && QTime(m.captured(hour).toInt(), m.captured(hour + 1).toInt(), m.captured(hour + 2).toInt()).isValid();
    };

    if (t.size() < 3) {
        const double day = vbVal(t);
        if (day < 1 || day > 31 || day != int(day))
            return {};
        return dated(QDate(today.year(), today.month(), int(day)));
    }

    // Day, month and an optional year, with the blanks and separators captured so that
    // the rules can judge them, and a time of day.
    static const QRegularExpression dayFirst(QStringLiteral(
        "^(\\d{1,2})(\\s*)([./])(\\s*)(\\d{1,2})(?:(\\s*)([./])(\\s*)(\\d{1,4})?)?"
        "(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    static const QRegularExpression iso(QStringLiteral(
        "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.\\d+)?)?)?$"));
    if (const QRegularExpressionMatch m = dayFirst.match(t); m.hasMatch()) {
        const QString year = m.captured(9);
        if (!rules.looseForms) {
            const auto spacesOnly = [](const QString &s) { return s.count(QLatin1Char(' ')) == s.size(); };
            const QString second = m.captured(7);
            if (!m.captured(2).isEmpty() || !m.captured(6).isEmpty() || !spacesOnly(m.captured(4))
                || !spacesOnly(m.captured(8)) || (!second.isEmpty() && second != m.captured(3)) || year.size() == 1
                || year.size() == 3)
                return unreadable;
        }
        // A time of day follows a full date only.
        if (!timeRead(m, 10) || (!m.captured(10).isEmpty() && year.isEmpty()))
            return unreadable;
        int y = today.year();
        if (!year.isEmpty()) {
            y = year.toInt();
            if (year.size() <= 2)
                y += y < 30 ? 2000 : 1900;
        }
        return dated(QDate(y, m.captured(5).toInt(), m.captured(1).toInt()));
    }
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch()) {
        if (!timeRead(m, 4))
            return unreadable;
        return dated(QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
    }
    return unreadable;
}
