#pragma once

#include <QString>
#include <optional>
#include <vector>

class Variant;
namespace dao { class Database; }

// The overview's query of a section: which of its fields show as columns, and the
// statements that read its records. The overview, the selection window, moving and
// deleting the selected records and the list print all build on it.

// One shown column of the overview, as the current section's field definitions give it.
struct SloupecPrehledu {
    QString Jmeno;      // the Katalog column: Pol3C, Pol5N, Pol8D ...
    QString Titulek;    // the definition's caption
    QString Zarovnani;  // L, C or R
    QString Typ;        // C, N or D
};

// One field definition of a section, as the Definice table holds it.
struct DefinicePole {
    QString Pol;        // the field's number as stored ("3")
    QString Typ;        // C, N or D
    QString Nazev;      // the caption
    QString Zarovnani;  // L, C or R
    bool Zobraz = false;
    bool Popis = false;
};

// Whether a name is a field of the catalog, Pol1C to Pol30D (any case): only such a name
// may go into a statement as it stands.
bool JePoleKatalogu(const QString &jmeno);

// A section's definitions in their order.
std::vector<DefinicePole> NactiDefinice(dao::Database &db, qint32 sekce);

struct DotazPrehledu {
    // The shown columns 1..n (entry 0 stays empty), as SloupcePrehledu holds them.
    std::vector<SloupecPrehledu> Sloupce{1};
    QString SeznamPoli;      // "Inter, Pol1C, ..."
    quint8 PocetSloupcu = 0; // n + 1
    // The description field: its column (-1 when it is not shown) and its caption
    // (none when the section names no description field).
    int SloupecPopisu = -1;
    std::optional<QString> TitulekPopisu;
    QString Select;  // the records in the order of the first column, under the limit
    QString Count;   // how many records there are without the limit
    QString Odkud;   // what Select and Count read: " from Katalog where sekce=N [AND (...)]"
    QString Poradi;  // the column Select orders by: the first shown one, else Inter
    std::optional<qint32> Limit;  // at most this many records (at least 1); none for all
};

// The query for a section's records meeting `podminka` (an SQL condition, or empty for
// all), at most `limit` of them (at least 1) when a limit is given. A definition whose
// field is not one of the catalog's never reaches the statement.
DotazPrehledu SestavDotazPrehledu(qint32 sekce, const std::vector<DefinicePole> &definice,
                                  const QString &podminka = QString(), std::optional<qint32> limit = std::nullopt);

// The index that serves the overview's order for every section that shows `poradi`
// first: the section's records by that column, one read with no sort. Made when first
// needed; none for Inter, the table's own order.
QString IndexPrehleduSql(const QString &poradi);
// Whether that index is there: a count of 1 or 0.
QString IndexPrehleduExistujeSql(const QString &poradi);

// The column headers of a section's overview. A column is tied to the definition of its
// own field, by the field's number (Pol), so that a hidden field before it changes
// nothing. `jmeno` is the column's Katalog name (Pol3C).
QString PolSloupce(const QString &jmeno);
// The default caption and alignment of a column's field.
QString VychoziHlavickaSql(qint32 sekce, const QString &jmeno);
// Stores a column's caption and alignment letter in its field's definition.
QString ZmenaHlavickySql(qint32 sekce, const QString &jmeno, const QString &nazev, const QString &zarovnani);
// After a section's definitions change, every stored overview layout of the section (all
// users) takes its columns' alignments from the definitions again.
QString ZrusZarovnaniPrehleduSql(qint32 sekce);

// The text a record's field shows in the overview: the value in the regional form, a
// Null as nothing. A tab would split the row string, so it shows as a blank.
QString TextBunky(const Variant &value);
