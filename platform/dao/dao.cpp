#include "dao_engine.h"

#include "jetsql.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace dao {

using namespace detail;

// ================================================================ Field

Variant Field::Value() const
{
    if (!m_rs)
        raise(err::General, kFields, QStringLiteral("A table definition's field has no value."));
    return m_rs->value(m_index);
}

void Field::SetValue(const Variant &value)
{
    if (!m_rs)
        raise(err::General, kFields, QStringLiteral("A table definition's field has no value."));
    m_rs->setValue(m_index, value);
}

// ================================================================ TableDef, TableDefs

void TableDef::SetName(const QString &name)
{
    if (!m_db || !m_db->IsOpen())
        raise(err::ObjectInvalid, kTableDefs, QStringLiteral("Object invalid or no longer set."));
    m_db->finishReads();
    m_db->exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(m_name), quoted(name)));
    m_name = name;
}

Field TableDef::Fields(int index)
{
    if (index < 0 || index >= FieldCount())
        itemNotFound(kFields);
    return Field(&m_fields[size_t(index)], nullptr, index);
}

Field TableDef::Fields(const QString &name)
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return Field(&m_fields[i], nullptr, int(i));
    itemNotFound(kFields);
}

void TableDefList::ensureLoaded()
{
    if (!m_loaded)
        Refresh();
}

void TableDefList::Refresh()
{
    sqlite3 *db = m_db->handle();
    std::vector<std::unique_ptr<TableDef>> tables;
    {
        sqlite3_stmt *stmt = prepareOne(
            db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND substr(name, 1, 7) <> 'sqlite_' ORDER BY rowid"),
            kTableDefs);
        StatementGuard guard{stmt};
        // Not LIKE: on this connection it is the old engine's, where "_" and "%" are plain
        // characters, and the engine's own tables (sqlite_sequence) would be listed.
        // The names first: a table's columns are read with a second statement.
        QStringList names;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        for (const QString &name : names) {
            sqlite3_stmt *info = prepareOne(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(name)), kTableDefs);
            StatementGuard infoGuard{info};
            std::vector<FieldInfo> fields;
            while (sqlite3_step(info) == SQLITE_ROW) {
                FieldInfo f = fieldFromDeclaration(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info, 1))),
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info, 2))));
                f.required = sqlite3_column_int(info, 3) != 0;
                fields.push_back(std::move(f));
            }
            tables.push_back(std::unique_ptr<TableDef>(new TableDef(m_db, name, std::move(fields))));
        }
    }
    // The TableDef and Field objects handed out stay valid: a table that is still there keeps
    // its object, and one that is gone keeps a dead one (3420) instead of freed memory.
    for (auto &fresh : tables) {
        for (auto &old : m_tables) {
            if (!old || old->m_name.compare(fresh->m_name, Qt::CaseInsensitive) != 0)
                continue;
            bool sameColumns = old->m_fields.size() == fresh->m_fields.size();
            for (size_t i = 0; sameColumns && i < old->m_fields.size(); ++i)
                sameColumns = old->m_fields[i].name == fresh->m_fields[i].name;
            if (sameColumns) {
                for (size_t i = 0; i < old->m_fields.size(); ++i) {
                    old->m_fields[i].type = fresh->m_fields[i].type;
                    old->m_fields[i].size = fresh->m_fields[i].size;
                    old->m_fields[i].required = fresh->m_fields[i].required;
                }
            } else {
                old->m_retiredFields.push_back(std::move(old->m_fields));
                old->m_fields = std::move(fresh->m_fields);
            }
            old->m_name = fresh->m_name;
            fresh = std::move(old);
            break;
        }
    }
    for (auto &gone : m_tables) {
        if (gone) {
            gone->m_db = nullptr;
            m_retired.push_back(std::move(gone));
        }
    }
    m_tables = std::move(tables);
    m_loaded = true;
}

int TableDefList::Count()
{
    ensureLoaded();
    return int(m_tables.size());
}

TableDef &TableDefList::operator[](int index)
{
    ensureLoaded();
    if (index < 0 || index >= int(m_tables.size()))
        itemNotFound(kTableDefs);
    return *m_tables[size_t(index)];
}

TableDef &TableDefList::operator[](const QString &name)
{
    ensureLoaded();
    for (auto &t : m_tables)
        if (t->Name().compare(name, Qt::CaseInsensitive) == 0)
            return *t;
    itemNotFound(kTableDefs);
}

