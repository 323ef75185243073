#include "grid.h"

#include "gridstate.h"
#include "system.h"
#include "vberror.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace flex {

QColor bgrToColor(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int colorToBgr(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

Qt::Alignment alignmentFlags(int code, bool numeric)
{
    switch (code) {
    case AlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case AlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case AlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case AlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case AlignCenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case AlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case AlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case AlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case AlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: return (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

} // namespace flex

namespace {

[[noreturn]] void gridError(int number)
{
    const char *text = number == flex::ErrInvalidRow ? "Invalid Row value"
        : number == flex::ErrInvalidCol              ? "Invalid Col value"
                                                     : "Subscript out of range";
    throw VbError(number, QStringLiteral("FlexGrid"), QString::fromLatin1(text));
}

} // namespace

void FlexGrid::State::checkRow(int r, int err) const
{
    if (r < 0 || r >= model->gridRows())
        gridError(err);
}

void FlexGrid::State::checkCol(int c, int err) const
{
    if (c < 0 || c >= model->gridCols())
        gridError(err);
}

FlexGrid::FlexGrid(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<State>())
{
    d->q = this;
    d->model = std::make_unique<GridModel>();
    d->delegate = std::make_unique<GridDelegate>(this);
    d->view = new GridView(this);
    d->view->setModel(d->model.get());
    d->view->setItemDelegate(d->delegate.get());
    d->topPane = new GridFixedPane(this, d->view);
    d->leftPane = new GridFixedPane(this, d->view);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);
    setFocusProxy(d->view);
    setFocusPolicy(Qt::StrongFocus);

    connect(d->view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        d->leftPane->update();
        Q_EMIT Scroll();
    });
    connect(d->view->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        d->topPane->update();
        Q_EMIT Scroll();
    });

    // A fresh grid as the old control came: 2 rows, 2 columns, one fixed of each.
    d->model->setGridCols(2);
    d->model->setGridRows(2);
    d->fixedRows = 1;
    d->fixedCols = 1;
    d->row = d->rowSel = 1;
    d->col = d->colSel = 1;
    d->view->verticalHeader()->setDefaultSectionSize(sys::toPixels(d->defaultRowHeight()));
    d->view->horizontalHeader()->setDefaultSectionSize(sys::toPixels(d->defaultColWidth));
    d->syncAllRows();
    d->syncAllCols();
}

FlexGrid::~FlexGrid()
{
    // The view goes before the model and delegate it points at.
    delete d->view;
    d->view = nullptr;
}

QTableView *FlexGrid::view() const { return d->view; }
GridModel *FlexGrid::model() const { return d->model.get(); }

// --- Structure ---

int FlexGrid::Rows() const { return d->model->gridRows(); }

void FlexGrid::setRows(int rows)
{
    if (rows < 0)
        gridError(flex::ErrSubscript);
    const int before = Rows();
    if (rows == before)
        return;
    d->model->setGridRows(rows);
    d->syncedRows = std::min(d->syncedRows, rows);
    if (size_t(rows) < d->sortOrder.capacity() / 4)
        d->sortOrder = {};
    if (d->fixedRows > rows)
        d->fixedRows = rows;
    if (rows > before && d->redraw) {
        for (int r = before; r < rows; ++r)
            d->syncRow(r);
        if (d->syncedRows == before)
            d->syncedRows = rows;
    }
    if (d->rowSel >= rows)
        d->rowSel = std::max(0, rows - 1);
    if (d->row >= rows)
        d->moveTo(std::max(0, rows - 1), d->col, true);
    d->syncMargins();
    d->repaint();
}

int FlexGrid::Cols() const { return d->model->gridCols(); }

void FlexGrid::setCols(int cols)
{
    if (cols < 0)
        gridError(flex::ErrSubscript);
    const int before = Cols();
    if (cols == before)
        return;
    d->model->setGridCols(cols);
    if (d->fixedCols > cols)
        d->fixedCols = cols;
    for (int c = before; c < cols; ++c)
        d->syncCol(c);
    if (d->colSel >= cols)
        d->colSel = std::max(0, cols - 1);
    if (d->col >= cols)
        d->moveTo(d->row, std::max(0, cols - 1), true);
    d->syncMargins();
    d->repaint();
}

int FlexGrid::FixedRows() const { return d->fixedRows; }

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || rows > Rows())
        gridError(flex::ErrSubscript);
    const int before = d->fixedRows;
    d->fixedRows = rows;
    for (int r = std::min(before, rows); r < std::max(before, rows) && r < d->model->publishedRows(); ++r)
        d->syncRow(r);
    d->syncMargins();
    d->repaint();
}

