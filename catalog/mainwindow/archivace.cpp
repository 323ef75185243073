#include "mainwindow/archivace.h"

#include "VarnexEditUni.h"
#include "common/Hlaska.h"
#include "common/globals.h"
#include "data/currentoverview.h"
#include "common/translation.h"
#include "common/utility.h"
#include "data/archive.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "mainwindow/views.h"
#include "msgbox.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>

#include <optional>

namespace {

const QString kCatalogFile = QStringLiteral("QIRData.mdb");

QString backupFolder()
{
    return AppPath + QStringLiteral("zaloha/");
}

// The wait window and the hourglass for as long as a command copies files.
class Busy
{
public:
    explicit Busy(const QString &text)
    {
        m_window.Zprava(text);
        m_window.show();
        QCoreApplication::processEvents();
    }

private:
    WaitCursor m_cursor;
    Hlaska m_window;
};

// Every table editor control of the program works on the database that is open now.
void handOverDatabase()
{
    for (QWidget *widget : QApplication::allWidgets())
        if (auto *control = qobject_cast<VarnexEditUni *>(widget))
            control->SetData(Db.get());
}

// The main window and the views as the catalog now open gives them: its sections, the
// current one where it still exists, and the views of it.
void reloadWindows()
{
    handOverDatabase();
    frmMain *main = frmMain::Loaded();
    if (!main || !Db)
        return;
    ignoreErrors([main] { main->NactiSekce(); });
    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    if (section) {
        // Its name may be another in the catalog now open.
        for (QAction *item : main->mnuSekceX)
            if (item->data().toString() == QString::number(*section))
                NastavAktualniSekci(section, item->text().toUpper());
        ZobrazPohledy();
    }
    main->NastavMenu();
    if (frmPrehled *overview = frmPrehled::Loaded())
        overview->SetFocus();
}

}  // namespace

void ZalohaNaDisk()
{
    const QString title = PrelozText(QStringLiteral("388,Záloha dat na disk"));
    if (MsgBox(PrelozText(QStringLiteral("252,Provést zálohu dat na disk?")), vbYesNo + vbQuestion, title) != vbYes)
        return;
    std::optional<VbError> failure;
    {
        const Busy busy(title + QStringLiteral("..."));
        try {
            if (!Db)
                throw VbError(dao::err::ObjectInvalid, QStringLiteral("Archivace"), QStringLiteral("No catalog is open."));
            ZalohujKatalog(*Db, backupFolder());
        } catch (const VbError &e) {
            failure = e;
        }
    }
    if (failure) {
        MsgBox(PrelozText(QStringLiteral("267,Při provádění zálohy došlo k chybě. Záloha nebyla provedena.")) + QLatin1Char('\n')
               + PrelozText(QStringLiteral("397,Zkontrolujte zda je na disku dostatek místa.")) + QLatin1Char('\n')
               + failure->Description());
        return;
    }
    MsgBox(PrelozText(QStringLiteral("387,Záloha byla provedena na pevný disk do adresáře")) + QLatin1Char(' ') + backupFolder()
               + QLatin1Char('.'),
           vbInformation, title);
}

void ObnovaZDisku()
{
    const QString title = PrelozText(QStringLiteral("188,Obnova dat z disku"));
    if (MsgBox(PrelozText(QStringLiteral("251,Provést obnovu dat ze zálohy? Aktuální data budou přepsána.")), vbYesNo + vbQuestion,
               title)
        != vbYes)
        return;
    const QString folder = backupFolder();
    if (!Fso.FolderExists(folder)) {
        MsgBox(PrelozText(QStringLiteral("68,Disk neobsahuje adresář")) + QLatin1Char(' ') + folder + QLatin1Char(' ')
                   + PrelozText(QStringLiteral("3,se soubory zálohy.")),
               vbExclamation, title);
        return;
    }
    std::optional<VbError> failure;
    {
        const Busy busy(title + QStringLiteral("..."));
        // The backup is copied and checked while the catalog in use stays open: a backup
        // that cannot be used changes nothing, not even the windows.
        QString prepared;
        try {
            if (!Db || !Ws)
                throw VbError(dao::err::ObjectInvalid, QStringLiteral("Archivace"), QStringLiteral("No catalog is open."));
            prepared = PripravObnovu(folder + kCatalogFile, Db->Name(), OSKAL_VERSION_MAJOR, OSKAL_VERSION_MINOR);
        } catch (const VbError &e) {
            failure = e;
        }
        if (!failure) {
            // The views go while the catalog they show is open, so that the overview's
            // control stores its column widths there; they come back on the catalog
            // that is open afterwards.
            UnloadViews();
            try {
                VymenKatalog(*Ws, Db, prepared);
            } catch (const VbError &e) {
                failure = e;
            }
            reloadWindows();
        }
    }
    if (failure) {
        MsgBox(PrelozText(QStringLiteral("266,Při obnově dat ze zálohy došlo k chybě. Obnova dat nebyla provedena.")) + QLatin1Char('\n')
               + PrelozText(QStringLiteral("398,Zkontrolujte zda žádný uživatel nepracuje v aplikaci.")) + QLatin1Char('\n')
               + failure->Description());
        return;
    }
    MsgBox(PrelozText(QStringLiteral("189,Obnova dat z disku proběhla úspěšně.")), vbInformation, title);
}