// ================================================================ Database

Database::Database(Workspace *ws, QString path, sqlite3 *db) : m_ws(ws), m_path(std::move(path)), m_db(db)
{
    if (m_ws)
        m_ws->m_databases.push_back(this);
}

Database::~Database()
{
    Close();
}

sqlite3 *Database::handle() const
{
    if (!m_db)
        raise(err::ObjectInvalid, kDatabase, QStringLiteral("Object invalid or no longer set."));
    return m_db;
}

void Database::Close()
{
    for (Recordset *rs : m_recordsets) {
        rs->finish();
        rs->m_closed = true;
        rs->m_db = nullptr;
    }
    m_recordsets.clear();
    for (auto &t : m_tableDefs.m_tables)
        t->m_db = nullptr;
    if (m_ws) {
        auto &list = m_ws->m_databases;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        m_ws = nullptr;
    }
    if (m_db) {
        sqlite3_close_v2(m_db);  // an open transaction is rolled back
        m_db = nullptr;
    }
}

void Database::finishReads()
{
    for (Recordset *rs : m_recordsets)
        if (rs->m_stmt)
            rs->fetchAll();
}

void Database::exec(const QString &sql)
{
    sqlite3_stmt *stmt = prepareOne(handle(), sql, kDatabase);
    StatementGuard guard{stmt};
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        raiseEngine(m_db, rc, kDatabase);
}

void Database::Execute(const QString &sql, int)
{
    sqlite3 *db = handle();
    const jet::Statement statement = jet::rewrite(sql);
    finishReads();
    if (!statement.into.isEmpty()) {
        executeSelectInto(statement.into, statement.sql);
        return;
    }
    sqlite3_stmt *stmt = prepareOne(db, statement.sql, kDatabase);
    StatementGuard guard{stmt};
    if (sqlite3_stmt_readonly(stmt) && startsWithWord(statement.sql, "select"))
        raise(err::CannotExecuteSelect, kDatabase, QStringLiteral("Cannot execute a select query."));
    const int changesBefore = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        raiseEngine(db, rc, kDatabase);
    // Counted from the total, so that a statement that changes nothing reads 0.
    m_recordsAffected = sqlite3_total_changes(db) - changesBefore;
    // Like the old engine's collection, TableDefs stays as read until Refresh, so that a
    // walk over it keeps its positions while tables are dropped.
}

