// The overview: loading a section's columns and records into its grid.
#include "VarnexEditUni.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "data/overviewreader.h"
#include "common/globals.h"
#include "frmTisk.h"
#include "grid.h"
#include "catalogfixture.h"
#include "menudriver.h"
#include "pdftools.h"
#include "printchooser.h"
#include "testhost.h"
#include "testsupport.h"
#include "data/currentoverview.h"
#include "overviewgrid.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <QLabel>
#include <QTimer>
#include <QtTest>

class TestOverview : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Definitions in the columns Sekce, Poradi, Pol, Zobraz, Popis, Nazev, Typ, Zarovnani.
    static void define(std::initializer_list<const char *> rows)
    {
        testsupport::insertRows(QStringLiteral("Definice"), QStringLiteral("Sekce, Poradi, Pol, Zobraz, Popis, Nazev, Typ, Zarovnani"),
                                rows);
    }

    // Section 1: a text, a number, a date and a shown description field; the definitions
    // are stored out of order.
    void bookSection()
    {
        Db->Execute(QStringLiteral("insert into Sekce values (1, 'Knihy')"));
        define({"1, 3, 'Pol3', 1, 0, 'Vydáno', 'd', 'c'",
                "1, 1, 'Pol1', 1, 0, 'Název', 'c', 'L'",
                "1, 2, 'Pol2', 1, null, 'Cena', 'n', 'R'",
                "1, 4, 'Pol4', 1, 1, 'Popis knihy', 'C', 'L'",
                "1, 5, 'Pol5', 0, 0, 'Skryté', 'C', 'L'",
                "1, 6, 'Pol6', null, 0, 'Také skryté', 'C', 'L'"});
    }

    // Books in the columns Inter, Pol1c, Pol2n, Pol3d, Pol4c (the description), Pol5c (the
    // hidden field) and Sekce.
    static void insertBooks(std::initializer_list<const char *> rows)
    {
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Pol2n, Pol3d, Pol4c, Pol5c, Sekce"), rows);
    }

    static void manyRecords(int section, int count)
    {
        Ws->BeginTrans();
        for (int i = 1; i <= count; ++i)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'Kniha %2', %3)")
                            .arg(10000 * section + i).arg(i, 5, 10, QLatin1Char('0')).arg(section));
        Ws->CommitTrans();
    }

    static frmPrehled &load(const QString &section)
    {
        frmMain::Form();
        Prehled().NastavTagSekce(section, QString());
        frmPrehled &overview = frmPrehled::Form();
        overview.Zobraz();
        overview.NactiData();
        overviewSettled();
        return overview;
    }

    // Section 1 with 10000 books loading, the limit off: back once the first rows are in,
    // with most of them still to come (the reader hands over a few batches at a time).
    frmPrehled &startLargeLoad()
    {
        bookSection();
        manyRecords(1, 10000);
        UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("false"));
        frmMain::Form();
        Prehled().NastavTagSekce(QStringLiteral("1"), QString());
        frmPrehled &w = frmPrehled::Form();
        w.Zobraz();
        w.NactiData();
        return w;
    }

    static QStringList gridRows(const frmPrehled &w)
    {
        QStringList rows;
        for (int r = 1; r < overviewGrid(w)->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < overviewGrid(w)->Cols(); ++c)
                cells << overviewGrid(w)->TMatrix(r, c);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }

    static QString counter(const frmPrehled &w)
    {
        return overviewGrid(w)->findChild<QLabel *>(QStringLiteral("lblRecord"))->text();
    }

    // Section 1 with names an attacker or a careless user might type, and section 2
    // with a record of the same name and one that only a leaking condition would reach.
    void namesSection()
    {
        bookSection();
        insertBooks({"1, 'O''Brien', 1.5, null, null, 'tajné', 1",
                     "2, 'x'') OR 1=1 OR (''', null, null, null, 'tajné', 1",
                     "3, 'a*b', 2, '2010-03-02 00:00:00', null, 'tajné', 1",
                     "4, 'axxb', 10, '2010-03-01 00:00:00', null, 'tajné', 1",
                     "5, '[abc', 100, null, null, 'tajné', 1"});
        Db->Execute(QStringLiteral("insert into Sekce values (2, 'Jiné')"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (10, 'O''Brien', 1.5, 2)"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (11, 'zzz', 3, 2)"));
    }

    static QStringList shownKeys(const frmPrehled &w)
    {
        QStringList keys;
        for (int r = 1; r < overviewGrid(w)->Rows(); ++r)
            keys << overviewGrid(w)->TMatrix(r, 0);
        keys.sort();
        return keys;
    }

    // The overview of section 1 in the shown main window.
    frmPrehled &showNames()
    {
        namesSection();
        frmPrehled &w = load(QStringLiteral("1"));
        frmMain &main = frmMain::Form();
        main.show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(&main)); }();
        return w;
    }

    // A right click on the header of `column`, the item `item`, and in its dialog the
    // operator picked with the keys, the value typed and "Vybrat" (with "nebo" when asked).
    static void select(frmPrehled &w, int column, const QString &item, const QString &op, const QString &value,
                       bool orJoin = false)
    {
        whenPopupOpens([=](QMenu *menu) {
            whenDialogOpens([=](QDialog *d) {
                auto *cmb = d->findChild<QComboBox *>(QStringLiteral("cmb"));
                cmb->setFocus();
                for (int i = cmb->findText(op); i > 0; --i)
                    QTest::keyClick(cmb, Qt::Key_Down);
                if (orJoin)
                    QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("optOr")), Qt::LeftButton);
                QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txt")), value);
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmd")), Qt::LeftButton);
            });
            clickMenuItem(menu, item);
        });
        clickCell(overviewGrid(w)->grid(), 0, column, Qt::RightButton);
    }

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"chkAllRecords", "txtAllRecords", "PrehledWindowWidth", "PrehledWindowHeight"})
            SmazInfo(QLatin1String(key));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
    }
    void cleanup()
    {
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    void loadsASection()
    {
        bookSection();
        insertBooks({"7, 'Čapek', 1.5, '2026-03-05 00:00:00', 'první', 'tajné', 1",
                     "3, 'Hašek', null, '2026-03-05 14:30:00', 's\ttabulátorem', 'tajné', 1",
                     "5, 'Chmel', 12345678, null, null, 'tajné', 1"});
        frmPrehled &w = load(QStringLiteral("1"));

        QCOMPARE(Prehled().SeznamPoli(), QStringLiteral("Inter, Pol1C, Pol2N, Pol3D, Pol4C"));
        QCOMPARE(int(Prehled().PocetSloupcu()), 5);
        QCOMPARE(int(Prehled().SloupcePrehledu().size()), 5);
        QCOMPARE(Prehled().SloupcePrehledu()[3].Jmeno, QStringLiteral("Pol3D"));
        QCOMPARE(Prehled().SloupcePrehledu()[3].Zarovnani, QStringLiteral("C"));
        QCOMPARE(Prehled().SloupcePrehledu()[2].Titulek, QStringLiteral("Cena"));
        QCOMPARE(overviewGrid(w)->Cols(), 6);
        QCOMPARE(overviewGrid(w)->GridName(), QStringLiteral("frmPrehled_Sekce1"));
        // In Czech order ("ch" after "h"), with the regional texts; a tab shows as a blank.
        QCOMPARE(gridRows(w), (QStringList{
            "7|Čapek|1,5|5.3.2026|první|X",
            "3|Hašek||5.3.2026 14:30:00|s tabulátorem|X",
            "5|Chmel|1,234568E+07|||X",
        }));
        QCOMPARE(counter(w), QStringLiteral("3 záznamy"));
        // The strip shows the description field's own column.
        QCOMPARE(w.txtPopis->text(), QStringLiteral("první"));
        QCOMPARE(w.lblPopis->text(), QStringLiteral("Popis knihy"));
        QVERIFY(PrehledOtevren());
    }

    void recordLimit_data()
    {
        QTest::addColumn<QString>("limited");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("counter");
        QTest::newRow("default: 1000") << QString() << QString() << 1000 << "1000 záznamů z 1500";
        QTest::newRow("limit off") << "false" << "10" << 1500 << "1500 záznamů";
        QTest::newRow("10") << "True" << "10" << 10 << "10 záznamů z 1500";
        QTest::newRow("0 loads one") << "true" << "0" << 1 << "1 záznam z 1500";
        QTest::newRow("not a number") << "true" << "abc" << 1 << "1 záznam z 1500";
    }
    void recordLimit()
    {
        QFETCH(QString, limited);
        QFETCH(QString, limit);
        QFETCH(int, rows);
        QFETCH(QString, counter);
        if (!limited.isNull())
            UlozInfo(QStringLiteral("chkAllRecords"), limited);
        if (!limit.isNull())
            UlozInfo(QStringLiteral("txtAllRecords"), limit);
        bookSection();
        manyRecords(1, 1500);
        frmPrehled &w = load(QStringLiteral("1"));
        QCOMPARE(overviewGrid(w)->Rows() - 1, rows);
        QCOMPARE(overviewGrid(w)->TMatrix(1, 1), QStringLiteral("Kniha 00001"));
        QCOMPARE(this->counter(w), counter);
        // The overview has ended its read once its rows are in: another workstation can
        // save meanwhile, at once.
        dao::Workspace other;
        auto station = other.OpenDatabase(m_folder->file(QStringLiteral("QIRData.mdb")));
        station->Execute(QStringLiteral("PRAGMA busy_timeout = 0"));
        try {
            station->Execute(QStringLiteral("update Katalog set Pol1C = 'Jinde' where Inter = 10001"));
        } catch (const VbError &e) {
            QFAIL(e.what());
        }
    }

    // A limited load's rows are all in and drawn before the count of the section's
    // records arrives; the counter tells the rows shown meanwhile, then the count too.
    void limitedRowsLandBeforeTheCount()
    {
        bookSection();
        manyRecords(1, 1500);
        frmMain::Form();
        Prehled().NastavTagSekce(QStringLiteral("1"), QString());
        frmPrehled &w = frmPrehled::Form();
        w.Zobraz();
        auto *reader = w.findChild<OverviewReader *>();
        QVERIFY(reader);
        int rowsAtEnd = -1;
        bool drawnAtEnd = false;
        QString counterAtEnd;
        connect(reader, &OverviewReader::rowsEnded, this, [&] {
            rowsAtEnd = overviewGrid(w)->Rows() - 1;
            drawnAtEnd = overviewGrid(w)->Redraw();
            counterAtEnd = counter(w);
        });
        w.NactiData();
        QVERIFY(overviewSettled());
        QCOMPARE(rowsAtEnd, 1000);
        QVERIFY(drawnAtEnd);
        QCOMPARE(counterAtEnd, QStringLiteral("1000 záznamů"));
        QCOMPARE(counter(w), QStringLiteral("1000 záznamů z 1500"));
    }

    // A section whose fields are all hidden opens with the key column alone.
    void noShownField()
    {
        Db->Execute(QStringLiteral("insert into Sekce values (2, 'Prázdná')"));
        define({"2, 1, 'Pol1', 0, 1, 'Skryté', 'C', 'L'"});
        manyRecords(2, 3);
        frmPrehled &w = load(QStringLiteral("2"));
        QCOMPARE(Prehled().SeznamPoli(), QStringLiteral("Inter"));
        QCOMPARE(int(Prehled().PocetSloupcu()), 1);
        QCOMPARE(gridRows(w), (QStringList{"20001|X", "20002|X", "20003|X"}));
        QCOMPARE(w.txtPopis->text(), QString());  // a hidden description field shows nothing
    }

    // A definition's field goes into the statement only when it names a catalog field.
    void foreignFieldNames()
    {
        bookSection();
        Db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Popis, Nazev, Typ, Sekce) "
                                   "values (7, 'Pol1c from Sekce --', 1, 0, 'Zlé', 'C', 1)"));
        Db->Execute(QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Popis, Nazev, Typ, Sekce) "
                                   "values (8, 'Pol31', 1, 0, 'Mimo', 'N', 1)"));
        load(QStringLiteral("1"));
        QCOMPARE(Prehled().SeznamPoli(), QStringLiteral("Inter, Pol1C, Pol2N, Pol3D, Pol4C"));
    }

    void emptySection()
    {
        bookSection();
        frmPrehled &w = load(QStringLiteral("1"));
        QCOMPARE(w.txtPopis->text(), QString());
        QCOMPARE(overviewGrid(w)->LiveRows(), 0);
        QCOMPARE(frmMain::Form().Panel(1)->text(), QString());
    }

    // Section "0" only empties the grid; what the last section set stays.
    void noSection()
    {
        bookSection();
        insertBooks({"7, 'Čapek', 1, null, 'a', 'tajné', 1"});
        frmPrehled &w = load(QStringLiteral("1"));
        load(QStringLiteral("0"));
        QCOMPARE(overviewGrid(w)->LiveRows(), 0);
        QCOMPARE(Prehled().SeznamPoli(), QStringLiteral("Inter, Pol1C, Pol2N, Pol3D, Pol4C"));
    }

    // A tag that is no number never reaches the statement.
    void tagThatIsNoNumber()
    {
        bookSection();
        frmMain::Form();
        Prehled().NastavTagSekce(QStringLiteral("1 or 1=1"), QString());
        QVERIFY_THROWS_EXCEPTION(VbError, frmPrehled::Form().NactiData());
    }

    // A load asked for while another is reading wins; the first gives way cleanly.
    void laterLoadWins()
    {
        bookSection();
        manyRecords(1, 800);
        testsupport::defineSection(2, QStringLiteral("Druhá"), {{"Název", "C"}});
        manyRecords(2, 2);
        UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("false"));
        bool switched = false;
        QTimer::singleShot(0, this, [&] {
            switched = true;
            load(QStringLiteral("2"));
        });
        frmPrehled &w = load(QStringLiteral("1"));
        QVERIFY(switched);
        QCOMPARE(overviewGrid(w)->GridName(), QStringLiteral("frmPrehled_Sekce2"));
        QCOMPARE(overviewGrid(w)->Rows() - 1, 2);
        QCOMPARE(Prehled().SeznamPoli(), QStringLiteral("Inter, Pol1C"));
    }

    // A new load while the rows of a large one are still arriving: the window shows the
    // new one's rows only, however many batches the old one had still to hand over.
    void loadWhileRowsArrive()
    {
        testsupport::defineSection(2, QStringLiteral("Druhá"), {{"Název", "C"}});
        manyRecords(2, 3);
        frmPrehled &w = startLargeLoad();
        QVERIFY(w.Nacita());
        QVERIFY(overviewGrid(w)->Rows() - 1 < 10000);
        QCOMPARE(overviewGrid(w)->TMatrix(1, 1), QStringLiteral("Kniha 00001"));
        Prehled().NastavTagSekce(QStringLiteral("2"), QString());
        w.NactiData();
        QVERIFY(overviewSettled());
        QTest::qWait(50);
        QCOMPARE(shownKeys(w), (QStringList{"20001", "20002", "20003"}));
        QCOMPARE(counter(w), QStringLiteral("3 záznamy"));
    }

    // Records saved and deleted through the current overview while the rows are still
    // arriving: each shows once, as it is now, or not at all; the rest come in order.
    void recordsChangedWhileRowsArrive()
    {
        frmPrehled &w = startLargeLoad();
        QVERIFY(w.Nacita());
        const auto save = [](int key, const QString &title) {
            Db->Execute(QStringLiteral("update Katalog set Pol1C = '%1' where Inter = %2").arg(title).arg(key));
            Prehled().OznamZmenu(AktualniPrehled::Zmena::Ulozen, key,
                                 {QString::number(key), title, QString(), QString(), QString()});
        };
        // Shown already, its order value now ahead of the read: not twice.
        save(10002, QStringLiteral("Kniha 09999a"));
        // Not read yet, still ahead: comes once, as saved.
        save(18500, QStringLiteral("Kniha 09999b"));
        // Not read yet, now behind the read: comes all the same.
        save(18600, QStringLiteral("Kniha 00000"));
        // Not read yet, deleted: never comes.
        Db->Execute(QStringLiteral("delete from Katalog where Inter = 18000"));
        Prehled().OznamZmenu(AktualniPrehled::Zmena::Smazan, 18000);
        QVERIFY(overviewSettled());
        QStringList keys;
        for (int r = 1; r < overviewGrid(w)->Rows(); ++r)
            keys << overviewGrid(w)->TMatrix(r, 0);
        QCOMPARE(keys.size(), 9999);
        QCOMPARE(keys.count(QStringLiteral("10002")), 1);
        QCOMPARE(keys.count(QStringLiteral("18500")), 1);
        QCOMPARE(keys.count(QStringLiteral("18600")), 1);
        QCOMPARE(keys.count(QStringLiteral("18000")), 0);
        const qsizetype at = keys.indexOf(QStringLiteral("18500"));
        QCOMPARE(overviewGrid(w)->TMatrix(int(at) + 1, 1), QStringLiteral("Kniha 09999b"));
        QCOMPARE(overviewGrid(w)->TMatrix(int(keys.indexOf(QStringLiteral("10002"))) + 1, 1), QStringLiteral("Kniha 09999a"));
        QCOMPARE(counter(w), QStringLiteral("9999 záznamů"));
    }

    // The window closed while it loads: the load stops, nothing is touched afterwards.
    void closedWhileLoading()
    {
        bookSection();
        manyRecords(1, 800);
        QTimer::singleShot(0, this, [] { frmPrehled::Unload(); });
        load(QStringLiteral("1"));
        QVERIFY(!frmPrehled::Loaded());
        QVERIFY(!PrehledOtevren());
        QCOMPARE(frmMain::Form().Panel(1)->text(), QString());  // no loading text left behind
    }

    void seekTextBesideTheCounter()
    {
        // The overview is loaded while the main window is still hidden, and shows with
        // it: the seek typed into its grid stands beside the counter, readable.
        bookSection();
        manyRecords(1, 40);
        frmPrehled &w = load(QStringLiteral("1"));
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QTRY_VERIFY(w.isVisible());
        auto *grid = overviewGrid(w)->findChild<QWidget *>(QStringLiteral("flg"));
        QVERIFY(grid);
        QWidget *view = grid->focusProxy();
        QVERIFY(view);
        view->setFocus();
        QTest::keyClicks(view, QStringLiteral("Kniha 0002"));
        auto *seek = overviewGrid(w)->findChild<QLabel *>(QStringLiteral("lblSeek"));
        auto *record = overviewGrid(w)->findChild<QLabel *>(QStringLiteral("lblRecord"));
        QCOMPARE(seek->text(), QStringLiteral("Kniha 0002"));
        QVERIFY(seek->isVisible());
        QVERIFY(seek->width() >= seek->sizeHint().width());
        QCOMPARE(counter(w), QStringLiteral("40 záznamů"));
        if (record->isVisible()) {
            QVERIFY(record->width() >= record->sizeHint().width());
            QVERIFY(!record->geometry().intersects(seek->geometry()));
        }
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(overviewGrid(w)->TMatrix(overviewGrid(w)->Row(), 1), QStringLiteral("Kniha 00020"));
        QVERIFY(!seek->isVisible());
        QVERIFY(record->isVisible());
    }

    void descriptionFollowsTheRow()
    {
        bookSection();
        insertBooks({"1, 'A', 1, null, 'první', 'tajné', 1", "2, 'B', 2, null, 'druhý', 'tajné', 1"});
        frmPrehled &w = load(QStringLiteral("1"));
        overviewGrid(w)->Row(2);
        QCOMPARE(w.txtPopis->text(), QStringLiteral("druhý"));
    }

    void selectionShowsExactlyTheMatches_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("apostrophe") << 1 << "=" << "O'Brien" << QStringList{"1"};
        QTest::newRow("quote breaking out") << 1 << "*" << "x') OR 1=1 OR ('" << QStringList{"2"};
        QTest::newRow("star as typed") << 1 << "*" << "a*b" << QStringList{"3"};
        QTest::newRow("lone bracket") << 1 << "=" << "[" << QStringList{"5"};
        QTest::newRow("bracket inside") << 1 << "*" << "[ab" << QStringList{"5"};
        QTest::newRow("decimal comma") << 2 << ">" << "1,5" << QStringList{"3", "4", "5"};
        QTest::newRow("date") << 3 << ">=" << "2.3.2010" << QStringList{"3"};
    }
    void selectionShowsExactlyTheMatches()
    {
        QFETCH(int, column);
        QFETCH(QString, op);
        QFETCH(QString, value);
        QFETCH(QStringList, keys);
        testsupport::ScriptedBoxes boxes;
        frmPrehled &w = showNames();
        QCOMPARE(shownKeys(w), QStringList({"1", "2", "3", "4", "5"}));
        select(w, column, QStringLiteral("mnuVyber"), op, value);
        QCOMPARE(shownKeys(w), keys);
        QVERIFY(!overviewGrid(w)->Where().isEmpty());
        QVERIFY(overviewGrid(w)->WhereText().endsWith(op + value));
    }

    void refusedOrEmptySelectionsKeepTheRows()
    {
        testsupport::ScriptedBoxes boxes;
        frmPrehled &w = showNames();
        select(w, 1, QStringLiteral("mnuVyber"), QStringLiteral("*"), QStringLiteral("b"));
        QCOMPARE(shownKeys(w), QStringList({"1", "3", "4", "5"}));
        const QString where = overviewGrid(w)->Where();
        const QString text = overviewGrid(w)->WhereText();
        // A number that is SQL, and a condition no record meets: the rows and the
        // selection in force stay.
        boxes.expect(vbOK).expect(vbOK);
        select(w, 2, QStringLiteral("mnuZmenVyber"), QStringLiteral("="), QStringLiteral("1 or 1=1"));
        select(w, 2, QStringLiteral("mnuZmenVyber"), QStringLiteral(">"), QStringLiteral("1000"));
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Chybně zadaná hodnota pro výběr."));
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Zadané podmínce neodpovídá žádný záznam."));
        QCOMPARE(shownKeys(w), QStringList({"1", "3", "4", "5"}));
        QCOMPARE(overviewGrid(w)->Where(), where);
        QCOMPARE(overviewGrid(w)->WhereText(), text);
        // Widened with "nebo", the selection stays inside the section.
        select(w, 1, QStringLiteral("mnuZmenVyber"), QStringLiteral("="), QStringLiteral("zzz"), true);
        QCOMPARE(shownKeys(w), QStringList({"1", "3", "4", "5"}));
        select(w, 1, QStringLiteral("mnuZmenVyber"), QStringLiteral("="), QStringLiteral("x"), true);
        QCOMPARE(shownKeys(w), QStringList({"1", "2", "3", "4", "5"}));
        // Cancelled, the whole section shows again.
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("mnuZrusVyber")); });
        clickCell(overviewGrid(w)->grid(), 0, 1, Qt::RightButton);
        QCOMPARE(shownKeys(w), QStringList({"1", "2", "3", "4", "5"}));
        QVERIFY(overviewGrid(w)->Where().isEmpty());
    }

    // "Obnovení přehledu" in the header's menu reads the section again, with the
    // selection in force: records stored meanwhile (by another workstation, say) show,
    // those gone go; a selection nothing meets any longer leaves the grid empty.
    void headerMenuRefreshes()
    {
        testsupport::ScriptedBoxes boxes;
        frmPrehled &w = showNames();
        select(w, 2, QStringLiteral("mnuVyber"), QStringLiteral(">"), QStringLiteral("1"));
        QCOMPARE(shownKeys(w), QStringList({"1", "3", "4", "5"}));
        const QString where = overviewGrid(w)->Where();
        const QString text = overviewGrid(w)->WhereText();
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (6, 'nová', 7, 1)"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (8, 'levná', 0.5, 1)"));
        Db->Execute(QStringLiteral("delete from Katalog where Inter=4"));
        const auto refresh = [&] {
            whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("mnuRefresh")); });
            clickCell(overviewGrid(w)->grid(), 0, 1, Qt::RightButton);
        };
        refresh();
        QCOMPARE(shownKeys(w), QStringList({"1", "3", "5", "6"}));
        QCOMPARE(overviewGrid(w)->Where(), where);
        QCOMPARE(overviewGrid(w)->WhereText(), text);
        QCOMPARE(counter(w), QStringLiteral("4 záznamy"));

        Db->Execute(QStringLiteral("delete from Katalog where Pol2n>1"));
        refresh();
        QCOMPARE(overviewGrid(w)->LiveRows(), 0);
        QCOMPARE(overviewGrid(w)->Where(), where);
        QCOMPARE(boxes.shown().size(), size_t(0));
    }

    void recordMenuReachesTheRecordCommands()
    {
        testsupport::ScriptedBoxes boxes;
        frmPrehled &w = showNames();
        // "Kopie záznamu" asks first; cancelled, nothing opens.
        boxes.expect(vbCancel);
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("Kopie záznamu")); });
        clickCell(overviewGrid(w)->grid(), 2, 1, Qt::RightButton);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Zkopírovat a upravit záznam?"));
        QCOMPARE(overviewGrid(w)->Row(), 2);
    }

    // A drag on a header's border sizes the overview's column and sorts nothing; the
    // program ended with "Konec" and started again shows the column as the user left it.
    void columnSizedByDragKeepsItsWidth()
    {
        namesSection();
        const auto startOverview = [] {
            frmMain &main = frmMain::Form();
            main.show();
            [&] { QVERIFY(QTest::qWaitForWindowActive(&main)); }();
            for (QAction *item : main.mnuSekceX)
                if (item->text() == QLatin1String("Knihy"))
                    testsupport::chooseFromMenu(main.mnuKatalog, main.mnuSekce, item);
            [&] { QTRY_VERIFY(PrehledOtevren()); }();
            return frmPrehled::Loaded();
        };
        frmPrehled *w = startOverview();
        QVERIFY(w);
        QCOMPARE(overviewGrid(*w)->ColWidth(1), 2000);
        const QStringList order = keysInOrder(overviewGrid(*w)->grid());
        dragHeaderBorder(overviewGrid(*w)->grid(), 1, 50);
        const int width = overviewGrid(*w)->ColWidth(1);
        QVERIFY2(qAbs(width - (2000 + 50 * 15)) < 15, qPrintable(QString::number(width)));
        QCOMPARE(keysInOrder(overviewGrid(*w)->grid()), order);
        testsupport::chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuEnd);
        QTRY_VERIFY(!frmMain::Loaded());
        QVERIFY(!frmPrehled::Loaded());
        QCOMPARE(testsupport::scalar(QStringLiteral("select ColWidth from S_Grid where GridName='frmPrehled_Sekce1' "
                                                    "and Login='PC1' and ColName='Katalog.Pol1C'")).toLong(),
                 width);

        w = startOverview();
        QVERIFY(w);
        QCOMPARE(overviewGrid(*w)->ColWidth(1), width);
        QCOMPARE(overviewGrid(*w)->ColWidth(2), 2000);
    }

    // The grid's print command prints the records the overview shows, with the
    // overview's caption as heading.
    void printsTheRecordsShown()
    {
        testsupport::ScriptedBoxes boxes;
        frmPrehled &w = showNames();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("prehled.pdf"));
        printer::setPrintChooser([&](QWidget *, const printer::PrintRequest &) {
            printer::PrintChoice choice;
            choice.pdfFile = file;
            return std::optional<printer::PrintChoice>(choice);
        });
        const auto restore = qScopeGuard([] { printer::setPrintChooser({}); });
        QString title;
        whenPopupOpens([&](QMenu *menu) {
            whenDialogOpens([&](QDialog *d) {
                auto *preview = qobject_cast<tabulix::frmTisk *>(d);
                QVERIFY(preview);
                title = preview->windowTitle();
                QTest::mouseClick(preview->cmdTisk, Qt::LeftButton);
                QTest::mouseClick(preview->cmdKonec, Qt::LeftButton);
            });
            clickMenuItem(menu, QStringLiteral("mnuTisk"));
        });
        clickCell(overviewGrid(w)->grid(), 0, 1, Qt::RightButton);
        QCOMPARE(title, w.windowTitle() + QStringLiteral(" - náhled"));
        QCOMPARE(pdftools::pageCount(file), 1);
        if (!pdftools::available())
            QSKIP("poppler-utils (pdftotext) missing");
        const QString text = pdftools::pageText(file, 1);
        QVERIFY2(text.contains(QStringLiteral("Vytištěno záznamů: 5")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("O'Brien")));
        QVERIFY(!text.contains(QStringLiteral("zzz")));
    }
};

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
