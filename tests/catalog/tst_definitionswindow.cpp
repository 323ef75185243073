// The field definitions window, opened from the main window's menu and driven as a user
// drives it: typing over a caption, picking a type from its list, the conversion warning
// with its count, holding back, saving and what the overview shows afterwards, the copy
// to another section and the default rows.
#include "VarnexEditUni.h"
#include "menudriver.h"
#include "catalogfixture.h"
#include "common/mainframe.h"
#include "data/fielddefinitions.h"
#include "grid.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "mainwindow/views.h"
#include "modaldriver.h"
#include "setup/frmDefinice.h"
#include "setup/frmSekce.h"
#include "system.h"
#include "testhost.h"
#include "data/currentoverview.h"
#include "overviewgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using testsupport::chooseFromMenu;
using testsupport::scalar;
using testsupport::whenShown;

class TestDefinitionsWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;  // the timers of one test

    static void chooseCatalogSetup()
    {
        frmMain &main = frmMain::Form();
        chooseFromMenu(main.mnuSys, main.mnuNastav, main.mnuNastKatalog);
    }

    static QStringList dumpDefinitions()
    {
        QStringList rows;
        for (const char *table : {"Definice", "VychoziDefinice"}) {
            auto rs = Db->OpenRecordset(QStringLiteral("select sekce, poradi, pol, zobraz, popis, nazev, typ, zarovnani from ")
                                        + QLatin1String(table) + QStringLiteral(" order by sekce, poradi"));
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList cells;
                for (int i = 0; i < rs->FieldCount(); ++i)
                    cells << rs->Fields(i).Value().toString();
                rows << QLatin1String(table) + QLatin1Char(':') + cells.join(QLatin1Char('|'));
            }
        }
        return rows;
    }

    static QString stored(const char *column, int inter)
    {
        return scalar(QStringLiteral("select coalesce('' || %1, 'null') from katalog where inter=%2")
                          .arg(QLatin1String(column))
                          .arg(inter))
            .toString();
    }

    // Types over the cell as the user does: a click on it, then the text. The offscreen
    // platform may leave the window without the focus after a popup closed.
    static void typeOver(frmDefinice &w, int row, int col, const QString &text)
    {
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        clickCell(w.VEdit->grid(), row, col);
        QVERIFY(QApplication::focusWidget());
        typeKeys(text);
        pressKey(Qt::Key_Return);
    }

    // Starts editing a code-list cell with a key, as the user does; the list box when
    // it opened.
    static QComboBox *openList(frmDefinice &w, int row, int col)
    {
        clickCell(w.VEdit->grid(), row, col);
        QTest::keyClick(w.VEdit->grid()->view(), 'x');
        auto *box = w.VEdit->findChild<QComboBox *>(QStringLiteral("cmbEdit"));
        return box && box->isVisible() ? box : nullptr;
    }

    static void pick(QComboBox *box, const QString &text)
    {
        box->setCurrentIndex(box->findText(text));
        pressKey(Qt::Key_Return);
    }

    static void showMainOnSection1()
    {
        frmMain &main = frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("KNIHY"));
        main.NactiSekce();
        main.NastavMenu();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        ZobrazPohledy();
        QVERIFY(frmPrehled::Loaded());
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        m_scope = std::make_unique<QObject>();
        frmDefinice::KonverzePotvrzena = false;
        // Knihy first by name, then Sbírka with records, then the empty Výstava.
        int section = 1;
        for (const char *name : {"Knihy", "Sbírka", "Výstava"}) {
            Db->Execute(QStringLiteral("insert into Sekce values (%1, '%2')").arg(section).arg(QString::fromUtf8(name)));
            std::vector<RadekDefinice> rows = VychoziRadkyDefinice();
            rows[0].Nazev = QStringLiteral("Název");
            rows[2].Nazev = QStringLiteral("Rok");
            if (section == 1)
                rows[3].Typ = QStringLiteral("N");
            UlozDefiniceSekce(*Ws, *Db, section, rows);
            ++section;
        }
        const char *values[] = {"'12'", "'2,5'", "'abc'", "''"};
        for (int i = 0; i < 4; ++i)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Sekce, Pol1c, Pol3c, Pol4n) values (%1, 1, 'Kniha %1', %2, 3.5)")
                            .arg(i + 1)
                            .arg(QLatin1String(values[i])));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Sekce, Pol1c) values (9, 2, 'Deska')"));
        for (const char *grid : {"frmPrehled_Sekce1", "frmPrehled_Sekce2"})
            Db->Execute(QStringLiteral("insert into S_Grid (Tridit, Nazev, Zarovnani, ColWidth, ColName, GridName, Login) "
                                       "values (1, 'Titul', 'R', 1500, 'Katalog.Pol1C', '%1', 'Jana')")
                            .arg(QLatin1String(grid)));
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmDefinice::Loaded();
        UnloadViews();
        frmMain::Unload();
        m_folder.reset();
    }

    // The user's way through: a caption typed over, a type picked from its list after the
    // conversion warning, the count of the values that stay behind, OK; then the overview
    // shows the new caption and its stored layout takes the definitions' alignments again.
    void editAndSaveThroughTheMenu()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbYes);
        // Watched, not remembered by address: the new window may be made where the old was.
        const QPointer<frmPrehled> overviewBefore(frmPrehled::Loaded());
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Definice katalogu"));
            QCOMPARE(w.cmb->currentText(), QStringLiteral("Knihy"));
            QCOMPARE(w.VEdit->Rows(), 31);
            QVERIFY(w.cmb->isEnabled());
            typeOver(w, 1, 4, QStringLiteral("Původní název"));
            QCOMPARE(w.VEdit->TMatrix(1, 4), QStringLiteral("Původní název"));
            QVERIFY(!w.cmb->isEnabled() && !w.cmdCopy->isEnabled());
            QComboBox *list = openList(w, 3, 5);
            QVERIFY(list);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QVERIFY(boxes.shown()[0].text.startsWith(QStringLiteral("Při změně datového typu")));
            pick(list, QStringLiteral("Číslo"));
            QCOMPARE(w.VEdit->TMatrix(3, 5), QStringLiteral("Číslo"));
            QCOMPARE(w.VEdit->TMatrix(3, 7), QStringLiteral("N"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[1].text,
                 QStringLiteral("Počet hodnot, které nelze převést na nový datový typ a zůstanou beze změny:\nRok (Pol3): 1\n"
                                "Pokračovat?"));

        QCOMPARE(stored("pol3n", 1), QStringLiteral("12"));
        QCOMPARE(stored("pol3n", 2), QStringLiteral("2.5"));
        QCOMPARE(stored("pol3n", 3), QStringLiteral("null"));
        QCOMPARE(stored("pol3c", 3), QStringLiteral("abc"));
        // The views opened anew, on the new captions; the layout of the section reset.
        QTRY_VERIFY(frmPrehled::Loaded());
        QVERIFY(frmPrehled::Loaded() != overviewBefore);
        QCOMPARE(overviewGrid(*frmPrehled::Loaded())->TMatrix(0, 1), QStringLiteral("Původní název"));
        QCOMPARE(Prehled().SloupcePrehledu()[3].Typ, QStringLiteral("N"));
        QCOMPARE(scalar(QStringLiteral("select count(*) from S_Grid where GridName='frmPrehled_Sekce1' and Zarovnani<>'N'"))
                     .toLong(),
                 0);
        QCOMPARE(scalar(QStringLiteral("select Zarovnani from S_Grid where GridName='frmPrehled_Sekce2'")).toString(),
                 QStringLiteral("R"));
    }

    // Types changed by mistake and changed back cost nothing: the question before the
    // first save names each field with its counts, the way back asks nothing, and every
    // value is in its column as typed.
    void typesChangedBackThroughTheMenu()
    {
        showMainOnSection1();
        // Left from a time when Rok was a number: the conversion replaces it.
        Db->Execute(QStringLiteral("update katalog set pol3n=7 where inter=1"));
        const auto values = [] {
            QStringList all;
            for (int inter = 1; inter <= 4; ++inter)
                for (const char *column : {"pol1c", "pol3c", "pol4n"})
                    all << stored(column, inter);
            return all;
        };
        const QStringList before = values();
        const auto changeTypes = [&](const char *name, const char *rok, const char *pol4) {
            bool ran = false;
            whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
                for (const auto &[row, type] : {std::pair{1, name}, std::pair{3, rok}, std::pair{4, pol4}}) {
                    QComboBox *list = openList(w, row, 5);
                    QVERIFY(list);
                    pick(list, QString::fromUtf8(type));
                }
                QTest::mouseClick(w.cmdOK, Qt::LeftButton);
                ran = true;
            });
            chooseCatalogSetup();
            QTRY_VERIFY(ran);
            QTRY_VERIFY(!frmDefinice::Loaded());
        };
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbYes);
        changeTypes("Datum", "Číslo", "Datum");
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[1].text,
                 QStringLiteral("Počet hodnot, které nelze převést na nový datový typ a zůstanou beze změny:\n"
                                "Název (Pol1): 4\nRok (Pol3): 1\nPol4: 4\n"
                                "Počet hodnot uložených v novém datovém typu, které převod přepíše:\n"
                                "Rok (Pol3): 1\nPokračovat?"));
        QCOMPARE(stored("pol3n", 1), QStringLiteral("12"));
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=1 and pol='Pol1'")).toString(), QStringLiteral("D"));

        changeTypes("Text", "Text", "Číslo");
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(values(), before);
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=1 and pol='Pol1'")).toString(), QStringLiteral("C"));
    }

    // A section without records has no values to convert: its types change without the
    // warning, which still comes for the first section with records.
    void emptySectionChangesTypesWithoutWarning()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            w.cmb->setFocus();
            QTest::keyClick(w.cmb, Qt::Key_Down);
            QTest::keyClick(w.cmb, Qt::Key_Down);
            QCOMPARE(w.cmb->currentText(), QStringLiteral("Výstava"));
            QComboBox *list = openList(w, 3, 5);
            QVERIFY(list);
            pick(list, QStringLiteral("Číslo"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QVERIFY(boxes.shown().empty());
        QVERIFY(!frmDefinice::KonverzePotvrzena);
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=3 and pol='Pol3'")).toString(), QStringLiteral("N"));
    }

    // Holding back at the count keeps the window and its edits; closing without saving
    // leaves every definition and value as it was and reloads nothing.
    void cancelKeepsEverything()
    {
        showMainOnSection1();
        const QStringList before = dumpDefinitions();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo).expect(vbYes).expect(vbNo).expect(vbCancel).expect(vbNo);
        const frmPrehled *overviewBefore = frmPrehled::Loaded();
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            // No to the warning: the list does not open, the question comes again.
            QVERIFY(!openList(w, 3, 5));
            QCOMPARE(w.VEdit->TMatrix(3, 5), QStringLiteral("Text"));
            QComboBox *list = openList(w, 3, 5);
            QVERIFY(list);
            pick(list, QStringLiteral("Datum"));
            QCOMPARE(w.VEdit->TMatrix(3, 7), QStringLiteral("D"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(w.VEdit->TMatrix(3, 7), QStringLiteral("D"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // Cancel: stays
            QVERIFY(w.isVisible());
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // No: closes unsaved
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QCOMPARE(boxes.shown()[2].text,
                 QStringLiteral("Počet hodnot, které nelze převést na nový datový typ a zůstanou beze změny:\nRok (Pol3): 3\n"
                                "Pokračovat?"));
        QCOMPARE(boxes.shown()[3].text, QStringLiteral("Byly provedeny změny. Uložit?"));
        QCOMPARE(dumpDefinitions(), before);
        QCOMPARE(stored("pol3d", 1), QStringLiteral("null"));
        QCOMPARE(frmPrehled::Loaded(), overviewBefore);
    }

    // Saved in one section, switched to another, closed unchanged: the views reload, and
    // only the edited section's stored layout is reset.
    void savedThenSwitchedReloads()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        testsupport::SavedNotices notices;
        const frmPrehled *overviewBefore = frmPrehled::Loaded();
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            typeOver(w, 2, 4, QStringLiteral("Země původu"));
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QTRY_COMPARE(notices.texts, QStringList{QStringLiteral("Změny byly uloženy")});
            QVERIFY(w.Ulozeno);
            QVERIFY(w.cmb->isEnabled());
            w.cmb->setFocus();
            QTest::keyClick(w.cmb, Qt::Key_Down);
            QCOMPARE(w.cmb->currentText(), QStringLiteral("Sbírka"));
            QVERIFY(!w.Ulozeno);
            QCOMPARE(w.VEdit->TMatrix(2, 4), QStringLiteral("Pol2"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QTRY_VERIFY(frmPrehled::Loaded() && frmPrehled::Loaded() != overviewBefore);
        QCOMPARE(overviewGrid(*frmPrehled::Loaded())->TMatrix(0, 2), QStringLiteral("Země původu"));
        QCOMPARE(scalar(QStringLiteral("select Zarovnani from S_Grid where GridName='frmPrehled_Sekce1' and Login='Jana'"))
                     .toString(),
                 QStringLiteral("N"));
        QCOMPARE(scalar(QStringLiteral("select Zarovnani from S_Grid where GridName='frmPrehled_Sekce2'")).toString(),
                 QStringLiteral("R"));
    }

    // A save the database refuses says why and keeps the window with its edits, also
    // when it comes from the question on closing.
    void failedSaveKeepsTheWindow()
    {
        showMainOnSection1();
        Db->Execute(QStringLiteral("create trigger boom before insert on definice when new.poradi = 20 "
                                   "begin select raise(abort, 'refused'); end"));
        const QStringList before = dumpDefinitions();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbYes).expect(vbOK).expect(vbNo);
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            typeOver(w, 1, 4, QStringLiteral("Titul"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(w.VEdit->TMatrix(1, 4), QStringLiteral("Titul"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // Yes to saving: refused again, stays
            QVERIFY(w.isVisible());
            QCOMPARE(w.VEdit->TMatrix(1, 4), QStringLiteral("Titul"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // No: closes
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QVERIFY(boxes.shown()[0].text.startsWith(QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\n")));
        QVERIFY(boxes.shown()[0].text.contains(QStringLiteral("refused")));
        QCOMPARE(boxes.shown()[0].style & vbCritical, int(vbCritical));
        QCOMPARE(boxes.shown()[2].text, boxes.shown()[0].text);
        QCOMPARE(dumpDefinitions(), before);
    }

    // The copy refuses the same section and a section with records, and copies into an
    // empty one after asking; the section copied into counts as written.
    void copyToAnotherSection()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK).expect(vbYes).expect(vbOK);
        bool ran = false;
        const frmPrehled *overviewBefore = frmPrehled::Loaded();
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            QTest::mouseClick(w.cmdCopy, Qt::LeftButton);
            QVERIFY(w.fraCopy->isVisible());
            QVERIFY(!w.fraDefinice->isEnabled());
            for (const char *target : {"Knihy", "Sbírka", "Výstava"}) {
                w.cmbCopy->setCurrentIndex(w.cmbCopy->findText(QString::fromUtf8(target)));
                QTest::mouseClick(w.cmdCopyOK, Qt::LeftButton);
            }
            QVERIFY(!w.fraCopy->isVisible());
            QVERIFY(w.fraDefinice->isEnabled());
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Nelze provést kopii do stejné sekce"));
        QCOMPARE(boxes.shown()[1].text, QStringLiteral("Zvolená sekce již obsahuje data. Kopii do této sekce nelze provést."));
        QCOMPARE(boxes.shown()[2].text, QStringLiteral("Kopírovat definici katalogu ze sekce '\nKnihy'  do sekce  'Výstava'"));
        QCOMPARE(boxes.shown()[3].text, QStringLiteral("Kopie byla provedena"));
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=3 and poradi=4")).toString(), QStringLiteral("N"));
        QCOMPARE(scalar(QStringLiteral("select count(*) from vychozidefinice where sekce=3")).toLong(), 30);
        QTRY_VERIFY(frmPrehled::Loaded() && frmPrehled::Loaded() != overviewBefore);
    }

    // A copy the database refuses says so, leaves the panel open and the target's
    // definitions as they were, and reloads nothing.
    void failedCopySaysSo()
    {
        showMainOnSection1();
        Db->Execute(QStringLiteral("create trigger boom before insert on definice when new.sekce = 3 "
                                   "begin select raise(abort, 'refused'); end"));
        const QStringList before = dumpDefinitions();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbOK);
        const frmPrehled *overviewBefore = frmPrehled::Loaded();
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            QTest::mouseClick(w.cmdCopy, Qt::LeftButton);
            w.cmbCopy->setCurrentIndex(w.cmbCopy->findText(QStringLiteral("Výstava")));
            QTest::mouseClick(w.cmdCopyOK, Qt::LeftButton);
            QVERIFY(w.fraCopy->isVisible());
            QTest::mouseClick(w.cmdCopyEnd, Qt::LeftButton);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QVERIFY(boxes.shown()[1].text.startsWith(
            QStringLiteral("Kopii definice se nepodařilo provést. Definice sekcí zůstaly beze změny.\n")));
        QCOMPARE(boxes.shown()[1].style & vbCritical, int(vbCritical));
        QCOMPARE(dumpDefinitions(), before);
        QCOMPARE(frmPrehled::Loaded(), overviewBefore);
    }

    // The default rows come with the same warning as an edit of a type, and a save of
    // them converts the number field back into text.
    void restoreDefaults()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbYes);
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            clickCell(w.VEdit->grid(), 5, 3);  // field 5 the description field
            QTest::keyClick(w.VEdit->grid()->view(), Qt::Key_Space);
            QCOMPARE(w.VEdit->TMatrix(5, 3), QStringLiteral("A"));
            QCOMPARE(w.VEdit->TMatrix(1, 3), QStringLiteral("N"));
            QTest::mouseClick(w.cmdVN, Qt::LeftButton);
            QCOMPARE(boxes.shown().size(), size_t(2));
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Obnovit původní nastavení katalogu?"));
            QVERIFY(boxes.shown()[1].text.startsWith(QStringLiteral("Při změně datového typu")));
            for (int i = 1; i <= 30; ++i) {
                QCOMPARE(w.VEdit->TMatrix(i, 4), QStringLiteral("Pol%1").arg(i));
                QCOMPARE(w.VEdit->TMatrix(i, 2), QStringLiteral("A"));
                QCOMPARE(w.VEdit->TMatrix(i, 3), i == 1 ? QStringLiteral("A") : QStringLiteral("N"));
                QCOMPARE(w.VEdit->TMatrix(i, 7) + w.VEdit->TMatrix(i, 8), QStringLiteral("CL"));
            }
            QVERIFY(!w.cmb->isEnabled());
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=1 and poradi=4")).toString(), QStringLiteral("C"));
        QCOMPARE(stored("pol4c", 1), QStringLiteral("3.5"));
    }

    // Moving the first row up only beeps; moving it down swaps it with the next; no row
    // can be deleted; a type typed rather than picked is refused.
    void movesAndRefusedTypes()
    {
        showMainOnSection1();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes).expect(vbNo);
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            clickCell(w.VEdit->grid(), 1, 4);
            QTest::mouseClick(w.cmdPN, Qt::LeftButton);
            QCOMPARE(sys::beepCount(), 1);
            QVERIFY(w.cmb->isEnabled());
            clickCell(w.VEdit->grid(), 1, 4);
            QTest::mouseClick(w.cmdPD, Qt::LeftButton);
            QCOMPARE(w.VEdit->TMatrix(1, 1), QStringLiteral("Pol2"));
            QCOMPARE(w.VEdit->TMatrix(2, 1), QStringLiteral("Pol1"));
            QCOMPARE(w.VEdit->TMatrix(2, 4), QStringLiteral("Název"));
            QCOMPARE(w.VEdit->TMatrix(1, 0), QStringLiteral("1"));
            QCOMPARE(w.VEdit->Row(), 2);
            QVERIFY(!w.cmb->isEnabled());
            // The grid always holds the 30 fields: Delete neither asks nor deletes.
            QTest::keyClick(w.VEdit->grid()->view(), Qt::Key_Delete);
            QCOMPARE(w.VEdit->LiveRows(), 30);
            QComboBox *list = openList(w, 3, 5);
            QVERIFY(list);
            list->lineEdit()->selectAll();
            typeKeys(QStringLiteral("Obraz"));
            pressKey(Qt::Key_Return);
            QCOMPARE(w.VEdit->TMatrix(3, 5), QStringLiteral("Text"));
            QCOMPARE(w.VEdit->TMatrix(3, 7), QStringLiteral("C"));
            QCOMPARE(sys::beepCount(), 2);
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
    }

    // The right button opens the window's own menu (up, down, defaults) on the rows and,
    // after an edit, on the header too; on the header of an unedited grid the control
    // shows its own menu, and that click opens no second one.
    void rightButtonMenu()
    {
        showMainOnSection1();
        bool ran = false;
        whenShown<frmDefinice>(m_scope.get(), [&](frmDefinice &w) {
            QStringList opened;
            const auto rightClick = [&](int row, int col, const QString &item) {
                whenPopupOpens([&, item](QMenu *menu) {
                    opened << menu->objectName();
                    if (item.isEmpty())
                        menu->close();
                    else
                        clickMenuItem(menu, item);
                });
                clickCell(w.VEdit->grid(), row, col, Qt::RightButton);
                QTRY_VERIFY(!QApplication::activePopupWidget());
            };
            rightClick(0, 4, QString());
            QCOMPARE(opened, QStringList{"Popup_Fce"});
            QTest::qWait(50);
            QVERIFY(!w.mnuFce->isVisible());

            typeOver(w, 2, 4, QStringLiteral("Druhé"));
            opened.clear();
            rightClick(0, 4, QString());
            QCOMPARE(opened, QStringList{"mnuFce"});
            opened.clear();
            rightClick(2, 4, QStringLiteral("mnuPD"));
            QCOMPARE(opened, QStringList{"mnuFce"});
            QCOMPARE(w.VEdit->TMatrix(3, 4), QStringLiteral("Druhé"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        chooseCatalogSetup();
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmDefinice::Loaded());
    }

    // Without a section there is nothing to define: the user is told so.
    void noSection()
    {
        Db->Execute(QStringLiteral("delete from Sekce"));
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        // Without a section the sections window comes instead; closed unchanged, nothing follows.
        bool sectionsShown = false;
        whenShown<frmSekce>(m_scope.get(), [&](frmSekce &w) {
            sectionsShown = true;
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
        });
        chooseCatalogSetup();
        QTRY_VERIFY(sectionsShown);
        QTRY_VERIFY(!frmSekce::Loaded());
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Nejsou definovány žádné sekce. Nadefinujte sekce a akci opakujte."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Definice položek katalogu"));
        QVERIFY(!frmDefinice::Loaded());
    }
};

QTEST_MAIN(TestDefinitionsWindow)
#include "tst_definitionswindow.moc"
