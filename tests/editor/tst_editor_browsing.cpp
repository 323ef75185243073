// The grid's keys and mouse outside the editors: the seek by typing, Enter and Esc in
// browse mode, moves over hidden rows and columns, double clicks, mouse releases and the
// events of a change of the current cell.
#include "VarnexEditUni.h"
#include "grid.h"
#include "system.h"
#include "testhost.h"

#include <QLabel>
#include <QTableView>
#include <QtTest>

namespace {

QString row(const QString &key, const QString &name)
{
    return QStringList{key, name, QStringLiteral("1"), QString(), QStringLiteral("N"), QStringLiteral("X")}.join(
        QLatin1Char('\t'));
}

const QStringList Names{"Alfa", "beta", "Bedna", "Gama", "Delta", "Epsilon", "Zeta", "Theta"};

QStringList rows()
{
    QStringList list;
    for (int i = 0; i < Names.size(); ++i)
        list << row(QString::number(i + 1), Names.at(i));
    return list;
}

}  // namespace

class TestEditorBrowsing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;
    QLabel *seek = nullptr;
    int m_beeps = 0;

    void open(quint8 mode)
    {
        m_host = std::make_unique<TestHost>();
        QVERIFY(m_host->showActive());
        m_host->defineColumns(mode);
        e = m_host->VEdit;
        g = e->grid();
        seek = e->findChild<QLabel *>(QStringLiteral("lblSeek"));
        m_host->fill(rows(), Names.size());
        e->SortCol(true, 1);
        e->Row(1);
        e->Col(0);
        g->view()->setFocus();
    }

