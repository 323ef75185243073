#pragma once

#include <QString>
#include <optional>

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

}  // namespace layoutstore
