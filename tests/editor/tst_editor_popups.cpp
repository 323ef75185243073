// The grid's popup menus: the function menu on the header row with the record selection,
// the column sum, sorting, hiding a column, print and refresh; the host's record menu on
// the data rows. Driven by right clicks and menu choices as the user makes them.
#include "VarnexEditUni.h"
#include "grid.h"
#include "msgbox.h"
#include "selection.h"
#include "system.h"
#include "testhost.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// Key, name, price, date, check mark, state.
const QStringList Goods = {
    joinRow({"1", "abc", "1,5", "05.03.2026", "A", "X"}),
    joinRow({"2", "xabcx", "2", "01.01.2020", "N", "X"}),
    joinRow({"3", "Miska", "7", "", "N", "X"}),
};

// The states of a menu's items as "name:enabled" for the items shown.
QStringList itemStates(QMenu *menu)
{
    QStringList states;
    for (QAction *a : menu->actions())
        if (a->isVisible())
            states << a->objectName() + (a->isSeparator() ? QString() : QLatin1String(a->isEnabled() ? ":1" : ":0"));
    return states;
}

// In a selection dialog: picks the operator from the list with the keys, types the
// value and chooses "Vybrat" (or presses Enter in the value).
void enterCondition(QDialog *d, const QString &op, const QString &value, bool enter = false)
{
    auto *cmb = d->findChild<QComboBox *>(QStringLiteral("cmb"));
    auto *txt = d->findChild<QLineEdit *>(QStringLiteral("txt"));
    cmb->setFocus();
    const int steps = cmb->findText(op);
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(cmb, Qt::Key_Down);
    QTest::keyClicks(txt, value);
    if (enter)
        QTest::keyClick(txt, Qt::Key_Return);
    else
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmd")), Qt::LeftButton);
}

}  // namespace

class TestEditorPopups : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;
    msgbox::ScriptedAnswerer m_answers;
    int m_beeps = 0;
    QStringList m_selections;   // every cWhere the host was given
    bool m_hostFindsNothing = false;

    void open(const QStringList &data, quint8 mode = 2)
    {
        m_host = std::make_unique<TestHost>();
        m_host->defineColumns(mode);
        e = m_host->VEdit;
        g = e->grid();
        e->EnableSelect(true);
        e->EnableSort(true);
        m_host->fill(data, int(data.size()));
        connect(e, &VarnexEditUni::Vybrano, this, [this](Variant &cWhere) {
            m_selections << (cWhere.IsEmpty() ? QString() : cWhere.toString());
            if (m_hostFindsNothing)
                cWhere = Variant(QString());
        });
        QVERIFY(m_host->showActive());
    }

    // Right-clicks the header of `column` and chooses `item`; `dialog` then acts in the
    // dialog the item opens.
    void choose(int column, const QString &item, std::function<void(QDialog *)> dialog = {})
    {
        whenPopupOpens([item, dialog](QMenu *menu) {
            if (dialog)
                whenDialogOpens(dialog);
            clickMenuItem(menu, item);
        });
        clickCell(g, 0, column, Qt::RightButton);
    }

    // The function menu's items as the right click on `column`'s header shows them.
    QStringList offered(int column)
    {
        QStringList states;
        whenPopupOpens([&states](QMenu *menu) {
            states = itemStates(menu);
            menu->close();
        });
        clickCell(g, 0, column, Qt::RightButton);
        return states;
    }

