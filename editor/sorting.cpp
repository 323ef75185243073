// Sorting the grid by one column: numbers by value, dates by day, texts and check marks
// in the catalog's Czech order without regard to case. Every kind goes through the
// grid's custom sort with keys worked out once per row, so that a comparison is a
// look-up and not a parse or a collator call.
#include "VarnexEditUni.h"

#include "grid.h"
#include "gridmodel.h"
#include "jetsql.h"

#include <QCollatorSortKey>
#include <QDate>
#include <charconv>
#include <limits>
#include <vector>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QLatin1Char('\t');
}

// A date cell's day (as the editor stores it, "dd.mm.yyyy"; also d.m.yyyy, d/m/yyyy and
// yyyy-mm-dd). An empty cell, or one that reads as no date, comes before every date.
double cellDay(QStringView text)
{
    constexpr double none = std::numeric_limits<double>::lowest();
    int part[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int k = 0;
    QChar separator;
    for (const QChar c : text.trimmed()) {
        if (c.isDigit() && c.unicode() < 128) {
            if (++digits[k] > 4)
                return none;
            part[k] = part[k] * 10 + (c.unicode() - '0');
        } else if ((c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('-')) && k < 2 && digits[k] > 0
                   && (separator.isNull() || c == separator)) {
            separator = c;
            ++k;
        } else if (!isBlank(c)) {
            return none;
        }
    }
    if (k != 2 || digits[2] == 0)
        return none;
    const QDate day = separator == QLatin1Char('-') ? QDate(part[0], part[1], part[2]) : QDate(part[2], part[1], part[0]);
    return day.isValid() ? double(day.toJulianDay()) : none;
}

}  // namespace

double VarnexEditUni::CellNumber(QStringView text)
{
    // "," is the decimal comma of the regional form; blanks and no-break spaces group
    // thousands. The number at the start counts, as the runtime's Val read it.
    char digits[64];
    size_t n = 0;
    bool point = false, any = false;
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-'))
            digits[n++] = '-';
        ++i;
    }
    for (; i < text.size() && n < sizeof digits; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits[n++] = char(c.unicode());
            any = true;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !point) {
            digits[n++] = '.';
            point = true;
        } else if (!isBlank(c) || point) {
            break;
        }
    }
    double value = 0;
    if (any)
        std::from_chars(digits, digits + n, value);
    return value;
}

bool VarnexEditUni::sortByColumn(int col, bool ascending)
{
    const QString type = typeLetter(col);
    const GridModel &cells = *flg->model();
    const int first = flg->FixedRows();
    const int rows = flg->Rows();
    std::vector<double> numbers;
    std::vector<QCollatorSortKey> texts;
    std::function<int(int, int)> compare;
    if (type == QLatin1String("N") || type == QLatin1String("D")) {
        const bool dates = type == QLatin1String("D");
        numbers.reserve(size_t(std::max(rows - first, 0)));
        for (int r = first; r < rows; ++r)
            numbers.push_back(dates ? cellDay(cells.cellView(r, col)) : CellNumber(cells.cellView(r, col)));
        // Equal values compare equal, so that rows of one value keep their order.
        compare = [&numbers, first](int a, int b) {
            const double x = numbers[size_t(a - first)], y = numbers[size_t(b - first)];
            return x < y ? -1 : (x > y ? 1 : 0);
        };
    } else if (type == QLatin1String("C") || type == QLatin1String("Z")) {
        texts.reserve(size_t(std::max(rows - first, 0)));
        for (int r = first; r < rows; ++r)
            texts.push_back(jet::collationKey(cells.cell(r, col)));
        compare = [&texts, first](int a, int b) {
            const int cmp = texts[size_t(a - first)].compare(texts[size_t(b - first)]);
            return cmp < 0 ? -1 : (cmp > 0 ? 1 : 0);
        };
    } else {
        return false;
    }
    if (ascending)
        flg->setCompareHook(compare);
    else
        flg->setCompareHook([&compare](int a, int b) { return compare(b, a); });
    // The keys live in this frame only: the grid must not keep the hook past it.
    struct ResetHook {
        FlexGrid *grid;
        ~ResetHook() { grid->setCompareHook({}); }
    } reset{flg};
    flg->setSort(flex::SortCustom);
    return true;
}

void VarnexEditUni::sortFromMenu(bool ascending)
{
    const int col = m_popupCol;
    flg->setCol(col);
    flg->setColSel(col);
    if (sortByColumn(col, ascending))
        m_SortAsc = ascending;
    m_SortCol = col;
}

void VarnexEditUni::SortFlg(const qint32 &SortCol)
{
    if (SortCol >= 0) {
        // The same column sorted again turns the direction round.
        flg->setCol(SortCol);
        flg->setColSel(SortCol);
        const bool ascending = !(SortCol == m_SortCol && m_SortAsc);
        if (sortByColumn(SortCol, ascending))
            m_SortAsc = ascending;
        m_SortCol = SortCol;
        return;
    }
    // Again by the remembered column and direction; the user's column stays current.
    if (m_SortCol < 0 || m_SortCol >= flg->Cols() || typeLetter(m_SortCol) == QLatin1String("Z"))
        return;
    const int current = flg->Col();
    ++m_quiet;
    flg->setCol(m_SortCol);
    flg->setColSel(m_SortCol);
    sortByColumn(m_SortCol, m_SortAsc);
    flg->setCol(current);
    --m_quiet;
    flg->ScrollIntoView(flg->Row(), current);
}
