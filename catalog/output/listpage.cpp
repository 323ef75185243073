#include "output/listpage.h"

#include "common/translation.h"
#include "common/utility.h"
#include "grid.h"
#include "msgbox.h"
#include "printer.h"
#include "waitcursor.h"

#include <QCoreApplication>

namespace {

tabulix::ReportStyle vzhled()
{
    tabulix::ReportStyle style;
    style.brand = QStringLiteral("Varnex");
    style.widthShare = 0.97;
    style.heightShare = 0.995;
    style.footerSize = 9;
    style.alignRight = true;
    // A print of no rows still says so on paper rather than sending nothing.
    style.emptyPage = true;
    style.countLabel = PrelozText(QStringLiteral("449,Vytištěno záznamů:"));
    style.pageLabel = PrelozText(QStringLiteral("450,Strana"));
    return style;
}

// The question about columns outside the printable width. The hourglass makes way for
// it, also where the print job's own hourglass stands under the drawing's.
bool pokracovat(const QString &mimo)
{
    int hourglasses = 0;
    for (; QGuiApplication::overrideCursor(); ++hourglasses)
        QGuiApplication::restoreOverrideCursor();
    Pipni(400, 150);
    const QString text = PrelozText(QStringLiteral("445,Šířka sestavy přesahuje formát papíru.")) + QLatin1Char('\n')
                         + PrelozText(QStringLiteral("492,Položka ")) + mimo + QLatin1Char(' ')
                         + PrelozText(QStringLiteral("493,je mimo tisknutelnou plochu.")) + QStringLiteral("\n\n")
                         + PrelozText(QStringLiteral("448,Pokračovat v tisku ?"));
    const bool dal = MsgBox(text, vbYesNo | vbQuestion, PrelozText(QStringLiteral("333,Tisk"))) == vbYes;
    while (hourglasses-- > 0)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    return dal;
}

}  // namespace

int FlexGridSeznam::Rows() const
{
    return m_grid.Rows();
}

int FlexGridSeznam::Cols() const
{
    return m_grid.Cols();
}

QString FlexGridSeznam::TextMatrix(int row, int col) const
{
    return m_grid.TextMatrix(row, col);
}

double FlexGridSeznam::ColWidth(int col) const
{
    return m_grid.ColWidth(col);
}

int FlexGridSeznam::ColAlignment(int col) const
{
    return m_grid.ColAlignment(col);
}

QString ZkratText(const printer::Surface &surface, const QString &text, double width)
{
    return tabulix::GridReport::FitText(surface, text, width);
}

SeznamStran::SeznamStran(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni)
    : m_report(mrizka, nastaveni.Pismo, nastaveni.Nadpis, vzhled())
{
}

bool SeznamStran::Rozvrhni(double sirka, double vyska)
{
    WaitCursor wait;
    // Measured apart from any page, so that a declined list leaves its page untouched.
    printer::PagePicture measure(sirka, vyska, 0, 0, 1000);
    m_report.Layout(measure);
    return m_report.Outside().isEmpty() || pokracovat(m_report.Outside());
}

int SeznamStran::Pocet() const
{
    return m_report.PageCount();
}

void SeznamStran::Kresli(printer::Surface &stranka, int i) const
{
    m_report.RenderPage(stranka, i);
}

bool KresliSeznam(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni, const Stranky &strana)
{
    WaitCursor wait;
    SeznamStran seznam(mrizka, nastaveni);
    printer::Surface &prvni = strana(0);
    if (!seznam.Rozvrhni(prvni.ScaleWidth(), prvni.ScaleHeight()))
        return false;
    for (int i = 0; i < seznam.Pocet(); ++i) {
        seznam.Kresli(i == 0 ? prvni : strana(i), i);
        // The window stays drawn while a long list prints.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}
