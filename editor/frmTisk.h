#pragma once

#include "pageview.h"
#include "printerchoice.h"
#include "tabulix_global.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class VarnexEditUni;
class VbError;
namespace printer { class Printer; }

namespace tabulix {

class GridReport;

// The page preview of a table editor control's listing: one page at a time in a framed
// view with scroll bars and a shadow, buttons for the pages, the print settings, the
// printer and closing. A page is drawn when it is shown; only the shown page is kept as
// a picture, so a long listing costs no more memory than a short one.
class TABULIX_EXPORT frmTisk : public QDialog, public OvladaniNahledu
{
    Q_OBJECT
public:
    explicit frmTisk(QWidget *parent = nullptr);
    ~frmTisk() override;

    quint8 Pismo = 10;
    qint32 Orientace = 1;
    QString Nadpis;

    // Lays the control's listing out, shows its first page and runs the window modally.
    void Tisk(VarnexEditUni *grid);
    // Lays the listing out anew from the first page: false when the user declined a
    // listing wider than the paper, or the printer refused its settings.
    bool RenderPreview();
    // The printer dialog; true when the user confirmed and the job should run.
    bool ChoosePrinter();
    // Prints the chosen pages on the chosen printer.
    void PrintJob();

    // The page shown (0 first) and the number of pages.
    int Stranka() const { return m_stranka; }
    int PageCount() const;
    qint16 OdStrany() const { return qint16(m_volba.od); }
    qint16 DoStrany() const { return qint16(m_volba.doStrany); }
    // The shown page as it is drawn.
    QImage PageImage() const;

    // The page view's controls come with OvladaniNahledu.
    QPushButton *cmdNastav = nullptr;
    QPushButton *cmdTisk = nullptr;
    QPushButton *cmdKonec = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void goToPage(int target, bool atEnd);
    void showPage();
    void cmdNastav_Click();
    void cmdTisk_Click();
    // The printer the pages are laid out for: the one chosen last in this window, else
    // the default printer, else an A4 PDF page when no printer is installed.
    std::unique_ptr<printer::Printer> currentPrinter(const QString &name, const QString &pdfFile) const;
    // Sets the orientation; false after telling the user why it failed.
    bool preparePrinter(printer::Printer &p);
    // Message 337 for a printer that cannot start a job, else message 95 with the reason.
    void reportPrinterError(const VbError &e);
    // Lays the listing out for the printer's page and asks about columns past its edge;
    // null when the user declined.
    std::unique_ptr<GridReport> layOut(printer::Printer &p);

    QPointer<VarnexEditUni> Tabulka;
    std::unique_ptr<GridReport> m_report;
    std::unique_ptr<printer::Printer> m_printer;
    // The printer, file, range and copies of this window's last job (PuvodniTiskarna
    // among them).
    VolbaTiskarny m_volba;
    int m_stranka = 0;
    double m_scaleWidth = 0;
    double m_scaleHeight = 0;
};

}  // namespace tabulix
