#include "gridmodel.h"

#include "grid.h"

#include <QFont>
#include <QLocale>
#include <QThreadPool>

#include <algorithm>

namespace {

// Rows dropped at once from this many on are freed on a worker.
constexpr int BulkRows = 4096;

}  // namespace

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

GridModel::~GridModel()
{
    freeElsewhere(std::move(m_store));
}

quint32 GridModel::place(RowData row)
{
    if (!m_free.empty()) {
        const quint32 at = m_free.back();
        m_free.pop_back();
        m_store[at] = std::move(row);
        return at;
    }
    m_store.push_back(std::move(row));
    return quint32(m_store.size() - 1);
}

void GridModel::release(quint32 at)
{
    m_store[at] = RowData();
    m_free.push_back(at);
}

void GridModel::dropRowsFrom(int first)
{
    RowStore kept;
    m_zeroHeightRows = 0;
    for (int i = 0; i < first; ++i) {
        quint32 &place = m_order[size_t(i)];
        m_zeroHeightRows += m_store[place].height == 0;
        kept.push_back(std::move(m_store[place]));
        place = kept.size() - 1;
    }
    m_order.resize(size_t(first));
    m_order.shrink_to_fit();
    m_orderSpare = {};
    m_free.clear();
    m_free.shrink_to_fit();
    freeElsewhere(std::move(m_store));
    m_store = std::move(kept);
}

void GridModel::freeElsewhere(RowStore store)
{
    // A worker may free rows: their texts' shared counts are atomic, and the pixmaps that
    // must stay on this thread are kept apart, in m_formats. A few rows go here.
    QThreadPool *pool = store.size() >= quint32(BulkRows) ? QThreadPool::globalInstance() : nullptr;
    if (pool) {
        auto *old = new RowStore(std::move(store));
        pool->start([old] { delete old; });
    }
}

void GridModel::packIfSparse()
{
    if (m_free.size() < 1024 || m_free.size() < m_order.size())
        return;
    RowStore packed;
    for (quint32 &at : m_order) {
        packed.push_back(std::move(m_store[at]));
        at = packed.size() - 1;
    }
    m_store = std::move(packed);
    m_free.clear();
    m_free.shrink_to_fit();
}

GridModel::RowData GridModel::makeRow(const QString &tabJoined)
{
    RowData row;
    row.id = m_nextId++;
    if (m_cols == 0)
        return row;
    // The text is kept as given (shared, not copied); only the cell ends are found.
    row.ends.reserve(size_t(m_cols));
    const QChar *s = tabJoined.constData();
    const qsizetype n = tabJoined.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (s[i] == QLatin1Char('\t')) {
            row.ends.push_back(quint32(i));
            if (int(row.ends.size()) == m_cols)
                break;
        }
    }
    if (int(row.ends.size()) < m_cols)
        row.ends.push_back(quint32(n));
    if (!tabJoined.isEmpty())
        row.text = tabJoined;
    return row;
}

void GridModel::setGridRows(int rows)
{
    const int now = gridRows();
    if (rows != now)
        ++m_changes;
    if (rows > now) {
        const bool announce = !m_deferred;
        if (announce)
            beginInsertRows({}, now, rows - 1);
        m_order.reserve(size_t(rows));
        for (int i = now; i < rows; ++i) {
            RowData r;
            r.id = m_nextId++;
            m_order.push_back(place(std::move(r)));
        }
        if (announce) {
            m_published = rows;
            endInsertRows();
        }
    } else if (rows < now) {
        if (!m_formats.isEmpty())
            for (int i = rows; i < now; ++i)
                dropFormats(at(i));
        const bool announce = rows < m_published;
        if (announce)
            beginRemoveRows({}, rows, m_published - 1);
        if (now - rows >= BulkRows && rows <= now - rows) {
            dropRowsFrom(rows);
        } else {
            for (int i = rows; i < now; ++i) {
                m_zeroHeightRows -= at(i).height == 0;
                release(m_order[size_t(i)]);
            }
            m_order.resize(size_t(rows));
            packIfSparse();
        }
        if (announce) {
            m_published = rows;
            endRemoveRows();
        }
    }
}

