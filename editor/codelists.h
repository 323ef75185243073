#pragma once

#include "columntable.h"
#include "tabulix_global.h"

#include <QString>
#include <vector>

class QComboBox;
namespace dao { class Database; }

// The code lists of one control: per grid column either a query on the host's database,
// run each time the list opens, or a list of items (shown value and code) filled in.
class TABULIX_EXPORT CodeLists
{
public:
    // Attaches a query: attribute 1 the query text, 2 the length a chosen value is cut to.
    void Ciselnik(int column, const QString &sql, int maxLen);
    // Adds one item to the end of a column's filled list; the column's query is forgotten.
    void CiselnikNapln(int column, const QString &value, const QString &data);
    // Every column 0 .. cols loses its filled items; attached queries stay.
    void ResetItems(int cols);

    struct Entry {
        QString value;
        QString code;
    };
    // What the list offers for a column, in order: the filled items that are not blank,
    // or the first field of every row of the column's query. A query that fails leaves
    // the rows read before it.
    std::vector<Entry> Entries(int column, dao::Database *db) const;
    // Fills the list box for an editor opening on the column: entries with their codes as
    // item data, then the current cell text as the box's value.
    void Fill(QComboBox *box, int column, dao::Database *db, const QString &current) const;

    // The cut length of a column (0 where there is none).
    int MaxLen(int column) const;
    bool IsQuery(int column) const;

    ColumnTable Ciselniky{2};
    std::vector<int> PocetPolozek;            // per column
    std::vector<std::vector<QString>> Hodnoty;  // [column][item], items 1 .. MaxPolozek
    std::vector<std::vector<QString>> Kody;
    int MaxPolozek = 0;
};
