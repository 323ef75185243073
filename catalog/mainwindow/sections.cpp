// The sections in the main window: the two section submenus, the commands that need a
// current section, and switching the section.
#include "mainwindow/frmMain.h"

#include "data/sections.h"
#include "data/sqlliteral.h"
#include "overview/frmPrehled.h"
#include "mainwindow/views.h"
#include "setup/frmSekce.h"
#include "common/globals.h"
#include "data/currentoverview.h"
#include "common/utility.h"
#include "common/translation.h"
#include "dao.h"
#include "msgbox.h"
#include "variant.h"

#include <QLabel>
#include <QMenu>

bool frmMain::fillSectionMenu(QMenu *menu, std::vector<QAction *> &items, const QString &name)
{
    while (items.size() > 1) {
        delete items.back();
        items.pop_back();
    }
    // By name, so that the menu does not follow the order the rows were added in.
    const std::vector<RadekSekce> sections = SeznamSekci(*Db);
    if (sections.empty()) {
        menu->setEnabled(false);
        return false;
    }
    menu->setEnabled(true);
    for (int i = 0; i < int(sections.size()); ++i) {
        if (i > 0) {
            items.push_back(menu->addAction(QString()));
            items.back()->setObjectName(name);
            if (&items == &mnuSekceX)
                prikaz(items.back(), [this, i] { mnuSekceX_Click(i); });
            else
                prikaz(items.back(), [this, i] { mnuSekceM_Click(i); });
        }
        QAction *action = items[size_t(i)];
        const Variant &number = sections[size_t(i)].Sekce;
        const Variant &title = sections[size_t(i)].Nazev;
        action->setText(title.IsNull() || title.toString().isEmpty()
                            ? PrelozText(QStringLiteral("300,Sekce")) + QLatin1Char(' ') + number.toString()
                            : title.toString());
        // A section's name is the user's text, never a message to translate.
        action->setProperty("userText", true);
        action->setData(number.toString());
        action->setEnabled(SekceMaDefinice(*Db, number));
    }
    return true;
}

void frmMain::NactiSekce()
{
    const bool any = fillSectionMenu(mnuSekce, mnuSekceX, QStringLiteral("mnuSekceX"));
    fillSectionMenu(mnuMoveAll, mnuSekceM, QStringLiteral("mnuSekceM"));
    // With no section, or when the current one is gone, nothing may stay current: new
    // records would go into a section that does not exist.
    std::optional<qint32> current;
    ignoreErrors([&] { current = AktualniSekce(); });
    bool currentGone = false;
    if (any && current) {
        currentGone = true;
        for (QAction *action : mnuSekceX)
            if (action->data().toString() == QString::number(*current)) {
                currentGone = false;
                // The section may have been renamed meanwhile.
                NastavAktualniSekci(current, action->text().toUpper());
            }
    }
    if (!any || currentGone) {
        NastavAktualniSekci(std::nullopt, QString());
        UnloadViews();
        if (currentGone)
            NastavMenu();
    }
}

void frmMain::NastavMenu()
{
    std::optional<qint32> current;
    ignoreErrors([&] { current = AktualniSekce(); });
    const bool section = current.has_value();
    for (QAction *command : {mnuNew, mnuCopy, mnuUpdate, mnuDelete, mnuDeleteAll, mnuNahled, mnuNahledAdd, mnuExport,
                             mnuImport, mnuZobrazPrehled, mnuZobrazNahled, mnuZobrazVyber})
        command->setEnabled(section);
}

void frmMain::mnuSekceX_Click(int Index)
{
    if (Index < 0 || Index >= int(mnuSekceX.size()))
        return;
    QAction *chosen = mnuSekceX[size_t(Index)];
    NastavAktualniSekci(chosen->data().toInt(), chosen->text().toUpper());
    UnloadViews();
    const std::exception_ptr failure = ZobrazPohledy();
    NastavMenu();
    if (frmPrehled *overview = frmPrehled::Loaded())
        overview->SetFocus();
    if (failure)
        std::rethrow_exception(failure);  // for the command to tell
}

void frmMain::mnuNastSekce_Click()
{
    frmSekce::Form().Zobraz();
    NactiSekce();
    NastavMenu();
}

bool frmMain::mnuNastKatalog_BezSekci()
{
    if (JsouSekce(*Db))
        return false;
    MsgBox(PrelozText(QStringLiteral("169,Nejsou definovány žádné sekce. Nadefinujte sekce a akci opakujte.")), vbInformation,
           PrelozText(QStringLiteral("56,Definice položek katalogu")));
    frmSekce::Form().Zobraz();
    NactiSekce();
    return true;
}
