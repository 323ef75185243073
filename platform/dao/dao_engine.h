#pragma once

// The database layer's own view of the engine: the one place that includes SQLite's
// header (the loadable extension's own source takes sqlite3ext.h instead). Only the
// layer's .cpp files include this.

#include "dao.h"
#include "enginerules.h"

#include <QString>
#include <optional>
#include <sqlite3.h>

namespace dao::detail {

[[noreturn]] void raise(int number, const QString &source, const QString &description);
// The engine's failure as the old engine's number, with SQLite's own words.
[[noreturn]] void raiseEngine(sqlite3 *db, int rc, const QString &source);
[[noreturn]] void noCurrentRecord();
[[noreturn]] void itemNotFound(const QString &source);

extern const QString kDatabase;
extern const QString kRecordset;
extern const QString kWorkspace;
extern const QString kEngine;
extern const QString kFields;
extern const QString kTableDefs;

// What a declared column type means as a field of the old engine.
FieldInfo fieldFromDeclaration(const QString &name, const QString &declared);
// The date number of ISO text as the layer writes it; nullopt for any other text.
std::optional<double> isoDate(const char *s, int n);
QString isoText(double oleDate);
// A value as a statement parameter, the way the layer stores each kind.
void bindVariant(sqlite3_stmt *stmt, int index, const Variant &v);
QString quoted(const QString &identifier);
// Prepares one statement; anything after it is refused, so that text typed by a user can
// never smuggle in a second statement. With raiseOnError false a failure gives nullptr.
sqlite3_stmt *prepareOne(sqlite3 *db, const QString &sql, const QString &source, bool raiseOnError = true);
// GROUP BY in the statement itself: its records stand for groups, not rows.
bool groupsRows(const QString &sql);
bool startsWithWord(const QString &sql, const char *word);

struct StatementGuard {
    sqlite3_stmt *stmt;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

}  // namespace dao::detail
