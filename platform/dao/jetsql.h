#pragma once

#include "variant.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <QStringView>
#include <optional>

// The old database engine's rules that the program's SQL was written for, kept apart
// from the engine binding so that each can be tested on its own.
namespace jet {

// LIKE with the old engine's patterns: "*" any run, "?" one character, "#" one digit,
// "[abc]", "[a-z]" and "[!abc]" one character of (not of) a set. Case-insensitive for
// all letters; "%" and "_" are ordinary characters.
bool likeMatch(QStringView text, QStringView pattern);

// Text order of the catalog: Czech ("ch" after "h", "č" after "c"), case-insensitive.
int collate(QStringView a, QStringView b);
// The same on UTF-8 text, as the engine hands it over; fast for plain ASCII.
int collateUtf8(const char *a, int aLength, const char *b, int bLength);
// A text's key in that order, for sorting many texts: keys compare as their texts
// collate, so a sort computes one key per text instead of collating every pair.
QCollatorSortKey collationKey(const QString &text);
// A collator of that order of its own, for a thread of its own: one collator must not
// serve two threads at once, and collationKey's is the GUI thread's.
QCollator newCollator();

// The engine's format(value, pattern) for the patterns the program uses: date patterns
// (d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss and literal characters; "m" right after
// an hour is minutes) and number patterns ("#", "0", "0.00", "#,##0"). A text is read as
// a date (d.m.yyyy, dd/mm/yyyy, ISO) or a number as the pattern needs; a text that is
// neither comes back as it stands. Null stays Null.
Variant format(const Variant &value, const QString &pattern);

// A statement rewritten into what SQLite runs: the old engine's "DELETE * FROM",
// double-quoted string literals, and text columns of a new table given the catalog's
// collation. SELECT ... INTO table FROM ... comes back split: `into` names the new table
// and `sql` is the plain SELECT.
struct Statement {
    QString sql;
    QString into;
};
Statement rewrite(const QString &sql);

// A typed number as a statement takes it unquoted: the blanks before it and non-breaking
// spaces dropped, a decimal comma made a point, an empty text 0. Nothing for a text that
// is no plain number: "1 or 1=1" or "0; delete ..." must never reach the engine.
std::optional<QString> numberLiteral(const QString &typed);

// What the SQL literals of both deliverables share (the program's CSQL and the control
// library's): Empty as '', Null as null, numbers with a decimal point, texts quoted with
// apostrophes doubled, Booleans as 1 and 0; with `numeric`, a typed number text
// (numberLiteral) as that number, a text that is then no number raising error 10000
// rather than reaching the statement; other kinds raise error 10000 with source
// "Lib.CSQL". They differ only in how a date is written and in whose texts translate a
// refusal.
struct SqlLiteralRules {
    QString (*date)(const Variant &value);
    QString (*translate)(const QString &text);
};
QString sqlLiteral(const Variant &value, bool numeric, const SqlLiteralRules &rules);

// The name under which the engine binding registers the catalog's collation.
inline constexpr const char *kCollationName = "JETCZ";

}  // namespace jet
