#include "startup/controlregistration.h"

#include "common/globals.h"
#include "common/translation.h"
#include "msgbox.h"
#include "registration.h"
#include "vberror.h"

#include <QDir>

namespace {

// The current folder comes back however the registration ends.
class CurrentFolder
{
public:
    CurrentFolder() : m_saved(QDir::currentPath()) {}
    ~CurrentFolder() { QDir::setCurrent(m_saved); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_saved;
};

}  // namespace

bool JeOddelovac(const QString &character)
{
    return character == QLatin1String("\\") || character == QLatin1String("/");
}

void RozdelCestu(const QString &path, QString &folder, QString &fileName)
{
    for (qsizetype p = path.size(); p >= 1; --p) {
        if (JeOddelovac(path.mid(p - 1, 1))) {
            folder = path.left(p - 1);
            if (folder.isEmpty())
                folder = QStringLiteral("/");
            fileName = path.mid(p);
            return;
        }
    }
    folder = QDir::currentPath();
    fileName = path;
}

QString SlozkaSouboru(const QString &path)
{
    QString folder, fileName;
    RozdelCestu(path, folder, fileName);
    return folder;
}

void RegistrujKomponentu(const QString &path)
{
    const CurrentFolder restore;
    // Libraries the file needs are looked for beside it.
    QDir::setCurrent(SlozkaSouboru(path));
    const QString title = PrelozText(QStringLiteral("285,Registrace komponent aplikace"));
    const auto general = [&](const QString &reason) {
        return PrelozText(QStringLiteral("268,Při registraci souboru")) + QLatin1Char(' ') + path + QLatin1Char(' ')
               + PrelozText(QStringLiteral("7,došlo k chybě")) + QLatin1Char('\n') + reason;
    };
    qint16 result = 0;
    try {
        result = DLLSelfRegister(path);
    } catch (const VbError &e) {
        MsgBox(general(e.Description()), vbCritical, title);
        return;
    }
    QString text;
    switch (result) {
    case 0:
        return;
    case 2:
        text = PrelozText(QStringLiteral("170,Nelze inicializovat OLE ve spojení s registrovaným souborem")) + QLatin1Char(' ') + path;
        break;
    case 3:
        text = PrelozText(QStringLiteral("128,LoadLibrary() zhavarovalo při registraci souboru")) + QLatin1Char(' ') + path;
        break;
    case 4:
        text = PrelozText(QStringLiteral("164,Nebyl nalezen vstupní bod pro DllRegisterServer() - registrace souboru")) + QLatin1Char(' ')
               + path;
        break;
    case 5:
        text = PrelozText(QStringLiteral("70,DllRegisterServer() v souboru")) + QLatin1Char(' ') + path + QLatin1Char(' ')
               + PrelozText(QStringLiteral("14,vrátil chybu"));
        break;
    default:
        text = general(QString());
        break;
    }
    MsgBox(text, vbCritical, title);
}

QString SouborOvladace(const QString &oldName)
{
    if (oldName.compare(QLatin1String("Tabulix.ocx"), Qt::CaseInsensitive) == 0
        || oldName.compare(QLatin1String("QirEdit.ocx"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("libTabulix.so");
    return QString();
}

void RegistrujOvladac(const QString &oldName)
{
    const QString file = SouborOvladace(oldName);
    if (!file.isEmpty())
        RegistrujKomponentu(AppPath + file);
}
