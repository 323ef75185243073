#include "setup/boxkeys.h"

#include "common/mainframe.h"
#include "common/translation.h"
#include "common/utility.h"
#include "msgbox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

bool KlavesaBoxu(QLineEdit &box, const QEvent &event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    switch (static_cast<const QKeyEvent &>(event).key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Down:
        box.setReadOnly(true);
        PosliKlavesu(9, 0);
        return true;
    case Qt::Key_Up:
        PosliKlavesu(9, 256);
        return true;
    default:
        box.setReadOnly(false);
        return false;
    }
}

bool ZahoditZmeny(const QWidget &window)
{
    return MsgBox(PrelozText(QStringLiteral("247,Provedené změny nebudou zapsány. Pokračovat?")), vbYesNo | vbQuestion,
                  window.windowTitle())
           == vbYes;
}

QWidget *mainWindow()
{
    QMdiArea *area = MdiOblast();
    return area ? area->window() : nullptr;
}

QPushButton *TlacitkoRadku(QWidget &window, QHBoxLayout &row, const char *name, const char *caption, const char *tip)
{
    auto *b = new QPushButton(QString::fromUtf8(caption), &window);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(QString::fromUtf8(tip));
    b->setAutoDefault(false);
    row.addWidget(b);
    return b;
}
