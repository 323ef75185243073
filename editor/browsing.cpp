// The grid's keyboard and mouse outside the editors: the seek by typing, Enter and Esc in
// browse mode, the start of an edit in update mode, double clicks, mouse releases and
// the events that report a change of the current cell.
#include "VarnexEditUni.h"

#include "grid.h"
#include "libroutines.h"
#include "system.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int HiddenBelow = 16;  // twips: rows lower than this are skipped
constexpr int KeyBackspace = 8, KeyEnter = 13, KeyEsc = 27, KeySpace = 32, KeyDelete = 46;
constexpr int KeyArrowLeft = 37, KeyArrowUp = 38, KeyArrowRight = 39, KeyArrowDown = 40;
constexpr int KeyPageUp = 33, KeyPageDown = 34, KeyEnd = 35, KeyHome = 36;
constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;

}  // namespace

void VarnexEditUni::connectGrid()
{
    connect(flg, &FlexGrid::KeyPress, this, [this](int &KeyAscii) { gridKeyTyped(char32_t(KeyAscii)); });
    connect(flg, &FlexGrid::KeyDown, this, &VarnexEditUni::gridKeyDown);
    connect(flg, &FlexGrid::DblClick, this, &VarnexEditUni::flg_DblClick);
    connect(flg, &FlexGrid::Click, this, &VarnexEditUni::gridClick);
    connect(flg, &FlexGrid::MouseUp, this, &VarnexEditUni::gridMouseUp);
    connect(flg, &FlexGrid::MouseDown, this, &VarnexEditUni::gridMouseDown);
    // The marked cells take the control's colour from the start, not the system's until
    // the marking first changes.
    flg->setBackColorSel(0xC0C000);
    connect(flg, &FlexGrid::SelChange, this, [this] { flg->setBackColorSel(0xC0C000); });
    connect(flg, &FlexGrid::RowColChange, this, &VarnexEditUni::gridRowColChange);
    connect(flg, &FlexGrid::EnterCell, this, &VarnexEditUni::gridEnterCell);
    connect(flg, &FlexGrid::GotFocus, this, &VarnexEditUni::flg_GotFocus);
    connect(flg, &FlexGrid::LeaveCell, this, &VarnexEditUni::flg_LeaveCell);
    connect(flg, &FlexGrid::Scroll, this, [this] { CommitCellEdit(); });
    txtEdit->installEventFilter(this);
    cmbEdit->installEventFilter(this);
    if (cmbEdit->lineEdit())
        cmbEdit->lineEdit()->installEventFilter(this);
}

bool VarnexEditUni::rowHidden(int row) const
{
    return flg->RowHeight(row) < HiddenBelow;
}

int VarnexEditUni::visibleRowFrom(int row, int step) const
{
    for (int r = row + step; r >= flg->FixedRows() && r < flg->Rows(); r += step)
        if (!rowHidden(r))
            return r;
    return -1;
}

int VarnexEditUni::shownColumnFrom(int col) const
{
    for (int c = std::max(col, 0); c < flg->Cols(); ++c)
        if (flg->ColWidth(c) >= 1)
            return c;
    return std::max(col, 0);
}

void VarnexEditUni::moveQuietly(int row, int col)
{
    ++m_quiet;
    flg->setRow(row);
    flg->setCol(col);
    --m_quiet;
    m_lastRow = flg->Row();
    m_lastCol = flg->Col();
}

void VarnexEditUni::moveCell(int row, int col)
{
    // One move, reported once, however many steps the grid takes for it.
    m_holdCellEvents = true;
    flg->setRow(row);
    flg->setCol(col);
    m_holdCellEvents = false;
    gridRowColChange();
    flg->ScrollIntoView(row, col);
}

void VarnexEditUni::moveToNextCell()
{
    const int row = flg->Row();
    const int col = flg->Col();
    for (int c = col + 1; c < flg->Cols(); ++c) {
        if (flg->ColWidth(c) >= 1) {
            moveCell(row, c);
            return;
        }
    }
    const int next = visibleRowFrom(row, 1);
    if (next > 0)
        moveCell(next, shownColumnFrom(m_FirstCol));
}

void VarnexEditUni::moveRowBy(int step)
{
    const int next = visibleRowFrom(flg->Row(), step);
    if (next > 0)
        moveCell(next, flg->Col());
}

// --- keys ---

void VarnexEditUni::flg_KeyPress(qint16 &KeyAscii)
{
    // A 16-bit key code above 0x7FFF arrives negative.
    gridKeyTyped(char32_t(quint16(KeyAscii)));
}

