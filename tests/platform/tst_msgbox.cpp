// Message and input boxes answered by a script, as tests and scripted runs use them.
#include "msgbox.h"
#include "testsupport.h"

#include <QtTest>

class TestMsgBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Oskal")); }

    void answersAndRecords()
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbNo).expectInput(QStringLiteral("PC2")).expect(vbCancel).expectInput(QString());
        QCOMPARE(MsgBox(QStringLiteral("Opravit?"), vbYesNo + vbQuestion, QStringLiteral("Oprava")), int(vbNo));
        QCOMPARE(InputBox(QStringLiteral("Stanice"), QStringLiteral("Síť"), QStringLiteral("PC1")), QStringLiteral("PC2"));
        QCOMPARE(InputBox(QStringLiteral("Stanice"), QString(), QStringLiteral("PC1")), QString());  // cancelled
        QCOMPARE(InputBox(QStringLiteral("Stanice"), QString(), QStringLiteral("PC1")), QStringLiteral("PC1"));
        QCOMPARE(boxes.shown().size(), size_t(4));
        QCOMPARE(boxes.shown()[0].style, int(vbYesNo + vbQuestion));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Oprava"));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Opravit?"));
        QVERIFY(boxes.shown()[1].input);
        QCOMPARE(boxes.shown()[2].title, QStringLiteral("Oskal"));  // the default title
    }

    void unexpectedBoxIsReported()
    {
        msgbox::ScriptedAnswerer answerer;
        int unexpected = 0;
        answerer.onUnexpected = [&](const msgbox::Shown &) { ++unexpected; };
        msgbox::Answerer *previous = msgbox::setAnswerer(&answerer);
        const int result = MsgBox(QStringLiteral("?"), vbYesNoCancel);
        msgbox::setAnswerer(previous);
        QCOMPARE(unexpected, 1);
        QCOMPARE(result, int(vbCancel));
    }

    void logLine()
    {
        msgbox::Shown box;
        box.style = vbCritical;
        box.title = QStringLiteral("Převod dat");
        box.text = QStringLiteral("Chyba:\r\nřádek 2\rřádek 3\nřádek 4");
        QCOMPARE(msgbox::logLine(box), QStringLiteral("16|Převod dat|Chyba:\\nřádek 2\\nřádek 3\\nřádek 4"));
        box.input = true;
        QVERIFY(msgbox::logLine(box).startsWith(QStringLiteral("input|")));
    }

    // OSKAL_SCRIPT answers line by line and OSKAL_SCRIPT_LOG gets every box.
    void scriptFromEnvironment()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("answers"));
        const QString log = dir.filePath(QStringLiteral("log"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("yes\n\n# comment\nNO\ninput Jan Novák\nok\n");
        f.close();
        qputenv("OSKAL_SCRIPT", script.toUtf8());
        qputenv("OSKAL_SCRIPT_LOG", log.toUtf8());
        msgbox::Answerer *previous = msgbox::answerer();
        QVERIFY(msgbox::installScriptFromEnvironment());
        QCOMPARE(MsgBox(QStringLiteral("a"), vbYesNo, QStringLiteral("t")), int(vbYes));
        QCOMPARE(MsgBox(QStringLiteral("b"), vbYesNo), int(vbNo));
        QCOMPARE(InputBox(QStringLiteral("Jméno"), QStringLiteral("Login")), QStringLiteral("Jan Novák"));
        QCOMPARE(InputBox(QStringLiteral("Jméno"), QStringLiteral("Login"), QStringLiteral("x")), QStringLiteral("x"));
        msgbox::setAnswerer(previous);
        qunsetenv("OSKAL_SCRIPT");
        qunsetenv("OSKAL_SCRIPT_LOG");
        QFile l(log);
        QVERIFY(l.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(l.readAll()),
                 QStringLiteral("4|t|a\n4|Oskal|b\ninput|Login|Jméno\ninput|Login|Jméno\n"));
    }
};

QTEST_GUILESS_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