void Database::executeSelectInto(const QString &table, const QString &select)
{
    // The new table takes the declared types of the result's columns, so that it reads
    // back as the tables it came from (and its texts sort as theirs do).
    QString columns;
    {
        sqlite3_stmt *stmt = prepareOne(m_db, select, kDatabase);
        StatementGuard guard{stmt};
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const char *decl = sqlite3_column_decltype(stmt, i);
            if (i)
                columns += QStringLiteral(", ");
            columns += quoted(QString::fromUtf8(sqlite3_column_name(stmt, i)));
            if (decl)
                columns += QLatin1Char(' ') + QString::fromUtf8(decl);
        }
    }
    exec(QStringLiteral("SAVEPOINT oskal_select_into"));
    try {
        exec(jet::rewrite(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns)).sql);
        const int before = sqlite3_total_changes(m_db);
        exec(QStringLiteral("INSERT INTO %1 %2").arg(table, select));
        m_recordsAffected = sqlite3_total_changes(m_db) - before;
        exec(QStringLiteral("RELEASE oskal_select_into"));
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK TO oskal_select_into; RELEASE oskal_select_into", nullptr, nullptr, nullptr);
        throw;
    }
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &sql, int type)
{
    sqlite3 *db = handle();
    // A bare table name opens the whole table, as the old engine allowed.
    static const QRegularExpression tableName(QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*$"));
    const QRegularExpressionMatch bare = tableName.match(sql);
    const jet::Statement statement =
        jet::rewrite(bare.hasMatch() ? QStringLiteral("SELECT * FROM ") + quoted(bare.captured(1)) : sql);
    if (!statement.into.isEmpty())
        raise(err::SyntaxError, kDatabase, QStringLiteral("A recordset cannot create a table."));
    if (!startsWithWord(statement.sql, "select") && !startsWithWord(statement.sql, "pragma")
        && !startsWithWord(statement.sql, "with"))
        raise(err::SyntaxError, kDatabase, QStringLiteral("Invalid SQL statement; expected 'SELECT'."));

    // A dynaset over one table can be changed through the recordset: a hidden row id
    // before the fields tells which row each record is.
    if ((type == dbOpenDynaset || type == dbOpenTable) && !groupsRows(statement.sql)) {
        QString trimmed = statement.sql.trimmed();
        const QString withRowid = QStringLiteral("SELECT _rowid_ AS __oskal_rowid, ") + trimmed.mid(6);
        if (startsWithWord(trimmed, "select")) {
            if (sqlite3_stmt *stmt = prepareOne(db, withRowid, kDatabase, false)) {
                const char *first = sqlite3_column_table_name(stmt, 0);
                bool single = first != nullptr;
                for (int i = 1; single && i < sqlite3_column_count(stmt); ++i) {
                    const char *t = sqlite3_column_table_name(stmt, i);
                    single = t && qstrcmp(t, first) == 0;
                }
                if (single)
                    return std::unique_ptr<Recordset>(new Recordset(this, stmt, 1, QString::fromUtf8(first)));
                sqlite3_finalize(stmt);
            }
        }
    }
    sqlite3_stmt *stmt = prepareOne(db, statement.sql, kDatabase);
    return std::unique_ptr<Recordset>(new Recordset(this, stmt, 0, QString(), type == dbOpenForwardOnly));
}

QStringList Database::QueryPlan(const QString &sql)
{
    sqlite3 *db = handle();
    const jet::Statement statement = jet::rewrite(sql);
    if (!startsWithWord(statement.sql, "select") || !statement.into.isEmpty())
        raise(err::SyntaxError, kDatabase, QStringLiteral("Invalid SQL statement; expected 'SELECT'."));
    sqlite3_stmt *stmt = prepareOne(db, QStringLiteral("EXPLAIN QUERY PLAN ") + statement.sql, kDatabase);
    StatementGuard guard{stmt};
    QStringList steps;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        steps << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3)));
    if (rc != SQLITE_DONE)
        raiseEngine(db, rc, kDatabase);
    return steps;
}

namespace {

// The wait for another connection's lock, in steps short enough for a stop to be heard.
constexpr int kBusyStepMs = 5;

}  // namespace

void Database::StopWhen(std::function<bool()> stop, int busyMs)
{
    sqlite3 *db = handle();
    m_stop = std::move(stop);
    m_busyMs = busyMs;
    if (!m_stop) {
        sqlite3_progress_handler(db, 0, nullptr, nullptr);
        sqlite3_busy_timeout(db, busyMs);
        return;
    }
    sqlite3_progress_handler(
        db, 1000, [](void *self) { return static_cast<Database *>(self)->m_stop() ? 1 : 0; }, this);
    sqlite3_busy_handler(
        db,
        [](void *self, int count) {
            const auto *database = static_cast<Database *>(self);
            if (database->m_stop() || count * kBusyStepMs >= database->m_busyMs)
                return 0;
            sqlite3_sleep(kBusyStepMs);
            return 1;
        },
        this);
}


// ================================================================ Workspace

Workspace::Workspace(QString userName) : m_user(std::move(userName)) {}

Workspace::~Workspace()
{
    // Losing the workspace object does not close the databases that still have users:
    // they go on without it, outside any transaction of it, which is rolled back.
    while (m_depth > 0) {
        try {
            Rollback();
        } catch (const VbError &) {
        }
    }
    for (Database *db : m_databases)
        db->m_ws = nullptr;
}

void Workspace::Close()
{
    // Closing a workspace closes its databases, as the old engine did.
    for (Database *db : std::vector<Database *>(m_databases))
        db->Close();
    m_databases.clear();
    m_depth = 0;
}

namespace {

sqlite3 *openFile(const QString &path, int flags, const QString &source)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = QStringLiteral("%1 ('%2')").arg(QString::fromUtf8(sqlite3_errmsg(db)), path);
        sqlite3_close_v2(db);
        raise(rc == SQLITE_CANTOPEN ? err::CannotOpenFile : err::General, source, text);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    registerEngineRules(db);
    return db;
}

}  // namespace

