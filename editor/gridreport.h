#pragma once

#include "tabulix_global.h"

#include <QString>
#include <QStringList>

#include <vector>

class VarnexEditUni;
namespace printer { class Printer; class Surface; }

namespace tabulix {

// The listing of a table editor control laid out on pages: the column heads and the
// live data rows (deleted rows and the empty placeholder are neither printed nor
// counted), a page head with the heading on the first page, a footer with the page
// number and the date, and the count line after the last row. The layout is made once
// for a page size; any page is then drawn on its own, into a page picture or onto the
// printer, with the same code.
class TABULIX_EXPORT GridReport
{
public:
    static constexpr const char *FontName = "Arial CE";
    // The font sizes a page has room for, head, one row, count line and footer included.
    static constexpr int MinPismo = 4;
    static constexpr int MaxPismo = 72;

    // `nadpis` is the heading as it is to print (the caller puts the host's caption in
    // for an empty one).
    GridReport(const VarnexEditUni &grid, int pismo, const QString &nadpis);

    // Lays the listing out on pages of the surface's size, measuring with its fonts.
    void Layout(printer::Surface &measure);
    // The heads of the columns that do not fit on the paper, each in apostrophes,
    // joined by ","; empty when everything fits.
    QString Outside() const { return m_outside.join(QLatin1Char(',')); }
    // Pages of the listing; 0 when there is no row to print.
    int PageCount() const { return int(m_pages.size()); }
    int Printed() const { return int(m_rows.size()); }
    // The data rows on a page (0 on a page that holds only the count line).
    int RowsOn(int page) const { return int(m_pages.at(size_t(page)).count); }
    // The row step: one line of the report font.
    double VyskaRadku() const { return m_vyskaRadku; }

    // Draws page `page` (0 first) on the target, whose size is the one laid out for.
    void RenderPage(printer::Surface &target, int page) const;
    // Prints pages `from` to `to` (counted from 1, limited to the pages there are) as
    // one document, each on its own sheet, and ends the document.
    void Print(printer::Printer &target, int from, int to) const;

    // The text shortened to the width in the surface's current font: unchanged when it
    // fits, else cut so that the text and ".." leave the width of ".." free before the
    // column's end, or "" when nothing fits.
    static QString FitText(const printer::Surface &surface, const QString &text, double width);

private:
    struct Column {
        int col;
        double x;
        double width;  // as the grid holds it
    };
    struct Page {
        size_t first;
        size_t count;
    };
    double pageHead(printer::Surface &s, bool first) const;
    double headsBottom(printer::Surface &s, double y) const;
    void footer(printer::Surface &s, int page) const;

    const VarnexEditUni &m_grid;
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
