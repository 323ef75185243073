#include "mainwindow/views.h"

#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "common/globals.h"
#include "common/utility.h"
#include "mainwindow/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "variant.h"


namespace {

bool settingIsTrue(const QString &key)
{
    bool on = false;
    ignoreErrors([&] { on = Variant(NactiInfo(key, QStringLiteral("true"))).toBool(); });
    return on;
}

}  // namespace

void ZobrazPohledy()
{
    const auto ending = [] { return KonecProgramu || !frmMain::Loaded(); };
    if (ending())
        return;
    ignoreErrors([] {
        frmPrehled::Form().Zobraz();
        frmPrehled::Form().NactiData();
    });
    if (!ending() && settingIsTrue(QStringLiteral("VyberWindowShow")))
        ignoreErrors([] {
            frmVyber::Form().Zobraz();
            frmVyber::Form().NactiData();
        });
    if (!ending() && settingIsTrue(QStringLiteral("NahledWindowShow")))
        ignoreErrors([] {
            frmNahled::Form().Zobraz();
            frmNahled::Form().NactiZalozky();
        });
}

void UnloadViews()
{
    frmNahled::Unload();
    frmVyber::Unload();
    frmPrehled::Unload();
}
