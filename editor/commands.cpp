// Members that the host calls for sorting and printing. What they do beyond raising
// their events grows with the sort and the page preview.
#include "VarnexEditUni.h"

#include "grid.h"

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
