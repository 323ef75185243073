// Sorting the grid by a column: header clicks and the host's SortFlg, by the column's
// type, in both directions; rows move whole with their heights and marks.
#include "VarnexEditUni.h"
#include "grid.h"
#include "msgbox.h"
#include "system.h"
#include "testhost.h"

#include <QtTest>

namespace {

// Key, name, price, date, check mark, state.
const QStringList Goods = {
    joinRow({"1", "Hrnek", "10", "05.03.2026", "N", "X"}),
    joinRow({"2", "chleba", "2,5", "", "A", "X"}),
    joinRow({"3", "Čaj", "100", "01.01.2020", "N", "X"}),
    joinRow({"4", "cukr", "2,5", "05.03.2026", "A", "X"}),
    joinRow({"5", "Žebřík", "-1", "31.12.2019", "N", "X"}),
};

}  // namespace

class TestEditorSorting : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;
    msgbox::ScriptedAnswerer m_answers;
    int m_beeps = 0;

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

private Q_SLOTS:
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
        msgbox::setAnswerer(nullptr);
        sys::setBeepHook({});
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
};

QTEST_MAIN(TestEditorSorting)
#include "tst_editor_sorting.moc"