std::unique_ptr<Database> Workspace::OpenDatabase(const QString &path, bool exclusive, bool readOnly, const QString &)
{
    if (!QFileInfo(path).isFile())
        raise(err::FileNotFound, kWorkspace, QStringLiteral("Could not find file '%1'.").arg(path));
    // SQLite would take an empty file for a new database; the catalog is never empty.
    if (QFileInfo(path).size() == 0)
        raise(err::UnrecognizedFormat, kWorkspace, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    sqlite3 *db = openFile(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, kWorkspace);
    // The file is only read on first use: make that use now, so that a file that is no
    // database, or one locked by another program, fails here and not later.
    char *message = nullptr;
    int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message);
    if (rc == SQLITE_OK && exclusive)
        rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = QStringLiteral("%1 ('%2')").arg(QString::fromUtf8(message ? message : sqlite3_errstr(rc)), path);
        sqlite3_free(message);
        sqlite3_close_v2(db);
        int number = err::General;
        if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT)
            number = err::UnrecognizedFormat;
        else if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            number = err::Locked;
        raise(number, kWorkspace, text);
    }
    auto database = std::unique_ptr<Database>(new Database(this, path, db));
    join(database.get());
    return database;
}

std::unique_ptr<Database> Workspace::CreateDatabase(const QString &path, const QString &, int)
{
    if (QFileInfo::exists(path))
        raise(err::DatabaseExists, kWorkspace, QStringLiteral("Database already exists."));
    sqlite3 *db = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, kWorkspace);
    auto database = std::unique_ptr<Database>(new Database(this, path, db));
    join(database.get());
    return database;
}

void Workspace::join(Database *db)
{
    // A database opened while a transaction is open takes part in it, at every level.
    for (int level = 1; level <= m_depth; ++level)
        db->exec(QStringLiteral("SAVEPOINT oskal_trans_%1").arg(level));
    db->m_transactionDepth = m_depth;
}

void Workspace::BeginTrans()
{
    for (Database *db : m_databases) {
        db->finishReads();
        db->exec(QStringLiteral("SAVEPOINT oskal_trans_%1").arg(m_depth + 1));
        db->m_transactionDepth = m_depth + 1;
    }
    ++m_depth;
}

void Workspace::endTransaction(bool commit)
{
    if (m_depth == 0)
        raise(err::NoTransaction, kWorkspace,
              QStringLiteral("You tried to commit or rollback without first beginning a transaction."));
    // Every database ends its level, even after another one failed to: the workspace must
    // not be left half in a transaction. The first failure is reported.
    std::optional<VbError> failure;
    for (Database *db : m_databases) {
        if (db->m_transactionDepth != m_depth)
            continue;
        try {
            db->finishReads();
            // The outermost level ends the engine's transaction outright: rolling back to
            // it and releasing it would commit once more and touch the file's header.
            if (!commit && m_depth == 1) {
                db->exec(QStringLiteral("ROLLBACK"));
            } else {
                if (!commit)
                    db->exec(QStringLiteral("ROLLBACK TO oskal_trans_%1").arg(m_depth));
                db->exec(QStringLiteral("RELEASE oskal_trans_%1").arg(m_depth));
            }
        } catch (const VbError &e) {
            if (!failure)
                failure = e;
            // A commit the engine refused (another connection still reading) leaves its
            // transaction open, holding the file against the others, and every later
            // level would nest in it and never reach the file: it ends here, without
            // its writes, as the workspace's level does.
            if (m_depth == 1 && db->m_db && !sqlite3_get_autocommit(db->m_db)) {
                try {
                    db->exec(QStringLiteral("ROLLBACK"));
                } catch (const VbError &) {
                }
            }
        }
        db->m_transactionDepth = m_depth - 1;
    }
    --m_depth;
    if (failure)
        throw *failure;
}

void Workspace::CommitTrans()
{
    endTransaction(true);
}

void Workspace::Rollback()
{
    endTransaction(false);
}

Transaction::Transaction(Workspace &ws) : m_ws(ws)
{
    m_ws.BeginTrans();
}

Transaction::~Transaction()
{
    Rollback();
}

void Transaction::Commit()
{
    // The workspace ends the level whether or not the commit succeeds: nothing is left
    // for this scope to take back.
    m_open = false;
    m_ws.CommitTrans();
}

bool Transaction::Rollback() noexcept
{
    if (!m_open)
        return false;
    m_open = false;
    try {
        m_ws.Rollback();
        return true;
    } catch (...) {
        return false;
    }
}

// ================================================================ engine

std::unique_ptr<Workspace> CreateWorkspace(const QString &, const QString &user, const QString &, int)
{
    return std::make_unique<Workspace>(user);
}

