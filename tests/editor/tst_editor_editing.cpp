// In-cell editing in update mode, driven with keys and the mouse on a shown host: the
// editors and the usual editing keys in them, the commit by type with its events in
// order, vetoes, the update flag, the row state and the check-box toggle.
#include "VarnexEditUni.h"
#include "cellentry.h"
#include "grid.h"
#include "gridmodel.h"
#include "system.h"
#include "testhost.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <algorithm>

namespace {

QString row(const QString &key, const QString &name, const QString &check = QStringLiteral("N"),
            const QString &state = QStringLiteral("X"))
{
    return QStringList{key, name, QStringLiteral("12,5"), QStringLiteral("05.03.2026"), check, state}.join(
        QLatin1Char('\t'));
}

QLineEdit *txtEdit(VarnexEditUni *e) { return e->findChild<QLineEdit *>(QStringLiteral("txtEdit")); }
QFrame *fraTxt(VarnexEditUni *e) { return e->findChild<QFrame *>(QStringLiteral("fraTxt")); }

// One step of the user's in an editor: a key with its modifiers (and the text it
// carries, when it is not the key's own), or text typed a key at a time.
struct Step {
    QKeyCombination key;
    QString text;
    QString typed;
};
using Steps = QList<Step>;
Step chord(QKeyCombination key, const QString &text = QString()) { return {key, text, QString()}; }
Step type(const QString &text) { return {QKeyCombination(), QString(), text}; }

// A Ctrl+letter chord, which some platforms hand over with a control character as its text.
bool ctrlLetter(const Step &step)
{
    const Qt::Key key = step.key.key();
    return step.text.isEmpty() && key >= Qt::Key_A && key <= Qt::Key_Z
           && (step.key.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier;
}

// Sends the steps to whichever widget has the focus. A Ctrl+letter chord carries the
// text the platform gives it: X11 and Windows a control character, others (and the
// test library's own key events) the letter itself.
void perform(const Steps &steps, bool controlCharacter)
{
    for (const Step &step : steps) {
        if (!step.typed.isEmpty()) {
            typeKeys(step.typed);
            continue;
        }
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        const Qt::Key key = step.key.key();
        const Qt::KeyboardModifiers modifiers = step.key.keyboardModifiers();
        if (!step.text.isEmpty())
            QTest::sendKeyEvent(QTest::Click, target, key, step.text, modifiers);
        else if (controlCharacter && ctrlLetter(step))
            QTest::sendKeyEvent(QTest::Click, target, key, QString(QChar(char16_t(key - Qt::Key_A + 1))), modifiers);
        else
            QTest::keyClick(target, key, modifiers);
    }
}

// Makes a cell current without reporting it, as the user's starting point.
void startAt(VarnexEditUni *e, int r, int c)
{
    e->Row(r);
    e->Col(c);
    e->grid()->view()->setFocus();
}

}  // namespace

Q_DECLARE_METATYPE(Steps)

class TestEditorEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHost> m_host;
    VarnexEditUni *e = nullptr;
    FlexGrid *g = nullptr;
    int m_beeps = 0;

    // An update-mode host with three rows; the second is a row added and never saved.
    void open(const std::function<void(TestHost &)> &adjust = {})
    {
        m_host = std::make_unique<TestHost>();
        if (adjust)
            adjust(*m_host);
        QVERIFY(m_host->showActive());
        m_host->defineColumns(1);
        e = m_host->VEdit;
        g = e->grid();
        m_host->fill({row("1", "Šroub"), row("", "Nový", "N", "N"), row("3", "Matice", "A")}, 3);
    }

private Q_SLOTS:
    void init()
    {
        tabulix::setToday([] { return QDate(2026, 3, 20); });
        sys::setBeepHook([this](int, int) { ++m_beeps; });
        m_beeps = 0;
    }
    void cleanup()
    {
        m_host.reset();
        tabulix::setToday({});
        sys::setBeepHook({});
    }

