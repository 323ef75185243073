#pragma once

#include "gridreport.h"
#include "output/detailpage.h"

#include <QString>

class FlexGrid;
namespace printer { class Surface; }

// The list print of any grid: the brand line, the heading on the first page, the column
// heads in the grid's widths and alignments on every page, the rows, and a footer with
// the page number and the date; the last page ends with the number of printed records.
// The pages are laid out by the control library's listing, in the program's own look.

// What the list print reads of a grid: Rows, Cols, TextMatrix, ColWidth (twips) and
// ColAlignment (7 right-aligned); row 0 holds the column captions.
using SeznamMrizka = tabulix::ReportGrid;

// A flex grid as the list print reads it; it must outlive the print.
class FlexGridSeznam : public SeznamMrizka
{
public:
    explicit FlexGridSeznam(const FlexGrid &grid) : m_grid(grid) {}
    int Rows() const override;
    int Cols() const override;
    QString TextMatrix(int row, int col) const override;
    double ColWidth(int col) const override;
    int ColAlignment(int col) const override;

private:
    const FlexGrid &m_grid;
};

// The print window's settings as the list print uses them: the font size in points and
// the heading. The orientation is the pages': the caller supplies them turned.
struct NastaveniSeznamu {
    quint8 Pismo = 10;
    QString Nadpis;
};

// A list laid out on pages of one size; any page is then drawn on its own, so that a
// preview need hold no more than the page it shows.
class SeznamStran
{
public:
    SeznamStran(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni);
    // Lays the list out on pages of that printable area (twips). When columns lie outside
    // the printable width, asks whether to go on; false when the user answered No.
    bool Rozvrhni(double sirka, double vyska);
    // The pages laid out: at least one, even for a grid without rows.
    int Pocet() const;
    // Draws page `i` (0 first) on a surface of the size laid out for.
    void Kresli(printer::Surface &stranka, int i) const;

private:
    tabulix::GridReport m_report;
};

// Draws every page of the list on the pages supplied, from the first, whatever page a
// preview shows; the first page is asked for before anything is drawn and gives the
// page size. When columns lie outside the printable width, asks whether to go on; false
// when the user answered No, and then nothing is drawn. A printer that fails raises its
// VbError.
bool KresliSeznam(const SeznamMrizka &mrizka, const NastaveniSeznamu &nastaveni, const Stranky &strana);

// The text shortened to the width in the surface's current font: unchanged when it
// fits, else cut and ended with ".." so that the width of ".." stays free before the
// column's end; "" when nothing fits.
QString ZkratText(const printer::Surface &surface, const QString &text, double width);
