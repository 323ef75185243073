#include "startup/workstation.h"

#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "data/infosettings.h"
#include "msgbox.h"
#include "startup/frmLogin.h"
#include "variant.h"
#include "vberror.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QStorageInfo>

namespace {

// A setting that says True or False; anything else leaves the question to the file system.
std::optional<bool> explicitSetting(const QString &key)
{
    const QString value = NactiInfo(key).trimmed();
    if (value.isEmpty())
        return std::nullopt;
    try {
        return Variant(value).toBool();
    } catch (const VbError &) {
        return std::nullopt;
    }
}

}  // namespace

bool SitovySystemSouboru(const QString &type)
{
    static const QStringList network = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),    QStringLiteral("cifs"),      QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("smb"),     QStringLiteral("ncpfs"),     QStringLiteral("ncp"),
        QStringLiteral("afs"),   QStringLiteral("coda"),    QStringLiteral("9p"),        QStringLiteral("ceph"),
        QStringLiteral("lustre"), QStringLiteral("glusterfs"), QStringLiteral("davfs"),  QStringLiteral("sshfs"),
        QStringLiteral("beegfs"), QStringLiteral("gpfs"),   QStringLiteral("orangefs"),
    };
    QString name = type.trimmed().toLower();
    // A file system in user space names its kind after the dot: "fuse.sshfs".
    if (name.startsWith(QLatin1String("fuse.")) || name.startsWith(QLatin1String("fuseblk.")))
        name = name.section(QLatin1Char('.'), 1);
    return network.contains(name);
}

bool NaSitovemDisku(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    if (real.isEmpty())
        return false;
    const QStorageInfo storage(real);
    return storage.isValid() && SitovySystemSouboru(QString::fromLatin1(storage.fileSystemType()));
}

bool SitovaStanice()
{
    if (const auto set = explicitSetting(QStringLiteral("SitovaStanice")))
        return *set;
    // Where the catalog's file really lies: a link beside the program may lead into a
    // shared folder.
    return NaSitovemDisku(AppPath + QStringLiteral("QIRData.mdb"));
}

bool ProgramZeSite()
{
    if (const auto set = explicitSetting(QStringLiteral("ProgramZeSite")))
        return *set;
    return NaSitovemDisku(AppPath);
}

std::optional<int> NastavNazevStanice()
{
    const QString title = PrelozText(QStringLiteral("157,Nastavení prostředí"));
    NazevStanice = NactiInfo(QStringLiteral("Stanice"));
    if (!NazevStanice.trimmed().isEmpty())
        return std::nullopt;
    const QString prompt = PrelozText(QStringLiteral("254,První spušťení síťové stanice.")) + QLatin1Char('\n')
                           + PrelozText(QStringLiteral("386,Zadejte unikátní název stanice (max.30 znaků)")) + QStringLiteral("\n\n")
                           + PrelozText(QStringLiteral("39,Bez nastavení názvu stanice program nebude pracovat!"));
    QString answer;
    for (;;) {
        // A name too long is refused with the limit and offered again to be shortened,
        // never cut behind the user's back.
        answer = InputBox(prompt, title, answer);
        if (answer.trimmed().isEmpty()) {
            MsgBox(PrelozText(QStringLiteral("166,Nebylo nastaveno systémové jméno stanice. Program nebude pracovat!")), vbExclamation,
                   title);
            return 1;
        }
        if (answer.toUcs4().size() <= MaxDelkaNazvuStanice)
            break;
        Pipni(400, 150);
        MsgBox(PrelozText(QStringLiteral("526,Název stanice může mít nejvýše 30 znaků.")), vbExclamation, title);
    }
    // A settings file that cannot be written costs the question again at the next start.
    ignoreErrors([&] { UlozInfo(QStringLiteral("Stanice"), answer); });
    NazevStanice = answer;
    MsgBox(PrelozText(QStringLiteral("315,Stanice")) + QStringLiteral("  ") + answer + QStringLiteral("  ")
               + PrelozText(QStringLiteral("1,byla nastavena.")),
           vbInformation, title);
    return std::nullopt;
}

std::optional<int> Prihlaseni()
{
    const std::optional<QString> user = frmLogin::Zobraz();
    if (!user)
        return 0;
    Uzivatel = user->trimmed();
    return std::nullopt;
}