int FlexGrid::FixedCols() const { return d->fixedCols; }

void FlexGrid::setFixedCols(int cols)
{
    if (cols < 0 || cols > Cols())
        gridError(flex::ErrSubscript);
    const int before = d->fixedCols;
    d->fixedCols = cols;
    for (int c = std::min(before, cols); c < std::max(before, cols); ++c)
        d->syncCol(c);
    d->syncMargins();
    d->repaint();
}

void FlexGrid::AddItem(const QString &item, int index)
{
    const int rows = Rows();
    if (index == -1)
        index = rows;
    if (index < 0 || index > rows)
        gridError(flex::ErrSubscript);
    d->model->insertGridRow(index, item);
    if (index < d->fixedRows)
        ++d->fixedRows;
    if (index < d->syncedRows)
        ++d->syncedRows;   // the rows after it moved on with it
    if (d->redraw) {
        d->syncRow(index);
        if (index == d->syncedRows)
            ++d->syncedRows;
    } else if (index < d->syncedRows) {
        d->rowsNeedSync = true;
    }
    // The current cell stays on the row it was on.
    if (index <= d->row && d->row < rows)
        ++d->row;
    if (index <= d->rowSel && d->rowSel < rows)
        ++d->rowSel;
    if (index < d->fixedRows)
        d->syncMargins();
    d->repaint();
}

void FlexGrid::RemoveItem(int index)
{
    d->checkRow(index);
    d->model->removeGridRow(index);
    if (index < d->syncedRows)
        --d->syncedRows;
    const int rows = Rows();
    const bool wasFixed = index < d->fixedRows;
    if (wasFixed)
        --d->fixedRows;
    if (d->rowSel > index || d->rowSel >= rows)
        d->rowSel = std::max(0, d->rowSel - 1);
    if (d->row > index)
        --d->row;
    if (d->row >= rows)
        d->moveTo(std::max(0, rows - 1), d->col, true);
    if (wasFixed)
        d->syncMargins();
    d->repaint();
}

void FlexGrid::Clear()
{
    d->model->clearCells();
    d->repaint();
}

void FlexGrid::ClearRow(int row)
{
    d->checkRow(row);
    d->model->clearRow(row);
    d->repaint();
}

// --- Current cell and selection ---

int FlexGrid::Row() const { return d->row; }

void FlexGrid::setRow(int row)
{
    d->checkRow(row, flex::ErrInvalidRow);
    d->moveTo(row, d->col, false);
}

int FlexGrid::Col() const { return d->col; }

void FlexGrid::setCol(int col)
{
    d->checkCol(col, flex::ErrInvalidCol);
    d->moveTo(d->row, col, false);
}

int FlexGrid::RowSel() const { return d->rowSel; }

void FlexGrid::setRowSel(int row)
{
    d->checkRow(row, flex::ErrInvalidRow);
    d->setSelection(row, d->colSel);
}

int FlexGrid::ColSel() const { return d->colSel; }

void FlexGrid::setColSel(int col)
{
    d->checkCol(col, flex::ErrInvalidCol);
    d->setSelection(d->rowSel, col);
}

int FlexGrid::TopRow() const { return d->firstVisibleRow(); }

void FlexGrid::setTopRow(int row)
{
    d->checkRow(row);
    d->ensurePublished();
    if (row < d->fixedRows)
        row = d->fixedRows;
    if (row >= Rows())
        return;
    // Per-item scrolling counts the rows the view shows (fixed and hidden rows left out).
    QHeaderView *h = d->view->verticalHeader();
    int value = row - d->fixedRows;
    if (h->hiddenSectionCount() > d->fixedRows) {   // hidden rows besides the fixed ones
        value = 0;
        for (int r = d->fixedRows; r < row; ++r)
            if (!h->isSectionHidden(r))
                ++value;
    }
    d->view->verticalScrollBar()->setValue(value);
}

int FlexGrid::LeftCol() const { return d->firstVisibleCol(); }

