// The probe, login, wait and save-confirmation windows.
#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "common/Hlaska.h"
#include "common/LinkLabel.h"
#include "common/SaveBox.h"
#include "startup/SystemTest.h"
#include "startup/frmLogin.h"
#include "common/globals.h"
#include "system.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    // The folder's fresh catalog as Db, with the password given (a null QString: Null).
    void openCatalog(const QString &heslo)
    {
        testsupport::openFreshCatalog(*m_folder);
        if (!Db)
            return;
        Db->Execute(QStringLiteral("update S_Param set Heslo=")
                    + (heslo.isNull() ? QStringLiteral("null") : QLatin1Char('\'') + heslo + QLatin1Char('\'')));
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        QVERIFY(m_folder->isValid());
        sys::resetBeepCount();
    }
    void cleanup()
    {
        delete frmLogin::Loaded();
        NastavSelhaniSondy(false);
        Db.reset();
        Ws.reset();
        m_folder.reset();
    }

    // The probe holds the controls and measures the frame; it never shows.
    void probe()
    {
        KorekceVysky = 0;
        {
            SystemTest probe;
            QCOMPARE(probe.windowTitle(), QStringLiteral("Test kompatibility komponent"));
            QVERIFY(probe.findChild<VarnexEditUni *>(QStringLiteral("VarnexEditUni1")));
            QVERIFY(probe.findChild<LinkLabel *>(QStringLiteral("QirLinkUni1")));
            QVERIFY(!probe.isVisible());
        }
        const int smallest = NejmensiVyskaOkna();
        QVERIFY2(smallest > 0, qPrintable(QString::number(smallest)));
        QCOMPARE(int(KorekceVysky), smallest - 405);
        QVERIFY(ZkusSystemTest());
    }

    // The hook stands for control files that are not registered: the control cannot be
    // created, the probe fails, and the measurement is left as it was.
    void failingProbe()
    {
        KorekceVysky = 17;
        NastavSelhaniSondy(true);
        QVERIFY(!ZkusSystemTest());
        QCOMPARE(int(KorekceVysky), 17);
        NastavSelhaniSondy(false);
        QVERIFY(ZkusSystemTest());
    }

    void loginShowsTheUserName()
    {
        const QByteArray saved = qgetenv("USER");
        qputenv("USER", "jana.nováková");
        frmLogin &login = frmLogin::Form();
        qputenv("USER", saved);
        QCOMPARE(login.txtUserName->text(), QStringLiteral("jana.nováková"));
        QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
        QCOMPARE(login.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(login.cmdStorno->text(), QStringLiteral("Storno"));
        QCOMPARE(login.txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(!login.Potvrzeno);
    }

    // The typed password against S_Param.Heslo; a Null one is never matched.
    void password_data()
    {
        QTest::addColumn<QString>("heslo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("right") << "tajné" << "tajné" << true;
        QTest::newRow("wrong") << "tajné" << "tajne" << false;
        QTest::newRow("case counts") << "Heslo" << "heslo" << false;
        QTest::newRow("empty password, empty box") << "" << "" << true;
        QTest::newRow("empty password, something typed") << "" << "x" << false;
        QTest::newRow("Null, empty box") << QString() << "" << false;
        QTest::newRow("Null, the word null") << QString() << "null" << false;
    }
    void password()
    {
        QFETCH(QString, heslo);
        QFETCH(QString, typed);
        QFETCH(bool, confirmed);
        openCatalog(heslo);
        frmLogin &login = frmLogin::Form();
        login.show();
        login.txtPassword->setText(typed);
        testsupport::ScriptedBoxes boxes;
        if (!confirmed)
            boxes.expect(vbOK);
        login.cmdOK->click();
        QCOMPARE(login.Potvrzeno, confirmed);
        QCOMPARE(login.isVisible(), !confirmed);
        if (!confirmed) {
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Špatně zadané heslo."));
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Login"));
            QCOMPARE(boxes.shown()[0].style, int(vbOKOnly));
            // Ready for another try: the password is selected whole.
            QCOMPARE(login.txtPassword->selectedText(), typed);
        }
    }

    // Tries until the password is right; Storno afterwards no longer matters.
    void retriesAndCancel()
    {
        openCatalog(QStringLiteral("abc"));
        {
            frmLogin &login = frmLogin::Form();
            login.show();
            testsupport::ScriptedBoxes boxes;
            boxes.expect(vbOK).expect(vbOK);
            for (const char *typed : {"a", "ab", "abc"}) {
                login.txtPassword->setText(QLatin1String(typed));
                login.cmdOK->click();
            }
            QVERIFY(login.Potvrzeno);
        }
        frmLogin &login = frmLogin::Form();
        login.show();
        login.cmdStorno->click();
        QVERIFY(!login.Potvrzeno);
        QCOMPARE(login.result(), int(QDialog::Rejected));
    }

    // The boxes keep their lengths with a beep; S_Param.Heslo is 20 characters wide.
    void passwordLength()
    {
        frmLogin &login = frmLogin::Form();
        for (int i = 0; i < 22; ++i)
            QTest::sendKeyEvent(QTest::Click, login.txtPassword, Qt::Key_unknown, QStringLiteral("ž"), Qt::NoModifier);
        QCOMPARE(login.txtPassword->text(), QString(20, QChar(0x17E)));
        QCOMPARE(sys::beepCount(), 2);
    }

    void waitWindow()
    {
        Hlaska wait;
        QCOMPARE(wait.lbl->text(), QStringLiteral("Moment prosím..."));
        wait.show();
        wait.Zprava(QStringLiteral("Konverze dat – 中文"));
        QCOMPARE(wait.lbl->text(), QStringLiteral("Konverze dat – 中文"));
    }

    // Shown twice in a row: each time a fresh window with its own text, gone after a second.
    void saveBoxTwice()
    {
        for (int round = 0; round < 2; ++round) {
            SaveBox &box = SaveBox::Form();
            QCOMPARE(box.lbl->text(), QStringLiteral("Změny byly uloženy"));
            QCOMPARE(box.cmd->text(), QStringLiteral("OK"));
            if (round == 0)
                box.Message(QStringLiteral("Definice byly uloženy"));
            QElapsedTimer timer;
            timer.start();
            box.exec();
            QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!SaveBox::Loaded());
        }
    }

    void saveBoxButton()
    {
        SaveBox &box = SaveBox::Form();
        QTimer::singleShot(50, &box, [&box] { box.cmd->click(); });
        QElapsedTimer timer;
        timer.start();
        box.exec();
        QVERIFY(timer.elapsed() < 900);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!SaveBox::Loaded());
    }

    void saveBoxMessageWidth()
    {
        SaveBox &box = SaveBox::Form();
        const int width = box.width();
        box.Message(QStringLiteral("Uloženo"));
        QCOMPARE(box.width(), width);
        QCOMPARE(box.lbl->text(), QStringLiteral("Uloženo"));

        const QString longText = QStringLiteral("Změny definic všech polí sekce byly uloženy a přehled bude znovu načten");
        box.Message(longText);
        QCOMPARE(box.lbl->text(), longText);
        QVERIFY(box.width() > width);
        QCOMPARE(box.width(), box.lbl->width() + sys::toPixels(2000));
        QCOMPARE(box.lbl->x(), sys::toPixels(1000));
        QVERIFY(qAbs(box.cmd->x() + box.cmd->width() / 2 - box.width() / 2) <= 1);
        box.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Asked for again while it closes (closed on its button, gone at the event loop's
    // next turn), the notice is a new window: the closing one is no longer loaded, and
    // the one handed out stays.
    void saveBoxAskedForWhileItCloses()
    {
        const QPointer<SaveBox> closing(&SaveBox::Form());
        closing->show();
        QTest::mouseClick(closing->cmd, Qt::LeftButton);
        QVERIFY(!SaveBox::Loaded());
        const QPointer<SaveBox> next(&SaveBox::Form());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!closing);
        QVERIFY(next);
        QCOMPARE(SaveBox::Loaded(), next.data());
        QCOMPARE(next->lbl->text(), QStringLiteral("Změny byly uloženy"));
        next->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!next);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
