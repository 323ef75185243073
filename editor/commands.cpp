// Members that the host calls for printing. What they do beyond raising their events
// grows with the page preview.
#include "VarnexEditUni.h"

#include "grid.h"

void VarnexEditUni::Tisk()
{
    bool extTisk = false;
    Q_EMIT TiskEvent(extTisk);
    // A host that prints the grid itself has answered True; otherwise the page preview
    // takes over, once it exists.
}
