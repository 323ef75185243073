#include "frmNahled.h"

#include "mainwindow/frmMain.h"
#include "startup/globals.h"
#include "startup/translation.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {
QPointer<frmNahled> instance;
}

frmNahled &frmNahled::Form()
{
    if (!instance)
        instance = new frmNahled;
    return *instance;
}

frmNahled *frmNahled::Loaded()
{
    return instance.data();
}

void frmNahled::Unload()
{
    if (!instance)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(instance->parentWidget()))
        delete frame;
    else
        delete instance.data();
}

frmNahled::frmNahled()
{
    setObjectName(QStringLiteral("frmNahled"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("145,Náhledy a dokumenty"));
    PrelozFormular(*this, 0);
    NahledOtevren = true;
}

frmNahled::~frmNahled()
{
    NahledOtevren = false;
}

void frmNahled::Zobraz()
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

void frmNahled::NactiZalozky()
{
}
