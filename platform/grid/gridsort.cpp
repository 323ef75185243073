// Sorting the grid's rows. Rows are moved whole (texts, height, formatting), so the
// model only reorders its row list.

#include "grid.h"

#include "gridstate.h"
#include "vberror.h"

#include <algorithm>
#include <numeric>

void FlexGrid::setSort(int setting)
{
    if (setting < flex::SortNone || setting > flex::SortCustom)
        throw VbError(flex::ErrSubscript, QStringLiteral("FlexGrid"), QStringLiteral("Subscript out of range"));
    const int first = d->fixedRows;
    const int count = Rows() - first;
    if (setting == flex::SortNone || count < 2 || Cols() == 0)
        return;
    const int c1 = std::min(d->col, d->colSel);
    const int c2 = std::max(d->col, d->colSel);
    const GridModel &m = *d->model;
    const bool descending = setting % 2 == 0 && setting != flex::SortNone;

    // Compares two rows by the key columns, ascending; 0 when equal.
    auto compareRows = [&](int a, int b) -> int {
        if (setting == flex::SortCustom) {
            int cmp = 0;
            Q_EMIT Compare(a, b, cmp);
            return cmp;
        }
        for (int c = c1; c <= c2; ++c) {
            const QStringView ta = m.cellView(a, c);
            const QStringView tb = m.cellView(b, c);
            int cmp = 0;
            if (setting <= flex::SortNumericDescending) {
                double va = 0, vb = 0;
                const bool na = GridModel::isNumber(ta, &va);
                const bool nb = GridModel::isNumber(tb, &vb);
                const bool numeric = setting >= flex::SortNumericAscending;
                if ((na && nb) || numeric)
                    cmp = va < vb ? -1 : (va > vb ? 1 : 0);
                else if (na != nb)
                    cmp = na ? -1 : 1;   // numbers before texts
                else
                    cmp = ta.compare(tb, Qt::CaseInsensitive);
            } else {
                const bool noCase = setting <= flex::SortStringNoCaseDescending;
                cmp = ta.compare(tb, noCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
            }
            if (cmp != 0)
                return cmp < 0 ? -1 : 1;
        }
        return 0;
    };

    // Kept from one sort to the next: a million rows sorted again find their memory in
    // hand, not a fresh one to fault in page by page while the window waits.
    std::vector<int> &order = d->sortOrder;
    order.resize(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), first);
    if (setting == flex::SortCustom && d->sortHook) {
        d->sortHook(order);
        // Whatever the hook did, the rows must be the same rows, each once.
        if (order.size() != static_cast<size_t>(count))
            throw VbError(flex::ErrSubscript, QStringLiteral("FlexGrid"), QStringLiteral("Subscript out of range"));
        std::vector<bool> seen(static_cast<size_t>(count));
        for (int r : order) {
            if (r < first || r >= first + count || seen[size_t(r - first)])
                throw VbError(flex::ErrSubscript, QStringLiteral("FlexGrid"), QStringLiteral("Subscript out of range"));
            seen[size_t(r - first)] = true;
        }
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int cmp = compareRows(a, b);
            return setting == flex::SortCustom ? cmp < 0 : (descending ? cmp > 0 : cmp < 0);
        });
    }
    d->model->reorderRows(first, order);
    // The view's row sizes follow their rows through the reorder; only sizes that were
    // waiting for drawing to come on are brought up to date.
    if (!d->redraw)
        d->rowsNeedSync = true;
    else if (d->rowsNeedSync)
        d->syncAllRows();
    d->repaint();
}

void FlexGrid::setSortHook(std::function<void(std::vector<int> &rows)> hook)
{
    d->sortHook = std::move(hook);
}
