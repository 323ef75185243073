#include "startup/startup.h"

#include "startup/SystemTest.h"
#include "startup/controlregistration.h"
#include "startup/konverze.h"
#include "startup/oprava.h"
#include "data/archive.h"
#include "data/infosettings.h"
#include "startup/workstation.h"
#include "common/globals.h"
#include "data/currentoverview.h"
#include "common/programicon.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "mainwindow/views.h"
#include "msgbox.h"
#include "startup/startsection.h"
#include "system.h"
#include "common/translation.h"
#include "common/utility.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QProcess>

namespace {

std::unique_ptr<QLockFile> instanceLock;
// How long a restarted instance waits for its predecessor to let go of the lock.
std::chrono::milliseconds restartLockWait{5000};

// The files have no password; the connect string keeps its form.
const QString kConnect = QStringLiteral(";pwd=");

int endWith(const QString &text, int style, const QString &title)
{
    MsgBox(text, style, title);
    return 1;
}

// True when another instance of the same program holds the lock. A restarted instance
// takes the lock over once its predecessor has let go of it, without asking.
bool anotherInstanceRuns(const QString &programFile, bool restart)
{
    instanceLock = std::make_unique<QLockFile>(ZamekInstance(programFile));
    instanceLock->setStaleLockTime(0);  // a lock outlives a crash only while its process lives
    if (restart) {
        instanceLock->tryLock(restartLockWait);
        return false;
    }
    // Only a lock held by another process means another instance; a lock that cannot be
    // made at all (no writable temporary folder) does not keep the program from running.
    return !instanceLock->tryLock(0) && instanceLock->error() == QLockFile::LockFailedError;
}

// Where the catalog is missing, the fresh one shipped with the program takes its place.
std::optional<int> ensureCatalog()
{
    const QString catalog = AppPath + QStringLiteral("QIRData.mdb");
    if (!Fso.FileExists(catalog)) {
        const QString fresh = AppPath + QStringLiteral("QIRData.upg");
        if (!Fso.FileExists(fresh))
            return endWith(PrelozText(QStringLiteral("50,Datový soubor QIRData.mdb nebyl nalezen. Aplikace bude ukončena.")),
                           vbExclamation, PrelozText(QStringLiteral("312,Spuštění aplikace Oskal")));
        try {
            Fso.CopyFile(fresh, catalog, true);
        } catch (const VbError &e) {
            return endWith(PrelozText(QStringLiteral("473,Čistý datový soubor QIRData.upg se nepodařilo zkopírovat do QIRData.mdb. Aplikaci nelze spustit."))
                               + QLatin1Char('\n') + e.Description(),
                           vbCritical, PrelozText(QStringLiteral("312,Spuštění aplikace Oskal")));
        }
    }
    try {
        const int attributes = Fso.GetAttributes(catalog);
        if (attributes & FileSystemObject::ReadOnly)
            Fso.SetAttributes(catalog, attributes & ~FileSystemObject::ReadOnly);
    } catch (const VbError &) {
        // Opening the catalog reports what is wrong with the file.
    }
    return std::nullopt;
}

void offerOlderControls()
{
    OpravDatabazi();
    if (MsgBox(PrelozText(QStringLiteral("292,Registrovat systémové soubory?")), vbYesNo,
               PrelozText(QStringLiteral("285,Registrace komponent aplikace"))) == vbYes) {
        RegistrujOvladac(QStringLiteral("QirLink.ocx"));
        RegistrujOvladac(QStringLiteral("QirEdit.ocx"));
    }
}

std::optional<int> openCatalog()
{
    try {
        Ws = dao::CreateWorkspace(QString(), QStringLiteral("admin"), QString());
        Db = Ws->OpenDatabase(AppPath + QStringLiteral("QIRData.mdb"), false, false, kConnect);
        auto param = Db->OpenRecordset(QStringLiteral("select * from s_param"));
        VerzeDat.clear();
        ignoreErrors([&] { VerzeDat = param->Fields(QStringLiteral("verze")).Value().toString(); });
        if (VerzeDat.isEmpty())
            VerzeDat = QStringLiteral("0.0.0");
        param->Close();
    } catch (const VbError &e) {
        return endWith(PrelozText(QStringLiteral("468,Chyba při otevírání dat. Aplikaci nelze spustit.")) + QLatin1Char('\n')
                           + e.Description(),
                       vbCritical, PrelozText(QStringLiteral("312,Spuštění aplikace Oskal")));
    }
    return std::nullopt;
}

std::optional<int> checkVersion(bool networkStart)
{
    const QString programTitle = PrelozText(QStringLiteral("313,Spuštění programu Oskal verze")) + QLatin1Char(' ') + VerzeProgramu;
    switch (PorovnejVerze(VerzeDat, OSKAL_VERSION_MAJOR, OSKAL_VERSION_MINOR)) {
    case VersionRule::Same:
        return std::nullopt;
    case VersionRule::Incompatible:
        return endWith(PrelozText(QStringLiteral("467,Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit.")),
                       vbCritical, programTitle);
    case VersionRule::Unreadable:
        return endWith(PrelozText(QStringLiteral("474,Verzi dat nelze přečíst:")) + QLatin1Char(' ') + VerzeDat + QLatin1Char('\n')
                           + PrelozText(QStringLiteral("239,Program bude ukončen.")),
                       vbCritical, programTitle);
    case VersionRule::Convert:
        break;
    }
    // A workstation that runs the program from the shared drive leaves the conversion to
    // the one holding the data on its own disk.
    if (networkStart && ProgramZeSite()) {
        Pipni(400, 150);
        return endWith(PrelozText(QStringLiteral("362,Verze programu (")) + QLatin1Char(' ') + VerzeProgramu + QStringLiteral(" )")
                           + QLatin1Char(' ') + PrelozText(QStringLiteral("9,neodpovídá verzi dat na serveru (")) + VerzeDat
                           + QStringLiteral(" )") + QLatin1Char('\n') + PrelozText(QStringLiteral("239,Program bude ukončen.")),
                       vbCritical, PrelozText(QStringLiteral("208,Otevření dat")));
    }
    if (!KonverzeDat())
        return endWith(PrelozText(QStringLiteral("181,Nezdařila se konverze dat nezbytná pro funkci nové verze programu. Program bude ukončen.")),
                       vbCritical, PrelozText(QStringLiteral("116,Konverze dat")));
    return std::nullopt;
}

// A missing attachments' folder is made and given the pictures that lie beside the program.
void prepareImageFolder()
{
    const WaitCursor wait;
    const QString folder = AppPath + QStringLiteral("img/");
    if (Fso.FolderExists(folder))
        return;
    ignoreErrors([&] { Fso.CreateFolder(folder); });
    QStringList pictures;
    ignoreErrors([&] { pictures = Fso.Files(AppPath, QStringLiteral("*.jpg")); });
    for (const QString &name : std::as_const(pictures))
        ignoreErrors([&] { Fso.CopyFile(AppPath + name, folder + name, true); });
}

// The user may close the main window whenever start-up lets events run: from then on
// nothing more opens.
bool ending()
{
    return KonecProgramu || !frmMain::Loaded();
}

void showViews()
{
    // A load that fails half-way (a damaged table) still gives a window to work in.
    ignoreErrors([] { frmMain::Form(); });
    if (ending())
        return;
    frmMain &main = *frmMain::Loaded();
    ignoreErrors([&] { PrelozFormular(main, 0); });
    main.show();
    QCoreApplication::processEvents();
    if (ending())
        return;
    ignoreErrors([] { NastavSekci(); });
    if (ending())
        return;

    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    if (!section)
        return;
    ZobrazPohledy();
    if (frmPrehled *overview = frmPrehled::Loaded(); overview && !ending())
        overview->SetFocus();
}

}  // namespace