private Q_SLOTS:
    void init()
    {
        m_answers.clear();
        m_answers.onUnexpected = [](const msgbox::Shown &box) { QFAIL(qPrintable(box.text)); };
        msgbox::setAnswerer(&m_answers);
        sys::setBeepHook([this](int, int) { ++m_beeps; });
        m_beeps = 0;
        m_selections.clear();
        m_hostFindsNothing = false;
    }
    void cleanup()
    {
        m_host.reset();
        msgbox::setAnswerer(nullptr);
        sys::setBeepHook({});
    }

    void functionMenuFollowsTheColumn()
    {
        open(Goods);
        e->EnableHideCol(false);
        e->EnableSetupCols(false);
        const QStringList text = offered(1);
        QCOMPARE(text, QStringList({"mnuPolozka:1", "m1", "mnuVyber:1", "mnuZmenVyber:0", "mnuZrusVyber:1",
                                    "mnuSuma:0", "mnuSortAsce:1", "mnuSortDesc:1", "m3", "mnuTisk:1",
                                    "mnuRefresh:1"}));
        QCOMPARE(e->PopupFce()->actions().first()->text(), QStringLiteral("Název"));
        // A number column offers its sum; hiding a column brings the separator above it.
        e->EnableHideCol(true);
        const QStringList number = offered(2);
        QVERIFY(number.contains(QStringLiteral("mnuSuma:1")));
        QVERIFY(number.contains(QStringLiteral("m2")));
        QVERIFY(number.contains(QStringLiteral("mnuHideCol:1")));
        QCOMPARE(e->PopupFce()->actions().first()->text(), QStringLiteral("Cena"));
    }

    void selectionFirstFurtherAndCancelled()
    {
        open(Goods);
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmVyber"));
            QCOMPARE(d->findChild<QLabel *>(QStringLiteral("lbl"))->text(), QStringLiteral("Název"));
            enterCondition(d, QStringLiteral("*"), QStringLiteral("abc"));
        });
        QCOMPARE(m_selections, QStringList({"Katalog.Pol1c like '*abc*'"}));
        QCOMPARE(e->Where(), QStringLiteral("Katalog.Pol1c like '*abc*'"));
        QCOMPARE(e->WhereRep(), QStringLiteral("LowerCase({Katalog.Pol1c}) like LowerCase('*abc*')"));
        QCOMPARE(e->WhereText(), QStringLiteral("Výběr pro:  Název*abc"));
        QVERIFY(offered(2).contains(QStringLiteral("mnuZmenVyber:1")));

        choose(2, QStringLiteral("mnuZmenVyber"), [](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmDalsiVyber"));
            QCOMPARE(d->findChild<QLabel *>(QStringLiteral("lblOld"))->text(), QStringLiteral("(Název*abc)"));
            QVERIFY(d->findChild<QRadioButton *>(QStringLiteral("optAnd"))->isChecked());
            enterCondition(d, QStringLiteral(">="), QStringLiteral("1,5"), true);
        });
        QCOMPARE(e->Where(), QStringLiteral("(Katalog.Pol1c like '*abc*') AND Katalog.Pol1n>=1.5"));
        QCOMPARE(e->WhereRep(), QStringLiteral("(LowerCase({Katalog.Pol1c}) like LowerCase('*abc*')) AND {Katalog.Pol1n}>=1.5"));
        QCOMPARE(e->WhereText(), QStringLiteral("Výběr pro:  (Název*abc) a Cena>=1,5"));

        // Joined with "or", the condition so far goes into parentheses once more.
        choose(3, QStringLiteral("mnuZmenVyber"), [](QDialog *d) {
            QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("optOr")), Qt::LeftButton);
            enterCondition(d, QStringLiteral("<"), QStringLiteral("2.3.2010"));
        });
        QCOMPARE(e->Where(), QStringLiteral("((Katalog.Pol1c like '*abc*') AND Katalog.Pol1n>=1.5) OR "
                                            "format(Katalog.Pol1d,\"yyyymmdd\")<'20100302'"));
        QCOMPARE(e->WhereText(), QStringLiteral("Výběr pro:  ((Název*abc) a Cena>=1,5) nebo Datum<2.3.2010"));

        m_selections.clear();
        choose(1, QStringLiteral("mnuZrusVyber"));
        QCOMPARE(m_selections, QStringList({QString()}));
        QVERIFY(e->Where().isEmpty());
        QVERIFY(e->WhereRep().isEmpty());
        QVERIFY(e->WhereText().isEmpty());
        QVERIFY(offered(1).contains(QStringLiteral("mnuZmenVyber:0")));
        // A selection the host set alone offers no further one.
        e->Where(QStringLiteral("Katalog.Pol1n>1"));
        QVERIFY(offered(1).contains(QStringLiteral("mnuZmenVyber:0")));
        // Nor does a popup selection whose condition the host has emptied since.
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) { enterCondition(d, QStringLiteral("="), QStringLiteral("ab")); });
        QVERIFY(offered(1).contains(QStringLiteral("mnuZmenVyber:1")));
        e->Where(QString());
        QVERIFY(offered(1).contains(QStringLiteral("mnuZmenVyber:0")));
    }

    void closingTheDialogSelectsNothing()
    {
        open(Goods);
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) {
            QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txt")), QStringLiteral("abc"));
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdEnd")), Qt::LeftButton);
        });
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) {
            QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txt")), QStringLiteral("abc"));
            QTest::keyClick(d->findChild<QLineEdit *>(QStringLiteral("txt")), Qt::Key_Escape);
        });
        QVERIFY(m_selections.isEmpty());
        QVERIFY(e->Where().isEmpty());
        QVERIFY(e->WhereText().isEmpty());
        // A cancel tells the host even when there was no selection.
        choose(1, QStringLiteral("mnuZrusVyber"));
        QCOMPARE(m_selections, QStringList({QString()}));
    }

    void nothingMatchingKeepsTheSelectionInForce()
    {
        open(Goods);
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) { enterCondition(d, QStringLiteral("="), QStringLiteral("ab")); });
        QCOMPARE(e->Where(), QStringLiteral("Katalog.Pol1c like 'ab*'"));
        const QString rep = e->WhereRep();
        const QString text = e->WhereText();
        // The host finds nothing for the further condition and empties cWhere.
        m_hostFindsNothing = true;
        m_answers.expect(vbOK);
        choose(2, QStringLiteral("mnuZmenVyber"), [](QDialog *d) { enterCondition(d, QStringLiteral(">"), QStringLiteral("100")); });
        QCOMPARE(m_answers.shown().size(), size_t(1));
        QCOMPARE(m_answers.shown()[0].text, QStringLiteral("Zadané podmínce neodpovídá žádný záznam."));
        QCOMPARE(m_answers.shown()[0].title, QStringLiteral("Výběr záznamů"));
        QCOMPARE(m_answers.shown()[0].style, int(vbOKOnly | vbInformation));
        QCOMPARE(e->Where(), QStringLiteral("Katalog.Pol1c like 'ab*'"));
        QCOMPARE(e->WhereRep(), rep);
        QCOMPARE(e->WhereText(), text);
        // The next further condition joins the one in force, never an empty one.
        m_hostFindsNothing = false;
        choose(2, QStringLiteral("mnuZmenVyber"), [](QDialog *d) { enterCondition(d, QStringLiteral("<"), QStringLiteral("5")); });
        QCOMPARE(e->Where(), QStringLiteral("(Katalog.Pol1c like 'ab*') AND Katalog.Pol1n<5"));
    }

    void refusedValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::newRow("number with SQL") << 2 << "=" << "1 or 1=1";
        QTest::newRow("number as text") << 2 << ">" << "abc";
        QTest::newRow("contains on a number") << 2 << "*" << "1";
        QTest::newRow("no such date") << 3 << "=" << "31.4.2020";
        QTest::newRow("date with SQL") << 3 << ">" << "1.1.2020' or '1'='1";
        QTest::newRow("contains on a date") << 3 << "*" << "2020";
        QTest::newRow("contains on a check mark") << 4 << "*" << "A";
    }
    void refusedValues()
    {
        QFETCH(int, column);
        QFETCH(QString, op);
        QFETCH(QString, value);
        open(Goods);
        choose(1, QStringLiteral("mnuVyber"), [](QDialog *d) { enterCondition(d, QStringLiteral("="), QStringLiteral("ab")); });
        m_selections.clear();
        m_answers.expect(vbOK);
        choose(column, QStringLiteral("mnuZmenVyber"), [op, value](QDialog *d) { enterCondition(d, op, value); });
        QCOMPARE(m_answers.shown().size(), size_t(1));
        QCOMPARE(m_answers.shown()[0].text, QStringLiteral("Chybně zadaná hodnota pro výběr."));
        QVERIFY(m_selections.isEmpty());
        QCOMPARE(e->Where(), QStringLiteral("Katalog.Pol1c like 'ab*'"));
        QCOMPARE(e->WhereText(), QStringLiteral("Výběr pro:  Název=ab"));
    }

    void conditionForms_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("rep");
        QTest::addColumn<QString>("shownOp");
        QTest::newRow("contains") << "C" << "*" << "abc" << "Katalog.Pol3C like '*abc*'"
                                  << "LowerCase({Katalog.Pol3C}) like LowerCase('*abc*')" << "*";
        QTest::newRow("begins") << "C" << "=" << "ab" << "Katalog.Pol3C like 'ab*'"
                                << "LowerCase({Katalog.Pol3C}) like LowerCase('ab*')" << "=";
        QTest::newRow("other") << "C" << "<>" << "abc" << "Katalog.Pol3C<>'abc'"
                               << "LowerCase({Katalog.Pol3C})<>LowerCase('abc')" << "<>";
        QTest::newRow("contains a blank") << "C" << "*" << " " << "Katalog.Pol3C=' '"
                                          << "LowerCase({Katalog.Pol3C})=LowerCase(' ')" << "=";
        QTest::newRow("apostrophe") << "C" << "=" << "O'Brien" << "Katalog.Pol3C like 'O''Brien*'"
                                    << "LowerCase({Katalog.Pol3C}) like LowerCase('O''Brien*')" << "=";
        QTest::newRow("quote breaking out") << "C" << "*" << "x') OR 1=1 OR ('"
                                            << "Katalog.Pol3C like '*x'') OR 1=1 OR (''*'"
                                            << "LowerCase({Katalog.Pol3C}) like LowerCase('*x'') OR 1=1 OR (''*')" << "*";
        QTest::newRow("pattern characters") << "C" << "*" << "5*[a?#" << "Katalog.Pol3C like '*5[*][[]a[?][#]*'"
                                            << "LowerCase({Katalog.Pol3C}) like LowerCase('*5*[a?#*')" << "*";
        QTest::newRow("number") << "N" << ">=" << "1,5" << "Katalog.Pol3C>=1.5" << "{Katalog.Pol3C}>=1.5" << ">=";
        QTest::newRow("date") << "D" << ">=" << "2.3.2010" << "format(Katalog.Pol3C,\"yyyymmdd\")>='20100302'"
                              << "{Katalog.Pol3C}>=date(2010,03,02)" << ">=";
        QTest::newRow("checked") << "Z" << "=" << "a" << "Katalog.Pol3C=True" << "{Katalog.Pol3C}=True" << "=";
        QTest::newRow("unchecked") << "L" << "<>" << "x" << "Katalog.Pol3C<>False" << "{Katalog.Pol3C}<>False" << "<>";
    }
    void conditionForms()
    {
        QFETCH(QString, type);
        QFETCH(QString, op);
        QFETCH(QString, value);
        QFETCH(QString, where);
        QFETCH(QString, rep);
        QFETCH(QString, shownOp);
        const auto part = tabulix::BuildSelectionPart(QStringLiteral("Katalog.Pol3C"), type, op, value);
        QVERIFY(part);
        QCOMPARE(part->where, where);
        QCOMPARE(part->rep, rep);
        QCOMPARE(part->op, shownOp);
        // An operator that is not offered never reaches the condition.
        QVERIFY(!tabulix::BuildSelectionPart(QStringLiteral("Katalog.Pol3C"), type, QStringLiteral("=1 or 1"), value));
        QVERIFY(!tabulix::BuildSelectionPart(QString(), type, op, value));
    }

    void sumLeavesDeletedRowsOut()
    {
        open({joinRow({"1", "a", "1,5", "", "N", "X"}), joinRow({"2", "b", "2", "", "N", "X"}),
              joinRow({"3", "c", "7", "", "N", "D"})});
        e->Row(3);
        e->HideRow();
        QString total, caption;
        choose(2, QStringLiteral("mnuSuma"), [&total, &caption](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmSuma"));
            total = d->findChild<QLineEdit *>(QStringLiteral("txt"))->text();
            caption = d->findChild<QLabel *>(QStringLiteral("lbl"))->text();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QCOMPARE(total, QStringLiteral("3,50"));
        QCOMPARE(caption, QStringLiteral("Cena"));
        QVERIFY(!e->PopupFce()->findChild<QAction *>(QStringLiteral("mnuSuma"))->isEnabled());
    }

    void sumOfManyValuesDoesNotDrift()
    {
        QStringList data;
        for (int i = 0; i < 100000; ++i)
            data << joinRow({QString::number(i + 1), "x", "0,1", "", "N", "X"});
        open(data);
        QString total;
        choose(2, QStringLiteral("mnuSuma"), [&total](QDialog *d) {
            total = d->findChild<QLineEdit *>(QStringLiteral("txt"))->text();
            d->reject();
        });
        QCOMPARE(total, QStringLiteral("10000,00"));
    }

    void menuSortsInTheChosenDirection()
    {
        open(Goods);
        choose(3, QStringLiteral("mnuSortDesc"));
        QCOMPARE(keysInOrder(g), QStringList({"1", "2", "3"}));
        choose(3, QStringLiteral("mnuSortAsce"));
        QCOMPARE(keysInOrder(g), QStringList({"3", "2", "1"}));
        choose(2, QStringLiteral("mnuSortDesc"));
        QCOMPARE(keysInOrder(g), QStringList({"3", "2", "1"}));
        QCOMPARE(e->SortCol(), 2);
        // The header click after a descending menu sort turns it round.
        clickCell(g, 0, 2);
        QCOMPARE(keysInOrder(g), QStringList({"1", "2", "3"}));
    }

    void recordMenu()
    {
        open(Goods);
        int records = 0;
        connect(e, &VarnexEditUni::Record, this, [&records](qint16 &) { ++records; });
        // No record menu from the host: a right click on a row shows nothing.
        clickCell(g, 2, 1, Qt::RightButton);
        QVERIFY(!QApplication::activePopupWidget());
        for (qint16 i = 0; i < 8; ++i)
            e->SetMenu(i, i == 3 || i == 6 ? QStringLiteral("-") : QStringLiteral("Příkaz %1").arg(i));
        qint16 chosen = -1;
        connect(e, &VarnexEditUni::Record, this, [&chosen](qint16 &index) { chosen = index; });
        int shown = 0, rowThen = 0;
        whenPopupOpens([this, &shown, &rowThen](QMenu *menu) {
            shown = int(menu->actions().size());
            rowThen = e->Row();
            clickMenuItem(menu, QStringLiteral("Příkaz 2"));
        });
        clickCell(g, 3, 2, Qt::RightButton);
        QCOMPARE(shown, 8);
        // A separator is a line alone, without the "-" beside it.
        QVERIFY(e->PopupRecord()->actions().at(3)->isSeparator());
        QVERIFY(e->PopupRecord()->actions().at(3)->text().isEmpty());
        QCOMPARE(rowThen, 3);
        QCOMPARE(chosen, qint16(2));
        QCOMPARE(e->Col(), 2);
        // In update mode, and while changes wait, the rows have no menu.
        open(Goods, 1);
        for (qint16 i = 0; i < 3; ++i)
            e->SetMenu(i, QStringLiteral("Příkaz %1").arg(i));
        clickCell(g, 2, 1, Qt::RightButton);
        QVERIFY(!QApplication::activePopupWidget());
        e->IsChanged(true);
        clickCell(g, 0, 1, Qt::RightButton);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(records, 1);
    }

    void hidingColumns()
    {
        open(Goods);
        e->EnableHideCol(true);
        choose(2, QStringLiteral("mnuHideCol"));
        QCOMPARE(e->ColWidth(2), 0);
        QCOMPARE(e->PoleZmen()(VarnexEditUni::LayWidth, 2).toLong(), 0);
        choose(3, QStringLiteral("mnuHideCol"));
        choose(4, QStringLiteral("mnuHideCol"));
        QCOMPARE(m_beeps, 0);
        // Only the name is left: it stays.
        choose(1, QStringLiteral("mnuHideCol"));
        QCOMPARE(m_beeps, 1);
        QCOMPARE(e->ColWidth(1), 2000);
    }

    void refreshAndPrint()
    {
        open(Goods);
        int refreshes = 0;
        connect(e, &VarnexEditUni::Refresh, this, [&refreshes] { ++refreshes; });
        QList<bool> prints;
        connect(e, &VarnexEditUni::TiskEvent, this, [&prints](bool &ext) {
            prints << ext;
            ext = true;
        });
        choose(1, QStringLiteral("mnuRefresh"));
        choose(1, QStringLiteral("mnuTisk"));
        QCOMPARE(refreshes, 1);
        QCOMPARE(prints, QList<bool>({false}));
    }
};

QTEST_MAIN(TestEditorPopups)
#include "tst_editor_popups.moc"
