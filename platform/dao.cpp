#include "dao.h"

#include "jetsql.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <sqlite3.h>

namespace dao {

namespace {

QList<VbError> g_errors;

[[noreturn]] void raise(int number, const QString &source, const QString &description)
{
    VbError error(number, source, description);
    g_errors = {error};
    throw error;
}

// The engine's failure as the old engine's number, with SQLite's own words.
[[noreturn]] void raiseEngine(sqlite3 *db, int rc, const QString &source)
{
    const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    int number = err::General;
    switch (rc & 0xff) {
    case SQLITE_BUSY: case SQLITE_LOCKED: number = err::Locked; break;
    case SQLITE_NOTADB: case SQLITE_CORRUPT: number = err::UnrecognizedFormat; break;
    case SQLITE_CANTOPEN: case SQLITE_PERM: number = err::CannotOpenFile; break;
    case SQLITE_READONLY: number = err::ReadOnly; break;
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_NOTNULL)
            number = err::NullNotAllowed;
        else if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            number = err::DuplicateKey;
        break;
    default:
        if (text.startsWith(QLatin1String("no such table")))
            number = err::TableNotFound;
        else if (text.startsWith(QLatin1String("no such column")))
            number = err::TooFewParameters;
        else if (text.contains(QLatin1String("syntax error")) || text.startsWith(QLatin1String("incomplete input"))
                 || text.startsWith(QLatin1String("unrecognized token")))
            number = err::SyntaxError;  // a statement cut short or an open quote is a syntax error too
        break;
    }
    raise(number, source, text);
}

const QString kDatabase = QStringLiteral("DAO.Database");
const QString kRecordset = QStringLiteral("DAO.Recordset");
const QString kWorkspace = QStringLiteral("DAO.Workspace");
const QString kEngine = QStringLiteral("DAO.DBEngine");
const QString kFields = QStringLiteral("DAO.Fields");
const QString kTableDefs = QStringLiteral("DAO.TableDefs");

[[noreturn]] void noCurrentRecord()
{
    raise(err::NoCurrentRecord, kRecordset, QStringLiteral("No current record."));
}

[[noreturn]] void itemNotFound(const QString &source)
{
    raise(err::ItemNotFound, source, QStringLiteral("Item not found in this collection."));
}

// ---- the old engine's functions and collation, registered on every connection

QString argText(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

Variant argVariant(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return Variant::Null();
    case SQLITE_INTEGER: {
        const qint64 i = sqlite3_value_int64(v);
        return i >= INT32_MIN && i <= INT32_MAX ? Variant(int(i)) : Variant(double(i));
    }
    case SQLITE_FLOAT: return Variant(sqlite3_value_double(v));
    default: return argText(v);
    }
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    // The engine calls like(pattern, text) for "text LIKE pattern".
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, jet::likeMatch(argText(argv[1]), argText(argv[0])) ? 1 : 0);
}

void formatFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    const Variant value = argVariant(argv[0]);
    if (argc < 2 || value.IsNull()) {
        sqlite3_result_null(ctx);
        return;
    }
    try {
        const Variant r = jet::format(value, argText(argv[1]));
        if (r.IsNull())
            sqlite3_result_null(ctx);
        else
            resultText(ctx, r.toString());
    } catch (const VbError &e) {
        resultText(ctx, value.IsString() ? value.stringValue() : QString());
    }
}

void valFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: case SQLITE_FLOAT: sqlite3_result_value(ctx, argv[0]); return;
    default: sqlite3_result_double(ctx, vbVal(argText(argv[0])));
    }
}

void strFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, vbStr(sqlite3_value_double(argv[0])));
}

int collationFunction(void *, int aLength, const void *a, int bLength, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLength, static_cast<const char *>(b), bLength);
}

void registerEngineRules(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
    // Our format answers before SQLite's own printf-style format of the same name.
    sqlite3_create_function(db, "format", 2, flags, nullptr, formatFunction, nullptr, nullptr);
    sqlite3_create_function(db, "val", 1, flags, nullptr, valFunction, nullptr, nullptr);
    sqlite3_create_function(db, "str", 1, flags, nullptr, strFunction, nullptr, nullptr);
    sqlite3_create_collation(db, jet::kCollationName, SQLITE_UTF8, nullptr, collationFunction);
}

// ---- declared types

