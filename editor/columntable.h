#pragma once

#include "tabulix_global.h"
#include "variant.h"

#include <vector>

// A table of values indexed (attribute, column), as the control keeps its column
// attributes and its column layouts: attributes 0 .. a fixed last one, columns 0 .. n.
// It has no columns until it is first sized; re-sizing keeps the columns that stay.
// An index outside it raises error 9 ("Subscript out of range"), as the old arrays did.
class TABULIX_EXPORT ColumnTable
{
public:
    explicit ColumnTable(int lastAttribute) : m_lastAttribute(lastAttribute) {}

    bool Exists() const { return m_sized; }
    // The last column, -1 while the table has none.
    int UBound() const { return int(m_columns.size()) - 1; }
    int LastAttribute() const { return m_lastAttribute; }
    // Columns 0 .. lastColumn afterwards, keeping the values of those columns.
    void Resize(int lastColumn);
    // Grows to lastColumn when it is beyond the last column; never shrinks.
    void Grow(int lastColumn);
    void Erase();

    Variant &operator()(int attribute, int column);
    const Variant &operator()(int attribute, int column) const;

private:
    void check(int attribute, int column) const;

    int m_lastAttribute;
    bool m_sized = false;
    std::vector<std::vector<Variant>> m_columns;
};
