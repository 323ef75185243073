// The column chooser of the function popup: what it lists, what it stores in S_Grid, and
// what the grid shows after it.
#include "VarnexEditUni.h"
#include "dao.h"
#include "frmShowHide.h"
#include "grid.h"
#include "msgbox.h"
#include "testhost.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using tabulix::frmShowHide;

namespace {

const QString kGrid = QStringLiteral("Knihy");
// A caption from the field definitions, longer than S_Grid.Nazev holds.
const QString kLongCaption = QStringLiteral("Název knihy podle katalogu nakladatele");

}  // namespace

class TestEditorChooser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<dao::Workspace> m_ws;
    std::unique_ptr<dao::Database> m_db;
    std::unique_ptr<TestHost> m_host;
    msgbox::ScriptedAnswerer m_answers;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;

    // The key (system), a name, a price, a date and the row state (system).
    void open(const QString &nameCaption = QStringLiteral("Název"))
    {
        m_host = std::make_unique<TestHost>(m_db.get());
        e = m_host->VEdit;
        g = e->grid();
        e->SetData(m_db.get());
        e->GridName(kGrid);
        e->UserName(QStringLiteral("PC1"));
        e->Edited(2);
        e->EnableSetupCols(true);
        e->Init(5, 0);
        e->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
        e->SetCol(1, nameCaption, 2000, QStringLiteral("L"), QStringLiteral("Pol1c"), QStringLiteral("C"), 50);
        e->SetCol(2, QStringLiteral("Cena"), 1200, QStringLiteral("R"), QStringLiteral("Pol1n"), QStringLiteral("N"), 12);
        e->SetCol(3, QStringLiteral("Vydáno"), 1200, QStringLiteral("C"), QStringLiteral("Pol1d"), QStringLiteral("D"), 10);
        e->SetCol(4, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
        m_host->fill({QStringLiteral("1\tČapek\t12,5\t1.2.2026\tX"), QStringLiteral("2\tHašek\t3\t\tX")}, 2);
        QVERIFY(m_host->showActive());
    }

    // Opens the chooser from the function popup of the name's header and runs `steps` in it.
    void chooser(std::function<void(frmShowHide &)> steps)
    {
        bool ran = false;
        whenPopupOpens([&ran, steps](QMenu *menu) {
            whenDialogOpens([&ran, steps](QDialog *dialog) {
                auto *w = qobject_cast<frmShowHide *>(dialog);
                QVERIFY(w);
                steps(*w);
                ran = true;
                if (w->isVisible()) {
                    if (!QTest::currentTestFailed())
                        QTest::qFail("the chooser was left open", __FILE__, __LINE__);
                    w->done(0);
                }
            });
            clickMenuItem(menu, QStringLiteral("mnuSHcol"));
        });
        clickCell(g, 0, 1, Qt::RightButton);
        QTRY_VERIFY(ran);
    }

    // Picks an item of a code-list cell of the chooser by typing it, as a user does.
    static void choose(frmShowHide &w, int row, int col, const QString &item)
    {
        VarnexEditUni *inner = w.VSHinUC;
        inner->Row(row);
        inner->Col(col);
        inner->grid()->view()->setFocus();
        QTest::keyClick(inner->grid()->view(), 'x');  // opens the list; the key is not typed
        auto *box = inner->findChild<QComboBox *>(QStringLiteral("cmbEdit"));
        QVERIFY(box && box->isVisible());
        box->setCurrentIndex(box->findText(item));
        pressKey(Qt::Key_Return);
        QCOMPARE(inner->TMatrix(row, col), item);
    }

    static void typeCaption(frmShowHide &w, int row, const QString &caption)
    {
        VarnexEditUni *inner = w.VSHinUC;
        inner->Row(row);
        inner->Col(3);
        inner->grid()->view()->setFocus();
        QTest::keyClick(inner->grid()->view(), caption.at(0).toLatin1());
        typeKeys(caption.mid(1));
        pressKey(Qt::Key_Return);
    }

    static QStringList innerRow(frmShowHide &w, int row)
    {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << w.VSHinUC->TMatrix(row, c);
        return cells;
    }

    // The stored layout, one "tridit|colname|nazev|zarovnani|colwidth" per row in order.
    QStringList stored()
    {
        QStringList rows;
        auto rs = m_db->OpenRecordset(QStringLiteral("select * from S_Grid where GridName='%1' and Login='PC1' order by Tridit").arg(kGrid));
        const auto text = [&rs](const char *f) {
            const Variant v = (*rs)[QLatin1String(f)];
            return v.IsNull() ? QStringLiteral("null") : v.toString();
        };
        for (; !rs->Eof(); rs->MoveNext())
            rows << QStringList{text("Tridit"), text("ColName"), text("Nazev"), text("Zarovnani"), text("ColWidth")}.join(QLatin1Char('|'));
        return rows;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ws = std::make_unique<dao::Workspace>();
        m_db = m_ws->CreateDatabase(m_dir->filePath(QStringLiteral("QIRData.mdb")));
        m_db->Execute(QStringLiteral("CREATE TABLE S_Grid( Tridit Byte, Nazev VarChar(20), Zarovnani Char(1), "
                                     "ColWidth Integer, ColName VarChar(20), GridName VarChar(50), Login VarChar(50) )"));
        m_answers.clear();
        m_answers.onUnexpected = [](const msgbox::Shown &box) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected box: ") + msgbox::logLine(box)), __FILE__, __LINE__);
        };
        msgbox::setAnswerer(&m_answers);
    }
    void cleanup()
    {
        msgbox::setAnswerer(nullptr);
        m_host.reset();
        m_db.reset();
        m_ws.reset();
        m_dir.reset();
    }

    // Hide the price, rename the name, right-align the date, save: the layout is stored
    // whole, the grid shows it and the host hears of it; the next opening lists it, and
    // showing the price again gives it back its width.
    void hideRenameAlignSaveReadBack()
    {
        open();
        QSignalSpy headers(e, &VarnexEditUni::ChangeHeader);
        chooser([this](frmShowHide &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Nastavení položek přehledu"));
            QCOMPARE(w.VSHinUC->Rows(), 6);
            QCOMPARE(w.VSHinUC->findChild<QLabel *>(QStringLiteral("lblRecord"))->text(), QString());  // no counter
            QCOMPARE(w.VSHinUC->RowHeight(1), 0);  // the key: a system column
            QCOMPARE(w.VSHinUC->RowHeight(5), 0);
            QCOMPARE(innerRow(w, 2), (QStringList{"Pol1c", "2000", "Ano", "Název", "Vlevo"}));
            QCOMPARE(innerRow(w, 3), (QStringList{"Pol1n", "1200", "Ano", "Cena", "Vpravo"}));
            choose(w, 3, 2, QStringLiteral("Ne"));
            QCOMPARE(w.VSHinUC->TMatrix(3, 1), QStringLiteral("0"));
            typeCaption(w, 2, QStringLiteral("Titul"));
            choose(w, 4, 4, QStringLiteral("Vpravo"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(!w.isVisible());
        });
        QCOMPARE(stored(), (QStringList{"0|Inter|Inter|S|0", "1|Pol1c|Titul|L|2000", "2|Pol1n|Cena|R|0",
                                        "3|Pol1d|Vydáno|R|1200", "4|Update|Stav|S|0"}));
        QCOMPARE(headers.count(), 1);
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("Titul"));
        QCOMPARE(g->ColWidth(2), 0);
        QCOMPARE(g->ColAlignment(3), 7);
        QCOMPARE(g->ColWidth(0), 0);

        // Listed as stored; the price back on takes its default width, as it had none.
        chooser([this](frmShowHide &w) {
            QCOMPARE(innerRow(w, 2), (QStringList{"Pol1c", "2000", "Ano", "Titul", "Vlevo"}));
            QCOMPARE(innerRow(w, 3), (QStringList{"Pol1n", "0", "Ne", "Cena", "Vpravo"}));
            QCOMPARE(innerRow(w, 4), (QStringList{"Pol1d", "1200", "Ano", "Vydáno", "Vpravo"}));
            choose(w, 3, 2, QStringLiteral("Ano"));
            QCOMPARE(w.VSHinUC->TMatrix(3, 1), QStringLiteral("1200"));
            // Unsaved: No keeps the window with the change, Yes leaves without writing.
            m_answers.expect(vbNo).expect(vbYes);
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(m_answers.shown().back().text, QStringLiteral("Provedené změny nebudou zapsány. Pokračovat?"));
            QCOMPARE(w.VSHinUC->TMatrix(3, 2), QStringLiteral("Ano"));
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
        });
        QCOMPARE(headers.count(), 1);
        QCOMPARE(g->ColWidth(2), 0);
        QCOMPARE(stored().at(2), QStringLiteral("2|Pol1n|Cena|R|0"));
    }

    // With no column shown nothing is written and the window stays.
    void atLeastOneShown()
    {
        open();
        chooser([this](frmShowHide &w) {
            for (int r : {2, 3, 4})
                choose(w, r, 2, QStringLiteral("Ne"));
            m_answers.expect(vbOK);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(m_answers.shown().back().style, vbExclamation);
            QCOMPARE(m_answers.shown().back().text, QStringLiteral("Minimálně jedna položka přehledu musí být zobrazena."));
            m_answers.expect(vbYes);
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        QCOMPARE(stored(), QStringList());
    }

    // "Výchozí nastavení" lists the host's default captions and alignments; OK stores them.
    void defaultLayout()
    {
        open();
        connect(e, &VarnexEditUni::DefaultHeaderEvent, this, [](ColumnTable &table) {
            table(VarnexEditUni::LayCaption, 1) = QStringLiteral("Kniha");
            table(VarnexEditUni::LayAlign, 2) = QStringLiteral("C");
        });
        chooser([this](frmShowHide &w) {
            typeCaption(w, 2, QStringLiteral("Jinak"));
            QTest::mouseClick(w.cmdDefault, Qt::LeftButton);
            QCOMPARE(innerRow(w, 2), (QStringList{"Pol1c", "2000", "Ano", "Kniha", "Vlevo"}));
            QCOMPARE(innerRow(w, 3), (QStringList{"Pol1n", "1200", "Ano", "Cena", "Střed"}));
            QCOMPARE(w.VSHinUC->RowHeight(1), 0);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(stored().at(1), QStringLiteral("1|Pol1c|Kniha|L|2000"));
        QCOMPARE(stored().at(2), QStringLiteral("2|Pol1n|Cena|C|1200"));
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("Kniha"));
        QCOMPARE(g->ColAlignment(2), 4);
    }

    // A refused row leaves the layout stored before whole, says why and keeps the window.
    void failedSaveKeepsTheOldLayout()
    {
        open();
        chooser([](frmShowHide &w) { QTest::mouseClick(w.cmdOK, Qt::LeftButton); });
        const QStringList before = stored();
        QCOMPARE(before.size(), 5);
        m_db->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON S_Grid WHEN new.ColName = 'Pol1d' "
                                     "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QSignalSpy headers(e, &VarnexEditUni::ChangeHeader);
        chooser([this](frmShowHide &w) {
            typeCaption(w, 2, QStringLiteral("Titul"));
            m_answers.expect(vbOK);
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QCOMPARE(m_answers.shown().back().style, vbCritical);
            QVERIFY(m_answers.shown().back().text.startsWith(
                QStringLiteral("Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.\n")));
            QCOMPARE(w.VSHinUC->TMatrix(2, 3), QStringLiteral("Titul"));
            m_answers.expect(vbYes);
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
        });
        QCOMPARE(stored(), before);
        QCOMPARE(headers.count(), 0);
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("Název"));
    }

    // A caption from the definitions goes in and comes back whole; one typed is held to
    // what S_Grid.Nazev takes.
    void captionLengths()
    {
        open(kLongCaption);
        chooser([](frmShowHide &w) {
            QCOMPARE(w.VSHinUC->TMatrix(2, 3), kLongCaption);
            typeCaption(w, 3, QStringLiteral("Cena v korunach ceskych"));
            QCOMPARE(w.VSHinUC->TMatrix(3, 3), QStringLiteral("Cena v korunach cesk"));
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(stored().at(1), QStringLiteral("1|Pol1c|%1|L|2000").arg(kLongCaption));
        QCOMPARE(g->TextMatrix(0, 1), kLongCaption);
        QCOMPARE(g->TextMatrix(0, 2), QStringLiteral("Cena v korunach cesk"));
    }
};

QTEST_MAIN(TestEditorChooser)
#include "tst_editor_chooser.moc"
