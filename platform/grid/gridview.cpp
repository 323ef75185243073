// Mouse and keyboard: the grid's events in the old units and codes, the view and the
// frozen bands handing their input to the grid.

#include "gridstate.h"

#include "system.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

// ---------------------------------------------------------------------------------
// Input

namespace {

int vbButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int vbButtons(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int vbShift(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// The old key code of a Qt key, 0 for keys it had none for.
int vbKeyCode(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

float twipsOf(int px) { return float(sys::toTwips(double(px))); }

} // namespace

int FlexGrid::State::resizeTarget(QPoint pos, bool &isColumn) const
{
    constexpr int grip = 3;
    if ((allowUserResizing & flex::ResizeColumns) && pos.y() >= 0 && pos.y() < fixedHeight()) {
        isColumn = true;
        int found = -1;
        const int last = std::min(lastVisibleCol(), model->gridCols() - 1);
        for (int c = 0; c <= last; ++c) {
            if (c >= fixedCols && c < firstVisibleCol())
                continue;
            const int px = colPixels(c);
            if (px == 0)
                continue;
            const int right = cellRect(0, c).left() + px;
            if (std::abs(pos.x() - right) <= grip)
                found = c;
        }
        if (found >= 0)
            return found;
    }
    if ((allowUserResizing & flex::ResizeRows) && pos.x() >= 0 && pos.x() < fixedWidth()) {
        isColumn = false;
        int found = -1;
        const int last = std::min(lastVisibleRow(), model->publishedRows() - 1);
        for (int r = 0; r <= last; ++r) {
            if (r >= fixedRows && r < firstVisibleRow())
                continue;
            const int px = rowPixels(r);
            if (px == 0)
                continue;
            const int bottom = cellRect(r, 0).top() + px;
            if (std::abs(pos.y() - bottom) <= grip)
                found = r;
        }
        if (found >= 0)
            return found;
    }
    return -1;
}

void FlexGrid::State::mousePress(QMouseEvent *e, QPoint pos)
{
    ensurePublished();
    if (view->focusPolicy() & Qt::ClickFocus)
        view->setFocus(Qt::MouseFocusReason);
    mouseRow = rowAtY(pos.y());
    mouseCol = colAtX(pos.x());
    bool isColumn = false;
    const bool left = e->button() == Qt::LeftButton;
    const int target = left ? resizeTarget(pos, isColumn) : -1;
    const QPointer<FlexGrid> alive(q);   // a handler may close the grid's window
    inLeftPress = left;
    heldRelease.reset();
    Q_EMIT q->MouseDown(vbButton(e->button()), vbShift(e->modifiers()), twipsOf(pos.x()), twipsOf(pos.y()));
    if (!alive || !left)
        return;
    // The press is done once its cells are marked: moving the current cell raises events
    // whose handlers may let events run too.
    pressCells(e->modifiers(), pos, target, isColumn);
    if (!alive)
        return;
    inLeftPress = false;
    if (heldRelease) {
        const HeldRelease held = *heldRelease;
        heldRelease.reset();
        release(Qt::LeftButton, held.modifiers, held.pos);
    }
}

void FlexGrid::State::pressCells(Qt::KeyboardModifiers modifiers, QPoint pos, int resizeIndex, bool isColumn)
{
    // A press on a border sizes its column or row: its release is no click.
    pressSized = resizeIndex >= 0;
    pressed = !pressSized;
    if (resizeIndex >= 0) {
        drag = isColumn ? Drag::ColSize : Drag::RowSize;
        dragIndex = resizeIndex;
        dragStart = isColumn ? pos.x() : pos.y();
        dragStartSize = isColumn ? colPixels(resizeIndex) : rowPixels(resizeIndex);
        return;
    }
    // The cell under the press, not under a release handled meanwhile.
    const int r = rowAtY(pos.y()), c = colAtX(pos.x());
    const int rows = model->gridRows(), cols = model->gridCols();
    if (r < 0 || c < 0 || r >= rows || c >= cols)
        return;
    if (r < fixedRows || c < fixedCols) {
        // A fixed cell selects its whole column, row, or (the corner) everything.
        if (rows <= fixedRows || cols <= fixedCols)
            return;
        const int fromRow = r < fixedRows ? fixedRows : r;
        const int fromCol = c < fixedCols ? fixedCols : c;
        moveTo(fromRow, fromCol, false);
        setSelection(r < fixedRows ? rows - 1 : r, c < fixedCols ? cols - 1 : c);
        return;
    }
    // Shift extends the marked cells in every selection mode: whole rows are marked
    // with Shift+click as any table's users expect, not only by dragging.
    if (modifiers & Qt::ShiftModifier)
        setSelection(r, c);
    else
        moveTo(r, c, false);
    drag = Drag::Select;
}

void FlexGrid::State::mouseMove(QMouseEvent *e, QPoint pos)
{
    mouseRow = rowAtY(pos.y());
    mouseCol = colAtX(pos.x());
    switch (drag) {
    case Drag::ColSize:
        q->setColWidth(dragIndex, sys::toTwips(std::max(0, dragStartSize + pos.x() - dragStart)));
        break;
    case Drag::RowSize:
        q->setRowHeight(dragIndex, sys::toTwips(std::max(0, dragStartSize + pos.y() - dragStart)));
        break;
    case Drag::Select:
        if (mouseRow >= fixedRows && mouseCol >= fixedCols && mouseRow < model->gridRows()
            && mouseCol < model->gridCols())
            setSelection(mouseRow, mouseCol);
        break;
    case Drag::None: {
        bool isColumn = false;
        const int target = resizeTarget(pos, isColumn);
        // Off the borders the panes show what the grid and its parents show.
        for (GridFixedPane *pane : {topPane, leftPane}) {
            if (target < 0)
                pane->unsetCursor();
            else
                pane->setCursor(isColumn ? Qt::SplitHCursor : Qt::SplitVCursor);
        }
        break;
    }
    }
    Q_EMIT q->MouseMove(vbButtons(e->buttons()), vbShift(e->modifiers()), twipsOf(pos.x()), twipsOf(pos.y()));
}

void FlexGrid::State::mouseRelease(QMouseEvent *e, QPoint pos)
{
    if (inLeftPress && e->button() == Qt::LeftButton) {
        heldRelease = HeldRelease{e->modifiers(), pos};
        return;
    }
    release(e->button(), e->modifiers(), pos);
}

void FlexGrid::State::release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    mouseRow = rowAtY(pos.y());
    mouseCol = colAtX(pos.x());
    const bool click = pressed && button == Qt::LeftButton;
    if (button == Qt::LeftButton) {
        pressed = false;
        drag = Drag::None;
    }
    const QPointer<FlexGrid> alive(q);
    Q_EMIT q->MouseUp(vbButton(button), vbShift(modifiers), twipsOf(pos.x()), twipsOf(pos.y()));
    if (click && alive)
        Q_EMIT q->Click();
}

void FlexGrid::State::mouseDouble(QMouseEvent *e, QPoint pos)
{
    mouseRow = rowAtY(pos.y());
    mouseCol = colAtX(pos.x());
    pressed = false;   // the release that follows is no click
    if (e->button() == Qt::LeftButton)
        Q_EMIT q->DblClick();
}

bool FlexGrid::State::keyPress(QKeyEvent *e)
{
    int code = vbKeyCode(e->key());
    int shift = vbShift(e->modifiers());
    if (code != 0) {
        const QPointer<FlexGrid> alive(q);   // a handler may close the grid's window
        Q_EMIT q->KeyDown(code, shift);
        if (!alive || code == 0)
            return true;
    }
    const int rows = model->gridRows(), cols = model->gridCols();
    if (rows > fixedRows && cols > fixedCols) {
        const bool extend = e->modifiers() & Qt::ShiftModifier;
        const bool ctrl = e->modifiers() & Qt::ControlModifier;
        int r = extend ? rowSel : row;
        int c = extend ? colSel : col;
        const int page = std::max(1, lastVisibleRow() - firstVisibleRow());
        bool nav = true;
        switch (e->key()) {
        case Qt::Key_Up: --r; break;
        case Qt::Key_Down: ++r; break;
        case Qt::Key_Left: --c; break;
        case Qt::Key_Right: ++c; break;
        case Qt::Key_PageUp: r -= page; break;
        case Qt::Key_PageDown: r += page; break;
        case Qt::Key_Home:
            c = fixedCols;
            if (ctrl)
                r = fixedRows;
            break;
        case Qt::Key_End:
            c = cols - 1;
            if (ctrl)
                r = rows - 1;
            break;
        default: nav = false; break;
        }
        if (nav) {
            r = std::clamp(r, fixedRows, rows - 1);
            c = std::clamp(c, fixedCols, cols - 1);
            if (extend)
                setSelection(r, c);
            else
                moveTo(r, c, false);
            scrollIntoView(r, c);
            return true;
        }
    }
    const QString text = e->text();
    // Delete types no character, though some keyboards give it one.
    if (!text.isEmpty() && text.at(0).unicode() != 0x7F && e->key() != Qt::Key_Tab
        && e->key() != Qt::Key_Backtab && e->key() != Qt::Key_Delete) {
        typeText(text);
        return true;
    }
    return code != 0 && e->key() != Qt::Key_Tab && e->key() != Qt::Key_Backtab;
}

void FlexGrid::State::typeText(const QString &text)
{
    const QPointer<FlexGrid> alive(q);   // a handler may close the grid's window
    for (qsizetype i = 0; i < text.size();) {
        // A character outside the Basic Multilingual Plane is one character, both halves.
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        int ascii = pair ? int(QChar::surrogateToUcs4(text.at(i), text.at(i + 1))) : int(text.at(i).unicode());
        i += pair ? 2 : 1;
        Q_EMIT q->KeyPress(ascii);
        if (!alive || i >= text.size())
            return;
        // A handler that gave the focus away (an editor opened on the first character)
        // gets the rest where the focus went, as keys typed after it would go.
        QWidget *focus = view->window()->focusWidget();
        if (focus && focus != view) {
            QKeyEvent rest(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i));
            QCoreApplication::sendEvent(focus, &rest);
            return;
        }
    }
}

void FlexGrid::State::keyRelease(QKeyEvent *e)
{
    int code = vbKeyCode(e->key());
    int shift = vbShift(e->modifiers());
    if (code != 0)
        Q_EMIT q->KeyUp(code, shift);
}

// ---------------------------------------------------------------------------------
// The view and the panes

GridView::GridView(FlexGrid *grid)
    : QTableView(grid)
    , m_grid(grid)
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    for (QHeaderView *h : {horizontalHeader(), verticalHeader()}) {
        h->hide();
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setHighlightSections(false);
    }
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
}

