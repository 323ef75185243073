#include "records/frmPriradObr.h"

#include "common/globals.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "common/utility.h"
#include "data/attachments.h"
#include "dialogs.h"
#include "msgbox.h"
#include "records/imagefit.h"
#include "system.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QRect twips(int left, int top, int width, int height)
{
    return QRect(sys::toPixels(left), sys::toPixels(top), sys::toPixels(width), sys::toPixels(height));
}

}  // namespace

frmPriradObr::frmPriradObr()
{
    setObjectName(QStringLiteral("frmPriradObr"));
    setWindowTitle(QStringLiteral("277,Přiřazení náhledu / dokumentu"));
    setFixedSize(sys::toPixels(8115), sys::toPixels(7095));

    Label1 = new QLabel(QStringLiteral("161,Název"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips(60, 90, 870, 285));
    txtPopis = new QLineEdit(this);
    txtPopis->setObjectName(QStringLiteral("txtPopis"));
    txtPopis->setGeometry(twips(960, 60, 4935, 315));
    txtPopis->setMaxLength(kDelkaPopisu);
    HlidejDelkuBoxu(*txtPopis);
    lblSoubor = new QLabel(this);
    lblSoubor->setObjectName(QStringLiteral("lblSoubor"));
    lblSoubor->setAlignment(Qt::AlignCenter);
    lblSoubor->setTextFormat(Qt::PlainText);
    // Only a caption over the picture's place: the clicks are the picture's.
    lblSoubor->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblSoubor->setGeometry(twips(60, 510, 7995, 5985));
    img = new QLabel(this);
    img->setObjectName(QStringLiteral("img"));
    img->setScaledContents(true);
    img->hide();
    const auto button = [this](const char *name, const QString &caption, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(twips(left, 6600, 1395, 375));
        return b;
    };
    cmdHledat = button("cmdHledat", QStringLiteral("21,Vyhledat"), 60);
    cmdUlozit = button("cmdUlozit", QStringLiteral("20,Uložit"), 3780);
    cmdVymazat = button("cmdVymazat", QStringLiteral("19,Smazat"), 5220);
    cmdEnd = button("cmdEnd", QStringLiteral("17,Konec"), 6660);
    connect(cmdHledat, &QPushButton::clicked, this, &frmPriradObr::cmdHledat_Click);
    connect(cmdUlozit, &QPushButton::clicked, this, &frmPriradObr::cmdUlozit_Click);
    connect(cmdVymazat, &QPushButton::clicked, this, &frmPriradObr::cmdVymazat_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &QDialog::reject);
    PrelozFormular(*this, 0);
}

frmPriradObr::~frmPriradObr() = default;

void frmPriradObr::LoadForm(qint32 inter, qint32 poradi)
{
    m_klic = inter;
    m_poradi = poradi;
    m_zdroj.clear();
    img->setProperty("Tag", QString());
    const std::optional<Priloha> priloha = NactiPrilohu(*Db, inter, poradi);
    if (!priloha) {
        txtPopis->setText(PrelozText(QStringLiteral("145,Náhled")));
        cmdVymazat->setEnabled(false);
        cmdUlozit->setEnabled(false);
        return;
    }
    // The user's description as it stands: no message number in it is translated.
    txtPopis->setText(priloha->Popis);
    img->setProperty("Tag", priloha->Soubor);
    const QString path = CestaPrilohy(AppPath, priloha->Soubor);
    UpravNahled(path, priloha->Soubor);
    m_zdroj = path;
}

void frmPriradObr::UpravNahled(const QString &path, const QString &soubor)
{
    const WaitCursor wait;
    img->clear();
    img->hide();
    lblSoubor->setText(soubor);
    const std::optional<ZobrazenaPriloha> shown = NactiPrilohuDoBoxu(path, soubor, UmistiVPrirazeni);
    if (!shown)
        return;
    img->setPixmap(shown->obrazek);
    img->setGeometry(shown->misto);
    img->show();
    lblSoubor->clear();
}

void frmPriradObr::cmdHledat_Click()
{
    const dialogs::FileRequest request{
        PrelozText(QStringLiteral("373,Vyhledání souboru náhledu nebo dokumentu")),
        PrelozText(QStringLiteral("195,Náhledy (*.jpg;*.gif)")) + QStringLiteral("|*.jpg;*.gif|")
            + PrelozText(QStringLiteral("471,Dokumenty (*.pdf;*.doc;*.txt)")) + QStringLiteral(" |*.pdf;*.doc;*.txt|")
            + PrelozText(QStringLiteral("367,Vše (*.*)")) + QStringLiteral(" |*.*")};
    const std::optional<QString> chosen = dialogs::OpenFileName(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString soubor = QFileInfo(*chosen).fileName();
    img->setProperty("Tag", soubor);
    UpravNahled(*chosen, soubor);
    cmdVymazat->setEnabled(true);
    cmdUlozit->setEnabled(true);
    m_zdroj = *chosen;
}

bool frmPriradObr::copyIn(const QString &soubor)
{
    // Where img/ is missing or is no folder, no copy could say why.
    const QString folder = AppPath + QStringLiteral("img");
    if (!QFileInfo(folder).isDir())
        throw VbError(76, QStringLiteral("Oskal"),
                      PrelozText(QStringLiteral("528,Složka náhledů a dokumentů chybí nebo to není složka:")) + QLatin1Char(' ')
                          + folder);
    const QString target = CestaPrilohy(AppPath, soubor);
    const QFileInfo source(m_zdroj);
    if (source.canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return true;
    if (QFileInfo::exists(target)) {
        // Replacing the file changes the attachment of every record that names it.
        const QString question = PrelozText(DruhPrilohy(soubor) == DruhSouboru::Obrazek
                                                ? QStringLiteral("146,Náhled již existuje v adresáři. Přepsat?")
                                                : QStringLiteral("472,Dokument již existuje v adresáři. Přepsat?"))
                                 + QLatin1Char('\n')
                                 + PrelozText(QStringLiteral("482,Počet dalších záznamů, které tento soubor používají:"))
                                 + QLatin1Char(' ') + QString::number(PocetJinychZaznamu(*Db, m_klic, soubor));
        if (MsgBox(question, vbYesNo | vbExclamation, windowTitle()) != vbYes)
            return false;
        if (!QFile::remove(target))
            throw VbError(70, QStringLiteral("Oskal"), QStringLiteral("Permission denied: ") + target);
    }
    // The file system's own reason when the copy fails: the chosen file gone, the folder
    // not writable, the disk full.
    Fso.CopyFile(m_zdroj, target, false);
    return true;
}

void frmPriradObr::cmdUlozit_Click()
{
    const QString soubor = img->property("Tag").toString();
    const QString popis = txtPopis->text();
    try {
        const WaitCursor wait;
        OverPrilohu(*Db, m_klic, m_poradi, soubor, popis);
        if (!copyIn(soubor)) {
            reject();
            return;
        }
        UlozPrilohu(*Ws, *Db, m_klic, m_poradi, soubor, popis, QDateTime::currentDateTime());
    } catch (const VbError &error) {
        Pipni(400, 150);
        MsgBox(PrelozText(QStringLiteral("269,Při ukládání grafického souboru")) + QLatin1Char(' ') + m_zdroj
                   + QLatin1Char(' ') + PrelozText(QStringLiteral("7,došlo k chybě:")) + QLatin1Char('\n')
                   + error.Description(),
               vbCritical, PrelozText(QStringLiteral("345,Ukládání obrázku")));
        return;
    }
    accept();
}

void frmPriradObr::cmdVymazat_Click()
{
    if (MsgBox(PrelozText(QStringLiteral("412,Zrušit přiřazený náhled?")), vbYesNo, windowTitle()) != vbYes)
        return;
    img->clear();
    img->setProperty("Tag", QString());
    lblSoubor->clear();
    m_zdroj.clear();
    txtPopis->clear();
    try {
        OdeberPrilohu(*Ws, *Db, m_klic, m_poradi, QDateTime::currentDateTime());
    } catch (const VbError &error) {
        Pipni(400, 150);
        MsgBox(error.Description(), vbCritical, windowTitle());
    }
    accept();
}
