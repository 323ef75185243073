#include "dao_engine.h"

#include "jetsql.h"

#include <QRegularExpression>
#include <cctype>
#include <cmath>
#include <limits>

namespace dao {

namespace {
// Each thread's own: a reader in a thread of its own has its failures to itself.
thread_local QList<VbError> g_errors;
}  // namespace

const QList<VbError> &Errors()
{
    return g_errors;
}

namespace detail {


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

// A value that csng made: the engine keeps numbers in double precision, so the mark is
// what tells str that its argument is a Single, written with a Single's seven digits.
constexpr unsigned int kSingleSubtype = 'S';

void strFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool single = sqlite3_value_subtype(argv[0]) == kSingleSubtype;
    resultText(ctx, vbStr(sqlite3_value_double(argv[0]), single ? 7 : 15));
}

// The runtime's conversions, reading a text as the program reads what a user typed:
// a number with a decimal comma or point (blanks between digit groups passed over), a
// date in d.m.yyyy, dd/mm/yyyy or ISO form with its time. A value that does not convert
// fails the statement, as the runtime's type mismatch does; IsNumeric and IsDate tell
// beforehand.
std::optional<double> numberOf(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_TEXT: return vbParseNumber(argText(v));
    default: return std::nullopt;
    }
}

std::optional<QDateTime> dateOf(sqlite3_value *v)
{
    return sqlite3_value_type(v) == SQLITE_TEXT ? vbParseDate(argText(v)) : std::nullopt;
}

bool refuseNull(sqlite3_context *ctx, sqlite3_value *v)
{
    if (sqlite3_value_type(v) != SQLITE_NULL)
        return false;
    sqlite3_result_error(ctx, "Invalid use of Null", -1);
    return true;
}

void isnumericFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_result_int(ctx, numberOf(argv[0]) ? 1 : 0);
}

void isdateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_result_int(ctx, dateOf(argv[0]) ? 1 : 0);
}

void cdblFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (refuseNull(ctx, argv[0]))
        return;
    if (const auto n = numberOf(argv[0]))
        sqlite3_result_double(ctx, *n);
    else
        sqlite3_result_error(ctx, "Type mismatch", -1);
}

void csngFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (refuseNull(ctx, argv[0]))
        return;
    const auto n = numberOf(argv[0]);
    if (!n) {
        sqlite3_result_error(ctx, "Type mismatch", -1);
        return;
    }
    if (std::isfinite(*n) && std::abs(*n) > double(std::numeric_limits<float>::max())) {
        sqlite3_result_error(ctx, "Overflow", -1);
        return;
    }
    sqlite3_result_double(ctx, double(float(*n)));
    sqlite3_result_subtype(ctx, kSingleSubtype);
}

// A date as the layer stores it: ISO text, so that it compares and sorts as a date.
void cdateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (refuseNull(ctx, argv[0]))
        return;
    if (const auto d = dateOf(argv[0]))
        resultText(ctx, isoText(vbDateFromDateTime(*d)));
    else if (const auto n = numberOf(argv[0]))
        resultText(ctx, isoText(*n));
    else
        sqlite3_result_error(ctx, "Type mismatch", -1);
}

int collationFunction(void *, int aLength, const void *a, int bLength, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLength, static_cast<const char *>(b), bLength);
}

}  // namespace detail

// Newer engines want a function that marks its result to say so.
#ifdef SQLITE_RESULT_SUBTYPE
constexpr int kResultSubtype = SQLITE_RESULT_SUBTYPE;
#else
constexpr int kResultSubtype = 0;
#endif

int registerEngineRules(sqlite3 *db)
{
    using namespace detail;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    const int results[] = {
        sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr),
        sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr),
        // Our format answers before SQLite's own printf-style format of the same name.
        sqlite3_create_function(db, "format", 2, flags, nullptr, formatFunction, nullptr, nullptr),
        sqlite3_create_function(db, "val", 1, flags, nullptr, valFunction, nullptr, nullptr),
        sqlite3_create_function(db, "str", 1, flags | SQLITE_SUBTYPE, nullptr, strFunction, nullptr, nullptr),
        sqlite3_create_function(db, "isnumeric", 1, flags, nullptr, isnumericFunction, nullptr, nullptr),
        sqlite3_create_function(db, "isdate", 1, flags, nullptr, isdateFunction, nullptr, nullptr),
        sqlite3_create_function(db, "cdbl", 1, flags, nullptr, cdblFunction, nullptr, nullptr),
        sqlite3_create_function(db, "csng", 1, flags | kResultSubtype, nullptr, csngFunction, nullptr, nullptr),
        sqlite3_create_function(db, "cdate", 1, flags, nullptr, cdateFunction, nullptr, nullptr),
        sqlite3_create_collation(db, jet::kCollationName, SQLITE_UTF8, nullptr, collationFunction),
    };
    for (const int rc : results)
        if (rc != SQLITE_OK)
            return rc;
    return SQLITE_OK;
}

namespace detail {

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
    case vbSingle:
        // As its seven digits read, like the literal CSQL writes: 0.1f is stored as .1.
        sqlite3_bind_double(stmt, index, QString::number(double(v.toSingle()), 'g', 7).toDouble());
        break;
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
sqlite3_stmt *prepareOne(sqlite3 *db, const QString &sql, const QString &source, bool raiseOnError)
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


}  // namespace detail
}  // namespace dao
