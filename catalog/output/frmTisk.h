#pragma once

#include "common/modalform.h"
#include "output/listpage.h"
#include "output/stranky.h"
#include "pageview.h"
#include "printerchoice.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class VbError;
namespace printer { class PageRecording; class Printer; }

// The print preview: the pages of a printout, one shown at a time with scroll bars,
// buttons for the pages, saving the shown page as a bitmap, the print settings, the
// printer and closing. A renderer draws on "the surface of page i": in the preview a page
// of its own, kept as its drawing (a long printout costs little memory) and shown as a
// picture; in a print job the printer's next sheet. Preview and printout come from the
// same code. Modal; it goes when closed, and the next print starts from the default
// settings.
class frmTisk : public ModalForm<frmTisk>, public OvladaniNahledu
{
    Q_OBJECT
    friend ModalForm<frmTisk>;

public:
    ~frmTisk() override;

    // The list print of a grid under a heading; returns when the user has closed the
    // window. The grid must stay as it is until then.
    void Tisk(const SeznamMrizka &grid, const QString &heading);
    // The detail print of record `inter` with its attachment `poradi` as the photo (0:
    // none); returns when the user has closed the window.
    void TiskDet(qint32 inter, qint16 poradi);

    // The settings the settings dialog edits.
    quint8 Pismo = 10;
    qint32 Orientace = 1;
    QString Nadpis;
    qint16 ImgSize = 0;

    qint16 Stranka = 0;  // the page shown, from 0
    quint8 Rezim = 0;    // 1 list print, 2 detail print
    const SeznamMrizka *Mrizka = nullptr;
    qint32 TiskInter = 0;
    qint16 TiskPoradi = 0;
    qint32 PoziceY = 0;  // where the detail's last line ended, in millimetres

    // The pages of the preview and one as it is drawn.
    int PageCount() const;
    QImage PageImage(int page) const;

    // The page view's controls (fra, pic, the scroll bars, the paging buttons, lbl and
    // the button frames) come with OvladaniNahledu.
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdNastav = nullptr;
    QPushButton *cmdTisk = nullptr;
    QPushButton *cmdKonec = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    frmTisk();
    void goToPage(int target);
    void showPage();

    // A new preview: the pages of the last one go, and the pages take the size of
    // the page the printer prints.
    void NovyNahled();
    // The surface of preview page i, made when first asked for.
    printer::Surface &StrankaNahledu(int i);
    // The first page of a new drawing shown.
    void ZobrazNahled();
    // Draws the pages of the current print into the preview again.
    void Prekresli();

    // The list laid out for the preview, its pages drawn when shown.
    void NahledSeznamu();
    // The list on the pages supplied; false when the user declined a list wider than the
    // paper, or after an error it reported.
    bool KresliSeznam(const Stranky &stranka);
    // The detail on the pages supplied; false after an error it reported.
    bool KresliDetail(const Stranky &stranka);

    // The printer dialog; true when the user chose where to print.
    bool VyberTiskarnu();
    // Runs `kresli` for each copy chosen in the printer dialog, each copy a job of its
    // own from its first page; copies into a PDF file follow each other in one file.
    // The former default printer is the default again after each job. False after an
    // error it reported.
    bool Tiskni(const std::function<bool(const Stranky &)> &kresli);
    // Message 337 for a printer that cannot start a job, else message 95 with the reason.
    void reportPrinterError(const VbError &e);

    void cmdSave_Click();
    void cmdNastav_Click();
    void cmdTisk_Click();

    std::vector<std::unique_ptr<printer::PageRecording>> m_pages;
    // A list print's pages, laid out once and each drawn when it is shown.
    std::unique_ptr<SeznamStran> m_seznam;
    double m_scaleWidth = 0;   // twips of the printable area
    double m_scaleHeight = 0;
    // The printer or PDF file, range and copies chosen in this window, and the default
    // printer of before its dialog.
    VolbaTiskarny m_volba;
};
