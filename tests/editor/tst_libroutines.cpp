// The control library's own SQL literal, message lookup, window translation and typing.
#include "libroutines.h"
#include "messagelist.h"
#include "system.h"
#include "vberror.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

Q_DECLARE_METATYPE(Variant)

class TestLibRoutines : public QObject
{
    Q_OBJECT

    MessageList m_texts;

private Q_SLOTS:
    void initTestCase()
    {
        // Message n is the n-th entry: 1 is English, 2 empty, 3 English.
        m_texts.add(QStringLiteral("1"), QStringLiteral("Select"));
        m_texts.add(QStringLiteral("2"), QString());
        m_texts.add(QStringLiteral("3"), QStringLiteral("Add row"));
    }
    void cleanup() { tabulix::setTexts(nullptr); }

    void csql_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << Variant() << false << "''";
        QTest::newRow("null") << Variant::Null() << false << "null";
        QTest::newRow("apostrophe") << Variant("O'Brien") << false << "'O''Brien'";
        QTest::newRow("czech text") << Variant("Žluťoučký kůň") << false << "'Žluťoučký kůň'";
        QTest::newRow("long") << Variant(-42) << false << "-42";
        QTest::newRow("double") << Variant(2.5) << false << "2.5";
        QTest::newRow("single") << Variant(0.1f) << false << ".1";
        QTest::newRow("true") << Variant(true) << false << "1";
        QTest::newRow("false") << Variant(false) << false << "0";
        QTest::newRow("number text, nbsp group")
            << Variant(QStringLiteral("1\u00A0234,50")) << true << "1234.50";
        QTest::newRow("number text, leading blanks") << Variant("  7,5") << true << "7.5";
        QTest::newRow("number text empty") << Variant("") << true << "0";
        // The date alone, at midnight, in the form dates are stored in.
        QTest::newRow("date drops its time")
            << Variant(QDateTime(QDate(2026, 3, 5), QTime(13, 45, 10), Qt::UTC)) << false
            << "'2026-03-05 00:00:00'";
    }
    void csql()
    {
        QFETCH(Variant, value);
        QFETCH(bool, numeric);
        QFETCH(QString, expected);
        QCOMPARE(tabulix::CSQL(value, numeric), expected);
    }

    void csqlRefusals_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("object") << Variant::fromObject(this) << false;
        // Typed text would go into the statement unquoted.
        QTest::newRow("injection as number") << Variant("1 or 1=1") << true;
        QTest::newRow("word as number") << Variant("abc") << true;
    }
    void csqlRefusals()
    {
        QFETCH(Variant, value);
        QFETCH(bool, numeric);
        try {
            tabulix::CSQL(value, numeric);
            QFAIL("no error raised");
        } catch (const VbError &e) {
            QCOMPARE(e.Number(), 10000);
            QCOMPARE(e.Source(), QStringLiteral("Lib.CSQL"));
            QVERIFY(e.Description().startsWith(QStringLiteral("Data nelze konvertovat do SQL ( VarType=")));
        }
    }

    void prelozText_data()
    {
        QTest::addColumn<bool>("withTexts");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("argumentAfter");
        QTest::newRow("no list") << false << "3,Přidat řádek" << "Přidat řádek" << "Přidat řádek";
        QTest::newRow("translated") << true << "3,Přidat řádek" << "Add row" << "Přidat řádek";
        QTest::newRow("empty entry") << true << "2,Zrušit" << "Zrušit" << "Zrušit";
        QTest::newRow("beyond the list") << true << "455,Další řádek nelze přidat." << "Další řádek nelze přidat."
                                         << "Další řádek nelze přidat.";
        QTest::newRow("no comma") << true << "Položka" << "Položka" << "Položka";
        QTest::newRow("number 0") << true << "0,nic" << "0,nic" << "0,nic";
        // The whole part before the comma is the number, however long.
        QTest::newRow("comma late") << true << "000001,Výběr" << "Select" << "Výběr";
        QTest::newRow("not a number") << true << "Jméno, příjmení" << "Jméno, příjmení" << "Jméno, příjmení";
        QTest::newRow("empty default") << true << "1," << "" << "";
    }
    void prelozText()
    {
        QFETCH(bool, withTexts);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, argumentAfter);
        tabulix::setTexts(withTexts ? &m_texts : nullptr);
        QCOMPARE(tabulix::PrelozText(text), expected);
        QCOMPARE(text, argumentAfter);
    }

    void prelozFormular()
    {
        tabulix::setTexts(&m_texts);
        QWidget window;
        window.setWindowTitle(QStringLiteral("1,Okno"));
        auto *label = new QLabel(QStringLiteral("3,Popis"), &window);
        auto *button = new QPushButton(QStringLiteral("3,Přidat"), &window);
        button->setToolTip(QStringLiteral("1,Tip"));
        auto *edit = new QLineEdit(&window);
        edit->setToolTip(QStringLiteral("3,Pole"));
        auto *tabs = new QTabBar(&window);
        tabs->addTab(QStringLiteral("1,První"));
        auto *menu = new QMenu(&window);
        menu->addAction(QStringLiteral("3,Položka"));

        tabulix::PrelozFormular(&window, 1);
        QCOMPARE(window.windowTitle(), QStringLiteral("1,Okno"));
        QCOMPARE(label->text(), QStringLiteral("Add row"));
        QCOMPARE(button->text(), QStringLiteral("Add row"));
        QCOMPARE(button->toolTip(), QStringLiteral("Select"));
        QCOMPARE(edit->toolTip(), QStringLiteral("Add row"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("Select"));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Add row"));

        tabulix::PrelozFormular(&window);
        QCOMPARE(window.windowTitle(), QStringLiteral("Select"));
    }

    void keyPressInsert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("override");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCursor");
        QTest::addColumn<int>("beeps");
        // Characters selected from the cursor on (negative: back from it); 0 none.
        QTest::addColumn<int>("selected");
        QTest::newRow("at the cursor") << "abd" << 0 << 2 << int('c') << -1 << "abcd" << 3 << 0 << 0;
        QTest::newRow("override") << "ab" << 0 << 2 << int('x') << int(u'č') << "abč" << 3 << 0 << 0;
        QTest::newRow("full box beeps") << "abc" << 3 << 3 << int('d') << -1 << "abc" << 3 << 1 << 0;
        QTest::newRow("control character") << "ab" << 0 << 2 << 8 << -1 << "ab" << 2 << 0 << 0;
        // A code unit above 0x7FFF arrives negative in a 16-bit key code.
        QTest::newRow("chinese") << "" << 0 << 0 << int(qint16(quint16(0x9F8D))) << -1
                                 << QString(QChar(char16_t(0x9F8D))) << 1 << 0 << 0;
        // A selection is replaced by the character, as in any text box.
        QTest::newRow("selection") << "abcd" << 0 << 1 << int('X') << -1 << "aXd" << 2 << 0 << 2;
        QTest::newRow("selection made backwards") << "abcd" << 0 << 3 << int('X') << -1 << "aXd" << 2 << 0 << -2;
        // The limit counts the text as it is after the replacement.
        QTest::newRow("full box, all selected") << "abc" << 3 << 0 << int('d') << -1 << "d" << 1 << 0 << 3;
        QTest::newRow("full box, one selected") << "abc" << 3 << 1 << int('X') << -1 << "aXc" << 2 << 0 << 1;
    }
    void keyPressInsert()
    {
        QFETCH(QString, text);
        QFETCH(int, maxLength);
        QFETCH(int, cursor);
        QFETCH(int, key);
        QFETCH(int, override);
        QFETCH(QString, expected);
        QFETCH(int, expectedCursor);
        QFETCH(int, beeps);
        QFETCH(int, selected);
        auto previous = sys::setBeepHook([](int, int) {});
        sys::resetBeepCount();
        QLineEdit box;
        if (maxLength > 0)
            box.setMaxLength(maxLength);
        box.setText(text);
        box.setCursorPosition(cursor);
        if (selected != 0)
            box.setSelection(cursor, selected);
        qint16 keyAscii = qint16(key);
        tabulix::KeyPressInsert(&box, keyAscii, qint16(override));
        QCOMPARE(keyAscii, qint16(0));
        QCOMPARE(box.text(), expected);
        QCOMPARE(box.cursorPosition(), expectedCursor);
        QCOMPARE(sys::beepCount(), beeps);
        sys::setBeepHook(previous);
    }

    void keyPressInsertIntoCombo()
    {
        QComboBox box;
        box.setEditable(true);
        box.setEditText(QStringLiteral("Pra"));
        qint16 key = 'h';
        tabulix::KeyPressInsert(&box, key);
        QCOMPARE(box.currentText(), QStringLiteral("Prah"));
        // A selection in the box's text is replaced too.
        box.lineEdit()->selectAll();
        key = 'B';
        tabulix::KeyPressInsert(&box, key);
        QCOMPARE(box.currentText(), QStringLiteral("B"));
    }
};

QTEST_MAIN(TestLibRoutines)
#include "tst_libroutines.moc"