    void numberWithItsEvents()
    {
        open([](TestHost &h) { h.priceFormat = QStringLiteral("0.00"); });
        startAt(e, 1, 2);
        EventLog log(e);
        QTest::keyClick(g->view(), '1');
        QVERIFY(fraTxt(e)->isVisible());
        QCOMPARE(QApplication::focusWidget(), txtEdit(e));
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("1"));
        typeKeys(QStringLiteral(",5"));
        pressKey(Qt::Key_Return);
        QCOMPARE(log.entries, QStringList({"BeforeEdit 12,5", "BeforeChange 12,5|1,5", "Change 12,5|1,50",
                                           "ColChange"}));
        QCOMPARE(e->TMatrix(1, 2), QStringLiteral("1,50"));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("U"));
        QVERIFY(e->ChangedState());
        QVERIFY(!e->Editing());
        // Enter moved on to the next shown column.
        QCOMPARE(e->Row(), 1);
        QCOMPARE(e->Col(), 3);
        // The cell got its own colour back after the white of the edit.
        QSignalBlocker block(g);
        g->setCol(2);
        QCOMPARE(g->CellBackColor(), 0);
    }

    void vetoAndEscapeLeaveTheCell()
    {
        open();
        bool veto = true;
        connect(e, &VarnexEditUni::BeforeChange, this, [&veto](Variant &, Variant &, bool &cancel) {
            cancel = veto;
        });
        startAt(e, 1, 1);
        EventLog log(e);
        QTest::keyClick(g->view(), 'X');
        pressKey(Qt::Key_Return);
        QCOMPARE(log.names(), QStringList({"BeforeEdit", "BeforeChange", "ColChange"}));
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Šroub"));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("X"));
        QVERIFY(!e->ChangedState());
        QVERIFY(!e->Editing());

        // Esc drops the edit: no question to the host at all.
        veto = false;
        startAt(e, 1, 1);
        log.clear();
        QTest::keyClick(g->view(), 'Y');
        typeKeys(QStringLiteral("ZZ"));
        pressKey(Qt::Key_Escape);
        QCOMPARE(log.names(), QStringList({"BeforeEdit"}));
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Šroub"));
        QVERIFY(!e->Editing());
        QCOMPARE(QApplication::focusWidget(), g->view());

        // A veto of the edit's start opens nothing.
        connect(e, &VarnexEditUni::BeforeEdit, this, [](Variant &, bool &cancel) { cancel = true; });
        QTest::keyClick(g->view(), 'Q');
        QVERIFY(!e->Editing());
    }

    void dates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("day alone") << "5" << "05.03.2026";
        QTest::newRow("no such day") << "45" << "";
        QTest::newRow("full date") << "5.3.2026" << "05.03.2026";
        QTest::newRow("day and month") << "1.12" << "01.12.2026";
    }
    void dates()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        open();
        startAt(e, 1, 3);
        EventLog log(e);
        QTest::keyClick(g->view(), typed.at(0).toLatin1());
        typeKeys(typed.mid(1));
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(1, 3), stored);
        QCOMPARE(log.entries.at(1), QStringLiteral("BeforeChange 05.03.2026|") + typed);
        QCOMPARE(log.entries.at(2), QStringLiteral("Change 05.03.2026|") + stored);
        QCOMPARE(m_beeps, 0);
    }

    void impossibleDateIsRefusedVisibly()
    {
        open();
        startAt(e, 1, 3);
        EventLog log(e);
        QTest::keyClick(g->view(), '3');
        typeKeys(QStringLiteral("1.4.2026"));
        pressKey(Qt::Key_Return);
        // The editor stays with the text for the user to mend; the host heard nothing.
        QCOMPARE(m_beeps, 1);
        QVERIFY(e->Editing());
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("31.4.2026"));
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("05.03.2026"));
        QCOMPARE(log.names(), QStringList({"BeforeEdit"}));
        QTRY_COMPARE(QApplication::focusWidget(), txtEdit(e));
        QCOMPARE(e->Row(), 1);
        QCOMPARE(e->Col(), 3);
        // A day count typed as digits is refused the same way.
        txtEdit(e)->clear();
        typeKeys(QStringLiteral("46000"));
        pressKey(Qt::Key_Return);
        QCOMPARE(m_beeps, 2);
        QVERIFY(e->Editing());
        // Leaving for another cell refuses it once and brings the user back to it.
        QCoreApplication::processEvents();
        QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 1));
        QCOMPARE(m_beeps, 3);
        QTRY_COMPARE(QApplication::focusWidget(), txtEdit(e));
        QCOMPARE(e->Row(), 1);
        QCOMPARE(e->Col(), 3);
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("05.03.2026"));
        txtEdit(e)->clear();
        typeKeys(QStringLiteral("30.4.2026"));
        pressKey(Qt::Key_Return);
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("30.04.2026"));
    }

    void retypingOverARefusedDate_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("retyped");
        QTest::addColumn<QString>("stored");
        QTest::newRow("shorter than the limit") << "31.4.2026" << "30.4.2026" << "30.04.2026";
        // The date column takes 10 characters: the refused text fills it to the limit.
        QTest::newRow("at the limit") << "31.04.2026" << "30.04.2026" << "30.04.2026";
        QTest::newRow("shorter retyped") << "31.04.2026" << "1.5" << "01.05.2026";
    }
    void retypingOverARefusedDate()
    {
        // The refused text waits in the editor, all of it selected: what the user types
        // then takes its place, as in any text box, within the column's length.
        QFETCH(QString, refused);
        QFETCH(QString, retyped);
        QFETCH(QString, stored);
        open();
        startAt(e, 1, 3);
        QTest::keyClick(g->view(), refused.at(0).toLatin1());
        QTest::keyClicks(txtEdit(e), refused.mid(1));
        QCOMPARE(txtEdit(e)->text(), refused);
        QTest::keyClick(txtEdit(e), Qt::Key_Return);
        QCOMPARE(m_beeps, 1);
        QVERIFY(e->Editing());
        QTRY_COMPARE(QApplication::focusWidget(), txtEdit(e));
        QTRY_COMPARE(txtEdit(e)->selectedText(), refused);
        QTest::keyClicks(txtEdit(e), retyped);
        QCOMPARE(txtEdit(e)->text(), retyped);
        QCOMPARE(m_beeps, 1);
        QTest::keyClick(txtEdit(e), Qt::Key_Return);
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(1, 3), stored);
        QCOMPARE(m_beeps, 1);
    }

    void typingOverASelection()
    {
        // Part of a text selected with the keys is replaced by the next character typed;
        // a full editor takes a character over a selection.
        open();
        startAt(e, 1, 3);
        QTest::keyClick(g->view(), '1');
        QTest::keyClicks(txtEdit(e), QStringLiteral("5.03.2026"));
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("15.03.2026"));
        QCOMPARE(txtEdit(e)->maxLength(), 10);
        // Select "03" and type "04" over it.
        QTest::keyClick(txtEdit(e), Qt::Key_Home);
        QTest::keyClick(txtEdit(e), Qt::Key_Right);
        QTest::keyClick(txtEdit(e), Qt::Key_Right);
        QTest::keyClick(txtEdit(e), Qt::Key_Right);
        QTest::keyClick(txtEdit(e), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(txtEdit(e), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(txtEdit(e)->selectedText(), QStringLiteral("03"));
        QTest::keyClicks(txtEdit(e), QStringLiteral("04"));
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("15.04.2026"));
        QCOMPARE(txtEdit(e)->cursorPosition(), 5);
        // Without a selection the full editor takes nothing more.
        QTest::keyClick(txtEdit(e), '9');
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("15.04.2026"));
        QCOMPARE(m_beeps, 1);
        QTest::keyClick(txtEdit(e), Qt::Key_Return);
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("15.04.2026"));
    }

    void standardEditingKeys_data()
    {
        QTest::addColumn<bool>("codeList");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<bool>("controlCharacter");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("beeps");
        const QString full = QStringLiteral("Šroub ").repeated(8) + QStringLiteral("M6");  // the column's 50
        const QString smile = QString::fromUtf16(u"\U0001F600");
        struct Case {
            const char *name;
            bool codeList;
            QString cell;
            Steps steps;
            QString result;
            int beeps = 0;
        };
        const QList<Case> cases = {
            {"select all, type over", false, "Šroub", {chord(Qt::CTRL | Qt::Key_A), type("Rok")}, "Rok"},
            {"select all of a full cell, type over", false, full, {chord(Qt::CTRL | Qt::Key_A), type("Rok")}, "Rok"},
            {"copy, paste at the end", false, "Šroub",
             {chord(Qt::CTRL | Qt::Key_A), chord(Qt::CTRL | Qt::Key_C), chord(Qt::Key_End),
              chord(Qt::CTRL | Qt::Key_V)},
             "ŠroubŠroub"},
            {"cut, type, paste", false, "Šroub",
             {chord(Qt::SHIFT | Qt::Key_Home), chord(Qt::CTRL | Qt::Key_X), type("M6 "), chord(Qt::CTRL | Qt::Key_V)},
             "M6 Šroub"},
            {"undo typing", false, "Šroub", {type("ek"), chord(Qt::CTRL | Qt::Key_Z)}, "Šroub"},
            {"undo typing over a selection", false, "Šroub",
             {chord(Qt::CTRL | Qt::Key_A), type("Rok"), chord(Qt::CTRL | Qt::Key_Z)}, "Šroub"},
            {"undo, redo", false, "Šroub",
             {type("ek"), chord(Qt::CTRL | Qt::Key_Z), chord(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, "Šroubek"},
            {"home, type", false, "Šroub", {chord(Qt::Key_Home), type("M6 ")}, "M6 Šroub"},
            {"shift+home over a part, type", false, "Šroub",
             {chord(Qt::Key_Left), chord(Qt::Key_Left), chord(Qt::SHIFT | Qt::Key_Home), type("Mat")}, "Matub"},
            {"code list: select all, type over", true, "Brno", {chord(Qt::CTRL | Qt::Key_A), type("Praha")}, "Praha"},
            {"code list: cut, type, paste", true, "Brno",
             {chord(Qt::SHIFT | Qt::Key_Home), chord(Qt::CTRL | Qt::Key_X), type("P"), chord(Qt::CTRL | Qt::Key_V)},
             "PBrno"},
            {"code list: undo typing", true, "Brno", {type("ek"), chord(Qt::CTRL | Qt::Key_Z)}, "Brno"},
            // AltGr arrives on Windows as Ctrl+Alt, and it types: "@" on a Czech keyboard,
            // through the column's insertion with its beep at the limit.
            {"AltGr character", false, "Šroub", {chord(Qt::CTRL | Qt::ALT | Qt::Key_V, "@")}, "Šroub@"},
            {"AltGr character in a full cell", false, full, {chord(Qt::CTRL | Qt::ALT | Qt::Key_V, "@")}, full, 1},
            // A character outside the Basic Multilingual Plane and a key of two characters
            // go in whole; a pasted pair with room for one half of it stays out.
            {"a pair and a key of two", false, "Šroub", {type(smile), chord(Qt::Key_unknown, "ab")}, "Šroub" + smile + "ab"},
            {"code list: a key of two", true, "Br", {chord(Qt::Key_unknown, "no")}, "Brno"},
            // The list's longest item, 5, cuts the box's value where no pair is parted.
            {"code list: a pair", true, "Brn", {type(smile)}, "Brn" + smile},
            {"paste a pair with room for half of it", false, QString(47, QLatin1Char('a')) + smile,
             {chord(Qt::SHIFT | Qt::Key_Left), chord(Qt::CTRL | Qt::Key_C), chord(Qt::Key_End), chord(Qt::CTRL | Qt::Key_V)},
             QString(47, QLatin1Char('a')) + smile},
        };
        for (const Case &c : cases) {
            QTest::addRow("%s", c.name) << c.codeList << c.cell << c.steps << false << c.result << c.beeps;
            if (std::any_of(c.steps.begin(), c.steps.end(), ctrlLetter))
                QTest::addRow("%s, control character", c.name)
                    << c.codeList << c.cell << c.steps << true << c.result << c.beeps;
        }
    }
    void standardEditingKeys()
    {
        // The keys a user edits a cell's text with do their usual work in either editor;
        // typing goes on through the column's own insertion after them.
        QFETCH(bool, codeList);
        QFETCH(QString, cell);
        QFETCH(Steps, steps);
        QFETCH(bool, controlCharacter);
        QFETCH(QString, result);
        QFETCH(int, beeps);
        open([codeList](TestHost &h) { h.nameCodeList = codeList; });
        if (codeList) {
            e->CiselnikNapln(1, QStringLiteral("Praha"), QStringLiteral("PHA"));
            e->CiselnikNapln(1, QStringLiteral("Brno"), QStringLiteral("BRN"));
        }
        QGuiApplication::clipboard()->clear();
        e->TMatrix(1, 1, cell);
        startAt(e, 1, 1);
        // Enter opens the editor on the cell's text with the cursor at its end.
        QTest::keyClick(g->view(), Qt::Key_Return);
        QVERIFY(e->Editing());
        QLineEdit *box = codeList ? e->findChild<QComboBox *>(QStringLiteral("cmbEdit"))->lineEdit() : txtEdit(e);
        QCOMPARE(box->text(), cell);
        perform(steps, controlCharacter);
        QCOMPARE(box->text(), result);
        QCOMPARE(m_beeps, beeps);
        pressKey(Qt::Key_Return);
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(1, 1), result);
    }

    // Every character a key carries reaches the cell whole: a character outside the Basic
    // Multilingual Plane (a surrogate pair in one key) and a key that carries several
    // characters, on the key that opens the cell and inside the open cell. The name's
    // limit of 50 never parts a pair: what does not fit is left out, with a beep.
    void typedCharactersReachTheCellWhole_data()
    {
        QTest::addColumn<QStringList>("keys");  // the text of each key; the first opens the cell
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("beeps");
        const QString smile = QString::fromUtf16(u"\U0001F600");
        const QString a48(48, QLatin1Char('a'));
        QTest::newRow("a pair opens the cell") << QStringList{smile, "x"} << smile + "x" << 0;
        QTest::newRow("a pair in the open cell") << QStringList{"x", smile, "y"} << "x" + smile + "y" << 0;
        QTest::newRow("two characters open the cell") << QStringList{"ab", "c"} << "abc" << 0;
        QTest::newRow("two characters in the open cell") << QStringList{"a", "bc"} << "abc" << 0;
        QTest::newRow("a pair and more in one key") << QStringList{"a", smile + QString::fromUtf16(u"\u05DC")}
                                                    << "a" + smile + QString::fromUtf16(u"\u05DC") << 0;
        QTest::newRow("A😀BלC typed") << QStringList{"A", smile, "B", QString::fromUtf16(u"\u05DC"), "C"}
                                       << "A" + smile + "B" + QString::fromUtf16(u"\u05DC") + "C" << 0;
        QTest::newRow("a pair that just fits") << QStringList{a48, smile} << a48 + smile << 0;
        QTest::newRow("a pair one short of room") << QStringList{a48 + "b", smile} << a48 + "b" << 1;
        QTest::newRow("a key past the limit") << QStringList{a48, "b" + smile + "c"} << a48 + "b" << 1;
        QTest::newRow("an opening key past the limit") << QStringList{a48 + "b" + smile} << a48 + "b" << 1;
    }
    void typedCharactersReachTheCellWhole()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, stored);
        QFETCH(int, beeps);
        open();
        startAt(e, 1, 1);
        EventLog log(e);
        typeKey(keys.takeFirst(), g->view());
        QVERIFY(e->Editing());
        QCOMPARE(QApplication::focusWidget(), txtEdit(e));
        for (const QString &key : keys)
            typeKey(key);
        QCOMPARE(txtEdit(e)->text(), stored);
        QCOMPARE(m_beeps, beeps);
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(1, 1), stored);
        QCOMPARE(log.entries.mid(0, 3), QStringList({"BeforeEdit Šroub", "BeforeChange Šroub|" + stored,
                                                     "Change Šroub|" + stored}));
    }

    // An input method or a compose sequence hands its characters to the grid as composed
    // text, not as keys: they open the cell all the same, every one of them.
    void composedTextOpensTheCell()
    {
        open();
        startAt(e, 1, 1);
        QVERIFY(g->view()->testAttribute(Qt::WA_InputMethodEnabled));
        const QString composed = QString::fromUtf16(u"\u010D\u016F\U0001F600");
        QInputMethodEvent commit;
        commit.setCommitString(composed);
        QApplication::sendEvent(g->view(), &commit);
        QVERIFY(e->Editing());
        QCOMPARE(txtEdit(e)->text(), composed);
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(1, 1), composed);
    }

    // A cell's own text longer than the limit is cut where no pair is parted.
    void cellTextCutAtACharacter()
    {
        open();
        const QString a49(49, QLatin1Char('a'));
        e->TMatrix(3, 1, a49 + QString::fromUtf16(u"\U0001F600"));
        startAt(e, 3, 1);
        QTest::keyClick(g->view(), Qt::Key_Return);
        QVERIFY(e->Editing());
        QCOMPARE(txtEdit(e)->text(), a49);
    }

    void rowStateOfAnAddedRowStays()
    {
        open();
        startAt(e, 2, 1);
        QTest::keyClick(g->view(), 'a');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(2, 1), QStringLiteral("a"));
        QCOMPARE(e->TMatrix(2, 5), QStringLiteral("N"));
        startAt(e, 3, 1);
        QTest::keyClick(g->view(), 'b');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(3, 5), QStringLiteral("U"));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("X"));
    }

    void columnWithoutTheUpdateFlag()
    {
        open([](TestHost &h) { h.nameUpdates = false; });
        startAt(e, 1, 1);
        EventLog log(e);
        QTest::keyClick(g->view(), 'K');
        typeKeys(QStringLiteral("ovo"));
        pressKey(Qt::Key_Return);
        QCOMPARE(log.entries.mid(0, 3), QStringList({"BeforeEdit Šroub", "BeforeChange Šroub|Kovo", "UpdateFlg Kovo"}));
        QVERIFY(!log.names().contains(QStringLiteral("Change")));
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Šroub"));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("X"));
        QVERIFY(!e->ChangedState());
        QVERIFY(!e->Editing());
    }

    void checkBoxToggles()
    {
        open();
        startAt(e, 1, 4);
        EventLog log(e);
        QVERIFY(!hasMark(g, 1, 4));
        QTest::keyClick(g->view(), Qt::Key_Space);
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("A"));
        QVERIFY(hasMark(g, 1, 4));
        QTest::keyClick(g->view(), Qt::Key_Space);
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("N"));
        QVERIFY(!hasMark(g, 1, 4));
        QCOMPARE(log.entries, QStringList({"BeforeChange N|A", "Change N|A", "BeforeChange A|N", "Change A|N"}));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("U"));
        // Any other key only beeps.
        QTest::keyClick(g->view(), 'x');
        QCOMPARE(m_beeps, 1);
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("N"));
        QVERIFY(!e->Editing());

        // The text decides, not the picture: a cell written without its mark.
        e->RData(4, QStringLiteral("A"));
        log.clear();
        QTest::keyClick(g->view(), Qt::Key_Space);
        QCOMPARE(log.entries, QStringList({"BeforeChange A|N", "Change A|N"}));
        QCOMPARE(e->TMatrix(1, 4), QStringLiteral("N"));

        // A veto leaves text and mark.
        connect(e, &VarnexEditUni::BeforeChange, this, [](Variant &, Variant &, bool &cancel) { cancel = true; });
        e->Row(3);
        e->Col(4);
        QTest::keyClick(g->view(), Qt::Key_Space);
        QCOMPARE(e->TMatrix(3, 4), QStringLiteral("A"));
        QVERIFY(hasMark(g, 3, 4));
        QCOMPARE(e->TMatrix(3, 5), QStringLiteral("X"));
        // The mark is the cell's alone.
        QVERIFY(!hasMark(g, 3, 3));
    }

    void doubleClickOpensTheEditorOnTheText()
    {
        open();
        startAt(e, 3, 1);
        EventLog log(e);
        QTest::mouseDClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 1));
        QVERIFY(e->Editing());
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("Matice"));
        QCOMPARE(txtEdit(e)->cursorPosition(), 6);
        QVERIFY(!log.names().contains(QStringLiteral("DblClick")));
        // The editor sits over the cell.
        const QRect cell = g->view()->visualRect(g->model()->index(3, 1));
        const QPoint cellInControl = g->view()->viewport()->mapTo(e, cell.topLeft());
        QVERIFY(qAbs(fraTxt(e)->x() - cellInControl.x()) <= 4);
        QVERIFY(qAbs(fraTxt(e)->y() - cellInControl.y()) <= 4);
        typeKeys(QStringLiteral("ky"));
        QTest::mouseDClick(txtEdit(e), Qt::LeftButton);
        QVERIFY(log.entries.contains(QStringLiteral("TxtDblClick Maticeky")));
        // A double click on a check box toggles it instead.
        pressKey(Qt::Key_Escape);
        e->Col(4);
        QTest::mouseDClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 4));
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(3, 4), QStringLiteral("N"));
    }

    void editorKeysMoveOverDeletedRows()
    {
        open();
        e->RowHeight(2, 0);  // row 2 deleted
        startAt(e, 1, 1);
        QTest::keyClick(g->view(), 'x');
        pressKey(Qt::Key_Down);
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("x"));
        QCOMPARE(e->Row(), 3);
        QTest::keyClick(g->view(), 'y');
        pressKey(Qt::Key_Up);
        QCOMPARE(e->Row(), 1);
        QCOMPARE(e->TMatrix(3, 1), QStringLiteral("y"));
        // Enter in the last shown column goes to the next shown row, on the first shown
        // column (the key column is hidden).
        startAt(e, 1, 4);
        QTest::keyClick(g->view(), Qt::Key_Space);
        startAt(e, 1, 3);
        QTest::keyClick(g->view(), '1');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->Col(), 4);
        e->Col(2);
        QTest::keyClick(g->view(), '2');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->Col(), 3);
        e->ColWidth(4, 0);
        QTest::keyClick(g->view(), '4');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->Row(), 3);
        QCOMPARE(e->Col(), 1);
        // In the last row the cell stays.
        e->Col(3);
        QTest::keyClick(g->view(), '7');
        pressKey(Qt::Key_Return);
        QCOMPARE(e->Row(), 3);
        QCOMPARE(e->Col(), 3);
        QCOMPARE(e->TMatrix(3, 3), QStringLiteral("07.03.2026"));
    }

    // A click on the box's arrow opens its list on the cell's own item and leaves the
    // edit open, the first time the list opens as well as later; an item picked in the
    // list is committed with Enter. (The keys go to the box itself: without a window
    // manager the window may stay inactive once the list has closed.)
    void codeListArrowOpensTheList_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("item");
        QTest::newRow("first item") << "Praha" << 0;
        QTest::newRow("later item") << "Ostrava" << 2;
    }
    void codeListArrowOpensTheList()
    {
        QFETCH(QString, cell);
        QFETCH(int, item);
        open([](TestHost &h) { h.nameCodeList = true; });
        for (const char *name : {"Praha", "Brno", "Ostrava"})
            e->CiselnikNapln(1, QString::fromUtf8(name), QString::fromUtf8(name).left(3).toUpper());
        e->TMatrix(1, 1, cell);
        auto *box = e->findChild<QComboBox *>(QStringLiteral("cmbEdit"));
        QStyleOptionComboBox option;
        for (int round = 0; round < 2; ++round) {
            startAt(e, 1, 1);
            EventLog log(e);
            QTest::keyClick(g->view(), Qt::Key_Return);
            QVERIFY(box->isVisible());
            QCOMPARE(box->currentText(), cell);
            const QString state = e->TMatrix(1, 5);
            option.initFrom(box);
            option.editable = true;
            option.subControls = QStyle::SC_All;
            const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
            QTest::mouseClick(box, Qt::LeftButton, {}, arrow.center());
            QTRY_VERIFY(box->view()->isVisible());
            QVERIFY(e->Editing());
            QCOMPARE(box->view()->currentIndex().row(), item);
            QCOMPARE(log.names(), QStringList({"BeforeEdit"}));
            QCOMPARE(e->TMatrix(1, 5), state);
            if (round == 0) {
                // Escape closes the list alone; Enter then keeps the cell as it was.
                QTest::keyClick(box->view(), Qt::Key_Escape);
                QTRY_VERIFY(!box->view()->isVisible());
                QVERIFY(e->Editing());
                QTest::keyClick(box, Qt::Key_Return);
                QVERIFY(!e->Editing());
                QCOMPARE(e->TMatrix(1, 1), cell);
                QCOMPARE(log.names().mid(0, 4), QStringList({"BeforeEdit", "BeforeChange", "CiselData", "Change"}));
            } else {
                // The next item down, taken with Enter in the list, then committed.
                const int next = (item + 1) % box->count();
                box->view()->setCurrentIndex(box->model()->index(next, 0));
                QTest::keyClick(box->view(), Qt::Key_Return);
                QTRY_VERIFY(!box->view()->isVisible());
                QCOMPARE(box->currentText(), box->itemText(next));
                QTest::keyClick(box, Qt::Key_Return);
                QCOMPARE(e->TMatrix(1, 1), box->itemText(next));
                QVERIFY(log.entries.contains(QStringLiteral("CiselData ") + box->itemData(next).toString()));
            }
        }
    }

    void codeListBox()
    {
        open([](TestHost &h) { h.nameCodeList = true; });
        e->CiselnikNapln(1, QStringLiteral("Praha"), QStringLiteral("PHA"));
        e->CiselnikNapln(1, QStringLiteral("Brno"), QStringLiteral("BRN"));
        startAt(e, 1, 1);
        EventLog log(e);
        QTest::keyClick(g->view(), 'q');
        auto *box = e->findChild<QComboBox *>(QStringLiteral("cmbEdit"));
        QVERIFY(box->isVisible());
        QCOMPARE(box->count(), 2);
        // The starting key is not typed into the box.
        QCOMPARE(box->currentText(), QStringLiteral("Šroub"));
        box->setCurrentIndex(1);
        pressKey(Qt::Key_Return);
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Brno"));
        QCOMPARE(log.entries.mid(0, 4), QStringList({"BeforeEdit Šroub", "BeforeChange Šroub|Brno", "CiselData BRN",
                                                     "Change Šroub|Brno"}));
        QVERIFY(!box->isVisible());
    }

    void refillingDropsAnOpenEdit()
    {
        open();
        startAt(e, 3, 1);
        QTest::keyClick(g->view(), 'Z');
        m_host->fill({row("7", "Nové")}, 1);
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Nové"));
        QVERIFY(!e->ChangedState());
    }

    void cellCommittedAsItStandsKeepsItsValue_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::newRow("thousands") << "#,##0.00" << 1234.5;
        QTest::newRow("millions") << "Standard" << 1234567.25;
        QTest::newRow("percent") << "Percent" << 12.5;
    }
    void cellCommittedAsItStandsKeepsItsValue()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        open([&format](TestHost &h) { h.priceFormat = format; });
        const QString shown = tabulix::formatNumber(value, format);
        e->TMatrix(1, 2, shown);
        // Enter opens the editor on the cell's text, Enter commits it; twice over.
        for (int round = 0; round < 2; ++round) {
            startAt(e, 1, 2);
            QTest::keyClick(g->view(), Qt::Key_Return);
            QCOMPARE(txtEdit(e)->text(), shown);
            pressKey(Qt::Key_Return);
            QVERIFY(!e->Editing());
            QCOMPARE(e->TMatrix(1, 2), shown);
            QCOMPARE(e->TMatrix(1, 5), QStringLiteral("U"));  // every commit marks the row
        }
    }

    void hostRefillingTheGridInAnEvent_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("newRows");
        QTest::newRow("text, emptied in BeforeChange") << "text" << 0;
        QTest::newRow("text, as many rows in BeforeChange") << "text" << 3;
        QTest::newRow("code list, emptied in CiselData") << "code list" << 0;
        QTest::newRow("code list, as many rows in CiselData") << "code list" << 3;
        QTest::newRow("check box, emptied in BeforeChange") << "check box" << 0;
        QTest::newRow("check box, as many rows in BeforeChange") << "check box" << 3;
    }
    void hostRefillingTheGridInAnEvent()
    {
        QFETCH(QString, edit);
        QFETCH(int, newRows);
        const bool codeList = edit == QLatin1String("code list");
        open([codeList](TestHost &h) { h.nameCodeList = codeList; });
        const QStringList fresh =
            QStringList{row("7", "Nové 1"), row("8", "Nové 2"), row("9", "Nové 3", "N")}.mid(0, newRows);
        bool refilled = false;
        const auto refill = [this, &fresh, &refilled] {
            if (!refilled) {
                refilled = true;
                m_host->fill(fresh, int(fresh.size()));
            }
        };
        if (codeList)
            connect(e, &VarnexEditUni::CiselData, this, [refill](QString &) { refill(); });
        else
            connect(e, &VarnexEditUni::BeforeChange, this, [refill](Variant &, Variant &, bool &) { refill(); });
        EventLog log(e);
        if (edit == QLatin1String("check box")) {
            startAt(e, 3, 4);
            QTest::keyClick(g->view(), Qt::Key_Space);
        } else if (codeList) {
            e->CiselnikNapln(1, QStringLiteral("Praha"), QStringLiteral("PHA"));
            e->CiselnikNapln(1, QStringLiteral("Brno"), QStringLiteral("BRN"));
            startAt(e, 3, 1);
            QTest::keyClick(g->view(), 'q');
            e->findChild<QComboBox *>(QStringLiteral("cmbEdit"))->setCurrentIndex(1);
            pressKey(Qt::Key_Return);
        } else {
            startAt(e, 3, 1);
            QTest::keyClick(g->view(), 'Z');
            typeKeys(QStringLiteral("ed"));
            pressKey(Qt::Key_Return);
        }
        QVERIFY(refilled);
        QVERIFY(!e->Editing());
        QVERIFY(!log.names().contains(QStringLiteral("Change")));
        // The new data is the host's alone: nothing typed, toggled or marked in it.
        QCOMPARE(e->Rows(), 1 + std::max(newRows, 1));
        for (int r = 1; r <= newRows; ++r) {
            const QStringList cells = fresh.at(r - 1).split(QLatin1Char('\t'));
            for (int c = 0; c < cells.size(); ++c)
                QCOMPARE(e->TMatrix(r, c), cells.at(c));
            QCOMPARE(hasMark(g, r, 4), false);
        }
        if (newRows == 0)
            QCOMPARE(e->TMatrix(1, 1), QString());
        QVERIFY(!e->ChangedState());
    }

    void rowDeletedUnderAnOpenEditor_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("height");
        QTest::newRow("marked deleted") << "D" << 300;
        QTest::newRow("hidden") << "X" << 0;
        QTest::newRow("deleted and hidden") << "D" << 0;
    }
    void rowDeletedUnderAnOpenEditor()
    {
        QFETCH(QString, state);
        QFETCH(int, height);
        open();
        startAt(e, 1, 1);
        EventLog log(e);
        QTest::keyClick(g->view(), 'Z');
        // The host deletes the row while the editor is open.
        e->TMatrix(1, 5, state);
        e->RowHeight(1, height);
        pressKey(Qt::Key_Return);
        QVERIFY(!e->Editing());
        QVERIFY(!log.names().contains(QStringLiteral("BeforeChange")));
        QVERIFY(!log.names().contains(QStringLiteral("Change")));
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Šroub"));
        QCOMPARE(e->TMatrix(1, 5), state);
        QCOMPARE(e->RowHeight(1), height);
    }

    void deletedRowStaysDeleted()
    {
        // A row the host marked deleted but still shows: a toggle in it keeps the mark.
        open();
        e->TMatrix(3, 5, QStringLiteral("D"));
        startAt(e, 3, 4);
        QTest::keyClick(g->view(), Qt::Key_Space);
        QCOMPARE(e->TMatrix(3, 4), QStringLiteral("N"));
        QCOMPARE(e->TMatrix(3, 5), QStringLiteral("D"));
    }

    void refusedDateWaitsWhenTheWindowIsLeft()
    {
        open();
        startAt(e, 1, 3);
        QTest::keyClick(g->view(), '3');
        typeKeys(QStringLiteral("1.4.2026"));
        pressKey(Qt::Key_Return);
        QCOMPARE(m_beeps, 1);
        QTRY_COMPARE(QApplication::focusWidget(), txtEdit(e));

        // Another window taking over: no beep, no call back, the text waits.
        QWidget other;
        other.resize(200, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::qWait(50);
        QCOMPARE(m_beeps, 1);
        QCOMPARE(QApplication::activeWindow(), &other);
        QVERIFY(e->Editing());
        QCOMPARE(txtEdit(e)->text(), QStringLiteral("31.4.2026"));
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("05.03.2026"));

        // Back in the window the editor has the focus again; closing the window refuses nothing.
        QVERIFY(m_host->showActive());
        QTRY_COMPARE(QApplication::focusWidget(), txtEdit(e));
        m_host->close();
        QTest::qWait(50);
        QCOMPARE(m_beeps, 1);
        QCOMPARE(e->TMatrix(1, 3), QStringLiteral("05.03.2026"));
    }

    void leavingTheEditorCommits()
    {
        open();
        startAt(e, 1, 1);
        QTest::keyClick(g->view(), 'M');
        typeKeys(QStringLiteral("ez"));
        // A click into another cell of the grid takes the focus and commits first.
        QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 2));
        QVERIFY(!e->Editing());
        QCOMPARE(e->TMatrix(1, 1), QStringLiteral("Mez"));
        QCOMPARE(e->TMatrix(1, 5), QStringLiteral("U"));
    }
};

QTEST_MAIN(TestEditorEditing)
#include "tst_editor_editing.moc"