void VarnexEditUni::gridKeyTyped(char32_t KeyAscii)
{
    if (KeyAscii == KeyEsc) {
        if (m_Edited == 2)
            Q_EMIT Konec();
        return;
    }
    const int row = flg->Row();
    if (row == 0 || row >= flg->Rows() || rowHidden(row))
        return;
    const int col = flg->Col();
    // In update mode a hidden column (the key column) takes no editor: one there could
    // never be seen nor committed. The key moves on as from a column that cannot be edited.
    if (!isEditable(col) || (m_Edited == 1 && flg->ColWidth(col) < 1)) {
        flg->view()->setFocus();
        QCoreApplication::processEvents();
        moveToNextCell();
        return;
    }
    if (m_Edited == 1) {
        if (typeLetter(col) == QLatin1String("Z")) {
            if (KeyAscii == KeySpace)
                toggleCheck();
            else
                sys::Beep(0, 0);
        } else {
            StartCellEdit(isCodeListColumn(col) ? static_cast<QWidget *>(cmbEdit) : static_cast<QWidget *>(txtEdit),
                          KeyAscii);
        }
        return;
    }
    if (m_Edited != 2)
        return;
    const QString seek = lblSeek->text();
    if (KeyAscii == KeyEnter) {
        if (seek.isEmpty()) {
            Q_EMIT Vyber();
        } else {
            seekInSortColumn();
            lblSeek->hide();
        }
    } else if (KeyAscii == KeyBackspace) {
        if (!seek.trimmed().isEmpty()) {
            lblSeek->show();
            // The last character goes whole, both halves of a surrogate pair.
            lblSeek->setText(tabulix::LeftWhole(seek, seek.size() - 1));
        }
    } else {
        lblSeek->setText(seek + QString::fromUcs4(&KeyAscii, 1));
        lblSeek->show();
        // A seek longer than its place widens it; the filter text moves on.
        placeStrip();
    }
}

void VarnexEditUni::seekInSortColumn()
{
    const QString seek = lblSeek->text();
    const int col = m_SortCol;
    flg->setRedraw(false);
    if (col >= 0 && col < flg->Cols()) {
        for (int r = 1; r < flg->Rows(); ++r) {
            // A deleted row is no answer: the cursor never lands on a row it cannot show.
            if (rowHidden(r))
                continue;
            if (flg->TextMatrix(r, col).left(seek.size()).compare(seek, Qt::CaseInsensitive) == 0) {
                const int c = flg->ColWidth(flg->Col()) >= 1 ? flg->Col() : shownColumnFrom(m_FirstCol);
                moveCell(r, c);
                QCoreApplication::processEvents();
                break;
            }
        }
    }
    sys::Beep(0, 0);
    lblSeek->setText(QString());
    flg->setRedraw(true);
}

void VarnexEditUni::gridKeyDown(int &KeyCode, int &Shift)
{
    if (m_Edited == 1 && KeyCode == KeyDelete) {
        Delete();
        return;
    }
    if (flg->Rows() <= flg->FixedRows() || (Shift & AltMask) != 0)
        return;
    // Shift+Up and Shift+Down extend the marked rows, in every mode that marks rows, to
    // the next row shown: a deleted row takes no step of its own. The cursor stays.
    if ((Shift & ShiftMask) != 0) {
        if ((Shift & CtrlMask) != 0 || (KeyCode != KeyArrowUp && KeyCode != KeyArrowDown))
            return;
        const int next = visibleRowFrom(flg->RowSel(), KeyCode == KeyArrowUp ? -1 : 1);
        KeyCode = 0;
        if (next > 0) {
            flg->setRowSel(next);
            flg->ScrollIntoView(next, flg->ColSel());
        }
        return;
    }
    // The moving keys step over deleted rows and hidden columns (the key column among
    // them), which the grid itself would land on. Shift with the other keys extends the
    // marked range as the grid does.
    const int row = flg->Row();
    const int col = flg->Col();
    // The first and the last shown column of a row, in the direction of step.
    const auto shownColumn = [this](int from, int step) {
        for (int c = from; c >= flg->FixedCols() && c < flg->Cols(); c += step)
            if (flg->ColWidth(c) >= 1)
                return c;
        return -1;
    };
    // A shown row at or beyond target in the direction of step, else the nearest one back.
    const auto shownRow = [this](int target, int step) {
        target = std::clamp(target, flg->FixedRows(), flg->Rows() - 1);
        if (!rowHidden(target))
            return target;
        const int beyond = visibleRowFrom(target, step);
        return beyond > 0 ? beyond : visibleRowFrom(target, -step);
    };
    const bool ctrl = (Shift & CtrlMask) != 0;
    int nextRow = row, nextCol = col;
    switch (KeyCode) {
    case KeyArrowUp:
    case KeyArrowDown:
        nextRow = visibleRowFrom(row, KeyCode == KeyArrowUp ? -1 : 1);
        break;
    case KeyArrowLeft:
    case KeyArrowRight: {
        const int step = KeyCode == KeyArrowLeft ? -1 : 1;
        nextCol = shownColumn(col + step, step);
        break;
    }
    case KeyPageUp:
    case KeyPageDown: {
        // A page is the span of the rows the view shows, as the grid counts it.
        int first = -1, last = -1;
        for (int r = flg->TopRow(); r < flg->Rows(); ++r) {
            if (rowHidden(r))
                continue;
            if (!flg->RowIsVisible(r))
                break;
            if (first < 0)
                first = r;
            last = r;
        }
        const int page = std::max(1, last - first);
        const int step = KeyCode == KeyPageUp ? -1 : 1;
        nextRow = shownRow(row + step * page, step);
        break;
    }
    case KeyHome:
    case KeyEnd: {
        const int step = KeyCode == KeyHome ? 1 : -1;
        nextCol = shownColumn(step > 0 ? flg->FixedCols() : flg->Cols() - 1, step);
        if (ctrl)
            nextRow = shownRow(step > 0 ? flg->FixedRows() : flg->Rows() - 1, step);
        break;
    }
    default:
        return;
    }
    KeyCode = 0;
    if (nextRow > 0 && nextCol >= 0 && (nextRow != row || nextCol != col))
        moveCell(nextRow, nextCol);
    else
        flg->ScrollIntoView(row, col);
}

