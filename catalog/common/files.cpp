#include "common/files.h"

#include "msgbox.h"
#include "net.h"
#include "process.h"
#include "system.h"
#include "common/translation.h"
#include "common/utility.h"

#include <QDir>

QString DocasnaSlozka()
{
    QString path = sys::TempPath();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString ChybaOtevreni(int result)
{
    switch (result) {
    case process::FileNotFound: return PrelozText(QStringLiteral("308,Soubor nebyl nalezen:"));
    case process::PathNotFound: return PrelozText(QStringLiteral("41,Cesta k souboru nebyla nalezena:"));
    case process::AccessDenied: return PrelozText(QStringLiteral("279,Přístup zakázán:"));
    case process::OutOfMemory: return PrelozText(QStringLiteral("168,Nedostatek paměti"));
    case process::BadFormat: return PrelozText(QStringLiteral("98,Chybný soubor nebo obraz souboru EXE"));
    case process::SharingViolation: return PrelozText(QStringLiteral("152,Narušeno sdílení:"));
    case process::AssociationIncomplete: return PrelozText(QStringLiteral("180,Neúplné (chybné) přiřazení souboru:"));
    case process::DdeTimeout: return PrelozText(QStringLiteral("379,Vypršel časový interval DDE"));
    case process::DdeFail: return PrelozText(QStringLiteral("96,Chybná DDE transakce"));
    case process::DdeBusy: return PrelozText(QStringLiteral("53,DDE je zaneprázdněno"));
    case process::NoAssociation: return PrelozText(QStringLiteral("310,Souboru není přiřazena žádná aplikace:"));
    case process::DllNotFound: return PrelozText(QStringLiteral("108,Knihovna DLL nebyla nalezena"));
    default: return PrelozText(QStringLiteral("177,Nepředvídaná chyba při otevírání souboru:"));
    }
}

qint32 OtevriSoubor(const QString &soubor, const QString &parametry, const QString &slozka)
{
    const int result = process::ShellExecute(soubor, parametry, slozka.isEmpty() ? QDir::rootPath() : slozka);
    if (result > 32)
        return result;
    Pipni(400, 150);
    QString text = ChybaOtevreni(result);
    // The Chinese texts end in a full-width colon; the name belongs after it too.
    if (text.endsWith(QLatin1Char(':')) || text.endsWith(QChar(0xFF1A)))
        text += QLatin1Char(' ') + soubor;
    MsgBox(text, vbExclamation, PrelozText(QStringLiteral("209,Otevřít soubor")));
    return 0;
}

qint32 CekejNaProces(qint32 processId, bool block)
{
    return process::WaitForProcess(processId, block);
}

bool StahniSoubor(const QString &adresa, const QString &cil)
{
    return net::DownloadToFile(adresa, cil);
}
