#include "grid.h"
#include "gridmodel.h"
#include "system.h"
#include "vberror.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

QString joined(std::initializer_list<const char *> cells)
{
    QStringList l;
    for (const char *c : cells)
        l << QString::fromUtf8(c);
    return l.join(QLatin1Char('\t'));
}

// A grid of the control's shape: one fixed row, no fixed column, rows of 300 twips.
void fill(FlexGrid &g, int rows, int cols)
{
    g.setCols(cols);
    g.setFixedCols(0);
    g.setRows(1);
    for (int c = 0; c < cols; ++c)
        g.setTextMatrix(0, c, QStringLiteral("H%1").arg(c));
    for (int r = 1; r < rows; ++r) {
        QStringList cells;
        for (int c = 0; c < cols; ++c)
            cells << QStringLiteral("r%1c%2").arg(r).arg(c);
        g.AddItem(cells.join(QLatin1Char('\t')));
        g.setRowHeight(r, 300);
    }
}

// The centre of a cell in the coordinates of the widget that receives its mouse events.
QPair<QWidget *, QPoint> cellTarget(FlexGrid &g, int row, int col)
{
    const int saveRow = g.Row(), saveCol = g.Col();
    QSignalBlocker block(&g);
    g.setRow(row);
    g.setCol(col);
    const QPoint centre(sys::toPixels(g.CellLeft() + g.CellWidth() / 2),
                        sys::toPixels(g.CellTop() + g.CellHeight() / 2));
    g.setRow(saveRow);
    g.setCol(saveCol);
    QTableView *v = g.view();
    const QPoint inView = centre + v->contentsRect().topLeft();
    QWidget *target = v->childAt(inView);
    if (!target)
        target = v;
    return {target, target->mapFrom(v, inView)};
}

void click(FlexGrid &g, int row, int col, Qt::KeyboardModifiers mods = {})
{
    const auto [w, p] = cellTarget(g, row, col);
    QTest::mouseClick(w, Qt::LeftButton, mods, p);
}

int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbError &e) {
        return e.Number();
    }
    return 0;
}

} // namespace

class TstGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelStaysConsistent()
    {
        FlexGrid g;
        QAbstractItemModelTester tester(g.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(g, 20, 5);
        g.RemoveItem(3);
        g.AddItem(joined({"a", "b"}), 2);
        g.setRedraw(false);
        for (int i = 0; i < 50; ++i)
            g.AddItem(QStringLiteral("x%1").arg(i));
        g.RemoveItem(1);
        g.setTextMatrix(2, 2, QStringLiteral("changed"));
        g.setRows(40);
        g.setRedraw(true);
        QCOMPARE(g.model()->rowCount(), 40);
        g.setCols(3);
        g.setCols(6);
        g.setCol(0);
        g.setSort(flex::SortStringNoCaseDescending);
        g.setRows(2);
        g.Clear();
    }

    void sizesReadBackAsWritten_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("1000") << 1000 << false;
        QTest::newRow("300") << 300 << false;
        QTest::newRow("odd 1007") << 1007 << false;
        QTest::newRow("zero") << 0 << true;
        QTest::newRow("15, a pixel") << 15 << true;   // rows: below 16 is hidden
        QTest::newRow("16") << 16 << false;
    }

    void sizesReadBackAsWritten()
    {
        QFETCH(int, twips);
        QFETCH(bool, hidden);
        FlexGrid g;
        fill(g, 5, 4);
        g.setColWidth(2, twips);
        g.setRowHeight(2, twips);
        QCOMPARE(g.ColWidth(2), twips);
        QCOMPARE(g.RowHeight(2), twips);
        QCOMPARE(g.view()->isRowHidden(2), hidden);
        if (twips == 0)
            QVERIFY(g.view()->isColumnHidden(2));
        else
            QCOMPARE(g.view()->columnWidth(2), sys::toPixels(twips));
        if (!hidden)
            QCOMPARE(g.view()->rowHeight(2), sys::toPixels(twips));

        // The same through the batch path: stored at once, applied when drawing resumes.
        g.setRedraw(false);
        g.AddItem(QStringLiteral("new"));
        g.setRowHeight(5, twips);
        QCOMPARE(g.RowHeight(5), twips);
        g.setRedraw(true);
        QCOMPARE(g.view()->isRowHidden(5), hidden);
        QCOMPARE(g.RowHeight(5), twips);
    }

    void defaultSizesAndRowHeightMin()
    {
        FlexGrid g;
        fill(g, 4, 3);
        QVERIFY(g.ColWidth(1) > 0);
        g.setColWidth(1, 500);
        g.setColWidth(1, -1);
        QVERIFY(g.ColWidth(1) != 500);
        g.setRowHeightMin(600);
        QCOMPARE(g.RowHeight(1), 300);   // reads as written; drawn at least the minimum
        QCOMPARE(g.view()->rowHeight(1), sys::toPixels(600));
        QVERIFY(g.view()->isRowHidden(0));   // the fixed row is drawn in the frozen band
    }

    void growAndShrinkKeepCells()
    {
        FlexGrid g;
        fill(g, 6, 5);
        g.setRows(4);
        g.setCols(3);
        QCOMPARE(g.Rows(), 4);
        QCOMPARE(g.Cols(), 3);
        QCOMPARE(g.TextMatrix(3, 2), QStringLiteral("r3c2"));
        QCOMPARE(g.TextMatrix(0, 1), QStringLiteral("H1"));
        // Cells cut off do not come back when the grid grows again.
        g.setRows(6);
        g.setCols(5);
        QCOMPARE(g.TextMatrix(5, 0), QString());
        QCOMPARE(g.TextMatrix(3, 4), QString());
        QCOMPARE(g.TextMatrix(3, 3), QString());
        QCOMPARE(g.TextMatrix(3, 2), QStringLiteral("r3c2"));
        QCOMPARE(errorNumber([&] { g.TextMatrix(6, 0); }), flex::ErrSubscript);
        QCOMPARE(errorNumber([&] { g.setTextMatrix(0, 5, {}); }), flex::ErrSubscript);
        QCOMPARE(errorNumber([&] { g.setRow(-1); }), flex::ErrInvalidRow);
        QCOMPARE(errorNumber([&] { g.setCol(5); }), flex::ErrInvalidCol);
    }

    void textsOfRowsAndFixedCells()
    {
        FlexGrid g;   // a fresh grid has one fixed row and one fixed column
        QCOMPARE(g.FixedRows(), 1);
        QCOMPARE(g.FixedCols(), 1);
        g.setCols(4);
        g.setTextMatrix(0, 0, QStringLiteral("corner"));
        g.setTextMatrix(1, 0, QStringLiteral("fixed"));
        g.setTextMatrix(0, 3, QStringLiteral("caption"));
        QCOMPARE(g.TextMatrix(0, 0), QStringLiteral("corner"));
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("fixed"));
        QCOMPARE(g.TextMatrix(0, 3), QStringLiteral("caption"));

        g.AddItem(joined({"a", "", "c", "d", "beyond"}));
        g.AddItem(QStringLiteral("only"));
        QCOMPARE(g.TextMatrix(2, 1), QString());
        QCOMPARE(g.TextMatrix(2, 3), QStringLiteral("d"));
        QCOMPARE(g.TextMatrix(3, 0), QStringLiteral("only"));
        QCOMPARE(g.TextMatrix(3, 3), QString());

        // Writing keeps the neighbours, also with a tab or an empty text inside.
        g.setTextMatrix(2, 1, QStringLiteral("x\ty"));
        g.setTextMatrix(2, 2, QString());
        g.setTextMatrix(3, 2, QStringLiteral("late"));
        QCOMPARE(g.TextMatrix(2, 0), QStringLiteral("a"));
        QCOMPARE(g.TextMatrix(2, 1), QStringLiteral("x\ty"));
        QCOMPARE(g.TextMatrix(2, 2), QString());
        QCOMPARE(g.TextMatrix(2, 3), QStringLiteral("d"));
        QCOMPARE(g.TextMatrix(3, 1), QString());
        QCOMPARE(g.TextMatrix(3, 2), QStringLiteral("late"));
        QCOMPARE(g.model()->data(g.model()->index(2, 1)).toString(), QStringLiteral("x\ty"));
    }

    void addAndRemoveItems()
    {
        FlexGrid g;
        fill(g, 5, 2);
        g.setRow(3);
        g.AddItem(joined({"ins", "x"}), 2);
        QCOMPARE(g.Rows(), 6);
        QCOMPARE(g.TextMatrix(2, 0), QStringLiteral("ins"));
        QCOMPARE(g.TextMatrix(3, 0), QStringLiteral("r2c0"));
        QCOMPARE(g.Row(), 4);   // the current cell stays on its row
        g.RemoveItem(2);
        QCOMPARE(g.TextMatrix(2, 0), QStringLiteral("r2c0"));
        QCOMPARE(g.Row(), 3);
        g.setRow(4);
        g.RemoveItem(4);
        QCOMPARE(g.Rows(), 4);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(errorNumber([&] { g.RemoveItem(4); }), flex::ErrSubscript);
        QCOMPARE(errorNumber([&] { g.AddItem(QString(), 6); }), flex::ErrSubscript);

        // Formatting belongs to its row and goes with it.
        g.setRow(2);
        g.setCellBackColor(0xFF);
        g.AddItem(QStringLiteral("top"), 1);
        g.setRow(3);
        QCOMPARE(g.CellBackColor(), 0xFF);
        g.RemoveItem(3);
        QCOMPARE(g.CellBackColor(), 0);
    }

    void alignmentCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::newRow("1 left centre") << 1 << "a" << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("2 left bottom") << 2 << "a" << int(Qt::AlignLeft | Qt::AlignBottom);
        QTest::newRow("4 centre") << 4 << "a" << int(Qt::AlignHCenter | Qt::AlignVCenter);
        QTest::newRow("7 right centre") << 7 << "a" << int(Qt::AlignRight | Qt::AlignVCenter);
        QTest::newRow("0 left top") << 0 << "a" << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("8 right bottom") << 8 << "a" << int(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("9 general text") << 9 << "abc" << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("9 general number") << 9 << "12.5" << int(Qt::AlignRight | Qt::AlignVCenter);
    }

    void alignmentCodes()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(int, flags);
        FlexGrid g;
        g.setCols(3);
        g.setColAlignment(2, code);
        g.setTextMatrix(1, 2, text);
        QCOMPARE(g.ColAlignment(2), code);
        const QVariant v = g.model()->data(g.model()->index(1, 2), Qt::TextAlignmentRole);
        QCOMPARE(int(v.value<Qt::Alignment>()), flags);
        QCOMPARE(errorNumber([&] { g.setColAlignment(2, 10); }), flex::ErrSubscript);
        QCOMPARE(g.ColAlignment(2), code);
    }

    void coloursAreWindowsNumbers()
    {
        QCOMPARE(flex::bgrToColor(0xC0C000), QColor(0, 0xC0, 0xC0));   // teal
        QCOMPARE(flex::bgrToColor(0x0000FF), QColor(Qt::red));
        QCOMPARE(flex::colorToBgr(QColor(0x12, 0x34, 0x56)), 0x563412);

        FlexGrid g;
        fill(g, 5, 4);
        g.setBackColorSel(0xC0C000);
        QCOMPARE(g.BackColorSel(), 0xC0C000);

        // Single fill: the current cell only; 0 gives the cell the grid's colour back.
        g.setRow(1);
        g.setCol(1);
        QCOMPARE(g.CellBackColor(), 0);
        g.setCellBackColor(0xFFFFFF);
        QCOMPARE(g.CellBackColor(), 0xFFFFFF);
        QCOMPARE(g.model()->data(g.model()->index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
        g.setCellBackColor(0);
        QVERIFY(!g.model()->data(g.model()->index(1, 1), Qt::BackgroundRole).isValid());

        // Repeat fill: every cell of the selection, which is Row..RowSel by Col..ColSel.
        g.setFillStyle(flex::FillRepeat);
        g.setRow(3);
        g.setCol(2);
        g.setRowSel(2);
        g.setColSel(3);
        g.setCellForeColor(0xC0C000);
        for (int r = 1; r <= 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                g.setFillStyle(flex::FillSingle);
                QSignalBlocker block(&g);
                g.setRow(r);
                g.setCol(c);
                const bool inside = r >= 2 && r <= 3 && c >= 2;
                QCOMPARE(g.CellForeColor(), inside ? 0xC0C000 : 0);
            }
        }
    }

    void cellPictureAndFont()
    {
        FlexGrid g;
        fill(g, 3, 3);
        g.setRow(1);
        g.setCol(2);
        QVERIFY(g.CellPicture().isNull());
        QPixmap mark(8, 8);
        mark.fill(Qt::black);
        g.setCellPictureAlignment(flex::AlignCenterCenter);
        g.setCellPicture(mark);
        g.setCellFontName(QStringLiteral("Arial"));
        g.setCellFontSize(1);
        QVERIFY(!g.CellPicture().isNull());
        QCOMPARE(g.CellPictureAlignment(), 4);
        QCOMPARE(g.CellFontName(), QStringLiteral("Arial"));
        QCOMPARE(g.CellFontSize(), 1.0);
        QCOMPARE(g.TextMatrix(1, 2), QStringLiteral("r1c2"));   // the text stays
        g.setCellPicture(QPixmap());
        QVERIFY(g.CellPicture().isNull());
        g.setCol(1);
        QCOMPARE(g.CellFontSize(), g.Font().pointSizeF());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QVERIFY(!g.grab().isNull());   // paints with pictures, fonts and merges
    }

    void clearRowEmptiesOneRow()
    {
        FlexGrid g;
        fill(g, 4, 3);
        QPixmap mark(8, 8);
        mark.fill(Qt::black);
        g.setRow(2);
        g.setCol(1);
        g.setCellPicture(mark);
        g.setCellForeColor(0xFFFFFF);
        g.setRow(3);
        g.setCellPicture(mark);
        g.setRowHeight(2, 450);
        g.ClearRow(2);
        QCOMPARE(g.TextMatrix(2, 0), QString());
        QCOMPARE(g.TextMatrix(2, 2), QString());
        QCOMPARE(g.RowHeight(2), 450);
        g.setRow(2);
        QVERIFY(g.CellPicture().isNull());
        QCOMPARE(g.CellForeColor(), 0);
        // The rows around it keep theirs.
        QCOMPARE(g.TextMatrix(1, 1), QStringLiteral("r1c1"));
        QCOMPARE(g.TextMatrix(3, 1), QStringLiteral("r3c1"));
        g.setRow(3);
        QVERIFY(!g.CellPicture().isNull());
        QCOMPARE(errorNumber([&g] { g.ClearRow(4); }), int(flex::ErrSubscript));
    }

    void scrollIntoViewMovesNoFurtherThanNeeded()
    {
        FlexGrid g;
        g.resize(400, 300);
        fill(g, 200, 8);
        for (int c = 0; c < 8; ++c)
            g.setColWidth(c, 1500);   // 100 pixels
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setRow(1);
        g.setCol(0);
        QTableView *v = g.view();
        g.ScrollIntoView(1, 5);
        QVERIFY(v->columnViewportPosition(5) + v->columnWidth(5) <= v->viewport()->width());
        QVERIFY(v->columnViewportPosition(5) + v->columnWidth(5) > v->viewport()->width() - 100);
        QCOMPARE(g.Row(), 1);
        QCOMPARE(g.Col(), 0);
        const int left = g.LeftCol();
        g.ScrollIntoView(1, left);   // already in view: nothing moves
        QCOMPARE(g.LeftCol(), left);
        g.ScrollIntoView(150, left);
        QVERIFY(g.RowIsVisible(150));
        QVERIFY(!g.RowIsVisible(100));
        QCOMPARE(g.LeftCol(), left);
        // Hidden rows do not count; a hidden target leaves the rows alone.
        g.setRowHeight(20, 0);
        const int top = g.TopRow();
        g.ScrollIntoView(20, left);
        QCOMPARE(g.TopRow(), top);
        g.ScrollIntoView(1, 0);
        QCOMPARE(g.TopRow(), 1);
        QCOMPARE(g.LeftCol(), 0);
    }

    void mergedCells_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QStringList>("rows");   // one string per row, cells by letter
        QTest::addColumn<bool>("mergeRows");
        QTest::addColumn<bool>("mergeCols");
        QTest::addColumn<QPoint>("cell");        // (col, row)
        QTest::addColumn<QRect>("span");         // left, top, right, bottom as QRect(QPoint, QPoint)

        const QStringList rows{"HHH", "aab", "acb", "xcb"};
        auto span = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
        QTest::newRow("never") << 0 << rows << true << true << QPoint(0, 1) << span(0, 1, 0, 1);
        QTest::newRow("free across") << 1 << rows << true << true << QPoint(1, 1) << span(0, 1, 1, 1);
        QTest::newRow("free down") << 1 << rows << true << true << QPoint(2, 2) << span(2, 1, 2, 3);
        QTest::newRow("free, no row flags") << 1 << rows << false << true << QPoint(0, 1) << span(0, 1, 0, 2);
        QTest::newRow("free, no flags") << 1 << rows << false << false << QPoint(0, 1) << span(0, 1, 0, 1);
        // Restricted to columns: a cell merges down only where the column to its left does.
        QTest::newRow("restrict cols, left differs") << 3 << rows << false << true << QPoint(1, 3) << span(1, 3, 1, 3);
        QTest::newRow("restrict cols, first col") << 3 << rows << false << true << QPoint(0, 1) << span(0, 1, 0, 2);
        QTest::newRow("restrict cols, left merges") << 3 << QStringList{"HHH", "aab", "aab", "xcb"} << false << true
                                                    << QPoint(1, 1) << span(1, 1, 1, 2);
        // Fixed cells merge among themselves only.
        QTest::newRow("header across") << 1 << rows << true << false << QPoint(1, 0) << span(0, 0, 2, 0);
    }

    void mergedCells()
    {
        QFETCH(int, setting);
        QFETCH(QStringList, rows);
        QFETCH(bool, mergeRows);
        QFETCH(bool, mergeCols);
        QFETCH(QPoint, cell);
        QFETCH(QRect, span);
        FlexGrid g;
        g.setCols(3);
        g.setFixedCols(0);
        g.setRows(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < 3; ++c)
                g.setTextMatrix(r, c, rows[r].mid(c, 1));
            g.setMergeRow(r, mergeRows);
        }
        for (int c = 0; c < 3; ++c)
            g.setMergeCol(c, mergeCols);
        g.setMergeCells(setting);
        QCOMPARE(g.MergeCells(), setting);
        QCOMPARE(g.MergeRow(1), mergeRows);
        QCOMPARE(g.MergeCol(2), mergeCols);
        const flex::CellSpan s = g.mergedSpan(cell.y(), cell.x());
        QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), span);
    }

    void clicksMoveTheCurrentCell()
    {
        FlexGrid g;
        g.resize(600, 400);
        fill(g, 30, 5);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));

        QStringList events;
        connect(&g, &FlexGrid::LeaveCell, this, [&] { events << QStringLiteral("Leave"); });
        connect(&g, &FlexGrid::EnterCell, this, [&] { events << QStringLiteral("Enter"); });
        connect(&g, &FlexGrid::RowColChange, this, [&] { events << QStringLiteral("RowCol"); });
        connect(&g, &FlexGrid::SelChange, this, [&] { events << QStringLiteral("Sel"); });
        connect(&g, &FlexGrid::MouseDown, this, [&](int b, int, float, float) { events << QStringLiteral("Down%1").arg(b); });
        connect(&g, &FlexGrid::MouseUp, this, [&](int b, int, float, float) { events << QStringLiteral("Up%1").arg(b); });
        connect(&g, &FlexGrid::Click, this, [&] { events << QStringLiteral("Click"); });

        click(g, 3, 2);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.RowSel(), 3);
        QCOMPARE(g.ColSel(), 2);
        QCOMPARE(g.MouseRow(), 3);
        QCOMPARE(g.MouseCol(), 2);
        QCOMPARE(events, QStringList({"Down1", "Leave", "Enter", "RowCol", "Sel", "Up1", "Click"}));

        events.clear();
        click(g, 5, 4, Qt::ShiftModifier);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.RowSel(), 5);
        QCOMPARE(g.ColSel(), 4);
        QVERIFY(!events.contains(QStringLiteral("RowCol")));

        // The header row is row 0 for the mouse; a click there takes the whole column.
        click(g, 0, 1);
        QCOMPARE(g.MouseRow(), 0);
        QCOMPARE(g.MouseCol(), 1);
        QCOMPARE(g.Row(), 1);
        QCOMPARE(g.Col(), 1);
        QCOMPARE(g.RowSel(), 29);
        QCOMPARE(g.ColSel(), 1);

        // Setting Row from code raises the cell events too and collapses the selection.
        events.clear();
        g.setRow(7);
        QCOMPARE(g.RowSel(), 7);
        QCOMPARE(events, QStringList({"Leave", "Enter", "RowCol", "Sel"}));
    }

    void shiftExtendsTheMarkInEveryMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("free") << int(flex::SelectionFree);
        QTest::newRow("whole rows") << int(flex::SelectionByRow);
        QTest::newRow("whole columns") << int(flex::SelectionByColumn);
    }
    void shiftExtendsTheMarkInEveryMode()
    {
        // Shift+click and Shift+arrows extend the marked cells from the current one,
        // which stays where it is, whatever the selection mode.
        QFETCH(int, mode);
        FlexGrid g;
        g.resize(600, 400);
        fill(g, 30, 5);
        g.setSelectionMode(mode);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        click(g, 3, 2);
        int rowColChanges = 0;
        connect(&g, &FlexGrid::RowColChange, this, [&] { ++rowColChanges; });
        click(g, 5, 3, Qt::ShiftModifier);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.RowSel(), 5);
        QCOMPARE(g.ColSel(), 3);
        QTest::keyClick(g.view(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(g.view(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.RowSel(), 6);
        QCOMPARE(g.ColSel(), 4);
        QCOMPARE(rowColChanges, 0);
        // Without Shift the arrow moves the cursor and the mark goes with it.
        QTest::keyClick(g.view(), Qt::Key_Down);
        QCOMPARE(g.Row(), 4);
        QCOMPARE(g.RowSel(), 4);
    }

    void gridWithoutFixedCells()
    {
        FlexGrid g;
        g.resize(200, 200);
        g.setFixedRows(0);
        g.setFixedCols(0);
        g.setRows(0);
        g.setCols(3);
        g.setRowHeightMin(400);
        for (const char *name : {"Czech", "English", "China"})
            g.AddItem(QStringLiteral("\t\t") + QString::fromLatin1(name));
        QCOMPARE(g.Rows(), 3);
        QCOMPARE(g.TextMatrix(0, 2), QStringLiteral("Czech"));
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QCOMPARE(g.CellTop(), 0);
        QCOMPARE(g.CellHeight(), 405);   // 400 drawn as whole pixels

        QList<float> ys;
        connect(&g, &FlexGrid::MouseMove, this, [&](int, int, float, float y) { ys << y; });
        QTest::mouseMove(g.view()->viewport(), QPoint(10, 30));
        QCOMPARE(g.MouseRow(), 1);
        QVERIFY(!ys.isEmpty());
        QCOMPARE(ys.last(), 30.0f * 15);
        click(g, 2, 2);
        QCOMPARE(g.Row(), 2);
        QCOMPARE(g.Col(), 2);
    }

    void scrollingKeepsTheHeader()
    {
        FlexGrid g;
        g.resize(500, 300);
        fill(g, 200, 4);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QCOMPARE(g.TopRow(), 1);
        QSignalSpy scrolled(&g, &FlexGrid::Scroll);
        g.setTopRow(120);
        QCOMPARE(g.TopRow(), 120);
        QVERIFY(!scrolled.isEmpty());
        QVERIFY(g.RowIsVisible(120));
        QVERIFY(!g.RowIsVisible(119));
        QVERIFY(g.RowIsVisible(0));

        // The current cell's place follows the scrolling; the header stays on top.
        g.setRow(121);
        g.setCol(1);
        QCOMPARE(g.CellTop(), g.RowHeight(0) + 300);
        QCOMPARE(g.CellLeft(), g.ColWidth(0));
        QCOMPARE(g.CellWidth(), g.ColWidth(1));
        QCOMPARE(g.CellHeight(), 300);
        click(g, 0, 2);
        QCOMPARE(g.MouseRow(), 0);

        // Hidden rows are skipped by the scrolling, not counted.
        g.setTopRow(1);
        g.setRowHeight(2, 0);
        g.setRowHeight(3, 0);
        g.setTopRow(10);
        QCOMPARE(g.TopRow(), 10);

        // Keys move the current cell and bring it into view.
        g.setTopRow(1);
        g.setRow(1);
        g.setFocus();
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(g.view(), Qt::Key_Down);
        QCOMPARE(g.Row(), 41);
        QVERIFY(g.RowIsVisible(41));
        QVERIFY(g.TopRow() > 1);
    }

    void keyEventsWriteBack()
    {
        FlexGrid g;
        fill(g, 10, 3);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setRow(2);
        int seenCode = -1, seenShift = -1;
        auto down = connect(&g, &FlexGrid::KeyDown, this, [&](int &code, int &shift) {
            seenCode = code;
            seenShift = shift;
            if (code == 40)
                code = 0;   // the handler takes the key: the grid must not move
        });
        QTest::keyClick(g.view(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(seenCode, 40);
        QCOMPARE(seenShift, 1);
        QCOMPARE(g.Row(), 2);
        QCOMPARE(g.RowSel(), 2);
        disconnect(down);

        QList<int> typed;
        connect(&g, &FlexGrid::KeyPress, this, [&](int &ascii) {
            typed << ascii;
            ascii = 0;
        });
        QList<int> codes;
        connect(&g, &FlexGrid::KeyDown, this, [&](int &code, int &) { codes << code; });
        QTest::keyClick(g.view(), Qt::Key_A);
        QTest::keyClick(g.view(), Qt::Key_Return);
        QTest::keyClick(g.view(), Qt::Key_Escape);
        QTest::keyClick(g.view(), Qt::Key_Delete);
        QCOMPARE(typed, QList<int>({'a', 13, 27}));
        QCOMPARE(codes, QList<int>({65, 13, 27, 46}));

        // Each character whole, in turn: one outside the Basic Multilingual Plane, a key
        // that carries two, and the composed text of an input method.
        typed.clear();
        QTest::sendKeyEvent(QTest::Click, g.view(), Qt::Key_unknown, QString::fromUtf16(u"\U0001F600"), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, g.view(), Qt::Key_unknown, QStringLiteral("bc"), Qt::NoModifier);
        QInputMethodEvent composed;
        composed.setCommitString(QString::fromUtf16(u"\u010Dx"));
        QApplication::sendEvent(g.view(), &composed);
        QCOMPARE(typed, QList<int>({0x1F600, 'b', 'c', 0x10D, 'x'}));
    }

    void userResizesColumnsInTheHeader()
    {
        FlexGrid g;
        g.resize(600, 300);
        fill(g, 5, 4);
        g.setColWidth(1, 1500);   // 100 pixels
        g.setAllowUserResizing(flex::ResizeColumns);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setRow(2);
        QSignalSpy clicks(&g, &FlexGrid::Click);
        QSignalSpy releases(&g, &FlexGrid::MouseUp);
        auto [w, centre] = cellTarget(g, 0, 1);
        const QPoint edge(centre.x() + 50 - 1, centre.y());
        QTest::mousePress(w, Qt::LeftButton, {}, edge);
        QTest::mouseMove(w, edge + QPoint(40, 0));
        QTest::mouseRelease(w, Qt::LeftButton, {}, edge + QPoint(40, 0));
        QCOMPARE(g.ColWidth(1), 1500 + 40 * 15);
        QCOMPARE(g.Row(), 2);   // a resize is no click on the header
        QCOMPARE(g.RowSel(), 2);
        QCOMPARE(releases.count(), 1);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(g.MouseSized());

        // Without the setting the same drag only selects the column.
        g.setAllowUserResizing(flex::ResizeNone);
        std::tie(w, centre) = cellTarget(g, 0, 1);
        QTest::mousePress(w, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(w, Qt::LeftButton, {}, centre);
        QCOMPARE(g.ColWidth(1), 2100);
        QCOMPARE(g.RowSel(), 4);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!g.MouseSized());

        // The empty space past the last row and column belongs to no cell.
        g.setRow(2);
        QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, QPoint(580, 250));
        QCOMPARE(g.MouseRow(), g.Rows());
        QCOMPARE(g.MouseCol(), g.Cols());
        QCOMPARE(g.Row(), 2);
    }

    void fontSetsTheDefaultRowHeight()
    {
        FlexGrid g;
        fill(g, 3, 2);
        g.AddItem(QStringLiteral("default height"));
        const int before = g.RowHeight(3);
        QFont big = g.Font();
        big.setPointSize(big.pointSize() * 3);
        g.setFont(big);
        QCOMPARE(g.Font().pointSize(), big.pointSize());
        QVERIFY(g.RowHeight(3) > before);
        QCOMPARE(g.RowHeight(1), 300);   // a height of its own stays
        QCOMPARE(g.view()->rowHeight(3), sys::toPixels(g.RowHeight(3)));
    }

    void sorting_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QStringList>("expected");
        // Texts count as 0 here; equal keys keep their order.
        QTest::newRow("numeric ascending") << 3 << QStringList{"b", "A", "9", "10", "100"};
        QTest::newRow("numeric descending") << 4 << QStringList{"100", "10", "9", "b", "A"};
        QTest::newRow("text ascending, any case") << 5 << QStringList{"10", "100", "9", "A", "b"};
        QTest::newRow("text descending, any case") << 6 << QStringList{"b", "A", "9", "100", "10"};
        QTest::newRow("custom by length") << 9 << QStringList{"9", "b", "A", "10", "100"};
    }

    void sorting()
    {
        QFETCH(int, setting);
        QFETCH(QStringList, expected);
        FlexGrid g;
        QAbstractItemModelTester tester(g.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        g.setCols(2);
        g.setFixedCols(0);
        g.setRows(1);
        for (const char *t : {"10", "9", "b", "A", "100"})
            g.AddItem(QStringLiteral("%1\tkey%1").arg(QString::fromLatin1(t)));
        g.setRow(3);
        g.setCol(0);
        g.setCellBackColor(0xFF);   // on "b": formatting goes with its row
        connect(&g, &FlexGrid::Compare, this, [&](int r1, int r2, int &cmp) {
            const int a = int(g.TextMatrix(r1, 0).size()), b = int(g.TextMatrix(r2, 0).size());
            cmp = a < b ? -1 : (a > b ? 1 : 0);
        });
        g.setSort(setting);
        QStringList got;
        for (int r = 1; r < g.Rows(); ++r) {
            got << g.TextMatrix(r, 0);
            QCOMPARE(g.TextMatrix(r, 1), QStringLiteral("key") + g.TextMatrix(r, 0));
        }
        QCOMPARE(got, expected);
        const int bRow = int(got.indexOf(QStringLiteral("b"))) + 1;
        QCOMPARE(g.model()->data(g.model()->index(bRow, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    }

    void sortHookOrdersTheRows()
    {
        FlexGrid g;
        fill(g, 5, 2);
        int compares = 0;
        connect(&g, &FlexGrid::Compare, this, [&compares](int, int, int &) { ++compares; });
        // The hook takes the place of Compare: it is handed the data rows once.
        std::vector<int> given;
        g.setSortHook([&given](std::vector<int> &rows) {
            given = rows;
            std::reverse(rows.begin(), rows.end());
        });
        g.setSort(flex::SortCustom);
        QCOMPARE(given, std::vector<int>({1, 2, 3, 4}));
        QCOMPARE(compares, 0);
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("r4c0"));
        QCOMPARE(g.TextMatrix(4, 0), QStringLiteral("r1c0"));
        // An order that loses or repeats a row is refused, and the rows stay.
        g.setSortHook([](std::vector<int> &rows) { rows[0] = rows[1]; });
        QCOMPARE(errorNumber([&] { g.setSort(flex::SortCustom); }), flex::ErrSubscript);
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("r4c0"));
        g.setSortHook({});
        g.setSort(flex::SortCustom);
        QVERIFY(compares > 0);
    }

    void sortedRowsKeepTheirHeightsOnScreen()
    {
        // Heights go with their rows on screen too: a hidden row, a tall one, the rest of
        // the default height.
        FlexGrid g;
        fill(g, 7, 2);
        g.setRowHeight(2, 0);
        g.setRowHeight(3, 900);
        g.setRowHeight(5, 0);
        const int heights[] = {300, 0, 900, 300, 0, 300};
        g.setSortHook([](std::vector<int> &rows) { std::rotate(rows.begin(), rows.begin() + 2, rows.end()); });
        for (int round = 1; round <= 3; ++round) {
            g.setSort(flex::SortCustom);
            for (int r = 1; r < g.Rows(); ++r) {
                const int twips = heights[(r - 1 + 2 * round) % 6];
                QCOMPARE(g.RowHeight(r), twips);
                QCOMPARE(g.view()->isRowHidden(r), twips == 0);
                if (twips > 0)
                    QCOMPARE(g.view()->rowHeight(r), sys::toPixels(twips));
            }
        }
    }

    void batchedRowsReachTheViewOnce()
    {
        FlexGrid g;
        fill(g, 3, 2);
        QSignalSpy inserted(g.model(), &QAbstractItemModel::rowsInserted);
        g.setRedraw(false);
        for (int i = 0; i < 1000; ++i) {
            g.AddItem(QStringLiteral("n%1\tX").arg(i));
            g.setRowHeight(g.Rows() - 1, 300);
        }
        g.setRowHeight(500, 0);
        QCOMPARE(g.Rows(), 1003);
        QCOMPARE(g.TextMatrix(1002, 0), QStringLiteral("n999"));
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(g.model()->rowCount(), 3);
        g.setRedraw(true);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(g.model()->rowCount(), 1003);
        QVERIFY(g.view()->isRowHidden(500));
        QVERIFY(!g.view()->isRowHidden(501));
        QCOMPARE(g.view()->rowHeight(1002), sys::toPixels(300));
    }

    // Rows that come in batches of every size, drawing off for each, with rows hidden and
    // sized on the way both among the new rows and among those already on screen: after
    // each batch every row shows as its height says, and the grid's count of hidden rows
    // is the rows' own.
    void rowsInBatchesShowAsTheirHeightsSay()
    {
        FlexGrid g;
        fill(g, 3, 2);
        const auto check = [&g](const char *when) {
            int zero = 0;
            for (int r = 0; r < g.Rows(); ++r) {
                const int twips = g.RowHeight(r);
                zero += twips == 0;
                if (r < g.FixedRows())
                    continue;
                const bool hidden = twips < 16;
                QVERIFY2(g.view()->isRowHidden(r) == hidden, qPrintable(QStringLiteral("%1: row %2").arg(when).arg(r)));
                if (!hidden)
                    QVERIFY2(g.view()->rowHeight(r) == sys::toPixels(twips), qPrintable(QStringLiteral("%1: row %2").arg(when).arg(r)));
            }
            QCOMPARE(g.model()->zeroHeightRows(), zero);
        };
        const int batches[] = {1, 2, 50, 3, 400, 7, 1500, 10};
        int round = 0;
        for (const int n : batches) {
            ++round;
            g.setRedraw(false);
            for (int i = 0; i < n; ++i) {
                g.AddItem(QStringLiteral("b%1\t%2").arg(round).arg(i));
                g.setRowHeight(g.Rows() - 1, i % 5 == 0 ? 600 : 300);
            }
            g.setRowHeight(g.Rows() - 1, 0);             // a new row hidden
            g.setRowHeight(1 + round % (g.Rows() - 1), round % 2 ? 0 : 900);  // an old one changed
            g.setRedraw(true);
            check(qPrintable(QStringLiteral("batch %1").arg(round)));
        }
        // A row inserted among the shown ones while drawing is off moves the rows after it.
        g.setRedraw(false);
        g.AddItem(QStringLiteral("among"), 2);
        g.setRowHeight(2, 1200);
        g.AddItem(QStringLiteral("last"));
        g.setRedraw(true);
        check("inserted");
        g.RemoveItem(3);
        check("removed");
    }

    // Most of a large grid dropped at once leaves the rows kept as they were, heights and
    // formatting with them; a grid that grows again after it starts from empty rows.
    void droppingManyRowsKeepsTheRest()
    {
        FlexGrid g;
        fill(g, 3, 3);
        g.setRowHeight(2, 0);
        g.setRow(2);
        g.setCol(1);
        g.setCellBackColor(0x00FF00);
        g.setRedraw(false);
        for (int i = 0; i < 20000; ++i) {
            g.AddItem(QStringLiteral("m%1\tx\ty").arg(i));
            g.setRowHeight(g.Rows() - 1, i % 3 ? 300 : 0);
        }
        g.setRedraw(true);
        g.setRows(3);
        QCOMPARE(g.Rows(), 3);
        QCOMPARE(g.TextMatrix(1, 1), QStringLiteral("r1c1"));
        QCOMPARE(g.TextMatrix(2, 2), QStringLiteral("r2c2"));
        QCOMPARE(g.RowHeight(2), 0);
        QCOMPARE(g.model()->zeroHeightRows(), 1);
        QVERIFY(g.model()->format(2, 1));
        QCOMPARE(g.model()->rowCount(), 3);
        QVERIFY(g.view()->isRowHidden(2));
        g.setRows(6);
        QCOMPARE(g.TextMatrix(5, 0), QString());
        QVERIFY(!g.model()->format(5, 1));
        QCOMPARE(g.model()->zeroHeightRows(), 1);
        g.AddItem(QStringLiteral("again\tz"));
        QCOMPARE(g.TextMatrix(6, 1), QStringLiteral("z"));
    }

    // Drawing switched off and on again with no row added meanwhile: a row added later
    // reaches the view at once, as one added before drawing was ever off does.
    void rowsAfterAnEmptyBatch()
    {
        FlexGrid g;
        fill(g, 3, 2);
        g.setRedraw(false);
        g.setRedraw(true);
        QSignalSpy inserted(g.model(), &QAbstractItemModel::rowsInserted);
        g.AddItem(QStringLiteral("new\tX"));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(g.model()->rowCount(), 4);
        QVERIFY(!g.view()->isRowHidden(3));
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
