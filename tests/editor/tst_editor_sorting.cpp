// Sorting the grid by a column: header clicks and the host's SortFlg, by the column's
// type, in both directions; rows move whole with their heights and marks. A grid large
// enough that the order is worked out on a worker thread ends as the same clicks leave
// a grid sorted at once, whatever happens to the rows, the control or the mouse before
// the order arrives.
#include "VarnexEditUni.h"
#include "grid.h"
#include "msgbox.h"
#include "system.h"
#include "testhost.h"

#include <QMenu>
#include <QTableView>
#include <QThread>
#include <QThreadPool>
#include <QtTest>

#include <limits>

namespace {

// Key, name, price, date, check mark, state.
const QStringList Goods = {
    joinRow({"1", "Hrnek", "10", "05.03.2026", "N", "X"}),
    joinRow({"2", "chleba", "2,5", "", "A", "X"}),
    joinRow({"3", "Čaj", "100", "01.01.2020", "N", "X"}),
    joinRow({"4", "cukr", "2,5", "05.03.2026", "A", "X"}),
    joinRow({"5", "Žebřík", "-1", "31.12.2019", "N", "X"}),
};

// Small enough for a test to sort at once, large enough to be sorted in the background.
constexpr int Background = 50;

// Rows with many equal keys of every kind, so that a wrong tie order shows: names that
// differ only in case or not at all, prices and dates that repeat, empty dates.
QStringList manyRows(int count)
{
    static const char *const names[] = {"cukr", "Čaj", "chleba", "Hrnek", "hrnek", "Žebřík", "ocet", "Cukr"};
    QStringList rows;
    for (int i = 1; i <= count; ++i) {
        const int k = (i * 7919) % 97;
        const QString date = k % 5 == 0 ? QString() : QStringLiteral("%1.0%2.20%3").arg(10 + k % 18).arg(1 + k % 9).arg(10 + k % 3);
        rows << joinRow({QString::number(i), QString::fromUtf8(names[k % 8]), QString::number(k % 13) + QStringLiteral(",5"),
                         date, k % 3 == 0 ? QStringLiteral("A") : QStringLiteral("N"), QStringLiteral("X")});
    }
    return rows;
}

// What a sort leaves the user with.
struct Outcome {
    QStringList keys;
    int sortCol = -1;
    int row = -1, col = -1, rowSel = -1, colSel = -1;
    // The record the host last read on RowChange, as the overview's strip does: told of
    // every record that comes under the cursor, it ends on the one there.
    QString heard;
    bool operator==(const Outcome &) const = default;
};

char *toString(const Outcome &o)
{
    return QTest::toString(QStringLiteral("sortCol %1 row %2 col %3 rowSel %4 colSel %5 heard %6 keys %7")
                               .arg(o.sortCol)
                               .arg(o.row)
                               .arg(o.col)
                               .arg(o.rowSel)
                               .arg(o.colSel)
                               .arg(o.heard)
                               .arg(o.keys.mid(0, 40).join(QLatin1Char(' '))));
}

// A user's step: a left click on a column's header, or the function menu's "A-Z" or
// "Z-A" on it (negative: -1 - column).
using Steps = QList<int>;
constexpr int descendingFromMenu(int column) { return -1 - column; }

}  // namespace

