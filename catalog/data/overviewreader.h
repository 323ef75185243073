#pragma once

#include "data/overviewquery.h"
#include "vberror.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace dao {
class Database;
class Workspace;
}  // namespace dao

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
    // While held, what the read says waits (and the worker with it, once it has enough in
    // hand); released, what waited is said at once, in its order.
    void hold(bool on);

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
    void work();  // the worker: each read asked for in turn
    void run(Request request);
    // The worker's connection to the catalog; only the worker uses it.
    dao::Database *connection(const Request &request);
    void dropConnection();
    void read(const Request &request);
    // Hands a batch to the starting thread; waits while it has enough in hand.
    void post(Batch batch);
    void deliver(quint64 generation, const Batch &batch);
    // The read under way has been dropped (another asked for, or none).
    bool stopped() const { return m_wanted.load(std::memory_order_relaxed) != m_job; }

    std::unique_ptr<dao::Workspace> m_workspace;
    std::unique_ptr<dao::Database> m_db;
    QString m_path;
    quint64 m_device = 0, m_inode = 0;  // the file m_db has open
    std::thread m_thread;
    // The read wanted now: each start and cancel counts one on, and a read under way
    // stops once it is not the one wanted.
    std::atomic<quint64> m_wanted{0};
    quint64 m_job = 0;  // the read the worker is on (the worker's own)
    bool m_reading = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    // Guarded by m_mutex:
    std::optional<Request> m_pending;  // the next read, not yet begun
    bool m_quit = false;
    int m_inFlight = 0;  // batches posted and not yet told
    // The starting thread's own:
    bool m_holding = false;
    std::vector<std::pair<quint64, Batch>> m_held;  // arrived while held
};
