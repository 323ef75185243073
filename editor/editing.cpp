// In-cell editing in update mode: the text editor and the code-list box over the current
// cell, the commit by the column's type, the keys inside the editors and the check-box
// toggle of type Z columns.
#include "VarnexEditUni.h"
#include "vberror.h"

#include "cellentry.h"
#include "grid.h"
#include "libroutines.h"
#include "placing.h"
#include "system.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>

using namespace placing;

namespace {

constexpr int White = 0xFFFFFF;
constexpr int KeyEnter = 13, KeyEsc = 27, KeyUp = 38, KeyDown = 40;

// Cell formats go to the one cell, whatever the fill style and selection are.
class SingleFill
{
public:
    explicit SingleFill(FlexGrid *g) : m_g(g), m_fill(g->FillStyle()) { g->setFillStyle(flex::FillSingle); }
    ~SingleFill() { m_g->setFillStyle(m_fill); }
    SingleFill(const SingleFill &) = delete;
    SingleFill &operator=(const SingleFill &) = delete;

private:
    FlexGrid *m_g;
    int m_fill;
};

int editorKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyEnter;
    case Qt::Key_Escape: return KeyEsc;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Down: return KeyDown;
    default: return 0;
    }
}

}  // namespace

// --- column attributes read by the editing ---

QString VarnexEditUni::typeLetter(int column) const
{
    if (!m_Atributy.Exists() || column < 0 || column > m_Atributy.UBound())
        return QString();
    const Variant &type = m_Atributy(AttrType, column);
    return type.IsString() ? type.stringValue() : QString();
}

bool VarnexEditUni::flagAttribute(int attribute, int column, bool absent) const
{
    // The flags are Variants passed through from the host: Empty and Null count as not
    // given, and a value that is no Boolean at all as well.
    if (!m_Atributy.Exists() || column < 0 || column > m_Atributy.UBound())
        return absent;
    const Variant &flag = m_Atributy(attribute, column);
    try {
        return flag.IsEmpty() || flag.IsNull() ? absent : flag.toBool();
    } catch (const VbError &) {
        return absent;  // a flag that reads as no Boolean is as good as none
    }
}

bool VarnexEditUni::isEditable(int column) const
{
    return flagAttribute(AttrEditable, column, false);
}

bool VarnexEditUni::isCodeListColumn(int column) const
{
    return flagAttribute(AttrCisel, column, false);
}

bool VarnexEditUni::writesCell(int column) const
{
    // Only an update flag of False keeps the cell from being written.
    return flagAttribute(AttrUpdateFlg, column, true);
}

QString VarnexEditUni::boxValue() const
{
    const int maxLen = m_codeLists.MaxLen(m_editCol);
    const QString value = cmbEdit->currentText();
    return maxLen > 0 ? tabulix::LeftWhole(value, maxLen) : value;
}

bool VarnexEditUni::Editing() const
{
    return fraTxt->isVisibleTo(this) || fraCmb->isVisibleTo(this);
}

// --- the editors ---

void VarnexEditUni::StartCellEdit(QWidget *editor, char32_t KeyAscii)
{
    const int row = flg->Row();
    const int col = flg->Col();
    // The editor is placed over the cell, so the cell must show whole first.
    flg->ScrollIntoView(row, col);
    Variant oldValue = flg->TextMatrix(row, col);
    bool cancel = false;
    const QPointer<VarnexEditUni> alive(this);
    const quint64 generation = m_fillGeneration;
    Q_EMIT BeforeEdit(oldValue, cancel);
    // A host that refilled the grid meanwhile has other data under the cell.
    if (!alive || cancel || m_fillGeneration != generation || row >= flg->Rows() || col >= flg->Cols())
        return;

    m_editRow = row;
    m_editCol = col;
    {
        SingleFill single(flg);
        m_editBack = flg->CellBackColor();
        flg->setCellBackColor(White);
    }
    int limit = 0;
    try {
        const Variant &maxLen = m_Atributy(AttrMaxLen, col);
        limit = maxLen.IsEmpty() || maxLen.IsNull() ? 0 : maxLen.toLong();
    } catch (const VbError &) {
        // a length that is no number, or a column beyond the attributes: no limit
    }
    const int maxLength = limit > 0 ? limit : 32767;
    txtEdit->setMaxLength(maxLength);
    // The editors write in the grid's letters, not in the window's larger ones.
    txtEdit->setFont(flg->Font());
    cmbEdit->setFont(flg->Font());

    const int left = leftOf(flg) + flg->CellLeft();
    const int top = topOf(flg) + flg->CellTop();
    if (editor == txtEdit) {
        if (KeyAscii > 32) {
            // The typed character starts the text, under the limit like every other.
            txtEdit->setText(QString());
            tabulix::KeyPressInsert(txtEdit, QString::fromUcs4(&KeyAscii, 1));
        } else {
            txtEdit->setText(tabulix::LeftWhole(flg->TextMatrix(row, col), maxLength));
            txtEdit->end(false);
        }
        // A frameless editor fills the frame: the frame's inset keeps the grid lines.
        fraTxt->setGeometry(sys::toPixels(left + 40), sys::toPixels(top + 20),
                            std::max(sys::toPixels(flg->CellWidth() - 40), 1),
                            std::max(sys::toPixels(flg->CellHeight() - 45), 1));
        txtEdit->setGeometry(0, 0, fraTxt->width(), fraTxt->height());
        fraTxt->show();
        fraTxt->raise();
        txtEdit->setFocus();
    } else {
        fraCmb->setGeometry(sys::toPixels(left), sys::toPixels(top), std::max(sys::toPixels(flg->CellWidth()), 1),
                            std::max(sys::toPixels(flg->CellHeight()), 1));
        cmbEdit->setGeometry(0, 0, fraCmb->width(), fraCmb->height());
        m_codeLists.Fill(cmbEdit, col, database(), flg->TextMatrix(row, col));
        fraCmb->show();
        fraCmb->raise();
        cmbEdit->setFocus();
    }
}

