#include "mainwindow/views.h"

#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "common/globals.h"
#include "common/utility.h"
#include "overview/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "data/currentoverview.h"
#include "common/translation.h"
#include "data/overviewquery.h"
#include "setup/frmDefinice.h"
#include "msgbox.h"
#include "variant.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLabel>


namespace {

bool settingIsTrue(const QString &key)
{
    bool on = false;
    ignoreErrors([&] { on = Variant(NactiInfo(key, QStringLiteral("true"))).toBool(); });
    return on;
}

// Brings an open view to the front of the main window's area.
void doPopredi(QWidget *view)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(view->parentWidget())) {
        if (frame->mdiArea())
            frame->mdiArea()->setActiveSubWindow(frame);
        frame->raise();
    }
}

// A view opens only on a current section; without one the user hears why.
bool sekceNastavena(const char *title)
{
    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    if (section)
        return true;
    MsgBox(PrelozText(QStringLiteral("172,Není nastavena sekce. Naveďte novou sekci a akci opakujte.")),
           vbExclamation | vbOKOnly, PrelozText(QString::fromUtf8(title)));
    return false;
}

// A view command: an open view only comes to the front; a closed one opens on a current
// section. The view just shown, for the caller to fill; null when there is nothing more.
template <class View>
View *zobrazPohled(const char *title)
{
    if (View *open = View::Loaded()) {
        doPopredi(open);
        return nullptr;
    }
    if (!sekceNastavena(title))
        return nullptr;
    View &view = View::Form();
    view.Zobraz();
    return &view;
}

}  // namespace

void frmMain::mnuZobrazPrehled_Click()
{
    if (frmPrehled *overview = zobrazPohled<frmPrehled>("408,Zobrazení přehledu"))
        overview->NactiData();
}

void frmMain::mnuZobrazVyber_Click()
{
    if (frmVyber *selection = zobrazPohled<frmVyber>("409,Zobrazení výběru")) {
        selection->NactiData();
        if (!PrehledOtevren())
            selection->fraVyber->setEnabled(false);
    }
}

void frmMain::mnuZobrazNahled_Click()
{
    if (frmNahled *preview = zobrazPohled<frmNahled>("407,Zobrazení náhledu")) {
        if (PrehledOtevren())
            preview->NactiZalozky();
        else
            preview->Vyprazdni();
    }
}

void frmMain::mnuNastKatalog_Click()
{
    // Without a section there is nothing to define: the sections window comes first.
    if (mnuNastKatalog_BezSekci())
        return;
    // What the window wrote comes back from it: the window is gone once it has closed.
    const QList<qint32> written = frmDefinice::Zobraz();
    if (!written.isEmpty())
        PoUlozeniDefinic(written);
}

void frmMain::PoUlozeniDefinic(const QList<qint32> &sekce)
{
    // The overview stores its layout as it closes; the reset must come after that store.
    ignoreErrors([] { UnloadViews(); });
    // A layout left as it was is no reason to leave the views closed.
    for (const qint32 s : sekce)
        ignoreErrors([s] { Db->Execute(ZrusZarovnaniPrehleduSql(s)); });
    std::optional<qint32> current;
    ignoreErrors([&] { current = AktualniSekce(); });
    if (!current)
        return;
    const std::exception_ptr failure = ZobrazPohledy();
    if (frmPrehled *overview = frmPrehled::Loaded())
        overview->SetFocus();
    if (failure)
        std::rethrow_exception(failure);  // for the command to tell
}

std::exception_ptr ZobrazPohledy()
{
    std::exception_ptr failure;
    const auto step = [&failure](auto &&fill) {
        try {
            fill();
        } catch (const std::exception &) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    const auto ending = [] { return KonecProgramu || !frmMain::Loaded(); };
    if (ending())
        return failure;
    step([] {
        frmPrehled::Form().Zobraz();
        frmPrehled::Form().NactiData();
    });
    if (!ending() && settingIsTrue(QStringLiteral("VyberWindowShow")))
        step([] {
            frmVyber::Form().Zobraz();
            frmVyber::Form().NactiData();
        });
    if (!ending() && settingIsTrue(QStringLiteral("NahledWindowShow")))
        step([] {
            frmNahled::Form().Zobraz();
            frmNahled::Form().NactiZalozky();
        });
    return failure;
}

void UnloadViews()
{
    frmNahled::Unload();
    frmVyber::Unload();
    frmPrehled::Unload();
}