void GridView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    acceptComposedText();
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    acceptComposedText();
}

void GridView::acceptComposedText()
{
    // Typing on the grid starts an edit, so an input method or a compose sequence types
    // on it as the keyboard does, whatever the item view makes of cells it cannot edit.
    setAttribute(Qt::WA_InputMethodEnabled);
}

void GridView::keyPressEvent(QKeyEvent *e)
{
    if (m_grid->d->keyPress(e))
        e->accept();
    else
        e->ignore();
}

void GridView::keyReleaseEvent(QKeyEvent *e)
{
    m_grid->d->keyRelease(e);
    e->accept();
}

void GridView::inputMethodEvent(QInputMethodEvent *e)
{
    // An input method or a compose sequence hands over its characters here, not as keys:
    // they are typed on the grid as keys would be.
    if (!e->commitString().isEmpty())
        m_grid->d->typeText(e->commitString());
    e->accept();
}

void GridView::focusInEvent(QFocusEvent *e)
{
    QAbstractScrollArea::focusInEvent(e);
    m_grid->d->repaint();
    Q_EMIT m_grid->GotFocus();
}

void GridView::focusOutEvent(QFocusEvent *e)
{
    QAbstractScrollArea::focusOutEvent(e);
    m_grid->d->repaint();
    Q_EMIT m_grid->LostFocus();
}

