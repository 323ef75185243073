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

// The control as a listing sees it: deleted rows and the empty placeholder are no rows.
class ControlGrid : public ReportGrid
{
public:
    explicit ControlGrid(const VarnexEditUni &grid) : m_grid(grid) {}
    int Rows() const override { return m_grid.Rows(); }
    int Cols() const override { return m_grid.Cols(); }
    QString TextMatrix(int row, int col) const override { return m_grid.TMatrix(row, col); }
    double ColWidth(int col) const override { return m_grid.ColWidth(col); }
    int ColAlignment(int col) const override { return m_grid.ColAlign(col); }
    bool LiveRow(int row) const override { return m_grid.LiveRow(row); }

private:
    const VarnexEditUni &m_grid;
};

ReportStyle controlStyle()
{
    ReportStyle style;
    style.countLabel = PrelozText(QStringLiteral("449,Vytištěno záznamů:"));
    style.pageLabel = PrelozText(QStringLiteral("450,Strana"));
    return style;
}

}  // namespace

ReportGrid::~ReportGrid() = default;

bool ReportGrid::LiveRow(int) const
{
    return true;
}

GridReport::GridReport(const VarnexEditUni &grid, int pismo, const QString &nadpis)
    : m_own(std::make_unique<ControlGrid>(grid)), m_grid(*m_own), m_style(controlStyle()),
      m_pismo(std::clamp(pismo, MinPismo, MaxPismo)), m_nadpis(nadpis)
{
}

GridReport::GridReport(const ReportGrid &grid, int pismo, const QString &nadpis, ReportStyle style)
    : m_grid(grid), m_style(std::move(style)), m_pismo(std::clamp(pismo, MinPismo, MaxPismo)), m_nadpis(nadpis)
{
}

GridReport::~GridReport() = default;

double GridReport::printableWidth(const printer::Surface &s) const
{
    return s.ScaleWidth() * m_style.widthShare;
}

double GridReport::footerTop(const printer::Surface &s) const
{
    return std::floor(s.ScaleHeight() * m_style.heightShare - FooterTop);
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
    const double sw = printableWidth(measure);
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
        const double w = std::min(w0, std::floor(sw - x));
        const bool right = m_style.alignRight && m_grid.ColAlignment(c) == 7;
        if (w != w0 || !m_outside.isEmpty()) {
            if (!stopped && w > probe && w >= 1)
                m_columns.push_back({c, x, w, right});
            stopped = true;
            m_outside << QLatin1Char('\'') + m_grid.TextMatrix(0, c).trimmed() + QLatin1Char('\'');
            continue;
        }
        m_columns.push_back({c, x, w, right});
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

    m_limit = footerTop(measure) + FooterTop - FooterClearance;
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
    // Without rows the page shows the heads and the count 0.
    if (m_pages.empty() && m_style.emptyPage) {
        m_pages.push_back({0, 0});
        y = m_rowsTop[0];
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
    s.Print(m_style.brand);
    if (first) {
        s.Print();
        setFont(s, std::max(11, m_pismo), true);
        s.CurrentX = std::floor((printableWidth(s) - s.TextWidth(m_nadpis)) / 2);
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
    const double sw = printableWidth(s);
    const double headsY = pageHead(s, page == 0);

    // Column heads in bold, the line under them.
    setFont(s, m_pismo, true);
    for (const Column &c : m_columns)
        cell(s, c, headsY, m_grid.TextMatrix(0, c.col));
    const double lineY = headsBottom(s, headsY) - 70;
    s.Line(0, lineY, sw, lineY);

    // The rows, each cell in one line.
    setFont(s, m_pismo, false);
    const Page &p = m_pages[size_t(page)];
    double y = lineY + 70;
    for (size_t i = p.first; i < p.first + p.count; ++i) {
        for (const Column &c : m_columns)
            cell(s, c, y, m_grid.TextMatrix(m_rows[i], c.col));
        y += m_vyskaRadku;
    }

    if (page == PageCount() - 1) {
        s.Line(0, y + 30, sw, y + 30);
        s.CurrentX = 0;
        s.CurrentY = y + 100;
        s.Print(m_style.countLabel.trimmed() + QLatin1Char(' ') + QString::number(Printed()));
    }
    footer(s, page);
}

void GridReport::cell(printer::Surface &s, const Column &c, double y, const QString &text) const
{
    const QString shown = FitText(s, text, c.width);
    s.CurrentX = c.right ? c.x + c.width - s.TextWidth(shown) : c.x;
    s.CurrentY = y;
    s.Print(shown);
}

void GridReport::footer(printer::Surface &s, int page) const
{
    setFont(s, m_style.footerSize, false);
    const double sw = printableWidth(s);
    const double fy = footerTop(s);
    const QString label = m_style.pageLabel.trimmed() + QStringLiteral("  ") + QString::number(page + 1);
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

void GridReport::Print(printer::Printer &target, int from, int to, int copies) const
{
    from = std::max(from, 1);
    to = std::min(to, PageCount());
    bool started = false;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = from; page <= to; ++page) {
            if (started)
                target.NewPage();
            started = true;
            RenderPage(target, page - 1);
            // The window stays drawn while a long listing prints.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    target.EndDoc();
}

}  // namespace tabulix
