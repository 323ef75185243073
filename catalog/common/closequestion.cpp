#include "common/closequestion.h"

#include "common/translation.h"
#include "msgbox.h"

#include <QWidget>

bool ZavriSeZmenami(QWidget &window, const std::function<bool()> &uloz)
{
    switch (MsgBox(PrelozText(QStringLiteral("40,Byly provedeny změny. Uložit?")), vbYesNoCancel | vbQuestion,
                   window.windowTitle())) {
    case vbYes:
        // Closing would lose the edits the database refused: the window stays.
        return uloz();
    case vbNo:
        return true;
    default:
        return false;
    }
}
