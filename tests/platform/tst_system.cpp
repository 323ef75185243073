#include "system.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

class TstSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("rounds down") << 22 << 1;
        QTest::newRow("rounds up") << 23 << 2;
        QTest::newRow("form width") << 9600 << 640;
        QTest::newRow("odd size") << 1000 << 67;
        QTest::newRow("negative down") << -22 << -1;
        QTest::newRow("negative up") << -23 << -2;
    }

    void twips()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(sys::toPixels(twips), pixels);
        QCOMPARE(sys::toPixels(sys::toTwips(pixels)), pixels);
        QVERIFY(qAbs(sys::toTwips(sys::toPixels(twips)) - twips) <= sys::TwipsPerPixel / 2);
        QCOMPARE(sys::toPixels(double(twips)), twips / 15.0);
        QCOMPARE(sys::toTwips(double(pixels) + 0.5), pixels * 15.0 + 7.5);
    }

    void beepThroughHook()
    {
        QList<QPair<int, int>> heard;
        sys::resetBeepCount();
        auto previous = sys::setBeepHook([&](int f, int d) { heard.append({f, d}); });
        sys::Beep(440, 100);
        sys::Beep(880, 50);
        QCOMPARE(heard, (QList<QPair<int, int>>{{440, 100}, {880, 50}}));
        QCOMPARE(sys::beepCount(), 2);

        // Back to the previous hook: ours hears no more, the count goes on.
        auto ours = sys::setBeepHook(previous);
        QVERIFY(ours);
        sys::Beep(440, 10);   // the desktop bell, which must not need a sound device
        QCOMPARE(heard.size(), 2);
        QCOMPARE(sys::beepCount(), 3);

        // An empty hook means the default, never "no hook at all".
        sys::setBeepHook({});
        sys::Beep(1, 1);
        QVERIFY(sys::setBeepHook(previous));
        QCOMPARE(sys::beepCount(), 4);
        sys::resetBeepCount();
        QCOMPARE(sys::beepCount(), 0);
    }

    void hookMayReplaceItself()
    {
        int calls = 0;
        auto previous = sys::setBeepHook([&](int, int) {
            ++calls;
            sys::setBeepHook({});
        });
        sys::Beep(1, 1);
        sys::Beep(1, 1);
        QCOMPARE(calls, 1);
        sys::setBeepHook(previous);
    }

    void keyStateHookAnswers()
    {
        sys::setKeyStateHook([](sys::Key k) -> std::optional<bool> {
            switch (k) {
            case sys::Key::Control: return true;
            case sys::Key::CapsLock: return true;
            case sys::Key::NumLock: return false;
            default: return std::nullopt;
            }
        });
        QVERIFY(sys::isKeyDown(sys::Key::Control));
        QVERIFY(!sys::isKeyDown(sys::Key::Shift));
        QCOMPARE(sys::keyToggled(sys::Key::CapsLock), std::optional<bool>(true));
        QCOMPARE(sys::keyToggled(sys::Key::NumLock), std::optional<bool>(false));
        QCOMPARE(sys::keyToggled(sys::Key::Insert), std::nullopt);

        sys::setKeyStateHook({});
        // Nobody holds a key on the offscreen platform, and lock states are unknown.
        QVERIFY(!sys::isKeyDown(sys::Key::Control));
        QVERIFY(!sys::isKeyDown(sys::Key::CapsLock));
        QCOMPARE(sys::keyToggled(sys::Key::CapsLock), std::nullopt);
    }

    void sendKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << "xa";
        QTest::newRow("shifted") << int(Qt::Key_A) << int(Qt::ShiftModifier) << "xA";
        QTest::newRow("digit") << int(Qt::Key_5) << int(Qt::NoModifier) << "x5";
        QTest::newRow("czech") << int(0x10C) << int(Qt::NoModifier) << "xč";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "";
        QTest::newRow("control letter is no text") << int(Qt::Key_A) << int(Qt::ControlModifier) << "x";
    }

    void sendKey()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, text);
        Form form;
        QVERIFY(form.ready());
        form.first->setText(QStringLiteral("x"));
        sys::sendKey(key, Qt::KeyboardModifiers(mods));
        QCOMPARE(form.first->text(), text);
        if (mods & Qt::ControlModifier)   // Ctrl+A selects instead of typing
            QCOMPARE(form.first->selectedText(), QStringLiteral("x"));
    }

    // What the program uses it for: Enter in an edit becomes Tab, to the next field.
    void tabMovesFocus()
    {
        Form form;
        QVERIFY(form.ready());
        sys::sendKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.second);
        sys::sendKey(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), form.first);
    }

    void sendKeyWithoutFocusIsHarmless()
    {
        QVERIFY(!QApplication::focusWidget());
        sys::sendKey(Qt::Key_A);
    }

    void userAndPaths()
    {
        QVERIFY(!sys::UserName().isEmpty());
        const QByteArray user = qgetenv("USER"), logname = qgetenv("LOGNAME");
        qunsetenv("USER");
        qunsetenv("LOGNAME");
        const QString fromPasswd = sys::UserName();
        qputenv("USER", user);
        qputenv("LOGNAME", logname);
        QVERIFY(!fromPasswd.isEmpty());

        QVERIFY(sys::TempPath().endsWith(QLatin1Char('/')));
        QVERIFY(!sys::TempPath().endsWith(QLatin1String("//")));
        QVERIFY(QDir(sys::TempPath()).exists());
        QVERIFY(!sys::OsName().isEmpty());
    }

private:
    // Two edits in an active window, the first one focused.
    struct Form
    {
        Form()
        {
            auto *layout = new QVBoxLayout(&window);
            first = new QLineEdit;
            second = new QLineEdit;
            layout->addWidget(first);
            layout->addWidget(second);
            window.show();
            window.activateWindow();
            first->setFocus();
        }
        bool ready()
        {
            return QTest::qWaitForWindowActive(&window) && QApplication::focusWidget() == first;
        }
        QWidget window;
        QLineEdit *first = nullptr;
        QLineEdit *second = nullptr;
    };
};

QTEST_MAIN(TstSystem)
#include "tst_system.moc"
