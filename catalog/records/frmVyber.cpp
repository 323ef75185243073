#include "frmVyber.h"

#include "mainwindow/frmMain.h"
#include "startup/globals.h"
#include "startup/translation.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {
QPointer<frmVyber> instance;
}

frmVyber &frmVyber::Form()
{
    if (!instance)
        instance = new frmVyber;
    return *instance;
}

frmVyber *frmVyber::Loaded()
{
    return instance.data();
}

void frmVyber::Unload()
{
    if (!instance)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(instance->parentWidget()))
        delete frame;
    else
        delete instance.data();
}

frmVyber::frmVyber()
{
    setObjectName(QStringLiteral("frmVyber"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("55,Definice podmínky výběru"));
    PrelozFormular(*this, 0);
    VyberOtevren = true;
}

frmVyber::~frmVyber()
{
    VyberOtevren = false;
}

void frmVyber::Zobraz()
{
    // Never a window of its own: without the main window it does not show.
    frmMain *main = frmMain::Loaded();
    if (!parentWidget()) {
        if (!main)
            return;
        main->mdiArea->addSubWindow(this)->resize(480, 320);
    }
    show();
}

void frmVyber::NactiData()
{
}
