#pragma once

#include <QString>

#include <functional>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QPushButton;
class QScrollBar;
class QSize;
class QWidget;
class VbError;
namespace printer { class Printer; }

// The controls of a page preview on its window: the sunken grey frame `fra` holding the
// page picture `pic` and its shadow lines `lV` and `lH`, the scroll bars, the frame
// `fraLBtn` with the paging buttons around the page counter `lbl`, and the frame
// `fraRBtn` for the window's own command buttons.
struct OvladaniNahledu {
    QFrame *fra = nullptr;
    QLabel *pic = nullptr;
    QFrame *lV = nullptr;
    QFrame *lH = nullptr;
    QScrollBar *hsb = nullptr;
    QScrollBar *vsb = nullptr;
    QFrame *fraLBtn = nullptr;
    QPushButton *cmdFirst = nullptr;
    QPushButton *cmdBefore = nullptr;
    QLabel *lbl = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdLast = nullptr;
    QFrame *fraRBtn = nullptr;

    // The scroll bars fitted to the page shown.
    void NastavPosuvniky() const;
    // The page and its shadow placed where the scroll bars say.
    void Posun() const;
    // The page counter "page/count" (page 0 first); the paging buttons move aside for a
    // long count.
    void UkazCisloStranky(int page, int count) const;
};
// Makes the controls on the window, their captions and tool tips as message texts; the
// scroll bars move the page.
OvladaniNahledu VytvorNahled(QWidget *window);
// A command button added at the right end of `fraRBtn`, which grows to hold it.
QPushButton *TlacitkoNahledu(QFrame *fraRBtn, const char *name, const QString &caption, const QString &tip);
// Lays the controls out for the window's size: a size of 3000 twips or less in one
// direction leaves that direction as it was. `korekceVysky` is what the window's frame
// takes of its height beyond the usual. Fits the scroll bars last.
void RozmistiNahled(const OvladaniNahledu &v, QSize window, int korekceVysky);

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

// The orientation choice of a print settings dialog, made in its frame: `caption` (may be
// null) over the options portrait `opt[0]` and landscape `opt[1]`, and beside them `pic`,
// which shows the chosen one's sheet and names it ("port", "land") in its property
// "image".
struct VolbaOrientace {
    QRadioButton *opt[2] = {nullptr, nullptr};
    QLabel *pic = nullptr;
};
VolbaOrientace VytvorVolbuOrientace(QGroupBox *frame, QWidget *caption);

// Tells the user why a print failed: "337,Tiskárna není připravena. ..." when the printer
// cannot start a job, else "95,Chyba při tisku." and the reason, both through `preloz`;
// the wait cursor steps aside while the box shows.
void HlasChybuTisku(const VbError &e, const QString &title, const std::function<QString(const QString &)> &preloz);
