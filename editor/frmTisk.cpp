#include "frmTisk.h"

#include "VarnexEditUni.h"
#include "frmNastav.h"
#include "gridreport.h"
#include "libroutines.h"
#include "msgbox.h"
#include "pageview.h"
#include "printerchoice.h"
#include "printer.h"
#include "system.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

namespace tabulix {

namespace {

// The border allowance of a page picture around the printable area.
constexpr double PictureExtraWidth = 30;
constexpr double PictureExtraHeight = 25;

}  // namespace

frmTisk::frmTisk(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTisk"));
    setWindowTitle(QStringLiteral("147,Náhled před tiskem"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    static_cast<OvladaniNahledu &>(*this) = VytvorNahled(this);
    cmdNastav = TlacitkoNahledu(fraRBtn, "cmdNastav", QStringLiteral("154,Nastavení"), QStringLiteral("155,Nastavení fontu a papíru"));
    cmdTisk = TlacitkoNahledu(fraRBtn, "cmdTisk", QStringLiteral("333,Tisk"), QStringLiteral("335,Tisk na tiskárnu"));
    cmdKonec = TlacitkoNahledu(fraRBtn, "cmdKonec", QStringLiteral("111,Konec"), QStringLiteral("113,Konec tisku"));

    connect(cmdFirst, &QPushButton::clicked, this, [this] { goToPage(0, m_stranka == 0); });
    connect(cmdBefore, &QPushButton::clicked, this, [this] { goToPage(m_stranka - 1, m_stranka == 0); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { goToPage(m_stranka + 1, m_stranka >= PageCount() - 1); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { goToPage(PageCount() - 1, m_stranka >= PageCount() - 1); });
    connect(cmdNastav, &QPushButton::clicked, this, &frmTisk::cmdNastav_Click);
    connect(cmdTisk, &QPushButton::clicked, this, &frmTisk::cmdTisk_Click);
    connect(cmdKonec, &QPushButton::clicked, this, &QDialog::reject);

    PrelozFormular(this);
    resize(860, 800);
}

frmTisk::~frmTisk() = default;

int frmTisk::PageCount() const
{
    return m_report ? std::max(1, m_report->PageCount()) : 1;
}

void frmTisk::Tisk(VarnexEditUni *grid)
{
    Tabulka = grid;
    RenderPreview();
    exec();
}

std::unique_ptr<printer::Printer> frmTisk::currentPrinter(const QString &name, const QString &pdfFile) const
{
    return TiskarnaStranky(name, pdfFile);
}

void frmTisk::reportPrinterError(const VbError &e)
{
    HlasChybuTisku(e, windowTitle(), [](const QString &text) { return PrelozText(text); });
}

bool frmTisk::preparePrinter(printer::Printer &p)
{
    try {
        p.Orientation(Orientace == 1 ? printer::vbPRORPortrait : printer::vbPRORLandscape);
        p.FontSize(Pismo);
        return true;
    } catch (const VbError &e) {
        reportPrinterError(e);
        return false;
    }
}

std::unique_ptr<GridReport> frmTisk::layOut(printer::Printer &p)
{
    if (Nadpis.isEmpty() && Tabulka)
        Nadpis = Tabulka->HostCaption();
    auto report = std::make_unique<GridReport>(*Tabulka, Pismo, Nadpis);
    printer::PagePicture measure(p.ScaleWidth(), p.ScaleHeight(), 0, 0, 1000);
    report->Layout(measure);
    if (!report->Outside().isEmpty()) {
        QGuiApplication::restoreOverrideCursor();
        sys::Beep(0, 0);
        const QString text = PrelozText(QStringLiteral("445,Šířka sestavy přesahuje formát papíru.")) + QLatin1Char('\n')
                             + PrelozText(QStringLiteral("446,Položky ")) + report->Outside() + QLatin1Char(' ')
                             + PrelozText(QStringLiteral("447,jsou mimo tisknutelnou plochu.")) + QStringLiteral("\n\n")
                             + PrelozText(QStringLiteral("448,Pokračovat v tisku ?"));
        const int answer = MsgBox(text, vbYesNo | vbQuestion, PrelozText(QStringLiteral("333,Tisk")));
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (answer != vbYes)
            return nullptr;
    }
    return report;
}

bool frmTisk::RenderPreview()
{
    if (!Tabulka)
        return false;
    WaitCursor wait;
    m_report.reset();
    m_stranka = 0;
    m_printer = currentPrinter(m_volba.printerName, QString());
    bool shown = preparePrinter(*m_printer);
    m_scaleWidth = m_printer->ScaleWidth();
    m_scaleHeight = m_printer->ScaleHeight();
    if (shown) {
        m_report = layOut(*m_printer);
        shown = m_report != nullptr;
    }
    showPage();
    NastavPosuvniky();
    return shown;
}

QImage frmTisk::PageImage() const
{
    return pic->pixmap().toImage();
}

void frmTisk::showPage()
{
    printer::PagePicture page(m_scaleWidth, m_scaleHeight, PictureExtraWidth, PictureExtraHeight);
    if (m_report)
        m_report->RenderPage(page, m_stranka);
    const QImage &image = page.image();
    pic->setPixmap(QPixmap::fromImage(image));
    pic->resize(image.size());
    UkazCisloStranky(m_stranka, PageCount());
    Posun();
}

void frmTisk::goToPage(int target, bool atEnd)
{
    if (atEnd) {
        sys::Beep(0, 0);
        return;
    }
    m_stranka = std::clamp(target, 0, PageCount() - 1);
    showPage();
}

void frmTisk::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    RozmistiNahled(*this, size(), 0);
}

void frmTisk::cmdNastav_Click()
{
    frmNastav settings(this);
    settings.exec();
    RenderPreview();
}

bool frmTisk::ChoosePrinter()
{
    return ZvolTiskarnu(this, m_volba, Orientace, PageCount());
}

void frmTisk::PrintJob()
{
    if (!Tabulka)
        return;
    WaitCursor wait;
    std::unique_ptr<printer::Printer> job = currentPrinter(m_volba.printerName, m_volba.pdfFile);
    if (!preparePrinter(*job))
        return;
    try {
        const std::unique_ptr<GridReport> report = layOut(*job);
        if (!report) {
            job->KillDoc();
            return;
        }
        if (m_volba.allPages)
            report->Print(*job, 1, report->PageCount(), m_volba.copies);
        else
            report->Print(*job, m_volba.od, m_volba.doStrany, m_volba.copies);
    } catch (const VbError &e) {
        job->KillDoc();
        reportPrinterError(e);
    }
}

void frmTisk::cmdTisk_Click()
{
    if (ChoosePrinter())
        PrintJob();
}

}  // namespace tabulix
