// Translating a window's captions through the message list.
#include "VarnexEditUni.h"
#include "common/globals.h"
#include "common/translation.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT

    // Message n translates to "EN n".
    static void englishList(int count)
    {
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= count; ++i)
            Preklady->add(QString::number(i), QStringLiteral("EN %1").arg(i));
    }

private Q_SLOTS:
    void cleanup() { Preklady.reset(); }

    void window_data()
    {
        QTest::addColumn<int>("keepCaption");
        QTest::newRow("caption translated") << 0;
        QTest::newRow("caption kept") << 1;
    }
    void window()
    {
        QFETCH(int, keepCaption);
        englishList(40);
        QMainWindow form;
        form.setWindowTitle(QStringLiteral("1,Okno"));
        auto *menu = form.menuBar()->addMenu(QStringLiteral("2,Katalog"));
        QAction *item = menu->addAction(QStringLiteral("3,Konec"));
        QMenu *sub = menu->addMenu(QStringLiteral("4,Sekce"));
        QAction *subItem = sub->addAction(QStringLiteral("Knihy"));  // a plain word stays
        menu->addSeparator();

        auto *central = new QWidget(&form);
        form.setCentralWidget(central);
        auto *label = new QLabel(QStringLiteral("5,Název"), central);
        auto *frame = new QGroupBox(QStringLiteral("6,Rámeček"), central);
        auto *button = new QPushButton(QStringLiteral("7,Uložit"), frame);  // inside the frame
        button->setToolTip(QStringLiteral("8,Uloží záznam"));
        auto *check = new QCheckBox(QStringLiteral("9,Vše"), central);
        check->setToolTip(QStringLiteral("10,Všechny záznamy"));
        auto *option = new QRadioButton(QStringLiteral("11,Volba"), central);
        auto *edit = new QLineEdit(QStringLiteral("12,obsah"), central);
        edit->setToolTip(QStringLiteral("13,Text"));
        auto *combo = new QComboBox(central);
        combo->addItem(QStringLiteral("14,položka"));
        combo->setToolTip(QStringLiteral("15,Seznam"));
        auto *tabs = new QTabWidget(central);
        auto *page = new QWidget;
        auto *onPage = new QLabel(QStringLiteral("16,Na kartě"), page);
        tabs->addTab(page, QStringLiteral("17,Karta"));
        tabs->addTab(new QWidget, QStringLiteral("18,Druhá"));
        auto *panel = new QLabel(QStringLiteral("19,Panel"));
        form.statusBar()->addWidget(panel);
        // The control translates itself through its own list; its parts are not the window's.
        auto *control = new VarnexEditUni(central);
        auto *inControl = new QLabel(QStringLiteral("20,Uvnitř"), control);
        // An MDI child is a window of its own.
        auto *mdi = new QMdiArea(central);
        auto *child = new QWidget;
        auto *inChild = new QLabel(QStringLiteral("21,V podřízeném"), child);
        mdi->addSubWindow(child);

        PrelozFormular(form, quint8(keepCaption));

        QCOMPARE(form.windowTitle(), keepCaption == 1 ? QStringLiteral("1,Okno") : QStringLiteral("EN 1"));
        QCOMPARE(menu->title(), QStringLiteral("EN 2"));
        QCOMPARE(item->text(), QStringLiteral("EN 3"));
        QCOMPARE(sub->title(), QStringLiteral("EN 4"));
        QCOMPARE(subItem->text(), QStringLiteral("Knihy"));
        QCOMPARE(label->text(), QStringLiteral("EN 5"));
        QCOMPARE(frame->title(), QStringLiteral("EN 6"));
        QCOMPARE(button->text(), QStringLiteral("EN 7"));
        QCOMPARE(button->toolTip(), QStringLiteral("EN 8"));
        QCOMPARE(check->text(), QStringLiteral("EN 9"));
        QCOMPARE(check->toolTip(), QStringLiteral("EN 10"));
        QCOMPARE(option->text(), QStringLiteral("11,Volba"));
        QCOMPARE(edit->text(), QStringLiteral("12,obsah"));
        QCOMPARE(edit->toolTip(), QStringLiteral("EN 13"));
        QCOMPARE(combo->itemText(0), QStringLiteral("14,položka"));
        QCOMPARE(combo->toolTip(), QStringLiteral("EN 15"));
        QCOMPARE(onPage->text(), QStringLiteral("EN 16"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("EN 17"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("EN 18"));
        QCOMPARE(panel->text(), QStringLiteral("EN 19"));
        QCOMPARE(inControl->text(), QStringLiteral("20,Uvnitř"));
        QCOMPARE(inChild->text(), QStringLiteral("21,V podřízeném"));
    }

    // Without a list the Czech defaults show, the message numbers gone.
    void withoutList()
    {
        QWidget form;
        form.setWindowTitle(QStringLiteral("237,Oskal"));
        auto *label = new QLabel(QStringLiteral("162,Název sekce"), &form);
        PrelozFormular(form, 0);
        QCOMPARE(form.windowTitle(), QStringLiteral("Oskal"));
        QCOMPARE(label->text(), QStringLiteral("Název sekce"));
    }

    void notAWindow()
    {
        englishList(400);
        QWidget form;
        auto *part = new QLabel(QStringLiteral("5,Název"), &form);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        PrelozFormular(*part, 0);
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("EN 341"));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("EN 156"));
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        QCOMPARE(part->text(), QStringLiteral("5,Název"));
    }

    // Rows are taken by position; an entry that is empty falls back to the Czech text.
    // The boxes' own buttons speak the program's language, and a later choice replaces an
    // earlier one.
    void qtButtonsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::newRow("Czech") << "1" << "&Ano" << "&Ne";
        QTest::newRow("English") << "2" << "&Yes" << "&No";
        QTest::newRow("Chinese") << "3" << "是(&Y)" << "否(&N)";
    }
    void qtButtonsFollowTheLanguage()
    {
        QFETCH(QString, jazyk);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        NastavJazykQt(QStringLiteral("3"));
        NastavJazykQt(jazyk);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);
        QCOMPARE(box.button(QMessageBox::No)->text(), no);
        NastavJazykQt(QStringLiteral("2"));
    }

    void lookupByPosition()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Lang.mdb"));
        {
            dao::Workspace ws;
            auto db = ws.CreateDatabase(path);
            db->Execute(QStringLiteral("create table Jazyky (id Long, zaklad LongText, us LongText, chi LongText)"));
            db->Execute(QStringLiteral("insert into Jazyky values (4, 'čtyři', 'four', null)"));
            db->Execute(QStringLiteral("insert into Jazyky values (1, 'jedna', 'one', '一')"));
            db->Execute(QStringLiteral("insert into Jazyky values (2, 'dvě', '', '')"));
        }
        Preklady = std::make_unique<MessageList>();
        NactiPreklady(path, QStringLiteral("2"), *Preklady);
        QCOMPARE(PrelozText(QStringLiteral("1,výchozí")), QStringLiteral("one"));
        QCOMPARE(PrelozText(QStringLiteral("2,výchozí")), QStringLiteral("výchozí"));
        QCOMPARE(PrelozText(QStringLiteral("3,výchozí")), QStringLiteral("four"));
        QCOMPARE(PrelozText(QStringLiteral("4,výchozí")), QStringLiteral("výchozí"));
    }
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
