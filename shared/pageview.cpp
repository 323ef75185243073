#include "pageview.h"

#include "printer.h"
#include "system.h"

#include <QScrollBar>
#include <QWidget>

#include <optional>

namespace {

constexpr int Margin = 120;

std::optional<QString> &programDefault()
{
    static std::optional<QString> entry;
    return entry;
}

}  // namespace

void NastavPosuvnik(QScrollBar *bar, int pageExtent, int viewExtent)
{
    const int d = pageExtent - viewExtent + 2 * Margin + 30;
    const int maximum = d < 1 ? 0 : d;
    bar->setEnabled(d >= 1);
    bar->setMinimum(0);
    bar->setMaximum(maximum);
    bar->setPageStep(maximum / 5 + 1);
    bar->setSingleStep(maximum / 10 + 1);
}

void NastavPosuvniky(QScrollBar *hsb, QScrollBar *vsb, const QWidget *page, const QWidget *view)
{
    NastavPosuvnik(hsb, sys::toTwips(page->width()), sys::toTwips(view->width()));
    NastavPosuvnik(vsb, sys::toTwips(page->height()), sys::toTwips(view->height()));
}

void PosunStranku(QWidget *page, QWidget *lV, QWidget *lH, int hValue, int vValue)
{
    const int left = Margin - hValue;
    const int top = Margin - vValue;
    page->move(sys::toPixels(left), sys::toPixels(top));
    const int w = sys::toTwips(page->width());
    const int h = sys::toTwips(page->height());
    // The shadow: a line of a few pixels from (x1, y1) to (x2, y2).
    const int thick = 3;
    lV->setGeometry(sys::toPixels(left + w + 15) - 1, sys::toPixels(top + 50), thick,
                    sys::toPixels(h + 20 - 50));
    lH->setGeometry(sys::toPixels(left + 50), sys::toPixels(top + h + 25) - 1, sys::toPixels(w + 10 - 50),
                    thick);
}

QString VychoziTiskarna()
{
    if (programDefault())
        return *programDefault();
    return printer::DefaultPrinterName();
}

void NastavVychoziTiskarnu(const QString &entry)
{
    // Setting back the system's own default follows the system again from then on.
    if (entry == printer::DefaultPrinterName())
        programDefault().reset();
    else
        programDefault() = entry;
}

std::unique_ptr<printer::Printer> TiskarnaStranky(const QString &name, const QString &pdfFile)
{
    const QStringList installed = printer::Printers();
    if (pdfFile.isEmpty() && !name.isEmpty())
        return std::make_unique<printer::Printer>(name);
    if (pdfFile.isEmpty() && !installed.isEmpty())
        return std::make_unique<printer::Printer>(installed.contains(VychoziTiskarna()) ? VychoziTiskarna()
                                                                                        : installed.constFirst());
    return printer::Printer::pdf(pdfFile);
}