void FlexGrid::setLeftCol(int col)
{
    d->checkCol(col);
    if (col < d->fixedCols)
        col = d->fixedCols;
    if (col >= Cols())
        return;
    QHeaderView *h = d->view->horizontalHeader();
    int value = 0;
    for (int c = d->fixedCols; c < col; ++c)
        if (!h->isSectionHidden(c))
            ++value;
    d->view->horizontalScrollBar()->setValue(value);
}

bool FlexGrid::RowIsVisible(int row) const
{
    d->checkRow(row);
    if (row < d->fixedRows)
        return d->rowPixels(row) > 0;
    if (row >= d->model->publishedRows() || d->rowPixels(row) == 0)
        return false;
    const QRect r = d->cellRect(row, d->fixedCols < Cols() ? d->fixedCols : 0);
    return r.top() < d->view->contentsRect().height() && r.bottom() >= d->fixedHeight();
}

bool FlexGrid::ColIsVisible(int col) const
{
    d->checkCol(col);
    if (col < d->fixedCols)
        return d->colPixels(col) > 0;
    if (d->colPixels(col) == 0)
        return false;
    const int x = d->fixedWidth() + d->view->columnViewportPosition(col);
    return x < d->view->contentsRect().width() && x + d->colPixels(col) > d->fixedWidth();
}

void FlexGrid::ScrollIntoView(int row, int col)
{
    d->checkRow(row);
    d->checkCol(col);
    // A scroll range that still waits for the event loop after a fill is settled first.
    d->ensurePublished();
    d->view->doItemsLayout();
    d->scrollIntoView(row, col);
}

int FlexGrid::MouseRow() const { return d->mouseRow; }
int FlexGrid::MouseCol() const { return d->mouseCol; }
bool FlexGrid::MouseSized() const { return d->pressSized; }

int FlexGrid::CellLeft() const
{
    d->ensurePublished();
    return sys::toTwips(d->cellRect(d->row, d->col).left());
}

int FlexGrid::CellTop() const
{
    d->ensurePublished();
    return sys::toTwips(d->cellRect(d->row, d->col).top());
}

int FlexGrid::CellWidth() const { return sys::toTwips(d->colPixels(d->col)); }
int FlexGrid::CellHeight() const { return sys::toTwips(d->rowPixels(d->row)); }

// --- Texts ---

