#include "printchooser.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <utility>

namespace printer {

namespace {

std::optional<PrintChoice> printDialog(QWidget *parent, const PrintRequest &request)
{
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer the dialog's print-to-file target is the one there is, and the
    // range and the copies are chosen for the file as they are for a printer.
    if (request.printers.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(request.pdfFile);
    } else if (!request.printer.isEmpty()) {
        printer.setPrinterName(request.printer);
    }
    printer.setPageOrientation(request.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    const int last = std::max(1, request.pageCount);
    dialog.setMinMax(1, last);
    const int from = std::clamp(request.from, 1, last);
    dialog.setFromTo(from, std::clamp(request.to, from, last));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.pdfFile = printer.outputFileName();
    else
        choice.printer = printer.printerName();
    choice.allPages = printer.printRange() != QPrinter::PageRange;
    choice.from = printer.fromPage();
    choice.to = printer.toPage();
    choice.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    choice.copies = std::max(1, printer.copyCount());
    return choice;
}

PrintChooser &currentChooser()
{
    static PrintChooser chooser = printDialog;
    return chooser;
}

}  // namespace

std::optional<PrintChoice> ChoosePrint(QWidget *parent, const PrintRequest &request)
{
    return currentChooser()(parent, request);
}

PrintChooser setPrintChooser(PrintChooser chooser)
{
    return std::exchange(currentChooser(), chooser ? std::move(chooser) : PrintChooser(printDialog));
}

}  // namespace printer
