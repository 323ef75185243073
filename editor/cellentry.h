#pragma once

#include "tabulix_global.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

// How a typed cell text becomes the text a number or date cell stores.
namespace tabulix {

// The day a date typed as a day alone falls in the month of. Tests fix it with setToday;
// an empty function gives the system clock back.
TABULIX_EXPORT QDate today();
TABULIX_EXPORT void setToday(std::function<QDate()> clock);

// A number written with a format text: "0" a digit always shown, "#" a digit shown when
// needed, "." the decimal point, "," between digit places grouping by thousands, "%"
// hundredths, other characters (and "quoted" or \-escaped ones) as they stand; the named
// formats "General Number", "Fixed", "Standard" and "Percent". The result is in the
// program's regional form: decimal comma, no-break space between thousands. An empty
// format gives the number's plain text.
TABULIX_EXPORT QString formatNumber(double value, const QString &format);

// A typed number: "," is read as ".", blanks and no-break spaces (the group separators
// formatNumber writes) are passed over, the number at its start is taken (0 when none)
// and written with the format. A text ending in "%" under a format that shows hundredths
// is read in hundredths, so that a cell's own text keeps its value.
TABULIX_EXPORT QString numberEntry(const QString &typed, const QString &format);

// A typed date as "dd.mm.yyyy". Accepted: nothing (an empty cell); one or two characters
// read as a day of the current month (a day number outside 1 to 31 empties the cell);
// d.m, d.m.yy and d.m.yyyy (also with "/", blanks allowed after each separator as in
// "5. 3. 2026", a two-digit year 00-29 in this century, 30-99 in the last) and yyyy-mm-dd. Anything else, and a date the calendar has not
// (31 in a month of 30 days), is refused: nullopt.
TABULIX_EXPORT std::optional<QString> dateEntry(const QString &typed);

}  // namespace tabulix
