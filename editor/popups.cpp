// The mouse on the grid: a left click on the header row sorts, the right button
// opens the host's record menu over a data row or the control's function menu over the
// header row; and the function menu's commands: the record selection, the column sum
// and hiding a column.
#include "VarnexEditUni.h"

#include "cellentry.h"
#include "grid.h"
#include "gridmodel.h"
#include "libroutines.h"
#include "msgbox.h"
#include "selection.h"
#include "selectiondialogs.h"
#include "system.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

using tabulix::Filtr;
using tabulix::PrelozText;

namespace {

const QString RecordPlaceholder = QStringLiteral("R");

}  // namespace

void VarnexEditUni::gridMouseDown(int Button, int Shift, float x, float y)
{
    Q_UNUSED(Shift);
    m_popupCol = flg->MouseCol();
    m_popupRow = flg->MouseRow();
    if (flg->Rows() <= flg->FixedRows())
        return;
    // Past the last row or column there is no cell to act on.
    if (m_popupRow >= flg->Rows() || m_popupCol >= flg->Cols() || m_popupRow < 0 || m_popupCol < 0)
        return;
    const bool header = m_popupRow < flg->FixedRows();
    // The left button sorts at the click it ends in (gridClick): a press on a header's
    // border sizes the column instead, and the grid reports no click for it.
    if (Button == 1)
        return;
    // The right button: anywhere in browse mode, whatever was changed there (a delete
    // there is the host's at once); in update mode on the header only, and not while
    // changes wait to be saved.
    if (Button != 2 || !(m_Edited == 2 || (m_Edited == 1 && header && !m_IsChanged)))
        return;
    QTableView *view = flg->view();
    const QPoint at = view->mapToGlobal(QPoint(sys::toPixels(int(x)), sys::toPixels(int(y)))
                                        + view->contentsRect().topLeft());
    if (header)
        popUpFunctions(at);
    else
        popUpRecordMenu(at);
}

void VarnexEditUni::gridClick()
{
    // The click sorts when it was pressed and released on the same header cell.
    const bool header = m_popupRow >= 0 && m_popupRow < flg->FixedRows() && flg->MouseRow() == m_popupRow
                        && flg->MouseCol() == m_popupCol;
    if (header && flg->Rows() > flg->FixedRows() && m_popupCol >= 0 && m_popupCol < flg->Cols()
        && (m_Edited == 2 || !m_IsChanged)) {
        if (mnuSortAsce->isEnabled())
            SortFlg(m_popupCol);
        else
            sys::Beep(0, 0);
    }
    Q_EMIT Click();
}

void VarnexEditUni::popUpRecordMenu(const QPoint &at)
{
    // A host that made items of its own but left item 0 as it was shows its items only.
    const bool placeholder = m_Record.front()->text() == RecordPlaceholder;
    if (placeholder && m_Record.size() == 1)
        return;
    m_Record.front()->setVisible(!placeholder);
    const int row = m_popupRow;
    const int col = m_popupCol != flg->Col() ? std::max(m_popupCol, flg->FixedCols()) : flg->Col();
    if (row != flg->Row() || col != flg->Col())
        moveCell(row, col);
    Popup_Record->exec(at);
}

void VarnexEditUni::popUpFunctions(const QPoint &at)
{
    const QString caption = flg->TextMatrix(m_popupRow, m_popupCol);
    mnuPolozka->setText(caption);
    Filtr() = {};
    // A further condition needs a condition in force to join, and its text to show.
    mnuZmenVyber->setEnabled(!m_FiltrText.isEmpty() && !m_Where.isEmpty());
    mnuSuma->setEnabled(typeLetter(m_popupCol) == QLatin1String("N"));
    Popup_Fce->exec(at);
    BuildSelection();
}

void VarnexEditUni::mnuVyber_Click(bool further)
{
    m_FiltrDalsi = further;
    const QString caption = flg->TextMatrix(m_popupRow, m_popupCol);
    if (further) {
        tabulix::frmDalsiVyber form(this);
        form.lbl->setText(caption);
        form.lblOld->setText(QLatin1Char('(') + m_FiltrText + QLatin1Char(')'));
        form.exec();
    } else {
        tabulix::frmVyber form(this);
        form.lbl->setText(caption);
        form.exec();
    }
}