void CompactDatabase(const QString &source, const QString &target, const QString &, int, const QString &)
{
    if (!QFileInfo(source).isFile())
        raise(err::FileNotFound, kEngine, QStringLiteral("Could not find file '%1'.").arg(source));
    if (QFileInfo::exists(target))
        raise(err::DatabaseExists, kEngine, QStringLiteral("Database already exists."));
    sqlite3 *db = openFile(source, SQLITE_OPEN_READONLY, kEngine);
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray t = QFile::encodeName(target);
        sqlite3_bind_text(stmt, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(stmt);
    }
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        QFile::remove(target);  // no half-written copy
        raise((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT ? err::UnrecognizedFormat : err::General,
              kEngine, text);
    }
    // The engine does not sync what VACUUM INTO writes; the caller is about to put it in
    // the catalog's place.
    try {
        SyncFile(target);
    } catch (const VbError &) {
        QFile::remove(target);
        throw;
    }
}

namespace {

// A connection of its own reads the source: the last committed state, whatever the
// program's connection has begun. Writable where it can be, so that the journal of a
// write cut short is rolled back rather than refusing the read.
sqlite3 *openSource(const QString &source)
{
    if (!QFileInfo(source).isFile())
        raise(err::FileNotFound, kEngine, QStringLiteral("Could not find file '%1'.").arg(source));
    if (QFileInfo(source).size() == 0)
        raise(err::UnrecognizedFormat, kEngine, QStringLiteral("Unrecognized database format '%1'.").arg(source));
    try {
        return openFile(source, SQLITE_OPEN_READWRITE, kEngine);
    } catch (const VbError &) {
        return openFile(source, SQLITE_OPEN_READONLY, kEngine);
    }
}

int numberOf(int rc)
{
    if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT)
        return err::UnrecognizedFormat;
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return err::Locked;
    if ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_PERM)
        return err::CannotOpenFile;
    return err::General;
}

// Every page of from into to, in one step and one write transaction of to. Returns the
// engine's result; text says what failed.
int backUp(sqlite3 *from, sqlite3 *to, QString &text)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        text = QString::fromUtf8(sqlite3_errmsg(to));
        return sqlite3_errcode(to);
    }
    // All pages in one step, under one read lock: a writer that is committing just now
    // makes it wait, briefly, never copy half of its write.
    int rc = SQLITE_OK;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited.elapsed() >= 5000)
            break;
        QThread::msleep(20);
    }
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        rc = sqlite3_errcode(to);
    if (rc != SQLITE_OK)
        text = QString::fromUtf8(rc == sqlite3_errcode(to) ? sqlite3_errmsg(to) : sqlite3_errstr(rc));
    return rc;
}

// A statement of one connection; finalised with it.
struct Statement {
    sqlite3_stmt *stmt = nullptr;
    Statement(sqlite3 *db, const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
            raise(numberOf(sqlite3_errcode(db)), kEngine, QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    bool step(sqlite3 *db) const
    {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            raise(numberOf(rc), kEngine, QString::fromUtf8(sqlite3_errmsg(db)));
        return rc == SQLITE_ROW;
    }
};

bool sameValue(sqlite3_stmt *a, sqlite3_stmt *b, int column)
{
    const int type = sqlite3_column_type(a, column);
    if (type != sqlite3_column_type(b, column))
        return false;
    switch (type) {
    case SQLITE_NULL:
        return true;
    case SQLITE_INTEGER:
        return sqlite3_column_int64(a, column) == sqlite3_column_int64(b, column);
    case SQLITE_FLOAT: {
        const double x = sqlite3_column_double(a, column), y = sqlite3_column_double(b, column);
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    default: {
        const void *x = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(a, column)) : sqlite3_column_blob(a, column);
        const void *y = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(b, column)) : sqlite3_column_blob(b, column);
        const int size = sqlite3_column_bytes(a, column);
        return size == sqlite3_column_bytes(b, column) && (size == 0 || std::memcmp(x, y, size_t(size)) == 0);
    }
    }
}

// Both statements give the same rows, column by column.
bool sameRows(sqlite3 *da, const Statement &a, sqlite3 *db, const Statement &b)
{
    const int columns = sqlite3_column_count(a.stmt);
    if (columns != sqlite3_column_count(b.stmt))
        return false;
    for (;;) {
        const bool rowA = a.step(da), rowB = b.step(db);
        if (rowA != rowB)
            return false;
        if (!rowA)
            return true;
        for (int i = 0; i < columns; ++i)
            if (!sameValue(a.stmt, b.stmt, i))
                return false;
    }
}

QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A connection with a read transaction: what it reads is one committed state.
struct Reading {
    sqlite3 *db;
    explicit Reading(const QString &file) : db(openSource(file))
    {
        try {
            Statement(db, QStringLiteral("BEGIN")).step(db);
            Statement(db, QStringLiteral("SELECT count(*) FROM sqlite_master")).step(db);
        } catch (const VbError &) {
            sqlite3_close_v2(db);
            throw;
        }
    }
    ~Reading() { sqlite3_close_v2(db); }
    Reading(const Reading &) = delete;
    Reading &operator=(const Reading &) = delete;
};

}  // namespace

