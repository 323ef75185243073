#include "gridreport.h"

#include "VarnexEditUni.h"
#include "libroutines.h"
#include "printer.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>
#include <cmath>

namespace tabulix {

namespace {

constexpr double ColumnGap = 100;
constexpr double FooterTop = 400;
// Rows and the count line stay this far above the footer.
constexpr double FooterClearance = 450;
const QString Mark = QStringLiteral("..");

void setFont(printer::Surface &s, double size, bool bold)
{
    s.FontName(QString::fromLatin1(GridReport::FontName));
    s.FontSize(size);
    s.FontBold(bold);
}

// A text cut at a character boundary, without its trailing blanks.
QString cut(const QString &text, qsizetype length)
{
    if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    qsizetype end = length;
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

}  // namespace

GridReport::GridReport(const VarnexEditUni &grid, int pismo, const QString &nadpis)
    : m_grid(grid), m_pismo(std::clamp(pismo, MinPismo, MaxPismo)), m_nadpis(nadpis)
{
}

QString GridReport::FitText(const printer::Surface &surface, const QString &text, double width)
{
    const double full = surface.TextWidth(text);
    if (full <= width)
        return text;
    // The width of ".." is measured once per font.
    static quint64 markFont = 0;
    static double markWidth = 0;
    if (markFont != surface.fontGeneration()) {
        markFont = surface.fontGeneration();
        markWidth = surface.TextWidth(Mark);
    }
    const double limit = width - qRound(markWidth);
    const auto fits = [&](qsizetype length) {
        const QString part = cut(text, length);
        return part.isEmpty() || surface.TextWidth(part + Mark) <= limit;
    };
    // The longest prefix that fits; at least one character goes. The first guess is
    // where the width runs out at the text's average character width; usually it or its
    // neighbour is the answer, and halving the rest finds it otherwise.
    qsizetype low = 0, high = cut(text, text.size()).size() - 1;
    if (high > 0) {
        const qsizetype guess = std::clamp<qsizetype>(qsizetype(double(text.size()) * (limit - markWidth) / full), 0, high);
        if (fits(guess)) {
            low = guess;
            if (guess < high && !fits(guess + 1))
                high = guess;
            else
                low = std::min(guess + 1, high);
        } else {
            high = guess - 1;
            if (high > 0 && fits(high))
                low = high;
        }
    }
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    const QString part = cut(text, std::max<qsizetype>(low, 0));
    return part.isEmpty() ? QString() : part + Mark;
}

void GridReport::Layout(printer::Surface &measure)
{
    const double sw = measure.ScaleWidth();
    const int cols = m_grid.Cols();
    setFont(measure, m_pismo, false);
    m_vyskaRadku = qRound(measure.TextHeight());

    // The columns in the grid's widths; those past the paper's edge are named, and the
    // first of them still prints cut when more than "W.." is left for it.
    const double probe = measure.TextWidth(QStringLiteral("W.."));
    m_columns.clear();
    m_outside.clear();
    double x = 0;
    bool stopped = false;
    for (int c = 0; c < cols; ++c) {
        const double w0 = m_grid.ColWidth(c);
        if (w0 < 1)
            continue;
        const double w = std::min(w0, sw - x);
        if (w != w0 || !m_outside.isEmpty()) {
            if (!stopped && w > probe && w >= 1)
                m_columns.push_back({c, x, w});
            stopped = true;
            m_outside << QLatin1Char('\'') + m_grid.TMatrix(0, c).trimmed() + QLatin1Char('\'');
            continue;
        }
        m_columns.push_back({c, x, w});
        x += w;
        if (x + ColumnGap < sw)
            x += ColumnGap;
        else
            stopped = true;
    }

    m_rows.clear();
    const int rows = m_grid.Rows();
    for (int r = 1; r < rows; ++r)
        if (m_grid.LiveRow(r))
            m_rows.push_back(r);

    m_limit = measure.ScaleHeight() - FooterClearance;
    m_rowsTop[0] = headsBottom(measure, pageHead(measure, true));
    m_rowsTop[1] = headsBottom(measure, pageHead(measure, false));
    setFont(measure, m_pismo, false);
    const double countBlock = 30 + 70 + measure.TextHeight();

    // Every page takes at least one row, so that no font size can stall the layout.
    m_pages.clear();
    size_t next = 0;
    double y = 0;
    while (next < m_rows.size()) {
        const double top = m_rowsTop[m_pages.empty() ? 0 : 1];
        const size_t room = std::max<size_t>(1, size_t((m_limit - top) / m_vyskaRadku));
        const size_t count = std::min(room, m_rows.size() - next);
        m_pages.push_back({next, count});
        next += count;
        y = top + double(count) * m_vyskaRadku;
    }
    // A count line that would reach the footer goes to a page of its own.
    if (!m_pages.empty() && y + countBlock > m_limit)
        m_pages.push_back({m_rows.size(), 0});
}

double GridReport::pageHead(printer::Surface &s, bool first) const
{
    s.CurrentX = 0;
    s.CurrentY = 0;
    setFont(s, 9, false);
    s.Print();
    if (first) {
        s.Print();
        setFont(s, std::max(11, m_pismo), true);
        s.CurrentX = std::floor((s.ScaleWidth() - s.TextWidth(m_nadpis)) / 2);
        s.Print(m_nadpis);
        s.Print();
    }
    setFont(s, m_pismo, false);
    s.Print();
    return s.CurrentY;
}

double GridReport::headsBottom(printer::Surface &s, double y) const
{
    setFont(s, m_pismo, true);
    return y + (m_columns.empty() ? 0 : s.TextHeight()) + 30 + 70;
}

void GridReport::RenderPage(printer::Surface &s, int page) const
{
    if (page < 0 || page >= PageCount())
        return;
    const double sw = s.ScaleWidth();
    const double headsY = pageHead(s, page == 0);

    // Column heads in bold, the line under them.
    setFont(s, m_pismo, true);
    for (const Column &c : m_columns) {
        s.CurrentX = c.x;
        s.CurrentY = headsY;
        s.Print(FitText(s, m_grid.TMatrix(0, c.col), c.width));
    }
    const double lineY = headsBottom(s, headsY) - 70;
    s.Line(0, lineY, sw, lineY);

    // The rows, each cell left-aligned at its column's start, in one line.
    setFont(s, m_pismo, false);
    const Page &p = m_pages[size_t(page)];
    double y = lineY + 70;
    for (size_t i = p.first; i < p.first + p.count; ++i) {
        for (const Column &c : m_columns) {
            s.CurrentX = c.x;
            s.CurrentY = y;
            s.Print(FitText(s, m_grid.TMatrix(m_rows[i], c.col), c.width));
        }
        y += m_vyskaRadku;
    }

    if (page == PageCount() - 1) {
        s.Line(0, y + 30, sw, y + 30);
        s.CurrentX = 0;
        s.CurrentY = y + 100;
        s.Print(PrelozText(QStringLiteral("449,Vytištěno záznamů:")).trimmed() + QLatin1Char(' ')
                + QString::number(Printed()));
    }
    footer(s, page);
}

void GridReport::footer(printer::Surface &s, int page) const
{
    setFont(s, 8, false);
    const double sw = s.ScaleWidth();
    const double fy = std::floor(s.ScaleHeight() - FooterTop);
    const QString label = PrelozText(QStringLiteral("450,Strana")).trimmed() + QStringLiteral("  ")
                          + QString::number(page + 1);
    const double lw = s.TextWidth(label);
    const double lx = std::floor((sw - lw) / 2);
    // The side lines run through the middle of the label's own line.
    const double m = fy + s.TextHeight() / 2;
    s.Line(0, m, lx - 200, m);
    s.Line(lx + lw + 200, m, sw, m);
    s.CurrentX = lx;
    s.CurrentY = fy;
    s.Print(label);
    const double second = s.CurrentY;
    // The program's regional short date, as its status bar shows it.
    const QString today = QDate::currentDate().toString(QStringLiteral("d.M.yyyy"));
    s.CurrentX = sw - s.TextWidth(today);
    s.CurrentY = second;
    s.Print(today);
}

void GridReport::Print(printer::Printer &target, int from, int to) const
{
    from = std::max(from, 1);
    to = std::min(to, PageCount());
    for (int page = from; page <= to; ++page) {
        if (page > from)
            target.NewPage();
        RenderPage(target, page - 1);
        // The window stays drawn while a long listing prints.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    target.EndDoc();
}

}  // namespace tabulix
