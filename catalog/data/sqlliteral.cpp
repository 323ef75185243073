#include "data/sqlliteral.h"

#include "common/messages.h"
#include "jetsql.h"

QString CSQL(const Variant &value, bool numeric)
{
    // Date and time as the database stores them; refusals in the program's language.
    static constexpr jet::SqlLiteralRules rules{
        [](const Variant &date) {
            return QLatin1Char('\'') + date.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\'');
        },
        [](const QString &text) { return PrelozText(text); }};
    return jet::sqlLiteral(value, numeric, rules);
}
