// Adding and deleting rows in update mode. A deleted row stays in the grid, marked "D"
// and hidden, so that the host still finds it and deletes its record when it saves.
#include "VarnexEditUni.h"
#include "vberror.h"

#include "grid.h"
#include "libroutines.h"
#include "msgbox.h"
#include "system.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QTableView>

using tabulix::PrelozText;

namespace {

constexpr int DataRowHeight = 300;
constexpr int PlaceholderHeight = 15;

}  // namespace

bool VarnexEditUni::appendRow(const QString &text)
{
    // A grid without its columns defined has nothing to check the row against.
    if (!m_Atributy.Exists())
        return false;
    const int before = flg->Rows();
    try {
        flg->AddItem(text);
        flg->setRowHeight(flg->Rows() - 1, DataRowHeight);
    } catch (const VbError &) {
        if (flg->Rows() > before)
            flg->RemoveItem(flg->Rows() - 1);
        return false;
    }
    // The empty row that Clear left gives way to the first real one.
    if (m_placeholder && flg->Rows() >= 3 && flg->RowHeight(1) == PlaceholderHeight) {
        ++m_quiet;
        flg->RemoveItem(1);
        --m_quiet;
        m_lastRow = flg->Row();
        m_placeholder = false;
    }
    return true;
}

bool VarnexEditUni::editSettled()
{
    // An open edit is committed before rows come or go, so that its events never fall
    // among theirs; a text the cell refused keeps the editor, and the rows stay as they are.
    const QPointer<VarnexEditUni> alive(this);
    CommitCellEdit();
    if (!alive)
        return false;
    if (!Editing())
        return true;
    // A refusal still pending has beeped moments ago (the focus leaving for the button).
    if (!m_refused)
        sys::Beep(0, 0);
    return false;
}

void VarnexEditUni::Add()
{
    if (!editSettled())
        return;
    lblRecord->hide();
    QString text = m_AddString;
    if (text.isEmpty()) {
        const QPointer<VarnexEditUni> alive(this);
        Q_EMIT AddRow(text);
        if (!alive || text.isEmpty())
            return;
    }
    if (!appendRow(text)) {
        // A refused row changes nothing: the rows, the changed state and the host stay.
        MsgBox(PrelozText(QStringLiteral("455,Další řádek nelze přidat.")), vbOKOnly | vbExclamation,
               PrelozText(QStringLiteral("456,Přidání řádku")));
        return;
    }
    const int last = flg->Rows() - 1;
    for (int i : m_checkColumns)
        if (i < flg->Cols())
            setCheckCell(last, i, true);
    // The new row becomes current on its first shown column (column 0 is the hidden key).
    moveQuietly(last, shownColumnFrom(0));
    flg->view()->setFocus();
    flg->ScrollIntoView(last, flg->Col());
    m_IsChanged = true;
    Variant oldValue = QString();
    Variant newValue = QString();
    Q_EMIT Change(oldValue, newValue);
    QCoreApplication::processEvents();
}

void VarnexEditUni::removeUnsavedRow(int row)
{
    // A row added and never saved has no record: it goes from the grid at once, so the
    // host neither deletes a record it never had nor inserts the row at its save.
    ++m_quiet;
    if (flg->Rows() > 2) {
        flg->RemoveItem(row);
    } else {
        flg->ClearRow(row);
        flg->setRowHeight(row, PlaceholderHeight);
        m_placeholder = true;
    }
    --m_quiet;
    m_lastRow = flg->Row();
    m_lastCol = flg->Col();
}

