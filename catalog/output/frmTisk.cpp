#include "output/frmTisk.h"

#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "dialogs.h"
#include "msgbox.h"
#include "output/detailpage.h"
#include "output/frmNastavTisk.h"
#include "pageview.h"
#include "printerchoice.h"
#include "printer.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>

namespace {

// The border allowance of a page picture around the printable area, in twips.
constexpr double PictureExtraWidth = 30;
constexpr double PictureExtraHeight = 25;
// The photo size of a new detail print, and the largest there is room for.
constexpr qint16 VychoziImgSize = 80;
constexpr qint16 NejvetsiImgSize = 120;

}  // namespace

frmTisk::frmTisk() : ModalForm(QApplication::activeWindow())
{
    setObjectName(QStringLiteral("frmTisk"));
    setWindowTitle(QStringLiteral("147,Náhled před tiskem"));

    static_cast<OvladaniNahledu &>(*this) = VytvorNahled(this);
    cmdSave = TlacitkoNahledu(fraRBtn, "cmdSave", QStringLiteral("355,Uložit"), QStringLiteral("354,Uloží stránku do zvoleného souboru"));
    cmdNastav = TlacitkoNahledu(fraRBtn, "cmdNastav", QStringLiteral("154,Nastavení"), QStringLiteral("155,Nastavení fontu a papíru"));
    cmdTisk = TlacitkoNahledu(fraRBtn, "cmdTisk", QStringLiteral("333,Tisk"), QStringLiteral("335,Tisk na tiskárnu"));
    cmdKonec = TlacitkoNahledu(fraRBtn, "cmdKonec", QStringLiteral("111,Konec"), QStringLiteral("113,Konec tisku"));

    connect(cmdFirst, &QPushButton::clicked, this, [this] { goToPage(0); });
    connect(cmdBefore, &QPushButton::clicked, this, [this] { goToPage(Stranka - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { goToPage(Stranka + 1); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { goToPage(PageCount() - 1); });
    connect(cmdSave, &QPushButton::clicked, this, &frmTisk::cmdSave_Click);
    connect(cmdNastav, &QPushButton::clicked, this, &frmTisk::cmdNastav_Click);
    connect(cmdTisk, &QPushButton::clicked, this, &frmTisk::cmdTisk_Click);
    connect(cmdKonec, &QPushButton::clicked, this, &QDialog::reject);

    PrelozFormular(*this, 0);
    resize(860, 800);
}

frmTisk::~frmTisk() = default;

int frmTisk::PageCount() const
{
    return m_seznam ? m_seznam->Pocet() : int(m_pages.size());
}

QImage frmTisk::PageImage(int page) const
{
    if (page < 0 || page >= PageCount())
        return QImage();
    if (m_seznam) {
        printer::PagePicture picture(m_scaleWidth, m_scaleHeight, PictureExtraWidth, PictureExtraHeight);
        m_seznam->Kresli(picture, page);
        return picture.image();
    }
    return m_pages[size_t(page)]->image();
}

void frmTisk::Tisk(const SeznamMrizka &grid, const QString &heading)
{
    Rezim = 1;
    Mrizka = &grid;
    Nadpis = heading;
    Prekresli();
    ZobrazModalne();
}

void frmTisk::TiskDet(qint32 inter, qint16 poradi)
{
    Rezim = 2;
    TiskInter = inter;
    TiskPoradi = poradi;
    Nadpis = PrelozText(QStringLiteral("336,Tisk záznamu s fotografií"));
    if (ImgSize <= 0)
        ImgSize = VychoziImgSize;
    else if (ImgSize > NejvetsiImgSize)
        ImgSize = NejvetsiImgSize;
    Prekresli();
    ZobrazModalne();
}

// --- Pages ---

void frmTisk::NovyNahled()
{
    m_pages.clear();
    m_seznam.reset();
    Stranka = 0;
    const std::unique_ptr<printer::Printer> page = TiskarnaStranky(m_volba.printerName, QString());
    page->Orientation(Orientace == 2 ? printer::vbPRORLandscape : printer::vbPRORPortrait);
    m_scaleWidth = page->ScaleWidth();
    m_scaleHeight = page->ScaleHeight();
}

printer::Surface &frmTisk::StrankaNahledu(int i)
{
    while (int(m_pages.size()) <= i)
        m_pages.push_back(std::make_unique<printer::PageRecording>(m_scaleWidth, m_scaleHeight, PictureExtraWidth,
                                                                   PictureExtraHeight));
    return *m_pages[size_t(i)];
}

void frmTisk::ZobrazNahled()
{
    // A drawing that failed before its first page still shows an empty one.
    if (PageCount() == 0)
        StrankaNahledu(0);
    Stranka = 0;
    showPage();
    NastavPosuvniky();
}

void frmTisk::Prekresli()
{
    NovyNahled();
    const Stranky nahled = [this](int i) -> printer::Surface & { return StrankaNahledu(i); };
    if (Rezim == 1)
        NahledSeznamu();
    else if (Rezim == 2)
        KresliDetail(nahled);
    ZobrazNahled();
}

void frmTisk::showPage()
{
    const QImage image = PageImage(Stranka);
    pic->setPixmap(QPixmap::fromImage(image));
    pic->resize(image.size());
    UkazCisloStranky(Stranka, PageCount());
    Posun();
}

void frmTisk::goToPage(int target)
{
    if (target == Stranka || target < 0 || target >= PageCount()) {
        Pipni(400, 150);
        return;
    }
    // The page keeps the place the user scrolled to.
    Stranka = qint16(target);
    showPage();
}

void frmTisk::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    RozmistiNahled(*this, size(), KorekceVysky);
}

// --- Drawing ---

void frmTisk::NahledSeznamu()
{
    auto seznam = std::make_unique<SeznamStran>(*Mrizka, NastaveniSeznamu{Pismo, Nadpis});
    // Declined, the preview shows an empty page.
    if (seznam->Rozvrhni(m_scaleWidth, m_scaleHeight))
        m_seznam = std::move(seznam);
}

bool frmTisk::KresliSeznam(const Stranky &stranka)
{
    try {
        return ::KresliSeznam(*Mrizka, {Pismo, Nadpis}, stranka);
    } catch (const VbError &e) {
        WaitCursor wait;
        reportPrinterError(e);
        return false;
    }
}

bool frmTisk::KresliDetail(const Stranky &stranka)
{
    WaitCursor wait;
    try {
        const DetailZaznamu zaznam = NactiDetail(*Db, TiskInter, TiskPoradi);
        PoziceY = qint32(std::lround(::KresliDetail(zaznam, ImgSize, stranka).PoziceY));
        return true;
    } catch (const VbError &e) {
        reportPrinterError(e);
        return false;
    }
}

void frmTisk::reportPrinterError(const VbError &e)
{
    HlasChybuTisku(e, windowTitle(), [](const QString &text) { return PrelozText(text); });
}

// --- Commands ---

void frmTisk::cmdSave_Click()
{
    const QString filter = PrelozText(QStringLiteral("281,Rastrové soubory (*.bmp)")) + QStringLiteral("|*.bmp");
    const std::optional<QString> file = dialogs::SaveFileName(this, {QString(), filter});
    if (!file || file->isEmpty())
        return;
    // A file that cannot be written ends the action quietly, as cancelling does.
    PageImage(Stranka).save(*file, "BMP");
}

void frmTisk::cmdNastav_Click()
{
    frmNastavTisk &dialog = frmNastavTisk::Form(this);
    if (Rezim == 2) {
        for (QWidget *w : std::initializer_list<QWidget *>{dialog.cmbPismo, dialog.opt[0], dialog.opt[1], dialog.txtNadpis})
            w->setEnabled(false);
        dialog.txtImgSize->setText(QString::number(ImgSize));
    } else {
        for (QWidget *w : std::initializer_list<QWidget *>{dialog.Label3, dialog.txtImgSize, dialog.Label4})
            w->hide();
    }
    // OK writes the settings here, in the preview that outlives the dialog.
    dialog.ZobrazModalne();
    Prekresli();
}

bool frmTisk::VyberTiskarnu()
{
    return ZvolTiskarnu(this, m_volba, Orientace, PageCount());
}

bool frmTisk::Tiskni(const std::function<bool(const Stranky &)> &kresli)
{
    WaitCursor wait;
    // Each copy is a job of its own on a printer; a PDF file would keep only the last.
    const bool pdf = !m_volba.pdfFile.isEmpty();
    const int jobs = pdf ? 1 : m_volba.copies;
    const int copiesPerJob = pdf ? m_volba.copies : 1;
    bool ok = true;
    for (int job = 0; job < jobs && ok; ++job) {
        const std::unique_ptr<printer::Printer> p = TiskarnaStranky(m_volba.printerName, m_volba.pdfFile);
        p->Orientation(Orientace == 2 ? printer::vbPRORLandscape : printer::vbPRORPortrait);
        p->FontSize(Pismo);
        // Pages outside the chosen range are drawn where nothing comes of them.
        printer::PagePicture mimo(p->ScaleWidth(), p->ScaleHeight(), 0, 0, 1000);
        try {
            bool started = false;
            for (int copy = 0; copy < copiesPerJob && ok; ++copy) {
                int current = -1;
                ok = kresli([&](int i) -> printer::Surface & {
                    if (!m_volba.allPages && (i + 1 < m_volba.od || i + 1 > m_volba.doStrany))
                        return mimo;
                    if (i != current) {
                        current = i;
                        if (started)
                            p->NewPage();
                        started = true;
                    }
                    return *p;
                });
            }
            if (ok)
                p->EndDoc();
            else
                p->KillDoc();
        } catch (const VbError &e) {
            p->KillDoc();
            reportPrinterError(e);
            ok = false;
        }
        if (!m_volba.puvodniTiskarna.isEmpty())
            NastavVychoziTiskarnu(m_volba.puvodniTiskarna);
    }
    return ok;
}

void frmTisk::cmdTisk_Click()
{
    if (!VyberTiskarnu())
        return;
    // Every copy starts at the first page, whatever page the preview shows.
    if (Rezim == 1)
        Tiskni([this](const Stranky &stranka) { return KresliSeznam(stranka); });
    else if (Rezim == 2)
        Tiskni([this](const Stranky &stranka) { return KresliDetail(stranka); });
}
