#pragma once

#include "data/overviewquery.h"
#include "vberror.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// The overview's records read in a thread of its own, on a connection of its own to the
// catalog, so that the window goes on answering however many there are. The rows come
// back in batches, as the cells' texts joined by tabs (with the state column's "X"), in
// the query's order; the reader lives in the thread that starts it and says everything
// there. Starting a read, or cancelling, drops the read under way: none of its batches
// is told afterwards.
//
// Where an index serves the order (made on the way, IndexPrehleduSql), the records are
// read a page at a time, each page a statement of its own that ends before the next
// begins: the catalog's read lock is held for one page only, and the program's own
// writes and other workstations' are never kept waiting for the whole read.
class OverviewReader : public QObject
{
    Q_OBJECT
public:
    struct Request {
        QString soubor;             // the catalog file
        DotazPrehledu dotaz;        // what to read
        int busyMs = 2000;          // the wait for another connection's lock
        int prvniDavka = 100;       // rows of the first batch: the first screen
        int davka = 2000;           // rows of each further batch
    };

    explicit OverviewReader(QObject *parent = nullptr);
    ~OverviewReader() override;

    // Begins reading, after dropping any read under way.
    void start(const Request &request);
    // Drops the read under way, if any.
    void cancel();
    bool reading() const { return m_reading; }

Q_SIGNALS:
    // The next rows in order, with their keys.
    void rowsRead(const QStringList &rows, const QList<qint32> &keys);
    // Every row has been told; with a limit the count follows.
    void rowsEnded();
    // The count of the records without the limit (only when a limit is given), after
    // the last rows.
    void counted(int total);
    // The read is over: every row and the count have been told.
    void finished();
    // The read failed; nothing more comes of it.
    void failed(const VbError &error);

private:
    struct Batch {
        QStringList rows;
        QList<qint32> keys;
        std::optional<int> total;
        bool rowsEnd = false;
        bool end = false;
        std::optional<VbError> error;
    };
    void run(Request request);
    void read(const Request &request);
    // Hands a batch to the starting thread; waits while it has enough in hand.
    void post(Batch batch);
    void deliver(quint64 generation, const Batch &batch);
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    quint64 m_generation = 0;
    std::atomic<quint64> m_running{0};  // the generation the worker reads for
    bool m_reading = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_inFlight = 0;  // batches posted and not yet told (guarded by m_mutex)
};
