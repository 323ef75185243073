// The selection window, driven as a user drives it: typing conditions into its rows,
// applying and cancelling them, opening a row's list, scrolling the rows.
#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "common/translation.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "menudriver.h"
#include "overview/frmPrehled.h"
#include "records/frmVyber.h"
#include "records/polebox.h"
#include "system.h"
#include "testhost.h"
#include "overviewgrid.h"
#include "data/currentoverview.h"
#include "typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using testsupport::dropDownByArrow;
using testsupport::openedList;
using testsupport::typeKeys;

namespace {

enum Row { Nazev = 1, Cena = 2, Vydano = 3 };

const QString kTitle = QStringLiteral("Definice podmínky výběru");

}  // namespace

class TestSelection : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Section 1 "Knihy" shows a text, a number and a date and hides a fourth field;
    // section 2 "Desky" shows its title; section 3 "Prázdná" has no record.
    static void books()
    {
        testsupport::defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}, {"Cena", "N"}, {"Vydáno", "D"}, {"Skryté", "C", false}});
        testsupport::defineSection(2, QStringLiteral("Desky"), {{"Název", "C"}});
        testsupport::defineSection(3, QStringLiteral("Prázdná"), {{"Název", "C"}});
        testsupport::insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Pol2n, Pol3d, Pol4c, Sekce"),
                                {"1, 'Čaj', 10, '2000-05-01 00:00:00', 'tajné', 1",
                                 "2, 'čajovna', 300, '2000-12-31 14:30:00', 'tajné', 1",
                                 "3, 'Káva', 1.5, '2001-01-01 00:00:00', 'tajné', 1",
                                 "4, 'O''Brien', 0, null, 'tajné', 1",
                                 "5, '', null, '1999-12-31 00:00:00', 'tajné', 1",
                                 "6, null, 301, null, 'tajné', 1",
                                 "7, 'x'') OR 1=1 OR (''', 5, null, 'tajné', 1",
                                 "20, 'Čaj', 10, null, 'tajné', 2",
                                 "21, 'zzz', 1, null, 'tajné', 2"});
    }

    // The main window on a section, by its name, with the overview and the selection
    // window open as the section switch opens them.
    static frmVyber &open(const QString &name = QStringLiteral("Knihy"))
    {
        frmMain &main = frmMain::Form();
        main.show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&main)); }();
        for (QAction *item : main.mnuSekceX)
            if (item->text() == name)
                testsupport::chooseFromMenu(main.mnuKatalog, main.mnuSekce, item);
        frmVyber *w = frmVyber::Loaded();
        [&] { QVERIFY(w && frmPrehled::Loaded()); }();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(w)); }();
        return *w;
    }

    // Section 4 "Třicet" with thirty fields shown, and its selection window.
    static frmVyber &openThirtyFields()
    {
        Db->Execute(QStringLiteral("insert into Sekce values (4, 'Třicet')"));
        for (int i = 1; i <= 30; ++i)
            testsupport::defineField(4, i, i, true, QStringLiteral("Pole číslo %1").arg(i), QStringLiteral("C"));
        return open(QStringLiteral("Třicet"));
    }

    static VarnexEditUni &grid()
    {
        return *overviewGrid(*frmPrehled::Loaded());
    }

    static QStringList shownKeys()
    {
        QStringList keys;
        for (int r = 1; r < grid().Rows(); ++r)
            if (!grid().TMatrix(r, 0).isEmpty())
                keys << grid().TMatrix(r, 0);
        keys.sort();
        return keys;
    }

    // Clicks into the row's box, selects what it holds and types over it.
    static void typeOver(frmVyber &w, int row, const QString &text)
    {
        testsupport::typeOver(w.cmb[size_t(row)]->lineEdit(), text);
    }

    static QStringList rowTexts(const frmVyber &w)
    {
        QStringList texts;
        for (size_t i = 1; i < w.cmb.size(); ++i)
            texts << w.cmb[i]->currentText();
        return texts;
    }

    static bool gridHasFocus()
    {
        return QApplication::focusWidget() && grid().isAncestorOf(QApplication::focusWidget());
    }

    static void expectBox(const testsupport::ScriptedBoxes &boxes, size_t index, int style, const QString &text)
    {
        testsupport::expectBox(boxes, index, style, kTitle, text);
    }

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"chkAllRecords", "txtAllRecords", "VyberWindowShow", "NahledWindowShow", "VyberWindowHeight",
                                "VyberWindowWidth", "VyberWindowTop", "VyberWindowLeft", "mdiWindowWidth", "mdiWindowHeight"})
            SmazInfo(QLatin1String(key));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("False"));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        books();
    }
    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        m_folder.reset();
    }

    // Coming into the window from the overview, the user types into the first row.
    void typingGoesToTheFirstRow()
    {
        frmVyber &w = open();
        QVERIFY(gridHasFocus());
        auto *frame = qobject_cast<QMdiSubWindow *>(w.parentWidget());
        frame->mdiArea()->activateNextSubWindow();  // as Ctrl+Tab does
        QTRY_COMPARE(frame->mdiArea()->activeSubWindow(), frame);
        typeKeys(QApplication::focusWidget(), QStringLiteral("čaj*"));
        QCOMPARE(w.cmb[Nazev]->currentText(), QStringLiteral("čaj*"));
    }

    // One row per shown field, in the definitions' order: its caption, its box tagged
    // with the field's type, placed as the design has it.
    void rows()
    {
        frmVyber &w = open();
        QVERIFY(VyberOtevren());
        QCOMPARE(w.windowTitle(), kTitle);
        QCOMPARE(w.lbl.size(), size_t(4));
        QCOMPARE(w.cmb.size(), size_t(4));
        QStringList captions, tags;
        for (size_t i = 1; i < w.cmb.size(); ++i) {
            captions << w.lbl[i]->text();
            tags << w.cmb[i]->property("Tag").toString();
        }
        QCOMPARE(captions, (QStringList{"Název", "Cena", "Vydáno"}));
        QCOMPARE(tags, (QStringList{"C", "N", "D"}));
        int widest = 0;
        for (size_t i = 1; i < w.lbl.size(); ++i)
            widest = std::max(widest, sys::toTwips(w.lbl[i]->fontMetrics().horizontalAdvance(w.lbl[i]->text())));
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(w.lbl[size_t(i)]->pos(), QPoint(sys::toPixels(90), sys::toPixels((i - 1) * 360 + 235)));
            QCOMPARE(w.cmb[size_t(i)]->y(), sys::toPixels((i - 1) * 360 + 175));
            QVERIFY(qAbs(w.cmb[size_t(i)]->x() - sys::toPixels(widest + 190)) <= 1);
        }
        QCOMPARE(w.fraVyber->height(), sys::toPixels(2 * 360 + 235 + 350));
        QVERIFY(w.fraVyber->isEnabled());
        QVERIFY(!w.vsb->isVisible());
        QCOMPARE(w.cmdVyber->text(), QStringLiteral("Vybrat"));
        QCOMPARE(w.cmdZrusVyber->text(), QStringLiteral("Zrušit výběr"));

        // No section: the rows go.
        NastavAktualniSekci(std::nullopt, QString());
        w.NactiData();
        QCOMPARE(w.cmb.size(), size_t(1));
        QVERIFY(w.findChildren<PoleBox *>().isEmpty());
    }

    // A text row holds a condition, not a field's value: a list of values longer than a
    // text field of the catalog goes in whole, with no beep, and selects.
    void longListInATextRow()
    {
        frmVyber &w = open();
        const QString list = QStringLiteral("Čaj, Káva, ") + QStringList(12, QStringLiteral("nic")).join(QStringLiteral(", "));
        QVERIFY(list.size() > 50);
        typeOver(w, Nazev, list);
        QCOMPARE(w.cmb[Nazev]->currentText(), list);
        QCOMPARE(sys::beepCount(), 0);
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), (QStringList{"1", "3"}));
    }

    // "Vybrat" narrows the overview, hands the control the condition and its readable
    // text, beeps and gives the grid the focus. Czech letters match in any case.
    void applyNarrows()
    {
        frmVyber &w = open();
        QCOMPARE(shownKeys().size(), 7);
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().Where(), QStringLiteral("Katalog.pol1c like 'čaj*'"));
        QCOMPARE(grid().WhereText(), QStringLiteral("Výběr pro:  Název je čaj*"));
        QCOMPARE(sys::beepCount(), 1);
        QVERIFY(gridHasFocus());

        typeOver(w, Cena, QStringLiteral("*100"));
        typeOver(w, Vydano, QStringLiteral("1.1.2000*31.12.2000"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), QStringList{"1"});
        QCOMPARE(grid().Where(), w.Podminka());
        QCOMPARE(grid().WhereText(), QStringLiteral("Výběr pro:  Název je čaj* a Cena<=100 a Vydáno >= 1.1.2000 a Vydáno <= 31.12.2000"));
        QCOMPARE(rowTexts(w), (QStringList{"čaj*", "*100", "1.1.2000*31.12.2000"}));
    }

    // Rows left empty show the whole section and leave no condition, with no message
    // even where the section has no record.
    void applyEmpty_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("records");
        QTest::newRow("records") << "Knihy" << 7;
        QTest::newRow("no record") << "Prázdná" << 0;
    }
    void applyEmpty()
    {
        QFETCH(QString, section);
        QFETCH(int, records);
        frmVyber &w = open(section);
        grid().Where(QStringLiteral("Katalog.pol1c='x'"));
        grid().WhereText(QStringLiteral("Výběr pro:  x"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys().size(), records);
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(grid().WhereText(), QString());
    }

    // A condition that matches nothing: message 371, and the overview keeps its rows,
    // its condition and its readable text; the rows keep what was typed.
    void applyMatchesNothing()
    {
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        const QString where = grid().Where(), readable = grid().WhereText();
        sys::resetBeepCount();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        typeOver(w, Nazev, QStringLiteral("zzz"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        expectBox(boxes, 0, vbInformation, QStringLiteral("Výběru neodpovídá žádný záznam."));
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().Where(), where);
        QCOMPARE(grid().WhereText(), readable);
        QCOMPARE(rowTexts(w).first(), QStringLiteral("zzz"));
        QCOMPARE(sys::beepCount(), 2);
        QVERIFY(gridHasFocus());
    }

    // The refusals: each says why, nothing reaches the overview, and the button still
    // beeps and gives the grid the focus.
    void refusals_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("beeps");
        QTest::newRow("doubled asterisks") << int(Nazev) << "**" << int(vbExclamation) << "Údaj obsahuje nepovolený výraz: **" << 1;
        QTest::newRow("two dots") << int(Cena) << "1..5" << int(vbExclamation) << "Údaj obsahuje nepovolený výraz: .." << 1;
        QTest::newRow("malformed asterisks") << int(Nazev) << "1*2*3" << int(vbInformation) << "Údaj obsahuje nepovolené konvence." << 1;
        QTest::newRow("*5* in a number row") << int(Cena) << "*5*" << int(vbInformation) << "Údaj obsahuje nepovolené konvence." << 1;
        QTest::newRow("letters in a number row") << int(Cena) << "abc" << int(vbExclamation) << "Chybně zadaná hodnota pro výběr." << 2;
        QTest::newRow("a hostile number") << int(Cena) << "1) OR (1=1" << int(vbExclamation) << "Chybně zadaná hodnota pro výběr." << 2;
        QTest::newRow("a date that is none") << int(Vydano) << "31.2.2000" << int(vbExclamation) << "Chybně zadaná hodnota pro výběr." << 2;
    }
    void refusals()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(int, style);
        QFETCH(QString, message);
        QFETCH(int, beeps);
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        const QString where = grid().Where();
        sys::resetBeepCount();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        if (row != Nazev)
            typeOver(w, Nazev, QString());
        typeOver(w, row, typed);
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        expectBox(boxes, 0, style, message);
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().Where(), where);
        QCOMPARE(sys::beepCount(), beeps);
        QVERIFY(gridHasFocus());
    }

    // A hostile text is one literal: it selects the record that holds it, nothing more.
    void hostileText()
    {
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("x') OR 1=1 OR ('"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), QStringList{"7"});
        QCOMPARE(grid().WhereText(), QStringLiteral("Výběr pro:  Název=x OR 1=1 OR "));
    }

    // "Zrušit výběr" empties the rows and shows the whole section; no condition stays.
    void cancel()
    {
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        typeOver(w, Cena, QStringLiteral("10"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), QStringList{"1"});
        sys::resetBeepCount();
        QTest::mouseClick(w.cmdZrusVyber, Qt::LeftButton);
        QCOMPARE(rowTexts(w), (QStringList{"", "", ""}));
        QCOMPARE(shownKeys().size(), 7);
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(grid().WhereText(), QString());
        QCOMPARE(w.Podminka(), QString());
        QCOMPARE(sys::beepCount(), 1);
        QVERIFY(gridHasFocus());
    }

    // A condition the control built itself goes with the cancel too.
    void cancelDropsTheControlsCondition()
    {
        frmVyber &w = open();
        grid().Where(QStringLiteral("Katalog.pol2n>=10"));
        grid().WhereText(QStringLiteral("Výběr pro:  Cena >= 10"));
        QTest::mouseClick(w.cmdZrusVyber, Qt::LeftButton);
        QCOMPARE(grid().Where(), QString());
        QCOMPARE(grid().WhereText(), QString());
    }

    // The strip under the overview shows the current row's description field, in every
    // language: after a selection applied from another row, and after the current record
    // was deleted through the grid's record menu.
    void descriptionStripFollowsTheCurrentRow_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("Czech") << "1";
        QTest::newRow("English") << "2";
        QTest::newRow("Chinese") << "3";
    }
    void descriptionStripFollowsTheCurrentRow()
    {
        QFETCH(QString, language);
        testsupport::loadLanguage(*m_folder, language);
        Db->Execute(QStringLiteral("update Definice set Popis=1 where Sekce=1 and Pol='Pol2'"));
        frmVyber &w = open();
        frmPrehled &overview = *frmPrehled::Loaded();
        const auto strip = [&] { return overview.txtPopis->text(); };
        const auto rowPrice = [&](int row) { return grid().TMatrix(row, Cena); };
        QCOMPARE(rowPrice(3), QStringLiteral("10"));  // "Čaj", after the two empty titles
        clickCell(grid().grid(), 4, Nazev);
        QCOMPARE(strip(), rowPrice(4));

        typeOver(w, Nazev, QStringLiteral("čaj*"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().Row(), 1);
        QCOMPARE(strip(), QStringLiteral("10"));

        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, PrelozText(QStringLiteral("307,Smazat záznam"))); });
        clickCell(grid().grid(), 1, Nazev, Qt::RightButton);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(testsupport::scalar(QStringLiteral("select count(*) from Katalog where Inter=1")).toLong(), 0);
        QCOMPARE(grid().TMatrix(grid().Row(), 0), QStringLiteral("2"));
        QCOMPARE(strip(), QStringLiteral("300"));
    }

    // With the overview closed the rows are disabled and both buttons do nothing; the
    // overview's next load enables the rows again.
    void overviewClosed()
    {
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        frmPrehled::Unload();
        QVERIFY(!w.fraVyber->isEnabled());
        sys::resetBeepCount();
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QTest::mouseClick(w.cmdZrusVyber, Qt::LeftButton);
        QCOMPARE(rowTexts(w).first(), QStringLiteral("čaj*"));
        QCOMPARE(sys::beepCount(), 0);
        QCOMPARE(w.Podminka(), QString());

        frmPrehled::Form().Zobraz();
        frmPrehled::Form().NactiData();
        QVERIFY(w.fraVyber->isEnabled());
        // A selection window opened while no overview is open starts disabled.
        frmPrehled::Unload();
        frmVyber::Unload();
        frmVyber::Form().Zobraz();
        frmVyber::Form().NactiData();
        QVERIFY(!frmVyber::Form().fraVyber->isEnabled());
    }

    // A row's list: the distinct values of its field among the records meeting the
    // other rows' conditions (its own left out); dates as d.m.yyyy; loaded afresh only
    // when another row was entered or opened since.
    void dropDown()
    {
        frmVyber &w = open();
        typeOver(w, Cena, QStringLiteral("999"));  // its own list ignores it
        QCOMPARE(dropDownByArrow(w.cmb[Cena]), (QStringList{"", "0", "1.5", "5", "10", "300", "301"}));
        QCOMPARE(w.cmb[Cena]->currentText(), QStringLiteral("999"));

        typeOver(w, Cena, QStringLiteral("*100"));
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        QCOMPARE(dropDownByArrow(w.cmb[Vydano]), (QStringList{"1.5.2000"}));
        QCOMPARE(dropDownByArrow(w.cmb[Nazev]), (QStringList{"Čaj", "Káva", "O'Brien", "x') OR 1=1 OR ('"}));
        QCOMPARE(w.cmb[Nazev]->currentText(), QStringLiteral("čaj*"));

        // The same row's list again, no other row entered: as it was.
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (8, 'Mléko', 50, 1)"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        QCOMPARE(openedList(w.cmb[Nazev]).size(), 4);
        // Another row entered: loaded afresh.
        QTest::mouseClick(w.cmb[Vydano]->lineEdit(), Qt::LeftButton);
        QTest::mouseClick(w.cmb[Nazev]->lineEdit(), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        QCOMPARE(openedList(w.cmb[Nazev]), (QStringList{"Čaj", "Káva", "Mléko", "O'Brien", "x') OR 1=1 OR ('"}));

        // A list whose query finds nothing keeps its items.
        typeOver(w, Cena, QStringLiteral("12345"));
        QCOMPARE(dropDownByArrow(w.cmb[Nazev]).size(), 5);
        // A row with a value that is none does not narrow the others' lists.
        typeOver(w, Cena, QStringLiteral("abc"));
        QCOMPARE(dropDownByArrow(w.cmb[Vydano]), (QStringList{"1.5.2000", "31.12.2000"}));
    }

    // The checks run before a list is loaded too; the list is loaded all the same.
    void dropDownAfterARefusal()
    {
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        typeOver(w, Cena, QStringLiteral("1*2*3"));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QTest::mouseClick(w.cmb[Vydano]->lineEdit(), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        expectBox(boxes, 0, vbInformation, QStringLiteral("Údaj obsahuje nepovolené konvence."));
        // Building stopped at row 2: row 1's condition stands.
        QCOMPARE(w.Podminka(), QStringLiteral("Katalog.pol1c like 'čaj*'"));
        QCOMPARE(static_cast<QStringListModel *>(w.cmb[Vydano]->model())->stringList(), (QStringList{"1.5.2000", "31.12.2000"}));
        w.cmb[Vydano]->hidePopup();
    }

    // Thirty fields in a small window: the scroll bar moves the rows by whole rows, the
    // focus brings its row into sight, the boxes keep a usable width.
    void scrollingFrame()
    {
        frmVyber &w = openThirtyFields();
        QCOMPARE(w.cmb.size(), size_t(31));
        auto *frame = qobject_cast<QMdiSubWindow *>(w.parentWidget());
        QVERIFY(frame);
        frame->resize(frame->width(), frame->height() - w.height() + sys::toPixels(3000));
        QCOMPARE(w.height(), sys::toPixels(3000));
        QVERIFY(w.vsb->isVisible());
        // q = (3000 + 405 - 235) / 360 rows fit; the maximum is PocetSloupcu - (q - 1).
        QCOMPARE(w.vsb->maximum(), 31 - ((3000 + 405 - 235) / 360 - 1));
        QCOMPARE(w.vsb->singleStep(), 1);
        QCOMPARE(w.vsb->pageStep(), 3);
        w.vsb->setValue(3);
        QCOMPARE(w.fraVyber->mapTo(&w, QPoint()).y(), -sys::toPixels(3 * 360));
        // At the end the last row shows above the buttons.
        w.vsb->setValue(w.vsb->maximum());
        const QRect last = w.cmb[30]->geometry().translated(w.fraVyber->mapTo(&w, QPoint()));
        QVERIFY(last.bottom() <= w.pic->y());
        QVERIFY(last.top() >= 0);

        // Tab from the first row on: every row it reaches is in sight.
        w.vsb->setValue(0);
        QTest::mouseClick(w.cmb[1]->lineEdit(), Qt::LeftButton);
        for (int i = 2; i <= 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_VERIFY(w.cmb[size_t(i)]->hasFocus() || w.cmb[size_t(i)]->lineEdit()->hasFocus());
            const QRect box = w.cmb[size_t(i)]->geometry().translated(w.fraVyber->mapTo(&w, QPoint()));
            QVERIFY2(box.top() >= 0 && box.bottom() <= w.pic->y(), qPrintable(QString::number(i)));
        }
        // The wheel over the rows scrolls them and leaves the boxes' texts alone.
        w.vsb->setValue(5);
        QWheelEvent wheel(QPointF(10, 10), w.cmb[8]->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.cmb[8], &wheel);
        QCOMPARE(w.vsb->value(), 6);
        QCOMPARE(w.cmb[8]->currentText(), QString());

        // A narrow window: the boxes keep 500 twips.
        frame->resize(sys::toPixels(1500), frame->height());
        QCOMPARE(w.cmb[1]->width(), sys::toPixels(500));
        // Tall enough for every row: no scroll bar, the rows back at the top.
        frame->resize(sys::toPixels(6000), frame->height() - w.height() + sys::toPixels(12000));
        QVERIFY(!w.vsb->isVisible());
        QCOMPARE(w.fraVyber->mapTo(&w, QPoint()).y(), 0);
    }

    // The rows scroll by whole rows and show whole: whichever row the keys bring the
    // focus to, no caption or box is cut at the edges of the rows' area, and the rows
    // stand a whole number of rows from where they started. So a click never needs to
    // scroll: the row under the mouse takes the focus and stays under it.
    void wholeRowsInSight()
    {
        frmVyber &w = openThirtyFields();
        auto *frame = qobject_cast<QMdiSubWindow *>(w.parentWidget());
        const int rowHeight = sys::toPixels(360);
        const int firstTop = w.lbl[1]->mapTo(&w, QPoint()).y();
        // What of a widget the window shows: its rectangle cut by every parent's.
        const auto shown = [&w](QWidget *widget) {
            QRect part = widget->rect();
            for (QWidget *p = widget; p != &w; p = p->parentWidget())
                part = part.translated(p->pos()) & p->parentWidget()->rect();
            return part;
        };
        // The first row cut, or the rows off the whole-row places; empty when all is well.
        const auto cutRow = [&]() -> QString {
            const int offset = w.lbl[1]->mapTo(&w, QPoint()).y() - firstTop;
            if (offset % rowHeight != 0)
                return QStringLiteral("the rows moved by %1 pixels").arg(offset);
            for (size_t i = 1; i < w.cmb.size(); ++i)
                for (QWidget *part : {static_cast<QWidget *>(w.lbl[i]), static_cast<QWidget *>(w.cmb[i])}) {
                    const QRect seen = shown(part);
                    if (!seen.isEmpty() && seen.size() != part->size())
                        return QStringLiteral("row %1 cut: %2 of %3 pixels shown").arg(i).arg(seen.height()).arg(part->height());
                }
            return QString();
        };
        for (const int height : {3000, 3100, 3250}) {
            frame->resize(frame->width(), frame->height() - w.height() + sys::toPixels(height));
            w.vsb->setValue(0);
            QTest::mouseClick(w.cmb[1]->lineEdit(), Qt::LeftButton);
            for (int i = 2; i <= 30; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTRY_VERIFY(w.cmb[size_t(i)]->lineEdit()->hasFocus());
                QVERIFY(!shown(w.cmb[size_t(i)]).isEmpty());
                QVERIFY2(cutRow().isEmpty(), qPrintable(QStringLiteral("Tab, row %1: ").arg(i) + cutRow()));
            }
            for (int i = 29; i >= 1; --i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
                QTRY_VERIFY(w.cmb[size_t(i)]->lineEdit()->hasFocus());
                QVERIFY(!shown(w.cmb[size_t(i)]).isEmpty());
                QVERIFY2(cutRow().isEmpty(), qPrintable(QStringLiteral("Shift+Tab, row %1: ").arg(i) + cutRow()));
            }
            // Scrolled part of the way: a click anywhere down the rows' area.
            w.vsb->setValue(5);
            QVERIFY2(cutRow().isEmpty(), qPrintable(cutRow()));
            const int x = w.cmb[1]->mapTo(&w, w.cmb[1]->rect().center()).x();
            for (int y = 0; y < w.pic->y(); y += 3) {
                const QPoint at(x, y);
                QWidget *under = w.childAt(at);
                auto *line = qobject_cast<QLineEdit *>(under);
                if (!line)
                    continue;
                QTest::mouseClick(line, Qt::LeftButton, {}, line->mapFrom(&w, at));
                QVERIFY(line->hasFocus());
                QCOMPARE(w.childAt(at), under);
            }
            QCOMPARE(w.vsb->value(), 5);
        }
    }

    // A section that shows no field: no rows, and no scroll bar in a window of a usable size.
    void noShownField()
    {
        testsupport::defineSection(5, QStringLiteral("Skrytá"), {{"Skryté", "C", false}});
        frmVyber &w = open(QStringLiteral("Skrytá"));
        QCOMPARE(w.cmb.size(), size_t(1));
        QVERIFY(!w.vsb->isVisible());
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(grid().Where(), QString());
    }

    // The window opens where it was closed.
    void placement()
    {
        frmVyber *w = &open();
        auto *frame = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        frame->setGeometry(30, 20, 420, 300);
        frmVyber::Unload();
        QVERIFY(!VyberOtevren());
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowLeft")), QStringLiteral("450"));
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowTop")), QStringLiteral("300"));
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowWidth")), QStringLiteral("6300"));
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowHeight")), QStringLiteral("4500"));
        frmVyber::Form().Zobraz();
        frame = qobject_cast<QMdiSubWindow *>(frmVyber::Form().parentWidget());
        QCOMPARE(frame->geometry(), QRect(30, 20, 420, 300));
    }

    // The readable text in the language of the settings, its words too; cut at the
    // overview's edge, the whole of it shows as the strip's tool tip.
    void readableTextInTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("readable");
        QTest::newRow("Czech") << "1" << "Výběr pro:  Název je čaj* a Cena>=10 a Cena<=300";
        QTest::newRow("English") << "2" << "Selection for:  Název is čaj* and Cena>=10 and Cena<=300";
        QTest::newRow("Chinese") << "3" << "筛选条件：  Název 为 čaj* 且 Cena>=10 且 Cena<=300";
    }
    void readableTextInTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, readable);
        const testsupport::LanguageFromSettings chosen(*m_folder, language);
        frmVyber &w = open();
        typeOver(w, Nazev, QStringLiteral("čaj*"));
        typeOver(w, Cena, QStringLiteral("10*300"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(shownKeys(), (QStringList{"1", "2"}));
        QCOMPARE(grid().WhereText(), readable);

        auto *label = grid().findChild<QLabel *>(QStringLiteral("lbl"), Qt::FindDirectChildrenOnly);
        QVERIFY(label);
        QCOMPARE(label->text(), readable);
        auto *overview = qobject_cast<QMdiSubWindow *>(frmPrehled::Loaded()->parentWidget());
        QVERIFY(overview);
        overview->resize(sys::toPixels(16000), overview->height());
        QVERIFY(label->geometry().right() > label->x() + label->fontMetrics().horizontalAdvance(readable));
        QCOMPARE(label->toolTip(), QString());
        overview->resize(sys::toPixels(5500), overview->height());
        QVERIFY(label->geometry().right() < label->x() + label->fontMetrics().horizontalAdvance(readable));
        QCOMPARE(label->toolTip(), readable);
        overview->resize(sys::toPixels(16000), overview->height());
        QCOMPARE(label->toolTip(), QString());
        // Cut again, then a selection that fits: no tip left over from the longer text.
        overview->resize(sys::toPixels(5500), overview->height());
        QTest::mouseClick(w.cmdZrusVyber, Qt::LeftButton);
        QCOMPARE(grid().WhereText(), QString());
        QCOMPARE(label->toolTip(), QString());
    }

    // Translated: the window's caption and buttons and the readable text's heading; the
    // field captions are the user's.
    void translated()
    {
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= 420; ++i)
            Preklady->add(QString::number(i), QStringLiteral("EN %1").arg(i));
        frmVyber &w = open();
        QCOMPARE(w.windowTitle(), QStringLiteral("EN 55"));
        QCOMPARE(w.cmdVyber->text(), QStringLiteral("EN 372"));
        QCOMPARE(w.cmdZrusVyber->text(), QStringLiteral("EN 413"));
        QCOMPARE(w.lbl[Nazev]->text(), QStringLiteral("Název"));
        typeOver(w, Cena, QStringLiteral("10"));
        QTest::mouseClick(w.cmdVyber, Qt::LeftButton);
        QCOMPARE(grid().WhereText(), QStringLiteral("EN 370  Cena=10"));
    }
};

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
