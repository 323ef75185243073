// The owner data and application settings windows, opened from the main window's menu and
// driven as a user drives them: what is stored, what the overview does with it, and the
// keys of their boxes.
#include "VarnexEditUni.h"
#include "menudriver.h"
#include "catalogfixture.h"
#include "data/infosettings.h"
#include "data/ownerdata.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "modaldriver.h"
#include "setup/frmMajitel.h"
#include "setup/frmNastav.h"
#include "system.h"
#include "overviewgrid.h"
#include "data/currentoverview.h"
#include "typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using testsupport::chooseFromMenu;
using testsupport::scalar;
using testsupport::typeOver;
using testsupport::whenShown;

class TestSetup : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;  // the timers of one test

    static void showMain()
    {
        frmMain &main = frmMain::Form();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }

    static int owners(const QString &where = QStringLiteral("1=1"))
    {
        return scalar(QStringLiteral("select count(*) from Majitel where ") + where).toLong();
    }

private Q_SLOTS:
    void init()
    {
        m_scope = std::make_unique<QObject>();
        for (const char *key : {"chkAllRecords", "txtAllRecords", "mdiWindowState", "mdiWindowWidth", "mdiWindowHeight",
                                "mdiWindowLeft", "mdiWindowTop", "PrehledWindowWidth", "PrehledWindowHeight"})
            SmazInfo(QLatin1String(key));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmMajitel::Loaded();
        delete frmNastav::Loaded();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // The statements as the database receives them: every value quoted, the flag a number.
    void ownerStatements()
    {
        UdajeMajitele udaje;
        udaje.Texty = {"123", "CZ1", "O'Brien s.r.o.", "", "", "", "", "", "", "http://x"};
        udaje.Dph = true;
        QCOMPARE(UpdateMajitele(udaje),
                 QStringLiteral("Update majitel set ico='123', dic='CZ1', nazev='O''Brien s.r.o.', ulice='', mesto='', psc='', "
                                "telefon='', www='', email='', dph=1, webaktualizace='http://x'"));
        QCOMPARE(InsertMajitele(udaje),
                 QStringLiteral("Insert into majitel (ico,dic,nazev,ulice,mesto,psc,telefon,www,email,dph,webaktualizace) "
                                "values ('123', 'CZ1', 'O''Brien s.r.o.', '', '', '', '', '', '', 1, 'http://x')"));
    }

    // The row as the owner window reads it, and the update address as the export and the
    // update read it: without the blanks at the ends; nothing where the table has no row,
    // a Null where it has one.
    void ownerRead()
    {
        QCOMPARE(NactiMajitele(*Db).Texty, (std::array<QString, 10>{}));
        QVERIFY(!NactiMajitele(*Db).Dph);
        QCOMPARE(AdresaAktualizace(*Db), QString());
        Db->Execute(QStringLiteral("insert into Majitel (ico, nazev, mesto, dph, webaktualizace) "
                                   "values (' 123 ', 'O''Brien', Null, 1, '  http://www.x.cz  ')"));
        const UdajeMajitele udaje = NactiMajitele(*Db);
        QCOMPARE(udaje.Texty, (std::array<QString, 10>{"123", "", "O'Brien", "", "", "", "", "", "", "http://www.x.cz"}));
        QVERIFY(udaje.Dph);
        QCOMPARE(AdresaAktualizace(*Db), QStringLiteral("http://www.x.cz"));
        Db->Execute(QStringLiteral("update Majitel set webaktualizace=Null"));
        QCOMPARE(AdresaAktualizace(*Db), QString());
    }

    // An empty table: the first save inserts the row, the second updates it; the name with
    // an apostrophe reads back unchanged, the update address is cut at its column's 70.
    void ownerSavedTwice()
    {
        showMain();
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        const QString address = QStringLiteral("http://example.org/") + QString(60, QLatin1Char('a'));
        bool ran = false;
        whenShown<frmMajitel>(m_scope.get(), [&](frmMajitel &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Údaje majitele"));
            QVERIFY(!w.chkDph->isChecked());
            QVERIFY(!w.txt[1]->isEnabled());
            typeOver(w.txt[2], QStringLiteral("O'Brien s.r.o."));
            typeOver(w.txt[9], address);
            QCOMPARE(w.txt[9]->text(), address.left(70));
            QVERIFY(sys::beepCount() > 0);
            QTest::mouseClick(w.chkDph, Qt::LeftButton);
            QVERIFY(w.txt[1]->isEnabled());
            typeOver(w.txt[1], QStringLiteral("CZ123"));
            QTest::mouseClick(w.cmdSave, Qt::LeftButton);
            QCOMPARE(notices.texts, QStringList{"Změny byly uloženy"});
            QCOMPARE(owners(), 1);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);  // quiet
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuSys, nullptr, frmMain::Form().mnuMajitel);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmMajitel::Loaded());
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(owners(), 1);
        QCOMPARE(owners(QStringLiteral("Nazev='O''Brien s.r.o.' and Dic='CZ123' and Dph<>0 and WebAktualizace='%1'")
                            .arg(address.left(70))),
                 1);

        // Read back as stored; unticking makes a non-payer's row.
        ran = false;
        whenShown<frmMajitel>(m_scope.get(), [&](frmMajitel &w) {
            QCOMPARE(w.txt[2]->text(), QStringLiteral("O'Brien s.r.o."));
            QVERIFY(w.chkDph->isChecked());
            QTest::mouseClick(w.chkDph, Qt::LeftButton);
            QCOMPARE(w.txt[1]->text(), QStringLiteral("Neplátci DPH"));
            QVERIFY(!w.txt[1]->isEnabled());
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuSys, nullptr, frmMain::Form().mnuMajitel);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmMajitel::Loaded());
        QCOMPARE(owners(QStringLiteral("Nazev='O''Brien s.r.o.' and Dic='Neplátci DPH' and Dph=0")), 1);
        QCOMPARE(owners(), 1);
    }

    // A save the database refuses is reported; the window stays with the edits, and
    // leaving it then asks about them.
    void ownerSaveFails()
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbNo).expect(vbYes);
        bool ran = false;
        whenShown<frmMajitel>(m_scope.get(), [&](frmMajitel &w) {
            typeOver(w.txt[2], QStringLiteral("Firma"));
            Db->Execute(QStringLiteral("drop table Majitel"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].style, vbCritical);
            QVERIFY(boxes.shown()[0].text.startsWith(QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\n")));
            QVERIFY(w.isVisible());
            QCOMPARE(w.txt[2]->text(), QStringLiteral("Firma"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);  // No: stays
            QVERIFY(w.isVisible());
            QCOMPARE(boxes.shown()[1].text, QStringLiteral("Provedené změny nebudou zapsány. Pokračovat?"));
            QTest::keyClick(&w, Qt::Key_Escape);  // Yes: goes
            ran = true;
        });
        frmMajitel::Form().Zobraz();
        QVERIFY(ran);
        QVERIFY(!frmMajitel::Loaded());
    }

    // Enter and Down leave a box for the next control without typing anything, Up goes
    // back; a box left with Enter takes no typing until another key comes.
    void ownerKeys()
    {
        bool ran = false;
        whenShown<frmMajitel>(m_scope.get(), [&](frmMajitel &w) {
            QTest::mouseClick(w.txt[2], Qt::LeftButton);
            QTest::keyClicks(w.txt[2], QStringLiteral("A"));
            QTest::keyClick(w.txt[2], Qt::Key_Return);
            QTRY_VERIFY(w.txt[3]->hasFocus());
            QCOMPARE(w.txt[2]->text(), QStringLiteral("A"));
            QTest::keyClick(w.txt[3], Qt::Key_Down);
            QTRY_VERIFY(w.txt[4]->hasFocus());
            QTest::keyClick(w.txt[4], Qt::Key_Up);
            QTRY_VERIFY(w.txt[3]->hasFocus());
            QTest::keyClicks(w.txt[3], QStringLiteral("b"));
            QCOMPARE(w.txt[3]->text(), QStringLiteral("b"));
            typeOver(w.txt[5], QStringLiteral("123456"));
            QCOMPARE(w.txt[5]->text(), QStringLiteral("12345"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        testsupport::SavedNotices notices;
        frmMajitel::Form().Zobraz();
        QVERIFY(ran);
        QCOMPARE(owners(QStringLiteral("Nazev='A' and Ulice='b' and Psc='12345'")), 1);
    }

    // The form typed as a user types it: into IČO, then each box's text and Enter. Enter
    // goes to the next text box, past the VAT check box (and the closed DIČ box of a
    // non-payer), so that nothing typed lands on the check box and every box keeps what
    // was typed. The check box is reached by Tab; a letter typed there only beeps.
    void ownerTypedWithEnter_data()
    {
        QTest::addColumn<bool>("payer");
        QTest::newRow("non-payer") << false;
        QTest::newRow("payer") << true;
    }
    void ownerTypedWithEnter()
    {
        QFETCH(bool, payer);
        if (payer)
            Db->Execute(QStringLiteral("insert into Majitel (Ico, Dic, Dph) values ('1', 'CZ1', 1)"));
        showMain();
        QStringList texts{"12345678", "CZ12345678", "Stavby a spol. s r.o.", "Dlouha 5", "Horni Dolni", "11000",
                          "+420 123 456", "www.stavby.cz", "info@stavby.cz", "http://www.stavby.cz/akt"};
        if (!payer)
            texts[1] = QString();
        bool ran = false;
        whenShown<frmMajitel>(m_scope.get(), [&](frmMajitel &w) {
            QCOMPARE(w.txt[1]->isEnabled(), payer);
            QTest::mouseClick(w.txt[0], Qt::LeftButton);
            for (int i = 0; i < 10; ++i) {
                if (texts[i].isEmpty())
                    continue;
                QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.txt[size_t(i)]));
                QTest::keyClick(w.txt[size_t(i)], Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(QApplication::focusWidget(), texts[i]);
                if (i < 9)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            QCOMPARE(w.chkDph->isChecked(), payer);
            for (int i = 0; i < 10; ++i)
                QCOMPARE(w.txt[size_t(i)]->text(), texts[i]);

            // Tab from the name back up reaches the check box; a letter there only beeps.
            QTest::mouseClick(w.txt[2], Qt::LeftButton);
            QTest::keyClick(w.txt[2], Qt::Key_Backtab);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.chkDph));
            sys::resetBeepCount();
            QTest::keyClicks(w.chkDph, QStringLiteral("ab"));
            QCOMPARE(sys::beepCount(), 2);
            QCOMPARE(w.chkDph->isChecked(), payer);
            QCOMPARE(w.txt[1]->text(), texts[1]);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuSys, nullptr, frmMain::Form().mnuMajitel);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmMajitel::Loaded());
        QCOMPARE(owners(), 1);
        auto row = Db->OpenRecordset(QStringLiteral("select Ico, Dic, Nazev, Ulice, Mesto, Psc, Telefon, Www, Email, "
                                                    "WebAktualizace, Dph from Majitel"));
        for (int i = 0; i < 10; ++i)
            QCOMPARE((*row)[i].toString().trimmed(), texts[i]);
        QCOMPARE((*row)[10].toBool(), payer);
    }

    // For a user without settings the limit is on at 1000; "2,5" reads 2.5 once the box
    // is left, is stored so, and the overview then loads two of a section's three records.
    void recordLimit()
    {
        testsupport::defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}});
        for (int key = 1; key <= 3; ++key)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'k%1', 1)").arg(key));
        showMain();
        testsupport::SavedNotices notices;
        bool ran = false;
        whenShown<frmNastav>(m_scope.get(), [&](frmNastav &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Nastavení systému"));
            QVERIFY(w.chkAllRecords->isChecked());
            QVERIFY(w.txtAllRecords->isEnabled());
            QCOMPARE(w.txtAllRecords->text(), QStringLiteral("1000"));
            typeOver(w.txtAllRecords, QStringLiteral("2,5"));
            QTest::keyClick(w.txtAllRecords, Qt::Key_Tab);
            QCOMPARE(w.txtAllRecords->text(), QStringLiteral("2.5"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QCOMPARE(notices.texts, QStringList{"Změny byly uloženy"});
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuSys, frmMain::Form().mnuNastav, frmMain::Form().mnuNastAplikace);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmNastav::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("chkAllRecords")), QStringLiteral("True"));
        QCOMPARE(NactiInfo(QStringLiteral("txtAllRecords")), QStringLiteral("2.5"));

        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("SEKCE 1"));
        frmPrehled &overview = frmPrehled::Form();
        overview.Zobraz();
        overview.NactiData();
        QCOMPARE(overviewGrid(overview)->Rows() - 1, 2);
    }

    // A limit typed into the window and the records the overview then loads of a section
    // of 99: never fewer than asked, however large the number; at least one.
    void limitEdges_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("counter");
        QTest::newRow("50") << "50" << "50" << 50 << "50 záznamů z 99";
        QTest::newRow("largest long") << "2147483647" << "2147483647" << 99 << "99 záznamů";
        QTest::newRow("one more") << "2147483648" << "2147483648" << 99 << "99 záznamů";
        QTest::newRow("eleven nines") << "99999999999" << "99999999999" << 99 << "99 záznamů";
        QTest::newRow("24 digits") << "123456789012345678901234" << "1.23456789012346E+23" << 99 << "99 záznamů";
        QTest::newRow("0") << "0" << "0" << 1 << "1 záznam z 99";
        QTest::newRow("negative") << "-5" << "-5" << 1 << "1 záznam z 99";
        QTest::newRow("negative beyond a long") << "-99999999999" << "-99999999999" << 1 << "1 záznam z 99";
        QTest::newRow("text") << "mnoho" << "0" << 1 << "1 záznam z 99";
    }
    void limitEdges()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, rows);
        QFETCH(QString, counter);
        testsupport::defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}});
        for (int key = 1; key <= 99; ++key)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'k%2', 1)")
                            .arg(key).arg(key, 2, 10, QLatin1Char('0')));
        showMain();
        testsupport::SavedNotices notices;
        bool ran = false;
        whenShown<frmNastav>(m_scope.get(), [&](frmNastav &w) {
            typeOver(w.txtAllRecords, typed);
            QTest::keyClick(w.txtAllRecords, Qt::Key_Tab);
            QCOMPARE(w.txtAllRecords->text(), shown);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuSys, frmMain::Form().mnuNastav, frmMain::Form().mnuNastAplikace);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmNastav::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("txtAllRecords")), shown);

        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("SEKCE 1"));
        frmPrehled &overview = frmPrehled::Form();
        overview.Zobraz();
        overview.NactiData();
        QCOMPARE(overviewGrid(overview)->Rows() - 1, rows);
        QCOMPARE(overviewGrid(overview)->TMatrix(1, 1), QStringLiteral("k01"));
        // The count of the section's records follows the rows.
        QVERIFY(overviewSettled());
        QCOMPARE(overviewGrid(overview)->findChild<QLabel *>(QStringLiteral("lblRecord"))->text(), counter);
    }

    // What the limit box makes of a text when it is left.
    void limitNormalised_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma") << "2,5" << "2.5";
        QTest::newRow("word after") << "1500 ks" << "1500";
        QTest::newRow("no number") << "mnoho" << "0";
    }
    void limitNormalised()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        bool ran = false;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbYes);
        whenShown<frmNastav>(m_scope.get(), [&](frmNastav &w) {
            typeOver(w.txtAllRecords, typed);
            QTest::keyClick(w.txtAllRecords, Qt::Key_Return);  // on to the next control
            QTRY_VERIFY(!w.txtAllRecords->hasFocus());
            QCOMPARE(w.txtAllRecords->text(), shown);
            w.close();
            ran = true;
        });
        frmNastav::Form().Zobraz();
        QVERIFY(ran);
    }

    // The keys a user expects: Space ticks the check box (and the limit box follows it),
    // Tab and Shift+Tab move, Enter presses the button that has the focus; unticked and
    // saved, the overview is no longer limited.
    void settingsKeys()
    {
        testsupport::SavedNotices notices;
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo);
        bool ran = false;
        whenShown<frmNastav>(m_scope.get(), [&](frmNastav &w) {
            w.chkAllRecords->setFocus();
            QTest::keyClick(w.chkAllRecords, Qt::Key_Space);
            QVERIFY(!w.chkAllRecords->isChecked());
            QVERIFY(!w.txtAllRecords->isEnabled());
            QTest::keyClick(w.chkAllRecords, Qt::Key_Tab);
            QTRY_VERIFY(w.cmdOK->hasFocus());
            QTest::keyClick(w.cmdOK, Qt::Key_Tab);
            QTRY_VERIFY(w.cmdEnd->hasFocus());
            QTest::keyClick(w.cmdEnd, Qt::Key_Return);  // Konec: the change is asked about, No stays
            QCOMPARE(boxes.shown().size(), size_t(1));
            QVERIFY(w.isVisible());
            QTest::keyClick(w.cmdEnd, Qt::Key_Backtab, Qt::ShiftModifier);
            QTRY_VERIFY(w.cmdOK->hasFocus());
            QTest::keyClick(w.cmdOK, Qt::Key_Return);
            ran = true;
        });
        frmNastav::Form().Zobraz();
        QVERIFY(ran);
        QVERIFY(!frmNastav::Loaded());
        QCOMPARE(notices.texts.size(), 1);
        QCOMPARE(NactiInfo(QStringLiteral("chkAllRecords")), QStringLiteral("False"));
    }
};

QTEST_MAIN(TestSetup)
#include "tst_setup.moc"
