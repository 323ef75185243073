// Sorting the grid by one column: numbers by value, dates by day, texts and check marks
// in the catalog's Czech order without regard to case. Keys are worked out once per row,
// so that a comparison is a look-up and not a parse or a collator call, and the order
// goes into the grid through its custom sort in one step.
//
// A large grid's order is worked out on a worker thread from the column's texts (the
// rows' strings shared, not copied) and put into the grid when it arrives; requests
// made meanwhile wait their turn, so that each sorts what the one before left, as they
// would have one after the other.
#include "VarnexEditUni.h"

#include "grid.h"
#include "gridmodel.h"
#include "jetsql.h"

#include <QApplication>
#include <QCollatorSortKey>
#include <QDate>
#include <QElapsedTimer>
#include <QMutex>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <charconv>
#include <limits>
#include <optional>
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

namespace tabulix {

enum class SortKey { Number, Date, Text };

namespace {

// Positions 0..n-1 in the order of their keys, keys[i] being position i's: stable, so
// that cells of equal keys keep their order in either direction.
template<class Key, class Less>
std::vector<int> positionsByKeys(std::vector<std::pair<Key, int>> &keys, bool ascending, Less less)
{
    if (ascending)
        std::stable_sort(keys.begin(), keys.end(), [&less](const auto &a, const auto &b) { return less(a.first, b.first); });
    else
        std::stable_sort(keys.begin(), keys.end(), [&less](const auto &a, const auto &b) { return less(b.first, a.first); });
    std::vector<int> positions(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        positions[i] = keys[i].second;
    return positions;
}

// The positions of n cells in their sorted order; cell(i) is cell i's text, textKey a
// text's collation key. Nothing once stop() says so.
template<class Cell, class TextKey, class Stop>
std::vector<int> sortedPositions(SortKey key, bool ascending, int n, Cell cell, TextKey textKey, Stop stop)
{
    constexpr int StopEvery = 4096;
    if (key == SortKey::Text) {
        std::vector<std::pair<QCollatorSortKey, int>> keys;
        keys.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            if (i % StopEvery == 0 && stop())
                return {};
            // The collator reads the text where it stands.
            const QStringView text = cell(i);
            keys.emplace_back(textKey(QString::fromRawData(text.data(), text.size())), i);
        }
        if (stop())
            return {};
        return positionsByKeys(keys, ascending,
                               [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) < 0; });
    }
    std::vector<std::pair<double, int>> keys;
    keys.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        if (i % StopEvery == 0 && stop())
            return {};
        keys.emplace_back(key == SortKey::Date ? cellDay(cell(i)) : VarnexEditUni::CellNumber(cell(i)), i);
    }
    if (stop())
        return {};
    // Equal values compare equal, so that rows of one value keep their order.
    return positionsByKeys(keys, ascending, std::less<double>());
}

int backgroundRows = 20000;

}  // namespace

// One column's order worked out on a worker thread from a copy of its texts. The
// receiver is told through its own thread's event loop; cancel() makes sure it is not
// told at all, and the receiver may go at any time after.
class SortJob
{
public:
    SortJob(SortKey key, bool ascending) : m_key(key), m_ascending(ascending) {}

    // The column's texts one after the other, and where each ends: filled on the GUI
    // thread before the job starts.
    QString texts;
    std::vector<quint32> ends;

    static void start(const std::shared_ptr<SortJob> &job, QObject *receiver, std::function<void()> done)
    {
        job->m_receiver = receiver;
        job->m_done = std::move(done);
        QThreadPool::globalInstance()->start([job] { job->run(); });
    }

    void cancel()
    {
        m_cancelled.store(true, std::memory_order_relaxed);
        const QMutexLocker lock(&m_mutex);
        m_receiver = nullptr;
        m_done = {};
    }

    // The data rows' positions in their new order; read once the receiver is told.
    std::vector<int> positions;

private:
    QStringView cell(int i) const
    {
        const quint32 start = i == 0 ? 0 : ends[size_t(i) - 1];
        return QStringView(texts).mid(start, ends[size_t(i)] - start);
    }

    void run()
    {
        // A collator of its own: the GUI thread's may be in use at the same time.
        const QCollator collator = jet::newCollator();
        std::vector<int> order = sortedPositions(
            m_key, m_ascending, int(ends.size()), [this](int i) { return cell(i); },
            [&collator](const QString &text) { return collator.sortKey(text); },
            [this] { return m_cancelled.load(std::memory_order_relaxed); });
        texts = QString();
        ends = {};
        const QMutexLocker lock(&m_mutex);
        if (!m_receiver)
            return;
        positions = std::move(order);
        QMetaObject::invokeMethod(m_receiver, m_done, Qt::QueuedConnection);
    }