void GridView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    m_grid->d->syncMargins();
}

void GridView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    m_grid->d->topPane->update();
    m_grid->d->leftPane->update();
}

bool GridView::viewportEvent(QEvent *e)
{
    FlexGrid::State &s = *m_grid->d;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(e);
        const QPoint pos = me->position().toPoint() + QPoint(s.fixedWidth(), s.fixedHeight());
        if (e->type() == QEvent::MouseButtonPress)
            s.mousePress(me, pos);
        else if (e->type() == QEvent::MouseButtonRelease)
            s.mouseRelease(me, pos);
        else if (e->type() == QEvent::MouseButtonDblClick)
            s.mouseDouble(me, pos);
        else
            s.mouseMove(me, pos);
        return true;
    }
    case QEvent::Resize: {
        const bool r = QTableView::viewportEvent(e);
        s.syncMargins();
        return r;
    }
    default:
        return QTableView::viewportEvent(e);
    }
}

GridFixedPane::GridFixedPane(FlexGrid *grid, QWidget *parent)
    : QWidget(parent)
    , m_grid(grid)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool GridFixedPane::event(QEvent *e)
{
    FlexGrid::State &s = *m_grid->d;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(e);
        const QPoint pos = me->position().toPoint() + origin;
        if (e->type() == QEvent::MouseButtonPress)
            s.mousePress(me, pos);
        else if (e->type() == QEvent::MouseButtonRelease)
            s.mouseRelease(me, pos);
        else if (e->type() == QEvent::MouseButtonDblClick)
            s.mouseDouble(me, pos);
        else
            s.mouseMove(me, pos);
        return true;
    }
    default:
        return QWidget::event(e);
    }
}
