// Sorts the rows of the table editor control by a number, a date and a text column
// (Czech order) through SortFlg, each from a shuffled grid, at 100,000, 400,000 and
// 1,000,000 rows; beside each the plain std::stable_sort of the same keys worked out
// beforehand, in the same run, and the longest the event loop waited while the control
// sorted (a timer asks every millisecond).
// bench_sort [--records N[,N...]]; one figure a line, "name: value unit".

#include "VarnexEditUni.h"
#include "jetsql.h"
#include "benchsupport.h"

#include <QApplication>
#include <QCollatorSortKey>
#include <QDate>
#include <QElapsedTimer>

#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr int Rounds = 3;

struct Random {
    quint64 state;
    quint32 next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(state >> 33);
    }
    int below(int n) { return int(next() % quint32(n)); }
};

// Rows of a catalog section: key, name, price, date, state; the order a fresh seed gives.
QStringList makeRows(int count, quint64 seed)
{
    static const char *const syllables[] = {"cha", "ča", "ho", "Ch", "ře", "Ža", "ce", "hu", "ší", "Bo",
                                            "ta", "Ťu", "ne", "dě", "ly", "ám", "Os", "ka", "zi", "ch"};
    Random random{seed};
    QStringList rows;
    rows.reserve(count);
    const QDate first(1990, 1, 1);
    for (int r = 0; r < count; ++r) {
        QString name;
        const int parts = 2 + random.below(3);
        for (int p = 0; p < parts; ++p)
            name += QString::fromUtf8(syllables[random.below(20)]);
        const QString price = QString::number(random.below(100000)) + QLatin1Char(',') + QString::number(random.below(100));
        const QString date = first.addDays(random.below(14000)).toString(QStringLiteral("dd.MM.yyyy"));
        rows << QStringList{QString::number(r + 1), name, price, date, QStringLiteral("X")}.join(QLatin1Char('\t'));
    }
    return rows;
}

void fill(VarnexEditUni &e, const QStringList &rows)
{
    e.Redraw(false);
    e.Clear();
    for (const QString &row : rows)
        e.AddData(row);
    e.Redraw(true);
}

// The plain sort of row indexes by keys already in hand.
template<class Key, class Less>
double stableSortMs(const std::vector<Key> &keys, Less less)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    QElapsedTimer t;
    t.start();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(keys[size_t(a)], keys[size_t(b)]); });
    return double(t.nsecsElapsed()) / 1e6;
}

// Whether the control's sort is still under way once SortFlg has returned.
bool sortUnderWay(const VarnexEditUni &e)
{
    return e.Sorting();
}

// SortFlg and every event until the rows stand in their new order and are painted.
double sortOnce(VarnexEditUni &e, int column, EventLoopProbe &probe)
{
    QElapsedTimer t;
    t.start();
    probe.start();
    e.SortFlg(column);
    while (sortUnderWay(e))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();   // the sorted rows painted
    const double ms = double(t.nsecsElapsed()) / 1e6;
    probe.stop();
    return ms;
}

std::vector<int> sizesArgument(const QStringList &args)
{
    std::vector<int> sizes;
    if (const qsizetype i = args.indexOf(QStringLiteral("--records")); i >= 0 && i + 1 < args.size())
        for (const QString &n : args[i + 1].split(QLatin1Char(',')))
            sizes.push_back(n.toInt());
    if (sizes.empty())
        sizes = {100000, 400000, 1000000};
    return sizes;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<int> sizes = sizesArgument(app.arguments());
    VarnexEditUni e;
    e.resize(1000, 700);
    e.Edited(2);
    e.Init(5, 0);
    e.SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
    e.SetCol(1, QStringLiteral("Název"), 2000, QStringLiteral("L"), QStringLiteral("Pol1C"), QStringLiteral("C"), 50);
    e.SetCol(2, QStringLiteral("Cena"), 1200, QStringLiteral("R"), QStringLiteral("Pol1N"), QStringLiteral("N"), 12);
    e.SetCol(3, QStringLiteral("Datum"), 1200, QStringLiteral("C"), QStringLiteral("Pol1D"), QStringLiteral("D"), 10);
    e.SetCol(4, QStringLiteral("Update"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
    e.show();

    struct Kind {
        const char *name;
        int column;
    };
    for (const int count : sizes) {
        for (const Kind kind : {Kind{"number", 2}, Kind{"date", 3}, Kind{"text_czech", 1}}) {
            std::vector<double> ours, plain;
            qint64 worst = 0;
            for (int round = 0; round < Rounds; ++round) {
                const QStringList rows = makeRows(count, quint64(round + 1));
                fill(e, rows);
                // The refill has just freed the previous rows; the allocator tidies that
                // up at its next large request. A user sorts long after a load, so the
                // tidying is done before the clock starts rather than billed to the sort.
                malloc_trim(0);
                // Another column first, so that this one starts ascending.
                e.SortCol(false, 0);
                QCoreApplication::processEvents();
                EventLoopProbe probe;
                ours.push_back(sortOnce(e, kind.column, probe));
                worst = std::max(worst, probe.worstMs());

                // The same keys, worked out before the clock starts.
                if (kind.column == 1) {
                    std::vector<QCollatorSortKey> keys;
                    keys.reserve(size_t(count));
                    for (const QString &row : rows)
                        keys.push_back(jet::collationKey(row.section(QLatin1Char('\t'), 1, 1)));
                    plain.push_back(stableSortMs(keys, [](const QCollatorSortKey &a, const QCollatorSortKey &b) {
                        return a.compare(b) < 0;
                    }));
                } else {
                    std::vector<double> keys;
                    keys.reserve(size_t(count));
                    for (const QString &row : rows) {
                        const QString cell = row.section(QLatin1Char('\t'), kind.column, kind.column);
                        keys.push_back(kind.column == 2
                                           ? VarnexEditUni::CellNumber(cell)
                                           : double(QDate::fromString(cell, QStringLiteral("dd.MM.yyyy")).toJulianDay()));
                    }
                    plain.push_back(stableSortMs(keys, std::less<double>()));
                }
            }
            const double o = median(ours), p = median(plain);
            std::printf("sort_%s_%d: %.1f ms\n", kind.name, count, o);
            std::printf("sort_longest_event_wait_%s_%d: %lld ms\n", kind.name, count, qint64(worst));
            std::printf("stable_sort_keys_%s_%d: %.1f ms\n", kind.name, count, p);
            std::printf("sort_to_stable_sort_ratio_%s_%d: %.1f x\n", kind.name, count, o / p);
            std::fflush(stdout);
        }
    }
    return 0;
}