    const SortKey m_key;
    const bool m_ascending;
    std::atomic<bool> m_cancelled{false};
    // Guards the receiver: it is not told once it has cancelled, however near the end.
    QMutex m_mutex;
    QObject *m_receiver = nullptr;
    std::function<void()> m_done;
};

}  // namespace tabulix

using tabulix::SortJob;
using tabulix::SortKey;

namespace {

// How soon an order that had to wait looks again whether it may go into the grid.
constexpr int LandingRetryMs = 20;
// How long the GUI thread takes texts for a job in one turn, in slices of rows.
constexpr int SliceMs = 10;
constexpr int SliceRows = 4096;

std::optional<SortKey> sortKeyOf(const QString &type)
{
    if (type == QLatin1String("N"))
        return SortKey::Number;
    if (type == QLatin1String("D"))
        return SortKey::Date;
    if (type == QLatin1String("C") || type == QLatin1String("Z"))
        return SortKey::Text;
    return std::nullopt;
}

}  // namespace

qint32 VarnexEditUni::BackgroundSortRows()
{
    return tabulix::backgroundRows;
}

void VarnexEditUni::BackgroundSortRows(const qint32 &rows)
{
    tabulix::backgroundRows = rows;
}

bool VarnexEditUni::Sorting() const
{
    return m_sortJob != nullptr || !m_sortQueue.empty();
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
    requestSort({SortRequest::Given, col, ascending});
}

void VarnexEditUni::SortFlg(const qint32 &SortCol)
{
    if (SortCol >= 0) {
        // The same column sorted again turns the direction round.
        flg->setCol(SortCol);
        flg->setColSel(SortCol);
        requestSort({SortRequest::Toggle, SortCol});
        return;
    }
    // Again by the remembered column and direction; the user's column stays current.
    requestSort({SortRequest::Again});
}

void VarnexEditUni::requestSort(SortRequest request)
{
    if (!Sorting()) {
        runSort(request);
        return;
    }
    if (m_sortQueue.empty() && request.kind != SortRequest::Again && request.col == m_sortRunning.col) {
        // The column under way once more: sorting the rows from where they stand gives
        // what sorting the order under way would, so that order is not waited for.
        if (request.kind == SortRequest::Toggle)
            request.ascending = !m_sortRunning.ascending;
        m_sortJob->cancel();
        m_sortJob.reset();
        sortResolved(request);
        return;
    }
    m_sortQueue.push_back(request);
}

void VarnexEditUni::runSort(SortRequest request)
{
    switch (request.kind) {
    case SortRequest::Toggle:
        request.ascending = !(request.col == m_SortCol && m_SortAsc);
        break;
    case SortRequest::Given:
        break;
    case SortRequest::Again:
        if (m_SortCol < 0 || m_SortCol >= flg->Cols() || typeLetter(m_SortCol) == QLatin1String("Z"))
            return;
        request.col = m_SortCol;
        request.ascending = m_SortAsc;
        break;
    }
    sortResolved(request);
}

void VarnexEditUni::sortResolved(const SortRequest &request)
{
    const std::optional<SortKey> key = sortKeyOf(typeLetter(request.col));
    const int first = flg->FixedRows();
    const int count = flg->Rows() - first;
    if (key && count >= tabulix::backgroundRows && request.col < flg->Cols()) {
        startSortJob(request);
        return;
    }
    if (!key) {
        finishSort(request, nullptr);
        return;
    }
    const GridModel &cells = *flg->model();
    const std::vector<int> positions = tabulix::sortedPositions(
        *key, request.ascending, count, [&cells, first, col = request.col](int i) { return cells.cellView(first + i, col); },
        [](const QString &text) { return jet::collationKey(text); }, [] { return false; });
    finishSort(request, &positions);
}

void VarnexEditUni::startSortJob(const SortRequest &request)
{
    auto job = std::make_shared<SortJob>(*sortKeyOf(typeLetter(request.col)), request.ascending);
    m_sortJob = job;
    m_sortRunning = request;
    m_sortChanges = flg->model()->changes();
    // The pointer over the control says it is busy; the rest of the program is not.
    if (!m_sortCursor) {
        setCursor(Qt::WaitCursor);
        m_sortCursor = true;
    }
    takeSortTexts(job);
}

