// libjetcz.so: the catalog's rules for other SQLite programs. Loaded into the sqlite3
// shell or DB Browser for SQLite, it registers what the database layer registers on every
// database it opens, with the same code, so the catalog and language files can be sorted,
// compared and checked there as the program sees them. SQLite finds the entry point from
// the file name.

#include "enginerules.h"

#include <QtGlobal>
#include <sqlite3ext.h>

SQLITE_EXTENSION_INIT1

extern "C" Q_DECL_EXPORT int sqlite3_jetcz_init(sqlite3 *db, char **errorMessage, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    const int rc = dao::registerEngineRules(db);
    if (rc != SQLITE_OK && errorMessage)
        *errorMessage = sqlite3_mprintf("jetcz: %s", sqlite3_errstr(rc));
    return rc;
}
