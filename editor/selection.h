#pragma once

#include "tabulix_global.h"

#include <QString>
#include <QStringList>
#include <optional>

// The record selection that the control builds from its function menu: the condition
// on one column in the three forms the control keeps (the SQL condition, the report
// formula and the readable text), and the values the selection dialogs leave behind.
namespace tabulix {

// The operators the selection dialogs offer, in their order; "*" is "contains".
TABULIX_EXPORT const QStringList &SelectionOperators();

// What the selection dialogs leave when they close: one copy for the whole library,
// like the dialogs themselves. Emptied each time the function menu opens.
struct SelectionInput {
    QString FiltrHodnota;   // the value typed
    QString FiltrOperator;  // the operator chosen
    QString FiltrSpojka;    // "AND" or "OR" for a further condition
};
TABULIX_EXPORT SelectionInput &Filtr();

// One condition on a column: the SQL part, the report formula part and the operator it
// ended with (contains with a blank value compares for equality).
struct SelectionPart {
    QString where;
    QString rep;
    QString op;
};

// The condition `field op value` for a column of type `type` (C text, N number, D date,
// L or Z check mark). A value reaches the SQL only as a literal: texts quoted with
// their apostrophes doubled, numbers and dates only once they read as such. On a text
// column "=" selects the texts beginning with the value and "*" those containing it;
// the pattern characters of LIKE typed into the value match themselves. Nothing (a
// refusal) for a column without a field, an operator not offered, a value that is no number or date on such a
// column, "*" on a column other than text, and a type of no kind.
TABULIX_EXPORT std::optional<SelectionPart> BuildSelectionPart(const QString &field, const QString &type,
                                                               const QString &op, const QString &value);

}  // namespace tabulix