private Q_SLOTS:
    void init()
    {
        sys::setBeepHook([this](int, int) { ++m_beeps; });
        m_beeps = 0;
    }
    void cleanup()
    {
        m_host.reset();
        sys::setBeepHook({});
    }

    void seekByTyping()
    {
        open(2);
        e->RowHeight(2, 0);  // "beta" deleted: the seek passes it by
        EventLog log(e);
        QTest::keyClicks(g->view(), QStringLiteral("BX"));
        QCOMPARE(seek->text(), QStringLiteral("BX"));
        QVERIFY(seek->isVisible());
        QTest::keyClick(g->view(), Qt::Key_Backspace);
        QTest::keyClick(g->view(), 'e');
        QCOMPARE(seek->text(), QStringLiteral("Be"));
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(e->Row(), 3);
        // Not the hidden key column the cursor stood on.
        QCOMPARE(e->Col(), 1);
        QCOMPARE(seek->text(), QString());
        QVERIFY(!seek->isVisible());
        QCOMPARE(m_beeps, 1);
        QVERIFY(!log.names().contains(QStringLiteral("Vyber")));
        QCOMPARE(log.names(), QStringList({"RowColChange", "RowChange", "ColChange"}));
        QVERIFY(g->RowIsVisible(3));

        // Letter case does not count; a row far down is brought into view.
        for (int i = 0; i < 40; ++i)
            e->AddData(row(QString::number(100 + i), QStringLiteral("Omega %1").arg(i)));
        QTest::keyClicks(g->view(), QStringLiteral("oMEGA 3"));
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(e->TMatrix(e->Row(), 1), QStringLiteral("Omega 3"));
        QVERIFY(g->RowIsVisible(e->Row()));

        // Nothing matches: the cursor stays, the beep comes all the same.
        const int before = e->Row();
        QTest::keyClicks(g->view(), QStringLiteral("qq"));
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(e->Row(), before);
        QCOMPARE(m_beeps, 3);
    }

    // The seek takes every character a key carries, whole, and Backspace takes back a
    // whole character.
    void seekTakesWholeCharacters()
    {
        open(2);
        const QString smile = QString::fromUtf16(u"\U0001F600");
        e->AddData(row(QStringLiteral("9"), smile + QStringLiteral(" Smajlík")));
        typeKey(QStringLiteral("Ga"), g->view());
        QCOMPARE(seek->text(), QStringLiteral("Ga"));
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(e->TMatrix(e->Row(), 1), QStringLiteral("Gama"));
        typeKey(smile, g->view());
        typeKey(QStringLiteral("x"), g->view());
        QCOMPARE(seek->text(), smile + QStringLiteral("x"));
        QTest::keyClick(g->view(), Qt::Key_Backspace);
        QTest::keyClick(g->view(), Qt::Key_Backspace);
        QCOMPARE(seek->text(), QString());
        typeKey(smile, g->view());
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(e->TMatrix(e->Row(), 1), smile + QStringLiteral(" Smajlík"));
    }

    void seekTextApartFromTheCounter()
    {
        // The seek text and the record counter are both shown while a seek is typed:
        // each in a place of its own, so that neither prints over the other.
        open(2);
        QLabel *counter = e->findChild<QLabel *>(QStringLiteral("lblRecord"));
        QCOMPARE(counter->text(), QStringLiteral("8 záznamů"));
        QTest::keyClicks(g->view(), QStringLiteral("Ga"));
        QCOMPARE(seek->text(), QStringLiteral("Ga"));
        QVERIFY(seek->isVisible());
        QVERIFY(seek->width() >= seek->sizeHint().width());
        if (counter->isVisible())
            QVERIFY2(!counter->geometry().intersects(seek->geometry()),
                     qPrintable(QStringLiteral("counter %1,%2 %3 wide; seek %4,%5")
                                    .arg(counter->x()).arg(counter->y()).arg(counter->width())
                                    .arg(seek->x()).arg(seek->y())));
        // A long seek text stays whole and apart too.
        QTest::keyClicks(g->view(), QStringLiteral("ma and a much longer text to seek"));
        QVERIFY(seek->width() >= seek->sizeHint().width());
        if (counter->isVisible())
            QVERIFY(!counter->geometry().intersects(seek->geometry()));
        QTest::keyClick(g->view(), Qt::Key_Return);
        QVERIFY(!seek->isVisible());
        QVERIFY(counter->isVisible());
        QCOMPARE(counter->text(), QStringLiteral("8 záznamů"));
    }

    void enterAndEscInBrowseMode()
    {
        open(2);
        e->Row(4);
        EventLog log(e);
        QTest::keyClick(g->view(), Qt::Key_Return);
        QCOMPARE(log.entries, QStringList({"Vyber"}));
        QCOMPARE(e->Row(), 4);
        QTest::keyClick(g->view(), Qt::Key_Escape);
        QCOMPARE(log.entries, QStringList({"Vyber", "Konec"}));
    }

    void escInUpdateModeRaisesNothing()
    {
        open(1);
        EventLog log(e);
        QTest::keyClick(g->view(), Qt::Key_Escape);
        QVERIFY(log.entries.isEmpty());
        QVERIFY(!e->Editing());
    }

    void keysOnHiddenRowsAndTheHeader()
    {
        open(1);
        e->RowHeight(3, 0);
        e->Row(3);
        e->Col(1);
        EventLog log(e);
        QTest::keyClick(g->view(), 'a');
        QVERIFY(!e->Editing());
        e->Row(0);
        QTest::keyClick(g->view(), 'a');
        QVERIFY(!e->Editing());
        QCOMPARE(log.names(), QStringList({"RowChange"}));
    }

    void keyOnAColumnThatIsNotEditable()
    {
        open(1);
        e->ColEditable(2, false);
        e->ColEditable(4, false);
        e->Row(2);
        e->Col(2);
        QTest::keyClick(g->view(), 'x');
        QVERIFY(!e->Editing());
        QCOMPARE(e->Col(), 3);
        // Past the last shown column: the next row, on the first shown column.
        e->Col(4);
        QTest::keyClick(g->view(), 'x');
        QCOMPARE(e->Row(), 3);
        QCOMPARE(e->Col(), 1);
        // In the last row nothing moves.
        e->Row(g->Rows() - 1);
        e->Col(4);
        QTest::keyClick(g->view(), 'x');
        QCOMPARE(e->Row(), g->Rows() - 1);
        QCOMPARE(e->Col(), 4);
        // The hidden key column opens no editor nobody could see: the key moves on.
        e->Row(2);
        e->Col(0);
        QTest::keyClick(g->view(), 'x');
        QVERIFY(!e->Editing());
        QCOMPARE(e->Col(), 1);
        QCOMPARE(e->TMatrix(2, 0), QStringLiteral("2"));
    }

    void focusFrameShowsWhatCanBeEdited()
    {
        open(1);
        e->ColEditable(2, false);
        e->Row(2);
        e->Col(2);
        QCOMPARE(e->FocusRect(), int(flex::FocusNone));
        e->Col(1);
        QCOMPARE(e->FocusRect(), int(flex::FocusHeavy));
    }

    void arrowsPassHiddenRowsAndColumns_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("update") << 1;
        QTest::newRow("browse") << 2;
    }
    void arrowsPassHiddenRowsAndColumns()
    {
        QFETCH(int, mode);
        open(quint8(mode));
        e->RowHeight(3, 0);
        e->RowHeight(4, 0);
        e->RowHeight(8, 0);
        e->Row(2);
        e->Col(1);
        QTest::keyClick(g->view(), Qt::Key_Down);
        QCOMPARE(e->Row(), 5);
        QTest::keyClick(g->view(), Qt::Key_Up);
        QCOMPARE(e->Row(), 2);
        e->Row(7);
        QTest::keyClick(g->view(), Qt::Key_Down);
        QCOMPARE(e->Row(), 7);
        // The key column stays out of reach, and the hidden state column too.
        QTest::keyClick(g->view(), Qt::Key_Left);
        QCOMPARE(e->Col(), 1);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(g->view(), Qt::Key_Right);
        QCOMPARE(e->Col(), 4);
    }

    void homeEndAndPagesPassHiddenRowsAndColumns_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("fromCol");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
        for (const int mode : {1, 2}) {
            const QByteArray m = mode == 1 ? "update, " : "browse, ";
            QTest::newRow((m + "Home").constData()) << mode << int(Qt::Key_Home) << none << 5 << 3 << 5 << 1;
            QTest::newRow((m + "End").constData()) << mode << int(Qt::Key_End) << none << 5 << 1 << 5 << 4;
            QTest::newRow((m + "Ctrl+Home").constData()) << mode << int(Qt::Key_Home) << ctrl << 5 << 3 << 2 << 1;
            QTest::newRow((m + "Ctrl+End").constData()) << mode << int(Qt::Key_End) << ctrl << 2 << 1 << 7 << 4;
            QTest::newRow((m + "PageUp").constData()) << mode << int(Qt::Key_PageUp) << none << 5 << 2 << 2 << 2;
            QTest::newRow((m + "PageDown").constData()) << mode << int(Qt::Key_PageDown) << none << 2 << 2 << 7 << 2;
            QTest::newRow((m + "PageDown past the end").constData())
                << mode << int(Qt::Key_PageDown) << none << 5 << 2 << 7 << 2;
        }
    }
    void homeEndAndPagesPassHiddenRowsAndColumns()
    {
        QFETCH(int, mode);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, fromRow);
        QFETCH(int, fromCol);
        QFETCH(int, row);
        QFETCH(int, col);
        open(quint8(mode));
        // Row 1 and the last row deleted, and a few between: the keys land on shown rows.
        for (const int r : {1, 3, 4, 8})
            e->RowHeight(r, 0);
        e->Row(fromRow);
        e->Col(fromCol);
        QTest::keyClick(g->view(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(e->Row(), row);
        QCOMPARE(e->Col(), col);
        QVERIFY(!e->DeletedRow(e->Row()));
    }

    void cellChangeEvents()
    {
        open(1);
        e->Row(2);
        e->Col(3);
        EventLog log(e);
        QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 4, 2));
        QCOMPARE(log.entries, QStringList({"RowColChange", "RowChange", "ColChange", "Click"}));
        log.clear();
        QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 4, 2));
        QCOMPARE(log.entries, QStringList({"Click"}));
        log.clear();
        QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 5, 2));
        QCOMPARE(log.entries, QStringList({"RowChange", "Click"}));
        // Dressing check marks moves the grid's cell inside; the host hears nothing of it.
        log.clear();
        e->TMatrix(3, 4, QStringLiteral("A"));
        e->ResetImg(4);
        e->AddData(row(QStringLiteral("9"), QStringLiteral("Iota")));
        QVERIFY(log.entries.isEmpty());
    }

    void rightButtonChoosesTheRowFirst()
    {
        open(2);
        int rowAtRelease = -1;
        qint16 button = 0;
        connect(e, &VarnexEditUni::MouseUp, this, [&](qint16 &b, qint16 &, float &, float &) {
            rowAtRelease = e->Row();
            button = b;
        });
        QTest::mouseClick(g->view()->viewport(), Qt::RightButton, {}, cellCentre(g, 7, 2));
        QCOMPARE(rowAtRelease, 7);
        QCOMPARE(button, qint16(2));
    }

    void doubleClicks()
    {
        open(2);
        EventLog log(e);
        QTest::mouseDClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 1));
        QVERIFY(log.names().contains(QStringLiteral("DblClick")));
        QVERIFY(!e->Editing());
    }

    void selectionModeFollowsTheHostsFillStyle()
    {
        open(2);
        QCOMPARE(g->SelectionMode(), int(flex::SelectionByRow));
        e->FillStyle(flex::FillSingle);
        e->Row(3);
        QCOMPARE(g->SelectionMode(), int(flex::SelectionFree));
        e->FillStyle(flex::FillRepeat);
        e->Row(4);
        QCOMPARE(g->SelectionMode(), int(flex::SelectionByRow));
        e->ColWidth(1, 30000);
        e->Row(5);
        QCOMPARE(g->SelectionMode(), int(flex::SelectionFree));
        // A change of the marked cells gives the selection its colour back.
        g->setBackColorSel(0x0000FF);
        e->RowSel(6);
        QCOMPARE(g->BackColorSel(), 0xC0C000);
    }
};

QTEST_MAIN(TestEditorBrowsing)
#include "tst_editor_browsing.moc"