void VarnexEditUni::takeSortTexts(const std::weak_ptr<SortJob> &which)
{
    const std::shared_ptr<SortJob> job = which.lock();
    if (!job || job != m_sortJob)
        return;
    const GridModel &cells = *flg->model();
    if (cells.changes() != m_sortChanges) {
        // Rows changed between two slices: the texts are taken again from the start.
        job->texts.clear();
        job->ends.clear();
        m_sortChanges = cells.changes();
    }
    // The texts of a million rows take longer than a turn of the event loop may: they
    // are taken a slice a turn.
    const int first = flg->FixedRows();
    const int last = flg->Rows() - 1;
    int row = first + int(job->ends.size());
    QElapsedTimer slice;
    slice.start();
    while (row <= last && slice.elapsed() < SliceMs) {
        const int to = std::min(last, row + SliceRows - 1);
        cells.columnTexts(m_sortRunning.col, row, to, job->texts, job->ends);
        if (row == first) {
            // Room for all, from the first slice's length a row: growing tens of
            // megabytes by doubling copies them within one turn.
            const qsizetype rows = last - first + 1;
            job->ends.reserve(size_t(rows));
            job->texts.reserve(job->texts.size() / qsizetype(job->ends.size()) * rows * 5 / 4 + 64);
        }
        row = to + 1;
    }
    if (row <= last) {
        QTimer::singleShot(0, this, [this, which] { takeSortTexts(which); });
        return;
    }
    SortJob::start(job, this, [this, which] { sortJobDone(which); });
}

bool VarnexEditUni::sortMayLand() const
{
    // Rows moving under an open editor, a menu or a message would move the record they
    // are about: the order waits until the user is done with them.
    const QWidget *modal = QApplication::activeModalWidget();
    return !Editing() && !QApplication::activePopupWidget() && (!modal || modal == window());
}

void VarnexEditUni::sortJobDone(const std::weak_ptr<SortJob> &done)
{
    // An order no longer waited for arrives all the same when it was sent before.
    if (const std::shared_ptr<SortJob> arrived = done.lock(); !arrived || arrived != m_sortJob)
        return;
    if (!sortMayLand()) {
        QTimer::singleShot(LandingRetryMs, this, [this, done] { sortJobDone(done); });
        return;
    }
    const std::shared_ptr<SortJob> job = std::move(m_sortJob);
    const SortRequest request = m_sortRunning;
    if (flg->model()->changes() != m_sortChanges) {
        // Rows were added, removed or written meanwhile: the order is of rows that no
        // longer stand so. The user asked for the rows in order, so they are sorted
        // again as they are now.
        sortResolved(request);
    } else {
        finishSort(request, &job->positions);
    }
    while (!m_sortJob && !m_sortQueue.empty()) {
        const SortRequest next = m_sortQueue.front();
        m_sortQueue.erase(m_sortQueue.begin());
        runSort(next);
    }
    if (!Sorting() && m_sortCursor) {
        m_sortCursor = false;
        unsetCursor();
    }
}

void VarnexEditUni::finishSort(const SortRequest &request, const std::vector<int> *positions)
{
    // The rows into their order through the grid's custom sort, in one step.
    const auto reorder = [this, positions] {
        const int first = flg->FixedRows();
        // The hook refers to this frame: the grid must not keep it past the sort.
        struct ResetHook {
            FlexGrid *grid;
            ~ResetHook() { grid->setSortHook({}); }
        } reset{flg};
        flg->setSortHook([positions, first](std::vector<int> &rows) {
            if (positions->size() != rows.size())
                return;   // an order of other rows: these stay as they stand
            for (size_t i = 0; i < rows.size(); ++i)
                rows[i] = first + (*positions)[i];
        });
        flg->setSort(flex::SortCustom);
    };
    if (request.kind == SortRequest::Again) {
        const int current = flg->Col();
        const QString before = currentRowText();
        ++m_quiet;
        flg->setCol(request.col);
        flg->setColSel(request.col);
        if (positions)
            reorder();
        flg->setCol(current);
        --m_quiet;
        flg->ScrollIntoView(flg->Row(), current);
        reportRecordMoved(before);
        return;
    }
    const QString before = currentRowText();
    if (positions) {
        reorder();
        if (!request.keepMarks)
            m_SortAsc = request.ascending;
        reportRecordMoved(before);
    }
    if (!request.keepMarks)
        m_SortCol = request.col;
}

void VarnexEditUni::dropSorts()
{
    if (m_sortJob) {
        m_sortJob->cancel();
        m_sortJob.reset();
    }
    m_sortQueue.clear();
    if (m_sortCursor) {
        m_sortCursor = false;
        unsetCursor();
    }
}
