// Where the grid's cells lie on screen, keeping the view's row and column sizes in
// step with the stored ones, and the current cell and selection.

#include "gridstate.h"

#include "system.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

// ---------------------------------------------------------------------------------
// Geometry

int FlexGrid::State::defaultRowHeight() const
{
    if (defRowTwips < 0)
        defRowTwips = sys::toTwips(QFontMetrics(q->font()).height() + 3);
    return defRowTwips;
}

int FlexGrid::State::rowHeightTwips(int r) const
{
    const int h = model->rowHeight(r);
    return h < 0 ? defaultRowHeight() : h;
}

int FlexGrid::State::colWidthTwips(int c) const
{
    const int w = model->colWidth(c);
    return w < 0 ? defaultColWidth : w;
}

int FlexGrid::State::rowPixels(int r) const
{
    const int t = rowHeightTwips(r);
    if (t < 16)   // the grid's rule: such a row counts as hidden
        return 0;
    return sys::toPixels(std::max(t, rowHeightMin));
}

int FlexGrid::State::colPixels(int c) const
{
    return std::max(0, sys::toPixels(colWidthTwips(c)));
}

int FlexGrid::State::fixedHeight() const
{
    int h = 0;
    for (int r = 0; r < fixedRows; ++r)
        h += rowPixels(r);
    return h;
}

int FlexGrid::State::fixedWidth() const
{
    int w = 0;
    for (int c = 0; c < fixedCols; ++c)
        w += colPixels(c);
    return w;
}

QRect FlexGrid::State::cellRect(int r, int c) const
{
    int x = 0;
    if (c < fixedCols) {
        for (int i = 0; i < c; ++i)
            x += colPixels(i);
    } else {
        x = fixedWidth() + view->columnViewportPosition(c);
    }
    int y = 0;
    if (r < fixedRows) {
        for (int i = 0; i < r; ++i)
            y += rowPixels(i);
    } else if (r < model->publishedRows()) {
        y = fixedHeight() + view->rowViewportPosition(r);
    }
    return QRect(x, y, colPixels(c), rowPixels(r));
}

int FlexGrid::State::rowAtY(int y) const
{
    if (y < 0)
        return -1;
    const int fh = fixedHeight();
    if (y < fh) {
        int top = 0;
        for (int r = 0; r < fixedRows; ++r) {
            top += rowPixels(r);
            if (y < top)
                return r;
        }
        return -1;
    }
    const int r = view->rowAt(y - fh);
    return r < 0 ? model->publishedRows() : r;   // past the last row
}

int FlexGrid::State::colAtX(int x) const
{
    if (x < 0)
        return -1;
    const int fw = fixedWidth();
    if (x < fw) {
        int left = 0;
        for (int c = 0; c < fixedCols; ++c) {
            left += colPixels(c);
            if (x < left)
                return c;
        }
        return -1;
    }
    const int c = view->columnAt(x - fw);
    return c < 0 ? model->gridCols() : c;   // past the last column
}

int FlexGrid::State::firstVisibleRow() const
{
    const int r = view->rowAt(0);
    return r < 0 ? std::min(fixedRows, std::max(0, model->gridRows() - 1)) : r;
}

int FlexGrid::State::lastVisibleRow() const
{
    const int r = view->rowAt(view->viewport()->height() - 1);
    return r < 0 ? model->publishedRows() - 1 : r;
}

int FlexGrid::State::firstVisibleCol() const
{
    const int c = view->columnAt(0);
    return c < 0 ? std::min(fixedCols, std::max(0, model->gridCols() - 1)) : c;
}

int FlexGrid::State::lastVisibleCol() const
{
    const int c = view->columnAt(view->viewport()->width() - 1);
    return c < 0 ? model->gridCols() - 1 : c;
}

// ---------------------------------------------------------------------------------
// Keeping the view's sizes in step with the stored ones

void FlexGrid::State::syncRow(int r)
{
    if (r >= model->publishedRows())
        return;
    const int px = r < fixedRows ? 0 : rowPixels(r);
    QHeaderView *h = view->verticalHeader();
    const bool hidden = px == 0;
    if (h->isSectionHidden(r) != hidden)
        view->setRowHidden(r, hidden);
    if (!hidden && h->sectionSize(r) != px)
        h->resizeSection(r, px);
}