void VarnexEditUni::BuildSelection()
{
    tabulix::SelectionInput input = Filtr();
    Filtr() = {};
    if (input.FiltrHodnota.isEmpty())
        return;
    const QString title = PrelozText(QStringLiteral("459,Výběr záznamů"));
    // A column beyond the defined ones has no field: its type refuses the selection.
    const bool defined = m_Atributy.Exists() && m_popupCol <= m_Atributy.UBound();
    const Variant data = defined ? m_Atributy(AttrData, m_popupCol) : Variant();
    const QString field = data.IsString() ? data.stringValue() : QString();
    const std::optional<tabulix::SelectionPart> part =
        tabulix::BuildSelectionPart(field, typeLetter(m_popupCol), input.FiltrOperator, input.FiltrHodnota);
    if (!part) {
        MsgBox(PrelozText(QStringLiteral("97,Chybně zadaná hodnota pro výběr.")), vbOKOnly | vbExclamation, title);
        return;
    }
    // A further condition joins the one in force; with none in force (the host emptied
    // it) it stands alone, never joined to an empty condition.
    const bool further = m_FiltrDalsi && !m_Where.isEmpty() && !m_FiltrText.isEmpty();
    const bool andJoin = input.FiltrSpojka != QLatin1String("OR");
    const QString previousWhere = m_Where;
    const QString previousRep = m_WhereRep;
    QString where = part->where;
    QString rep = part->rep;
    if (further) {
        const QString join = andJoin ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        where = QLatin1Char('(') + m_Where + QLatin1Char(')') + join + where;
        rep = QLatin1Char('(') + m_WhereRep + QLatin1Char(')') + join + rep;
    }
    Variant cWhere(where);
    Q_EMIT Vybrano(cWhere);
    const QString answer = cWhere.IsEmpty() || cWhere.IsNull() ? QString() : cWhere.toString();
    if (answer.isEmpty()) {
        // Nothing matched: the host left its rows as they were, and the selection in
        // force stays, in all its forms.
        m_Where = previousWhere;
        m_WhereRep = previousRep;
        MsgBox(PrelozText(QStringLiteral("458,Zadané podmínce neodpovídá žádný záznam.")), vbOKOnly | vbInformation,
               title);
        return;
    }
    m_Where = answer;
    m_WhereRep = rep;
    const QString condition = flg->TextMatrix(0, m_popupCol) + part->op + input.FiltrHodnota;
    if (further) {
        const QString j = PrelozText(andJoin ? QStringLiteral("460,a") : QStringLiteral("439,nebo"));
        m_FiltrText = QLatin1Char('(') + m_FiltrText + QStringLiteral(") ") + j + QLatin1Char(' ') + condition;
    } else {
        m_FiltrText = condition;
    }
    WhereText(PrelozText(QStringLiteral("370,Výběr pro:")) + QStringLiteral("  ") + m_FiltrText);
}

void VarnexEditUni::mnuZrusVyber_Click()
{
    Variant cWhere{QString()};
    Q_EMIT Vybrano(cWhere);
    WhereText(QString());
    m_Where.clear();
    m_WhereRep.clear();
    m_FiltrText.clear();
}

void VarnexEditUni::mnuSuma_Click()
{
    tabulix::frmSuma form(this);
    form.lbl->setText(flg->TextMatrix(m_popupRow, m_popupCol));
    // Deleted rows no longer count; a double keeps many values from drifting.
    const GridModel &cells = *flg->model();
    double total = 0;
    for (int r = flg->FixedRows(); r < flg->Rows(); ++r)
        if (flg->RowHeight(r) > 0)
            total += CellNumber(cells.cellView(r, m_popupCol));
    form.txt->setText(tabulix::formatNumber(total, QStringLiteral("0.00")));
    form.exec();
    mnuSuma->setEnabled(false);
}

void VarnexEditUni::mnuHideCol_Click()
{
    int visible = 0;
    for (int c = 0; c < flg->Cols() && visible < 2; ++c)
        if (flg->ColWidth(c) >= 1)
            ++visible;
    // The last column shown never goes.
    if (visible < 2) {
        sys::Beep(0, 0);
        return;
    }
    flg->setColWidth(m_popupCol, 0);
    // The layout stored when the control ends keeps the column hidden.
    if (m_PoleZmen.Exists() && m_popupCol <= m_PoleZmen.UBound())
        m_PoleZmen(LayWidth, m_popupCol) = 0;
}