void GridModel::setGridCols(int cols)
{
    const int now = m_cols;
    if (cols == now)
        return;
    ++m_changes;
    if (cols > now) {
        beginInsertColumns({}, now, cols - 1);
        m_cols = cols;
        m_colData.resize(size_t(cols));
        endInsertColumns();
        return;
    }
    beginRemoveColumns({}, cols, now - 1);
    m_cols = cols;
    m_colData.resize(size_t(cols));
    // Cut every row at the new last column, so that growing again shows empty cells.
    m_store.forEach([cols](RowData &r) {
        if (int(r.ends.size()) > cols) {
            r.ends.resize(size_t(cols));
            r.text.truncate(cols == 0 ? 0 : qsizetype(r.ends.back()));
        }
    });
    for (auto it = m_formats.begin(); it != m_formats.end();) {
        if (int(quint32(it.key())) >= cols)
            it = m_formats.erase(it);
        else
            ++it;
    }
    endRemoveColumns();
}

QStringView GridModel::cellView(int row, int col) const
{
    const RowData &r = at(row);
    if (size_t(col) >= r.ends.size())
        return {};
    const qsizetype start = col == 0 ? 0 : qsizetype(r.ends[size_t(col) - 1]) + 1;
    const qsizetype end = qsizetype(r.ends[size_t(col)]);
    return QStringView(r.text).mid(start, end - start);
}

void GridModel::setCell(int row, int col, const QString &text)
{
    RowData &r = at(row);
    if (size_t(col) >= r.ends.size()) {
        if (text.isEmpty())
            return;
        ++m_changes;
        // Reach the column with empty cells first.
        if (!r.ends.empty()) {
            r.text.truncate(qsizetype(r.ends.back()));
        }
        while (size_t(col) > r.ends.size()) {
            if (!r.ends.empty())
                r.text.append(QLatin1Char('\t'));
            r.ends.push_back(quint32(r.text.size()));
        }
        if (!r.ends.empty())
            r.text.append(QLatin1Char('\t'));
        r.text.append(text);
        r.ends.push_back(quint32(r.text.size()));
    } else {
        const qsizetype start = col == 0 ? 0 : qsizetype(r.ends[size_t(col) - 1]) + 1;
        const qsizetype end = qsizetype(r.ends[size_t(col)]);
        if (QStringView(r.text).mid(start, end - start) == text)
            return;
        ++m_changes;
        r.text.replace(start, end - start, text);
        const qint64 delta = text.size() - (end - start);
        for (size_t c = size_t(col); c < r.ends.size(); ++c)
            r.ends[c] = quint32(qint64(r.ends[c]) + delta);
    }
    cellChanged(row, col);
}

void GridModel::insertGridRow(int index, const QString &tabJoined)
{
    RowData r = makeRow(tabJoined);
    ++m_changes;
    // Appending while deferred stays out of the views' sight until publish().
    const bool announce = index < m_published || !m_deferred;
    if (announce)
        beginInsertRows({}, index, index);
    m_order.insert(m_order.begin() + index, place(std::move(r)));
    if (announce) {
        ++m_published;
        endInsertRows();
    }
}

void GridModel::removeGridRow(int index)
{
    dropFormats(at(index));
    m_zeroHeightRows -= at(index).height == 0;
    ++m_changes;
    const bool announce = index < m_published;
    if (announce)
        beginRemoveRows({}, index, index);
    release(m_order[size_t(index)]);
    m_order.erase(m_order.begin() + index);
    packIfSparse();
    if (announce) {
        --m_published;
        endRemoveRows();
    }
}

void GridModel::clearCells()
{
    ++m_changes;
    m_store.forEach([](RowData &r) {
        r.text.clear();
        r.ends.clear();
        r.hasFormat = false;
    });
    m_formats.clear();
    if (m_published > 0 && m_cols > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_published - 1, m_cols - 1));
}

void GridModel::clearRow(int row)
{
    RowData &r = at(row);
    dropFormats(r);
    ++m_changes;
    r.text.clear();
    r.ends.clear();
    r.hasFormat = false;
    if (row < m_published && m_cols > 0 && !m_deferred)
        Q_EMIT dataChanged(index(row, 0), index(row, m_cols - 1));
    else if (m_deferred)
        m_changedWhileDeferred = true;
}

void GridModel::setColAlignment(int col, int code)
{
    m_colData[size_t(col)].alignment = code;
    if (m_deferred)
        m_changedWhileDeferred = true;
    else if (m_published > 0)
        Q_EMIT dataChanged(index(0, col), index(m_published - 1, col), {Qt::TextAlignmentRole});
}

const GridCellFormat *GridModel::format(int row, int col) const
{
    const RowData &r = at(row);
    if (!r.hasFormat)
        return nullptr;
    auto it = m_formats.constFind(formatKey(r.id, col));
    return it == m_formats.cend() ? nullptr : &it.value();
}