void VarnexEditUni::Delete()
{
    if (!editSettled())
        return;
    const int row = flg->Row();
    const int state = stateColumn();
    if (row <= 0 || row >= flg->Rows() || state < 0 || flg->TextMatrix(row, state) == QLatin1String("D")
        || flg->RowHeight(row) < 16) {
        sys::Beep(0, 0);
        return;
    }
    const QPointer<VarnexEditUni> alive(this);
    // A host that refills the grid in its handlers has chosen no more rows to delete:
    // the remembered rows belong to the old data.
    const quint64 generation = m_fillGeneration;
    bool cancel = false;
    Q_EMIT Smazat(cancel);
    if (!alive || cancel || m_fillGeneration != generation)
        return;
    const int mark = flg->RowSel();
    const int first = std::min(row, mark);
    const int last = std::max(row, mark);
    // Rows already deleted or hidden are passed over.
    const auto goes = [this, state](int r) {
        return flg->RowHeight(r) >= 16 && flg->TextMatrix(r, state) != QLatin1String("D");
    };
    const QString title = PrelozText(QStringLiteral("30,Aktualizace"));
    if (mark != row) {
        // The user sees what Yes takes: marked rows are easily more than meant.
        int count = 0;
        for (int r = first; r <= last && r < flg->Rows(); ++r)
            count += goes(r) ? 1 : 0;
        const QString question = PrelozText(QStringLiteral("457,Zrušit všechny označené řádky?")) + QStringLiteral(" (")
                                 + QString::number(count) + QLatin1Char(')');
        if (MsgBox(question, vbYesNo, title) != vbYes)
            return;
    } else if (!sys::isKeyDown(sys::Key::Shift)) {
        if (MsgBox(PrelozText(QStringLiteral("416,Opravdu zrušit řádek?")), vbYesNo, title) != vbYes)
            return;
    }
    const int keepCol = flg->Col();
    int keepRow = row;

    // The host hears once of each record it has, and of no record it has not: a row
    // never saved is only taken from the grid.
    std::vector<int> unsaved;
    int deleted = 0;
    for (int r = first; r <= last && alive && r < flg->Rows(); ++r) {
        if (!goes(r))
            continue;
        if (flg->TextMatrix(r, state) == QLatin1String("N")) {
            unsaved.push_back(r);
            continue;
        }
        moveQuietly(r, keepCol);
        ++m_quiet;
        const int fill = flg->FillStyle();
        flg->setFillStyle(flex::FillSingle);
        for (int i : m_checkColumns) {
            if (i < flg->Cols()) {
                flg->setCol(i);
                flg->setCellPicture(QPixmap());
            }
        }
        flg->setFillStyle(fill);
        flg->setCol(keepCol);
        --m_quiet;
        Q_EMIT Smazano();
        if (!alive || m_fillGeneration != generation)
            return;
        if (r < flg->Rows() && state < flg->Cols()) {
            flg->setTextMatrix(r, state, QStringLiteral("D"));
            flg->setRowHeight(r, 0);
        }
        ++deleted;
    }
    // From the bottom up, so that the rows still to go keep their numbers.
    bool currentRemoved = false;
    const int rowsBefore = flg->Rows();
    for (auto it = unsaved.rbegin(); it != unsaved.rend(); ++it) {
        if (*it >= flg->Rows())
            continue;
        currentRemoved = currentRemoved || *it == keepRow;
        removeUnsavedRow(*it);
        if (*it < keepRow && keepRow > 1)
            --keepRow;
    }
    // A removed current row leaves its number to the row after it (none, when it was
    // the last): the search for a shown row starts directly above it, as for a row
    // that stays hidden, and downwards at the row that took its number.
    currentRemoved = currentRemoved && flg->Rows() < rowsBefore;
    const int above = currentRemoved ? keepRow - 1 : keepRow;
    const int below = currentRemoved ? keepRow : keepRow + 1;

    keepRow = std::min(keepRow, flg->Rows() - 1);
    moveQuietly(keepRow, std::min(keepCol, flg->Cols() - 1));
    flg->view()->setFocus();
    int target = -1;
    for (int r = std::min(above, flg->Rows() - 1); r >= 1 && target < 0; --r)
        if (flg->RowHeight(r) >= 1)
            target = r;
    for (int r = below; r < flg->Rows() && target < 0; ++r)
        if (flg->RowHeight(r) >= 1)
            target = r;
    moveQuietly(target < 0 ? 0 : target, flg->Col());
    if (flg->Row() >= flg->FixedRows() && flg->TopRow() > flg->Row())
        flg->ScrollIntoView(flg->Row(), flg->Col());
    // The counter tells the rows left, of a source that lost the records deleted.
    m_RecordSetRows = std::max(0, m_RecordSetRows - deleted);
    refreshCounter();
    m_IsChanged = true;
    Variant oldValue = QString();
    Variant newValue = QString();
    Q_EMIT Change(oldValue, newValue);
}
