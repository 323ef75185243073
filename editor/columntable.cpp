#include "columntable.h"

#include "vberror.h"

void ColumnTable::Resize(int lastColumn)
{
    m_sized = true;
    m_columns.resize(size_t(std::max(lastColumn + 1, 0)), std::vector<Variant>(size_t(m_lastAttribute + 1)));
}

void ColumnTable::Grow(int lastColumn)
{
    if (!m_sized || lastColumn > UBound())
        Resize(lastColumn);
}

void ColumnTable::Erase()
{
    m_sized = false;
    m_columns.clear();
}

void ColumnTable::check(int attribute, int column) const
{
    if (!m_sized || attribute < 0 || attribute > m_lastAttribute || column < 0 || column > UBound())
        throw VbError(9, QStringLiteral("Tabulix"), QStringLiteral("Subscript out of range"));
}

Variant &ColumnTable::operator()(int attribute, int column)
{
    check(attribute, column);
    return m_columns[size_t(column)][size_t(attribute)];
}

const Variant &ColumnTable::operator()(int attribute, int column) const
{
    check(attribute, column);
    return m_columns[size_t(column)][size_t(attribute)];
}