QString FlexGrid::TextMatrix(int row, int col) const
{
    d->checkRow(row);
    d->checkCol(col);
    return d->model->cell(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    d->checkRow(row);
    d->checkCol(col);
    d->model->setCell(row, col, text);
    // The bands are not the view's; merged neighbours may change with the text.
    if (row < d->fixedRows || col < d->fixedCols || d->mergeCells != flex::MergeNever)
        d->repaint();
}

QString FlexGrid::Text() const
{
    if (d->row >= Rows() || d->col >= Cols())
        return {};
    return d->model->cell(d->row, d->col);
}

namespace {

// The cells a cell property acts on: the current cell, or the selection with FillRepeat.
template<class F>
void forTargetCells(const FlexGrid::State &s, int fillStyle, F &&f)
{
    if (s.row >= s.model->gridRows() || s.col >= s.model->gridCols())
        return;
    if (fillStyle != flex::FillRepeat) {
        f(s.row, s.col);
        return;
    }
    int r1, c1, r2, c2;
    s.selectionRange(r1, c1, r2, c2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            f(r, c);
}

} // namespace

void FlexGrid::setText(const QString &text)
{
    forTargetCells(*d, d->fillStyle, [&](int r, int c) { d->model->setCell(r, c, text); });
    d->repaint();
}

// --- Sizes ---

int FlexGrid::ColWidth(int col) const
{
    d->checkCol(col);
    return d->colWidthTwips(col);
}

void FlexGrid::setColWidth(int col, int twips)
{
    d->checkCol(col);
    if (twips < -1)
        gridError(flex::ErrSubscript);
    d->model->setColWidthValue(col, twips);
    d->syncCol(col);
    if (col < d->fixedCols)
        d->syncMargins();
    d->repaint();
}

int FlexGrid::RowHeight(int row) const
{
    d->checkRow(row);
    return d->rowHeightTwips(row);
}

void FlexGrid::setRowHeight(int row, int twips)
{
    d->checkRow(row);
    if (twips < -1)
        gridError(flex::ErrSubscript);
    if (d->model->rowHeight(row) == twips)
        return;
    d->model->setRowHeightValue(row, twips);
    if (row < d->fixedRows) {
        d->syncMargins();
        d->repaint();
    } else if (d->redraw) {
        d->syncRow(row);
    } else if (row < d->syncedRows) {
        d->rowsNeedSync = true;   // a row appended since is sized when drawing comes on
    }
}

int FlexGrid::RowHeightMin() const { return d->rowHeightMin; }

void FlexGrid::setRowHeightMin(int twips)
{
    if (twips < 0)
        gridError(flex::ErrSubscript);
    d->rowHeightMin = twips;
    d->rowsNeedSync = true;
    if (d->redraw)
        d->syncAllRows();
    d->syncMargins();
}

int FlexGrid::AllowUserResizing() const { return d->allowUserResizing; }
void FlexGrid::setAllowUserResizing(int setting) { d->allowUserResizing = setting; }

// --- Look ---

int FlexGrid::ColAlignment(int col) const
{
    d->checkCol(col);
    return d->model->colAlignment(col);
}

void FlexGrid::setColAlignment(int col, int code)
{
    d->checkCol(col);
    if (code < flex::AlignLeftTop || code > flex::AlignGeneral)
        gridError(flex::ErrSubscript);
    d->model->setColAlignment(col, code);
    d->repaint();
}

int FlexGrid::MergeCells() const { return d->mergeCells; }

void FlexGrid::setMergeCells(int setting)
{
    if (setting < flex::MergeNever || setting > flex::MergeRestrictAll)
        gridError(flex::ErrSubscript);
    d->mergeCells = setting;
    d->repaint();
}

bool FlexGrid::MergeRow(int row) const
{
    d->checkRow(row);
    return d->model->rowMerge(row);
}

void FlexGrid::setMergeRow(int row, bool merge)
{
    d->checkRow(row);
    d->model->setRowMerge(row, merge);
    d->repaint();
}

bool FlexGrid::MergeCol(int col) const
{
    d->checkCol(col);
    return d->model->colMerge(col);
}

void FlexGrid::setMergeCol(int col, bool merge)
{
    d->checkCol(col);
    d->model->setColMerge(col, merge);
    d->repaint();
}

flex::CellSpan FlexGrid::mergedSpan(int row, int col) const
{
    d->checkRow(row);
    d->checkCol(col);
    const bool fixedRow = row < d->fixedRows;
    const bool fixedCol = col < d->fixedCols;
    return d->spanWithin(row, col, fixedRow ? 0 : d->fixedRows, fixedRow ? d->fixedRows - 1 : Rows() - 1,
                         fixedCol ? 0 : d->fixedCols, fixedCol ? d->fixedCols - 1 : Cols() - 1);
}

bool FlexGrid::WordWrap() const { return d->wordWrap; }

void FlexGrid::setWordWrap(bool wrap)
{
    d->wordWrap = wrap;
    d->repaint();
}

QFont FlexGrid::Font() const { return font(); }

int FlexGrid::FillStyle() const { return d->fillStyle; }
void FlexGrid::setFillStyle(int style) { d->fillStyle = style; }

int FlexGrid::FocusRect() const { return d->focusRect; }

void FlexGrid::setFocusRect(int style)
{
    d->focusRect = style;
    d->repaint();
}

int FlexGrid::SelectionMode() const { return d->selectionMode; }

void FlexGrid::setSelectionMode(int mode)
{
    d->selectionMode = mode;
    d->repaint();
}

namespace {

int paletteBgr(const QWidget *w, QPalette::ColorRole role)
{
    return flex::colorToBgr(w->palette().color(role));
}

} // namespace

int FlexGrid::BackColor() const { return d->backColor >= 0 ? d->backColor : paletteBgr(this, QPalette::Base); }
void FlexGrid::setBackColor(int bgr) { d->backColor = bgr; d->repaint(); }
int FlexGrid::ForeColor() const { return d->foreColor >= 0 ? d->foreColor : paletteBgr(this, QPalette::Text); }
void FlexGrid::setForeColor(int bgr) { d->foreColor = bgr; d->repaint(); }
int FlexGrid::BackColorFixed() const { return d->backColorFixed >= 0 ? d->backColorFixed : paletteBgr(this, QPalette::Button); }
void FlexGrid::setBackColorFixed(int bgr) { d->backColorFixed = bgr; d->repaint(); }
int FlexGrid::ForeColorFixed() const { return d->foreColorFixed >= 0 ? d->foreColorFixed : paletteBgr(this, QPalette::ButtonText); }
void FlexGrid::setForeColorFixed(int bgr) { d->foreColorFixed = bgr; d->repaint(); }
int FlexGrid::BackColorSel() const { return d->backColorSel >= 0 ? d->backColorSel : paletteBgr(this, QPalette::Highlight); }
void FlexGrid::setBackColorSel(int bgr) { d->backColorSel = bgr; d->repaint(); }
int FlexGrid::ForeColorSel() const { return d->foreColorSel >= 0 ? d->foreColorSel : paletteBgr(this, QPalette::HighlightedText); }
void FlexGrid::setForeColorSel(int bgr) { d->foreColorSel = bgr; d->repaint(); }
int FlexGrid::GridColor() const { return d->gridColor; }
void FlexGrid::setGridColor(int bgr) { d->gridColor = bgr; d->repaint(); }

// --- Cell formatting ---

namespace {

const GridCellFormat &currentFormat(const FlexGrid::State &s)
{
    static const GridCellFormat none;
    if (s.row >= s.model->gridRows() || s.col >= s.model->gridCols())
        return none;
    const GridCellFormat *f = s.model->format(s.row, s.col);
    return f ? *f : none;
}

} // namespace

namespace {

// Changes the formatting of the cells a cell property acts on.
template<class F>
void editTargetFormats(FlexGrid::State &s, F &&change)
{
    forTargetCells(s, s.fillStyle, [&](int r, int c) { s.model->editFormat(r, c, change); });
    s.repaint();
}

} // namespace

int FlexGrid::CellBackColor() const { return currentFormat(*d).backColor; }
void FlexGrid::setCellBackColor(int bgr) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.backColor = bgr; });
}
int FlexGrid::CellForeColor() const { return currentFormat(*d).foreColor; }
void FlexGrid::setCellForeColor(int bgr) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.foreColor = bgr; });
}
QPixmap FlexGrid::CellPicture() const { return currentFormat(*d).picture; }
void FlexGrid::setCellPicture(const QPixmap &picture) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.picture = picture; });
}
int FlexGrid::CellPictureAlignment() const { return currentFormat(*d).pictureAlignment; }
void FlexGrid::setCellPictureAlignment(int code) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.pictureAlignment = code; });
}

