#include "printchooser.h"

#include <QFileDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace printer {

namespace {

std::optional<PrintChoice> pdfDialog(QWidget *parent, const PrintRequest &request)
{
    const QString file = QFileDialog::getSaveFileName(parent, QString(), request.pdfFile,
                                                      QStringLiteral("PDF (*.pdf *.PDF)"));
    if (file.isEmpty())
        return std::nullopt;
    PrintChoice choice;
    choice.pdfFile = file;
    choice.from = 1;
    choice.to = request.pageCount;
    choice.orientation = request.orientation;
    return choice;
}

std::optional<PrintChoice> printDialog(QWidget *parent, const PrintRequest &request)
{
    if (request.printers.isEmpty())
        return pdfDialog(parent, request);
    QPrinter printer(QPrinter::HighResolution);
    if (!request.printer.isEmpty())
        printer.setPrinterName(request.printer);
    printer.setPageOrientation(request.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, request.pageCount));
    dialog.setFromTo(std::max(1, request.from), std::max(1, request.to));
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
