#include "data/overviewreader.h"

#include "dao.h"
#include "variant.h"

#include <QFile>
#include <QMetaObject>
#include <chrono>
#include <sys/stat.h>

namespace {

// Batches posted and not yet told, at most: a reader faster than the window that shows
// its rows waits, rather than pile the whole read up in memory.
constexpr int kMaxInFlight = 3;

bool sortsItself(dao::Database &db, const QString &sql)
{
    for (const QString &step : db.QueryPlan(sql))
        if (step.contains(QLatin1String("TEMP B-TREE")))
            return true;
    return false;
}

}  // namespace

OverviewReader::OverviewReader(QObject *parent) : QObject(parent) {}

OverviewReader::~OverviewReader()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_pending.reset();
    }
    m_wanted = m_wanted + 1;
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void OverviewReader::cancel()
{
    m_reading = false;
    {
        std::lock_guard lock(m_mutex);
        m_pending.reset();
        m_wanted = m_wanted + 1;
    }
    m_wake.notify_all();
}

void OverviewReader::start(const Request &request)
{
    m_reading = true;
    {
        std::lock_guard lock(m_mutex);
        m_wanted = m_wanted + 1;
        m_pending = request;
    }
    m_wake.notify_all();
    // One thread for every read of the window: its connection, its memory and its
    // pages are in hand for the next read, and starting a read never waits for it.
    if (!m_thread.joinable())
        m_thread = std::thread([this] { work(); });
}

void OverviewReader::work()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_quit || m_pending; });
        if (m_quit)
            return;
        const Request request = std::move(*m_pending);
        m_pending.reset();
        m_job = m_wanted;
        lock.unlock();
        run(request);
        lock.lock();
    }
}

dao::Database *OverviewReader::connection(const Request &request)
{
    // Kept from one read to the next, and its pages with it: a section read again, or
    // the next one, finds most of what it reads in hand. The engine drops the pages on
    // its own once another connection has written the file; a file put in the place of
    // the one read (a restore) is opened anew.
    struct stat file {};
    const bool found = ::stat(QFile::encodeName(request.soubor).constData(), &file) == 0;
    if (m_db && (request.soubor != m_path || !found || file.st_dev != m_device || file.st_ino != m_inode))
        dropConnection();
    if (!m_db) {
        m_workspace = std::make_unique<dao::Workspace>();
        m_db = m_workspace->OpenDatabase(request.soubor);
        m_db->Execute(QStringLiteral("pragma cache_size=-16384"));
        m_path = request.soubor;
        m_device = found ? file.st_dev : 0;
        m_inode = found ? file.st_ino : 0;
    }
    m_db->StopWhen([this] { return stopped(); }, request.busyMs);
    return m_db.get();
}

void OverviewReader::dropConnection()
{
    m_db.reset();
    m_workspace.reset();
}

void OverviewReader::run(Request request)
{
    try {
        read(request);
    } catch (const VbError &e) {
        if (!stopped()) {
            // Whatever went wrong, the next read starts on a connection of its own.
            dropConnection();
            Batch failure;
            failure.error = e;
            post(std::move(failure));
        }
    }
}