QString FlexGrid::CellFontName() const
{
    const QString &name = currentFormat(*d).fontName;
    return name.isEmpty() ? font().family() : name;
}

void FlexGrid::setCellFontName(const QString &name) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.fontName = name; });
}

double FlexGrid::CellFontSize() const
{
    const double size = currentFormat(*d).fontSize;
    return size > 0 ? size : font().pointSizeF();
}

void FlexGrid::setCellFontSize(double points) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.fontSize = points; });
}

bool FlexGrid::CellFontBold() const
{
    const int bold = currentFormat(*d).bold;
    return bold < 0 ? font().bold() : bold != 0;
}

void FlexGrid::setCellFontBold(bool bold) 
{
    editTargetFormats(*d, [&](GridCellFormat &f) { f.bold = bold ? 1 : 0; });
}

// --- Drawing and sorting ---

bool FlexGrid::Redraw() const { return d->redraw; }

void FlexGrid::setRedraw(bool on)
{
    if (on == d->redraw) {
        if (on)
            d->repaint();
        return;
    }
    d->redraw = on;
    if (!on) {
        d->model->setDeferred(true);
        d->view->setUpdatesEnabled(false);
        return;
    }
    // Drawing again: rows appended from now on reach the view at once, also when none
    // came while drawing was off.
    d->model->setDeferred(false);
    d->syncAllRows();
    d->syncMargins();
    d->view->setUpdatesEnabled(true);
    d->repaint();
}

void FlexGrid::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange && d && d->view) {
        d->defRowTwips = -1;
        d->rowsNeedSync = true;
        d->syncAllRows();
        d->syncMargins();
        d->repaint();
    }
}
