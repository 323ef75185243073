// The catalog while another program holds a write lock on it for longer than the wait:
// moving through the overview, its preview, every command of the main window, a record
// saved and a selection applied. Nothing may end the program; what fails says why.
#include "VarnexEditUni.h"
#include "commandfixture.h"
#include "data/infosettings.h"
#include "menudriver.h"
#include "records/frmEditace.h"
#include "system.h"
#include "testhost.h"
#include "overviewgrid.h"
#include "data/currentoverview.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace testsupport;

namespace {

// Another program's write: a connection of its own holding the whole catalog locked,
// readers too, until released.
class CatalogLock
{
public:
    explicit CatalogLock(const QString &path) : m_db(m_ws.OpenDatabase(path))
    {
        m_db->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~CatalogLock() { release(); }
    void release()
    {
        if (m_held)
            m_db->Execute(QStringLiteral("COMMIT"));
        m_held = false;
    }

private:
    dao::Workspace m_ws;
    std::unique_ptr<dao::Database> m_db;
    bool m_held = true;
};

const QString kBusy = QStringLiteral("Katalog právě zapisuje jiný program nebo jiná stanice. Zkuste to prosím za chvíli znovu.");

// A box that tells of the lock: the program's own words or the engine's.
bool tellsOfTheLock(const msgbox::Shown &box)
{
    return box.text.contains(kBusy) || box.text.contains(QStringLiteral("database is locked"));
}

bool isQuestion(const msgbox::Shown &box)
{
    const int buttons = box.style & 7;
    return buttons == vbYesNo || buttons == vbYesNoCancel || buttons == vbOKCancel;
}

}  // namespace

class TestLockedCatalog : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;

    QString catalog() const { return m_folder->file(QStringLiteral("QIRData.mdb")); }

    static QString title(qint32 key)
    {
        return scalar(QStringLiteral("select Pol1c from Katalog where Inter=%1").arg(key)).toString();
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<CatalogFolder>();
        attachmentCatalog(*m_folder);
        SmazInfo(QStringLiteral("chkAllRecords"));
    }
    void cleanup()
    {
        UnloadViews();
        frmMain::Unload();
        m_folder.reset();
    }

    // Rows changed under the lock: the preview's timer goes off, finds the catalog locked
    // and stays quiet, showing nothing of a record it could not read; the next row change
    // after the lock is gone shows that row's record.
    void previewUnderLock()
    {
        frmNahled &preview = previewOn(1);
        frmPrehled &overview = *frmPrehled::Loaded();
        ScriptedBoxes boxes;  // no box at all
        CatalogLock lock(catalog());
        const int loads = preview.PocetNacteni;
        goToRow(overview, 2);
        QTRY_VERIFY_WITH_TIMEOUT(preview.PocetNacteni > loads && !overview.tmr->isActive(), 10000);
        QCOMPARE(preview.tabS->count(), 0);
        // The timer fired once more, and a tab clicked, alike.
        overview.tmr->start(0);
        QTRY_VERIFY_WITH_TIMEOUT(preview.PocetNacteni > loads + 1, 10000);
        preview.tmr_Timer();
        QVERIFY(frmPrehled::Loaded() && frmNahled::Loaded());

        lock.release();
        goToRow(overview, 3);
        QTRY_COMPARE(preview.tabS->count(), 4);
        QCOMPARE(preview.tabS->tabText(0), QStringLiteral("Chybí"));
    }

    // Every item of the main window's menus, of the preview's popup and of the grid's
    // record menu, chosen with the mouse while the catalog is locked, answered as a user
    // who goes on: the program keeps running, and every box is either the command's own
    // question or says that the catalog is locked.
    void everyCommandUnderLock()
    {
        frmMain &main = mainOnRecord12WithTwoSections();
        if (QTest::currentTestFailed())
            return;
        QStringList walked;

        const auto check = [&](const QString &name, const std::function<void()> &choose) {
            walked << name;
            // Fresh views for each command: a row deleted from the grid alone stays deleted
            // there.
            UnloadViews();
            openViewsOnRecord12();
            QTRY_VERIFY(!frmPrehled::Form().tmr->isActive());  // the preview has caught up
            closeTheViewItOpens(name);
            // The lock outlasts the wait; the wait is made short so that the walk is.
            Db->Execute(QStringLiteral("PRAGMA busy_timeout=100"));
            AnsweringBoxes boxes(AnsweringBoxes::GoingOn);
            DialogCloser closer;
            {
                CatalogLock lock(catalog());
                choose();
                QTRY_VERIFY(!QApplication::activePopupWidget());
                QTest::qWait(50);
                QTRY_VERIFY2(!QApplication::activeModalWidget(), qPrintable(name));
            }
            QStringList said;
            for (const msgbox::Shown &box : boxes.shown)
                said << msgbox::logLine(box);
            // What a command refuses before it needs the catalog: a move into the section on
            // show; a restore without a backup.
            const QString ownWords = name == QLatin1String("mnuSekceM") ? QStringLiteral("Přesun do stejné sekce nemá význam")
                                     : name == QLatin1String("mnuObnova")
                                         ? QStringLiteral("Při obnově dat ze zálohy došlo k chybě. Obnova dat nebyla provedena.")
                                         : QString();
            for (const msgbox::Shown &box : boxes.shown)
                QVERIFY2(isQuestion(box) || tellsOfTheLock(box) || (!ownWords.isEmpty() && box.text.startsWith(ownWords)),
                         qPrintable(name + QStringLiteral(": ") + said.join(QLatin1String(" / "))));
        };

        std::function<void(QList<QMenu *>)> walk = [&](QList<QMenu *> chain) {
            for (QAction *action : chain.back()->actions()) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                if (action->menu()) {
                    if (action->isEnabled() && chain.size() < 2)
                        walk(chain + QList<QMenu *>{action->menu()});
                    continue;
                }
                if (action->objectName() == QLatin1String("mnuEnd"))
                    continue;  // ends the program
                check(action->objectName(), [&] { chooseFromMenu(chain, action); });
            }
        };
        for (QAction *top : main.menuBar()->actions())
            if (top->menu())
                walk({top->menu()});

