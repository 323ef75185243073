// Merged cells and the drawing of every cell, for the view and the frozen bands alike.

#include "gridstate.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

// ---------------------------------------------------------------------------------
// Merging

namespace {

// The next shown row or column from i in direction step, within lo..hi; -1 if none.
template<class Size>
int nextShown(int i, int step, int lo, int hi, Size size)
{
    for (int k = i + step; k >= lo && k <= hi; k += step)
        if (size(k) > 0)
            return k;
    return -1;
}

} // namespace

flex::CellSpan FlexGrid::State::spanWithin(int r, int c, int rLo, int rHi, int cLo, int cHi) const
{
    flex::CellSpan span{r, c, r, c};
    if (mergeCells == flex::MergeNever)
        return span;
    auto rowSize = [this](int k) { return rowPixels(k); };
    auto colSize = [this](int k) { return colPixels(k); };
    const bool restrictRows = mergeCells == flex::MergeRestrictRows || mergeCells == flex::MergeRestrictAll;
    const bool restrictCols = mergeCells == flex::MergeRestrictColumns || mergeCells == flex::MergeRestrictAll;

    // Cells (row, a) and (row, b) side by side merge; restricted, only where the row
    // above merges the same pair too.
    auto mergesAcross = [&](int row, int a, int b) {
        for (int rr = row; rr >= 0;) {
            if (!model->rowMerge(rr) || model->cellView(rr, a) != model->cellView(rr, b))
                return false;
            if (!restrictRows)
                return true;
            rr = nextShown(rr, -1, rLo, rHi, rowSize);
        }
        return true;
    };
    // Cells (a, col) and (b, col) one above the other merge; restricted, only where the
    // column to the left merges the same pair too.
    auto mergesDown = [&](int col, int a, int b) {
        for (int cc = col; cc >= 0;) {
            if (!model->colMerge(cc) || model->cellView(a, cc) != model->cellView(b, cc))
                return false;
            if (!restrictCols)
                return true;
            cc = nextShown(cc, -1, cLo, cHi, colSize);
        }
        return true;
    };

    // Across first; a cell merged across is not merged down as well.
    for (int k = c, n; (n = nextShown(k, -1, cLo, cHi, colSize)) >= 0 && mergesAcross(r, n, k); k = n)
        span.left = n;
    for (int k = c, n; (n = nextShown(k, 1, cLo, cHi, colSize)) >= 0 && mergesAcross(r, k, n); k = n)
        span.right = n;
    if (span.left != span.right)
        return span;
    for (int k = r, n; (n = nextShown(k, -1, rLo, rHi, rowSize)) >= 0 && mergesDown(c, n, k); k = n)
        span.top = n;
    for (int k = r, n; (n = nextShown(k, 1, rLo, rHi, rowSize)) >= 0 && mergesDown(c, k, n); k = n)
        span.bottom = n;
    return span;
}

// ---------------------------------------------------------------------------------
// Drawing

