// The overview's query of a section, built without any window, and the current
// overview's state that the windows share.
#include "common/globals.h"
#include "dao.h"
#include "data/currentoverview.h"
#include "data/overviewquery.h"
#include "data/schema.h"
#include "testsupport.h"
#include "vberror.h"

#include <QtTest>

namespace {

// "Pol Typ shown description caption", e.g. "3 n 1 0 Cena"
std::vector<DefinicePole> definitions(const QStringList &lines)
{
    std::vector<DefinicePole> d;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        d.push_back({f[0], f[1], f.value(4), QStringLiteral("L"), f[2] == QLatin1String("1"), f[3] == QLatin1String("1")});
    }
    return d;
}

// A view of the current overview that loads with a given outcome and records what it
// was asked.
class View : public PohledPrehledu
{
public:
    AktualniPrehled::Vyber outcome = AktualniPrehled::Vyber::Nacteno;
    QStringList loads;
    int focused = 0;
    AktualniPrehled::Vyber NactiVyber(const QString &podminka, bool iNic) override
    {
        loads << podminka + (iNic ? QStringLiteral(" (all)") : QString());
        return outcome;
    }
    qint32 AktualniKlic() const override { return 12; }
    std::vector<int> SirkySloupcu() const override { return {2000, 900}; }
    void SetFocus() override { ++focused; }
};

}  // namespace

Q_DECLARE_METATYPE(AktualniPrehled::Vyber)

class TestOverviewQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        Prehled().Vynuluj();
    }

    // The section's number is kept as text; one that is no number never reaches a statement.
    void section_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("section");  // 0: none; -1: error 13
        QTest::newRow("nothing") << "" << 0;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("a number") << " 5 " << 5;
        QTest::newRow("no number") << "1 or 1=1" << -1;
    }
    void section()
    {
        QFETCH(QString, tag);
        QFETCH(int, section);
        QSignalSpy changed(&Prehled(), &AktualniPrehled::sekceZmenena);
        Prehled().NastavTagSekce(tag, QStringLiteral("KNIHY"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(Prehled().NazevSekce(), QStringLiteral("KNIHY"));
        if (section < 0) {
            try {
                Prehled().Sekce();
                QFAIL("no error");
            } catch (const VbError &e) {
                QCOMPARE(e.Number(), 13);
            }
        } else {
            QCOMPARE(Prehled().Sekce().value_or(0), section);
        }
        NastavAktualniSekci(std::nullopt, QString());
        QCOMPARE(Prehled().TagSekce(), QStringLiteral("0"));
        QCOMPARE(AktualniSekce(), std::nullopt);
    }

    // A selection comes into force, with its readable text, only once the view has loaded
    // it; otherwise the one before stays. Without a view there is none, and none is asked.
    void conditionInForce_data()
    {
        QTest::addColumn<AktualniPrehled::Vyber>("outcome");
        QTest::addColumn<QString>("condition");
        QTest::newRow("loaded") << AktualniPrehled::Vyber::Nacteno << "Katalog.pol1c like 'a*'";
        QTest::newRow("nothing selected") << AktualniPrehled::Vyber::Nic << "Katalog.pol1c";
        QTest::newRow("refused") << AktualniPrehled::Vyber::Odmitnuto << "Katalog.pol1c";
        QTest::newRow("locked") << AktualniPrehled::Vyber::Zamceno << "Katalog.pol1c";
    }
    void conditionInForce()
    {
        QFETCH(AktualniPrehled::Vyber, outcome);
        QFETCH(QString, condition);
        AktualniPrehled &prehled = Prehled();
        QCOMPARE(prehled.ZobrazVyber(QStringLiteral("x"), QStringLiteral("X")), AktualniPrehled::Vyber::Odmitnuto);
        prehled.NastavPodminku(QStringLiteral("x"), QStringLiteral("X"));
        QVERIFY(!prehled.Zobrazen());
        QCOMPARE(prehled.Podminka(), QString());
        QCOMPARE(prehled.AktualniKlic(), 0);
        QVERIFY(prehled.SirkySloupcu().empty());

        View view;
        prehled.Pripoj(&view);
        QVERIFY(PrehledOtevren());
        prehled.NastavPodminku(QStringLiteral("Katalog.pol2n>=20"), QStringLiteral("Cena>=20"));
        QSignalSpy changed(&prehled, &AktualniPrehled::podminkaZmenena);
        view.outcome = outcome;
        QCOMPARE(prehled.ZobrazVyber(condition, QStringLiteral("Název je a*")), outcome);
        QCOMPARE(view.loads, QStringList{condition});
        const bool loaded = outcome == AktualniPrehled::Vyber::Nacteno;
        QCOMPARE(changed.size(), loaded ? 1 : 0);
        QCOMPARE(prehled.Podminka(), loaded ? condition : QStringLiteral("Katalog.pol2n>=20"));
        QCOMPARE(prehled.TextPodminky(), loaded ? QStringLiteral("Název je a*") : QStringLiteral("Cena>=20"));
        QCOMPARE(prehled.AktualniKlic(), 12);
        QCOMPARE(prehled.SirkySloupcu(), (std::vector<int>{2000, 900}));
        prehled.ZamerPohled();
        QCOMPARE(view.focused, 1);

        // The condition goes with the view that showed it.
        prehled.Odpoj(&view);
        QVERIFY(!PrehledOtevren());
        QCOMPARE(prehled.Podminka(), QString());
        QCOMPARE(prehled.TextPodminky(), QString());
    }

    void statements_data()
    {
        QTest::addColumn<QStringList>("defs");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("limit");  // -1: none
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("descriptionColumn");

        const QString from = QStringLiteral(" from Katalog where sekce=2");
        QTest::newRow("hidden fields stay out")
            << QStringList{"Pol1 c 1 0 Název", "Pol2 n 0 0 Cena", "Pol3 d 1 0 Datum"} << QString() << -1
            << "Inter, Pol1C, Pol3D" << "select Inter, Pol1C, Pol3D" + from + " order by Pol1C"
            << "select count(*)" + from << -1;
        QTest::newRow("no shown field orders by key")
            << QStringList{"Pol1 c 0 0 Název"} << QString() << -1
            << "Inter" << "select Inter" + from + " order by Inter" << "select count(*)" + from << -1;
        QTest::newRow("a field that is none of the catalog's")
            << QStringList{"Pol31 c 1 0 A", "Pol1;drop c 1 0 B", "X1 c 1 0 C", "Pol0 n 1 0 D", "Pol2 x 1 0 E", "Pol30 d 1 0 F"}
            << QString() << -1 << "Inter, Pol30D" << "select Inter, Pol30D" + from + " order by Pol30D"
            << "select count(*)" + from << -1;
        QTest::newRow("a condition narrows both statements")
            << QStringList{"Pol1 c 1 0 Název"} << "Pol1C like 'a*' or Pol1C is null" << -1 << "Inter, Pol1C"
            << "select Inter, Pol1C" + from + " AND (Pol1C like 'a*' or Pol1C is null) order by Pol1C"
            << "select count(*)" + from + " AND (Pol1C like 'a*' or Pol1C is null)" << -1;
        QTest::newRow("the limit reads no further")
            << QStringList{"Pol1 c 1 0 Název"} << QString() << 1000 << "Inter, Pol1C"
            << "select Inter, Pol1C" + from + " order by Pol1C limit 1000" << "select count(*)" + from << -1;
        QTest::newRow("a limit of nothing shows one record")
            << QStringList{"Pol1 c 1 0 Název"} << QString() << 0 << "Inter, Pol1C"
            << "select Inter, Pol1C" + from + " order by Pol1C limit 1" << "select count(*)" + from << -1;
        QTest::newRow("the description field's column")
            << QStringList{"Pol1 c 1 0 Název", "Pol2 n 0 0 Cena", "Pol4 c 1 1 Popis"} << QString() << -1
            << "Inter, Pol1C, Pol4C" << "select Inter, Pol1C, Pol4C" + from + " order by Pol1C"
            << "select count(*)" + from << 2;
    }
    void statements()
    {
        QFETCH(QStringList, defs);
        QFETCH(QString, condition);
        QFETCH(int, limit);
        const DotazPrehledu q = SestavDotazPrehledu(2, definitions(defs), condition,
                                                    limit < 0 ? std::nullopt : std::optional<qint32>(limit));
        QTEST(q.SeznamPoli, "fields");
        QTEST(q.Select, "select");
        QTEST(q.Count, "count");
        QTEST(q.SloupecPopisu, "descriptionColumn");
        QCOMPARE(int(q.PocetSloupcu), int(q.Sloupce.size()));
        QCOMPARE(q.Sloupce.front().Jmeno, QString());
    }

    // The shown columns carry what the overview's grid needs, in upper case.
    void columns()
    {
        const DotazPrehledu q = SestavDotazPrehledu(1, definitions({"Pol5 n 1 0 Cena"}));
        QCOMPARE(q.Sloupce.size(), size_t(2));
        QCOMPARE(q.Sloupce[1].Jmeno, QStringLiteral("Pol5N"));
        QCOMPARE(q.Sloupce[1].Typ, QStringLiteral("N"));
        QCOMPARE(q.Sloupce[1].Titulek, QStringLiteral("Cena"));
        QCOMPARE(q.Sloupce[1].Zarovnani, QStringLiteral("L"));
        QVERIFY(!q.TitulekPopisu);
    }

    // A description field that is not shown names the strip but has no column: the strip
    // must not show the next column's value.
    void hiddenDescription()
    {
        const DotazPrehledu q = SestavDotazPrehledu(1, definitions({"Pol1 c 1 0 Název", "Pol2 c 0 1 Poznámka"}));
        QCOMPARE(q.SloupecPopisu, -1);
        QCOMPARE(q.TitulekPopisu.value_or(QString()), QStringLiteral("Poznámka"));
    }

    // Read from a catalog, the definitions come in their order, and the statements run.
    void onCatalog()
    {
        QTemporaryDir dir;
        dao::Workspace ws;
        auto db = ws.CreateDatabase(dir.filePath(QStringLiteral("t.mdb")));
        VytvorTabulky(*db);
        const char *rows[] = {"(2, 'Pol', 0, 'n', 'Cena', 'R', 3)", "(1, 'Pol', 1, 'c', 'Název', 'L', 3)",
                              "(1, 'Pol', 1, 'c', 'Jiná sekce', 'L', 4)"};
        int field = 1;
        for (const char *r : rows)
            db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Typ, Nazev, Zarovnani, Sekce) values ")
                        + QString::fromUtf8(r).replace(QStringLiteral("'Pol'"), QStringLiteral("'Pol%1'").arg(field++)));
        db->Execute(QStringLiteral("insert into Katalog (Inter, Pol2C, Sekce) values (1, 'b', 3), (2, 'a', 3), (3, 'c', 4)"));
        const auto defs = NactiDefinice(*db, 3);
        QCOMPARE(defs.size(), size_t(2));
        QCOMPARE(defs[0].Nazev, QStringLiteral("Název"));
        QVERIFY(defs[0].Zobraz);
        QVERIFY(!defs[1].Zobraz);
        const DotazPrehledu q = SestavDotazPrehledu(3, defs, QStringLiteral("Inter > 0"), 10);
        QCOMPARE(q.SeznamPoli, QStringLiteral("Inter, Pol2C"));
        auto records = db->OpenRecordset(q.Select);
        QCOMPARE(records->Fields(0).Value().toLong(), 2);  // 'a' first
        QCOMPARE(db->OpenRecordset(q.Count)->Fields(0).Value().toLong(), 2);
    }
};

QTEST_GUILESS_MAIN(TestOverviewQuery)
#include "tst_overviewquery.moc"
