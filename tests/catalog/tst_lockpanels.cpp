// The keyboard panels of the main window's status bar on a real X display: they follow
// the lock keys the user presses. The program runs on an X server of the test's own.
#include "mainwindow/frmMain.h"
#include "catalogfixture.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QtTest>

class TestLockPanels : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // A key pressed and let go on the keyboard of the X server.
    static void press(const QString &key)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), key});
        QVERIFY(xdotool.waitForFinished(10000));
        QCOMPARE(xdotool.exitCode(), 0);
    }

    static QString lit(const frmMain &w)
    {
        QString on;
        for (int panel : {3, 4, 5})
            on += w.Panel(panel)->isEnabled() ? w.Panel(panel)->text() + QLatin1Char(' ') : QString();
        return on.trimmed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("Xvfb is not available");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not available");
        m_folder = std::make_unique<testsupport::CatalogFolder>();
    }
    void cleanupTestCase()
    {
        delete frmMain::Loaded();
        m_folder.reset();
    }

    // Caps Lock and Num Lock light their panels and put them out again; Insert has no
    // state the keyboard keeps, so its panel stays grey.
    void panelsFollowTheLockKeys()
    {
        frmMain &w = frmMain::Form();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // A fresh X server starts with every lock off.
        QCOMPARE(lit(w), QString());
        press(QStringLiteral("Caps_Lock"));
        QTRY_COMPARE(lit(w), QStringLiteral("CAPS"));
        press(QStringLiteral("Num_Lock"));
        QTRY_COMPARE(lit(w), QStringLiteral("CAPS NUM"));
        press(QStringLiteral("Insert"));
        press(QStringLiteral("Caps_Lock"));
        QTRY_COMPARE(lit(w), QStringLiteral("NUM"));
        press(QStringLiteral("Num_Lock"));
        QTRY_COMPARE(lit(w), QString());
    }
};

int main(int argc, char **argv)
{
    // The lock state lives in the X server; the window must run on one.
    const testsupport::VirtualDisplay display;
    if (display.isValid()) {
        qputenv("DISPLAY", display.name().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    TestLockPanels test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lockpanels.moc"
