// The overview's commands on its records, its header events, and every command of the
// main window reaching its window.
#include "VarnexEditUni.h"
#include "columntable.h"
#include "common/mainframe.h"
#include "data/infosettings.h"
#include "grid.h"
#include "mainwindow/views.h"
#include "menudriver.h"
#include "msgbox.h"
#include "commandfixture.h"
#include "output/frmTisk.h"
#include "records/frmVyber.h"
#include "system.h"
#include "testhost.h"
#include "data/currentoverview.h"
#include "overviewgrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabBar>
#include <QTableView>
#include <QPointer>
#include <QtTest>

using namespace testsupport;

namespace {

// Deletes as the user does, by the main menu's item or by the record popup opened on grid
// row `row`, and answers Yes; the questions asked.
QStringList deleteAnsweringYes(FlexGrid *grid, int row, bool byPopup)
{
    testsupport::ScriptedBoxes boxes;
    boxes.expect(vbYes);
    if (byPopup) {
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("Smazat záznam")); });
        clickCell(grid, row, 1, Qt::RightButton);
    } else {
        frmMain &main = frmMain::Form();
        chooseFromMenu(main.mnuKatalog, nullptr, main.mnuDelete);
    }
    (void)QTest::qWaitFor([&boxes] { return !boxes.shown().empty(); });
    QStringList texts;
    for (const msgbox::Shown &box : boxes.shown())
        texts << box.text;
    return texts;
}

// The views that are open, each by its window. Held by guarded pointers: a window made
// anew may take the address of one that was freed.
QList<QPointer<QObject>> openViews()
{
    return {frmPrehled::Loaded(), frmVyber::Loaded(), frmNahled::Loaded()};
}

}  // namespace

