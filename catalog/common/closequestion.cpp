#include "common/closequestion.h"

#include "common/translation.h"
#include "msgbox.h"

#include <QCloseEvent>
#include <QWidget>

void ZavriSeZmenami(QWidget &window, QCloseEvent &event, const std::function<bool()> &uloz)
{
    switch (MsgBox(PrelozText(QStringLiteral("40,Byly provedeny změny. Uložit?")), vbYesNoCancel | vbQuestion,
                   window.windowTitle())) {
    case vbYes:
        // Closing would lose the edits the database refused: the window stays.
        if (!uloz()) {
            event.ignore();
            return;
        }
        break;
    case vbNo:
        break;
    default:
        event.ignore();
        return;
    }
    // Accepted, the closing hides the window, which ends its modal loop.
    event.accept();
}
