// The record edit window, driven as a user drives it: new records, copies and edits of the
// overview's records, what is stored and what the overview shows afterwards.
#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "menudriver.h"
#include "modaldriver.h"
#include "common/SaveBox.h"
#include "common/translation.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "records/frmEditace.h"
#include "system.h"
#include "overviewgrid.h"
#include "data/currentoverview.h"
#include "typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using testsupport::dropDownByArrow;
using testsupport::expectBox;
using testsupport::openedList;
using testsupport::SavedNotices;
using testsupport::scalar;

namespace {

// The boxes of the books' section, by their row in the window.
enum Box { Nazev = 2, Cena = 3, Vydano = 4, Autor = 5 };

QString keyOf(const QString &row)
{
    return row.section(QLatin1Char('|'), 0, 0);
}

// The date a bare day typed today stands for, as the database stores it.
QString storedDayOfThisMonth(int day)
{
    return QDate(QDate::currentDate().year(), QDate::currentDate().month(), day).toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
}

}  // namespace

class TestRecordEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;  // the timers of one test

    // Section 1 "Knihy" shows a text, a number, a date and a text, and hides a fifth field;
    // section 2 "Desky" shows its title only. Records 1 and 2 are books, 3 a record;
    // record 1 has an attachment. The key counter stands at 41.
    static void books()
    {
        testsupport::defineSection(1, QStringLiteral("Knihy"),
                                   {{"Název", "C"}, {"Cena", "N"}, {"Vydáno", "D"}, {"Autor", "C"}, {"Skryté", "C", false}});
        testsupport::defineSection(2, QStringLiteral("Desky"), {{"Název", "C"}});
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Pol2n, Pol3d, Pol4c, Pol5c, Poznamka, Sekce"),
                                {"1, 'Čapek', 1.5, '2026-03-05 00:00:00', 'Karel', 'tajné', 'první', 1",
                                 "2, 'Hašek', 250, null, 'Jaroslav', null, null, 1",
                                 "3, 'Babička', 3, null, null, null, null, 2"});
        testsupport::insertRows(QStringLiteral("Obrazky"), QStringLiteral("Inter, Poradi, Soubor, Popis"),
                                {"1, 1, 'obalka.jpg', 'Obálka'"});
        Db->Execute(QStringLiteral("update S_Param set Inter=41"));
    }

    static void selectSection(const QString &section)
    {
        frmMain &main = frmMain::Form();
        Prehled().NastavTagSekce(section, QString());
        main.NastavMenu();
    }

    static frmPrehled &loadOverview()
    {
        selectSection(QStringLiteral("1"));
        frmPrehled &overview = frmPrehled::Form();
        overview.Zobraz();
        overview.NactiData();
        return overview;
    }

    // The grid's rows as "key|cells...|state", by key.
    static QMap<QString, QString> gridRows()
    {
        QMap<QString, QString> rows;
        const VarnexEditUni &grid = *overviewGrid(*frmPrehled::Loaded());
        for (int r = 1; r < grid.Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid.Cols(); ++c)
                cells << grid.TMatrix(r, c);
            rows.insert(keyOf(cells.join(QLatin1Char('|'))), cells.join(QLatin1Char('|')));
        }
        return rows;
    }

    // The rows the grid shows now must be those a fresh load of the overview shows.
    static void sameAsAFreshLoad()
    {
        const QMap<QString, QString> shown = gridRows();
        frmPrehled::Form().NactiData();
        QCOMPARE(shown, gridRows());
    }

    // The rows the grid's view has to draw: every row of the grid, the new ones too.
    static int drawnRows()
    {
        auto *grid = overviewGrid(*frmPrehled::Loaded())->findChild<QWidget *>(QStringLiteral("flg"));
        auto *view = grid ? qobject_cast<QAbstractItemView *>(grid->focusProxy()) : nullptr;
        return view ? view->model()->rowCount() : -1;
    }

    static QString counterText()
    {
        return overviewGrid(*frmPrehled::Loaded())->findChild<QLabel *>(QStringLiteral("lblRecord"))->text();
    }

    static int count(const QString &where)
    {
        return scalar(QStringLiteral("select count(*) from Katalog where ") + where).toLong();
    }

    static qint32 keyCounter()
    {
        return scalar(QStringLiteral("select Inter from S_Param")).toLong();
    }

    // Record 4, whose date holds a time of day and whose number a decimal, current in
    // the overview (its row 3) beside the main window shown.
    static void overviewOnRecord4()
    {
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Pol3d, Pol4c, Sekce) "
                                   "values (4, 'Revize', 1883.9, '2025-03-12 20:39:20', 'Novák', 1)"));
        frmPrehled &overview = loadOverview();
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        overviewGrid(overview)->Row(3);
        QCOMPARE(overviewGrid(overview)->RData(0), QStringLiteral("4"));
    }

    // Runs the steps in the edit window once it shows (its modal loop is running then). The
    // steps close it; a step that failed leaves it to be closed here.
    void whenOpen(std::function<void(frmEditace &)> steps)
    {
        testsupport::whenShown<frmEditace>(m_scope.get(), std::move(steps));
    }

    static QLineEdit *edit(frmEditace &w, int box)
    {
        return w.cmb[size_t(box)]->lineEdit();
    }

    // Clicks into the box, selects what it holds and types over it.
    static void typeOver(frmEditace &w, int box, const QString &text)
    {
        testsupport::typeOver(edit(w, box), text);
    }

    static QStringList boxTexts(const frmEditace &w)
    {
        QStringList texts;
        for (size_t i = 2; i < w.cmb.size(); ++i)
            texts << w.cmb[i]->currentText();
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        m_scope = std::make_unique<QObject>();
        for (const char *key : {"chkAllRecords", "txtAllRecords", "PrehledWindowWidth", "PrehledWindowHeight", "mdiWindowState",
                                "mdiWindowWidth", "mdiWindowHeight", "mdiWindowLeft", "mdiWindowTop"})
            SmazInfo(QLatin1String(key));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        books();
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmEditace::Loaded();
        delete SaveBox::Loaded();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // The steps of a box's width; the window asks for the overview column's width + 200.
    void boxWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("box");
        QTest::newRow("0") << 0 << 500;
        QTest::newRow("500") << 500 << 500;
        QTest::newRow("501") << 501 << 1000;
        QTest::newRow("column of 1700") << 1700 + 200 << 2000;
        QTest::newRow("3000") << 3000 << 3000;
        QTest::newRow("column of 2900") << 2900 + 200 << 3500;
        QTest::newRow("wide") << 9000 << 3500;
    }
    void boxWidth()
    {
        QFETCH(int, width);
        QFETCH(int, box);
        QCOMPARE(frmEditace::ZaokrouhliSirku(width), box);
    }

    // From the main window's menu: two saves of a new record create two records with the
    // counter's keys, each a row of the overview.
    void newRecordSavedTwice()
    {
        frmPrehled &overview = loadOverview();
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        bool ran = false;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Editace nového záznamu"));
            QCOMPARE(boxTexts(w), (QStringList{"", "", "", ""}));
            QCOMPARE(w.txtPopis->toPlainText(), QString());
            typeOver(w, Nazev, QStringLiteral("O'Neil"));
            typeOver(w, Cena, QStringLiteral("1,5"));
            typeOver(w, Vydano, QStringLiteral("7"));
            typeOver(w, Autor, QStringLiteral("Eugene"));
            QTest::mouseClick(w.txtPopis->viewport(), Qt::LeftButton);
            QTest::keyClicks(w.txtPopis, QStringLiteral("hra"));
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(notices.texts, QStringList{"Změny byly uloženy"});
            QVERIFY(w.isVisible());
            QCOMPARE(count(QStringLiteral("Inter=41")), 1);

            typeOver(w, Nazev, QStringLiteral("Druhý"));
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(notices.texts.size(), 2);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // saved: nothing to ask
            ran = true;
        });
        testsupport::chooseFromMenu(main.mnuKatalog, nullptr, main.mnuNew);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmEditace::Loaded());

        QCOMPARE(keyCounter(), 43);
        const QString date = storedDayOfThisMonth(7);
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol1c='O''Neil' and Pol2n=1.5 and Pol3d='%1' and Pol4c='Eugene' "
                                      "and Poznamka='hra' and Sekce=1").arg(date)), 1);
        QCOMPARE(count(QStringLiteral("Inter=42 and Pol1c='Druhý' and Pol2n=1.5 and Pol3d='%1' and Sekce=1").arg(date)), 1);
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol5c='' and Pol5n=0 and Pol5d is null")), 1);

        const QMap<QString, QString> rows = gridRows();
        const QString shownDate = QStringLiteral("7.%1.%2").arg(QDate::currentDate().month()).arg(QDate::currentDate().year());
        QCOMPARE(rows.value(QStringLiteral("41")), QStringLiteral("41|O'Neil|1,5|%1|Eugene|X").arg(shownDate));
        QCOMPARE(rows.value(QStringLiteral("42")), QStringLiteral("42|Druhý|1,5|%1|Eugene|X").arg(shownDate));
        QCOMPARE(overviewGrid(overview)->Rows() - 1, 4);
        QCOMPARE(drawnRows(), overviewGrid(overview)->Rows());
        QCOMPARE(counterText(), QStringLiteral("4 záznamy"));
        sameAsAFreshLoad();
    }

    // A copy: a new key, the shown fields and the note of the record, the current
    // section; neither the hidden fields nor the attachments come along.
    void copy()
    {
        frmPrehled &overview = loadOverview();
        frmMain::Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&frmMain::Form()));
        overviewGrid(overview)->Row(1);
        QCOMPARE(overviewGrid(overview)->RData(0), QStringLiteral("1"));
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);  // "copy and edit the record?"
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Aktualizace záznamu"));
            QCOMPARE(boxTexts(w), (QStringList{"Čapek", "1,5", "5.3.2026", "Karel"}));
            QCOMPARE(w.txtPopis->toPlainText(), QStringLiteral("první"));
            typeOver(w, Autor, QStringLiteral("Josef"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        testsupport::chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuCopy);
        QVERIFY(!frmEditace::Loaded());
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Zkopírovat a upravit záznam?"));
        QVERIFY(notices.texts.isEmpty());  // OK saves quietly

        QCOMPARE(count(QStringLiteral("Inter=41 and Pol1c='Čapek' and Pol2n=1.5 and Pol3d='2026-03-05 00:00:00' "
                                      "and Pol4c='Josef' and Poznamka='první' and Sekce=1 and Pol5c=''")), 1);
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol4c='Karel' and Pol5c='tajné'")), 1);
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=41")).toLong(), 0);
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=1")).toLong(), 1);
        QCOMPARE(keyCounter(), 42);
        QCOMPARE(gridRows().value(QStringLiteral("41")), QStringLiteral("41|Čapek|1,5|5.3.2026|Josef|X"));
        QCOMPARE(drawnRows(), overviewGrid(overview)->Rows());
        sameAsAFreshLoad();
    }

    // An edit: the entry rules, the record's own grid row rewritten although the cursor
    // went to another row, and the counter untouched.
    void edit()
    {
        frmPrehled &overview = loadOverview();
        overviewGrid(overview)->Row(2);
        QCOMPARE(overviewGrid(overview)->RData(0), QStringLiteral("2"));
        const QString otherRow = gridRows().value(QStringLiteral("1"));
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Aktualizace záznamu"));
            QCOMPARE(boxTexts(w), (QStringList{"Hašek", "250", "", "Jaroslav"}));
            typeOver(w, Nazev, QStringLiteral("O'Neil"));
            typeOver(w, Cena, QStringLiteral("1,5"));
            typeOver(w, Vydano, QStringLiteral("7"));
            typeOver(w, Autor, QStringLiteral("Eugene"));
            // Left, the boxes hold what their rules made of the typing.
            QCOMPARE(boxTexts(w)[1], QStringLiteral("1.5"));
            QCOMPARE(boxTexts(w)[2], QStringLiteral("7.%1.%2").arg(QDate::currentDate().month()).arg(QDate::currentDate().year()));
            overviewGrid(overview)->Row(1);
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(count(QStringLiteral("Inter=2 and Pol1c='O''Neil' and Pol2n=1.5 and Pol3d='%1' and Pol4c='Eugene'")
                               .arg(storedDayOfThisMonth(7))),
                     1);
            QCOMPARE(gridRows().value(QStringLiteral("1")), otherRow);
            QCOMPARE(overviewGrid(overview)->Row(), 1);
            sameAsAFreshLoad();

            // A day that February lacks is no date: the field goes back to Null.
            typeOver(w, Vydano, QStringLiteral("31.2.2026"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(2, false);
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(count(QStringLiteral("Inter=2 and Pol3d is null and Pol1c='O''Neil'")), 1);
        QCOMPARE(count(QStringLiteral("1=1")), 3);
        QCOMPARE(keyCounter(), 41);
        QCOMPARE(gridRows().value(QStringLiteral("2")), QStringLiteral("2|O'Neil|1,5||Eugene|X"));
        sameAsAFreshLoad();
    }

    // Emptied boxes: the date goes back to Null (never ''), the number to 0.
    void emptiedDateAndNumber()
    {
        loadOverview();
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(boxTexts(w), (QStringList{"Čapek", "1,5", "5.3.2026", "Karel"}));
            typeOver(w, Cena, QString());
            typeOver(w, Vydano, QString());
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(1, false);
        QCOMPARE(scalar(QStringLiteral("select typeof(Pol3d) from Katalog where Inter=1")).toString(), QStringLiteral("null"));
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol2n=0 and Pol3d is null")), 1);
        QCOMPARE(gridRows().value(QStringLiteral("1")), QStringLiteral("1|Čapek|0||Karel|X"));
        sameAsAFreshLoad();
    }

    // The database refusing the save: nothing half-written, the window stays with the
    // user's edits and says why; Yes to the closing question closes only once a save went
    // through.
    void failedSave()
    {
        frmPrehled &overview = loadOverview();
        Db->Execute(QStringLiteral("create trigger refuse before update on Katalog "
                                   "begin select raise(abort, 'Zamčeno zkouškou'); end"));
        const QString failed = QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\n");
        const QString question = QStringLiteral("Byly provedeny změny. Uložit?");
        const int critical = vbOKOnly | vbCritical;
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK).expect(vbYes).expect(vbOK).expect(vbYes);
        whenOpen([&](frmEditace &w) {
            const QString title = w.windowTitle();
            typeOver(w, Nazev, QStringLiteral("Nový"));
            typeOver(w, Cena, QStringLiteral("2,5"));
            const QStringList typed{"Nový", "2.5", "", ""};  // the number box is left for the button

            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].style, critical);
            QCOMPARE(boxes.shown()[0].title, title);
            QVERIFY2(boxes.shown()[0].text.startsWith(failed), qPrintable(boxes.shown()[0].text));
            QVERIFY2(boxes.shown()[0].text.contains(QStringLiteral("Zamčeno zkouškou")), qPrintable(boxes.shown()[0].text));
            QCOMPARE(keyCounter(), 41);
            QCOMPARE(count(QStringLiteral("1=1")), 3);
            QCOMPARE(boxTexts(w), typed);

            QTest::mouseClick(w.cmdOK, Qt::LeftButton);  // OK fails alike and stays
            QVERIFY(w.isVisible());
            w.close();  // Yes, save: it fails, the window stays
            QVERIFY(w.isVisible());
            QCOMPARE(boxes.shown().size(), size_t(4));
            expectBox(boxes, 2, vbYesNoCancel | vbQuestion, title, question);
            QVERIFY(boxes.shown()[3].text.startsWith(failed));
            QCOMPARE(boxTexts(w), typed);
            QCOMPARE(keyCounter(), 41);
            QVERIFY(notices.texts.isEmpty());

            Db->Execute(QStringLiteral("drop trigger refuse"));
            w.close();  // Yes again: saved, and only now closed
        });
        frmEditace::Form().Zobraz(0, false);
        QCOMPARE(boxes.shown().size(), size_t(5));
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(keyCounter(), 42);
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol1c='Nový' and Pol2n=2.5")), 1);
        QCOMPARE(overviewGrid(overview)->Rows() - 1, 3);
        sameAsAFreshLoad();
    }

    // A disk that fills up during the save: the message names the full disk, the window
    // keeps the user's text, and the save goes through once there is room.
    void fullDiskSaysWhy()
    {
        loadOverview();
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        const QString note = QStringLiteral("řádek poznámky\n").repeated(15000);
        whenOpen([&](frmEditace &w) {
            typeOver(w, Nazev, QStringLiteral("Plný disk"));
            w.txtPopis->setPlainText(note);  // pasted
            Db->Execute(QStringLiteral("PRAGMA max_page_count=1"));  // the file may grow no further
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text,
                     QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\ndatabase or disk is full"));
            QCOMPARE(w.cmb[Nazev]->currentText(), QStringLiteral("Plný disk"));
            Db->Execute(QStringLiteral("PRAGMA max_page_count=1000000"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(1, false);
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol1c='Plný disk' and length(Poznamka)=%1").arg(note.size())), 1);
    }

    // A number box is read by the number rule at every save, not only when it is left:
    // a statement typed into it and closed with Yes stores 0 and touches no other record.
    void numberCheckedAtEverySave()
    {
        loadOverview();
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        whenOpen([&](frmEditace &w) {
            typeOver(w, Cena, QStringLiteral("0 where 1=1 --"));
            QCOMPARE(QApplication::focusWidget(), w.cmb[Cena]);  // never left
            w.close();
        });
        frmEditace::Form().Zobraz(2, false);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(count(QStringLiteral("Inter=2 and Pol2n=0")), 1);
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol2n=1.5")), 1);
        QCOMPARE(count(QStringLiteral("Inter=3 and Pol2n=3")), 1);
    }

    // A text field takes 50 characters: the rest beeps and stays out, on the way the keys
    // of a user come (the box that has the focus) as well as into the line edit itself.
    // The note has no such limit.
    void textLength()
    {
        loadOverview();
        SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        const QString fifty = QString(48, QLatin1Char('a')) + QStringLiteral("žž");
        whenOpen([&](frmEditace &w) {
            typeOver(w, Nazev, fifty + QStringLiteral("xyz"));
            QCOMPARE(w.cmb[Nazev]->currentText(), fifty);
            QCOMPARE(sys::beepCount(), 3);

            typeOver(w, Autor, QString(49, QLatin1Char('b')));
            QCOMPARE(QApplication::focusWidget(), w.cmb[Autor]);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cd"));
            QCOMPARE(w.cmb[Autor]->currentText(), QString(49, QLatin1Char('b')) + QLatin1Char('c'));
            QCOMPARE(sys::beepCount(), 4);

            QTest::mouseClick(w.txtPopis->viewport(), Qt::LeftButton);
            QTest::keyClicks(w.txtPopis, QString(60, QLatin1Char('n')));
            QCOMPARE(w.txtPopis->toPlainText().size(), 60);
            QCOMPARE(sys::beepCount(), 4);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(0, false);
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol1c='%1' and length(Poznamka)=60").arg(fifty)), 1);
    }

    // The drop-down offers the distinct values of the current section only, in order, and
    // leaves the typed text in the box.
    void dropDown()
    {
        loadOverview();
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (4, 'Čapek', 1.5, 1)"));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        whenOpen([&](frmEditace &w) {
            typeOver(w, Nazev, QStringLiteral("Ab"));
            QCOMPARE(dropDownByArrow(w.cmb[Nazev]), (QStringList{"Čapek", "Hašek"}));
            QCOMPARE(w.cmb[Nazev]->currentText(), QStringLiteral("Ab"));

            QTest::mouseClick(edit(w, Cena), Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
            QCOMPARE(openedList(w.cmb[Cena]), (QStringList{"1,5", "250"}));
            QCOMPARE(w.cmb[Cena]->currentText(), QStringLiteral("1,5"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // edited: asks, No
        });
        frmEditace::Form().Zobraz(1, false);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol1c='Čapek'")), 1);
    }

    // The captions, translated: a new record's window and an update's or a copy's.
    void captions_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("new") << 0 << false << "EN 79" << QStringList{"", "", "", ""};
        QTest::newRow("update") << 1 << false << "EN 33" << QStringList{"Čapek", "1,5", "5.3.2026", "Karel"};
        QTest::newRow("copy") << 1 << true << "EN 33" << QStringList{"Čapek", "1,5", "5.3.2026", "Karel"};
    }
    void captions()
    {
        QFETCH(int, key);
        QFETCH(bool, copy);
        QFETCH(QString, caption);
        QFETCH(QStringList, texts);
        loadOverview();
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= 420; ++i)
            Preklady->add(QString::number(i), QStringLiteral("EN %1").arg(i));
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.windowTitle(), caption);
            QCOMPARE(boxTexts(w), texts);
            QCOMPARE(w.lbl[Nazev]->text(), QStringLiteral("Název"));  // the user's caption
            QCOMPARE(w.lblPopis->text(), QStringLiteral("EN 222"));
            QCOMPARE(w.cmdSave->text(), QStringLiteral("EN 20"));
            QCOMPARE(w.cmdOK->toolTip(), QStringLiteral("EN 353"));
            QCOMPARE(w.cmdEnd->text(), QStringLiteral("EN 17"));
            QTest::keyClick(&w, Qt::Key_Escape);  // unchanged: closes without a question
        });
        frmEditace::Form().Zobraz(key, copy);
        QVERIFY(boxes.shown().empty());
        QCOMPARE(count(QStringLiteral("1=1")), 3);
    }

    // Four fields: three rows in the first column, one in the second, both from the top;
    // the note spans both columns; the boxes are as wide as the overview's columns say.
    void twoColumns()
    {
        frmPrehled &overview = loadOverview();
        overviewGrid(overview)->ColWidth(1, 1700);
        overviewGrid(overview)->ColWidth(2, 2900);
        overviewGrid(overview)->ColWidth(3, 0);
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.cmb.size(), size_t(6));
            const QRect a = w.cmb[Nazev]->geometry(), b = w.cmb[Cena]->geometry(), c = w.cmb[Vydano]->geometry(),
                        d = w.cmb[Autor]->geometry();
            QCOMPARE(b.x(), a.x());
            QCOMPARE(c.x(), a.x());
            QCOMPARE(b.y() - a.y(), sys::toPixels(360));
            QCOMPARE(c.y() - b.y(), sys::toPixels(360));
            QCOMPARE(d.y(), a.y());
            QCOMPARE(a.width(), sys::toPixels(2000));
            QCOMPARE(b.width(), sys::toPixels(3500));
            QCOMPARE(c.width(), sys::toPixels(500));
            QCOMPARE(a.y(), sys::toPixels(150 - 60));
            // The second column starts right of the first one's widest box, its caption first.
            const QRect caption = w.lbl[Autor]->geometry();
            QCOMPARE(caption.y(), d.y() + sys::toPixels(60));
            QVERIFY(caption.x() >= b.right());
            QVERIFY(d.x() > caption.right());
            QCOMPARE(w.lbl[Nazev]->x(), sys::toPixels(90));
            QVERIFY(w.lbl[Nazev]->geometry().right() < a.x());
            // The note starts under the first column and ends where the second column does.
            const QRect note = w.txtPopis->geometry();
            QCOMPARE(note.x(), a.x());
            QCOMPARE(note.x() + note.width(), d.x() + d.width());
            QVERIFY(note.y() > c.bottom());
            QVERIFY(w.fra->geometry().y() > note.bottom());
            QVERIFY(w.fra->geometry().right() < w.width());
            QVERIFY(w.width() > d.right());
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(1, false);
    }

    // One field: no second column, the note as wide as the box and 500 twips more.
    void oneColumn()
    {
        testsupport::defineSection(3, QStringLiteral("Jedno"), {{"Název", "C"}});
        selectSection(QStringLiteral("3"));
        frmPrehled &overview = frmPrehled::Form();
        overview.Zobraz();
        overview.NactiData();
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.cmb.size(), size_t(3));
            const QRect box = w.cmb[2]->geometry();
            QCOMPARE(w.txtPopis->x(), box.x());
            QCOMPARE(w.txtPopis->width(), box.width() + sys::toPixels(500));
            const int captionWidth = sys::toTwips(box.x()) - 190;  // to a pixel
            QVERIFY(qAbs(w.width() - sys::toPixels(captionWidth + sys::toTwips(box.width()) + 890)) <= 1);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(0, false);
    }

    // A record whose date holds a time of day, edited or copied through the main window's
    // menu: the boxes the user did not touch store what they were given, the time of day
    // and every digit of the number included.
    void untouchedFieldsKeepTheirValues_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::newRow("Aktualizace záznamu") << false;
        QTest::newRow("Kopie záznamu") << true;
    }
    void untouchedFieldsKeepTheirValues()
    {
        QFETCH(bool, copy);
        frmMain &main = frmMain::Form();
        overviewOnRecord4();
        testsupport::ScriptedBoxes boxes;
        if (copy)
            boxes.expect(vbOK);  // "copy and edit the record?"
        bool ran = false;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(boxTexts(w), (QStringList{"Revize", "1883,9", "12.3.2025 20:39:20", "Novák"}));
            typeOver(w, Nazev, QStringLiteral("Revize 2"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // on through the number
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // and the date
            QCOMPARE(boxTexts(w), (QStringList{"Revize 2", "1883,9", "12.3.2025 20:39:20", "Novák"}));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        testsupport::chooseFromMenu(main.mnuKatalog, nullptr, copy ? main.mnuCopy : main.mnuUpdate);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmEditace::Loaded());
        const QString key = copy ? QStringLiteral("41") : QStringLiteral("4");
        QCOMPARE(scalar(QStringLiteral("select Pol3d from Katalog where Inter=") + key).toDateTime(),
                 QDateTime(QDate(2025, 3, 12), QTime(20, 39, 20), Qt::UTC));
        QCOMPARE(count(QStringLiteral("Inter=%1 and Pol1c='Revize 2' and Pol4c='Novák' and abs(Pol2n - 1883.9) < 1e-4").arg(key)), 1);
        QCOMPARE(count(QStringLiteral("Inter=4 and Pol3d='2025-03-12 20:39:20'")), 1);
        QCOMPARE(gridRows().value(key), QStringLiteral("%1|Revize 2|1883,9|12.3.2025 20:39:20|Novák|X").arg(key));
    }

    // Moving through the boxes of a record changes nothing, and neither does typing a
    // value over itself in another form: Escape closes without a question, nothing saved.
    void movingThroughIsNoChange()
    {
        frmMain &main = frmMain::Form();
        overviewOnRecord4();
        testsupport::ScriptedBoxes boxes;  // no question expected
        bool ran = false;
        whenOpen([&](frmEditace &w) {
            const QStringList given{"Revize", "1883,9", "12.3.2025 20:39:20", "Novák"};
            QCOMPARE(QApplication::focusWidget(), w.cmb[Nazev]);
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w.txtPopis);
            QCOMPARE(boxTexts(w), given);
            typeOver(w, Cena, QStringLiteral("1883.90"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(boxTexts(w)[1], QStringLiteral("1883.9"));  // the number rule, for a typed text
            typeOver(w, Autor, QStringLiteral("Nováková"));
            typeOver(w, Autor, QStringLiteral("Novák"));  // and back
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            ran = true;
        });
        testsupport::chooseFromMenu(main.mnuKatalog, nullptr, main.mnuUpdate);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmEditace::Loaded());
        QVERIFY(boxes.shown().empty());
        QCOMPARE(count(QStringLiteral("Inter=4 and Aktualizace is null and Pol3d='2025-03-12 20:39:20'")), 1);
    }

    // Enter and Down go on to the next box, Up back, never browsing a box's list; in the
    // note Enter is a line break.
    void keysMoveTheFocus()
    {
        loadOverview();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        whenOpen([&](frmEditace &w) {
            QCOMPARE(QApplication::focusWidget(), w.cmb[Nazev]);
            const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
                QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            };
            press(Qt::Key_F4);
            QCOMPARE(openedList(w.cmb[Nazev]), (QStringList{"Čapek", "Hašek"}));
            press(Qt::Key_Down);  // not to "Hašek": to the next box
            QCOMPARE(QApplication::focusWidget(), w.cmb[Cena]);
            QCOMPARE(w.cmb[Nazev]->currentText(), QStringLiteral("Čapek"));
            press(Qt::Key_Up);
            QCOMPARE(QApplication::focusWidget(), w.cmb[Nazev]);
            press(Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), w.cmb[Cena]);
            press(Qt::Key_Down);
            QCOMPARE(QApplication::focusWidget(), w.cmb[Vydano]);
            press(Qt::Key_Up);
            QCOMPARE(QApplication::focusWidget(), w.cmb[Cena]);
            press(Qt::Key_Down, Qt::AltModifier);  // not the list: the next box
            QCOMPARE(QApplication::focusWidget(), w.cmb[Vydano]);
            QVERIFY(!w.cmb[Vydano]->view()->isVisible());
            press(Qt::Key_Enter);
            QCOMPARE(QApplication::focusWidget(), w.cmb[Autor]);
            press(Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), w.txtPopis);
            QCOMPARE(boxTexts(w), (QStringList{"Čapek", "1,5", "5.3.2026", "Karel"}));  // untouched, as given

            QTest::keyClicks(w.txtPopis, QStringLiteral("a"));
            press(Qt::Key_Return);
            QTest::keyClicks(w.txtPopis, QStringLiteral("b"));
            QCOMPARE(QApplication::focusWidget(), w.txtPopis);
            QCOMPARE(w.txtPopis->toPlainText(), QStringLiteral("a\nbprvní"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        frmEditace::Form().Zobraz(1, false);
        QCOMPARE(scalar(QStringLiteral("select Poznamka from Katalog where Inter=1")).toString(), QStringLiteral("první"));
    }

    // Closing an unchanged window asks nothing; after an edit it asks whether to save:
    // Cancel keeps the window, No closes it without saving.
    void closeQuestion()
    {
        loadOverview();
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) { QTest::mouseClick(w.cmdEnd, Qt::LeftButton); });
        frmEditace::Form().Zobraz(1, false);
        QVERIFY(boxes.shown().empty());

        boxes.expect(vbCancel).expect(vbNo);
        whenOpen([&](frmEditace &w) {
            typeOver(w, Autor, QStringLiteral("Josef"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(w.cmb[Autor]->currentText(), QStringLiteral("Josef"));
            expectBox(boxes, 0, vbYesNoCancel | vbQuestion, w.windowTitle(), QStringLiteral("Byly provedeny změny. Uložit?"));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        frmEditace::Form().Zobraz(1, false);
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(count(QStringLiteral("Inter=1 and Pol4c='Karel'")), 1);
    }

    // With the overview closed, a new record takes the section's own fields and is saved;
    // the record commands that need the overview's row only beep.
    // The strip under the overview follows the current record's description field when
    // the edit window writes it back, and the first record of an empty section fills it.
    void descriptionStripShowsTheSavedText()
    {
        Db->Execute(QStringLiteral("update Definice set Popis=1 where Pol='Pol4' and Sekce=1"));
        Db->Execute(QStringLiteral("delete from Katalog where Sekce=1"));
        frmPrehled &overview = loadOverview();
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(overview.txtPopis->text(), QString());
        whenOpen([&](frmEditace &w) {
            typeOver(w, Nazev, QStringLiteral("Čapek"));
            typeOver(w, Autor, QStringLiteral("Karel"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        testsupport::chooseFromMenu(main.mnuKatalog, nullptr, main.mnuNew);
        QTRY_VERIFY(!frmEditace::Loaded() || !frmEditace::Loaded()->isVisible());
        QCOMPARE(overviewGrid(overview)->RData(1), QStringLiteral("Čapek"));
        QCOMPARE(overview.txtPopis->text(), QStringLiteral("Karel"));

        whenOpen([&](frmEditace &w) {
            typeOver(w, Autor, QStringLiteral("Eugene"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        testsupport::chooseFromMenu(main.mnuKatalog, nullptr, main.mnuUpdate);
        QTRY_VERIFY(!frmEditace::Loaded() || !frmEditace::Loaded()->isVisible());
        QCOMPARE(overview.txtPopis->text(), QStringLiteral("Eugene"));
    }

    void newRecordWithoutOverview()
    {
        selectSection(QStringLiteral("1"));
        QVERIFY(!frmPrehled::Loaded());
        frmMain::Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&frmMain::Form()));
        testsupport::ScriptedBoxes boxes;
        whenOpen([&](frmEditace &w) {
            QCOMPARE(w.cmb.size(), size_t(6));
            QCOMPARE(w.lbl[Vydano]->text(), QStringLiteral("Vydáno"));
            typeOver(w, Nazev, QStringLiteral("Bez přehledu"));
            typeOver(w, Vydano, QStringLiteral("1.2.2026"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        testsupport::chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuNew);
        QVERIFY(!frmEditace::Loaded());
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol1c='Bez přehledu' and Pol3d='2026-02-01 00:00:00' and Sekce=1")), 1);
        QVERIFY(!frmPrehled::Loaded());

        testsupport::chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuUpdate);
        testsupport::chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuCopy);
        QVERIFY(!frmEditace::Loaded());
        QCOMPARE(sys::beepCount(), 2);
    }
};

QTEST_MAIN(TestRecordEdit)
#include "tst_recordedit.moc"
