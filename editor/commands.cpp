// Members that the host calls for printing.
#include "VarnexEditUni.h"

#include "frmTisk.h"
#include "libroutines.h"

void VarnexEditUni::Tisk()
{
    bool extTisk = false;
    Q_EMIT TiskEvent(extTisk);
    // A host that prints the grid itself has answered True; otherwise the page preview
    // shows the grid's listing.
    if (extTisk)
        return;
    tabulix::frmTisk preview(window());
    preview.setWindowTitle(HostCaption() + QLatin1Char(' ') + tabulix::PrelozText(QStringLiteral("454,- náhled")));
    preview.Tisk(this);
}
