#pragma once

#include "variant.h"
#include "vberror.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The program's data access objects: workspaces, databases, table definitions and
// recordsets as the program uses them, over SQLite files. The statements are the old
// engine's; the layer makes SQLite answer them as that engine did (see jetsql.h).
// The layer never shows a window: every failure is a VbError with the engine's text.
namespace dao {

enum RecordsetTypeEnum { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4, dbOpenForwardOnly = 8 };

// Field types, numbered as the old engine reported them.
enum DataTypeEnum {
    dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbCurrency = 5, dbSingle = 6,
    dbDouble = 7, dbDate = 8, dbBinary = 9, dbText = 10, dbLongBinary = 11, dbMemo = 12,
    dbGUID = 15, dbBigInt = 16, dbChar = 18, dbNumeric = 19, dbDecimal = 20, dbFloat = 21,
};

// The old engine's error numbers that the layer raises.
namespace err {
inline constexpr int General = 3000;
inline constexpr int UpdateWithoutEdit = 3020;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DuplicateKey = 3022;
inline constexpr int FileNotFound = 3024;
inline constexpr int ReadOnly = 3027;
inline constexpr int NoTransaction = 3034;
inline constexpr int CannotOpenFile = 3051;
inline constexpr int TooFewParameters = 3061;  // the old engine's answer to an unknown column
inline constexpr int CannotExecuteSelect = 3065;
inline constexpr int SyntaxError = 3075;
inline constexpr int TableNotFound = 3078;
inline constexpr int CharactersAfterEnd = 3142;
inline constexpr int RecordDeleted = 3167;
inline constexpr int DatabaseExists = 3204;
inline constexpr int Locked = 3218;
inline constexpr int ItemNotFound = 3265;
inline constexpr int NullNotAllowed = 3314;
inline constexpr int UnrecognizedFormat = 3343;
inline constexpr int ObjectInvalid = 3420;
inline constexpr int ConversionError = 3421;
}  // namespace err

class Database;
class Recordset;
class TableDef;
class Workspace;

// What is known of one column: of a table, or of a recordset's result.
struct FieldInfo {
    QString name;
    int type = dbText;
    int size = 0;
    bool required = false;
    bool allowZeroLength = false;
};

// One field of a table definition or of a recordset's current record.
class Field
{
public:
    const QString &Name() const { return m_info->name; }
    int Type() const { return m_info->type; }
    int Size() const { return m_info->size; }
    bool Required() const { return m_info->required; }
    bool AllowZeroLength() const { return m_info->allowZeroLength; }
    // The layer keeps no size or empty-text rules; the flag is kept for those who read it.
    void SetAllowZeroLength(bool allow) { m_info->allowZeroLength = allow; }

    // Recordset fields only: the value of the current record, and (between Edit or
    // AddNew and Update) a new value for it.
    Variant Value() const;
    void SetValue(const Variant &value);
    operator Variant() const { return Value(); }

private:
    friend class Recordset;
    friend class TableDef;
    Field(FieldInfo *info, Recordset *rs, int index) : m_info(info), m_rs(rs), m_index(index) {}
    FieldInfo *m_info;
    Recordset *m_rs;
    int m_index;
};

class TableDef
{
public:
    const QString &Name() const { return m_name; }
    // Renames the table in the database.
    void SetName(const QString &name);
    int FieldCount() const { return int(m_fields.size()); }
    Field Fields(int index);
    Field Fields(const QString &name);  // case-insensitive; 3265 when there is none

private:
    friend class Database;
    friend class TableDefList;
    TableDef(Database *db, QString name, std::vector<FieldInfo> fields)
        : m_db(db), m_name(std::move(name)), m_fields(std::move(fields)) {}
    Database *m_db;
    QString m_name;
    std::vector<FieldInfo> m_fields;
    std::vector<std::vector<FieldInfo>> m_retiredFields;  // still pointed at by older Field objects
};

// The tables of a database as they were when last read: walking them while tables are
// dropped keeps every position; Refresh reads them anew.
class TableDefList
{
public:
    int Count();
    TableDef &operator[](int index);
    TableDef &operator[](const QString &name);  // case-insensitive; 3265 when there is none
    void Refresh();

private:
    friend class Database;
    explicit TableDefList(Database *db) : m_db(db) {}
    void ensureLoaded();
    Database *m_db;
    bool m_loaded = false;
    std::vector<std::unique_ptr<TableDef>> m_tables;
    std::vector<std::unique_ptr<TableDef>> m_retired;  // dropped tables' objects, kept for their holders
};

class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &Name() const { return m_path; }
    bool IsOpen() const { return m_db != nullptr; }
    // Expires when this object is destroyed: a holder of a plain pointer (the table
    // editor control) checks it before every use, since the owner may replace the object.
    std::weak_ptr<const void> Lifetime() const { return m_lifetime; }

