#pragma once

#include <QString>

#include <memory>

class QScrollBar;
class QWidget;
namespace printer { class Printer; }

// The page sizing and scrolling of the print previews, and the default printer, shared by
// the control library's preview and the program's own print window. Sizes are in twips.

// Sets a scroll bar from the page's extent and the view's: enabled with maximum
// page − view + 270 (the page's margin of 120 on each side and its shadow of 30) when
// that is at least 1, else disabled with maximum 0; large and small changes a fifth and
// a tenth of the maximum, plus 1.
void NastavPosuvnik(QScrollBar *bar, int pageExtent, int viewExtent);
// Both scroll bars of a preview, from the page picture and the frame that views it.
void NastavPosuvniky(QScrollBar *hsb, QScrollBar *vsb, const QWidget *page, const QWidget *view);
// Places the page at the scroll bars' values (left 120 − h, top 120 − v) and its shadow
// lines right of and under it.
void PosunStranku(QWidget *page, QWidget *lV, QWidget *lH, int hValue, int vValue);

// The default printer: the system's, unless this program set one for itself with
// NastavVychoziTiskarnu; "" when there is none. The entry is the printer's name.
QString VychoziTiskarna();
// Makes a printer this program's default for the rest of its run. The user's system
// default printer is never written: a printer chosen for one job stays that job's.
void NastavVychoziTiskarnu(const QString &entry);

// The printer a preview lays its pages out for and a job prints on: the PDF file when one
// is given, else the printer of that name, else the default printer, else (no printer
// installed) an A4 PDF page.
std::unique_ptr<printer::Printer> TiskarnaStranky(const QString &name, const QString &pdfFile);
