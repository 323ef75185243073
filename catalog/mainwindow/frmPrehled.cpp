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

frmPrehled::frmPrehled()
{
    setObjectName(QStringLiteral("frmPrehled"));
    setAttribute(Qt::WA_DeleteOnClose);
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