class TestOverviewActions : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;

    static QString count(const QString &sql) { return scalar(sql).toString(); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<CatalogFolder>();
        attachmentCatalog(*m_folder);
    }
    void cleanup()
    {
        UnloadViews();
        frmMain::Unload();
        m_folder.reset();
    }

    // Each code on record 12 with its first attachment's tab selected, or on its note tab.
    void codesOnARecord_data()
    {
        QTest::addColumn<qint16>("code");
        QTest::addColumn<bool>("noteTab");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<int>("beeps");
        QTest::newRow("0 edit") << qint16(0) << false << QStringList{"frmEditace|Aktualizace záznamu"} << 0;
        QTest::newRow("4 attachment") << qint16(4) << false << QStringList{"frmPriradObr|2,5 mm"} << 0;
        QTest::newRow("4 on the note") << qint16(4) << true << QStringList{} << 1;
        QTest::newRow("5 new attachment") << qint16(5) << false << QStringList{"frmPriradObr|Náhled"} << 0;
        QTest::newRow("3 separator") << qint16(3) << false << QStringList{} << 0;
        QTest::newRow("6 separator") << qint16(6) << false << QStringList{} << 0;
        QTest::newRow("9 unknown") << qint16(9) << false << QStringList{} << 0;
    }
    void codesOnARecord()
    {
        QFETCH(qint16, code);
        QFETCH(bool, noteTab);
        QFETCH(QStringList, dialogs);
        QFETCH(int, beeps);
        openViewsOnRecord12();
        frmNahled &preview = frmNahled::Form();
        if (noteTab)
            QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(3).center());
        testsupport::ScriptedBoxes boxes;
        DialogCloser closer;
        const int loads = preview.PocetNacteni;
        sys::resetBeepCount();
        frmPrehled::Form().vEdit_Record(code);
        QCOMPARE(closer.seen_, dialogs);
        QCOMPARE(sys::beepCount(), beeps);
        // Every code ends with the preview in step with the current record.
        QCOMPARE(preview.PocetNacteni, loads + 1);
        QCOMPARE(preview.tabS->count(), 4);
    }

    // The copy asks first; only OK opens the edit window on the copy.
    void copyAsksFirst()
    {
        openViewsOnRecord12();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbCancel).expect(vbOK);
        DialogCloser closer;
        qint16 copy = 1;
        frmPrehled::Form().vEdit_Record(copy);
        QVERIFY(closer.seen_.isEmpty());
        frmPrehled::Form().vEdit_Record(copy);
        QCOMPARE(closer.seen_, QStringList{"frmEditace|Aktualizace záznamu"});
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Zkopírovat a upravit záznam?"));
        QCOMPARE(count(QStringLiteral("select count(*) from Katalog")), QStringLiteral("3"));
    }

    // With no record in the grid, the commands on a record only beep: no window, no box,
    // not even the preview's refresh.
    void noRecordOnlyBeeps_data()
    {
        QTest::addColumn<qint16>("code");
        for (qint16 code : {0, 1, 2, 4, 5, 7})
            QTest::newRow(qPrintable(QString::number(code))) << code;
    }
    void noRecordOnlyBeeps()
    {
        QFETCH(qint16, code);
        Db->Execute(QStringLiteral("delete from Katalog"));
        frmPrehled &overview = showOverview();
        frmNahled &preview = frmNahled::Form();
        preview.Zobraz();
        QTRY_VERIFY(!overview.tmr->isActive());
        const int loads = preview.PocetNacteni;
        testsupport::ScriptedBoxes boxes;
        DialogCloser closer;
        sys::resetBeepCount();
        overview.vEdit_Record(code);
        QCOMPARE(sys::beepCount(), 1);
        QVERIFY(closer.seen_.isEmpty());
        QCOMPARE(preview.PocetNacteni, loads);
    }

    // Marked rows go, each record once with its attachment rows; the other records and
    // the attachment files stay, and the preview shows nothing of the deleted ones.
    void deletesAMarkedRange()
    {
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (14, 'D zůstane', 1)"));
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) values (14, 1, 'foto.JPG', 'Též')"));
        frmPrehled &overview = showOverview();
        frmNahled &preview = frmNahled::Form();
        preview.Zobraz();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        FlexGrid *grid = overviewGrid(overview)->grid();
        clickCell(grid, 2, 1);
        QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          cellCentre(grid, 3, 1));
        QCOMPARE(overviewGrid(overview)->RowSel(), 3);

        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        frmMain &main = frmMain::Form();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        chooseFromMenu(main.mnuKatalog, nullptr, main.mnuDelete);
        QTRY_COMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Zrušit všechny označené řádky? (2)"));

        QCOMPARE(count(QStringLiteral("select group_concat(Inter) from (select Inter from Katalog order by Inter)")),
                 QStringLiteral("11,14"));
        QCOMPARE(count(QStringLiteral("select group_concat(Inter) from (select distinct Inter from Obrazky order by Inter)")),
                 QStringLiteral("14"));
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("img/foto.JPG"))));
        QTRY_VERIFY(!overview.tmr->isActive());
        const qint32 key = qint32(vbVal(overviewGrid(overview)->RData(0)));
        QVERIFY(key == 11 || key == 14);
        for (int t = 0; t < preview.tabS->count(); ++t)
            QVERIFY(preview.tabS->tabText(t) != QStringLiteral("Sken") && preview.tabS->tabText(t) != QStringLiteral("Chybí"));
    }

    // A click on a column's header sorts, and the first row is then current and alone
    // marked: the delete that follows, by the main menu or by the record popup, asks for
    // that one record and takes it alone, never the section.
    void headerClickThenDeleteTakesOneRecord_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::newRow("main menu") << false;
        QTest::newRow("record popup") << true;
    }
    void headerClickThenDeleteTakesOneRecord()
    {
        QFETCH(bool, popup);
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (14, 'D čtvrtý', 1)"));
        frmPrehled &overview = showOverview();
        frmMain &main = frmMain::Form();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        FlexGrid *grid = overviewGrid(overview)->grid();
        // Sorted by the title already: the click turns the order round.
        clickCellQueued(grid, 0, 1);
        QCOMPARE(keysInOrder(grid), QStringList({"14", "13", "12", "11"}));
        QCOMPARE(overviewGrid(overview)->Row(), 1);
        QCOMPARE(overviewGrid(overview)->RowSel(), 1);

        QCOMPARE(deleteAnsweringYes(grid, 1, popup), QStringList{"Opravdu zrušit řádek?"});
        QCOMPARE(count(QStringLiteral("select group_concat(Inter) from (select Inter from Katalog order by Inter)")),
                 QStringLiteral("11,12,13"));
    }

    // After a record is deleted, by the main menu or by the record popup, the grid's
    // popups open again at a right click, over a row and over the header, and the counter
    // under the grid tells the records left.
    void popupsAndCounterAfterADelete_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::newRow("main menu") << false;
        QTest::newRow("record popup") << true;
    }
    void popupsAndCounterAfterADelete()
    {
        QFETCH(bool, popup);
        frmPrehled &overview = showOverview();
        frmMain &main = frmMain::Form();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        FlexGrid *grid = overviewGrid(overview)->grid();
        auto *counter = overviewGrid(overview)->findChild<QLabel *>(QStringLiteral("lblRecord"));
        QCOMPARE(counter->text(), QStringLiteral("3 záznamy"));
        clickCell(grid, 2, 1);

        QCOMPARE(deleteAnsweringYes(grid, 2, popup), QStringList{"Opravdu zrušit řádek?"});
        QCOMPARE(count(QStringLiteral("select group_concat(Inter) from (select Inter from Katalog order by Inter)")),
                 QStringLiteral("11,13"));
        QVERIFY(counter->isVisible());
        QCOMPARE(counter->text(), QStringLiteral("2 záznamy"));

        // The items of the popup that a right click on the cell opens, then closed.
        const auto popupItems = [grid](int row) {
            auto items = std::make_shared<QStringList>();
            whenPopupOpens([items](QMenu *menu) {
                for (QAction *item : menu->actions())
                    if (item->isVisible() && !item->isSeparator())
                        *items << item->text();
                menu->close();
            });
            clickCell(grid, row, 1, Qt::RightButton);
            (void)QTest::qWaitFor([&items] { return !items->isEmpty(); });
            return *items;
        };
        QCOMPARE(popupItems(1).value(0), QStringLiteral("Aktualizace záznamu"));
        QCOMPARE(overviewGrid(overview)->Row(), 1);
        QVERIFY(popupItems(0).contains(QStringLiteral("Třídit A-Z")));
    }

    // A selection that finds nothing keeps the one in force, in the grid, in the control's
    // condition and in its text alike: deleting the selected records afterwards takes
    // only what the grid shows, never the whole section.
    void emptyReselectionKeepsTheCondition()
    {
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (15, 'Zeta', 1)"));
        frmPrehled &overview = showOverview();
        FlexGrid *grid = overviewGrid(overview)->grid();
        const auto select = [&](const char *item, const QString &value) {
            whenPopupOpens([=](QMenu *menu) {
                whenDialogOpens([=](QDialog *d) {
                    QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txt")), value);
                    QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmd")), Qt::LeftButton);
                });
                clickMenuItem(menu, QLatin1String(item));
            });
            clickCell(grid, 0, 1, Qt::RightButton);
        };
        testsupport::ScriptedBoxes boxes;
        select("mnuVyber", QStringLiteral("Zeta"));
        QCOMPARE(keysInOrder(grid), QStringList{"15"});
        const QString where = overviewGrid(overview)->Where();
        const QString text = overviewGrid(overview)->WhereText();
        QVERIFY(!where.isEmpty());
        boxes.expect(vbOK);
        select("mnuVyber", QStringLiteral("nic takoveho"));
        QCOMPARE(boxes.shown().back().text, QStringLiteral("Zadané podmínce neodpovídá žádný záznam."));
        QCOMPARE(keysInOrder(grid), QStringList{"15"});
        QCOMPARE(overviewGrid(overview)->Where(), where);
        QCOMPARE(overviewGrid(overview)->WhereText(), text);

        boxes.expect(vbYes);
        chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuDeleteAll);
        QCOMPARE(count(QStringLiteral("select group_concat(Inter) from (select Inter from Katalog order by Inter)")),
                 QStringLiteral("11,12,13"));
    }

    // Column captions and alignments belong to the column's own field, whatever hidden
    // fields stand before it; the defaults come from the same field's default definition.
    void headersFollowTheirOwnField()
    {
        // Section 1: Pol1 "Název" shown; Pol2 hidden before Pol3 "Autor" and Pol4 "Rok".
        defineField(1, 2, 2, false, QStringLiteral("Skryté"), QStringLiteral("C"));
        defineField(1, 3, 3, true, QStringLiteral("Autor"), QStringLiteral("C"));
        defineField(1, 4, 4, true, QStringLiteral("Rok"), QStringLiteral("N"));
        Db->Execute(QStringLiteral("insert into Sekce values (2, 'Hudba')"));
        defineField(2, 1, 3, true, QStringLiteral("Autor jinde"), QStringLiteral("C"));
        for (auto [poradi, pol, nazev, zarovnani] : {std::tuple{1, 1, "Titul", "C"}, std::tuple{2, 2, "Výchozí skryté", "L"},
                                                    std::tuple{3, 3, "Spisovatel", "R"}, std::tuple{4, 4, "Vydáno", "R"}})
            Db->Execute(QStringLiteral("insert into VychoziDefinice (Poradi, Pol, Nazev, Zarovnani, Sekce) "
                                       "values (%1, 'Pol%2', '%3', '%4', 1)")
                            .arg(poradi).arg(pol).arg(QString::fromUtf8(nazev), QLatin1String(zarovnani)));
        frmPrehled &overview = showOverview();
        frmVyber &selection = frmVyber::Form();
        selection.Zobraz();
        selection.NactiData();
        QCOMPARE(Prehled().SloupcePrehledu()[2].Jmeno, QStringLiteral("Pol3C"));

        // The set-up dialog's defaults: columns 1..3 of 5 (key, three fields, state).
        ColumnTable defaults(4);
        defaults.Resize(4);
        const char *letters[] = {"S", "L", "N", "L", "S"};
        for (int c = 0; c <= 4; ++c) {
            defaults(3, c) = Variant(QStringLiteral("před"));
            defaults(4, c) = Variant(QString::fromLatin1(letters[c]));
        }
        overviewGrid(overview)->DefaultHeader(defaults);
        QCOMPARE(defaults(3, 1).toString(), QStringLiteral("Titul"));
        QCOMPARE(defaults(4, 1).toString(), QStringLiteral("C"));
        QCOMPARE(defaults(3, 2).toString(), QStringLiteral("Spisovatel"));
        QCOMPARE(defaults(4, 2).toString(), QStringLiteral("N"));  // no stored alignment stays
        QCOMPARE(defaults(3, 3).toString(), QStringLiteral("Vydáno"));
        QCOMPARE(defaults(4, 3).toString(), QStringLiteral("R"));
        QCOMPARE(defaults(3, 4).toString(), QStringLiteral("před"));

        // The user renames column 2 and centres it; only Pol3 of section 1 changes.
        overviewGrid(overview)->TMatrix(0, 2, QStringLiteral("Autorka"));
        overviewGrid(overview)->ColAlign(2, 4);
        Q_EMIT overviewGrid(overview)->ChangeHeader();
        QCOMPARE(count(QStringLiteral("select Nazev || '/' || Zarovnani from Definice where Sekce=1 and Pol='Pol3'")),
                 QStringLiteral("Autorka/C"));
        QCOMPARE(count(QStringLiteral("select Nazev from Definice where Sekce=1 and Pol='Pol2'")), QStringLiteral("Skryté"));
        QCOMPARE(count(QStringLiteral("select Nazev from Definice where Sekce=2")), QStringLiteral("Autor jinde"));
        QCOMPARE(count(QStringLiteral("select Nazev from VychoziDefinice where Pol='Pol3'")), QStringLiteral("Spisovatel"));
        QCOMPARE(Prehled().SloupcePrehledu()[2].Titulek, QStringLiteral("Autorka"));
        QCOMPARE(Prehled().SloupcePrehledu()[2].Zarovnani, QStringLiteral("C"));
        QCOMPARE(Prehled().SloupcePrehledu()[3].Titulek, QStringLiteral("Rok"));
        QCOMPARE(selection.lbl[2]->text(), QStringLiteral("Autorka"));
    }

    // A definitions save of a section: the views open anew and every stored overview layout
    // of that section, for every login, takes its alignments from the definitions again.
    void definitionsSaveReloads()
    {
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("True"));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("True"));
        openViewsOnRecord12();
        const QList<QPointer<QObject>> before = openViews();
        for (auto [grid, login] : {std::pair{"frmPrehled_Sekce1", "PC1"}, std::pair{"frmPrehled_Sekce1", "Jana"},
                                   std::pair{"frmPrehled_Sekce2", "PC1"}})
            Db->Execute(QStringLiteral("insert into S_Grid (Tridit, Nazev, Zarovnani, ColWidth, ColName, GridName, Login) "
                                       "values (1, 'Titul', 'R', 1500, 'Katalog.Pol1C', '%1', '%2')")
                            .arg(QLatin1String(grid), QLatin1String(login)));
        frmMain::Form().PoUlozeniDefinic({1});
        QCOMPARE(count(QStringLiteral("select Zarovnani from S_Grid where GridName='frmPrehled_Sekce1' and Login='Jana'")),
                 QStringLiteral("N"));
        QCOMPARE(count(QStringLiteral("select group_concat(Zarovnani, '') from S_Grid where GridName='frmPrehled_Sekce2'")),
                 QStringLiteral("R"));
        // The layout the closing overview stored is reset too: the reset came after it.
        QCOMPARE(count(QStringLiteral("select count(*) from S_Grid where GridName='frmPrehled_Sekce1' and Zarovnani<>'N'")),
                 QStringLiteral("0"));
        QVERIFY(frmPrehled::Loaded() && frmVyber::Loaded() && frmNahled::Loaded());
        for (const QPointer<QObject> &view : openViews())
            QVERIFY(!before.contains(view));
        QCOMPARE(overviewGrid(*frmPrehled::Loaded())->Rows(), 4);
    }

    // A view command for a view that is open only brings it to the front: the same
    // window, not loaded again.
    void viewCommandRaisesAnOpenView()
    {
        openViewsOnRecord12();
        frmMain &main = frmMain::Form();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        frmPrehled *overview = frmPrehled::Loaded();
        main.mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(frmNahled::Form().parentWidget()));
        const int loads = frmNahled::Form().PocetNacteni;
        chooseFromMenu(main.mnuZobraz, nullptr, main.mnuZobrazPrehled);
        QTRY_COMPARE(main.mdiArea->activeSubWindow(), overview->parentWidget());
        QCOMPARE(frmPrehled::Loaded(), overview);
        QCOMPARE(overviewGrid(*overview)->Row(), 2);
        QCOMPARE(frmNahled::Form().PocetNacteni, loads);
    }

    // Every item of every menu of the main window, of the preview's popup and of the
    // grid's record menu, chosen with the mouse, is enabled and opens its window (or asks
    // its question).
    void everyCommandReachesItsWindow()
    {
        frmMain &main = mainOnRecord12WithTwoSections();
        if (QTest::currentTestFailed())
            return;

        const QMap<QString, QString> expected{
            {"mnuSekceX", "view:frmPrehled"},
            {"mnuNew", "frmEditace|Editace nového záznamu"},
            {"mnuCopy", "box:Zkopírovat a upravit záznam?"},
            {"mnuUpdate", "frmEditace|Aktualizace záznamu"},
            {"mnuDelete", "box:Opravdu zrušit řádek?"},
            {"mnuSekceM", "box:*"},
            {"mnuDeleteAll", "box:*"},
            {"mnuNahled", "frmPriradObr|2,5 mm"},
            {"mnuNahledAdd", "frmPriradObr|Náhled"},
            {"mnuZobrazPrehled", "view:frmPrehled"},
            {"mnuZobrazVyber", "view:frmVyber"},
            {"mnuZobrazNahled", "view:frmNahled"},
            {"mnuMajitel", "frmMajitel"},
            {"mnuNastAplikace", "frmNastav"},
            {"mnuNastSekce", "frmSekce*"},
            {"mnuNastKatalog", "frmDefinice*"},
            {"mnuZaloha", "box:Provést zálohu dat na disk?"},
            {"mnuObnova", "box:Provést obnovu*"},
            {"mnuApl", "frmLogo"},
            {"mnuExport", "frmExport*"},
            {"mnuImport", "frmImport*"},
            {"PopupNahled", "frmPriradObr|2,5 mm"},
            {"PopupNahledAdd", "frmPriradObr|Náhled"},
            {"PopupPopis", "frmEditace|Aktualizace záznamu"},
            {"Aktualizace záznamu", "frmEditace|Aktualizace záznamu"},
            {"Kopie záznamu", "box:Zkopírovat a upravit záznam?"},
            {"Smazat záznam", "box:Opravdu zrušit řádek?"},
            {"Změnit náhled", "frmPriradObr|2,5 mm"},
            {"Přidat náhled", "frmPriradObr|Náhled"},
            {"PopupNahledTisk", "frmTisk|12|1"},
            {"Tisk detailu", "frmTisk|12|1"},
        };
        QStringList walked;

        // One item: the state set up, the item chosen by `choose`, and what came of it.
        const auto check = [&](QAction *action, const QString &name, const std::function<void()> &choose) {
            walked << name;
            QVERIFY2(action->isEnabled(), qPrintable(name));
            QVERIFY2(expected.contains(name), qPrintable(QStringLiteral("no expectation for ") + name));
            openViewsOnRecord12();
            closeTheViewItOpens(name);
            const QList<QPointer<QObject>> views = openViews();
            AnsweringBoxes boxes(AnsweringBoxes::Cautious);
            DialogCloser closer;
            choose();
            QStringList outcome;
            const auto gather = [&] {
                outcome = closer.seen_;
                for (const QString &text : boxes.texts())
                    outcome << QStringLiteral("box:") + text;
                const QList<QPointer<QObject>> now = openViews();
                const char *names[] = {"frmPrehled", "frmVyber", "frmNahled"};
                for (int i = 0; i < 3; ++i)
                    if (now[i] && now[i] != views[i])
                        outcome << QStringLiteral("view:") + QLatin1String(names[i]);
                const QString want = expected.value(name);
                for (const QString &o : std::as_const(outcome))
                    if (want.endsWith(QLatin1Char('*')) ? o.startsWith(want.chopped(1)) : o == want)
                        return true;
                return false;
            };
            QTRY_VERIFY2_WITH_TIMEOUT(gather(), qPrintable(name + QStringLiteral(": ") + outcome.join(QLatin1String(", "))),
                                      3000);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        };

        // The menu bar's menus, opened with the mouse down to the item.
        std::function<void(QList<QMenu *>)> walk = [&](QList<QMenu *> chain) {
            QMenu *menu = chain.back();
            for (QAction *action : menu->actions()) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                if (action->menu()) {
                    if (action->isEnabled())
                        walk(chain + QList<QMenu *>{action->menu()});
                    continue;
                }
                const QString name = action->objectName();
                if (name == QLatin1String("mnuEnd"))
                    continue;  // ends the program: its own test
                check(action, name, [&] { chooseFromMenu(chain, action); });
            }
        };
        for (QAction *top : main.menuBar()->actions())
            if (top->menu())
                walk({top->menu()});

        // The preview's popup, from a right click on its picture.
        for (QAction *action : main.PopupNahledy->actions()) {
            check(action, action->objectName(), [&] {
                frmNahled &preview = frmNahled::Form();
                clickAt(&preview, preview.img, Qt::RightButton, true);
                testsupport::chooseFromOpenMenu(main.PopupNahledy, action);
            });
        }

        // The grid's record menu, from a right click on the record's row.
        openViewsOnRecord12();
        QMenu *record = nullptr;
        whenPopupOpens([&](QMenu *menu) { record = menu; menu->hide(); });
        clickCell(overviewGrid(frmPrehled::Form())->grid(), 2, 1, Qt::RightButton);
        QTRY_VERIFY(record);
        QTRY_VERIFY(!record->isVisible());
        for (QAction *action : record->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QString text = action->text();
            check(action, text, [&] {
                whenPopupOpens([text](QMenu *menu) { clickMenuItem(menu, text); });
                clickCell(overviewGrid(frmPrehled::Form())->grid(), 2, 1, Qt::RightButton);
            });
        }
        for (auto it = expected.keyBegin(); it != expected.keyEnd(); ++it)
            QVERIFY2(walked.contains(*it), qPrintable(*it));
    }
};

QTEST_MAIN(TestOverviewActions)
#include "tst_overviewactions.moc"