void OverviewReader::read(const Request &request)
{
    const DotazPrehledu &q = request.dotaz;
    dao::Database *db = connection(request);

    const bool byKey = q.Poradi.compare(QLatin1String("Inter"), Qt::CaseInsensitive) == 0;
    const QString index = IndexPrehleduSql(q.Poradi);
    // An index not there yet is made after the first rows: making it sorts every record
    // of the catalog, seconds on a large one, and the first screen does not wait for it.
    const bool indexLater = !index.isEmpty() && !db->OpenRecordset(IndexPrehleduExistujeSql(q.Poradi), dao::dbOpenForwardOnly)->Fields(0).Value().toLong();
    const auto makeIndex = [&] {
        try {
            db->Execute(index);
        } catch (const VbError &) {
            // A catalog that cannot take it (read-only, held by another workstation):
            // the rest is read without it, in one statement.
        }
    };

    const int fields = q.PocetSloupcu;
    const QString order = byKey ? QStringLiteral(" order by Inter") : QStringLiteral(" order by ") + q.Poradi + QStringLiteral(", Inter");
    // After the shown fields the order column's value as an SQL literal: where the next
    // page begins.
    const QString select = QStringLiteral("select ") + q.SeznamPoli + (byKey ? QString() : QStringLiteral(", quote(") + q.Poradi + QLatin1Char(')')) + q.Odkud;
    const bool paged = indexLater || !sortsItself(*db, select + order);
    if (stopped())
        return;

    int done = 0;
    Batch batch;
    int want = request.prvniDavka;
    bool counted = !q.Limit;
    QString lastValue;  // the order column's literal in the last row of a full page
    qint64 lastKey = 0;
    qsizetype rowLength = 64;  // the last row's, room for the next
    // `last`: the last row a page asked for, whose order value the next page goes on from.
    const auto take = [&](dao::Recordset &rs, bool last) {
        QString row;
        row.reserve(rowLength + 16);
        const int count = std::min(fields, rs.FieldCount());
        for (int i = 0; i < count; ++i) {
            row += TextBunky(rs[i]);
            row += QLatin1Char('\t');
        }
        row += QLatin1Char('X');
        rowLength = row.size();
        batch.rows << std::move(row);
        const Variant key = rs[0];
        lastKey = key.IsNull() ? 0 : qint64(key.toDouble());
        batch.keys << qint32(lastKey);
        if (last && !byKey)
            lastValue = rs[fields].toString();
        ++done;
    };
    const auto send = [&](bool end) {
        if (end) {
            batch.rowsEnd = true;
            if (!counted) {
                // The count comes after the last rows: with many records it takes longer
                // than reading the limit's rows, and the grid draws them meanwhile. It is a
                // statement of its own; no page is open while it runs.
                post(std::move(batch));
                batch = Batch();
                batch.total = int(db->OpenRecordset(q.Count, dao::dbOpenForwardOnly)->Fields(0).Value().toLong());
                counted = true;
            }
        }
        batch.end = end;
        post(std::move(batch));
        batch = Batch();
        want = request.davka;
    };

    if (!paged) {
        // One statement: the engine sorts before the first row; the rows are passed on
        // as they come.
        auto rs = db->OpenRecordset(select + order + (q.Limit ? QStringLiteral(" limit ") + QString::number(*q.Limit) : QString()),
                                    dao::dbOpenForwardOnly);
        for (; !rs->Eof(); rs->MoveNext()) {
            if (stopped())
                return;
            take(*rs, false);
            if (batch.rows.size() >= want)
                send(false);
        }
        rs.reset();
        send(true);
        return;
    }

    // `rows` of the query from `where` on, in one statement (all of them for -1). Passed on
    // as they come when `stream`: a statement the engine sorts for, that must not be
    // read again page by page.
    const auto readPage = [&](const QString &where, int rows, bool stream = false) {
        int got = 0;
        auto rs = db->OpenRecordset(select + where + order + QStringLiteral(" limit ") + QString::number(rows),
                                    dao::dbOpenForwardOnly);
        for (; !rs->Eof(); rs->MoveNext()) {
            if (stream && stopped())
                return got;
            take(*rs, got == rows - 1);
            ++got;
            if (stream && batch.rows.size() >= want)
                send(false);
        }
        return got;
    };
    // The rows after the last one read: within the records of its value first (by key),
    // then past that value.
    const auto readOn = [&](int rows) {
        if (byKey)
            return readPage(QStringLiteral(" AND Inter > ") + QString::number(lastKey), rows, rows < 0);
        int got = readPage(QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" IS ") + lastValue + QStringLiteral(" AND Inter > ")
                               + QString::number(lastKey),
                           rows, rows < 0);
        if (rows < 0 || got < rows) {
            const QString past = lastValue == QLatin1String("NULL") ? QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" IS NOT NULL")
                                                                    : QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" > ") + lastValue;
            got += readPage(past, rows < 0 ? -1 : rows - got, rows < 0);
        }
        return got;
    };

    if (indexLater) {
        // The first screen (all the limit's rows, with a limit) from the engine's own sort,
        // then the index; the rest page by page along it, or in one statement where it
        // could not be made or does not serve the order.
        const int rows = q.Limit ? *q.Limit : want;
        const int got = readPage(QString(), rows, true);
        if (stopped())
            return;
        if (!batch.rows.isEmpty())
            send(false);
        makeIndex();
        if (stopped())
            return;
        if (got < rows || q.Limit) {
            send(true);
            return;
        }
        if (sortsItself(*db, select + order)) {
            readOn(-1);
            if (stopped())
                return;
            send(true);
            return;
        }
    }

    // Page by page: each page goes on from the last row of the one before.
    bool first = !indexLater;
    while (true) {
        const int room = q.Limit ? std::min(want, *q.Limit - done) : want;
        if (room <= 0)
            break;
        const int got = first ? readPage(QString(), room) : readOn(room);
        first = false;
        if (stopped())
            return;
        if (got < room)
            break;
        if (batch.rows.size() >= want)
            send(false);
    }
    send(true);
}

void OverviewReader::post(Batch batch)
{
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_inFlight < kMaxInFlight || stopped(); });
        if (stopped())
            return;
        ++m_inFlight;
    }
    const quint64 generation = m_job;
    QMetaObject::invokeMethod(
        this, [this, generation, batch = std::move(batch)] { deliver(generation, batch); }, Qt::QueuedConnection);
}

void OverviewReader::hold(bool on)
{
    m_holding = on;
    if (on)
        return;
    // Said at once, ahead of what the worker has posted since: a few batches at most, as
    // the worker has no more in flight.
    const auto held = std::exchange(m_held, {});
    for (const auto &[generation, batch] : held)
        deliver(generation, batch);
}

void OverviewReader::deliver(quint64 generation, const Batch &batch)
{
    if (m_holding) {
        m_held.emplace_back(generation, batch);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        --m_inFlight;
    }
    m_wake.notify_all();
    if (generation != m_wanted)
        return;  // a read dropped since
    if (batch.error) {
        m_reading = false;
        Q_EMIT failed(*batch.error);
        return;
    }
    if (!batch.rows.isEmpty())
        Q_EMIT rowsRead(batch.rows, batch.keys);
    if (generation != m_wanted)
        return;  // a listener started another read
    if (batch.rowsEnd)
        Q_EMIT rowsEnded();
    if (generation != m_wanted)
        return;
    if (batch.total)
        Q_EMIT counted(*batch.total);
    if (generation != m_wanted)
        return;
    if (batch.end) {
        m_reading = false;
        Q_EMIT finished();
    }
}