FieldInfo fieldFromDeclaration(const QString &name, const QString &declared)
{
    FieldInfo f;
    f.name = name;
    QString base = declared.trimmed().toLower();
    int size = 0;
    if (const qsizetype paren = base.indexOf(QLatin1Char('(')); paren >= 0) {
        size = base.mid(paren + 1).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(','), 0, 0).trimmed().toInt();
        base = base.left(paren).trimmed();
    }
    base = base.section(QLatin1Char(' '), 0, 0);
    struct Kind { const char *name; int type; int size; };
    static const Kind kinds[] = {
        {"bit", dbBoolean, 1}, {"yesno", dbBoolean, 1}, {"logical", dbBoolean, 1}, {"boolean", dbBoolean, 1},
        {"byte", dbByte, 1}, {"tinyint", dbByte, 1},
        {"smallint", dbInteger, 2}, {"short", dbInteger, 2},
        {"integer", dbLong, 4}, {"int", dbLong, 4}, {"long", dbLong, 4}, {"counter", dbLong, 4},
        {"autoincrement", dbLong, 4},
        {"currency", dbCurrency, 8}, {"money", dbCurrency, 8},
        {"single", dbSingle, 4}, {"real", dbSingle, 4}, {"float4", dbSingle, 4},
        {"double", dbDouble, 8}, {"float", dbDouble, 8}, {"float8", dbDouble, 8}, {"number", dbDouble, 8},
        {"numeric", dbDecimal, 16}, {"decimal", dbDecimal, 16},
        {"date", dbDate, 8}, {"datetime", dbDate, 8}, {"time", dbDate, 8}, {"timestamp", dbDate, 8},
        {"varchar", dbText, 255}, {"text", dbText, 255}, {"string", dbText, 255}, {"nvarchar", dbText, 255},
        {"alphanumeric", dbText, 255},
        {"char", dbChar, 255}, {"nchar", dbChar, 255}, {"character", dbChar, 255},
        {"longchar", dbMemo, 0}, {"memo", dbMemo, 0}, {"longtext", dbMemo, 0}, {"note", dbMemo, 0},
        {"bigint", dbBigInt, 8},
        {"binary", dbBinary, 255}, {"varbinary", dbBinary, 255}, {"longbinary", dbLongBinary, 0},
        {"blob", dbLongBinary, 0}, {"image", dbLongBinary, 0},
    };
    f.type = 0;  // no declaration: the value's own kind decides
    for (const Kind &k : kinds) {
        if (base == QLatin1String(k.name)) {
            f.type = k.type;
            f.size = size > 0 && (k.type == dbText || k.type == dbChar || k.type == dbBinary) ? size : k.size;
            break;
        }
    }
    f.allowZeroLength = f.type == dbText || f.type == dbChar || f.type == dbMemo;
    return f;
}

