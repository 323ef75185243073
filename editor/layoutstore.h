#pragma once

#include <QString>
#include <optional>
#include <vector>

class Variant;
namespace dao { class Database; }

// The per-user column layouts in the host's table S_Grid, apart from the control's
// widget: one row per grid name, user and column, the column known by its data field.
namespace layoutstore {

struct Layout {
    QString caption;          // trimmed; empty where none is stored
    std::optional<QString> align;  // L, C, R, N or S as stored; none where it is Null
    std::optional<int> width; // twips
};

// The stored layout of one column; none where no row is stored. A field that an older
// table lacks, or that holds no usable value, is left out. A failing query raises.
std::optional<Layout> read(dao::Database &db, const QString &grid, const QString &user, const QString &column);

// Stores one column's width: a row of its own is made the first time (a system column's
// with width 0, as it is hidden), and a stored width is rewritten only when it differs.
// A failing statement raises.
void writeWidth(dao::Database &db, const QString &grid, const QString &user, const QString &column, int position,
                const Variant &align, int width);


// One stored row of a grid's whole layout, as the column chooser lists and writes it.
struct Row {
    QString column;           // ColName: the column's data field
    QString width;            // ColWidth as text ("" where none is stored)
    QString caption;          // Nazev as stored, untrimmed
    std::optional<QString> align;  // Zarovnani; none for Null
};
// Every stored row of the grid and user, in their order (Tridit). A failing query raises.
std::vector<Row> readAll(dao::Database &db, const QString &grid, const QString &user);
// Replaces the grid's whole layout for the user by `rows`, Tridit numbering them from 0,
// in one transaction: when a statement fails the stored layout stays as it was and the
// error is raised.
void replaceAll(dao::Database &db, const QString &grid, const QString &user, const std::vector<Row> &rows);
}  // namespace layoutstore