    // Runs exactly one statement; text after it is refused, never run.
    void Execute(const QString &sql, int options = 0);
    long RecordsAffected() const { return m_recordsAffected; }
    // dbOpenForwardOnly reads on with MoveNext only and keeps just the current record, so
    // that a long read holds one row in memory, not every row it has passed.
    std::unique_ptr<Recordset> OpenRecordset(const QString &sql, int type = dbOpenDynaset);
    TableDefList &TableDefs() { return m_tableDefs; }
    // How the engine means to run a select: the steps of its plan, as SQLite words them
    // ("SEARCH Katalog USING INDEX ...", "USE TEMP B-TREE FOR ORDER BY").
    QStringList QueryPlan(const QString &sql);
    // From now on a statement under way, or a wait for another connection's lock, ends
    // with an error as soon as `stop` answers true (asked often, from the thread that runs
    // the statement): a reader in a thread of its own gives up at once when told to. An
    // empty function takes the check away. A wait for a lock lasts at most `busyMs`.
    void StopWhen(std::function<bool()> stop, int busyMs = 2000);
    // Ends the open recordsets too: they are no longer usable.
    void Close();

private:
    friend class Workspace;
    friend class Recordset;
    friend class TableDef;
    friend class dao::TableDefList;
    Database(Workspace *ws, QString path, sqlite3 *db);

    sqlite3 *handle() const;
    // A write must not run while a result is still being read: an unfinished read keeps
    // the engine's implicit transaction open and the write would not reach the file.
    void finishReads();
    void exec(const QString &sql);  // the layer's own statements, no rewriting
    void executeSelectInto(const QString &table, const QString &select);

    Workspace *m_ws;
    QString m_path;
    sqlite3 *m_db;
    long m_recordsAffected = 0;
    int m_transactionDepth = 0;
    dao::TableDefList m_tableDefs{this};
    std::vector<Recordset *> m_recordsets;
    std::shared_ptr<int> m_lifetime = std::make_shared<int>(0);
    std::function<bool()> m_stop;
    int m_busyMs = 0;
};

class Recordset
{
public:
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // EOF and BOF of the old interface (EOF is a C macro, hence the spelling).
    bool Eof() const { return m_pos >= rowCount(); }
    bool Bof() const { return m_pos < 0 || rowCount() == 0; }
    // The records reached so far; after MoveLast, all of them.
    int RecordCount() const { return rowCount(); }
    // All the rows the query gives, counted by the engine without reading them here: a
    // window shows "1000 of 5000" before it has read past the thousandth.
    int QueryRowCount() const;
    int AbsolutePosition() const { return Eof() || Bof() ? -1 : m_pos; }

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();

    int FieldCount() const { return int(m_fields.size()); }
    Field Fields(int index);
    Field Fields(const QString &name);  // case-insensitive; 3265 when there is none
    Variant operator[](int index) const { return value(index); }
    Variant operator[](const QString &name) const { return value(indexOf(name)); }

    // Changes through the recordset: only where it reads one table.
    bool Updatable() const { return !m_table.isEmpty(); }
    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();

    void Close();

private:
    friend class Database;
    friend class Field;

    struct Cell {
        union {
            qint64 i;
            double d;
            struct {
                quint32 offset;
                quint32 length;
            } text;
        };
        quint8 type;  // the engine's storage class
    };

    Recordset(Database *db, sqlite3_stmt *stmt, int firstColumn, QString table, bool forwardOnly = false);
    int rowCount() const { return int(m_cells.size() / std::max<size_t>(1, m_width)); }
    bool fetchRow();   // one more row into the buffer; false at the end
    void fetchAll();
    void finish();     // the statement is done with: the read ends
    void checkOpen() const;
    void checkCurrent() const;
    int indexOf(const QString &name) const;
    Variant value(int index) const;
    Variant cellValue(const Cell &cell, int type) const;
    void setValue(int index, const Variant &v);
    void storeCell(Cell &cell, const Variant &v);
    void skipDeleted(int step);

