// Moving and deleting the selected records: the statements and their transaction, and
// the main window's two commands chosen from its real menu.
#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "data/infosettings.h"
#include "data/selectedrecords.h"
#include "mainwindow/frmMain.h"
#include "menudriver.h"
#include "overview/frmPrehled.h"
#include "records/frmEditace.h"
#include "records/frmVyber.h"
#include "system.h"
#include "vberror.h"
#include "data/currentoverview.h"
#include "overviewgrid.h"
#include "typing.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using testsupport::expectBox;
using testsupport::scalar;

namespace {

int count(const QString &where)
{
    return scalar(QStringLiteral("select count(*) from Katalog where ") + where).toLong();
}

// Records per section, and attachment rows, as one text: "1:5 2:2 3:1 obr:5".
QString census()
{
    QStringList parts;
    for (int s = 1; s <= 3; ++s)
        parts << QStringLiteral("%1:%2").arg(s).arg(count(QStringLiteral("Sekce=%1").arg(s)));
    parts << QStringLiteral("obr:%1").arg(scalar(QStringLiteral("select count(*) from Obrazky")).toLong());
    return parts.join(QLatin1Char(' '));
}

}  // namespace

class TestSelectedRecords : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Sections 1 "Knihy" (a title and a price), 2 "Desky" and 3 "Filmy" (a title); the
    // records 1 and 3 have attachments, and so does record 20 of section 2; one attachment
    // row belongs to no record.
    static void catalog()
    {
        testsupport::defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}, {"Cena", "N"}});
        testsupport::defineSection(2, QStringLiteral("Desky"), {{"Titul", "C"}});
        testsupport::defineSection(3, QStringLiteral("Filmy"), {{"Film", "C"}});
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Pol2n, Sekce"),
                                {"1, 'Čaj', 10, 1", "2, 'čajovna', 300, 1", "3, 'Káva', 1.5, 1", "4, 'x'') OR 1=1 OR (''', 5, 1",
                                 "5, 'Mléko', 20, 1", "20, 'Čaj', null, 2", "21, 'zzz', null, 2", "30, 'Čaj', null, 3"});
        testsupport::insertRows(QStringLiteral("Obrazky"), QStringLiteral("Inter, Poradi, Soubor"),
                                {"1, 1, 'a.jpg'", "1, 2, 'b.pdf'", "3, 1, 'c.jpg'", "20, 1, 'd.jpg'", "999, 1, 'sirotek.jpg'"});
    }

    // The main window on section 1 with the overview, and the selection window unless
    // its setting says otherwise.
    static frmMain &open()
    {
        frmMain &main = frmMain::Form();
        main.show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&main)); }();
        testsupport::chooseFromMenu(main.mnuKatalog, main.mnuSekce, main.mnuSekceX[2]);  // by name: Desky, Filmy, Knihy
        [&] { QCOMPARE(main.lblSekce->property("Tag").toString(), QStringLiteral("1")); }();
        return main;
    }

    static VarnexEditUni &grid()
    {
        return *overviewGrid(*frmPrehled::Loaded());
    }

    static QStringList shownKeys()
    {
        QStringList keys;
        for (int r = 1; r < grid().Rows(); ++r)
            if (!grid().TMatrix(r, 0).isEmpty() && !grid().DeletedRow(r))
                keys << grid().TMatrix(r, 0);
        keys.sort();
        return keys;
    }

    // Types a condition into a row of the selection window and applies it.
    static void select(int row, const QString &text)
    {
        frmVyber &w = *frmVyber::Loaded();
        testsupport::typeOver(w.cmb[size_t(row)]->lineEdit(), text);
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
    }

    // Katalog, then the item, with the mouse; in a submenu the submenu's item then.
    static void choose(frmMain &main, QAction *item, QMenu *submenu = nullptr)
    {
        testsupport::chooseFromMenu(main.mnuKatalog, submenu, item);
        QTRY_VERIFY(!main.mnuKatalog->isVisible());
    }

    static QAction *moveItem(frmMain &main, const QString &name)
    {
        for (QAction *a : main.mnuSekceM)
            if (a->text() == name)
                return a;
        return nullptr;
    }

    static const QString deleteTitle;
    static const QString moveTitle;

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"chkAllRecords", "txtAllRecords", "VyberWindowShow", "NahledWindowShow"})
            SmazInfo(QLatin1String(key));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("False"));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        catalog();
    }
    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        m_folder.reset();
    }

    // The statements: the section's filter, and the condition in brackets after it.
    void statements()
    {
        QCOMPARE(SmazaniVybranychSql(3, QString()),
                 (QStringList{"Delete * from katalog where sekce=3",
                              "Delete * from obrazky where inter not in (select inter from katalog)"}));
        QCOMPARE(SmazaniVybranychSql(3, QStringLiteral("   ")).first(), QStringLiteral("Delete * from katalog where sekce=3"));
        QCOMPARE(SmazaniVybranychSql(3, QStringLiteral("a=1 or b=2")).first(),
                 QStringLiteral("Delete * from katalog where sekce=3 AND (a=1 or b=2)"));
        QCOMPARE(PresunVybranychSql(3, 5, QStringLiteral("a=1 or b=2")),
                 QStringLiteral("Update katalog set sekce=5 where sekce=3 AND (a=1 or b=2)"));
        QCOMPARE(PocetVybranychSql(3, QString()), QStringLiteral("select count(*) from katalog where sekce=3"));
    }

    // A delete takes the records, their attachment rows and the rows orphaned earlier,
    // and nothing of another section.
    void deleteWithAttachments()
    {
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
        QCOMPARE(PocetVybranych(*Db, 1, QStringLiteral("Katalog.pol2n<=10")), 3);
        QCOMPARE(SmazVybrane(*Ws, *Db, 1, QStringLiteral("Katalog.pol2n<=10")), 3L);
        QCOMPARE(census(), QStringLiteral("1:2 2:2 3:1 obr:1"));
        QCOMPARE(scalar(QStringLiteral("select Inter from Obrazky")).toLong(), 20);
        QCOMPARE(count(QStringLiteral("Inter in (2, 5)")), 2);
    }

    // A condition joined with "or" stays inside the section.
    void orStaysInTheSection()
    {
        QCOMPARE(SmazVybrane(*Ws, *Db, 1, QStringLiteral("Katalog.pol1c='Čaj' or 1=1")), 5L);
        QCOMPARE(census(), QStringLiteral("1:0 2:2 3:1 obr:1"));
        QCOMPARE(PresunVybrane(*Ws, *Db, 2, 3, QStringLiteral("Katalog.pol1c='Čaj' or 1=1")), 2L);
        QCOMPARE(census(), QStringLiteral("1:0 2:0 3:3 obr:1"));
    }

    // One transaction: a failure of the second statement takes back the first.
    void failureRollsBack()
    {
        Db->Execute(QStringLiteral("drop table Obrazky"));
        QVERIFY_THROWS_EXCEPTION(VbError, SmazVybrane(*Ws, *Db, 1, QString()));
        QCOMPARE(count(QStringLiteral("Sekce=1")), 5);
        Db->Execute(QStringLiteral("create table Obrazky (Inter Integer)"));
        QVERIFY_THROWS_EXCEPTION(VbError, PresunVybrane(*Ws, *Db, 1, 2, QStringLiteral("nosuchcolumn=1")));
        QCOMPARE(count(QStringLiteral("Sekce=1")), 5);
    }

    // "Smazat všechny vybrané záznamy" from the menu: the question counts what the
    // statement will delete; afterwards the overview shows the rest of the section with
    // no condition, and the selection window's rows are empty.
    void deleteSelected()
    {
        frmMain &main = open();
        select(1, QStringLiteral("čaj*, káva"));
        QCOMPARE(shownKeys(), (QStringList{"1", "2", "3"}));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 0, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 3"));
        QCOMPARE(census(), QStringLiteral("1:2 2:2 3:1 obr:1"));
        QCOMPARE(shownKeys(), (QStringList{"4", "5"}));
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(grid().WhereText(), QString());
        QCOMPARE(frmVyber::Loaded()->cmb[1]->currentText(), QString());
    }

    // No: nothing is deleted and the selection stays.
    void deleteAnsweredNo()
    {
        frmMain &main = open();
        select(1, QStringLiteral("čaj*"));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        choose(main, main.mnuDeleteAll);
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().Where(), QStringLiteral("Katalog.pol1c like 'čaj*'"));
    }

    // Under the overview's record limit the grid lists fewer rows than the statement
    // touches: the question tells the statement's number.
    void countIsTheStatements()
    {
        UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("True"));
        UlozInfo(QStringLiteral("txtAllRecords"), QStringLiteral("2"));
        frmMain &main = open();
        QCOMPARE(grid().LiveRows(), 2);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 0, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 5"));
    }

    // With the selection window closed the overview reloads and the condition goes all
    // the same.
    void deleteWithoutTheSelectionWindow()
    {
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("False"));
        frmMain &main = open();
        QVERIFY(!frmVyber::Loaded());
        Prehled().NastavPodminku(QStringLiteral("Katalog.pol2n>=20"), QStringLiteral("Cena>=20"));
        QCOMPARE(grid().WhereText(), QStringLiteral("Výběr pro:  Cena>=20"));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 0, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 2"));
        QCOMPARE(census(), QStringLiteral("1:3 2:2 3:1 obr:4"));
        QCOMPARE(shownKeys(), (QStringList{"1", "3", "4"}));
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(grid().WhereText(), QString());
    }

    // With the overview closed there is no selection: both commands say so and do nothing.
    void overviewClosed()
    {
        frmMain &main = open();
        select(1, QStringLiteral("čaj*"));
        frmPrehled::Unload();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK);
        choose(main, main.mnuDeleteAll);
        choose(main, moveItem(main, QStringLiteral("Desky")), main.mnuMoveAll);
        const QString why = QStringLiteral("Přehled je zavřený, a proto neplatí žádný výběr. "
                                           "Otevřete přehled (Zobrazit, Přehled) a příkaz opakujte.");
        expectBox(boxes, 0, vbExclamation, deleteTitle, why);
        expectBox(boxes, 1, vbExclamation, moveTitle, why);
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
    }

    // Moving into the current section makes no sense and changes nothing.
    void moveToTheSameSection()
    {
        frmMain &main = open();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        choose(main, moveItem(main, QStringLiteral("Knihy")), main.mnuMoveAll);
        expectBox(boxes, 0, vbInformation, moveTitle, QStringLiteral("Přesun do stejné sekce nemá význam"));
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
    }

    // Moving the selected records: the question with the target's name and the count;
    // the attachments follow; the overview shows what is left, with no condition.
    void moveSelected()
    {
        frmMain &main = open();
        select(2, QStringLiteral("*10"));
        QCOMPARE(shownKeys(), (QStringList{"1", "3", "4"}));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        choose(main, moveItem(main, QStringLiteral("Desky")), main.mnuMoveAll);
        expectBox(boxes, 0, vbYesNo | vbInformation, moveTitle,
                  QStringLiteral("Přesunout vybrané záznamy do sekce 'Desky' ?\r\nPočet záznamů 3\r\n\r\n"
                                 "Pozor! Pokud má sekce do níž přesunujete záznamy jinou definici, mohou být některá data ztracena."));
        QCOMPARE(census(), QStringLiteral("1:2 2:5 3:1 obr:5"));
        QCOMPARE(count(QStringLiteral("Sekce=2 and Inter in (1, 3, 4)")), 3);
        QCOMPARE(shownKeys(), (QStringList{"2", "5"}));
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(frmVyber::Loaded()->cmb[2]->currentText(), QString());
    }

    // A hostile row, then "delete selected": it selects the one record
    // that holds that text, and the delete takes that record alone, in no other section.
    void hostileRowThenDelete()
    {
        frmMain &main = open();
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
        select(1, QStringLiteral("x') OR 1=1 OR ('"));
        QCOMPARE(shownKeys(), QStringList{"4"});
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 0, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 1"));
        QCOMPARE(census(), QStringLiteral("1:4 2:2 3:1 obr:4"));
        QCOMPARE(count(QStringLiteral("Inter=4")), 0);
    }

    // The same row where no record holds that text: nothing is selected (371), no
    // condition is in force, and the question tells the whole section's count; No.
    void hostileRowMatchingNothing()
    {
        Db->Execute(QStringLiteral("delete from Katalog where Inter=4"));
        frmMain &main = open();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbNo);
        select(1, QStringLiteral("x') OR 1=1 OR ('"));
        QCOMPARE(grid().Where(), QString());
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 1, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 4"));
        QCOMPARE(census(), QStringLiteral("1:4 2:2 3:1 obr:5"));
    }

    // A hostile number never reaches a statement: refused on applying, nothing deleted
    // beyond what the user was shown.
    void hostileNumberThenDelete()
    {
        frmMain &main = open();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbNo);
        select(1, QStringLiteral("čaj*"));
        select(2, QStringLiteral("1) OR (1=1"));
        QCOMPARE(boxes.shown().at(0).text, QStringLiteral("Chybně zadaná hodnota pro výběr."));
        QCOMPARE(grid().Where(), QStringLiteral("Katalog.pol1c like 'čaj*'"));
        choose(main, main.mnuDeleteAll);
        expectBox(boxes, 1, vbYesNo | vbExclamation, deleteTitle, QStringLiteral("Smazat vybrané záznamy?\r\nPočet záznamů 2"));
        QCOMPARE(census(), QStringLiteral("1:5 2:2 3:1 obr:5"));
    }
};

const QString TestSelectedRecords::deleteTitle = QStringLiteral("Rušení záznamů");
const QString TestSelectedRecords::moveTitle = QStringLiteral("Přesun záznamů do jiné sekce");

QTEST_MAIN(TestSelectedRecords)
#include "tst_selectedrecords.moc"
