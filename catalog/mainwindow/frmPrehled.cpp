#include "frmPrehled.h"

#include "mainwindow/frmMain.h"
#include "startup/globals.h"
#include "startup/translation.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {
QPointer<frmPrehled> instance;
}

frmPrehled &frmPrehled::Form()
{
    if (!instance)
        instance = new frmPrehled;
    return *instance;
}

frmPrehled *frmPrehled::Loaded()
{
    return instance.data();
}

void frmPrehled::Unload()
{
    if (!instance)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(instance->parentWidget()))
        delete frame;
    else
        delete instance.data();
}

frmPrehled::frmPrehled()
{
    setObjectName(QStringLiteral("frmPrehled"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(480, 320);
    setWindowTitle(QStringLiteral("259,Přehled"));
    PrelozFormular(*this, 0);
    PrehledOtevren = true;
}

frmPrehled::~frmPrehled()
{
    PrehledOtevren = false;
}

void frmPrehled::Zobraz()
{
    if (!parentWidget())
        frmMain::Form().mdiArea->addSubWindow(this);
    show();
}

void frmPrehled::NactiData()
{
}
