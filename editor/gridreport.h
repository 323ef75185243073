#pragma once

#include "tabulix_global.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class VarnexEditUni;
namespace printer { class Printer; class Surface; }

namespace tabulix {

// What a listing reads of a grid, with the meaning of a flex grid: row 0 holds the
// column captions, rows 1 to Rows() - 1 the data; widths in twips, below 1 hidden;
// alignment 7 is right-aligned.
class TABULIX_EXPORT ReportGrid
{
public:
    virtual ~ReportGrid();
    virtual int Rows() const = 0;
    virtual int Cols() const = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
    virtual double ColWidth(int col) const = 0;
    virtual int ColAlignment(int col) const = 0;
    // A row the grid still holds but no longer counts (a deleted one) is neither
    // printed nor counted.
    virtual bool LiveRow(int row) const;
};

// How a listing looks where its hosts differ. The defaults are the control's own.
struct ReportStyle {
    QString brand;               // the page head's first line, at 9 points
    double widthShare = 1;       // the printable width as a share of the page's
    double heightShare = 1;      // the footer sits 400 above this share of the page's height
    double footerSize = 8;
    bool alignRight = false;     // a column of alignment 7 prints flush with its right edge
    bool emptyPage = false;      // a grid without rows still prints a page with the count 0
    QString countLabel;          // before the number of printed rows
    QString pageLabel;           // before the page number in the footer
};

// The listing of a grid laid out on pages: the column heads and the data rows, a page
// head with the heading on the first page, a footer with the page number and the date,
// and the count line after the last row. The layout is made once for a page size; any
// page is then drawn on its own, into a page picture or onto the printer, with the same
// code, so a page's head and number never depend on what was drawn before it.
class TABULIX_EXPORT GridReport
{
public:
    static constexpr const char *FontName = "Arial CE";
    // The font sizes a page has room for, head, one row, count line and footer included.
    static constexpr int MinPismo = 4;
    static constexpr int MaxPismo = 72;

    // `nadpis` is the heading as it is to print (the caller puts the host's caption in
    // for an empty one).
    // The control's listing: its live rows, in its own look and texts.
    GridReport(const VarnexEditUni &grid, int pismo, const QString &nadpis);
    GridReport(const ReportGrid &grid, int pismo, const QString &nadpis, ReportStyle style);
    ~GridReport();
    GridReport(const GridReport &) = delete;
    GridReport &operator=(const GridReport &) = delete;

    // Lays the listing out on pages of the surface's size, measuring with its fonts.
    void Layout(printer::Surface &measure);
    // The heads of the columns that do not fit on the paper, each in apostrophes,
    // joined by ", " (a message box breaks a long list at the blanks); empty when
    // everything fits.
    QString Outside() const { return m_outside.join(QStringLiteral(", ")); }
    // Pages of the listing; 0 when there is no row to print (unless the style asks for
    // a page all the same).
    int PageCount() const { return int(m_pages.size()); }
    int Printed() const { return int(m_rows.size()); }
    // The data rows on a page (0 on a page that holds only the count line).
    int RowsOn(int page) const { return int(m_pages.at(size_t(page)).count); }
    // The row step: one line of the report font.
    double VyskaRadku() const { return m_vyskaRadku; }

    // Draws page `page` (0 first) on the target, whose size is the one laid out for.
    void RenderPage(printer::Surface &target, int page) const;
    // Prints pages `from` to `to` (counted from 1, limited to the pages there are) as
    // one document, each on its own sheet, `copies` times over, the copies one after the
    // other, and ends the document.
    void Print(printer::Printer &target, int from, int to, int copies = 1) const;

    // The text shortened to the width in the surface's current font: unchanged when it
    // fits, else cut so that the text and ".." leave the width of ".." free before the
    // column's end, or "" when nothing fits.
    static QString FitText(const printer::Surface &surface, const QString &text, double width);

private:
    struct Column {
        int col;
        double x;
        double width;  // as the grid holds it, or what is left of the paper
        bool right;
    };
    struct Page {
        size_t first;
        size_t count;
    };
    double pageHead(printer::Surface &s, bool first) const;
    double headsBottom(printer::Surface &s, double y) const;
    void footer(printer::Surface &s, int page) const;
    void cell(printer::Surface &s, const Column &c, double y, const QString &text) const;
    double printableWidth(const printer::Surface &s) const;
    double footerTop(const printer::Surface &s) const;

    std::unique_ptr<ReportGrid> m_own;  // the control's view of itself
    const ReportGrid &m_grid;
    ReportStyle m_style;
    int m_pismo;
    QString m_nadpis;
    std::vector<int> m_rows;  // the rows to print
    std::vector<Column> m_columns;
    QStringList m_outside;
    std::vector<Page> m_pages;
    double m_vyskaRadku = 0;
    double m_rowsTop[2] = {0, 0};  // where rows start on the first and on a later page
    double m_limit = 0;            // no row reaches below this
};

}  // namespace tabulix
