// The table editor control: rows, the record counter, check marks, modes, menus, texts,
// stored properties and placing, driven through a host window as the catalog uses it.
#include "VarnexEditUni.h"
#include "grid.h"
#include "libroutines.h"
#include "messagelist.h"
#include "system.h"
#include "testhost.h"
#include "vberror.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

namespace {

QString row(const QString &key, const QString &name, const QString &check = QStringLiteral("N"),
            const QString &state = QStringLiteral("X"))
{
    return QStringList{key, name, QStringLiteral("12,5"), QStringLiteral("05.03.2026"), check, state}.join(
        QLatin1Char('\t'));
}

QStringList rows(int n)
{
    QStringList list;
    for (int i = 1; i <= n; ++i)
        list << row(QString::number(i), QStringLiteral("Položka %1").arg(i));
    return list;
}

QLabel *label(VarnexEditUni *e, const char *name) { return e->findChild<QLabel *>(QLatin1String(name)); }
QPushButton *button(VarnexEditUni *e, const char *name) { return e->findChild<QPushButton *>(QLatin1String(name)); }
QAction *action(QMenu *menu, const char *name)
{
    for (QAction *a : menu->actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

// The strip under the grid, as the user sees it: no two of its shown widgets (the
// buttons, the record counter, the seek text, the filter text) share a pixel, and the
// counter and the seek text have room for all of their text.
void checkStripApart(VarnexEditUni *e, const QString &when)
{
    QList<QWidget *> shown;
    for (const char *name : {"cmdAdd", "cmdDel", "lblRecord", "lblSeek", "lbl"})
        if (auto *w = e->findChild<QWidget *>(QLatin1String(name)); w && w->isVisibleTo(e))
            shown << w;
    const auto where = [](const QWidget *w) {
        const QRect r = w->geometry();
        return QStringLiteral("%1 (%2,%3 %4x%5)").arg(w->objectName()).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                     qPrintable(when + QStringLiteral(": ") + where(shown[i]) + QStringLiteral(" over ")
                                + where(shown[j])));
    for (const char *name : {"lblRecord", "lblSeek"}) {
        QLabel *l = label(e, name);
        if (l->isVisibleTo(e))
            QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(when + QStringLiteral(": ") + where(l)
                                                                      + QStringLiteral(" cuts ") + l->text()));
    }
}

// checkStripApart at every width from the host's own down to a sliver.
void checkStripApartAtAllWidths(VarnexEditUni *e, const QString &when)
{
    const QSize size = e->size();
    for (int w = size.width(); w >= 20; w -= 20) {
        e->resize(w, size.height());
        checkStripApart(e, when + QStringLiteral(", width %1").arg(w));
        if (QTest::currentTestFailed())
            break;
    }
    e->resize(size);
}

}  // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { tabulix::setTexts(nullptr); }

