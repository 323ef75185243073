#include "frmMain.h"

#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<frmMain> instance;
}

frmMain &frmMain::Form()
{
    if (!instance)
        instance = new frmMain;
    return *instance;
}

frmMain *frmMain::Loaded()
{
    return instance.data();
}

void frmMain::Unload()
{
    delete instance.data();
}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("237,Oskal"));
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    lblSekce = new QLabel(QStringLiteral("SEKCE:"), central);
    lblSekce->setObjectName(QStringLiteral("lblSekce"));
    lblSekce->setToolTip(QStringLiteral("162,Název sekce"));
    QFont bold = lblSekce->font();
    bold.setBold(true);
    lblSekce->setFont(bold);
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    layout->addWidget(lblSekce);
    layout->addWidget(mdiArea, 1);
    setCentralWidget(central);
    resize(1000, 700);
}
