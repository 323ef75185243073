// Column layouts kept per grid and user in the host's table S_Grid.
#include "VarnexEditUni.h"
#include "dao.h"
#include "grid.h"
#include "testhost.h"

#include <QMainWindow>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {

struct Stored {
    int tridit;
    QString nazev;
    QString zarovnani;
    int colWidth;
};

}  // namespace

class TestEditorLayouts : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<dao::Workspace> m_ws;
    std::unique_ptr<dao::Database> m_db;

    QString file() const { return m_dir->filePath(QStringLiteral("QIRData.mdb")); }

    void store(const QString &column, int tridit, const QString &nazev, const QString &zarovnani, int width,
               const QString &grid = QStringLiteral("frmPrehled_Sekce1"), const QString &login = QStringLiteral("PC1"))
    {
        m_db->Execute(QStringLiteral("Insert into S_Grid (Tridit, Nazev, Zarovnani, ColWidth, ColName, GridName, Login) "
                                     "values (%1, '%2', '%3', %4, '%5', '%6', '%7')")
                          .arg(tridit).arg(nazev, zarovnani).arg(width).arg(column, grid, login));
    }

    QMap<QString, Stored> layout(const QString &grid = QStringLiteral("frmPrehled_Sekce1"),
                                 const QString &login = QStringLiteral("PC1"))
    {
        QMap<QString, Stored> rows;
        auto rs = m_db->OpenRecordset(QStringLiteral("select * from S_Grid where GridName='%1' and Login='%2'")
                                          .arg(grid, login));
        while (!rs->Eof()) {
            const auto text = [&rs](const char *f) {
                const Variant v = (*rs)[QLatin1String(f)];
                return v.IsNull() ? QString() : v.toString();
            };
            rows.insert(text("ColName"),
                        {(*rs)[QStringLiteral("Tridit")].toLong(), text("Nazev"), text("Zarovnani"),
                         (*rs)[QStringLiteral("ColWidth")].toLong()});
            rs->MoveNext();
        }
        return rows;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ws = std::make_unique<dao::Workspace>();
        m_db = m_ws->CreateDatabase(file());
        m_db->Execute(QStringLiteral("CREATE TABLE S_Grid( Tridit Byte, Nazev VarChar(20), Zarovnani Char(1), "
                                     "ColWidth Integer, ColName VarChar(20), GridName VarChar(50), Login VarChar(50) )"));
    }
    void cleanup()
    {
        m_db.reset();
        m_ws.reset();
        m_dir.reset();
    }

    void firstEndCreatesTheLayout()
    {
        {
            TestHost host(m_db.get());
            host.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
            host.VEdit->ColWidth(0, 700);  // a system column shown by mistake is stored hidden
        }
        const auto rows = layout();
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].tridit, 1);
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].nazev, QString());
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].zarovnani, QStringLiteral("L"));
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].colWidth, 2000);
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1n")].zarovnani, QStringLiteral("R"));
        QCOMPARE(rows[QStringLiteral("Aktivni")].zarovnani, QStringLiteral("L"));
        QCOMPARE(rows[QStringLiteral("Inter")].zarovnani, QStringLiteral("S"));
        QCOMPARE(rows[QStringLiteral("Inter")].colWidth, 0);
        QCOMPARE(rows[QStringLiteral("Update")].tridit, 5);
    }

    void updateModeKeepsNoLayout()
    {
        store(QStringLiteral("Katalog.Pol1c"), 1, QStringLiteral("Jméno"), QStringLiteral("C"), 0);
        {
            TestHost host(m_db.get());
            host.defineColumns(1, QStringLiteral("frmPrehled_Sekce1"));
            QCOMPARE(host.VEdit->ColWidth(1), 2000);
            QCOMPARE(host.VEdit->TMatrix(0, 1), QStringLiteral("Název"));
            host.VEdit->ColWidth(1, 3000);
        }
        const auto rows = layout();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].colWidth, 0);
    }

    void storedLayoutApplies()
    {
        // Stored in another order than the host now defines: the data field decides.
        store(QStringLiteral("Katalog.Pol1d"), 0, QStringLiteral("Datum nákupu"), QStringLiteral("R"), 1700);
        store(QStringLiteral("Katalog.Pol1c"), 3, QStringLiteral("   "), QStringLiteral("N"), 2600);
        store(QStringLiteral("Katalog.Pol1n"), 1, QString(), QStringLiteral("L"), 0);
        store(QStringLiteral("Aktivni"), 2, QStringLiteral("Aktivní?"), QStringLiteral("R"), 900);
        // Another user's and another grid's rows do not count.
        store(QStringLiteral("Katalog.Pol1c"), 1, QStringLiteral("Cizí"), QStringLiteral("C"), 100,
              QStringLiteral("frmPrehled_Sekce1"), QStringLiteral("PC2"));
        store(QStringLiteral("Katalog.Pol1c"), 1, QStringLiteral("Cizí"), QStringLiteral("C"), 100,
              QStringLiteral("frmPrehled_Sekce2"));

        TestHost host(m_db.get());
        host.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        VarnexEditUni *e = host.VEdit;
        // blank caption and "N": the host's caption and alignment, the stored width
        QCOMPARE(e->TMatrix(0, 1), QStringLiteral("Název"));
        QCOMPARE(e->ColAlign(1), qint16(flex::AlignLeftCenter));
        QCOMPARE(e->ColWidth(1), 2600);
        // width 0 hides the column
        QCOMPARE(e->ColWidth(2), 0);
        QCOMPARE(e->ColAlign(2), qint16(flex::AlignLeftCenter));
        QCOMPARE(e->TMatrix(0, 3), QStringLiteral("Datum nákupu"));
        QCOMPARE(e->ColAlign(3), qint16(flex::AlignRightCenter));
        QCOMPARE(e->ColWidth(3), 1700);
        // a check-mark column stays left-bottom whatever is stored
        QCOMPARE(e->TMatrix(0, 4), QStringLiteral("Aktivní?"));
        QCOMPARE(e->ColAlign(4), qint16(flex::AlignLeftBottom));
        // the stored alignment changes what is shown, not the host's letter
        QCOMPARE(e->GetCol(8, 3).toString(), QStringLiteral("C"));
        QCOMPARE(e->PoleZmen()(VarnexEditUni::LayAlign, 3).toString(), QStringLiteral("R"));
        QCOMPARE(e->PoleZmen()(VarnexEditUni::LayAlign, 1).toString(), QStringLiteral("L"));
        QCOMPARE(e->PoleZmen()(VarnexEditUni::LayCaption, 3).toString(), QStringLiteral("Datum nákupu"));
        QCOMPARE(e->PoleDefault()(VarnexEditUni::LayCaption, 3).toString(), QStringLiteral("Datum"));
        QCOMPARE(e->PoleDefault()(VarnexEditUni::LayWidth, 1).toLong(), 2000);
    }

    // A drag on a header's border sizes the column, in any grid, and sorts nothing; only
    // a click that is no drag sorts. The width the user left is the next start's, and a
    // column dragged to nothing stays hidden.
    void userSizesAColumnByItsHeaderBorder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("dx");
        QTest::addColumn<bool>("kept");
        QTest::newRow("wider") << 2 << 40 << true;
        QTest::newRow("narrower") << 2 << -30 << true;
        QTest::newRow("to nothing") << 2 << -200 << true;
        // An update grid is sized all the same; it keeps no layout.
        QTest::newRow("update mode") << 1 << 40 << false;
    }
    void userSizesAColumnByItsHeaderBorder()
    {
        QFETCH(int, mode);
        QFETCH(int, dx);
        QFETCH(bool, kept);
        int width = 0;
        const QStringList rows{joinRow({"1", "Zeta", "3", "", "N", "X"}), joinRow({"2", "Alfa", "1", "", "N", "X"}),
                               joinRow({"3", "Beta", "2", "", "N", "X"})};
        {
            TestHost host(m_db.get());
            QVERIFY(host.showActive());
            host.defineColumns(quint8(mode), QStringLiteral("frmPrehled_Sekce1"));
            host.fill(rows, 3);
            FlexGrid *g = host.VEdit->grid();
            g->setRow(2);
            dragHeaderBorder(g, 1, dx);
            // Within a pixel of the drag (15 twips a pixel).
            width = host.VEdit->ColWidth(1);
            QVERIFY2(qAbs(width - std::max(0, 2000 + dx * 15)) < 15, qPrintable(QString::number(width)));
            QCOMPARE(keysInOrder(g), (QStringList{"1", "2", "3"}));
            QCOMPARE(g->Row(), 2);
            // A click on the header of the price sorts by it.
            clickCell(g, 0, 2);
            QCOMPARE(keysInOrder(g), (QStringList{"2", "3", "1"}));
            host.close();
        }
        TestHost again(m_db.get());
        again.defineColumns(quint8(mode), QStringLiteral("frmPrehled_Sekce1"));
        QCOMPARE(again.VEdit->ColWidth(1), kept ? width : 2000);
        QCOMPARE(again.VEdit->ColWidth(2), 1200);
    }

    void endWritesWidthsOnly()
    {
        store(QStringLiteral("Katalog.Pol1c"), 1, QStringLiteral("Jméno"), QStringLiteral("C"), 2600);
        store(QStringLiteral("Update"), 5, QString(), QStringLiteral("S"), 450);
        {
            TestHost host(m_db.get());
            host.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
            host.VEdit->ColWidth(1, 3100);
        }
        const auto rows = layout();
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].colWidth, 3100);
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].nazev, QStringLiteral("Jméno"));
        QCOMPARE(rows[QStringLiteral("Katalog.Pol1c")].zarovnani, QStringLiteral("C"));
        QCOMPARE(rows[QStringLiteral("Update")].colWidth, 0);
    }

    void hiddenColumnStaysHidden()
    {
        {
            TestHost host(m_db.get());
            host.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
            host.fill({joinRow({"1", "a", "1", "", "N", "X"})}, 1);
            host.VEdit->EnableHideCol(true);
            QVERIFY(host.showActive());
            whenPopupOpens([](QMenu *menu) { clickMenuItem(menu, QStringLiteral("mnuHideCol")); });
            clickCell(host.VEdit->grid(), 0, 2, Qt::RightButton);
            QCOMPARE(host.VEdit->ColWidth(2), 0);
        }
        QCOMPARE(layout()[QStringLiteral("Katalog.Pol1n")].colWidth, 0);
        TestHost again(m_db.get());
        again.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        QCOMPARE(again.VEdit->ColWidth(2), 0);
        QCOMPARE(again.VEdit->ColWidth(1), 2000);
    }

    void twoControlsShareALayout()
    {
        {
            TestHost first(m_db.get());
            first.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
            first.VEdit->ColWidth(2, 2222);
        }
        TestHost second(m_db.get());
        second.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        QCOMPARE(second.VEdit->ColWidth(2), 2222);
    }

    void defaultNameIsTheKey()
    {
        {
            TestHost host(m_db.get());
            host.show();
            host.defineColumns(2);
        }
        QCOMPARE(layout(QStringLiteral("frmTest_VEdit")).size(), 6);
    }

    void hostClosesItsDatabaseFirst()
    {
        // The host closes its database in its own close handler, before the control ends.
        auto host = std::make_unique<TestHost>(m_db.get());
        host->show();
        host->defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        host->VEdit->ColWidth(1, 2750);
        host->onClose = [this] { m_db->Close(); };
        host->close();
        QVERIFY(!m_db->IsOpen());
        host.reset();  // must not crash on the closed database

        m_db = m_ws->OpenDatabase(file());
        QCOMPARE(layout()[QStringLiteral("Katalog.Pol1c")].colWidth, 2750);
    }

    void hostDestroysItsDatabaseOnClose()
    {
        auto host = std::make_unique<TestHost>(m_db.get());
        host->show();
        host->defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        host->VEdit->ColWidth(3, 1999);
        host->onClose = [this] { m_db.reset(); };
        host->close();
        host.reset();  // the control's end must not reach for the destroyed database

        m_db = m_ws->OpenDatabase(file());
        QCOMPARE(layout()[QStringLiteral("Katalog.Pol1d")].colWidth, 1999);
    }

    void databaseReplacedWhileTheControlLives()
    {
        // A restore destroys the database and opens the file again while the overview
        // lives; the control's end must neither reach the destroyed object nor write into
        // whatever took its place.
        auto host = std::make_unique<TestHost>(m_db.get());
        host->defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        host->VEdit->ColWidth(1, 2750);
        m_db.reset();
        // Whatever is allocated next takes the freed object's memory (here filled so that
        // it would read as an open database): a control that kept only the address would
        // reach into it.
        void *reused = ::operator new(sizeof(dao::Database));
        std::memset(reused, 0xA5, sizeof(dao::Database));
        host.reset();
        ::operator delete(reused);
        m_db = m_ws->OpenDatabase(file());
        QVERIFY(layout().isEmpty());
    }

    void mdiChildClosesWithItsDatabase()
    {
        // Inside an MDI child the host window is the form, not the main window: its
        // closing is what the control watches, under the form's name.
        QMainWindow main;
        main.setObjectName(QStringLiteral("frmMain"));
        auto *area = new QMdiArea;
        main.setCentralWidget(area);
        auto *host = new TestHost(m_db.get());
        host->setObjectName(QStringLiteral("frmPrehled"));
        QMdiSubWindow *sub = area->addSubWindow(host);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        host->defineColumns(2);
        host->VEdit->ColWidth(3, 1999);
        host->onClose = [this] { m_db.reset(); };
        QPointer<QMdiSubWindow> alive(sub);
        sub->close();
        QTRY_VERIFY(!alive);

        m_db = m_ws->OpenDatabase(file());
        QCOMPARE(layout(QStringLiteral("frmPrehled_VEdit"))[QStringLiteral("Katalog.Pol1d")].colWidth, 1999);
        QVERIFY(layout(QStringLiteral("frmMain_VEdit")).isEmpty());
    }

    void noLayoutTableIsNoFailure()
    {
        m_db->Execute(QStringLiteral("DROP TABLE S_Grid"));
        TestHost host(m_db.get());
        host.defineColumns(2, QStringLiteral("frmPrehled_Sekce1"));
        QCOMPARE(host.VEdit->ColWidth(1), 2000);
    }
};

QTEST_MAIN(TestEditorLayouts)
#include "tst_editor_layouts.moc"