class TestEditorSorting : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;
    msgbox::ScriptedAnswerer m_answers;
    int m_beeps = 0;
    QString m_heard;
    int m_defaultBackgroundRows = 0;

    void open(const QStringList &data, quint8 mode = 2)
    {
        m_host = std::make_unique<TestHost>();
        m_host->defineColumns(mode);
        e = m_host->VEdit;
        g = e->grid();
        e->EnableSort(true);
        m_host->fill(data, int(data.size()));
        QVERIFY(m_host->showActive());
    }

    // A grid sorted in the background from `threshold` rows on, the host following the
    // current record, the cursor somewhere in the middle on a cell of its own.
    void openLarge(const QStringList &data, quint8 mode = 2, int threshold = Background)
    {
        VarnexEditUni::BackgroundSortRows(threshold);
        open(data, mode);
        m_heard.clear();
        connect(e, &VarnexEditUni::RowChange, this, [this] { m_heard = e->TMatrix(e->Row(), 0); });
        e->Row(7);
        e->Col(2);
    }

    void take(int step)
    {
        if (step >= 0) {
            clickCell(g, 0, step);
            return;
        }
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("mnuSortDesc")); });
        clickCell(g, 0, -1 - step, Qt::RightButton);
    }

    Outcome outcome() const
    {
        return {keysInOrder(g), e->SortCol(), e->Row(), e->Col(), g->RowSel(), g->ColSel(), m_heard};
    }

    // The same steps on a grid that is sorted at once, each step done before the next.
    Outcome atOnce(const QStringList &data, const Steps &steps, const std::function<void()> &between = {})
    {
        openLarge(data, 2, std::numeric_limits<qint32>::max());
        for (int step : steps) {
            take(step);
            if (e->Sorting())
                qWarning("a small grid's sort did not end at once");
        }
        if (between)
            between();
        return outcome();
    }

    bool waitCursorShows() const { return e->testAttribute(Qt::WA_SetCursor) && e->cursor().shape() == Qt::WaitCursor; }

