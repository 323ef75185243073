// Members that the host calls for the grid's commands: rows added and deleted, keys,
// sorting and printing. What they do beyond raising their events grows with the
// editors, the sort and the page preview.
#include "VarnexEditUni.h"

#include "grid.h"

void VarnexEditUni::Add()
{
    // Adding rows comes with the cell editors.
}

void VarnexEditUni::Delete()
{
    // Deleting rows comes with the cell editors.
}

void VarnexEditUni::flg_KeyPress(qint16 &KeyAscii)
{
    Q_UNUSED(KeyAscii);
}

void VarnexEditUni::flg_DblClick()
{
}

void VarnexEditUni::flg_GotFocus()
{
}

void VarnexEditUni::flg_LeaveCell()
{
}

void VarnexEditUni::SortFlg(const qint32 &SortCol)
{
    Q_UNUSED(SortCol);
}

void VarnexEditUni::Tisk()
{
    bool extTisk = false;
    Q_EMIT TiskEvent(extTisk);
    // A host that prints the grid itself has answered True; otherwise the page preview
    // takes over, once it exists.
}