// --- mouse ---

void VarnexEditUni::flg_DblClick()
{
    if (m_Edited == 2) {
        const int r = flg->MouseRow();
        if (r >= 1 && r < flg->Rows() && !rowHidden(r))
            Q_EMIT DblClick();
        return;
    }
    if (m_Edited != 1)
        return;
    const int row = flg->Row();
    const int col = flg->Col();
    if (flg->MouseRow() == 0 || row == 0 || rowHidden(row) || !m_Atributy.Exists() || col > m_Atributy.UBound()
        || !isEditable(col))
        return;
    if (typeLetter(col) == QLatin1String("Z"))
        toggleCheck();
    else
        StartCellEdit(isCodeListColumn(col) ? static_cast<QWidget *>(cmbEdit) : static_cast<QWidget *>(txtEdit),
                      KeySpace);
}

void VarnexEditUni::gridMouseUp(int Button, int Shift, float x, float y)
{
    const int rows = flg->Rows();
    // Sizing a column by its header's border leaves the current cell where it was.
    if (rows > flg->FixedRows() && Button == 1 && flg->MouseRow() == 0 && !flg->MouseSized()) {
        const int first = visibleRowFrom(0, 1) > 0 ? visibleRowFrom(0, 1) : flg->FixedRows();
        const int col = flg->MouseCol() < flg->FixedCols() ? flg->FixedCols() : flg->Col();
        if (col < flg->Cols())
            moveCell(first, col);
    }
    if (Button == 2 && flg->MouseRow() >= 0 && flg->MouseRow() <= rows - 1)
        moveCell(flg->MouseRow(), flg->Col());
    qint16 button = qint16(Button);
    qint16 shift = qint16(Shift);
    Q_EMIT MouseUp(button, shift, x, y);
}

// --- the current cell ---

void VarnexEditUni::gridRowColChange()
{
    if (m_holdCellEvents)
        return;
    const int row = flg->Row();
    const int col = flg->Col();
    if (m_quiet > 0) {
        m_lastRow = row;
        m_lastCol = col;
        return;
    }
    if (row == m_lastRow && col == m_lastCol)
        return;
    const bool rowChanged = row != m_lastRow;
    const bool colChanged = col != m_lastCol;
    m_lastRow = row;
    m_lastCol = col;
    if (rowChanged && colChanged)
        Q_EMIT RowColChange();
    if (rowChanged)
        Q_EMIT RowChange();
    if (colChanged)
        Q_EMIT ColChange();
    if (m_Edited == 2)
        applyBrowseSelectionMode();
}

void VarnexEditUni::applyBrowseSelectionMode()
{
    int sum = 0;
    for (int c = 0; c < flg->Cols(); ++c)
        sum += flg->ColWidth(c);
    const bool fits = flg->width() * sys::TwipsPerPixel - 270 >= sum;
    const bool singleByHost = m_fillStyleByHost && flg->FillStyle() != flex::FillRepeat;
    flg->setSelectionMode(fits && !singleByHost ? flex::SelectionByRow : flex::SelectionFree);
}

void VarnexEditUni::gridEnterCell()
{
    if (m_Edited != 1)
        return;
    flg->setFocusRect(isEditable(flg->Col()) ? flex::FocusHeavy : flex::FocusNone);
}

void VarnexEditUni::flg_GotFocus()
{
    CommitCellEdit();
}

void VarnexEditUni::flg_LeaveCell()
{
    CommitCellEdit();
}