QString ZamekInstance(const QString &programFile)
{
    const QByteArray key = QFileInfo(programFile).absoluteFilePath().toUtf8();
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir::tempPath() + QStringLiteral("/Oskal-") + hash + QStringLiteral(".lock");
}

void UvolniInstanci()
{
    instanceLock.reset();
}

void NastavCekaniNaZamek(std::chrono::milliseconds wait)
{
    restartLockWait = wait;
}

std::optional<int> Main(const QString &programFile, const QStringList &arguments)
{
    KonecProgramu = false;
    // Every window without an icon of its own takes the program's, the first message box
    // too.
    QApplication::setWindowIcon(IkonaProgramu());
    // 1. The program folder.
    AppPath = QFileInfo(programFile).absolutePath();
    if (!AppPath.endsWith(QLatin1Char('/')))
        AppPath += QLatin1Char('/');

    // 2. The messages of the chosen language.
    Jazyk = NactiInfo(QStringLiteral("Lang"), QStringLiteral("1")).trimmed();
    if (Jazyk == QLatin1String("0"))
        Jazyk = QStringLiteral("1");
    Preklady = std::make_unique<MessageList>();
    if (Fso.FileExists(AppPath + QStringLiteral("Lang.mdb")))
        NactiPreklady(AppPath + QStringLiteral("Lang.mdb"), Jazyk, *Preklady);
    NastavJazykQt(Jazyk);

    // 3. One instance at a time, but for the restart after registering the controls.
    Restart = arguments.join(QLatin1Char(' ')).toUpper() == QLatin1String("R");
    if (anotherInstanceRuns(programFile, Restart)) {
        Pipni(400, 150);
        return endWith(PrelozText(QStringLiteral("240,Program již je spuštěn.")), vbExclamation,
                       PrelozText(QStringLiteral("237,Oskal")));
    }

    // What copies of the catalog that were cut short left: only this instance writes them.
    ignoreErrors([] { SmazDocasneKopie(AppPath); });

    // 4, 5. The catalog file, writable.
    if (auto end = ensureCatalog())
        return end;

    // 6. Ctrl held: repair, and the older controls on request.
    if (sys::isKeyDown(sys::Key::Control))
        offerOlderControls();

    // 7. The controls must be there; when not, register them and start anew.
    if (!ZkusSystemTest()) {
        if (Restart)
            return endWith(PrelozText(QStringLiteral("286,Registrace komponent neproběhla úspěšně. Aplikaci nelze spustit.")),
                           vbCritical, PrelozText(QStringLiteral("285,Registrace komponent aplikace")));
        RegistrujOvladac(QStringLiteral("QirLinkUni.ocx"));
        RegistrujOvladac(QStringLiteral("Tabulix.ocx"));
        UvolniInstanci();
        // Ending without a word when no new instance follows would look like a crash.
        if (!QProcess::startDetached(programFile, {QStringLiteral("R")}))
            return endWith(PrelozText(QStringLiteral("475,Aplikaci se nepodařilo znovu spustit. Spusťte ji prosím znovu sami.")),
                           vbCritical, PrelozText(QStringLiteral("285,Registrace komponent aplikace")));
        return 0;
    }

    // 8, 9. Open the catalog and read the data's version.
    if (auto end = openCatalog())
        return end;
    VerzeProgramu = QStringLiteral("%1.%2.%3").arg(OSKAL_VERSION_MAJOR).arg(OSKAL_VERSION_MINOR).arg(OSKAL_VERSION_REVISION);

    // 10, 11. The version rule, and the conversion where it asks for one.
    const bool networkStart = SitovaStanice();
    if (auto end = checkVersion(networkStart))
        return end;

    // 12, 13. Workstation name and login, on a network workstation only.
    NazevStanice = QStringLiteral("PC1");
    Uzivatel.clear();
    if (networkStart) {
        if (auto end = NastavNazevStanice())
            return end;
        if (auto end = Prihlaseni())
            return end;
    }
    // 14.
    if (Uzivatel.isEmpty())
        Uzivatel = NazevStanice;

    // 15-17. Nothing stops the start any more, but the user closing the main window.
    ignoreErrors(prepareImageFolder);
    showViews();
    if (ending())
        return 0;
    return std::nullopt;
}