GridCellFormat GridModel::takeFormat(int row, int col)
{
    const RowData &r = at(row);
    if (!r.hasFormat)
        return {};
    return m_formats.take(formatKey(r.id, col));
}

void GridModel::putFormat(int row, int col, GridCellFormat f)
{
    RowData &r = at(row);
    if (!f.isEmpty()) {
        m_formats.insert(formatKey(r.id, col), std::move(f));
        r.hasFormat = true;
    }
    cellChanged(row, col);
}

void GridModel::dropFormats(const RowData &row)
{
    if (!row.hasFormat)
        return;
    for (int c = 0; c < m_cols; ++c)
        m_formats.remove(formatKey(row.id, c));
}

void GridModel::cellChanged(int row, int col)
{
    if (m_deferred) {
        m_changedWhileDeferred = true;
        return;
    }
    if (row < m_published) {
        const QModelIndex i = index(row, col);
        Q_EMIT dataChanged(i, i);
    }
}

void GridModel::setDeferred(bool on)
{
    if (on == m_deferred)
        return;
    m_deferred = on;
    if (on)
        return;
    const int wasPublished = m_published;
    const int all = gridRows();
    if (all > m_published) {
        beginInsertRows({}, m_published, all - 1);
        m_published = all;
        endInsertRows();
    }
    if (m_changedWhileDeferred && wasPublished > 0 && m_cols > 0)
        Q_EMIT dataChanged(index(0, 0), index(wasPublished - 1, m_cols - 1));
    m_changedWhileDeferred = false;
}

void GridModel::reorderRows(int first, const std::vector<int> &order)
{
    const bool deferred = m_deferred;
    if (deferred)
        setDeferred(false);
    ++m_changes;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The rows stay where they are stored; only their places change hands, written into
    // the order kept from the sort before.
    std::vector<quint32> &next = m_orderSpare;
    next.resize(m_order.size());
    std::copy(m_order.begin(), m_order.begin() + first, next.begin());
    for (size_t i = 0; i < order.size(); ++i)
        next[size_t(first) + i] = m_order[size_t(order[i])];
    std::copy(m_order.begin() + first + qsizetype(order.size()), m_order.end(), next.begin() + first + qsizetype(order.size()));
    m_order.swap(next);
    // The views hold a few rows (the current one, hidden ones): those few are looked for
    // in the order, many are mapped at once.
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int> newIndexOf;
    const auto newIndex = [&](int r) {
        if (persistent.size() <= 8)
            return first + int(std::find(order.begin(), order.end(), r) - order.begin());
        if (newIndexOf.empty()) {
            newIndexOf.resize(order.size());
            for (size_t i = 0; i < order.size(); ++i)
                newIndexOf[size_t(order[i] - first)] = first + int(i);
        }
        return newIndexOf[size_t(r - first)];
    };
    QModelIndexList to;
    to.reserve(persistent.size());
    for (const QModelIndex &p : persistent) {
        const int r = p.row();
        const bool inside = r >= first && r < first + int(order.size());
        to.append(inside ? index(newIndex(r), p.column()) : p);
    }
    changePersistentIndexList(persistent, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (deferred)
        setDeferred(true);
}

void GridModel::columnTexts(int col, int first, int last, QString &text, std::vector<quint32> &ends) const
{
    for (int i = first; i <= last; ++i) {
        text += cellView(i, col);
        ends.push_back(quint32(text.size()));
    }
}

bool GridModel::isNumber(QStringView text, double *value)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (ok && value)
        *value = v;
    return ok;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_published;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellView(row, col).toString();
    case Qt::TextAlignmentRole: {
        const int code = m_colData[size_t(col)].alignment;
        const bool numeric = code == flex::AlignGeneral && isNumber(cellView(row, col));
        return QVariant::fromValue(flex::alignmentFlags(code, numeric));
    }
    default:
        break;
    }
    const GridCellFormat *f = format(row, col);
    if (!f)
        return {};
    switch (role) {
    case Qt::BackgroundRole:
        return f->backColor ? QVariant(flex::bgrToColor(f->backColor)) : QVariant();
    case Qt::ForegroundRole:
        return f->foreColor ? QVariant(flex::bgrToColor(f->foreColor)) : QVariant();
    case Qt::DecorationRole:
        return f->picture.isNull() ? QVariant() : QVariant(f->picture);
    default:
        return {};
    }
}