    void clearAndAdd()
    {
        TestHost host;
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        e->Clear();
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->RowHeight(1), 15);
        e->AddData(row(QStringLiteral("1"), QStringLiteral("Šroub")));
        QVERIFY(!e->AddError());
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->RowHeight(1), 300);
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Šroub"));
        e->AddData(row(QStringLiteral("2"), QStringLiteral("Matice")));
        QCOMPARE(e->Rows(), 3);
        QCOMPARE(e->TMatrix(2, 0), QStringLiteral("2"));

        // Clear leaves an empty placeholder, not the old first row.
        e->Clear();
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->TMatrix(1, 1), QString());
        QCOMPARE(e->TMatrix(0, 1), QStringLiteral("Název"));
    }

    void initKeepsAnEmptyRow()
    {
        TestHost host;
        host.defineColumns(1);
        VarnexEditUni *e = host.VEdit;
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->RowHeight(1), 300);
        e->AddData(row(QStringLiteral("1"), QStringLiteral("a")));
        QCOMPARE(e->Rows(), 3);
        QCOMPARE(e->TMatrix(1, 1), QString());
    }

    void initEmptiesTheFirstRow()
    {
        // A host that defines its columns again over filled rows: row 1 keeps nothing of
        // the old first row, neither its texts nor its check mark and hidden-text look.
        TestHost host;
        host.defineColumns(1);
        VarnexEditUni *e = host.VEdit;
        host.fill({row(QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("A")), row("2", "b")}, 2);
        e->Init(6, 0);
        QCOMPARE(e->Rows(), 2);
        FlexGrid *g = e->grid();
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(e->TMatrix(1, c), QString());
            QSignalBlocker block(g);
            g->setRow(1);
            g->setCol(c);
            QVERIFY(g->CellPicture().isNull());
            QCOMPARE(g->CellForeColor(), 0);
        }
        QCOMPARE(e->RowHeight(1), 300);
    }

    void checkMarkStaysInItsCell()
    {
        // Browse mode on a shown window chooses whole-row selection; a mark set then must
        // not spread over the row.
        TestHost host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        FlexGrid *g = e->grid();
        QCOMPARE(g->SelectionMode(), int(flex::SelectionByRow));
        host.fill({row("1", "a", "A"), row("2", "b", "N")}, 2);
        e->TMatrix(2, 4, QStringLiteral("A"));
        e->ResetImg(4);
        for (int r = 1; r <= 2; ++r) {
            for (int c = 0; c < 6; ++c) {
                QSignalBlocker block(g);
                g->setRow(r);
                g->setCol(c);
                QCOMPARE(g->CellPicture().isNull(), c != 4);
                if (c != 4)
                    QCOMPARE(g->CellForeColor(), 0);
            }
        }
        QCOMPARE(e->FillStyle(), int(flex::FillSingle));
    }

    void setUpBeforeTheWindowIsShown()
    {
        // A host sets the control up in its load, before the window is shown: the grid
        // has its size already, so the mode and the buttons are measured against it.
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        FlexGrid *g = e->grid();
        host.defineColumns(2);
        QCOMPARE(g->width(), sys::toPixels(sys::toTwips(640) - 50 - 60));
        QCOMPARE(g->height(), sys::toPixels(sys::toTwips(400) - 40 - 465));
        QCOMPARE(g->SelectionMode(), int(flex::SelectionByRow));
        e->Edited(1);
        e->CmdAddVisible(true);
        e->CmdDelVisible(true);
        QPushButton *add = button(e, "cmdAdd");
        QPushButton *del = button(e, "cmdDel");
        QCOMPARE(add->y(), sys::toPixels(sys::toTwips(g->y() + g->height()) + 50));
        QCOMPARE(del->x(), add->x() + add->width() + sys::toPixels(150));
        QCOMPARE(e->GridNameWork(), QStringLiteral("frmTest_VEdit"));
    }

    void stripApartWhenSetUpBeforeShowing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("update mode") << 1;
        QTest::newRow("browse mode") << 2;
    }
    void stripApartWhenSetUpBeforeShowing()
    {
        // Every window sets the control up in its load and shows afterwards: the resize
        // that the showing brings must leave the counter, the seek text and the buttons
        // apart, at every width.
        QFETCH(int, mode);
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        FlexGrid *g = e->grid();
        host.defineColumns(quint8(mode));
        if (mode == 1) {
            e->CmdAddVisible(true);
            e->CmdDelVisible(true);
        }
        host.fill(rows(40), 400);
        e->WhereText(QStringLiteral("Název od P"));
        QVERIFY(host.showActive());
        QLabel *counter = label(e, "lblRecord");
        QCOMPARE(counter->text(), QStringLiteral("40 záznamů z 400"));
        QVERIFY(counter->isVisible());
        QCOMPARE(button(e, "cmdAdd")->isVisible(), mode == 1);
        checkStripApartAtAllWidths(e, QStringLiteral("shown"));
        if (QTest::currentTestFailed())
            return;

        // A seek typed in browse mode shows beside the counter, not over it.
        if (mode == 1)
            e->Edited(2);
        e->SortCol(true, 1);
        e->Row(1);
        e->Col(1);
        g->view()->setFocus();
        QTest::keyClicks(g->view(), QStringLiteral("Po"));
        QLabel *seek = label(e, "lblSeek");
        QCOMPARE(seek->text(), QStringLiteral("Po"));
        QVERIFY(seek->isVisible());
        checkStripApartAtAllWidths(e, QStringLiteral("seek typed"));
        if (QTest::currentTestFailed())
            return;

        // Back in update mode the buttons come back, and the counter keeps clear of them
        // through another show and resize.
        QTest::keyClick(g->view(), Qt::Key_Return);
        e->Edited(1);
        e->CmdAddVisible(true);
        e->CmdDelVisible(true);
        host.hide();
        e->resize(600, 380);
        QVERIFY(host.showActive());
        checkStripApartAtAllWidths(e, QStringLiteral("update mode again"));
    }

    void defaultGridNameInAnMdiChild()
    {
        QMainWindow main;
        main.setObjectName(QStringLiteral("frmMain"));
        auto *area = new QMdiArea;
        main.setCentralWidget(area);
        auto *host = new TestHost;
        host->setObjectName(QStringLiteral("frmPrehled"));
        area->addSubWindow(host);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(host->VEdit->GridNameWork(), QStringLiteral("frmPrehled_VEdit"));
    }

    void addDataBeforeAnyColumn()
    {
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        e->Init(3, 0);
        e->Clear();
        e->AddData(QStringLiteral("1\ta\tX"));
        QVERIFY(e->AddError());
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->RowHeight(1), 15);
        // Once the columns exist the same row goes in, and the placeholder gives way.
        e->SetCol(0, QStringLiteral("K"), 500, QStringLiteral("L"), QStringLiteral("K"), QStringLiteral("C"), 5);
        e->AddData(QStringLiteral("1\ta\tX"));
        QVERIFY(!e->AddError());
        QCOMPARE(e->Rows(), 2);
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("a"));
        // A failed row takes only itself away, never a row that was there before.
        e->Init(3, 0);
        e->AddData(QStringLiteral("2\tb\tX"));
        QVERIFY(!e->AddError());
        QCOMPARE(e->Rows(), 3);
    }

    void checkColumn()
    {
        TestHost host;
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        host.fill({row(QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("A")),
                   row(QStringLiteral("2"), QStringLiteral("b"), QStringLiteral("N"))},
                  2);
        FlexGrid *g = e->grid();
        QCOMPARE(e->GetCol(2, 4).toString(), QStringLiteral("Z"));
        QCOMPARE(e->GetCol(8, 4).toString(), QStringLiteral("L"));
        QCOMPARE(e->ColAlign(4), qint16(flex::AlignLeftBottom));
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("A"));
        g->setRow(1);
        g->setCol(4);
        QVERIFY(!g->CellPicture().isNull());
        QCOMPARE(g->CellPictureAlignment(), int(flex::AlignCenterCenter));
        QCOMPARE(g->CellForeColor(), 0xFFFFFF);
        QCOMPARE(g->CellFontSize(), 1.0);
        g->setRow(2);
        QVERIFY(g->CellPicture().isNull());

        // Writing the text refreshes the mark; browse mode ends with no focus frame.
        e->TMatrix(2, 4, QStringLiteral("A"));
        g->setRow(2);
        g->setCol(4);
        QVERIFY(!g->CellPicture().isNull());
        QCOMPARE(e->FocusRect(), int(flex::FocusNone));
        QCOMPARE(e->FillStyle(), int(flex::FillSingle));

        // Another column's text is no mark and changes nothing else.
        e->FocusRect(1);
        e->TMatrix(2, 1, QStringLiteral("A"));
        QCOMPARE(e->FocusRect(), 1);
    }

    void alignmentCodes_data()
    {
        QTest::addColumn<QString>("align");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("letter");
        QTest::newRow("left") << "L" << "C" << int(flex::AlignLeftCenter) << "L";
        QTest::newRow("centre") << "C" << "N" << int(flex::AlignCenterCenter) << "C";
        QTest::newRow("right, lower case") << "r" << "N" << int(flex::AlignRightCenter) << "R";
        QTest::newRow("system") << "S" << "C" << int(flex::AlignLeftCenter) << "S";
        QTest::newRow("check mark") << "R" << "z" << int(flex::AlignLeftBottom) << "L";
        // An unknown letter leaves the grid's alignment (right, from before) and no letter.
        QTest::newRow("unknown") << "X" << "C" << int(flex::AlignRightCenter) << "";
    }
    void alignmentCodes()
    {
        QFETCH(QString, align);
        QFETCH(QString, type);
        QFETCH(int, code);
        QFETCH(QString, letter);
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        e->Init(2, 0);
        e->ColAlign(1, qint16(flex::AlignRightCenter));
        e->SetCol(0, QStringLiteral("K"), 0, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("N"), 5);
        e->SetCol(1, QStringLiteral("Pole"), 900, align, QStringLiteral("F"), type, 5);
        QCOMPARE(int(e->ColAlign(1)), code);
        QCOMPARE(e->GetCol(8, 1).IsEmpty() ? QString() : e->GetCol(8, 1).toString(), letter);
        QCOMPARE(e->GetCol(2, 1).toString(), type.toUpper());
        QCOMPARE(e->TMatrix(0, 1), QStringLiteral("Pole"));
        QCOMPARE(e->ColWidth(1), 900);
    }

    void firstRowAndDeleted()
    {
        TestHost host;
        host.defineColumns(1);
        VarnexEditUni *e = host.VEdit;
        host.fill({row("1", "a", "N", "D"), row("2", "b", "N", "D"), row("3", "c")}, 3);
        QCOMPARE(e->FirstRow(), 3);
        e->TMatrix(3, 5, QStringLiteral("D"));
        QCOMPARE(e->FirstRow(), 0);
        e->Row(2);
        e->HideRow();
        QVERIFY(e->DeletedRow(2));
        QVERIFY(!e->DeletedRow(1));
        QCOMPARE(e->TMatrix(2, 5), QStringLiteral("D"));
    }

    void counterText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("t");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1 of 1") << 1 << 1 << "1 záznam";
        QTest::newRow("3 of 3") << 3 << 3 << "3 záznamy";
        QTest::newRow("7 of 7") << 7 << 7 << "7 záznamů";
        QTest::newRow("3 of 500") << 3 << 500 << "3 záznamy z 500";
        QTest::newRow("7 of 500") << 7 << 500 << "7 záznamů z 500";
        QTest::newRow("2 of 3") << 2 << 3 << "2 záznamy ze 3";
        QTest::newRow("none") << 0 << 0 << "0 záznamy";
        QTest::newRow("21") << 21 << 21 << "21 záznamů";
    }
    void counterText()
    {
        QFETCH(int, n);
        QFETCH(int, t);
        QFETCH(QString, expected);
        QCOMPARE(VarnexEditUni::CounterText(n, t), expected);
    }

    void counterCountsLiveRows()
    {
        TestHost host;
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        QLabel *counter = label(e, "lblRecord");
        host.fill({}, 0);
        QCOMPARE(counter->text(), QStringLiteral("0 záznamy"));
        host.fill(rows(3), 500);
        QCOMPARE(counter->text(), QStringLiteral("3 záznamy z 500"));
        // A deleted row stays in the grid but is no record.
        e->Row(2);
        e->HideRow();
        e->Redraw(true);
        QCOMPARE(counter->text(), QStringLiteral("2 záznamy z 500"));
        host.fill(rows(1), 1);
        QCOMPARE(counter->text(), QStringLiteral("1 záznam"));
        QVERIFY(counter->isVisibleTo(e));
        // Redraw off leaves the caption alone.
        e->Clear();
        e->Redraw(false);
        QCOMPARE(counter->text(), QStringLiteral("1 záznam"));
    }

    void counterInTheHostsLanguage()
    {
        MessageList texts;
        for (int i = 1; i <= 466; ++i)
            texts.add(QString::number(i), i == 305 ? QStringLiteral("records")
                                                   : i == 465 ? QStringLiteral("of") : QString());
        TestHost host(nullptr, &texts);
        host.defineColumns(2);
        host.fill(rows(6), 80);
        QCOMPARE(label(host.VEdit, "lblRecord")->text(), QStringLiteral("6 records of 80"));
    }

    void editedModes()
    {
        TestHost host;
        host.show();
        VarnexEditUni *e = host.VEdit;
        host.defineColumns(2);
        // The columns are narrower than the grid: whole rows.
        QCOMPARE(e->grid()->SelectionMode(), int(flex::SelectionByRow));
        QCOMPARE(e->FocusRect(), int(flex::FocusNone));
        QCOMPARE(e->FillStyle(), int(flex::FillSingle));
        QVERIFY(!button(e, "cmdAdd")->isVisible());
        e->ColWidth(1, 20000);
        e->Edited(2);
        QCOMPARE(e->grid()->SelectionMode(), int(flex::SelectionFree));

        e->Edited(1);
        QCOMPARE(e->Edited(), quint8(1));
        QCOMPARE(e->FocusRect(), int(flex::FocusHeavy));
        QCOMPARE(e->FillStyle(), int(flex::FillRepeat));
        QVERIFY(!action(e->PopupFce(), "mnuHideCol")->isVisible());
        QVERIFY(!action(e->PopupFce(), "mnuSHcol")->isVisible());
        QVERIFY(!action(e->PopupFce(), "m2")->isVisible());
        QVERIFY(!action(e->PopupFce(), "m3")->isVisible());
        QPushButton *del = button(e, "cmdDel");
        QLabel *counter = label(e, "lblRecord");
        QCOMPARE(counter->x(), del->x() + del->width() + sys::toPixels(100));
    }

    void buttonLayout()
    {
        TestHost host;
        host.show();
        VarnexEditUni *e = host.VEdit;
        QPushButton *add = button(e, "cmdAdd");
        QPushButton *del = button(e, "cmdDel");
        FlexGrid *g = e->grid();
        e->CmdDelVisible(true);
        QVERIFY(del->isVisible());
        QCOMPARE(del->x(), g->x());
        e->CmdAddVisible(true);
        QCOMPARE(add->x(), g->x());
        QCOMPARE(del->x(), add->x() + add->width() + sys::toPixels(150));
        QCOMPARE(add->y(), sys::toPixels(sys::toTwips(g->y() + g->height()) + 50));
    }

    void recordMenu()
    {
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        QMenu *menu = e->PopupRecord();
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("R"));
        for (qint16 i : {7, 0, 1, 2, 3, 4, 5, 6})
            e->SetMenu(i, i == 3 || i == 6 ? QStringLiteral("-") : QStringLiteral("Příkaz %1").arg(i), i != 5);
        const auto items = menu->actions();
        QCOMPARE(items.size(), 8);
        QCOMPARE(std::count_if(items.begin(), items.end(), [](QAction *a) { return a->isSeparator(); }), 2);
        QVERIFY(items.at(3)->isSeparator());
        QCOMPARE(items.at(7)->text(), QStringLiteral("Příkaz 7"));
        QVERIFY(!items.at(5)->isEnabled());

        QList<int> chosen;
        connect(e, &VarnexEditUni::Record, this, [&chosen](qint16 &index) { chosen << index; });
        items.at(4)->trigger();
        items.at(0)->trigger();
        QCOMPARE(chosen, QList<int>({4, 0}));

        try {
            e->SetMenu(2, QStringLiteral("znovu"));
            QFAIL("an item made twice was accepted");
        } catch (const VbError &err) {
            QCOMPARE(err.Number(), 360);
        }
    }

    void functionMenuSwitches()
    {
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        QMenu *fce = e->PopupFce();
        e->EnableSelect(false);
        QVERIFY(!action(fce, "mnuVyber")->isEnabled());
        QVERIFY(!action(fce, "mnuZrusVyber")->isEnabled());
        QVERIFY(action(fce, "mnuZmenVyber")->isEnabled());
        QVERIFY(!e->EnableSelect());
        e->EnableSort(false);
        QVERIFY(!action(fce, "mnuSortDesc")->isEnabled());
        e->EnableHideCol(false);
        QVERIFY(action(fce, "m2")->isVisible());
        e->EnableSetupCols(false);
        QVERIFY(!action(fce, "m2")->isVisible());
        e->EnableSetupCols(true);
        QVERIFY(action(fce, "m2")->isVisible());
    }

    void translation()
    {
        MessageList texts;
        for (int i = 1; i <= 433; ++i)
            texts.add(QString::number(i), i == 415 ? QStringLiteral("Add row")
                                                   : i == 368 ? QStringLiteral("Select") : QString());
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        // Before any texts the Czech captions stand, without their numbers.
        QCOMPARE(button(e, "cmdAdd")->text(), QStringLiteral("Přidat řádek"));
        QCOMPARE(action(e->PopupFce(), "mnuTisk")->text(), QStringLiteral("Tisk přehledu"));
        e->SetLang(&texts);
        QCOMPARE(button(e, "cmdAdd")->text(), QStringLiteral("Add row"));
        QCOMPARE(button(e, "cmdDel")->text(), QStringLiteral("Zrušit řádek"));
        QCOMPARE(action(e->PopupFce(), "mnuVyber")->text(), QStringLiteral("Select"));
        // The list is shared: a control made later starts translated.
        TestHost second;
        QCOMPARE(button(second.VEdit, "cmdAdd")->text(), QStringLiteral("Add row"));
    }

    void storedProperties()
    {
        // A host with no stored design: every property at its default.
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        QVERIFY(e->EnableSelect());
        QVERIFY(e->EnableSort());
        QCOMPARE(e->MergeCells(), VeMergeNever);
        QVERIFY(!e->WordWrap());
        QCOMPARE(e->FillStyle(), 1);
        QCOMPARE(e->FocusRect(), 1);
        QCOMPARE(e->Font().family(), QFont(QStringLiteral("MS Sans Serif")).family());
        QVERIFY(e->Font().bold());
        QCOMPARE(e->Font().pointSize(), 8);

        e->ReadProperties({{QStringLiteral("EnableSelect"), false},
                           {QStringLiteral("FontName"), QStringLiteral("Liberation Serif")},
                           {QStringLiteral("FontSize"), 12},
                           {QStringLiteral("MergeCells"), 2}});
        QVERIFY(!e->EnableSelect());
        QVERIFY(action(e->PopupFce(), "mnuZmenVyber")->isEnabled());
        QCOMPARE(e->Font().pointSize(), 12);
        QCOMPARE(e->MergeCells(), VeMergeRestrictRows);

        // What is written reads back into another control unchanged.
        const QVariantMap bag = e->WriteProperties();
        QVERIFY(bag.contains(QStringLiteral("Font")));
        TestHost other;
        other.VEdit->ReadProperties(bag);
        QCOMPARE(other.VEdit->WriteProperties(), bag);
    }

    void resizeLayout()
    {
        TestHost host;
        host.show();
        VarnexEditUni *e = host.VEdit;
        FlexGrid *g = e->grid();
        e->resize(sys::toPixels(6050), sys::toPixels(3040));
        QCOMPARE(g->x(), sys::toPixels(60));
        QCOMPARE(g->width(), sys::toPixels(6000 - 60));
        QCOMPARE(g->height(), sys::toPixels(3000 - 465));
        // Too low for a grid: the grid has no height and the buttons sit at the top.
        e->resize(sys::toPixels(6050), sys::toPixels(400));
        QCOMPARE(g->height(), 0);
        QCOMPARE(button(e, "cmdAdd")->y(), sys::toPixels(sys::toTwips(g->y()) + 35));
    }

    void defaultGridName()
    {
        TestHost host;
        host.show();
        VarnexEditUni *e = host.VEdit;
        e->resize(e->width() + 1, e->height());
        QCoreApplication::processEvents();
        QCOMPARE(e->GridNameWork(), QStringLiteral("frmTest_VEdit"));
        e->GridName(QStringLiteral("frmPrehled_Sekce3"));
        QCOMPARE(e->GridNameWork(), QStringLiteral("frmPrehled_Sekce3"));
        e->resize(e->width() + 1, e->height());
        QCOMPARE(e->GridNameWork(), QStringLiteral("frmPrehled_Sekce3"));
        e->GridName(QString());
        e->resize(e->width() + 1, e->height());
        QCOMPARE(e->GridNameWork(), QStringLiteral("frmTest_VEdit"));
    }

    void firstColComesIntoView()
    {
        TestHost host;
        host.show();
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        for (int c = 1; c <= 4; ++c)
            e->ColWidth(c, 6000);
        host.fill(rows(3), 3);
        e->FirstCol(4);
        QCOMPARE(e->Col(), 4);
        QVERIFY(e->grid()->ColIsVisible(4));
        e->FirstCol(1);
        QCOMPARE(e->Col(), 1);
        QVERIFY(e->grid()->ColIsVisible(1));
    }

    void firstColScrollsOnlyAsFarAsNeeded()
    {
        TestHost host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        FlexGrid *g = e->grid();
        QTableView *v = g->view();
        // Columns 1 to 3 fill the grid's width; column 4 lies just beyond it.
        const int third = sys::toTwips(v->viewport()->width()) / 3;
        for (int c = 1; c <= 3; ++c)
            e->ColWidth(c, third);
        e->ColWidth(4, 900);
        host.fill(rows(3), 3);
        e->FirstCol(1);
        QCOMPARE(v->horizontalScrollBar()->value(), 0);
        e->FirstCol(4);
        QCOMPARE(e->Col(), 4);
        // Column 4 shows whole, its right edge at the grid's: no further than that.
        QCOMPARE(v->columnViewportPosition(4) + v->columnWidth(4), v->viewport()->width());
        QVERIFY(g->ColIsVisible(1));
        // A column already in view moves nothing.
        const int scrolled = v->horizontalScrollBar()->value();
        e->FirstCol(3);
        QCOMPARE(v->horizontalScrollBar()->value(), scrolled);
    }

    void highlight()
    {
        TestHost host;
        host.defineColumns(2);
        VarnexEditUni *e = host.VEdit;
        host.fill(rows(4), 4);
        e->HighlightRow(3);
        QCOMPARE(e->Row(), 3);
        QCOMPARE(e->grid()->ColSel(), 5);
        QCOMPARE(e->grid()->BackColorSel(), 0xC0C000);
        e->Row(2);
        e->Col(2);
        e->HighlightCols(0, 0, 0x0000FF);
        QCOMPARE(e->grid()->CellBackColor(), 0x0000FF);
        e->Col(1);
        QCOMPARE(e->grid()->CellBackColor(), 0);
        e->HighlightCols(2, 3, 0x00FF00);
        QCOMPARE(e->Col(), 1);
        e->Col(3);
        QCOMPARE(e->grid()->CellBackColor(), 0x00FF00);
    }

    void eventsWriteBack()
    {
        TestHost host;
        VarnexEditUni *e = host.VEdit;
        int raised = 0;
        connect(e, &VarnexEditUni::TiskEvent, this, [&raised](bool &extTisk) {
            QVERIFY(!extTisk);
            extTisk = true;
            ++raised;
        });
        e->Tisk();
        QCOMPARE(raised, 1);

        ColumnTable defaults(4);
        defaults.Resize(2);
        connect(e, &VarnexEditUni::DefaultHeaderEvent, this,
                [](ColumnTable &t) { t(VarnexEditUni::LayCaption, 1) = QStringLiteral("Výchozí"); });
        e->DefaultHeader(defaults);
        QCOMPARE(defaults(VarnexEditUni::LayCaption, 1).toString(), QStringLiteral("Výchozí"));
    }

    void indexOutsideTheTables()
    {
        TestHost host;
        host.defineColumns(1);
        VarnexEditUni *e = host.VEdit;
        QVERIFY_THROWS_EXCEPTION(VbError, e->GetCol(2, 6));
        QVERIFY_THROWS_EXCEPTION(VbError, e->ColEditable(9, true));
        QVERIFY(e->GetCol(0, 1).IsEmpty());
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
