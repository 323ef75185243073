// How the control's grid looks as drawn: the colour of marked rows, the frame of the
// current cell, text wider than its column, and the editors' letters.
#include "VarnexEditUni.h"
#include "grid.h"
#include "gridmodel.h"
#include "system.h"
#include "testhost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

namespace {

QString row(const QString &key, const QString &name, const QString &check = QStringLiteral("N"))
{
    return joinRow({key, name, QStringLiteral("12"), QStringLiteral("01.02.2024"), check, QStringLiteral("X")});
}

// The cell as the view draws it.
QImage drawnCell(FlexGrid *g, int r, int c)
{
    QTableView *view = g->view();
    const QImage shot = view->viewport()->grab().toImage();
    return shot.copy(view->visualRect(g->model()->index(r, c)));
}

}  // namespace

class TestEditorLook : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;

    void open(quint8 mode, bool codeList = false)
    {
        m_host = std::make_unique<TestHost>();
        m_host->nameCodeList = codeList;
        QVERIFY(m_host->showActive());
        m_host->defineColumns(mode);
        e = m_host->VEdit;
        g = e->grid();
        m_host->fill({row("1", "Šroub"), row("2", "Matice"), row("3", "Podložka")}, 3);
    }

private Q_SLOTS:
    void cleanup() { m_host.reset(); }

    // The marked row is drawn in the control's colour from the start, before any click
    // or move: a listing of texts only, as the overview's, leaves its first row current.
    void markedRowsInTheControlsColour()
    {
        m_host = std::make_unique<TestHost>();
        QVERIFY(m_host->showActive());
        e = m_host->VEdit;
        g = e->grid();
        e->Edited(2);
        e->Init(3, 0);
        e->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
        e->SetCol(1, QStringLiteral("Název"), 2000, QStringLiteral("L"), QStringLiteral("Pol1c"), QStringLiteral("C"), 50);
        e->SetCol(2, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
        m_host->fill({joinRow({"1", "Šroub", "X"}), joinRow({"2", "Matice", "X"})}, 2);
        QCOMPARE(e->Row(), 1);
        QCOMPARE(g->BackColorSel(), 0xC0C000);
        QCOMPARE(QColor(drawnCell(g, 1, 1).pixel(1, 1)), flex::bgrToColor(0xC0C000));
        QCOMPARE(QColor(drawnCell(g, 2, 1).pixel(1, 1)), QColor(Qt::white));
    }

    // A current check-box cell has the same frame as a current text cell, and keeps its
    // grid lines like any cell: the check box's hidden text colour is no colour of the
    // frame's.
    void checkBoxCellHasTheFocusFrame()
    {
        open(1);
        e->Row(2);
        e->Col(1);
        const QImage text = drawnCell(g, 2, 1);
        e->Col(4);
        const QImage check = drawnCell(g, 2, 4);
        QCOMPARE(check.height(), text.height());
        const int h = check.height();
        const QColor line = flex::bgrToColor(g->GridColor());
        for (const QImage &cell : {text, check}) {
            // The bottom and right grid lines stay, the frame lies inside them and shows.
            QCOMPARE(QColor(cell.pixel(cell.width() / 2, h - 1)), line);
            QCOMPARE(QColor(cell.pixel(cell.width() - 1, h / 2)), line);
            QVERIFY(qGray(cell.pixel(cell.width() / 2, h - 2)) < 100);
            QVERIFY(qGray(cell.pixel(1, h / 2)) < 100);
        }
        // Left edge and bottom edge drawn alike in both.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(check.pixel(x, y), text.pixel(x, y));
        for (int y = h - 3; y < h; ++y)
            for (int x = 0; x < check.width() - 3; ++x)
                QCOMPARE(check.pixel(x, y), text.pixel(x, y));
    }

    // Text wider than its column shows its start, centred or not; text that fits stays
    // centred.
    void centredTextWiderThanItsColumn()
    {
        open(2);
        e->Row(3);
        e->TMatrix(1, 3, QStringLiteral("Jean le Rond d'Alembert"));
        e->TMatrix(2, 3, QStringLiteral("1.2"));
        QCOMPARE(e->ColAlign(3), qint16(flex::AlignCenterCenter));
        const QImage wideCentred = drawnCell(g, 1, 3);
        const QImage shortCentred = drawnCell(g, 2, 3);
        g->setColAlignment(3, flex::AlignLeftCenter);
        QCOMPARE(drawnCell(g, 1, 3), wideCentred);
        QVERIFY(drawnCell(g, 2, 3) != shortCentred);
    }

    // The editors write in the grid's letters: the code-list box and the text editor alike.
    void editorsTakeTheGridsFont_data()
    {
        QTest::addColumn<bool>("codeList");
        QTest::newRow("text editor") << false;
        QTest::newRow("code-list box") << true;
    }
    void editorsTakeTheGridsFont()
    {
        QFETCH(bool, codeList);
        open(1, codeList);
        QFont font(QStringLiteral("Arial"), 8);
        font.setBold(true);
        e->Font(font);
        e->Row(1);
        e->Col(1);
        g->view()->setFocus();
        QTest::keyClick(g->view(), 'q');
        QWidget *editor = codeList ? static_cast<QWidget *>(e->findChild<QComboBox *>(QStringLiteral("cmbEdit")))
                                   : static_cast<QWidget *>(e->findChild<QLineEdit *>(QStringLiteral("txtEdit")));
        QVERIFY(editor->isVisible());
        QCOMPARE(QFontInfo(editor->font()).pointSizeF(), QFontInfo(g->Font()).pointSizeF());
        QCOMPARE(QFontInfo(editor->font()).family(), QFontInfo(g->Font()).family());
        QCOMPARE(editor->font().bold(), true);
        pressKey(Qt::Key_Escape);
    }
};

QTEST_MAIN(TestEditorLook)
#include "tst_editor_look.moc"
