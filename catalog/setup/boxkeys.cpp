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

namespace {

// The text box after (or before) `box` in its window's reading order, the order in which
// Tab walks the window's controls; none past the last (or before the first).
QLineEdit *sousedniBox(const QLineEdit &box, bool forward)
{
    QWidget *window = box.window();
    QList<QLineEdit *> boxes;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (edit && edit->window() == window)
            boxes << edit;
    }
    const qsizetype at = boxes.indexOf(&box);
    if (at < 0)
        return nullptr;
    for (qsizetype i = forward ? at + 1 : at - 1; i >= 0 && i < boxes.size(); i += forward ? 1 : -1) {
        QLineEdit *edit = boxes[i];
        if (edit->isEnabled() && edit->isVisible() && (edit->focusPolicy() & Qt::TabFocus))
            return edit;
    }
    return nullptr;
}

// Enter and the arrows go from text box to text box, so that a check box or a button
// between them never takes what the user types next; from the last box on the focus
// moves to the next control, as Tab moves it.
void jdiNaBox(const QLineEdit &box, bool forward)
{
    if (QLineEdit *next = sousedniBox(box, forward))
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        PosliKlavesu(9, forward ? 0 : 256);
}

}  // namespace

bool KlavesaBoxu(QLineEdit &box, const QEvent &event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    switch (static_cast<const QKeyEvent &>(event).key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Down:
        box.setReadOnly(true);
        jdiNaBox(box, true);
        return true;
    case Qt::Key_Up:
        jdiNaBox(box, false);
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
