#include "dao_engine.h"


#include <algorithm>

namespace dao {

using namespace detail;

// ================================================================ Recordset

namespace {

// A value in the type of the column it is written to; an empty text in a column that holds
// no text is Null. A value that cannot take the type raises the old engine's 3421.
Variant toColumnType(const Variant &v, const FieldInfo &field)
{
    if (v.IsNull() || v.IsEmpty())
        return Variant::Null();
    const bool text = field.type == dbText || field.type == dbChar || field.type == dbMemo;
    if (v.IsString() && !text && field.type != 0 && v.stringValue().trimmed().isEmpty())
        return Variant::Null();
    try {
        switch (field.type) {
        case dbBoolean: return Variant(v.toBool());
        case dbByte: return Variant(v.toByte());
        case dbInteger: return Variant(v.toInteger());
        case dbLong: return Variant(int(v.toLong()));
        case dbSingle: return Variant(v.toSingle());
        case dbDouble: case dbFloat: case dbDecimal: case dbNumeric: return Variant(v.toDouble());
        case dbCurrency: return Variant::fromCurrency(v.toCurrency());
        case dbDate: return Variant::fromDate(v.toDate());
        case dbText: case dbChar: case dbMemo: return Variant(v.toString());
        default: return v;
        }
    } catch (const VbError &e) {
        raise(err::ConversionError, kRecordset,
              QStringLiteral("Data type conversion error (%1): %2").arg(field.name, e.Description()));
    }
}

}  // namespace

Recordset::Recordset(Database *db, sqlite3_stmt *stmt, int firstColumn, QString table, bool forwardOnly)
    : m_db(db), m_stmt(stmt), m_firstColumn(firstColumn), m_table(std::move(table)),
      m_sql(QString::fromUtf8(sqlite3_sql(stmt))), m_forwardOnly(forwardOnly)
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

namespace {

// The statement without a trailing ORDER BY of its own (outside brackets and quotes),
// which cannot change how many rows it gives but would make the engine sort them all.
// A LIMIT after it keeps the statement whole.
QString withoutTrailingOrder(const QString &sql)
{
    qsizetype depth = 0, order = -1;
    bool limit = false;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('['))
            quote = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0 && (i == 0 || !sql[i - 1].isLetterOrNumber())) {
            const auto word = [&sql](qsizetype at, QLatin1String w) {
                return QStringView(sql).mid(at).startsWith(w, Qt::CaseInsensitive)
                       && (at + w.size() >= sql.size() || !sql[at + w.size()].isLetterOrNumber());
            };
            if (word(i, QLatin1String("order"))) {
                qsizetype j = i + 5;
                while (j < sql.size() && sql[j].isSpace())
                    ++j;
                if (j > i + 5 && word(j, QLatin1String("by")))
                    order = i;
            } else if (order >= 0 && word(i, QLatin1String("limit"))) {
                limit = true;
            }
        }
    }
    return order >= 0 && !limit ? sql.left(order) : sql;
}

}  // namespace

int Recordset::QueryRowCount() const
{
    checkOpen();
    sqlite3_stmt *stmt = prepareOne(m_db->handle(), QStringLiteral("SELECT count(*) FROM (%1)").arg(withoutTrailingOrder(m_sql)),
                                    kRecordset);
    StatementGuard guard{stmt};
    if (sqlite3_step(stmt) != SQLITE_ROW)
        raise(err::General, kRecordset, QString::fromUtf8(sqlite3_errmsg(m_db->handle())));
    return int(sqlite3_column_int64(stmt, 0));
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
    if (m_forwardOnly) {
        // The record left behind is dropped: only the current one is kept.
        m_cells.clear();
        m_text.resize(0);
        m_rowids.clear();
        m_deleted.clear();
        m_pos = 0;
        fetchRow();
        return;
    }
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
        // The row id comes back: a changed key column changes it too.
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=? RETURNING _rowid_")
                  .arg(quoted(m_table), sets.join(QLatin1Char(',')));
    }
    // Values take the column's type on the way in, as they did in the old engine
    // ("1,5" into a number column is the number 1.5, not a text).
    std::vector<Variant> values;
    for (size_t i : changed)
        values.push_back(toColumnType(m_editValues[i], m_fields[i]));
    sqlite3_stmt *stmt = prepareOne(db, sql, kRecordset);
    StatementGuard guard{stmt};
    int param = 1;
    for (const Variant &v : values)
        bindVariant(stmt, param++, v);
    if (m_editMode == EditMode::Edit)
        sqlite3_bind_int64(stmt, param, m_rowids[size_t(m_pos)]);
    int rc = sqlite3_step(stmt);
    if (m_editMode == EditMode::Edit) {
        if (rc == SQLITE_DONE)  // the row is gone behind the recordset: nothing was saved
            raise(err::RecordDeleted, kRecordset, QStringLiteral("Record is deleted."));
        if (rc == SQLITE_ROW) {
            m_rowids[size_t(m_pos)] = sqlite3_column_int64(stmt, 0);
            rc = sqlite3_step(stmt);
        }
    }
    if (rc != SQLITE_DONE)
        raiseEngine(db, rc, kRecordset);
    if (m_editMode == EditMode::Edit)
        for (size_t k = 0; k < changed.size(); ++k)
            storeCell(m_cells[size_t(m_pos) * m_width + changed[k]], values[k]);
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
    if (sqlite3_changes(db) != 1)
        raise(err::RecordDeleted, kRecordset, QStringLiteral("Record is deleted."));
}

}  // namespace dao