// ISO text as written by the layer, read without a regular expression: the fast path of
// every date column.
std::optional<double> isoDate(const char *s, int n)
{
    const auto digits = [s](int at, int count) {
        int v = 0;
        for (int i = at; i < at + count; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    if ((n != 10 && n != 19) || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    const QDate date(y, m, d);
    if (y < 0 || m < 0 || d < 0 || !date.isValid())
        return std::nullopt;
    double fraction = 0;
    if (n == 19) {
        if (s[10] != ' ' || s[13] != ':' || s[16] != ':')
            return std::nullopt;
        const int h = digits(11, 2), mi = digits(14, 2), se = digits(17, 2);
        if (h < 0 || h > 23 || mi < 0 || mi > 59 || se < 0 || se > 59)
            return std::nullopt;
        fraction = (h * 3600 + mi * 60 + se) / 86400.0;
    }
    static const QDate epoch(1899, 12, 30);
    const double days = double(epoch.daysTo(date));
    return days >= 0 ? days + fraction : days - fraction;
}

QString isoText(double oleDate)
{
    // Date and time apart: a local time the clock skips (spring forward) makes the
    // QDateTime invalid and its own toString() empty, yet its date and time are kept.
    const QDateTime dt = vbDateToDateTime(oleDate);
    return dt.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
           + dt.time().toString(QStringLiteral("HH:mm:ss"));
}

// A value as a statement parameter, the way the layer stores each kind.
void bindVariant(sqlite3_stmt *stmt, int index, const Variant &v)
{
    switch (v.VarType()) {
    case vbEmpty: case vbNull: sqlite3_bind_null(stmt, index); break;
    case vbBoolean: sqlite3_bind_int(stmt, index, v.toBool() ? 1 : 0); break;
    case vbInteger: case vbLong: case vbByte: sqlite3_bind_int64(stmt, index, v.toLong()); break;
    case vbDate: {
        const QByteArray u = isoText(v.toDate()).toUtf8();
        sqlite3_bind_text(stmt, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    case vbString: {
        const QByteArray u = v.stringValue().toUtf8();
        sqlite3_bind_text(stmt, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    default: sqlite3_bind_double(stmt, index, v.toDouble()); break;
    }
}

QString quoted(const QString &identifier)
{
    return QLatin1Char('[') + identifier + QLatin1Char(']');
}

bool onlyBlanksOrSemicolons(const char *tail)
{
    for (; tail && *tail; ++tail)
        if (*tail != ';' && !std::isspace(static_cast<unsigned char>(*tail)))
            return false;
    return true;
}

// Prepares one statement; anything after it is refused, so that text typed by a user
// can never smuggle in a second statement.
sqlite3_stmt *prepareOne(sqlite3 *db, const QString &sql, const QString &source, bool raiseOnError = true)
{
    const QByteArray u = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, u.constData(), int(u.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        if (!raiseOnError)
            return nullptr;
        raiseEngine(db, rc, source);
    }
    if (!onlyBlanksOrSemicolons(tail)) {
        sqlite3_finalize(stmt);
        if (!raiseOnError)
            return nullptr;
        raise(err::CharactersAfterEnd, source, QStringLiteral("Characters found after end of SQL statement."));
    }
    if (!stmt) {
        if (!raiseOnError)
            return nullptr;
        raise(err::SyntaxError, source, QStringLiteral("Empty statement."));
    }
    return stmt;
}

struct StatementGuard {
    sqlite3_stmt *stmt;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

// GROUP BY in the statement itself (not in a subquery, a string or a bracketed name): its
// records stand for groups, and no row can be changed through them.
bool groupsRows(const QString &sql)
{
    QString top;
    int depth = 0;
    QChar close;
    for (const QChar c : sql) {
        if (!close.isNull()) {
            if (c == close)
                close = QChar();
            top += QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
            close = c;
        else if (c == QLatin1Char('['))
            close = QLatin1Char(']');
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        top += depth == 0 && close.isNull() && c != QLatin1Char(')') ? c : QLatin1Char(' ');
    }
    static const QRegularExpression groupBy(QStringLiteral("\\bgroup\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return groupBy.match(top).hasMatch();
}

bool startsWithWord(const QString &sql, const char *word)
{
    const QString t = sql.trimmed();
    const int n = int(qstrlen(word));
    return t.size() >= n && t.left(n).compare(QLatin1String(word), Qt::CaseInsensitive) == 0
           && (t.size() == n || !t[n].isLetterOrNumber());
}

}  // namespace

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
    const jet::Statement statement = jet::rewrite(sql);
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
    return std::unique_ptr<Recordset>(new Recordset(this, stmt, 0, QString()));
}

// ================================================================ Recordset

Recordset::Recordset(Database *db, sqlite3_stmt *stmt, int firstColumn, QString table)
    : m_db(db), m_stmt(stmt), m_firstColumn(firstColumn), m_table(std::move(table))
{
    const int count = sqlite3_column_count(stmt);
    for (int i = firstColumn; i < count; ++i) {
        const char *decl = sqlite3_column_decltype(stmt, i);
        FieldInfo f = fieldFromDeclaration(QString::fromUtf8(sqlite3_column_name(stmt, i)),
                                           decl ? QString::fromUtf8(decl) : QString());
        m_byName.insert(f.name.toLower(), int(m_fields.size()));
        m_fields.push_back(std::move(f));
    }
    m_width = m_fields.size();
    m_db->m_recordsets.push_back(this);
    // Like the old engine, a new recordset stands on its first record; a failure to read
    // it (a locked or damaged file) is the opening's failure.
    try {
        fetchRow();
    } catch (...) {
        auto &list = m_db->m_recordsets;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_db = nullptr;
        m_closed = true;
        throw;
    }
}

Recordset::~Recordset()
{
    Close();
}

void Recordset::Close()
{
    finish();
    if (m_db) {
        auto &list = m_db->m_recordsets;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        m_db = nullptr;
    }
    m_closed = true;
}

void Recordset::finish()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

bool Recordset::fetchRow()
{
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_DONE) {
        finish();
        return false;
    }
    if (rc != SQLITE_ROW) {
        sqlite3 *db = sqlite3_db_handle(m_stmt);
        const QString text = QString::fromUtf8(sqlite3_errmsg(db));
        finish();
        raise((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED ? err::Locked : err::General, kRecordset, text);
    }
    if (m_firstColumn)
        m_rowids.push_back(sqlite3_column_int64(m_stmt, 0));
    m_deleted.push_back(false);
    for (size_t i = 0; i < m_width; ++i) {
        const int column = int(i) + m_firstColumn;
        Cell cell{};
        cell.type = quint8(sqlite3_column_type(m_stmt, column));
        switch (cell.type) {
        case SQLITE_INTEGER: cell.i = sqlite3_column_int64(m_stmt, column); break;
        case SQLITE_FLOAT: cell.d = sqlite3_column_double(m_stmt, column); break;
        case SQLITE_NULL: break;
        default: {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
            const int length = sqlite3_column_bytes(m_stmt, column);
            cell.type = SQLITE_TEXT;
            cell.text.offset = quint32(m_text.size());
            cell.text.length = quint32(length);
            m_text.append(text, length);
        }
        }
        m_cells.push_back(cell);
    }
    return true;
}

void Recordset::fetchAll()
{
    while (fetchRow()) {
    }
}

void Recordset::checkOpen() const
{
    if (m_closed)
        raise(err::ObjectInvalid, kRecordset, QStringLiteral("Object invalid or no longer set."));
}

void Recordset::checkCurrent() const
{
    checkOpen();
    if (Eof() || Bof())
        noCurrentRecord();
    if (m_deleted[size_t(m_pos)])
        raise(err::RecordDeleted, kRecordset, QStringLiteral("Record is deleted."));
}

void Recordset::skipDeleted(int step)
{
    while (m_pos >= 0) {
        if (m_pos >= rowCount() && !fetchRow())
            return;
        if (!m_deleted[size_t(m_pos)])
            return;
        m_pos += step;
    }
}

void Recordset::MoveFirst()
{
    checkOpen();
    CancelUpdate();
    if (rowCount() == 0)
        noCurrentRecord();
    m_pos = 0;
    skipDeleted(1);
}

void Recordset::MoveNext()
{
    checkOpen();
    if (Eof())
        noCurrentRecord();
    CancelUpdate();
    ++m_pos;
    skipDeleted(1);
}

void Recordset::MovePrevious()
{
    checkOpen();
    if (Bof())
        noCurrentRecord();
    CancelUpdate();
    --m_pos;
    skipDeleted(-1);
}

void Recordset::MoveLast()
{
    checkOpen();
    CancelUpdate();
    fetchAll();
    if (rowCount() == 0)
        noCurrentRecord();
    m_pos = rowCount() - 1;
    skipDeleted(-1);
}

int Recordset::indexOf(const QString &name) const
{
    const auto it = m_byName.constFind(name.toLower());
    if (it == m_byName.constEnd())
        itemNotFound(kRecordset);
    return *it;
}

Field Recordset::Fields(int index)
{
    checkOpen();
    if (index < 0 || index >= FieldCount())
        itemNotFound(kRecordset);
    return Field(&m_fields[size_t(index)], this, index);
}

Field Recordset::Fields(const QString &name)
{
    checkOpen();
    const int index = indexOf(name);
    return Field(&m_fields[size_t(index)], this, index);
}

Variant Recordset::value(int index) const
{
    if (index < 0 || index >= FieldCount())
        itemNotFound(kRecordset);
    if (m_editMode != EditMode::None && m_dirty[size_t(index)])
        return m_editValues[size_t(index)];
    if (m_editMode == EditMode::Add)
        return Variant::Null();
    checkCurrent();
    return cellValue(m_cells[size_t(m_pos) * m_width + size_t(index)], m_fields[size_t(index)].type);
}

Variant Recordset::cellValue(const Cell &cell, int type) const
{
    switch (cell.type) {
    case SQLITE_NULL:
        return Variant::Null();
    case SQLITE_INTEGER:
        switch (type) {
        case dbBoolean: return Variant(cell.i != 0);  // any non-zero value is Yes
        case dbByte:
            if (cell.i >= 0 && cell.i <= 255)
                return Variant(quint8(cell.i));
            break;
        case dbInteger:
            if (cell.i >= INT16_MIN && cell.i <= INT16_MAX)
                return Variant(qint16(cell.i));
            break;
        case dbSingle: return Variant(float(cell.i));
        case dbDouble: case dbFloat: return Variant(double(cell.i));
        case dbDecimal: case dbNumeric: return Variant::fromDecimal(double(cell.i));
        case dbCurrency: return Variant::fromCurrency(double(cell.i));
        case dbDate: return Variant::fromDate(double(cell.i));
        case dbText: case dbChar: case dbMemo: return QString::number(cell.i);
        default: break;
        }
        if (cell.i >= INT32_MIN && cell.i <= INT32_MAX)
            return Variant(int(cell.i));
        return Variant(double(cell.i));
    case SQLITE_FLOAT:
        switch (type) {
        case dbBoolean: return Variant(cell.d != 0);
        case dbSingle: return Variant(float(cell.d));  // single columns read back single
        case dbCurrency: return Variant::fromCurrency(cell.d);
        case dbDecimal: case dbNumeric: return Variant::fromDecimal(cell.d);
        case dbDate: return Variant::fromDate(cell.d);
        case dbText: case dbChar: case dbMemo: return QString::number(cell.d, 'g', 15);
        default: return Variant(cell.d);
        }
    default: {
        const char *text = m_text.constData() + cell.text.offset;
        const int length = int(cell.text.length);
        if (type == dbDate) {
            if (const auto d = isoDate(text, length))
                return Variant::fromDate(*d);
            const QString s = QString::fromUtf8(text, length);
            if (s.trimmed().isEmpty())
                return Variant::Null();
            if (const auto parsed = vbParseDate(s))
                return Variant(*parsed);
            return s;
        }
        QString s = QString::fromUtf8(text, length);
        if (type == dbBoolean) {
            const Variant v(s);
            try {
                return Variant(v.toBool());
            } catch (const VbError &) {
                return s;
            }
        }
        return s;
    }
    }
}

void Recordset::storeCell(Cell &cell, const Variant &v)
{
    cell = Cell{};
    switch (v.VarType()) {
    case vbEmpty: case vbNull: cell.type = SQLITE_NULL; break;
    case vbBoolean: cell.type = SQLITE_INTEGER; cell.i = v.toBool() ? 1 : 0; break;
    case vbInteger: case vbLong: case vbByte: cell.type = SQLITE_INTEGER; cell.i = v.toLong(); break;
    case vbString: case vbDate: {
        const QByteArray u = v.VarType() == vbDate ? isoText(v.toDate()).toUtf8() : v.stringValue().toUtf8();
        cell.type = SQLITE_TEXT;
        cell.text.offset = quint32(m_text.size());
        cell.text.length = quint32(u.size());
        m_text.append(u);
        break;
    }
    default: cell.type = SQLITE_FLOAT; cell.d = v.toDouble(); break;
    }
}

void Recordset::setValue(int index, const Variant &v)
{
    checkOpen();
    if (m_editMode == EditMode::None)
        raise(err::UpdateWithoutEdit, kRecordset, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (index < 0 || index >= FieldCount())
        itemNotFound(kRecordset);
    m_editValues[size_t(index)] = v;
    m_dirty[size_t(index)] = true;
}

void Recordset::AddNew()
{
    checkOpen();
    if (!Updatable())
        raise(err::ReadOnly, kRecordset, QStringLiteral("Cannot update. Database or object is read-only."));
    m_editMode = EditMode::Add;
    m_editValues.assign(m_width, Variant::Null());
    m_dirty.assign(m_width, false);
}

void Recordset::Edit()
{
    checkCurrent();
    if (!Updatable())
        raise(err::ReadOnly, kRecordset, QStringLiteral("Cannot update. Database or object is read-only."));
    m_editMode = EditMode::Edit;
    m_editValues.assign(m_width, Variant());
    m_dirty.assign(m_width, false);
}

void Recordset::CancelUpdate()
{
    m_editMode = EditMode::None;
    m_editValues.clear();
    m_dirty.clear();
}

void Recordset::Update()
{
    checkOpen();
    if (m_editMode == EditMode::None)
        raise(err::UpdateWithoutEdit, kRecordset, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    sqlite3 *db = m_db->handle();
    m_db->finishReads();
    std::vector<size_t> changed;
    for (size_t i = 0; i < m_width; ++i)
        if (m_dirty[i])
            changed.push_back(i);
    if (changed.empty() && m_editMode == EditMode::Edit) {
        CancelUpdate();
        return;
    }
    QString sql;
    if (m_editMode == EditMode::Add) {
        QStringList names, marks;
        for (size_t i : changed) {
            names << quoted(m_fields[i].name);
            marks << QStringLiteral("?");
        }
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(quoted(m_table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    } else {
        QStringList sets;
        for (size_t i : changed)
            sets << quoted(m_fields[i].name) + QStringLiteral("=?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=?").arg(quoted(m_table), sets.join(QLatin1Char(',')));
    }
    sqlite3_stmt *stmt = prepareOne(db, sql, kRecordset);
    StatementGuard guard{stmt};
    int param = 1;
    for (size_t i : changed)
        bindVariant(stmt, param++, m_editValues[i]);
    if (m_editMode == EditMode::Edit)
        sqlite3_bind_int64(stmt, param, m_rowids[size_t(m_pos)]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        raiseEngine(db, rc, kRecordset);
    if (m_editMode == EditMode::Edit)
        for (size_t i : changed)
            storeCell(m_cells[size_t(m_pos) * m_width + i], m_editValues[i]);
    CancelUpdate();
}

void Recordset::Delete()
{
    checkCurrent();
    if (!Updatable())
        raise(err::ReadOnly, kRecordset, QStringLiteral("Cannot update. Database or object is read-only."));
    sqlite3 *db = m_db->handle();
    m_db->finishReads();
    sqlite3_stmt *stmt = prepareOne(db, QStringLiteral("DELETE FROM %1 WHERE _rowid_=?").arg(quoted(m_table)), kRecordset);
    StatementGuard guard{stmt};
    sqlite3_bind_int64(stmt, 1, m_rowids[size_t(m_pos)]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        raiseEngine(db, rc, kRecordset);
    m_deleted[size_t(m_pos)] = true;
}

// ================================================================ Workspace

Workspace::Workspace(QString userName) : m_user(std::move(userName)) {}

Workspace::~Workspace()
{
    // Losing the workspace object does not close the databases that still have users:
    // they go on without it, outside any transaction of it.
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
    return std::unique_ptr<Database>(new Database(this, path, db));
}

std::unique_ptr<Database> Workspace::CreateDatabase(const QString &path, const QString &, int)
{
    if (QFileInfo::exists(path))
        raise(err::DatabaseExists, kWorkspace, QStringLiteral("Database already exists."));
    sqlite3 *db = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, kWorkspace);
    return std::unique_ptr<Database>(new Database(this, path, db));
}

void Workspace::BeginTrans()
{
    ++m_depth;
    for (Database *db : m_databases) {
        db->finishReads();
        db->exec(QStringLiteral("SAVEPOINT oskal_trans_%1").arg(m_depth));
        db->m_transactionDepth = m_depth;
    }
}

void Workspace::CommitTrans()
{
    if (m_depth == 0)
        raise(err::NoTransaction, kWorkspace,
              QStringLiteral("You tried to commit or rollback without first beginning a transaction."));
    for (Database *db : m_databases)
        if (db->m_transactionDepth == m_depth) {
            db->finishReads();
            db->exec(QStringLiteral("RELEASE oskal_trans_%1").arg(m_depth));
            db->m_transactionDepth = m_depth - 1;
        }
    --m_depth;
}

void Workspace::Rollback()
{
    if (m_depth == 0)
        raise(err::NoTransaction, kWorkspace,
              QStringLiteral("You tried to commit or rollback without first beginning a transaction."));
    for (Database *db : m_databases)
        if (db->m_transactionDepth == m_depth) {
            db->finishReads();
            db->exec(QStringLiteral("ROLLBACK TO oskal_trans_%1").arg(m_depth));
            db->exec(QStringLiteral("RELEASE oskal_trans_%1").arg(m_depth));
            db->m_transactionDepth = m_depth - 1;
        }
    --m_depth;
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
}

const QList<VbError> &Errors()
{
    return g_errors;
}

}  // namespace dao
