// The main window: its placement and settings, its menus, and the sections in them.
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "common/globals.h"
#include "common/translation.h"
#include "testsupport.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    void openCatalog(const QStringList &statements)
    {
        const QString path = m_folder->file(QStringLiteral("QIRData.mdb"));
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), path));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
        Ws = std::make_unique<dao::Workspace>();
        Db = Ws->OpenDatabase(path);
        for (const QString &sql : statements)
            Db->Execute(sql);
    }

    // Sections 2 "Známky" and 5 "Auta" with definitions, 7 without a name and 9 "Bez polí" without.
    void fourSections()
    {
        openCatalog({QStringLiteral("insert into Sekce values (9, 'Bez polí')"),
                     QStringLiteral("insert into Sekce values (2, 'Známky')"),
                     QStringLiteral("insert into Sekce values (7, null)"),
                     QStringLiteral("insert into Sekce values (5, 'Auta')"),
                     QStringLiteral("insert into Definice (Poradi, Pol, Sekce) values (1, 'Pol1', 2)"),
                     QStringLiteral("insert into Definice (Poradi, Pol, Sekce) values (1, 'Pol1', 5)"),
                     QStringLiteral("insert into Definice (Poradi, Pol, Sekce) values (1, 'Pol1', 7)")});
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
        for (QAction *a : {w.mnuNew, w.mnuCopy, w.mnuUpdate, w.mnuDelete, w.mnuDeleteAll, w.mnuNahled, w.mnuNahledAdd,
                           w.mnuExport, w.mnuImport, w.mnuZobrazPrehled, w.mnuZobrazNahled, w.mnuZobrazVyber})
            if (a->isEnabled())
                on << a->objectName();
        return on;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        for (const char *key : {"mdiWindowState", "mdiWindowHeight", "mdiWindowWidth", "mdiWindowTop", "mdiWindowLeft",
                                "VyberWindowShow", "NahledWindowShow", "Sekce"})
            SmazInfo(QLatin1String(key));
        Jazyk = QStringLiteral("1");
    }
    void cleanup()
    {
        if (frmMain::Loaded())
            delete frmMain::Loaded();
        Db.reset();
        Ws.reset();
        Preklady.reset();
        m_folder.reset();
    }

    // The first start opens a normal window of 12000 x 9000 twips in the corner.
    void firstPlacement()
    {
        openCatalog({});
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
        openCatalog({});
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
        w.lblSekce->setProperty("Tag", QStringLiteral("4"));
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

    // Konec saves the settings through the closing of the window.
    void konec()
    {
        openCatalog({});
        frmMain &w = frmMain::Form();
        w.show();
        w.lblSekce->setProperty("Tag", QStringLiteral("3"));
        frmVyber::Form().Zobraz();
        frmNahled::Unload();
        w.mnuEnd->trigger();
        QTRY_VERIFY(!frmMain::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("Sekce")), QStringLiteral("3"));
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
        openCatalog({});
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
        w.lblSekce->setProperty("Tag", tag);
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
        w.lblSekce->setProperty("Tag", QStringLiteral("0"));
        w.NastavMenu();
        w.mnuSekceX[2]->trigger();  // disabled: a section without definitions
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("0"));
        w.mnuSekceX[0]->trigger();  // the section without a name
        QCOMPARE(w.lblSekce->text(), QStringLiteral("SEKCE 7"));
        QCOMPARE(w.lblSekce->property("Tag").toString(), QStringLiteral("7"));
        QCOMPARE(openViews(), (QStringList{"frmPrehled", "frmNahled"}));
        QCOMPARE(sectionCommandsEnabled(w).size(), 12);
        QWidget *before = frmPrehled::Loaded();
        QPointer<QWidget> watch(before);
        w.mnuSekceX[3]->trigger();
        QCOMPARE(w.lblSekce->text(), QStringLiteral("ZNÁMKY"));
        QVERIFY(!watch);  // the views are made anew for the new section
        QVERIFY(frmPrehled::Loaded());
    }

    // A current section that is gone from the table is current no more.
    void currentSectionDeleted()
    {
        fourSections();
        frmMain &w = frmMain::Form();
        w.lblSekce->setProperty("Tag", QStringLiteral("2"));
        w.lblSekce->setText(QStringLiteral("ZNÁMKY"));
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
        for (int i = 1; i <= 420; ++i)
            Preklady->add(QString::number(i), QStringLiteral("EN %1").arg(i));
        frmMain &w = frmMain::Form();
        PrelozFormular(w, 0);
        QCOMPARE(w.windowTitle(), QStringLiteral("EN 237"));
        QCOMPARE(w.mnuKatalog->title(), QStringLiteral("EN 106"));
        QCOMPARE(w.mnuEnd->text(), QStringLiteral("EN 111"));
        QCOMPARE(w.PopupNahledTisk->text(), QStringLiteral("EN 334"));
        QCOMPARE(w.lblSekce->toolTip(), QStringLiteral("EN 162"));
        QCOMPARE(w.mnuSekceX[0]->text(), QStringLiteral("EN 300 7"));
        QCOMPARE(w.mnuSekceX[1]->text(), QStringLiteral("1,5 palce"));
    }

    // The flag of the language in use, and the attachment icons, are there.
    void pictures()
    {
        openCatalog({});
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
