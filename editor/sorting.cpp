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

// Reads the digits at text[i] on, at most `most` of them; -1 when there are none.
int digitsAt(QStringView text, qsizetype &i, int most)
{
    int value = 0, count = 0;
    while (i < text.size() && count < most && text[i].isDigit() && text[i].unicode() < 128) {
        value = value * 10 + (text[i++].unicode() - '0');
        ++count;
    }
    return count > 0 && (i == text.size() || !text[i].isDigit()) ? value : -1;
}

// A date cell's day, a time of day after it as the fraction: the editor stores
// "dd.mm.yyyy", the overview shows the regional d.m.yyyy with a time when there is one;
// d/m/yyyy and yyyy-mm-dd read too. An empty cell, or one that reads as no date, comes
// before every date.
double cellDay(QStringView whole)
{
    constexpr double none = std::numeric_limits<double>::lowest();
    const QStringView text = whole.trimmed();
    qsizetype i = 0;
    int part[3];
    QChar separator;
    for (int k = 0; k < 3; ++k) {
        part[k] = digitsAt(text, i, 4);
        if (part[k] < 0)
            return none;
        if (k == 2)
            break;
        if (i >= text.size() || !(text[i] == QLatin1Char('.') || text[i] == QLatin1Char('/') || text[i] == QLatin1Char('-'))
            || (!separator.isNull() && text[i] != separator))
            return none;
        separator = text[i++];
    }
    const QDate day = separator == QLatin1Char('-') ? QDate(part[0], part[1], part[2]) : QDate(part[2], part[1], part[0]);
    if (!day.isValid())
        return none;
    double seconds = 0;
    if (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        int unit = 3600;
        for (int k = 0; k < 3 && i < text.size(); ++k, unit /= 60) {
            const int n = digitsAt(text, i, 2);
            if (n < 0)
                return none;
            seconds += double(n) * unit;
            if (i < text.size() && text[i] == QLatin1Char(':'))
                ++i;
            else
                break;
        }
        if (i < text.size())
            return none;
    }
    return double(day.toJulianDay()) + seconds / 86400.0;
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
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && any) {
            // The exponent form a large number is shown in ("1,234568E+07").
            size_t k = n;
            digits[k++] = 'e';
            qsizetype j = i + 1;
            if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
                digits[k++] = char(text[j++].unicode());
            const size_t before = k;
            for (; j < text.size() && k < sizeof digits && text[j].isDigit() && text[j].unicode() < 128; ++j)
                digits[k++] = char(text[j].unicode());
            if (k > before)
                n = k;
            break;
        } else if (!isBlank(c) || point) {
            break;
        }
    }
    double value = 0;
    if (any)
        std::from_chars(digits, digits + n, value);
    return value;
}

namespace {

// Puts the rows into the order of their keys, keys[i] being row rows[i]'s: stable, so
// that rows of equal keys keep their order in either direction.
template<class Key, class Less>
void orderByKeys(std::vector<int> &rows, std::vector<std::pair<Key, int>> &keys, bool ascending, Less less)
{
    if (ascending)
        std::stable_sort(keys.begin(), keys.end(), [&less](const auto &a, const auto &b) { return less(a.first, b.first); });
    else
        std::stable_sort(keys.begin(), keys.end(), [&less](const auto &a, const auto &b) { return less(b.first, a.first); });
    for (size_t i = 0; i < keys.size(); ++i)
        rows[i] = keys[i].second;
}

}  // namespace

bool VarnexEditUni::sortByColumn(int col, bool ascending)
{
    const QString type = typeLetter(col);
    const GridModel &cells = *flg->model();
    std::function<void(std::vector<int> &)> hook;
    if (type == QLatin1String("N") || type == QLatin1String("D")) {
        const bool dates = type == QLatin1String("D");
        hook = [&cells, col, dates, ascending](std::vector<int> &rows) {
            std::vector<std::pair<double, int>> keys;
            keys.reserve(rows.size());
            for (int r : rows)
                keys.emplace_back(dates ? cellDay(cells.cellView(r, col)) : CellNumber(cells.cellView(r, col)), r);
            // Equal values compare equal, so that rows of one value keep their order.
            orderByKeys(rows, keys, ascending, std::less<double>());
        };
    } else if (type == QLatin1String("C") || type == QLatin1String("Z")) {
        hook = [&cells, col, ascending](std::vector<int> &rows) {
            std::vector<std::pair<QCollatorSortKey, int>> keys;
            keys.reserve(rows.size());
            for (int r : rows)
                keys.emplace_back(jet::collationKey(cells.cell(r, col)), r);
            orderByKeys(rows, keys, ascending,
                        [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) < 0; });
        };
    } else {
        return false;
    }
    // The hook refers to this frame: the grid must not keep it past the sort.
    struct ResetHook {
        FlexGrid *grid;
        ~ResetHook() { grid->setSortHook({}); }
    } reset{flg};
    flg->setSortHook(std::move(hook));
    flg->setSort(flex::SortCustom);
    return true;
}

QString VarnexEditUni::currentRowText() const
{
    const int row = flg->Row();
    if (row < flg->FixedRows() || row >= flg->Rows())
        return QString();
    QString text;
    for (int c = 0; c < flg->Cols(); ++c) {
        text += flg->model()->cellView(row, c);
        text += QLatin1Char('\t');
    }
    return text;
}

void VarnexEditUni::reportRecordMoved(const QString &before)
{
    // The cursor keeps its row number; another record coming to stand under it is a
    // change of the current row for the host (the overview's strip and preview follow).
    if (currentRowText() != before)
        Q_EMIT RowChange();
}

void VarnexEditUni::sortFromMenu(bool ascending)
{
    const int col = m_popupCol;
    flg->setCol(col);
    flg->setColSel(col);
    const QString before = currentRowText();
    if (sortByColumn(col, ascending)) {
        m_SortAsc = ascending;
        reportRecordMoved(before);
    }
    m_SortCol = col;
}

void VarnexEditUni::SortFlg(const qint32 &SortCol)
{
    if (SortCol >= 0) {
        // The same column sorted again turns the direction round.
        flg->setCol(SortCol);
        flg->setColSel(SortCol);
        const bool ascending = !(SortCol == m_SortCol && m_SortAsc);
        const QString before = currentRowText();
        if (sortByColumn(SortCol, ascending)) {
            m_SortAsc = ascending;
            reportRecordMoved(before);
        }
        m_SortCol = SortCol;
        return;
    }
    // Again by the remembered column and direction; the user's column stays current.
    if (m_SortCol < 0 || m_SortCol >= flg->Cols() || typeLetter(m_SortCol) == QLatin1String("Z"))
        return;
    const int current = flg->Col();
    const QString before = currentRowText();
    ++m_quiet;
    flg->setCol(m_SortCol);
    flg->setColSel(m_SortCol);
    sortByColumn(m_SortCol, m_SortAsc);
    flg->setCol(current);
    --m_quiet;
    flg->ScrollIntoView(flg->Row(), current);
    reportRecordMoved(before);
}
