#include "layoutstore.h"

#include "dao.h"
#include "libroutines.h"
#include "vberror.h"

using tabulix::CSQL;

namespace {

QString keyCondition(const QString &grid, const QString &user, const QString &column)
{
    return QStringLiteral(" where gridname=") + CSQL(grid) + QStringLiteral(" and login=") + CSQL(user)
           + QStringLiteral(" and colname=") + CSQL(column);
}

std::unique_ptr<dao::Recordset> openRow(dao::Database &db, const QString &grid, const QString &user, const QString &column)
{
    return db.OpenRecordset(QStringLiteral("select * from S_Grid") + keyCondition(grid, user, column), dao::dbOpenDynaset);
}

// One field of the row, or Null where the table has no such field.
Variant field(dao::Recordset &rs, const char *name)
{
    try {
        return rs.Fields(QLatin1String(name)).Value();
    } catch (const VbError &) {
        return Variant::Null();
    }
}

}  // namespace

namespace layoutstore {

std::optional<Layout> read(dao::Database &db, const QString &grid, const QString &user, const QString &column)
{
    auto rs = openRow(db, grid, user, column);
    if (rs->Eof())
        return std::nullopt;
    Layout layout;
    if (const Variant caption = field(*rs, "Nazev"); caption.IsString())
        layout.caption = caption.stringValue().trimmed();
    if (const Variant align = field(*rs, "Zarovnani"); align.IsString())
        layout.align = QString(align.stringValue());
    if (const Variant width = field(*rs, "ColWidth"); !width.IsNull() && !width.IsEmpty()) {
        try {
            layout.width = width.toLong();
        } catch (const VbError &) {
            // a width that is no number: the column keeps the host's
        }
    }
    return layout;
}

void writeWidth(dao::Database &db, const QString &grid, const QString &user, const QString &column, int position,
                const Variant &align, int width)
{
    const bool system = align.IsString() && align.stringValue() == QLatin1String("S");
    auto rs = openRow(db, grid, user, column);
    if (rs->Eof()) {
        rs.reset();
        db.Execute(QStringLiteral("Insert into s_grid (tridit, nazev, zarovnani, colwidth, colname, gridname, login) "
                                  "values (")
                   + CSQL(position) + QStringLiteral(", '', ") + CSQL(align) + QStringLiteral(", ")
                   + CSQL(system ? 0 : width) + QStringLiteral(", ") + CSQL(column) + QStringLiteral(", ") + CSQL(grid)
                   + QStringLiteral(", ") + CSQL(user) + QStringLiteral(")"));
        return;
    }
    const Variant stored = rs->Fields(QStringLiteral("ColWidth")).Value();
    rs.reset();
    const bool storedNumber = !stored.IsNull() && !stored.IsEmpty();
    const int storedWidth = storedNumber ? stored.toLong() : 0;
    const int wanted = system ? 0 : width;
    if (!storedNumber || storedWidth != wanted)
        db.Execute(QStringLiteral("Update s_grid set colwidth=") + CSQL(wanted) + keyCondition(grid, user, column));
}

std::vector<Row> readAll(dao::Database &db, const QString &grid, const QString &user)
{
    auto rs = db.OpenRecordset(QStringLiteral("select * from S_Grid where gridname=") + CSQL(grid) + QStringLiteral(" and login=")
                               + CSQL(user) + QStringLiteral(" Order by Tridit"));
    std::vector<Row> rows;
    const auto text = [](const Variant &v) { return v.IsNull() || v.IsEmpty() ? QString() : v.toString(); };
    for (; !rs->Eof(); rs->MoveNext()) {
        Row row;
        row.column = text(field(*rs, "ColName"));
        row.width = text(field(*rs, "ColWidth"));
        row.caption = text(field(*rs, "Nazev"));
        if (const Variant align = field(*rs, "Zarovnani"); !align.IsNull())
            row.align = align.toString();
        rows.push_back(row);
    }
    return rows;
}

void replaceAll(dao::Database &db, const QString &grid, const QString &user, const std::vector<Row> &rows)
{
    // A savepoint, since the control has the database and not its workspace; inside a
    // host's transaction it nests.
    db.Execute(QStringLiteral("SAVEPOINT tabulix_layout"));
    try {
        db.Execute(QStringLiteral("Delete * from s_grid  where gridname=") + CSQL(grid) + QStringLiteral(" and login=") + CSQL(user));
        for (size_t i = 0; i < rows.size(); ++i) {
            const Row &row = rows[i];
            db.Execute(QStringLiteral("Insert into s_grid (tridit, nazev, zarovnani, colwidth, colname, gridname, login) values (")
                       + CSQL(qint32(i)) + QStringLiteral(", ") + CSQL(row.caption) + QStringLiteral(", ")
                       + CSQL(row.align ? Variant(*row.align) : Variant::Null()) + QStringLiteral(", ") + CSQL(row.width)
                       + QStringLiteral(", ") + CSQL(row.column) + QStringLiteral(", ") + CSQL(grid) + QStringLiteral(", ")
                       + CSQL(user) + QStringLiteral(")"));
        }
    } catch (const VbError &) {
        db.Execute(QStringLiteral("ROLLBACK TO tabulix_layout"));
        db.Execute(QStringLiteral("RELEASE tabulix_layout"));
        throw;
    }
    db.Execute(QStringLiteral("RELEASE tabulix_layout"));
}

}  // namespace layoutstore