    Database *m_db;
    sqlite3_stmt *m_stmt;
    int m_firstColumn;  // a hidden row id stands before the fields of an updatable result
    QString m_table;
    QString m_sql;  // as the engine took it, for counting
    std::vector<FieldInfo> m_fields;
    QHash<QString, int> m_byName;  // lower-case name to index
    size_t m_width = 0;
    std::vector<Cell> m_cells;
    std::vector<qint64> m_rowids;
    std::vector<bool> m_deleted;
    QByteArray m_text;
    int m_pos = 0;
    bool m_forwardOnly = false;
    enum class EditMode { None, Edit, Add } m_editMode = EditMode::None;
    std::vector<Variant> m_editValues;
    std::vector<bool> m_dirty;
    bool m_closed = false;
};

class Workspace
{
public:
    explicit Workspace(QString userName = QStringLiteral("admin"));
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    const QString &UserName() const { return m_user; }
    // The connect string may carry ";pwd=": the files have no password, so it is ignored.
    std::unique_ptr<Database> OpenDatabase(const QString &path, bool exclusive = false, bool readOnly = false,
                                           const QString &connect = QString());
    // A new, empty database file; 3204 when the file exists.
    std::unique_ptr<Database> CreateDatabase(const QString &path, const QString &locale = QString(),
                                             int options = 0);
    // A transaction covers every database open in the workspace; they nest. A commit or
    // rollback that fails ends its level all the same; an outermost commit the engine
    // refused (another connection still reading) is rolled back, so that nothing stays
    // locked and the next transaction reaches the file.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    // Closes the workspace's databases too.
    void Close();

private:
    friend class Database;
    void join(Database *db);
    void endTransaction(bool commit);
    QString m_user;
    std::vector<Database *> m_databases;
    int m_depth = 0;
};

// One transaction of a workspace as a scope: begun when made, kept by Commit(), rolled
// back when the scope is left without it. Leaving by an error, the rollback never takes
// that error's place: a full disk, for one, makes the engine end the transaction by
// itself, and the rollback that then finds none must not hide the cause.
class Transaction
{
public:
    explicit Transaction(Workspace &ws);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Ends the transaction, keeping its writes. A commit that fails ends it as well and
    // raises the engine's error.
    void Commit();
    // Ends it now, taking its writes back; false when the rollback failed (the engine
    // had ended the transaction already) or the transaction was over.
    bool Rollback() noexcept;

private:
    Workspace &m_ws;
    bool m_open = true;
};

// The engine's own services.
std::unique_ptr<Workspace> CreateWorkspace(const QString &name, const QString &user, const QString &password,
                                           int type = 2);
// Writes a compacted copy of a closed database, on the disk before it returns; 3204 when
// the target exists.
void CompactDatabase(const QString &source, const QString &target, const QString &locale = QString(),
                     int options = 0, const QString &sourceConnect = QString());
// Writes a copy of the database file source as its last committed state, through the
// engine's online backup: a write that another connection holds open meanwhile is not in
// it. The copy is on the disk before this returns. 3204 when the target exists; a failure
// leaves no target behind.
void CopyDatabase(const QString &source, const QString &target);
// Writes the last committed state of database source over the database target in one
// write transaction of target, through the engine's online backup: the file target stays
// the same file (a symbolic link naming it stays a link to it), so that every connection
// to it sees the new content at its next reading. Waits for other connections' locks
// as CopyDatabase does; 3218 when they hold on. A failure, or a crash on the way,
// leaves target as it was (the engine's journal).
void OverwriteDatabase(const QString &source, const QString &target);
// True when two databases hold the same: the same tables, views, indexes and triggers,
// and in every table the same rows with the same row ids and values, each of the same
// kind. The tables named in except (any case) are left out. Neither the files' layout
// nor the header's counters count, which every commit and every copy writes anew.
// Reads each database in a read transaction of its own.
bool SameContent(const QString &a, const QString &b, const QStringList &except = {});
// Puts a file's content, and its name in its folder, on the disk.
void SyncFile(const QString &path);
// The errors of the last failed operation, as the engine's error collection held them.
const QList<VbError> &Errors();

}  // namespace dao
