// The catalog's sections: the rows a section is made of in the database, and the sections
// window opened from the main window's menu and driven as a user drives it.
#include "VarnexEditUni.h"
#include "menudriver.h"
#include "catalogfixture.h"
#include "common/mainframe.h"
#include "data/sections.h"
#include "grid.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "modaldriver.h"
#include "setup/frmSekce.h"
#include "testhost.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using testsupport::chooseFromMenu;
using testsupport::scalar;
using testsupport::whenShown;

namespace {

int count(const QString &sql)
{
    return scalar(QStringLiteral("select count(*) from ") + sql).toLong();
}

void addSection(int number, const QString &name)
{
    Db->Execute(QStringLiteral("insert into Sekce (Sekce, Nazev) values (%1, '%2')").arg(number).arg(name));
}

void addRecord(int key, int section)
{
    Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'Záznam', %2)").arg(key).arg(section));
}

// The sections as stored, "number name" in number order.
QStringList sections()
{
    QStringList list;
    auto rs = Db->OpenRecordset(QStringLiteral("select Sekce, Nazev from Sekce order by Sekce"));
    for (; !rs->Eof(); rs->MoveNext())
        list << rs->Fields(0).Value().toString() + QLatin1Char(' ') + rs->Fields(1).Value().toString();
    return list;
}

// Each grid row as "key name state", deleted rows included.
QStringList gridRows(VarnexEditUni *e)
{
    QStringList list;
    for (int r = 1; r < e->Rows(); ++r)
        list << e->TMatrix(r, 0) + QLatin1Char(' ') + e->TMatrix(r, 1) + QLatin1Char(' ') + e->TMatrix(r, 2);
    return list;
}

// Types over the name cell of a row: the first key opens the cell's editor with it, the
// rest go into the editor, Enter stores the name.
void typeName(VarnexEditUni *e, int row, const QString &name)
{
    // The offscreen platform gives the window no focus back after a box closed.
    e->window()->activateWindow();
    QTRY_VERIFY(e->window()->isActiveWindow());
    clickCell(e->grid(), row, 1);
    const qsizetype first = name.at(0).isHighSurrogate() ? 2 : 1;
    typeKeys(name.left(first));
    QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
    typeKeys(name.mid(first));
    pressKey(Qt::Key_Return);
}

// A Shift+click on a cell, which marks the rows from the current one to it.
void shiftClickCell(FlexGrid *g, int row, int col)
{
    QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(g, row, col));
}

QPushButton *button(VarnexEditUni *e, const char *name)
{
    return e->findChild<QPushButton *>(QLatin1String(name));
}

}  // namespace

