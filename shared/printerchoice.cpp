#include "printerchoice.h"

#include "pageview.h"
#include "printchooser.h"
#include "printer.h"

#include <QDir>

#include <algorithm>
#include <optional>

bool ZvolTiskarnu(QWidget *parent, VolbaTiskarny &volba, qint32 &orientace, int pageCount)
{
    volba.puvodniTiskarna = VychoziTiskarna();
    printer::PrintRequest request;
    request.printers = printer::Printers();
    request.printer = volba.printerName.isEmpty() ? volba.puvodniTiskarna : volba.printerName;
    request.pdfFile = volba.pdfFile.isEmpty() ? QDir::home().filePath(QStringLiteral("tisk.pdf")) : volba.pdfFile;
    request.pageCount = std::max(1, pageCount);
    request.from = std::max(1, volba.od);
    request.to = volba.doStrany > 0 ? std::min(32767, volba.doStrany) : request.pageCount;
    request.orientation = orientace;
    const std::optional<printer::PrintChoice> choice = printer::ChoosePrint(parent, request);
    if (!choice) {
        if (!volba.puvodniTiskarna.isEmpty())
            NastavVychoziTiskarnu(volba.puvodniTiskarna);
        return false;
    }
    volba.printerName = choice->pdfFile.isEmpty() ? choice->printer : QString();
    volba.pdfFile = choice->pdfFile;
    volba.allPages = choice->allPages;
    // A range typed backwards is the same range.
    volba.od = std::clamp(std::min(choice->from, choice->to), 0, 32767);
    volba.doStrany = std::clamp(std::max(choice->from, choice->to), 0, 32767);
    volba.copies = std::max(1, choice->copies);
    orientace = choice->orientation == 2 ? 2 : 1;
    return true;
}
