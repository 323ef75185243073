#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class GridModel;
class QTableView;

// The grid's own setting values. Plain ints in the interface, because the control
// passes them through from its hosts and its stored properties unchanged.
namespace flex {

enum MergeSetting : int {
    MergeNever = 0,
    MergeFree = 1,
    MergeRestrictRows = 2,
    MergeRestrictColumns = 3,
    MergeRestrictAll = 4,
};

enum FillStyleSetting : int { FillSingle = 0, FillRepeat = 1 };
enum FocusRectSetting : int { FocusNone = 0, FocusLight = 1, FocusHeavy = 2 };
enum SelectionModeSetting : int { SelectionFree = 0, SelectionByRow = 1, SelectionByColumn = 2 };
enum AllowUserResizingSetting : int { ResizeNone = 0, ResizeColumns = 1, ResizeRows = 2, ResizeBoth = 3 };

// Alignment codes of columns and cell pictures.
enum AlignmentCode : int {
    AlignLeftTop = 0,
    AlignLeftCenter = 1,
    AlignLeftBottom = 2,
    AlignCenterTop = 3,
    AlignCenterCenter = 4,
    AlignCenterBottom = 5,
    AlignRightTop = 6,
    AlignRightCenter = 7,
    AlignRightBottom = 8,
    AlignGeneral = 9,   // text left, numbers right, both centred vertically
};

enum SortSetting : int {
    SortNone = 0,
    SortGenericAscending = 1,
    SortGenericDescending = 2,
    SortNumericAscending = 3,
    SortNumericDescending = 4,
    SortStringNoCaseAscending = 5,
    SortStringNoCaseDescending = 6,
    SortStringAscending = 7,
    SortStringDescending = 8,
    SortCustom = 9,   // every pair of rows goes through the Compare signal
};

// Error numbers the grid raises (as VbError) for indexes outside it.
inline constexpr int ErrSubscript = 381;    // "Subscript out of range"
inline constexpr int ErrInvalidRow = 30009; // "Invalid Row value"
inline constexpr int ErrInvalidCol = 30010; // "Invalid Col value"

// Colours travel as Windows numbers 0x00BBGGRR (&HC0C000 is teal).
QColor bgrToColor(int bgr);
int colorToBgr(const QColor &color);

// Qt alignment flags of an alignment code; AlignGeneral answers for text (left).
Qt::Alignment alignmentFlags(int code, bool numeric = false);

// A block of cells drawn as one: rows top..bottom, columns left..right (inclusive).
struct CellSpan {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool operator==(const CellSpan &) const = default;
};

} // namespace flex

// The grid of the table editor control: a table of texts addressed the FlexGrid way.
// Row 0 and the fixed rows and columns are cells like any other (TextMatrix(0, c) is a
// caption); Rows and Cols count them. Sizes are twips and read back exactly as written.
// Properties that act on "the cell" act on the current cell (Row, Col), or on the whole
// selection when FillStyle is FillRepeat.
//
// Fixed rows and columns do not scroll: the view inside hides them and they are drawn
// in a frozen band above and to the left of the scrolling cells.
//
// Index arguments outside the grid raise VbError (flex::ErrSubscript, ErrInvalidRow,
// ErrInvalidCol); nothing is clamped silently.
class FlexGrid : public QWidget
{
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // --- Structure ---
    int Rows() const;
    void setRows(int rows);          // grows or shrinks at the end, keeping cells
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const;
    void setFixedRows(int rows);
    int FixedCols() const;
    void setFixedCols(int cols);

    // Appends a row (index -1) or inserts it before row `index`; the text is split at
    // tab characters into columns 0, 1, ... (text beyond the last column is dropped).
    void AddItem(const QString &item, int index = -1);
    void RemoveItem(int index);
    // Empties every cell's text and formatting; the rows and columns stay.
    void Clear();
    // Empties the text and formatting of one row's cells; its height and merge flag stay.
    void ClearRow(int row);

    // --- Current cell and selection ---
    int Row() const;
    // Setting Row or Col makes the current cell the whole selection (RowSel, ColSel);
    // the grid does not scroll to it.
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    int RowSel() const;
    void setRowSel(int row);
    int ColSel() const;
    void setColSel(int col);
    int TopRow() const;              // first scrolling row in view
    void setTopRow(int row);         // scrolls
    int LeftCol() const;
    void setLeftCol(int col);
    bool RowIsVisible(int row) const;
    bool ColIsVisible(int col) const;
    // Scrolls only as far as needed to show the cell whole (as far as it fits); a fixed
    // or hidden row or column leaves that direction as it is. The current cell stays.
    void ScrollIntoView(int row, int col);
    // The cell under the mouse at the last mouse event; past the last row or column
    // (in the empty space of the grid) they read Rows and Cols, which no cell has.
    int MouseRow() const;
    int MouseCol() const;
    // Whether the last left press was on a column's or row's border (AllowUserResizing):
    // it sized, it was no click. Holds until the next left press.
    bool MouseSized() const;