void VarnexEditUni::closeEditors()
{
    // Hidden first, so that the focus leaving the editor commits nothing more; the focus
    // goes back to the grid rather than to whichever control follows.
    const QWidget *focus = QApplication::focusWidget();
    const bool inEditor = focus && (fraTxt->isAncestorOf(focus) || fraCmb->isAncestorOf(focus));
    fraTxt->hide();
    fraCmb->hide();
    if (inEditor)
        flg->view()->setFocus();
}

void VarnexEditUni::restoreEditCell()
{
    if (m_editRow >= flg->Rows() || m_editCol >= flg->Cols())
        return;
    moveQuietly(m_editRow, m_editCol);
    SingleFill single(flg);
    flg->setCellBackColor(m_editBack);
}

void VarnexEditUni::refuseEntry()
{
    // The typed text stays in the open editor for the user to correct. The focus moves
    // that follow (the grid's, the editor's) find the refusal made and stay quiet.
    sys::Beep(0, 0);
    m_refused = true;
    QTimer::singleShot(0, this, [this] {
        m_refused = false;
        if (!fraTxt->isVisible())
            return;
        moveQuietly(m_editRow, m_editCol);
        txtEdit->setFocus();
        txtEdit->selectAll();
    });
}

void VarnexEditUni::markRowUpdated(int row)
{
    // A row added and not yet saved stays "N": the host inserts it with what it holds.
    // A deleted row stays "D": the host deletes its record, and an update would bring it back.
    const int state = stateColumn();
    if (state >= 0) {
        const QString letter = flg->TextMatrix(row, state);
        if (letter != QLatin1String("N") && letter != QLatin1String("D"))
            flg->setTextMatrix(row, state, QStringLiteral("U"));
    }
    m_IsChanged = true;
}

bool VarnexEditUni::editOpen(bool codeList) const
{
    return codeList ? fraCmb->isVisibleTo(this) : fraTxt->isVisibleTo(this);
}

void VarnexEditUni::CommitCellEdit(bool mayRefuse)
{
    if (m_committing || m_refused)
        return;
    const int row = m_editRow;
    const int col = m_editCol;
    if (row >= flg->Rows() || col >= flg->Cols() || flg->ColWidth(col) < 1)
        return;
    const bool codeList = isCodeListColumn(col);
    if (!editOpen(codeList))
        return;
    // The row went while the editor was open: its record is the host's to delete, and
    // nothing typed may bring it back.
    const int state = stateColumn();
    if (flg->RowHeight(row) == 0 || (state >= 0 && flg->TextMatrix(row, state) == QLatin1String("D"))) {
        closeEditors();
        return;
    }
    m_committing = true;
    const QPointer<VarnexEditUni> alive(this);
    // A host's handler may even destroy the control; the flag belongs to a live one.
    const auto done = qScopeGuard([this, alive] {
        if (alive)
            m_committing = false;
    });
    // A host's handler may also refill the grid or end the edit: the remembered cell
    // then belongs to other data, and the commit goes no further.
    const quint64 generation = m_fillGeneration;
    const auto stale = [this, &alive, generation] { return !alive || m_fillGeneration != generation; };

    // What the cell would take, worked out before the host hears of it: a date the
    // calendar refuses keeps the editor open instead.
    const QString typed = codeList ? boxValue() : txtEdit->text();
    const QString type = typeLetter(col);
    const bool write = writesCell(col);
    QString newText = typed;
    if (write && type == QLatin1String("N")) {
        newText = tabulix::numberEntry(typed, m_Atributy(AttrFormat, col).toString());
    } else if (write && type == QLatin1String("D") && !codeList) {
        const std::optional<QString> date = tabulix::dateEntry(typed);
        if (!date) {
            if (mayRefuse)
                refuseEntry();
            return;
        }
        newText = *date;
    }

    Variant oldValue = flg->TextMatrix(row, col);
    Variant newValue = typed;
    bool cancel = false;
    Q_EMIT BeforeChange(oldValue, newValue, cancel);
    if (stale()) {
        if (alive)
            closeEditors();
        return;
    }
    if (!editOpen(codeList))
        return;
    if (cancel) {
        closeEditors();
        restoreEditCell();
        return;
    }
    flg->setRowSel(flg->Row());
    if (!write) {
        closeEditors();
        QString prijmeni = typed;
        Q_EMIT UpdateFlg(prijmeni);
        if (stale())
            return;
    } else {
        const QString old = flg->TextMatrix(row, col);
        if (!codeList)
            txtEdit->setText(newText);
        flg->setTextMatrix(row, col, newText);
        if (codeList) {
            const int item = cmbEdit->findText(cmbEdit->currentText(), Qt::MatchFixedString);
            QString code = item >= 0 ? cmbEdit->itemData(item).toString() : QString();
            Q_EMIT CiselData(code);
            if (stale()) {
                if (alive)
                    closeEditors();
                return;
            }
            if (!editOpen(codeList))
                return;
        }
        closeEditors();
        markRowUpdated(row);
        Variant oldText = old;
        Variant newCell = newText;
        Q_EMIT Change(oldText, newCell);
        if (stale())
            return;
    }
    restoreEditCell();
}

