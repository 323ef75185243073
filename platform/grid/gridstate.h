#pragma once

// The grid's insides, shared by grid.cpp (the properties) and gridview.cpp (drawing and
// input). Not part of the grid's interface.

#include "grid.h"
#include "gridmodel.h"

#include <QAbstractItemDelegate>
#include <QTableView>

#include <memory>
#include <optional>

class FlexGrid;

// The view inside the grid: scrolling cells only (fixed rows and columns are hidden in
// it and drawn by the panes), input handed to the grid.
class GridView : public QTableView
{
public:
    explicit GridView(FlexGrid *grid);
    void setMargins(int left, int top) { setViewportMargins(left, top, 0, 0); }
    void setModel(QAbstractItemModel *model) override;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void acceptComposedText();

    FlexGrid *m_grid;
};

// The frozen band of fixed rows (with the corner) or of fixed columns.
class GridFixedPane : public QWidget
{
public:
    GridFixedPane(FlexGrid *grid, QWidget *parent);
    QPoint origin;   // top-left of the pane in client coordinates

protected:
    void paintEvent(QPaintEvent *e) override;
    bool event(QEvent *e) override;

private:
    FlexGrid *m_grid;
};

// Draws every scrolling cell through the grid's own cell painter.
class GridDelegate : public QAbstractItemDelegate
{
public:
    explicit GridDelegate(FlexGrid *grid);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    FlexGrid *m_grid;
};

struct FlexGrid::State {
    FlexGrid *q = nullptr;
    std::unique_ptr<GridModel> model;
    GridView *view = nullptr;
    GridFixedPane *topPane = nullptr;    // fixed rows, corner included
    GridFixedPane *leftPane = nullptr;   // fixed columns below the fixed rows
    std::unique_ptr<GridDelegate> delegate;

    int fixedRows = 0;
    int fixedCols = 0;
    int row = 0, col = 0, rowSel = 0, colSel = 0;
    int mouseRow = -1, mouseCol = -1;
    int rowHeightMin = 0;
    int defaultColWidth = 960;
    int mergeCells = flex::MergeNever;
    int fillStyle = flex::FillSingle;
    int focusRect = flex::FocusLight;
    int selectionMode = flex::SelectionFree;
    int allowUserResizing = flex::ResizeNone;
    bool wordWrap = false;
    bool redraw = true;
    bool rowsNeedSync = false;   // row sizes changed while drawing was off
    // Rows 0 .. syncedRows-1 have their sizes in the view; rows appended after them while
    // drawing was off are sized once it comes on, without going over the rows before.
    int syncedRows = 0;
    std::function<void(std::vector<int> &)> sortHook;   // SortCustom without the Compare signal
    std::vector<int> sortOrder;   // the rows of the last sort, its memory kept for the next
    mutable int defRowTwips = -1;   // default row height of the font, once measured

    // Colours; -1 = the palette's.
    int backColor = -1, foreColor = -1, backColorFixed = -1, foreColorFixed = -1;
    int backColorSel = -1, foreColorSel = -1, gridColor = 0xC0C0C0;

    // Mouse tracking between press and release.
    enum class Drag { None, Select, ColSize, RowSize };
    Drag drag = Drag::None;
    int dragIndex = -1;
    int dragStart = 0;       // client coordinate where the resize started
    int dragStartSize = 0;   // pixels
    bool pressed = false;
    bool pressSized = false;   // the last left press was on a border
    // A handler of the left press may let events run (a host that follows the current
    // row does); the release of a quick click then arrives before the press is done. It
    // waits and is handled after the press, so the grid sees the two in the user's order.
    bool inLeftPress = false;
    struct HeldRelease {
        Qt::KeyboardModifiers modifiers;
        QPoint pos;
    };
    std::optional<HeldRelease> heldRelease;

    // --- Geometry (pixels, client coordinates: inside the frame) ---
    int defaultRowHeight() const;                // twips
    int rowHeightTwips(int r) const;             // as read back
    int colWidthTwips(int c) const;
    int rowPixels(int r) const;                  // drawn height, 0 when hidden
    int colPixels(int c) const;
    int fixedHeight() const;                     // of all fixed rows
    int fixedWidth() const;
    QRect cellRect(int r, int c) const;          // empty width/height when hidden
    int rowAtY(int y) const;                     // -1 outside
    int colAtX(int x) const;
    int firstVisibleRow() const;                 // first scrolling row in view
    int lastVisibleRow() const;
    int firstVisibleCol() const;
    int lastVisibleCol() const;
    QPoint clientOffset() const;                 // client origin in FlexGrid coordinates

    // --- Keeping the view in step with the stored sizes ---
    void syncRow(int r);
    void syncAllRows();
    void syncCol(int c);
    void syncAllCols();
    void syncMargins();
    void ensurePublished();
    void repaint();

    // --- Current cell and selection ---
    void moveTo(int r, int c, bool extend);   // raises the cell events
    void setSelection(int rSel, int cSel);
    void selectionRange(int &r1, int &c1, int &r2, int &c2) const;   // normalised, as drawn
    bool isSelected(int r, int c) const;
    void scrollIntoView(int r, int c);

    // --- Drawing ---
    flex::CellSpan spanWithin(int r, int c, int rLo, int rHi, int cLo, int cHi) const;
    void paintCell(QPainter &p, int r, int c, int rLo, int rHi, int cLo, int cHi) const;
    void paintFixed(QPainter &p, const QRect &clip) const;

    // --- Input (positions in client coordinates) ---
    void mousePress(QMouseEvent *e, QPoint pos);
    void mouseMove(QMouseEvent *e, QPoint pos);
    void mouseRelease(QMouseEvent *e, QPoint pos);
    void release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void pressCells(Qt::KeyboardModifiers modifiers, QPoint pos, int resizeIndex, bool isColumn);
    void mouseDouble(QMouseEvent *e, QPoint pos);
    bool keyPress(QKeyEvent *e);   // true when handled
    void keyRelease(QKeyEvent *e);
    // Raises KeyPress for each character of a typed text in turn.
    void typeText(const QString &text);
    int resizeTarget(QPoint pos, bool &isColumn) const;

    // Errors for indexes outside the grid.
    void checkRow(int r, int err = flex::ErrSubscript) const;
    void checkCol(int c, int err = flex::ErrSubscript) const;
};