    // Geometry of the current cell in twips, relative to the grid's client area.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // --- Texts ---
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    QString Text() const;            // current cell
    void setText(const QString &text);   // current cell, or the selection (FillRepeat)

    // --- Sizes (twips) ---
    int ColWidth(int col) const;     // the width as written; the default width if never set
    void setColWidth(int col, int twips);   // 0 hides; -1 back to the default
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);  // below 16 the row is hidden; -1 default
    int RowHeightMin() const;
    void setRowHeightMin(int twips);
    int AllowUserResizing() const;
    void setAllowUserResizing(int setting);

    // --- Look ---
    int ColAlignment(int col) const;
    void setColAlignment(int col, int code);
    int MergeCells() const;
    void setMergeCells(int setting);
    bool MergeRow(int row) const;
    void setMergeRow(int row, bool merge);
    bool MergeCol(int col) const;
    void setMergeCol(int col, bool merge);
    // The block of cells that (row, col) is drawn as part of, by the merge settings.
    flex::CellSpan mergedSpan(int row, int col) const;
    bool WordWrap() const;
    void setWordWrap(bool wrap);
    QFont Font() const;              // QWidget::setFont sets it
    int FillStyle() const;
    void setFillStyle(int style);
    int FocusRect() const;
    void setFocusRect(int style);
    int SelectionMode() const;
    void setSelectionMode(int mode);

    // Grid-wide colours, Windows BGR numbers.
    int BackColor() const;
    void setBackColor(int bgr);
    int ForeColor() const;
    void setForeColor(int bgr);
    int BackColorFixed() const;
    void setBackColorFixed(int bgr);
    int ForeColorFixed() const;
    void setForeColorFixed(int bgr);
    int BackColorSel() const;
    void setBackColorSel(int bgr);
    int ForeColorSel() const;
    void setForeColorSel(int bgr);
    int GridColor() const;
    void setGridColor(int bgr);

    // --- The cell's own formatting (current cell, or the selection with FillRepeat) ---
    // 0 reads as "no colour of its own" and writing 0 gives the cell the grid's colour
    // back, so a colour read and written back round-trips.
    int CellBackColor() const;
    void setCellBackColor(int bgr);
    int CellForeColor() const;
    void setCellForeColor(int bgr);
    QPixmap CellPicture() const;     // null when the cell has none
    void setCellPicture(const QPixmap &picture);   // a null pixmap removes it
    int CellPictureAlignment() const;
    void setCellPictureAlignment(int code);
    QString CellFontName() const;
    void setCellFontName(const QString &name);
    double CellFontSize() const;     // points
    void setCellFontSize(double points);
    bool CellFontBold() const;
    void setCellFontBold(bool bold);

    // --- Drawing and sorting ---
    bool Redraw() const;
    // Off: nothing is painted and appended rows reach the view only when it is switched
    // on again, in one step; the way to fill many rows quickly.
    void setRedraw(bool on);
    // Sorts rows FixedRows..Rows-1 by columns Col..ColSel with a flex::SortSetting;
    // SortCustom asks Compare for each pair. Write-only, as a command.
    void setSort(int setting);
    // SortCustom's order in one step, in Compare's place while set: the hook is given
    // the rows FixedRows..Rows-1 by number, in their order, and puts them into the order
    // they are to stand in. A caller that worked out a key per row sorts its keys itself,
    // without a signal or a call per pair. An empty function gives Compare back.
    void setSortHook(std::function<void(std::vector<int> &rows)> hook);

    // The view inside, for placing the grid's cells on screen (tests, the editors).
    QTableView *view() const;
    GridModel *model() const;

Q_SIGNALS:
    // Delivered directly; reference arguments may be changed by the handler.
    void Click();   // a left press and its release; a press that sizes a column or row is none
    void DblClick();
    void KeyDown(int &KeyCode, int &Shift);     // KeyCode set to 0: the grid ignores the key
    // A typed character, a whole code point (one outside the Basic Multilingual Plane
    // too); Enter 13, Esc 27, Backspace 8. A key or an input method that gives several
    // characters at once raises it for each in turn.
    void KeyPress(int &KeyAscii);
    void KeyUp(int &KeyCode, int &Shift);
    // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; x, y in twips.
    void MouseDown(int Button, int Shift, float x, float y);
    void MouseMove(int Button, int Shift, float x, float y);
    void MouseUp(int Button, int Shift, float x, float y);
    void LeaveCell();
    void EnterCell();
    void RowColChange();
    void SelChange();
    void Scroll();
    void GotFocus();
    void LostFocus();
    // Cmp: -1 Row1 first, 0 equal, 1 Row2 first.
    void Compare(int Row1, int Row2, int &Cmp);

public:
    struct State;   // the insides; defined by the implementation only

protected:
    void changeEvent(QEvent *e) override;

private:
    friend class GridView;
    friend class GridFixedPane;
    friend class GridDelegate;

    std::unique_ptr<State> d;
};