class TestSections : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;  // the timers of one test

    // Opens the sections window from the main window's menu, runs `steps` in it and waits
    // until it has closed.
    void inSectionsWindow(std::function<void(frmSekce &)> steps)
    {
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        bool ran = false;
        whenShown<frmSekce>(m_scope.get(), [&](frmSekce &w) {
            steps(w);
            ran = true;
        });
        chooseFromMenu(main.mnuSys, main.mnuNastav, main.mnuNastSekce);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmSekce::Loaded());
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        m_scope = std::make_unique<QObject>();
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmSekce::Loaded();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // --- the rows of a section ---

    // A new section takes the lowest number no section has; whatever the definition
    // tables and the stored overview layouts still held under that number goes first.
    void newSectionNumber_data()
    {
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("expected");
        QTest::newRow("a gap") << QList<int>{1, 2, 4} << 3;
        QTest::newRow("no gap") << QList<int>{1, 2, 3} << 4;
        QTest::newRow("empty") << QList<int>{} << 1;
        QTest::newRow("1 free") << QList<int>{2, 3} << 1;
        // Records of a section that is gone keep its number from a new section.
        QTest::newRow("records without their section") << QList<int>{1, 2, -3} << 4;
    }
    void newSectionNumber()
    {
        QFETCH(QList<int>, used);
        QFETCH(int, expected);
        for (int n : used) {
            if (n > 0)
                addSection(n, QStringLiteral("S%1").arg(n));
            else
                addRecord(1, -n);
        }
        QCOMPARE(VolneCisloSekce(*Db), expected);
        // Left over from a section that had the number before.
        for (const QString &table : {QStringLiteral("Definice"), QStringLiteral("VychoziDefinice")})
            for (int k = 1; k <= 3; ++k)
                Db->Execute(QStringLiteral("insert into %1 (Poradi, Pol, Zobraz, Nazev, Typ, Zarovnani, Sekce) "
                                           "values (%2, 'Pol%2', 0, 'Staré', 'N', 'R', %3)")
                                .arg(table).arg(k).arg(expected));
        for (const QString &grid : {QStringLiteral("frmPrehled_Sekce%1").arg(expected), QStringLiteral("frmPrehled_Sekce9"),
                                    QStringLiteral("frmSekce_VEdit")})
            Db->Execute(QStringLiteral("insert into S_Grid (Tridit, Nazev, Zarovnani, ColWidth, ColName, GridName, Login) "
                                       "values (1, 'Staré', 'R', 900, 'Katalog.Pol1C', '%1', 'PC1')").arg(grid));

        QCOMPARE(VlozSekci(*Ws, *Db, QStringLiteral("Nová")), expected);
        QCOMPARE(scalar(QStringLiteral("select Nazev from Sekce where Sekce=%1").arg(expected)).toString(), QStringLiteral("Nová"));
        for (const char *table : {"Definice", "VychoziDefinice"}) {
            QCOMPARE(count(QStringLiteral("%1 where Sekce=%2").arg(QLatin1String(table)).arg(expected)), 30);
            QCOMPARE(count(QStringLiteral("%1 where Nazev='Staré'").arg(QLatin1String(table))), 0);
        }
        QCOMPARE(count(QStringLiteral("S_Grid where GridName='frmPrehled_Sekce%1'").arg(expected)), 0);
        QCOMPARE(count(QStringLiteral("S_Grid")), 2);
    }

    // The sections as the menus and the sections window list them: by name in the
    // catalog's order (case aside, "ch" after "h"), a section without a name first, each
    // number and name as stored; which of them have field definitions.
    void sectionList()
    {
        QVERIFY(!JsouSekce(*Db));
        QVERIFY(SeznamSekci(*Db).empty());
        addSection(3, QStringLiteral("hrad"));
        addSection(1, QStringLiteral("Chata"));
        addSection(2, QStringLiteral("cukr"));
        Db->Execute(QStringLiteral("insert into Sekce (Sekce, Nazev) values (Null, Null)"));
        VlozVychoziDefinice(*Db, 1);
        QVERIFY(JsouSekce(*Db));
        QStringList listed;
        for (const RadekSekce &s : SeznamSekci(*Db))
            listed << (s.Sekce.IsNull() ? QStringLiteral("Null") : s.Sekce.toString()) + QLatin1Char(' ')
                          + (s.Nazev.IsNull() ? QStringLiteral("Null") : s.Nazev.toString());
        QCOMPARE(listed, (QStringList{"Null Null", "2 cukr", "3 hrad", "1 Chata"}));
        QVERIFY(SekceMaDefinice(*Db, Variant(1)));
        QVERIFY(!SekceMaDefinice(*Db, Variant(2)));
        QVERIFY(!SekceMaDefinice(*Db, Variant::Null()));
    }

    // The 30 default definitions, the same in both tables: every field shown as text, left
    // aligned, captioned by its slot, field 1 the description.
    void defaultDefinitions()
    {
        addSection(1, QStringLiteral("Knihy"));
        VlozVychoziDefinice(*Db, 1);
        QStringList expected;
        for (int k = 1; k <= 30; ++k)
            expected << QStringLiteral("%1|Pol%1|1|1|1|%2|Pol%1|C|L|1").arg(k).arg(k == 1 ? 1 : 0);
        for (const char *table : {"Definice", "VychoziDefinice"}) {
            QStringList rows;
            auto rs = Db->OpenRecordset(QStringLiteral("select Poradi, Pol, Zobraz, Vyber, Detail, Popis, Nazev, Typ, "
                                                       "Zarovnani, Sekce from %1 order by Poradi").arg(QLatin1String(table)));
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList cells;
                for (int i = 0; i < rs->FieldCount(); ++i) {
                    const Variant v = rs->Fields(i).Value();
                    cells << (v.VarType() == vbBoolean ? QString::number(v.toBool() ? 1 : 0) : v.toString());
                }
                rows << cells.join(QLatin1Char('|'));
            }
            QCOMPARE(rows, expected);
        }
        // Written twice, the section still has its 30.
        VlozVychoziDefinice(*Db, 1);
        QCOMPARE(count(QStringLiteral("Definice")), 30);
        QCOMPARE(count(QStringLiteral("VychoziDefinice")), 30);
    }

    // Deleting takes the section's row and its definitions; the catalog's records and the
    // other sections stay.
    void deleteSection()
    {
        QCOMPARE(VlozSekci(*Ws, *Db, QStringLiteral("Knihy")), 1);
        QCOMPARE(VlozSekci(*Ws, *Db, QStringLiteral("Hudba")), 2);
        addRecord(1, 1);
        addRecord(2, 2);
        QVERIFY(SekceMaZaznamy(*Db, 1));
        Db->Execute(QStringLiteral("delete from Katalog where Inter=1"));
        QVERIFY(!SekceMaZaznamy(*Db, 1));
        SmazSekci(*Ws, *Db, 1);
        QCOMPARE(sections(), QStringList{"2 Hudba"});
        QCOMPARE(count(QStringLiteral("Definice where Sekce=1")), 0);
        QCOMPARE(count(QStringLiteral("VychoziDefinice where Sekce=1")), 0);
        QCOMPARE(count(QStringLiteral("Definice where Sekce=2")), 30);
        QCOMPARE(count(QStringLiteral("VychoziDefinice where Sekce=2")), 30);
        QCOMPARE(count(QStringLiteral("Katalog")), 1);
    }

    // --- the window ---

    // Two sections added in one save take successive numbers, the lower the upper row's,
    // and their keys go into the grid at once: renaming one and deleting the other in the
    // same opening reach the sections just made. Save stays with the notice, OK closes
    // without it, and the main window's section menu follows.
    void addRenameDeleteInOneOpening()
    {
        addSection(1, QStringLiteral("Knihy"));
        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("KNIHY"));
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            QCOMPARE(w.windowTitle(), QStringLiteral("Definice sekcí"));
            QCOMPARE(e->TMatrix(0, 1), QStringLiteral("Název sekce"));
            QCOMPARE(gridRows(e), QStringList{"1 Knihy X"});
            QVERIFY(button(e, "cmdAdd")->isVisible());
            QVERIFY(button(e, "cmdDel")->isVisible());
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            typeName(e, 2, QStringLiteral("Hudba"));
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            typeName(e, 3, QStringLiteral("Filmy"));
            typeName(e, 1, QStringLiteral("Romany"));
            QCOMPARE(gridRows(e), (QStringList{"1 Romany U", "0 Hudba N", "0 Filmy N"}));
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(notices.texts, QStringList{"Změny byly uloženy"});
            QVERIFY(w.isVisible());
            QCOMPARE(gridRows(e), (QStringList{"1 Romany X", "2 Hudba X", "3 Filmy X"}));
            QCOMPARE(sections(), (QStringList{"1 Romany", "2 Hudba", "3 Filmy"}));
            QCOMPARE(count(QStringLiteral("Definice where Sekce in (2, 3)")), 60);

            typeName(e, 2, QStringLiteral("Zvuk"));
            clickCell(e->grid(), 3, 1);
            boxes.expect(vbYes);
            QTest::mouseClick(button(e, "cmdDel"), Qt::LeftButton);
            QCOMPARE(boxes.shown().back().text, QStringLiteral("Opravdu zrušit řádek?"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(sections(), (QStringList{"1 Romany", "2 Zvuk"}));
        QCOMPARE(count(QStringLiteral("Definice where Sekce=3")), 0);
        QCOMPARE(count(QStringLiteral("VychoziDefinice where Sekce=3")), 0);
        QStringList menu;
        for (QAction *item : frmMain::Form().mnuSekceX)
            menu << item->text();
        QCOMPARE(menu, (QStringList{"Romany", "Zvuk"}));
        // The current section, renamed, keeps its place with its new name.
        QCOMPARE(AktualniSekce(), 1);
        QCOMPARE(frmMain::Form().lblSekce->text(), QStringLiteral("ROMANY"));
        QVERIFY(frmMain::Form().mnuNew->isEnabled());
    }

    // A row added, named and deleted again at once, by the Delete key or by the button,
    // leaves the cursor on the row directly above it: the next key typed renames that
    // section and no other.
    void deletingANewRowLeavesTheOneAbove_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Delete key") << false;
        QTest::newRow("button, the name still in its editor") << true;
    }
    void deletingANewRowLeavesTheOneAbove()
    {
        QFETCH(bool, byButton);
        addSection(1, QStringLiteral("Filmy"));
        addSection(2, QStringLiteral("Hudba"));
        addSection(3, QStringLiteral("Knihy"));
        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("FILMY"));
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            QCOMPARE(e->Row(), 4);
            // The user types the name at once, on the new row the grid shows current.
            QTest::keyClick(e->grid()->view(), 'S');
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            typeKeys(QStringLiteral("port"));
            boxes.expect(vbYes);
            if (byButton) {
                QTest::mouseClick(button(e, "cmdDel"), Qt::LeftButton);
            } else {
                pressKey(Qt::Key_Return);
                QTest::keyClick(e->grid()->view(), Qt::Key_Delete);
            }
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Opravdu zrušit řádek?"));
            QCOMPARE(gridRows(e), (QStringList{"1 Filmy X", "2 Hudba X", "3 Knihy X"}));
            QCOMPARE(e->Row(), 3);

            QTest::keyClick(e->grid()->view(), 'Z');
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            typeKeys(QStringLiteral("vuk"));
            pressKey(Qt::Key_Return);
            QCOMPARE(gridRows(e), (QStringList{"1 Filmy X", "2 Hudba X", "3 Zvuk U"}));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(sections(), (QStringList{"1 Filmy", "2 Hudba", "3 Zvuk"}));
    }

    // A section with records is not deleted, and the user is not asked first: alone, or
    // among marked rows. Neither is the section the main window shows.
    void deleteRefused_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("message");
        // By name: Filmy (3), Hudba (2), Knihy (1, with a record), Sport (4, current).
        QTest::newRow("with records") << 3 << 3 << "Pro tuto sekci jsou v katalogu navedeny záznamy. Sekci nelze zrušit";
        QTest::newRow("among marked rows") << 1 << 3 << "Pro tuto sekci jsou v katalogu navedeny záznamy. Sekci nelze zrušit";
        QTest::newRow("the current section") << 4 << 4 << "Zobrazenou sekci nelze zrušit. Přepněte na jinou sekci a akci opakujte.";
    }
    void deleteRefused()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, message);
        for (auto [n, name] : {std::pair{1, "Knihy"}, {2, "Hudba"}, {3, "Filmy"}, {4, "Sport"}})
            VlozSekci(*Ws, *Db, QString::fromUtf8(name));
        addRecord(1, 1);
        frmMain::Form();
        NastavAktualniSekci(4, QStringLiteral("SPORT"));
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            const QStringList before = gridRows(e);
            clickCell(e->grid(), from, 1);
            if (to != from)
                shiftClickCell(e->grid(), to, 1);
            QCOMPARE(e->RowSel(), to);
            boxes.expect(vbOK);
            QTest::mouseClick(button(e, "cmdDel"), Qt::LeftButton);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text, message);
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Definice sekcí"));
            QCOMPARE(gridRows(e), before);
            // Nothing changed: the window closes without a question.
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        QCOMPARE(count(QStringLiteral("Sekce")), 4);
        QCOMPARE(count(QStringLiteral("Definice")), 120);
    }

    // 250 section rows are the most; rows deleted but not saved still count, and once
    // saved and the window opened again, a row can be added.
    void atMost250Sections()
    {
        Db->Execute(QStringLiteral("begin"));
        for (int n = 1; n <= 249; ++n)
            addSection(n, QStringLiteral("S%1").arg(n, 3, 10, QLatin1Char('0')));
        Db->Execute(QStringLiteral("commit"));
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            QCOMPARE(e->Rows(), 251);
            // Typed over the new row's name cell, where the cursor stands.
            QCOMPARE(e->Row(), 250);
            QCOMPARE(e->Col(), 1);
            QTest::keyClick(e->grid()->view(), 'N');
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            typeKeys(QStringLiteral("ova"));
            pressKey(Qt::Key_Return);
            boxes.expect(vbOK);
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            QCOMPARE(boxes.shown().back().text, QStringLiteral("Další sekci nelze přidat"));
            QCOMPARE(boxes.shown().back().style & 0x30, int(vbExclamation));
            QCOMPARE(e->Rows(), 251);
            // A deleted row stays in the grid, and counts, until the save.
            e->Row(1);
            e->Col(1);
            boxes.expect(vbYes);
            QTest::mouseClick(button(e, "cmdDel"), Qt::LeftButton);
            QCOMPARE(e->TMatrix(1, 2), QStringLiteral("D"));
            boxes.expect(vbOK);
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            QCOMPARE(boxes.shown().back().text, QStringLiteral("Další sekci nelze přidat"));
            QCOMPARE(e->Rows(), 251);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(count(QStringLiteral("Sekce")), 249);
        // The new row, below the deleted one, took the number it freed.
        QCOMPARE(count(QStringLiteral("Sekce where Nazev='S001'")), 0);
        QCOMPARE(count(QStringLiteral("Sekce where Sekce=1 and Nazev='Nova'")), 1);
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            QCOMPARE(e->Rows(), 251);
            boxes.expect(vbYes);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        QCOMPARE(count(QStringLiteral("Sekce")), 249);
        QCOMPARE(notices.texts, QStringList());
    }

    // Konec after an edit asks; No keeps the window and the edit, Yes closes and the
    // database keeps what it had. A name takes no more than 30 characters.
    void unsavedChangesAsked()
    {
        addSection(1, QStringLiteral("Knihy"));
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            // Escape in a cell drops the typing and leaves the window open.
            clickCell(e->grid(), 1, 1);
            QTest::keyClick(e->grid()->view(), 'X');
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            pressKey(Qt::Key_Escape);
            QVERIFY(w.isVisible());
            QCOMPARE(gridRows(e), QStringList{"1 Knihy X"});
            typeName(e, 1, QStringLiteral("Encyklopedie a slovniky vsech oboru"));
            QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Encyklopedie a slovniky vsech "));
            boxes.expect(vbNo);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            QCOMPARE(boxes.shown().back().text, QStringLiteral("Provedené změny nebudou zapsány. Pokračovat?"));
            QCOMPARE(boxes.shown().back().title, QStringLiteral("Definice sekcí"));
            QVERIFY(w.isVisible());
            QCOMPARE(gridRows(e), QStringList{"1 Encyklopedie a slovniky vsech  U"});
            boxes.expect(vbYes);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        QCOMPARE(sections(), QStringList{"1 Knihy"});
    }

    // A new section's name keeps every character typed, one outside the Basic
    // Multilingual Plane too, in the database and in the section menu; the name's limit
    // of 30 leaves out a character that does not fit whole.
    void nameKeepsEveryCharacter()
    {
        addSection(1, QStringLiteral("Knihy"));
        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("KNIHY"));
        const QString smile = QString::fromUtf16(u"\U0001F600");
        const QString name = QStringLiteral("A") + smile + QString::fromUtf16(u"B\u05DCC");
        const QString long29(29, QLatin1Char('x'));
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            typeName(e, 2, name);
            QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
            typeName(e, 3, long29 + smile);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(sections(), (QStringList{"1 Knihy", "2 " + name, "3 " + long29}));
        QCOMPARE(frmMain::Form().mnuSekceX[0]->text(), name);
    }

    // The database refuses one new section: the user is told which, the window stays,
    // the rows before it read as written with their numbers, it and the rows after it keep
    // their changes, and nothing of the refused section is left in the database. The next
    // save, once the name is changed, writes the rest.
    void refusedSaveKeepsTheRest()
    {
        addSection(1, QStringLiteral("Knihy"));
        Db->Execute(QStringLiteral("create trigger odmitni before insert on Sekce when new.Nazev='Chyba' "
                                   "begin select raise(abort, 'odmítnuto'); end"));
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            typeName(e, 1, QStringLiteral("Romany"));
            for (const char *name : {"Alfa", "Chyba", "Omega"}) {
                QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
                typeName(e, e->Rows() - 1, QString::fromLatin1(name));
            }
            boxes.expect(vbOK);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QVERIFY2(boxes.shown()[0].text.startsWith(
                         QStringLiteral("Při ukládání sekcí došlo k chybě. Uloženy jsou jen řádky před sekcí: Chyba\n")),
                     qPrintable(boxes.shown()[0].text));
            QVERIFY(boxes.shown()[0].text.contains(QStringLiteral("odmítnuto")));
            QCOMPARE(boxes.shown()[0].style & 0x30, int(vbCritical));
            QVERIFY(w.isVisible());
            QVERIFY(notices.texts.isEmpty());
            QCOMPARE(gridRows(e), (QStringList{"1 Romany X", "2 Alfa X", "0 Chyba N", "0 Omega N"}));
            QCOMPARE(sections(), (QStringList{"1 Romany", "2 Alfa"}));
            QCOMPARE(count(QStringLiteral("Definice where Sekce=3")), 0);
            QCOMPARE(count(QStringLiteral("VychoziDefinice where Sekce=3")), 0);

            typeName(e, 3, QStringLiteral("Beta"));
            QCOMPARE(gridRows(e), (QStringList{"1 Romany X", "2 Alfa X", "0 Beta N", "0 Omega N"}));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(sections(), (QStringList{"1 Romany", "2 Alfa", "3 Beta", "4 Omega"}));
        QCOMPARE(count(QStringLiteral("Definice")), 90);
        QVERIFY(notices.texts.isEmpty());
    }

    // Names the menus could not tell apart are refused when saving, before anything is
    // written: an empty one, and one that another section has (as the catalog compares
    // texts: case aside, without blanks at either end). The message names it, the cursor
    // goes to its row, and the window keeps every typed row. The names are checked as the
    // save would leave them: two names swapped, or a deleted section's name, are fine.
    void indistinctNames_data()
    {
        QTest::addColumn<QStringList>("edits");  // "r=name" retypes row r, "+name" adds one, "-r" deletes row r
        QTest::addColumn<QString>("message");    // empty: saved
        QTest::addColumn<int>("row");            // where the cursor goes
        QTest::addColumn<QStringList>("stored");
        const QString empty = QStringLiteral("Sekce musí mít název.");
        const QString same = QStringLiteral("Sekce tohoto názvu již existuje: ");
        // By name: row 1 Hudba (2), row 2 Knihy (1).
        const QStringList before{"1 Knihy", "2 Hudba"};
        QTest::newRow("a new row left empty") << QStringList{"+Filmy", "+"} << empty << 4 << before;
        QTest::newRow("another's name in capitals") << QStringList{"+KNIHY"} << same + "KNIHY" << 3 << before;
        QTest::newRow("renamed onto another") << QStringList{"2=Hudba"} << same + "Hudba" << 2 << before;
        QTest::newRow("with a blank after it") << QStringList{"+Filmy", "+filmy "} << same + "filmy" << 4 << before;
        QTest::newRow("names swapped") << QStringList{"1=Knihy", "2=Hudba"} << QString() << 0
                                       << QStringList{"1 Hudba", "2 Knihy"};
        QTest::newRow("a deleted section's name") << QStringList{"-1", "+hudba"} << QString() << 0
                                                  << QStringList{"1 Knihy", "2 hudba"};
        QTest::newRow("accents make another name") << QStringList{"+Hudbá"} << QString() << 0
                                                   << QStringList{"1 Knihy", "2 Hudba", "3 Hudbá"};
    }
    void indistinctNames()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, message);
        QFETCH(int, row);
        QFETCH(QStringList, stored);
        VlozSekci(*Ws, *Db, QStringLiteral("Knihy"));
        VlozSekci(*Ws, *Db, QStringLiteral("Hudba"));
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        inSectionsWindow([&](frmSekce &w) {
            VarnexEditUni *e = w.VEdit;
            for (const QString &edit : std::as_const(edits)) {
                if (edit.startsWith(QLatin1Char('+'))) {
                    QTest::mouseClick(button(e, "cmdAdd"), Qt::LeftButton);
                    if (edit.size() > 1)
                        typeName(e, e->Rows() - 1, edit.mid(1));
                } else if (edit.startsWith(QLatin1Char('-'))) {
                    clickCell(e->grid(), edit.mid(1).toInt(), 1);
                    boxes.expect(vbYes);
                    QTest::mouseClick(button(e, "cmdDel"), Qt::LeftButton);
                } else {
                    typeName(e, edit.section(QLatin1Char('='), 0, 0).toInt(), edit.section(QLatin1Char('='), 1));
                }
            }
            const QStringList typed = gridRows(e);
            const size_t shownBefore = boxes.shown().size();
            if (!message.isEmpty())
                boxes.expect(vbOK);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            if (message.isEmpty())
                return;
            QCOMPARE(boxes.shown().size(), shownBefore + 1);
            QCOMPARE(boxes.shown().back().text, message);
            QCOMPARE(boxes.shown().back().title, QStringLiteral("Definice sekcí"));
            QCOMPARE(boxes.shown().back().style & 0x30, int(vbExclamation));
            QVERIFY(w.isVisible());
            QCOMPARE(gridRows(e), typed);
            QCOMPARE(e->Row(), row);
            QCOMPARE(e->Col(), 1);
            QCOMPARE(sections(), stored);
            // The same refusal from Uložit, which stays without the notice.
            boxes.expect(vbOK);
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(boxes.shown().back().text, message);
            QCOMPARE(gridRows(e), typed);
            boxes.expect(vbYes);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        QCOMPARE(sections(), stored);
        QCOMPARE(count(QStringLiteral("Definice")), 30 * int(stored.size()));
        QVERIFY(notices.texts.isEmpty());
    }

    // Without a section the catalog set-up opens the sections window instead; a section
    // made there reaches the section menu.
    void catalogSetupWithoutSections()
    {
        frmMain &main = frmMain::Form();
        main.show();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        bool ran = false;
        whenShown<frmSekce>(m_scope.get(), [&](frmSekce &w) {
            QTest::mouseClick(button(w.VEdit, "cmdAdd"), Qt::LeftButton);
            typeName(w.VEdit, 1, QStringLiteral("Knihy"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(main.mnuSys, main.mnuNastav, main.mnuNastKatalog);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmSekce::Loaded());
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Nejsou definovány žádné sekce. Nadefinujte sekce a akci opakujte."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Definice položek katalogu"));
        QCOMPARE(sections(), QStringList{"1 Knihy"});
        QVERIFY(main.mnuSekce->isEnabled());
        QCOMPARE(main.mnuSekceX[0]->text(), QStringLiteral("Knihy"));
        // With a section, the field definitions are the command's.
        QVERIFY(!main.mnuNastKatalog_BezSekci());
    }
};

QTEST_MAIN(TestSections)
#include "tst_sections.moc"
