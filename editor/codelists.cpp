#include "codelists.h"

#include "dao.h"
#include "vberror.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

[[noreturn]] void outOfRange()
{
    throw VbError(9, QStringLiteral("Tabulix"), QStringLiteral("Subscript out of range"));
}

}  // namespace

void CodeLists::Ciselnik(int column, const QString &sql, int maxLen)
{
    if (column < 0)
        return;
    Ciselniky.Grow(column);
    Ciselniky(1, column) = sql;
    Ciselniky(2, column) = maxLen;
}

void CodeLists::CiselnikNapln(int column, const QString &value, const QString &data)
{
    if (column < 0 || size_t(column) >= PocetPolozek.size())
        outOfRange();
    Ciselniky.Grow(column);
    Ciselniky(1, column) = QString();
    const Variant &len = Ciselniky(2, column);
    const int present = len.IsEmpty() ? 0 : len.toLong();
    Ciselniky(2, column) = std::max(present, int(value.size()));
    const int k = ++PocetPolozek[size_t(column)];
    if (k > MaxPolozek) {
        MaxPolozek = k;
        for (auto &items : Hodnoty)
            items.resize(size_t(k + 1));
        for (auto &items : Kody)
            items.resize(size_t(k + 1));
    }
    Hodnoty[size_t(column)][size_t(k)] = value;
    Kody[size_t(column)][size_t(k)] = data;
}

void CodeLists::ResetItems(int cols)
{
    const size_t n = size_t(std::max(cols + 1, 0));
    PocetPolozek.assign(n, 0);
    MaxPolozek = 0;
    Hodnoty.assign(n, std::vector<QString>(1));
    Kody.assign(n, std::vector<QString>(1));
}

int CodeLists::MaxLen(int column) const
{
    if (!Ciselniky.Exists() || column < 0 || column > Ciselniky.UBound() || Ciselniky(2, column).IsEmpty())
        return 0;
    return Ciselniky(2, column).toLong();
}

bool CodeLists::IsQuery(int column) const
{
    if (!Ciselniky.Exists() || column < 0 || column > Ciselniky.UBound())
        return false;
    const Variant &sql = Ciselniky(1, column);
    return sql.IsString() && sql.stringValue().left(7).compare(QLatin1String("Select "), Qt::CaseInsensitive) == 0;
}

std::vector<CodeLists::Entry> CodeLists::Entries(int column, dao::Database *db) const
{
    std::vector<Entry> entries;
    if (!IsQuery(column)) {
        if (column < 0 || size_t(column) >= Hodnoty.size())
            return entries;
        const auto &values = Hodnoty[size_t(column)];
        const auto &codes = Kody[size_t(column)];
        for (size_t k = 1; k < values.size(); ++k)
            if (!values[k].trimmed().isEmpty())
                entries.push_back({values[k].trimmed(), codes[k].trimmed()});
        return entries;
    }
    if (!db)
        return entries;
    try {
        auto rs = db->OpenRecordset(Ciselniky(1, column).stringValue(), dao::dbOpenDynaset);
        while (!rs->Eof()) {
            const Variant v = (*rs)[0];
            // A Null name has nothing to offer; it does not end the list.
            if (!v.IsNull())
                entries.push_back({v.toString().trimmed(), QString()});
            rs->MoveNext();
        }
    } catch (const VbError &) {
        // A failing query leaves what was read; the editor still opens.
    }
    return entries;
}

void CodeLists::Fill(QComboBox *box, int column, dao::Database *db, const QString &current) const
{
    box->clear();
    for (const Entry &e : Entries(column, db))
        box->addItem(e.value, e.code);
    if (box->isEditable()) {
        // The list opens on the cell's own item, not on the first one, which Enter or a
        // click in the list would otherwise put in place of the cell's value.
        box->setCurrentIndex(box->findText(current, Qt::MatchFixedString));
        box->setEditText(current);
    } else {
        box->setCurrentIndex(box->findText(current));
    }
}
