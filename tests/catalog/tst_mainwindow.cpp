// The main window: its placement and settings, its menus, and the sections in them.
#include "catalogfixture.h"
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "common/globals.h"
#include "common/translation.h"
#include "menudriver.h"
#include "testsupport.h"
#include "data/currentoverview.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Sections 2 "Známky" and 5 "Auta" with definitions, 7 without a name and 9 "Bez polí" without.
    static void fourSections()
    {
        testsupport::insertRows(QStringLiteral("Sekce"), QStringLiteral("Sekce, Nazev"),
                                {"9, 'Bez polí'", "2, 'Známky'", "7, null", "5, 'Auta'"});
        testsupport::insertRows(QStringLiteral("Definice"), QStringLiteral("Poradi, Pol, Sekce"),
                                {"1, 'Pol1', 2", "1, 'Pol1', 5", "1, 'Pol1', 7"});
    }

    static QStringList captions(const std::vector<QAction *> &items)
    {
        QStringList list;
        for (QAction *a : items)
            list << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return list;
    }

    static QStringList openViews()
    {
        QStringList names;
        for (const char *name : {"frmPrehled", "frmVyber", "frmNahled"})
            if (frmMain::Loaded()->findChild<QWidget *>(QLatin1String(name)))
                names << QLatin1String(name);
        return names;
    }

    static QStringList sectionCommandsEnabled(frmMain &w)
    {
        QStringList on;
        // Export and update have no window yet: they stay disabled whatever the section.
        for (QAction *a : {w.mnuNew, w.mnuCopy, w.mnuUpdate, w.mnuDelete, w.mnuDeleteAll, w.mnuNahled, w.mnuNahledAdd,
                           w.mnuExport, w.mnuImport, w.mnuZobrazPrehled, w.mnuZobrazNahled, w.mnuZobrazVyber})
            if (a->isEnabled())
                on << a->objectName();
        return on;
    }

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"mdiWindowState", "mdiWindowHeight", "mdiWindowWidth", "mdiWindowTop", "mdiWindowLeft",
                                "VyberWindowShow", "NahledWindowShow", "Sekce"})
            SmazInfo(QLatin1String(key));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
    }
    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        m_folder.reset();
    }

    // The first start opens a normal window of 12000 x 9000 twips in the corner.
    void firstPlacement()
    {
        frmMain &w = frmMain::Form();
        QCOMPARE(w.size(), QSize(800, 600));
        QCOMPARE(w.pos(), QPoint(0, 0));
        QVERIFY(!w.isMaximized());
    }

    // Placement is kept only in the normal state; the state itself always.
    void placementSaved_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }
    void placementSaved()
    {
        QFETCH(bool, maximised);
        UlozInfo(QStringLiteral("mdiWindowWidth"), QStringLiteral("9000"));
        UlozInfo(QStringLiteral("mdiWindowHeight"), QStringLiteral("6000"));
        UlozInfo(QStringLiteral("mdiWindowLeft"), QStringLiteral("300"));
        UlozInfo(QStringLiteral("mdiWindowTop"), QStringLiteral("150"));
        frmMain &w = frmMain::Form();
        QCOMPARE(w.size(), QSize(600, 400));
        QCOMPARE(w.pos(), QPoint(20, 10));
        w.show();
        w.resize(630, 420);
        if (maximised)
            w.showMaximized();
        NastavAktualniSekci(4, QStringLiteral("SEKCE 4"));
        frmVyber::Unload();
        frmNahled::Form().Zobraz();
        frmMain::Unload();
        QCOMPARE(NactiInfo(QStringLiteral("mdiWindowState")), maximised ? QStringLiteral("2") : QStringLiteral("0"));
        QCOMPARE(NactiInfo(QStringLiteral("mdiWindowWidth")), maximised ? QStringLiteral("9000") : QStringLiteral("9450"));
        QCOMPARE(NactiInfo(QStringLiteral("mdiWindowHeight")), maximised ? QStringLiteral("6000") : QStringLiteral("6300"));
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowShow")), QStringLiteral("False"));
        QCOMPARE(NactiInfo(QStringLiteral("NahledWindowShow")), QStringLiteral("True"));
        QCOMPARE(NactiInfo(QStringLiteral("Sekce")), QStringLiteral("4"));
        if (maximised)
            QVERIFY(frmMain::Form().isMaximized() || frmMain::Form().windowState() & Qt::WindowMaximized);
    }

    // A window closed minimised opens normal at the next start.
    void minimisedComesBackNormal()
    {
        frmMain *w = &frmMain::Form();
        w->show();
        w->showMinimized();
        QVERIFY(w->close());
        QTRY_VERIFY(!frmMain::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("mdiWindowState")), QStringLiteral("1"));
        w = &frmMain::Form();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(!w->isMinimized());
    }

    // A stored placement the screen cannot show opens where it can be used.
    void storedPlacementMadeUsable_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::newRow("not numbers") << "x" << "y" << "wide" << "high";
        QTest::newRow("no size") << "300" << "150" << "0" << "0";
        QTest::newRow("on a screen that is gone") << "60000" << "-30000" << "9000" << "6000";
        QTest::newRow("larger than the screen") << "0" << "0" << "120000" << "90000";
    }
    void storedPlacementMadeUsable()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QString, width);
        QFETCH(QString, height);
        UlozInfo(QStringLiteral("mdiWindowLeft"), left);
        UlozInfo(QStringLiteral("mdiWindowTop"), top);
        UlozInfo(QStringLiteral("mdiWindowWidth"), width);
        UlozInfo(QStringLiteral("mdiWindowHeight"), height);
        frmMain &w = frmMain::Form();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect area = w.screen()->availableGeometry();
        // The frame's corner and the window's size; the decorations may add a few pixels.
        const QRect placed(w.pos(), w.size());
        QVERIFY2(area.contains(placed), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height())));
        QVERIFY(w.width() >= 400 && w.height() >= 300);
    }

    // The rule: at least a usable size, no larger than the area, moved into the area.
    void usablePlacement_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("fits") << QRect(20, 10, 600, 400) << screen << QRect(20, 10, 600, 400);
        QTest::newRow("fills the area") << screen << screen << screen;
        QTest::newRow("no size") << QRect(0, 0, 0, 0) << screen << QRect(0, 0, 400, 300);
        QTest::newRow("negative size") << QRect(50, 40, -10, -10) << screen << QRect(50, 40, 400, 300);
        QTest::newRow("too narrow only") << QRect(50, 40, 100, 500) << screen << QRect(50, 40, 400, 500);
        QTest::newRow("past the right and bottom edges") << QRect(800, 700, 600, 400) << screen << QRect(424, 368, 600, 400);
        QTest::newRow("above and left of the area") << QRect(-500, -300, 600, 400) << screen << QRect(0, 0, 600, 400);
        QTest::newRow("on a screen that is gone") << QRect(3000, 1200, 600, 400) << screen << QRect(424, 368, 600, 400);
        QTest::newRow("larger than the area") << QRect(-10, 5, 3000, 2000) << screen << screen;
        QTest::newRow("a panel along the top") << QRect(10, 0, 600, 400) << QRect(0, 32, 1024, 736) << QRect(10, 32, 600, 400);
        QTest::newRow("a second screen on the right") << QRect(1500, 50, 600, 400) << QRect(1024, 0, 1280, 1024)
                                                      << QRect(1500, 50, 600, 400);
        QTest::newRow("past a second screen's right edge") << QRect(1900, 50, 600, 400) << QRect(1024, 0, 1280, 1024)
                                                           << QRect(1704, 50, 600, 400);
        QTest::newRow("an area smaller than usable") << QRect(0, 0, 0, 0) << QRect(0, 0, 320, 200) << QRect(0, 0, 320, 200);
    }
    void usablePlacement()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        QCOMPARE(::usablePlacement(stored, available), placed);
    }

    // Katalog, Konec chosen in the real menu, by mouse and by keys: the settings are saved
    // and the frame goes with its views, once the menu has finished with the click.
    void konec_data()
    {
        QTest::addColumn<bool>("keys");
        QTest::newRow("mouse") << false;
        QTest::newRow("keys") << true;
    }
    void konec()
    {
        QFETCH(bool, keys);
        fourSections();
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("True"));
        UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("False"));
        frmMain &w = frmMain::Form();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[1]);
        QCOMPARE(openViews(), (QStringList{"frmPrehled", "frmVyber"}));
        if (keys) {
            // Alt+Z opens Katalog's neighbour, Left moves to it, and Up from the top wraps
            // round to its last item.
            QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
            QTRY_VERIFY(w.mnuZobraz->isVisible());
            QTest::keyClick(w.mnuZobraz, Qt::Key_Left);
            QTRY_VERIFY(w.mnuKatalog->isVisible());
            QTest::keyClick(w.mnuKatalog, Qt::Key_Up);
            QCOMPARE(w.mnuKatalog->activeAction(), w.mnuEnd);
            QTest::keyClick(w.mnuKatalog, Qt::Key_Return);
        } else {
            testsupport::chooseFromMenu(w.mnuKatalog, nullptr, w.mnuEnd);
        }
        QTRY_VERIFY(!frmMain::Loaded());
        QVERIFY(!frmPrehled::Loaded());
        QVERIFY(!frmVyber::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("Sekce")), QStringLiteral("5"));
        QCOMPARE(NactiInfo(QStringLiteral("VyberWindowShow")), QStringLiteral("True"));
        QCOMPARE(NactiInfo(QStringLiteral("NahledWindowShow")), QStringLiteral("False"));
        QCOMPARE(NactiInfo(QStringLiteral("mdiWindowState")), QStringLiteral("0"));
    }

    void sectionMenus()
    {
        fourSections();
        frmMain &w = frmMain::Form();
        // A section without a name comes first, as the database sorts a Null name.
        const QStringList expected{"Sekce 7", "Auta", "Bez polí (off)", "Známky"};
        QCOMPARE(captions(w.mnuSekceX), expected);
        QCOMPARE(captions(w.mnuSekceM), expected);
        QVERIFY(w.mnuSekce->isEnabled());
        QVERIFY(w.mnuMoveAll->isEnabled());
        QCOMPARE(w.mnuSekceX[1]->data().toString(), QStringLiteral("5"));
    }

    void noSections()
    {
        frmMain &w = frmMain::Form();
        QVERIFY(!w.mnuSekce->isEnabled());
        QVERIFY(!w.mnuMoveAll->isEnabled());
        QCOMPARE(w.mnuSekceX.size(), size_t(1));
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("0"));
        QCOMPARE(w.lblSekce->text(), QString());
        w.NastavMenu();
        QCOMPARE(sectionCommandsEnabled(w), QStringList());
    }

    void nastavMenu_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("a number") << "5" << true;
    }
    void nastavMenu()
    {
        QFETCH(QString, tag);
        QFETCH(bool, enabled);
        fourSections();
        frmMain &w = frmMain::Form();
        Prehled().NastavTagSekce(tag, QString());
        w.NastavMenu();
        QCOMPARE(sectionCommandsEnabled(w).size(), enabled ? 12 : 0);
        // The commands that need no section stay as they are.
        QVERIFY(w.mnuEnd->isEnabled());
        QVERIFY(w.mnuMajitel->isEnabled());
    }

    // Switching the section reopens the views by the settings and enables the commands.
    void switchSection()
    {
        fourSections();
        UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("False"));
        frmMain &w = frmMain::Form();
        w.show();
        NastavAktualniSekci(std::nullopt, QString());
        w.NastavMenu();
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[2]);  // disabled: a section without definitions
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("0"));
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[0]);  // the section without a name
        QCOMPARE(w.lblSekce->text(), QStringLiteral("SEKCE 7"));
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("7"));
        QCOMPARE(openViews(), (QStringList{"frmPrehled", "frmNahled"}));
        QCOMPARE(sectionCommandsEnabled(w).size(), 12);
        QWidget *before = frmPrehled::Loaded();
        QPointer<QWidget> watch(before);
        testsupport::chooseFromMenu(w.mnuKatalog, w.mnuSekce, w.mnuSekceX[3]);
        QCOMPARE(w.lblSekce->text(), QStringLiteral("ZNÁMKY"));
        QVERIFY(!watch);  // the views are made anew for the new section
        QVERIFY(frmPrehled::Loaded());
    }

    // A current section that is gone from the table is current no more.
    void currentSectionDeleted()
    {
        fourSections();
        frmMain &w = frmMain::Form();
        NastavAktualniSekci(2, QStringLiteral("ZNÁMKY"));
        frmPrehled::Form().Zobraz();
        Db->Execute(QStringLiteral("delete from Sekce where Sekce=2"));
        w.NactiSekce();
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("0"));
        QCOMPARE(w.lblSekce->text(), QString());
        QVERIFY(!frmPrehled::Loaded());
        QVERIFY(!w.mnuNew->isEnabled());
        QCOMPARE(captions(w.mnuSekceX), (QStringList{"Sekce 7", "Auta", "Bez polí (off)"}));
    }

    // Translated: every caption goes through the message list, the sections' names do not.
    void translated()
    {
        fourSections();
        Db->Execute(QStringLiteral("update Sekce set Nazev='1,5 palce' where Sekce=9"));
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= 530; ++i)
            Preklady->add(QString::number(i), QStringLiteral("EN %1").arg(i));
        frmMain &w = frmMain::Form();
        PrelozFormular(w, 0);
        QCOMPARE(w.windowTitle(), QStringLiteral("EN 237"));
        QCOMPARE(w.mnuKatalog->title(), QStringLiteral("EN 525"));
        QCOMPARE(w.mnuNastKatalog->text(), QStringLiteral("EN 106"));
        QCOMPARE(w.mnuEnd->text(), QStringLiteral("EN 111"));
        QCOMPARE(w.PopupNahledTisk->text(), QStringLiteral("EN 334"));
        QCOMPARE(w.lblSekce->toolTip(), QStringLiteral("EN 162"));
        QCOMPARE(w.mnuSekceX[0]->text(), QStringLiteral("EN 300 7"));
        QCOMPARE(w.mnuSekceX[1]->text(), QStringLiteral("1,5 palce"));
    }

    // Every top menu has an access key of its own in every language, Katalog too: Alt
    // and its letter open it.
    void topMenuAccessKeys_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("keys");  // Katalog, Zobrazit, Systém, O aplikaci
        QTest::newRow("Czech") << "1" << QStringList{"Alt+K", "Alt+Z", "Alt+Y", "Alt+L"};
        QTest::newRow("English") << "2" << QStringList{"Alt+C", "Alt+V", "Alt+Y", "Alt+A"};
        QTest::newRow("Chinese") << "3" << QStringList{"Alt+C", "Alt+V", "Alt+Y", "Alt+A"};
    }
    void topMenuAccessKeys()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, keys);
        fourSections();
        const testsupport::LanguageFromSettings chosen(*m_folder, language);
        frmMain &w = frmMain::Form();
        PrelozFormular(w, 0);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList shown;
        for (QAction *menu : w.menuBar()->actions())
            shown << QKeySequence::mnemonic(menu->text()).toString();
        QCOMPARE(shown, keys);
        QTest::keyClick(&w, QKeySequence(keys[0])[0].key(), Qt::AltModifier);
        QTRY_VERIFY(w.mnuKatalog->isVisible());
        QTest::keyClick(w.mnuKatalog, Qt::Key_Escape);
        QTRY_VERIFY(!w.mnuKatalog->isVisible());
    }

    // The flag of the language in use, and the attachment icons, are there.
    void pictures()
    {
        Jazyk = QStringLiteral("3");
        frmMain &w = frmMain::Form();
        QCOMPARE(w.Panel(2)->pixmap().toImage(), w.iml.ListImages(3).toImage());
        QCOMPARE(w.iml.ListImages(1).size(), QSize(25, 16));
        QCOMPARE(w.iml.ListImages(4).size(), QSize(191, 235));
        QCOMPARE(w.iml.ListImages(5).size(), QSize(175, 175));
        QVERIFY(w.iml.ListImages(6).isNull());
        QVERIFY(!w.menuBar()->actions().contains(w.PopupNahledy->menuAction()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
