#include "output/listpage.h"

#include "common/translation.h"
#include "common/utility.h"
#include "grid.h"
#include "msgbox.h"
#include "printer.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QCoreApplication>


namespace {

// The border allowance of a preview page around the printable area.
constexpr double ExtraWidth = 30;
constexpr double ExtraHeight = 25;

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

// The question about columns outside the printable width; the hourglass makes way for it.
bool pokracovat(const QString &mimo)
{
    QGuiApplication::restoreOverrideCursor();
    Pipni(400, 150);
    const QString text = PrelozText(QStringLiteral("445,Šířka sestavy přesahuje formát papíru.")) + QLatin1Char('\n')
                         + PrelozText(QStringLiteral("501,Položka ")) + mimo + QLatin1Char(' ')
                         + PrelozText(QStringLiteral("502,je mimo tisknutelnou plochu.")) + QStringLiteral("\n\n")
                         + PrelozText(QStringLiteral("448,Pokračovat v tisku ?"));
    const bool dal = MsgBox(text, vbYesNo | vbQuestion, PrelozText(QStringLiteral("333,Tisk"))) == vbYes;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    return dal;
}

void nastavTiskarnu(printer::Printer &tiskarna, const NastaveniSeznamu &nastaveni)
{
    tiskarna.Orientation(nastaveni.Orientace == 1 ? printer::vbPRORPortrait : printer::vbPRORLandscape);
    tiskarna.FontSize(nastaveni.Pismo);
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

bool KresliSeznam(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni, const StranaSeznamu &strana)
{
    WaitCursor wait;
    tabulix::GridReport report(mrizka, nastaveni.Pismo, nastaveni.Nadpis, vzhled());
    printer::Surface &prvni = strana(0);
    // Measured apart from the page, so that a declined list leaves the page untouched.
    printer::PagePicture measure(prvni.ScaleWidth(), prvni.ScaleHeight(), 0, 0, 1000);
    report.Layout(measure);
    if (!report.Outside().isEmpty() && !pokracovat(report.Outside()))
        return false;
    for (int i = 0; i < report.PageCount(); ++i) {
        report.RenderPage(i == 0 ? prvni : strana(i), i);
        // The window stays drawn while a long list is drawn.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

bool KresliNahledSeznamu(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni, printer::Printer &tiskarna,
                         std::vector<std::unique_ptr<printer::PagePicture>> &strany)
{
    nastavTiskarnu(tiskarna, nastaveni);
    const double sw = tiskarna.ScaleWidth(), sh = tiskarna.ScaleHeight();
    strany.clear();
    const auto strana = [&](int i) -> printer::Surface & {
        while (int(strany.size()) <= i)
            strany.push_back(std::make_unique<printer::PagePicture>(sw, sh, ExtraWidth, ExtraHeight));
        return *strany[size_t(i)];
    };
    const bool dal = KresliSeznam(mrizka, nastaveni, strana);
    if (strany.empty())
        strana(0);
    return dal;
}

bool TiskniSeznam(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni, printer::Printer &tiskarna,
                  const QString &titulek)
{
    try {
        tiskarna.KillDoc();
        tiskarna.ScaleMode();
        nastavTiskarnu(tiskarna, nastaveni);
        const bool dal = KresliSeznam(mrizka, nastaveni, [&](int i) -> printer::Surface & {
            if (i > 0)
                tiskarna.NewPage();
            return tiskarna;
        });
        if (!dal) {
            tiskarna.KillDoc();
            return false;
        }
        tiskarna.EndDoc();
        return true;
    } catch (const VbError &e) {
        tiskarna.KillDoc();
        if (e.Number() == 482)
            MsgBox(PrelozText(QStringLiteral("337,Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte.")),
                   vbExclamation, titulek);
        else
            MsgBox(PrelozText(QStringLiteral("95,Chyba při tisku.")) + QLatin1Char('\n') + e.Description(), vbExclamation,
                   titulek);
        return false;
    }
}