private Q_SLOTS:
    void initTestCase() { m_defaultBackgroundRows = VarnexEditUni::BackgroundSortRows(); }
    void init()
    {
        m_answers.clear();
        m_answers.onUnexpected = [](const msgbox::Shown &box) { QFAIL(qPrintable(box.text)); };
        msgbox::setAnswerer(&m_answers);
        sys::setBeepHook([this](int, int) { ++m_beeps; });
        m_beeps = 0;
    }
    void cleanup()
    {
        m_host.reset();
        // Jobs of a control that went finish on their own; none may outlive the test.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        msgbox::setAnswerer(nullptr);
        sys::setBeepHook({});
        VarnexEditUni::BackgroundSortRows(m_defaultBackgroundRows);
    }

    void headerClicksToggleTheDirection_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        QTest::addColumn<QStringList>("descending");
        QTest::addColumn<QStringList>("ascendingAgain");
        // Czech order without regard to case: c, č, h, ch, ž.
        QTest::newRow("text") << 1 << QStringList{"4", "3", "1", "2", "5"} << QStringList{"5", "2", "1", "3", "4"}
                              << QStringList{"4", "3", "1", "2", "5"};
        // Equal values keep the order they had: 2 and 4 both cost 2,5.
        QTest::newRow("number") << 2 << QStringList{"5", "2", "4", "1", "3"} << QStringList{"3", "1", "2", "4", "5"}
                                << QStringList{"5", "2", "4", "1", "3"};
        // An empty date comes first ascending, last descending; 1 and 4 share a day.
        QTest::newRow("date") << 3 << QStringList{"2", "5", "3", "1", "4"} << QStringList{"1", "4", "3", "5", "2"}
                              << QStringList{"2", "5", "3", "1", "4"};
    }
    void headerClicksToggleTheDirection()
    {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        QFETCH(QStringList, descending);
        QFETCH(QStringList, ascendingAgain);
        open(Goods);
        clickCell(g, 0, column);
        QCOMPARE(keysInOrder(g), ascending);
        QCOMPARE(e->SortCol(), column);
        clickCell(g, 0, column);
        QCOMPARE(keysInOrder(g), descending);
        clickCell(g, 0, column);
        QCOMPARE(keysInOrder(g), ascendingAgain);
        QCOMPARE(m_beeps, 0);
    }

    void valuesReadAsTheOverviewShowsThem()
    {
        // The overview shows large numbers in the exponent form, groups thousands, and
        // gives a date its time of day when it has one.
        open({joinRow({"1", "a", "1,234568E+07", "5.3.2026 14:30:00", "N", "X"}),
              joinRow({"2", "b", "99", "5.3.2026", "N", "X"}),
              joinRow({"3", "c", "1 000,5", "4.3.2026 23:59:59", "N", "X"})});
        e->SortFlg(2);
        QCOMPARE(keysInOrder(g), QStringList({"2", "3", "1"}));
        e->SortFlg(3);
        QCOMPARE(keysInOrder(g), QStringList({"3", "2", "1"}));
    }

    void anotherRecordUnderTheCursorIsReported()
    {
        open(Goods);
        e->Row(1);
        int rowChanges = 0;
        connect(e, &VarnexEditUni::RowChange, this, [&rowChanges] { ++rowChanges; });
        // Row 1 stays current, but "cukr" comes to stand there instead of "Hrnek".
        clickCell(g, 0, 1);
        QCOMPARE(e->Row(), 1);
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("cukr"));
        QCOMPARE(rowChanges, 1);
        // The same record stays under the cursor: nothing to report.
        e->Row(3);
        rowChanges = 0;
        e->SortFlg();
        QCOMPARE(rowChanges, 0);
    }

    void rowsMoveWhole()
    {
        open(Goods);
        // Row 2 (chleba) is deleted: it stays in the grid, hidden, wherever it goes.
        e->Row(2);
        e->HideRow();
        e->SortFlg(1);
        QCOMPARE(keysInOrder(g), QStringList({"4", "3", "1", "2", "5"}));
        for (int r = 1; r < e->Rows(); ++r) {
            const QString key = e->TMatrix(r, 0);
            QCOMPARE(e->DeletedRow(r), key == QLatin1String("2"));
            // The check marks go with their rows: 2 and 4 are checked.
            QCOMPARE(hasMark(g, r, 4), key == QLatin1String("2") || key == QLatin1String("4"));
            QCOMPARE(e->RowHeight(r), key == QLatin1String("2") ? 0 : 300);
        }
        // A check-mark column sorts by its letters from a column given...
        e->SortFlg(4);
        QCOMPARE(keysInOrder(g).mid(0, 2), QStringList({"4", "2"}));
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("A"));
    }

    void sortAgainKeepsTheUsersColumn()
    {
        open(Goods);
        e->SortFlg(2);
        e->SortFlg(2);   // descending
        // The host adds a row and sorts again: it takes its place, the direction stays.
        e->AddData(joinRow({"6", "Miska", "50", "", "N", "X"}));
        e->Col(1);
        int colChanges = 0;
        connect(e, &VarnexEditUni::ColChange, this, [&colChanges] { ++colChanges; });
        e->SortFlg();
        QCOMPARE(keysInOrder(g), QStringList({"3", "6", "1", "2", "4", "5"}));
        QCOMPARE(e->Col(), 1);
        QCOMPARE(colChanges, 0);
        // ... but the remembered check-mark column is not sorted again.
        e->SortFlg(4);
        const QStringList before = keysInOrder(g);
        e->AddData(joinRow({"7", "Vidlička", "1", "", "A", "X"}));
        e->SortFlg();
        QCOMPARE(keysInOrder(g), before + QStringList{"7"});
    }

    void otherTypesSortNothing()
    {
        open(Goods);
        // The key column's type is N, the state column's C; a letter of no kind sorts nothing.
        m_host->VEdit->SetCol(5, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"),
                              QStringLiteral("Q"), 1);
        e->SortFlg(5);
        QCOMPARE(keysInOrder(g), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(e->SortCol(), 5);
    }

    void headerClickWithSortingOffBeeps()
    {
        open(Goods);
        e->EnableSort(false);
        clickCell(g, 0, 1);
        QCOMPARE(m_beeps, 1);
        QCOMPARE(keysInOrder(g), QStringList({"1", "2", "3", "4", "5"}));
        // Unsaved changes in update mode: the header click does nothing at all.
        open(Goods, 1);
        e->IsChanged(true);
        clickCell(g, 0, 1);
        QCOMPARE(m_beeps, 1);
        QCOMPARE(keysInOrder(g), QStringList({"1", "2", "3", "4", "5"}));
    }

    void manyEqualDatesStayInOrder()
    {
        QStringList data;
        QStringList keys;
        for (int i = 1; i <= 2000; ++i) {
            data << joinRow({QString::number(i), QStringLiteral("x"), QString::number(i % 7), QStringLiteral("05.03.2026"),
                         QStringLiteral("N"), QStringLiteral("X")});
            keys << QString::number(i);
        }
        open(data);
        e->SortFlg(3);
        QCOMPARE(keysInOrder(g), keys);
        e->SortFlg(3);
        QCOMPARE(keysInOrder(g), keys);
    }

    void endsAsTheSortAtOnce_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::newRow("text") << Steps{1};
        QTest::newRow("text descending") << Steps{1, 1};
        QTest::newRow("number") << Steps{2};
        QTest::newRow("number descending") << Steps{2, 2};
        QTest::newRow("date") << Steps{3};
        QTest::newRow("date descending") << Steps{3, 3};
        QTest::newRow("check mark") << Steps{4};
        QTest::newRow("text by the menu") << Steps{descendingFromMenu(1)};
        // Each order sorts what the one before left: rows of one price keep the name order.
        QTest::newRow("name, then price") << Steps{1, 2};
    }
    void endsAsTheSortAtOnce()
    {
        // Each step waits for its order, as a user who watches the pointer does.
        QFETCH(Steps, steps);
        const QStringList data = manyRows(400);
        const Outcome expected = atOnce(data, steps);
        openLarge(data);
        const QStringList before = keysInOrder(g);
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const int step = steps[i];
            const int marked = e->SortCol();
            take(step);
            // Under way: the rows and the marks as they were, the pointer busy. (A menu
            // item is chosen inside the menu's own event loop, which may take the order
            // in before it ends.)
            if (step >= 0) {
                QVERIFY(e->Sorting());
                QVERIFY(waitCursorShows());
                QCOMPARE(e->SortCol(), marked);
                if (i == 0)
                    QCOMPARE(keysInOrder(g), before);
            }
            QTRY_VERIFY(!e->Sorting());
            QVERIFY(!e->testAttribute(Qt::WA_SetCursor));
        }
        QCOMPARE(outcome(), expected);
    }

    void clicksBeforeTheOrderArrives_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::newRow("the same column twice") << Steps{1, 1};
        QTest::newRow("the same column three times") << Steps{3, 3, 3};
        QTest::newRow("another column") << Steps{2, 1};
        QTest::newRow("back to the first") << Steps{1, 2, 1};
        QTest::newRow("the menu on the same column") << Steps{1, descendingFromMenu(1)};
    }
    void clicksBeforeTheOrderArrives()
    {
        QFETCH(Steps, steps);
        const QStringList data = manyRows(400);
        const Outcome expected = atOnce(data, steps);
        openLarge(data);
        for (int step : steps)
            take(step);
        if (steps.back() >= 0)
            QVERIFY(e->Sorting());
        QTRY_VERIFY(!e->Sorting());
        QVERIFY(!e->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(outcome(), expected);
    }

    void rowsChangeWhileSorting_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("change");
        QTest::newRow("a row added") << 1 << "add";
        QTest::newRow("a name written") << 1 << "write";
        QTest::newRow("a price written") << 2 << "write";
    }
    void rowsChangeWhileSorting()
    {
        // The user asked for the rows in order: those that are there when the order
        // arrives come out sorted, the changed ones in their new places.
        QFETCH(int, column);
        QFETCH(QString, change);
        const QStringList data = manyRows(400);
        const auto changeRows = [this, &change, column] {
            if (change == QLatin1String("add"))
                e->AddData(joinRow({"401", "Čajník", "3,5", "01.02.2011", "N", "X"}));
            else
                e->TMatrix(1, column, column == 1 ? QStringLiteral("Aaa") : QStringLiteral("0,1"));
        };
        // At once: the change first, then the sort.
        openLarge(data, 2, std::numeric_limits<qint32>::max());
        changeRows();
        take(column);
        const QStringList expected = keysInOrder(g);

        openLarge(data);
        take(column);
        QVERIFY(e->Sorting());
        changeRows();
        QTRY_VERIFY(!e->Sorting());
        QCOMPARE(keysInOrder(g), expected);
        QCOMPARE(e->SortCol(), column);
    }

    void rowDeletedWhileSorting()
    {
        // In update mode the user deletes the current row before the order arrives: that
        // record is the one deleted, wherever the order puts it, and the order is the
        // one the sort gives at once (a deletion writes no name).
        const QStringList data = manyRows(400);
        const Outcome expected = atOnce(data, Steps{1});
        m_answers.expect(vbYes);
        openLarge(data, 1);
        take(1);
        QVERIFY(e->Sorting());
        const QString record = e->TMatrix(e->Row(), 0);
        g->view()->setFocus();
        pressKey(Qt::Key_Delete);
        QCOMPARE(m_answers.pending(), size_t(0));
        QTRY_VERIFY(!e->Sorting());
        QCOMPARE(keysInOrder(g), expected.keys);
        QStringList deleted;
        for (int r = 1; r < e->Rows(); ++r)
            if (e->DeletedRow(r))
                deleted << e->TMatrix(r, 0);
        QCOMPARE(deleted, QStringList{record});
    }

    void reloadDropsTheSort()
    {
        // The host loads other rows before the order arrives: they stand as they come,
        // and the marks stay as they were.
        openLarge(manyRows(400));
        const int marked = e->SortCol();
        take(2);
        QVERIFY(e->Sorting());
        const QStringList other = manyRows(300);
        m_host->fill(other, int(other.size()));
        QVERIFY(!e->Sorting());
        QVERIFY(!e->testAttribute(Qt::WA_SetCursor));
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(50);
        QStringList loaded;
        for (int i = 1; i <= 300; ++i)
            loaded << QString::number(i);
        QCOMPARE(keysInOrder(g), loaded);
        QCOMPARE(e->SortCol(), marked);
    }

    void hostMarksWrittenWhileSortingStay()
    {
        // The host says what its rows are sorted by after the click: its word stands, and
        // sorting again follows it, as when the order had come at once.
        const QStringList data = manyRows(400);
        const Outcome expected = atOnce(data, Steps{2}, [this] {
            e->SortCol(true, 3);
            e->SortFlg();
        });
        openLarge(data);
        take(2);
        QVERIFY(e->Sorting());
        e->SortCol(true, 3);
        QTRY_VERIFY(!e->Sorting());
        QCOMPARE(e->SortCol(), 3);
        e->SortFlg();
        QTRY_VERIFY(!e->Sorting());
        QCOMPARE(outcome(), expected);
    }

    void orderWaitsWhileAMenuIsOpen()
    {
        // The rows do not move under an open menu, whose items act on the cell it was
        // opened over; the order goes in once the menu has closed.
        const QStringList data = manyRows(400);
        const Outcome expected = atOnce(data, Steps{1, descendingFromMenu(2)});
        openLarge(data);
        const QStringList before = keysInOrder(g);
        take(1);
        bool checked = false;
        whenPopupOpens([this, &before, &checked](QMenu *menu) {
            QThreadPool::globalInstance()->waitForDone();
            QTest::qWait(100);
            checked = e->Sorting() && keysInOrder(g) == before;
            clickMenuItem(menu, QStringLiteral("mnuSortDesc"));
        });
        clickCell(g, 0, 2, Qt::RightButton);
        QVERIFY(checked);
        QTRY_VERIFY(!e->Sorting());
        QCOMPARE(outcome(), expected);
    }

    void controlDestroyedWhileSorting_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("waitMs");
        for (int column : {1, 2, 3})
            for (int waitMs : {0, 2, 10})
                QTest::addRow("column %d after %d ms", column, waitMs) << column << waitMs;
    }
    void controlDestroyedWhileSorting()
    {
        // The window closes with the order half worked out, or sent and not yet arrived.
        QFETCH(int, column);
        QFETCH(int, waitMs);
        openLarge(manyRows(20000));
        take(column);
        QVERIFY(e->Sorting());
        if (waitMs > 0)
            QThread::msleep(waitMs);
        m_host.reset();
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(20);
    }
};

QTEST_MAIN(TestEditorSorting)
#include "tst_editor_sorting.moc"
