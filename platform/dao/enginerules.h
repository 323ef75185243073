#pragma once

// The old engine's rules on an SQLite connection, declared without SQLite's header so
// that the loadable extension, which must see SQLite through its own header, can call
// the very code the layer runs on every database it opens.

struct sqlite3;

namespace dao {

// The catalog's collation (jet::kCollationName) and the functions like, format, val,
// str, and the conversions isnumeric, isdate, cdbl, csng and cdate. Gives SQLite's result code of the first registration that fails, else 0.
int registerEngineRules(sqlite3 *db);

}  // namespace dao
