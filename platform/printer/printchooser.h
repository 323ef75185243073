#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// The printer dialog, replaceable so that tests can answer it.
namespace printer {

// What the print window offers: the installed printers (none on a machine without one,
// and then the dialog's target is a PDF file, with the same range and copies), the
// printer proposed, the last range and the orientation (1 portrait, 2 landscape), and
// the pages there are.
struct PrintRequest {
    QStringList printers;
    QString printer;
    QString pdfFile;  // the PDF file proposed when there is no printer
    int from = 1;
    int to = 1;
    int orientation = 1;
    int pageCount = 1;
};

// What the user chose: a printer of the list, or a PDF file; all pages or a range.
struct PrintChoice {
    QString printer;
    QString pdfFile;  // not empty: the job goes into this PDF file
    bool allPages = true;
    int from = 1;
    int to = 1;
    int orientation = 1;
    int copies = 1;
};

using PrintChooser = std::function<std::optional<PrintChoice>(QWidget *parent, const PrintRequest &request)>;
// The choice, or none when the user cancelled.
std::optional<PrintChoice> ChoosePrint(QWidget *parent, const PrintRequest &request);
// Tests put their own chooser in place; an empty one puts the dialogs back. Returns the
// one replaced.
PrintChooser setPrintChooser(PrintChooser chooser);

}  // namespace printer
