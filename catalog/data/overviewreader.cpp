#include "data/overviewreader.h"

#include "dao.h"
#include "variant.h"

#include <QMetaObject>
#include <chrono>

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
    cancel();
}

void OverviewReader::cancel()
{
    ++m_generation;
    m_reading = false;
    if (!m_thread.joinable())
        return;
    m_stop = true;
    m_wake.notify_all();
    m_thread.join();
    m_stop = false;
    std::lock_guard lock(m_mutex);
    m_inFlight = 0;
}

void OverviewReader::start(const Request &request)
{
    cancel();
    m_reading = true;
    m_running = m_generation;
    m_thread = std::thread([this, request] { run(request); });
}

void OverviewReader::run(Request request)
{
    try {
        read(request);
    } catch (const VbError &e) {
        if (!stopped()) {
            Batch failure;
            failure.error = e;
            post(std::move(failure));
        }
    }
}

void OverviewReader::read(const Request &request)
{
    const DotazPrehledu &q = request.dotaz;
    dao::Workspace workspace;
    std::unique_ptr<dao::Database> db = workspace.OpenDatabase(request.soubor);
    db->StopWhen([this] { return stopped(); }, request.busyMs);

    const bool byKey = q.Poradi.compare(QLatin1String("Inter"), Qt::CaseInsensitive) == 0;
    const QString index = IndexPrehleduSql(q.Poradi);
    if (!index.isEmpty()) {
        try {
            db->Execute(index);
        } catch (const VbError &) {
            // A catalog that cannot take it (read-only, held by another workstation) is
            // read without it, in one statement.
            if (stopped())
                return;
        }
    }

    const int fields = q.PocetSloupcu;
    const QString order = byKey ? QStringLiteral(" order by Inter") : QStringLiteral(" order by ") + q.Poradi + QStringLiteral(", Inter");
    // After the shown fields the order column's value as an SQL literal: where the next
    // page begins.
    const QString select = QStringLiteral("select ") + q.SeznamPoli + (byKey ? QString() : QStringLiteral(", quote(") + q.Poradi + QLatin1Char(')')) + q.Odkud;
    const bool paged = !sortsItself(*db, select + order);
    if (stopped())
        return;

    int done = 0;
    Batch batch;
    int want = request.prvniDavka;
    bool counted = !q.Limit;
    QString lastValue;  // the order column's literal in the last row read
    QString lastKey;
    const auto take = [&](dao::Recordset &rs) {
        QString row;
        for (int i = 0; i < fields && i < rs.FieldCount(); ++i) {
            row += TextBunky(rs[i]);
            row += QLatin1Char('\t');
        }
        row += QLatin1Char('X');
        batch.rows << row;
        const Variant key = rs[0];
        batch.keys << (key.IsNull() ? 0 : qint32(key.toLong()));
        lastKey = key.IsNull() ? QString() : QString::number(qint64(key.toDouble()));
        if (!byKey)
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
            take(*rs);
            if (batch.rows.size() >= want)
                send(false);
        }
        rs.reset();
        send(true);
        return;
    }

    // Page by page: each page goes on from the last row of the one before, within the
    // records of the same value first (by key), then past that value.
    bool first = true;
    while (true) {
        const int room = q.Limit ? std::min(want, *q.Limit - done) : want;
        if (room <= 0)
            break;
        const auto readPage = [&](const QString &where, int rows) {
            int got = 0;
            auto rs = db->OpenRecordset(select + where + order + QStringLiteral(" limit ") + QString::number(rows),
                                        dao::dbOpenForwardOnly);
            for (; !rs->Eof(); rs->MoveNext()) {
                take(*rs);
                ++got;
            }
            return got;
        };
        int got = 0;
        if (first) {
            got = readPage(QString(), room);
            first = false;
        } else if (byKey) {
            got = readPage(QStringLiteral(" AND Inter > ") + lastKey, room);
        } else {
            got = readPage(QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" IS ") + lastValue + QStringLiteral(" AND Inter > ") + lastKey,
                           room);
            if (got < room) {
                const QString past = lastValue == QLatin1String("NULL") ? QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" IS NOT NULL")
                                                                        : QStringLiteral(" AND ") + q.Poradi + QStringLiteral(" > ") + lastValue;
                got += readPage(past, room - got);
            }
        }
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
    const quint64 generation = m_running;
    QMetaObject::invokeMethod(
        this, [this, generation, batch = std::move(batch)] { deliver(generation, batch); }, Qt::QueuedConnection);
}

void OverviewReader::deliver(quint64 generation, const Batch &batch)
{
    if (generation != m_generation)
        return;  // a read dropped since
    {
        std::lock_guard lock(m_mutex);
        --m_inFlight;
    }
    m_wake.notify_all();
    if (batch.error) {
        m_reading = false;
        if (m_thread.joinable())
            m_thread.join();
        Q_EMIT failed(*batch.error);
        return;
    }
    if (!batch.rows.isEmpty())
        Q_EMIT rowsRead(batch.rows, batch.keys);
    if (generation != m_generation)
        return;  // a listener started another read
    if (batch.rowsEnd)
        Q_EMIT rowsEnded();
    if (generation != m_generation)
        return;
    if (batch.total)
        Q_EMIT counted(*batch.total);
    if (generation != m_generation)
        return;
    if (batch.end) {
        m_reading = false;
        if (m_thread.joinable())
            m_thread.join();
        Q_EMIT finished();
    }
}