void CopyDatabase(const QString &source, const QString &target)
{
    sqlite3 *from = openSource(source);
    if (QFileInfo::exists(target)) {
        sqlite3_close_v2(from);
        raise(err::DatabaseExists, kEngine, QStringLiteral("Database already exists."));
    }
    sqlite3 *to = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &to,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString text;
    if (rc == SQLITE_OK)
        rc = backUp(from, to, text);
    else
        text = QString::fromUtf8(to ? sqlite3_errmsg(to) : sqlite3_errstr(rc));
    sqlite3_close_v2(to);
    sqlite3_close_v2(from);
    if (rc != SQLITE_OK) {
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
        raise(numberOf(rc), kEngine, QStringLiteral("%1 ('%2')").arg(text, source));
    }
    try {
        SyncFile(target);
    } catch (const VbError &) {
        QFile::remove(target);
        throw;
    }
}

void OverwriteDatabase(const QString &source, const QString &target)
{
    if (!QFileInfo(target).isFile())
        raise(err::FileNotFound, kEngine, QStringLiteral("Could not find file '%1'.").arg(target));
    sqlite3 *from = openSource(source);
    sqlite3 *to = nullptr;
    try {
        to = openFile(target, SQLITE_OPEN_READWRITE, kEngine);
    } catch (const VbError &) {
        sqlite3_close_v2(from);
        throw;
    }
    // The engine commits the copy with its journal, on the disk, as any write of it.
    QString text;
    const int rc = backUp(from, to, text);
    sqlite3_close_v2(to);
    sqlite3_close_v2(from);
    if (rc != SQLITE_OK)
        raise(numberOf(rc), kEngine, QStringLiteral("%1 ('%2')").arg(text, target));
}

bool SameContent(const QString &a, const QString &b, const QStringList &except)
{
    const Reading ra(a), rb(b);
    QStringList left;
    for (const QString &name : except)
        left << QLatin1Char('\'') + name.toLower().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    const QString schema = QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master")
                           + (left.isEmpty() ? QString() : QStringLiteral(" WHERE lower(tbl_name) NOT IN (") + left.join(QLatin1Char(',')) + QLatin1Char(')'))
                           + QStringLiteral(" ORDER BY type, name");
    if (!sameRows(ra.db, Statement(ra.db, schema), rb.db, Statement(rb.db, schema)))
        return false;
    const Statement tables(ra.db, QStringLiteral("SELECT name FROM (") + schema + QStringLiteral(") WHERE type='table'"));
    while (tables.step(ra.db)) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(tables.stmt, 0)));
        // By row id where the table has one; a table without keeps its key's order.
        QString rows = QStringLiteral("SELECT _rowid_, * FROM ") + quotedName(name) + QStringLiteral(" ORDER BY _rowid_");
        try {
            Statement probe(ra.db, rows);
        } catch (const VbError &) {
            rows = QStringLiteral("SELECT * FROM ") + quotedName(name);
        }
        if (!sameRows(ra.db, Statement(ra.db, rows), rb.db, Statement(rb.db, rows)))
            return false;
    }
    return true;
}

void SyncFile(const QString &path)
{
    const auto syncPath = [](const QString &p, int flags) {
        const int fd = ::open(QFile::encodeName(p).constData(), flags | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool ok = ::fsync(fd) == 0;
        ::close(fd);
        return ok;
    };
    if (!syncPath(path, O_RDONLY))
        raise(err::General, kEngine, QStringLiteral("The file '%1' could not be written to the disk.").arg(path));
    // The name too: a rename or a new file is only safe once its folder is written.
    syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
}

}  // namespace dao