        for (QAction *action : main.PopupNahledy->actions()) {
            check(action->objectName(), [&] {
                frmNahled &preview = frmNahled::Form();
                clickAt(&preview, preview.img, Qt::RightButton, true);
                chooseFromOpenMenu(main.PopupNahledy, action);
            });
        }

        // The record menu's items by their captions: each command opens its views anew.
        openViewsOnRecord12();
        QStringList items;
        whenPopupOpens([&](QMenu *menu) {
            for (QAction *action : menu->actions())
                if (!action->isSeparator() && action->isVisible())
                    items << action->text();
            menu->hide();
        });
        clickCell(overviewGrid(frmPrehled::Form())->grid(), 2, 1, Qt::RightButton);
        QTRY_VERIFY(!items.isEmpty());
        QTRY_VERIFY(!QApplication::activePopupWidget());
        for (const QString &text : std::as_const(items)) {
            check(text, [&] {
                whenPopupOpens([text](QMenu *menu) { clickMenuItem(menu, text); });
                clickCell(overviewGrid(frmPrehled::Form())->grid(), 2, 1, Qt::RightButton);
            });
        }
        for (const char *name : {"mnuSekceX", "mnuNew", "mnuUpdate", "mnuCopy", "mnuDelete", "mnuDeleteAll", "mnuZaloha",
                                 "mnuNastKatalog", "PopupNahledTisk", "Aktualizace záznamu"})
            QVERIFY2(walked.contains(QString::fromUtf8(name)), name);
        // Afterwards, with the lock gone, the catalog is as it was and works.
        QCOMPARE(scalar(QStringLiteral("select count(*) from Katalog")).toLong(), 3);
        openViewsOnRecord12();
        QCOMPARE(overviewGrid(frmPrehled::Form())->Rows(), 4);
    }

    // "Aktualizace záznamu" under the lock says so and opens nothing.
    void editOpenedUnderLock()
    {
        frmMain &main = frmMain::Form();
        openViewsOnRecord12();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        CatalogLock lock(catalog());
        chooseFromMenu(main.mnuKatalog, nullptr, main.mnuUpdate);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.shown().size(), size_t(1), 10000);
        QCOMPARE(boxes.shown()[0].text.section(QLatin1Char('\n'), 0, 0), kBusy);
        QVERIFY2(tellsOfTheLock(boxes.shown()[0]), qPrintable(boxes.shown()[0].text));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!frmEditace::Loaded() || !frmEditace::Loaded()->isVisible());
    }

    // Opened before the lock, the edit window's OK under the lock says why the save
    // failed and keeps the window with what the user typed; the OK after the lock has
    // gone saves it.
    void editSavedUnderLock()
    {
        frmMain &main = frmMain::Form();
        openViewsOnRecord12();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        std::unique_ptr<CatalogLock> lock;
        bool ran = false;
        QObject scope;
        whenShown<frmEditace>(&scope, [&](frmEditace &w) {
            QLineEdit *line = w.cmb[2]->lineEdit();
            QTest::mouseClick(line, Qt::LeftButton);
            QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(line, QStringLiteral("Novy titul"));
            lock = std::make_unique<CatalogLock>(catalog());
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(boxes.shown().size(), size_t(1));
            QVERIFY2(boxes.shown()[0].text.startsWith(QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\n")),
                     qPrintable(boxes.shown()[0].text));
            QVERIFY2(tellsOfTheLock(boxes.shown()[0]), qPrintable(boxes.shown()[0].text));
            QCOMPARE(w.cmb[2]->currentText(), QStringLiteral("Novy titul"));
            lock.reset();
            QCOMPARE(title(12), QStringLiteral("B tři přílohy"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(main.mnuKatalog, nullptr, main.mnuUpdate);
        QTRY_VERIFY_WITH_TIMEOUT(ran, 10000);
        QTRY_VERIFY(!frmEditace::Loaded());
        QCOMPARE(title(12), QStringLiteral("Novy titul"));
    }

    // "Vybrat" on a locked catalog says that the catalog is busy, not that the condition
    // is wrong; the overview keeps its rows, and the same condition applies once the lock
    // is gone.
    void selectionUnderLock()
    {
        openViewsOnRecord12();
        frmVyber &selection = frmVyber::Form();
        QVERIFY(QTest::qWaitForWindowExposed(&selection));
        QLineEdit *row = selection.cmb[1]->lineEdit();
        QTest::mouseClick(row, Qt::LeftButton);
        QTest::keyClicks(row, QStringLiteral("B*"));
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        {
            CatalogLock lock(catalog());
            QTest::mouseClick(selection.cmdVyber, Qt::LeftButton);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text.section(QLatin1Char('\n'), 0, 0), kBusy);
            QCOMPARE(boxes.shown()[0].style, vbOKOnly | vbExclamation);
        }
        QCOMPARE(keysInOrder(overviewGrid(frmPrehled::Form())->grid()), (QStringList{"11", "12", "13"}));
        QTest::mouseClick(selection.cmdVyber, Qt::LeftButton);
        QCOMPARE(keysInOrder(overviewGrid(frmPrehled::Form())->grid()), QStringList{"12"});
    }
};

QTEST_MAIN(TestLockedCatalog)
#include "tst_lockedcatalog.moc"
