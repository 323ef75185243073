// Code lists: filled items, queries on the host's database, and the list box they fill.
#include "VarnexEditUni.h"
#include "codelists.h"
#include "dao.h"
#include "testhost.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList texts(const QComboBox &box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list << box.itemText(i);
    return list;
}

}  // namespace

class TestEditorCodeLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filledItems()
    {
        CodeLists lists;
        lists.ResetItems(3);
        lists.Ciselnik(1, QStringLiteral("select Nazev from Sekce"), 30);
        lists.CiselnikNapln(1, QStringLiteral("Praha"), QStringLiteral("P"));
        lists.CiselnikNapln(1, QStringLiteral("  "), QStringLiteral("X"));
        lists.CiselnikNapln(1, QStringLiteral("Brno "), QStringLiteral("B"));
        lists.CiselnikNapln(1, QStringLiteral("Zlín"), QStringLiteral("Z"));
        lists.CiselnikNapln(2, QStringLiteral("Ano"), QStringLiteral("A"));
        QVERIFY(!lists.IsQuery(1));
        QCOMPARE(lists.MaxLen(1), 30);  // the query's length stays when it is larger
        QCOMPARE(lists.MaxLen(2), 3);
        QComboBox box;
        box.setEditable(true);
        lists.Fill(&box, 1, nullptr, QStringLiteral("Brno"));
        QCOMPARE(texts(box), QStringList({"Praha", "Brno", "Zlín"}));
        QCOMPARE(box.itemData(1).toString(), QStringLiteral("B"));
        QCOMPARE(box.currentText(), QStringLiteral("Brno"));

        // Setting Cols empties every filled list but keeps attached queries.
        lists.Ciselnik(0, QStringLiteral("SELECT x from y"), 5);
        lists.ResetItems(3);
        QVERIFY(lists.Entries(1, nullptr).empty());
        QVERIFY(lists.IsQuery(0));
    }

    void longestValueSetsTheLength()
    {
        CodeLists lists;
        lists.ResetItems(1);
        for (const char *v : {"abcd", "abcde", "vwxyz"})
            lists.CiselnikNapln(0, QLatin1String(v), QStringLiteral("k"));
        QCOMPARE(lists.MaxLen(0), 5);
        QCOMPARE(lists.Entries(0, nullptr).size(), size_t(3));
    }

    void queryList()
    {
        QTemporaryDir dir;
        dao::Workspace ws;
        auto db = ws.CreateDatabase(dir.filePath(QStringLiteral("c.mdb")));
        db->Execute(QStringLiteral("CREATE TABLE Sekce(  Sekce Byte, Nazev VarChar(30) )"));
        db->Execute(QStringLiteral("Insert into Sekce (Sekce, Nazev) values (1, ' Čajové konvice ')"));
        db->Execute(QStringLiteral("Insert into Sekce (Sekce, Nazev) values (2, 'Šicí stroje')"));
        db->Execute(QStringLiteral("Insert into Sekce (Sekce, Nazev) values (3, null)"));
        db->Execute(QStringLiteral("Insert into Sekce (Sekce, Nazev) values (4, 'Hrnky')"));

        TestHost host(db.get());
        host.defineColumns(1);
        VarnexEditUni *e = host.VEdit;
        // The word select in any case of letters makes it a query.
        e->Ciselnik(1, QStringLiteral("sElEcT Nazev from Sekce order by Nazev"), 30);
        QVERIFY(e->CodeListTables().IsQuery(1));
        QComboBox box;
        box.setEditable(true);
        e->CodeListTables().Fill(&box, 1, db.get(), QStringLiteral("Hrnky"));
        QCOMPARE(texts(box), QStringList({"Čajové konvice", "Hrnky", "Šicí stroje"}));
        QCOMPARE(box.currentText(), QStringLiteral("Hrnky"));

        // A query that fails leaves an empty list; the editor still opens.
        e->Ciselnik(2, QStringLiteral("select Nic from Nikde"), 5);
        e->CodeListTables().Fill(&box, 2, db.get(), QString());
        QCOMPARE(box.count(), 0);
        // Text that is no query is a (here empty) filled list and never runs.
        e->Ciselnik(3, QStringLiteral("selectNazev from Sekce"), 5);
        QVERIFY(!e->CodeListTables().IsQuery(3));

        // Items filled after a query turn the column into a filled list.
        e->CiselnikNapln(1, QStringLiteral("Jiné"), QStringLiteral("J"));
        e->CodeListTables().Fill(&box, 1, db.get(), QString());
        QCOMPARE(texts(box), QStringList({"Jiné"}));
    }
};

QTEST_MAIN(TestEditorCodeLists)
#include "tst_editor_codelists.moc"