void FlexGrid::State::syncAllRows()
{
    if (!rowsNeedSync && syncedRows > fixedRows && model->gridRows() - syncedRows < syncedRows) {
        // Only the rows appended since, while they are fewer than the rows before: a load
        // of a million rows in batches sizes each row about once.
        if (model->isDeferred() && model->publishedRows() < model->gridRows()) {
            model->setDeferred(false);
            model->setDeferred(!redraw);
        }
        const int published = model->publishedRows();
        for (int r = syncedRows; r < published; ++r)
            syncRow(r);
        syncedRows = published;
        return;
    }
    // The commonest height becomes the view's default, so that uniform rows need no
    // work of their own; only rows of another height are sized one by one.
    std::vector<std::pair<int, int>> counts;   // pixels, rows
    const int all = model->gridRows();
    for (int r = fixedRows; r < all; ++r) {
        const int px = rowPixels(r);
        if (px == 0)
            continue;
        auto it = std::find_if(counts.begin(), counts.end(), [px](const auto &p) { return p.first == px; });
        if (it == counts.end())
            counts.emplace_back(px, 1);
        else
            ++it->second;
        if (counts.size() > 16)
            break;   // heights all differ: any default will do
    }
    QHeaderView *h = view->verticalHeader();
    if (!counts.empty()) {
        const auto best = std::max_element(counts.begin(), counts.end(),
                                           [](const auto &a, const auto &b) { return a.second < b.second; });
        if (h->defaultSectionSize() != best->first)
            h->setDefaultSectionSize(best->first);
    }
    if (model->isDeferred() && model->publishedRows() < all) {
        model->setDeferred(false);
        model->setDeferred(!redraw);
    }
    const int published = model->publishedRows();
    for (int r = 0; r < published; ++r)
        syncRow(r);
    rowsNeedSync = false;
    syncedRows = published;
}

void FlexGrid::State::syncCol(int c)
{
    const int px = c < fixedCols ? 0 : colPixels(c);
    QHeaderView *h = view->horizontalHeader();
    const bool hidden = px == 0;
    if (h->isSectionHidden(c) != hidden)
        view->setColumnHidden(c, hidden);
    if (!hidden && h->sectionSize(c) != px)
        h->resizeSection(c, px);
}

void FlexGrid::State::syncAllCols()
{
    for (int c = 0; c < model->gridCols(); ++c)
        syncCol(c);
}

void FlexGrid::State::syncMargins()
{
    const int fw = fixedWidth();
    const int fh = fixedHeight();
    view->setMargins(fw, fh);
    const QRect cr = view->contentsRect();
    const QRect vp = view->viewport()->geometry();
    const int right = vp.right() + 1;
    topPane->origin = QPoint(0, 0);
    topPane->setGeometry(cr.left(), cr.top(), std::max(0, right - cr.left()), fh);
    leftPane->origin = QPoint(0, fh);
    leftPane->setGeometry(cr.left(), cr.top() + fh, fw, vp.height());
    topPane->setVisible(fh > 0);
    leftPane->setVisible(fw > 0);
    topPane->raise();
    leftPane->raise();
    topPane->update();
    leftPane->update();
}

void FlexGrid::State::ensurePublished()
{
    if (model->publishedRows() < model->gridRows() || syncedRows < model->publishedRows() || rowsNeedSync)
        syncAllRows();
}

void FlexGrid::State::repaint()
{
    if (!redraw)
        return;
    view->viewport()->update();
    topPane->update();
    leftPane->update();
}

// ---------------------------------------------------------------------------------
// Current cell and selection

void FlexGrid::State::moveTo(int r, int c, bool keepSelection)
{
    const int oldRowSel = rowSel, oldColSel = colSel;
    if (r != row || c != col) {
        Q_EMIT q->LeaveCell();
        row = r;
        col = c;
        if (!keepSelection) {
            rowSel = r;
            colSel = c;
        }
        Q_EMIT q->EnterCell();
        Q_EMIT q->RowColChange();
    } else if (!keepSelection) {
        rowSel = r;
        colSel = c;
    }
    if (rowSel != oldRowSel || colSel != oldColSel || r != row || c != col)
        Q_EMIT q->SelChange();
    repaint();
}

void FlexGrid::State::setSelection(int rSel, int cSel)
{
    if (rSel == rowSel && cSel == colSel)
        return;
    rowSel = rSel;
    colSel = cSel;
    Q_EMIT q->SelChange();
    repaint();
}

void FlexGrid::State::selectionRange(int &r1, int &c1, int &r2, int &c2) const
{
    r1 = std::min(row, rowSel);
    r2 = std::max(row, rowSel);
    c1 = std::min(col, colSel);
    c2 = std::max(col, colSel);
    if (selectionMode == flex::SelectionByRow) {
        c1 = fixedCols;
        c2 = model->gridCols() - 1;
    } else if (selectionMode == flex::SelectionByColumn) {
        r1 = fixedRows;
        r2 = model->gridRows() - 1;
    }
}

bool FlexGrid::State::isSelected(int r, int c) const
{
    if (r < fixedRows || c < fixedCols)
        return false;
    int r1, c1, r2, c2;
    selectionRange(r1, c1, r2, c2);
    return r >= r1 && r <= r2 && c >= c1 && c <= c2;
}

void FlexGrid::State::scrollIntoView(int r, int c)
{
    ensurePublished();
    QHeaderView *vh = view->verticalHeader();
    QHeaderView *hh = view->horizontalHeader();
    const bool rowOk = r >= fixedRows && r < model->publishedRows() && !vh->isSectionHidden(r);
    const bool colOk = c >= fixedCols && c < model->gridCols() && !hh->isSectionHidden(c);
    const int rr = rowOk ? r : view->rowAt(0);
    const int cc = colOk ? c : view->columnAt(0);
    if (rr >= 0 && cc >= 0 && (rowOk || colOk))
        view->scrollTo(model->index(rr, cc));
}