void FlexGrid::State::paintCell(QPainter &p, int r, int c, int rLo, int rHi, int cLo, int cHi) const
{
    const QRect own = cellRect(r, c);
    if (own.isEmpty())
        return;
    const flex::CellSpan span = spanWithin(r, c, rLo, rHi, cLo, cHi);
    QRect whole = own;
    if (span.top != span.bottom || span.left != span.right)
        whole = cellRect(span.top, span.left).united(cellRect(span.bottom, span.right));

    const bool fixed = r < fixedRows || c < fixedCols;
    const bool current = r == row && c == col;
    const bool selected = isSelected(r, c) && !(current && focusRect != flex::FocusNone);
    const GridCellFormat *f = model->format(span.top, span.left);
    const GridCellFormat *own_f = model->format(r, c);

    QColor back, fore;
    if (fixed) {
        back = flex::bgrToColor(q->BackColorFixed());
        fore = flex::bgrToColor(q->ForeColorFixed());
    } else if (selected) {
        back = flex::bgrToColor(q->BackColorSel());
        fore = flex::bgrToColor(q->ForeColorSel());
    } else {
        back = flex::bgrToColor(q->BackColor());
        fore = flex::bgrToColor(q->ForeColor());
    }
    if (!selected && own_f && own_f->backColor)
        back = flex::bgrToColor(own_f->backColor);
    if (!selected && f && f->foreColor)
        fore = flex::bgrToColor(f->foreColor);
    p.fillRect(own, back);

    p.save();
    p.setClipRect(own);
    if (own_f && !own_f->picture.isNull()) {
        const QPixmap &pic = own_f->picture;
        const QSize sz = pic.deviceIndependentSize().toSize();
        const QRect at = QStyle::alignedRect(Qt::LeftToRight, flex::alignmentFlags(own_f->pictureAlignment),
                                             sz, own);
        p.drawPixmap(at, pic);
    }
    const QStringView text = model->cellView(span.top, span.left);
    if (!text.isEmpty()) {
        QFont font = q->font();
        if (f) {
            if (!f->fontName.isEmpty())
                font.setFamily(f->fontName);
            if (f->fontSize > 0)
                font.setPointSizeF(f->fontSize);
            if (f->bold >= 0)
                font.setBold(f->bold != 0);
        }
        p.setFont(font);
        p.setPen(fore);
        const int code = model->colAlignment(span.left);
        const bool numeric = code == flex::AlignGeneral && GridModel::isNumber(text);
        int flags = int(flex::alignmentFlags(code, numeric));
        flags |= wordWrap ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine);
        const QRect area = whole.adjusted(3, 1, -3, -1);
        const QString shown = text.toString();
        // Centred text wider than its place keeps its start in view, not its middle.
        if (!wordWrap && (flags & Qt::AlignHCenter) && p.fontMetrics().horizontalAdvance(shown) > area.width())
            flags = (flags & ~int(Qt::AlignHCenter)) | int(Qt::AlignLeft);
        p.drawText(area, flags, shown);
    }
    p.restore();

    // Grid lines on the right and bottom edges, except inside a merged block.
    QColor line = flex::bgrToColor(gridColor);
    if (fixed)
        line = line.darker(140);
    p.setPen(line);
    if (span.right == c)
        p.drawLine(own.topRight(), own.bottomRight());
    if (span.bottom == r)
        p.drawLine(own.bottomLeft(), own.bottomRight());

    if (current && !fixed && focusRect != flex::FocusNone && row < model->gridRows()) {
        // The frame is the grid's, in its text colour: a cell's own colour may hide its
        // text (a check box's does). It lies inside the cell's grid lines.
        const QColor frame = flex::bgrToColor(q->ForeColor());
        const QRect inside = own.adjusted(0, 0, -2, -2);
        p.setBrush(Qt::NoBrush);
        if (focusRect == flex::FocusHeavy) {
            p.setPen(QPen(frame, 1));
            p.drawRect(inside);
            p.drawRect(inside.adjusted(1, 1, -1, -1));
        } else {
            p.setPen(QPen(frame, 1, Qt::DotLine));
            p.drawRect(inside);
        }
    }
}

void FlexGrid::State::paintFixed(QPainter &p, const QRect &clip) const
{
    const int rows = model->publishedRows();
    const int cols = model->gridCols();
    const int fw = fixedWidth();
    const int fh = fixedHeight();
    const int r1 = firstVisibleRow(), r2 = std::min(lastVisibleRow(), rows - 1);
    const int c1 = firstVisibleCol(), c2 = std::min(lastVisibleCol(), cols - 1);
    auto intersects = [&](int r, int c) { return cellRect(r, c).intersects(clip); };

    // Fixed rows over the scrolling columns, then fixed columns beside the scrolling
    // rows, then the corner over both.
    p.save();
    p.setClipRect(QRect(fw, 0, 1 << 20, fh).intersected(clip));
    for (int r = 0; r < fixedRows && r < rows; ++r)
        for (int c = std::max(c1, fixedCols); c <= c2; ++c)
            if (intersects(r, c))
                paintCell(p, r, c, 0, fixedRows - 1, std::max(c1, fixedCols), c2);
    p.restore();
    p.save();
    p.setClipRect(QRect(0, fh, fw, 1 << 20).intersected(clip));
    for (int r = std::max(r1, fixedRows); r <= r2; ++r)
        for (int c = 0; c < fixedCols; ++c)
            if (intersects(r, c))
                paintCell(p, r, c, std::max(r1, fixedRows), r2, 0, fixedCols - 1);
    p.restore();
    p.save();
    p.setClipRect(QRect(0, 0, fw, fh).intersected(clip));
    for (int r = 0; r < fixedRows && r < rows; ++r)
        for (int c = 0; c < fixedCols; ++c)
            paintCell(p, r, c, 0, fixedRows - 1, 0, fixedCols - 1);
    p.restore();
}

GridDelegate::GridDelegate(FlexGrid *grid)
    : m_grid(grid)
{
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const FlexGrid::State &s = *m_grid->d;
    const int rows = s.model->publishedRows();
    const int cols = s.model->gridCols();
    painter->save();
    // Cell rectangles are in client coordinates; the viewport starts after the bands.
    painter->translate(-s.fixedWidth(), -s.fixedHeight());
    s.paintCell(*painter, index.row(), index.column(), std::max(s.firstVisibleRow(), s.fixedRows),
                std::min(s.lastVisibleRow(), rows - 1), std::max(s.firstVisibleCol(), s.fixedCols),
                std::min(s.lastVisibleCol(), cols - 1));
    painter->restore();
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return {};
}

void GridFixedPane::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.translate(-origin);
    m_grid->d->paintFixed(p, e->rect().translated(origin));
}