void VarnexEditUni::MoveCellAfterEdit(QWidget *frame, QWidget *editor, int KeyCode, int Shift)
{
    Q_UNUSED(editor);
    Q_UNUSED(Shift);
    switch (KeyCode) {
    case KeyEnter:
        // The commit comes first: a refused text keeps the editor and its focus.
        CommitCellEdit();
        if (Editing())
            break;
        flg->view()->setFocus();
        QCoreApplication::processEvents();
        moveToNextCell();
        break;
    case KeyEsc:
        // The edit is dropped: the commit finds no open editor.
        frame->hide();
        flg->view()->setFocus();
        restoreEditCell();
        break;
    case KeyUp:
    case KeyDown:
        CommitCellEdit();
        if (Editing())
            break;
        flg->view()->setFocus();
        QCoreApplication::processEvents();
        moveRowBy(KeyCode == KeyUp ? -1 : 1);
        break;
    default:
        break;
    }
}

bool VarnexEditUni::editorEvent(QObject *watched, QEvent *event)
{
    QWidget *editor = watched == txtEdit ? static_cast<QWidget *>(txtEdit) : static_cast<QWidget *>(cmbEdit);
    QWidget *frame = editor == txtEdit ? fraTxt : fraCmb;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_refused = false;
        return false;
    case QEvent::KeyPress: {
        m_refused = false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (const int code = editorKeyCode(key->key())) {
            MoveCellAfterEdit(frame, editor, code, int(key->modifiers()));
            return true;
        }
        const QString text = key->text();
        // Typed characters go in through the library's own insertion; the keys that type
        // nothing (arrows, Backspace, Delete) keep their usual work in the box. So do the
        // Ctrl chords (select all, copy, paste, undo …): some platforms hand them the
        // letter as their text, and that letter is no typing. Ctrl+Alt stays typing, being
        // AltGr on Windows.
        const Qt::KeyboardModifiers chord = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (!text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 0x7F
            && chord != Qt::ControlModifier) {
            // All the key carries: an input method or a compose sequence may give several
            // characters, and one outside the Basic Multilingual Plane is two code units.
            tabulix::KeyPressInsert(editor, text);
            return true;
        }
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The code list opening its drop-down is no leaving: the box first loses the focus
        // to the popup, then (the first time it opens) to the list inside it.
        const QWidget *next = QApplication::focusWidget();
        if (reason == Qt::PopupFocusReason || (next && next->window() == cmbEdit->view()->window()))
            return false;
        // Only a move within the window may refuse the text and call the user back to
        // it; another application taking over, or the window closing, leaves it waiting.
        const bool withinWindow = reason != Qt::ActiveWindowFocusReason && next && next->window() == window()
                                  && window()->isVisible();
        CommitCellEdit(withinWindow);
        return false;
    }
    case QEvent::MouseButtonDblClick:
        if (editor == txtEdit) {
            QString text = txtEdit->text();
            Q_EMIT TxtDblClick(text);
        }
        return false;
    default:
        return false;
    }
}

// --- the check box of type Z columns ---

void VarnexEditUni::toggleCheck()
{
    const int row = flg->Row();
    const int col = flg->Col();
    // The cell's text decides, not its picture, so the events carry the real values.
    const QString old = flg->TextMatrix(row, col);
    const QString checked = old == QLatin1String("A") ? QStringLiteral("N") : QStringLiteral("A");
    Variant oldValue = old;
    Variant newValue = checked;
    bool cancel = false;
    const QPointer<VarnexEditUni> alive(this);
    const quint64 generation = m_fillGeneration;
    Q_EMIT BeforeChange(oldValue, newValue, cancel);
    // A host that refilled the grid meanwhile has other data in this cell.
    if (!alive || cancel || m_fillGeneration != generation || row >= flg->Rows() || col >= flg->Cols())
        return;
    flg->setTextMatrix(row, col, checked);
    setCheckCell(row, col, true);
    markRowUpdated(row);
    Variant oldText = old;
    Variant newText = checked;
    Q_EMIT Change(oldText, newText);
}
