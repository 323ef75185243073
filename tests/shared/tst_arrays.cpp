// The smallest and largest element of an array, by the runtime's comparison.
#include "arrays.h"
#include "vberror.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<Variant>)
Q_DECLARE_METATYPE(Variant)

class TestArrays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extremes_data()
    {
        QTest::addColumn<std::vector<Variant>>("pole");
        QTest::addColumn<Variant>("min");
        QTest::addColumn<Variant>("max");
        QTest::newRow("3 7 7 1") << std::vector<Variant>{3, 7, 7, 1} << Variant(1) << Variant(7);
        QTest::newRow("one element") << std::vector<Variant>{Variant(4.5)} << Variant(4.5) << Variant(4.5);
        QTest::newRow("mixed number kinds") << std::vector<Variant>{Variant(qint16(2)), Variant(2.5), Variant(-1.0f)}
                                            << Variant(-1.0f) << Variant(2.5);
        // A number is less than a text.
        QTest::newRow("texts and numbers") << std::vector<Variant>{Variant("b"), Variant(10), Variant("a")}
                                           << Variant(10) << Variant("b");
        // Null never wins a comparison, so the first element holds against it.
        QTest::newRow("null later") << std::vector<Variant>{Variant(5), Variant::Null(), Variant(9)} << Variant(5) << Variant(9);
    }
    void extremes()
    {
        QFETCH(std::vector<Variant>, pole);
        QFETCH(Variant, min);
        QFETCH(Variant, max);
        QVERIFY(MinPole(pole) == min);
        QVERIFY(MaxPole(pole) == max);
    }

    // Of equal elements the earlier one is kept: 2 and 2.0 are equal, but of other kinds.
    void equalKeepsEarlier()
    {
        const std::vector<Variant> pole{Variant(2), Variant(2.0), Variant(1)};
        QCOMPARE(MaxPole(pole).VarType(), vbLong);
        const std::vector<Variant> low{Variant(1.0), Variant(1)};
        QCOMPARE(MinPole(low).VarType(), vbDouble);
    }

    void emptyArray()
    {
        for (auto f : {&MinPole, &MaxPole}) {
            try {
                f({});
                QFAIL("no error for an empty array");
            } catch (const VbError &e) {
                QCOMPARE(e.Number(), 9);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestArrays)
#include "tst_arrays.moc"
