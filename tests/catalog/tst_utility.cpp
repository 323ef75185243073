// The shared input and utility routines: the tokenizer, the length rule of text boxes,
// synthetic key strokes, the progress bar and the major version number.
#include "common/progressbar.h"
#include "common/tokenizer.h"
#include "common/utility.h"
#include "system.h"
#include "vberror.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Runs a sequence of DalsiPolozka calls: "text|delimiter|n" for each, the answers and the
// n the caller sees afterwards collected as "answer/n".
QStringList run(const QStringList &calls)
{
    QStringList out;
    for (const QString &call : calls) {
        const QStringList parts = call.split(QLatin1Char('|'));
        qint16 n = qint16(parts[2].toInt());
        const QString item = DalsiPolozka(parts[0], parts[1], n);
        out << QStringLiteral("[%1]/%2").arg(item).arg(n);
    }
    return out;
}

// Records the key presses that reach it, before any focus handling.
class KeyRecorder : public QObject
{
public:
    QList<QPair<int, Qt::KeyboardModifiers>> keys;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            keys.append({k->key(), k->modifiers()});
        }
        return false;
    }
};

}  // namespace

class TestUtility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { sys::resetBeepCount(); }

    void pipni()
    {
        QList<QPair<int, int>> heard;
        auto previous = sys::setBeepHook([&](int f, int d) { heard.append({f, d}); });
        Pipni(400, 150);
        sys::setBeepHook(previous);
        QCOMPARE(heard, (QList<QPair<int, int>>{{400, 150}}));
    }

    void dalsiPolozka_data()
    {
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("items in turn, an empty one as a blank")
            << QStringList{"a,,b|,|0", "||0", "||0", "||0", "||0", "||0"}
            << QStringList{"[]/0", "[a]/0", "[ ]/0", "[b]/1", "[]/1", "[]/1"};
        QTest::newRow("the n-th item from the start")
            << QStringList{"a,b,c|,|0", "||2", "||4", "||1", "||3"}
            << QStringList{"[]/0", "[b]/0", "[]/2", "[a]/0", "[c]/1"};
        QTest::newRow("a text that ends with the delimiter")
            << QStringList{"x;y;|;|0", "||0", "||0", "||0"} << QStringList{"[]/0", "[x]/0", "[y]/0", "[]/1"};
        QTest::newRow("a text with n goes on from where it stopped")
            << QStringList{"p--q--r|--|1", "||0", "||0"} << QStringList{"[p]/0", "[q]/0", "[r]/1"};
        QTest::newRow("a new text starts afresh")
            << QStringList{"a,b|,|1", "c,d|,|1", "||0"} << QStringList{"[a]/0", "[c]/0", "[d]/1"};
        QTest::newRow("no delimiter at all") << QStringList{"abc|,|1", "||0"} << QStringList{"[abc]/1", "[]/1"};
        // An empty delimiter would be found where every search starts; callers that read
        // until an empty item would never stop.
        QTest::newRow("empty delimiter ends")
            << QStringList{"abc||0", "||0", "||0"} << QStringList{"[]/0", "[abc]/1", "[]/1"};
        QTest::newRow("Czech and Chinese text")
            << QStringList{"čaj\t中文|\t|0", "||0", "||0"} << QStringList{"[]/0", "[čaj]/0", "[中文]/1"};
    }
    void dalsiPolozka()
    {
        QFETCH(QStringList, calls);
        QFETCH(QStringList, answers);
        QCOMPARE(run(calls), answers);
    }

    void hlavniVerze_data()
    {
        QTest::addColumn<QString>("verze");
        QTest::addColumn<int>("major");
        QTest::newRow("3.0.4") << "3.0.4" << 3;
        QTest::newRow("no dot") << "3" << -1;
        QTest::newRow("dot first") << ".5" << -1;
        QTest::newRow("12.1") << "12.1" << 12;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blanks before") << " 4.2" << 4;
        QTest::newRow("no number before the dot") << "x.1" << 0;
    }
    void hlavniVerze()
    {
        QFETCH(QString, verze);
        QFETCH(int, major);
        QCOMPARE(int(HlavniVerze(verze)), major);
    }

    void hlavniVerzeOverflow()
    {
        QVERIFY_THROWS_EXCEPTION(VbError, HlavniVerze(QStringLiteral("40000.1")));
    }

    void percentages_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<bool>("showEnds");
        QTest::addColumn<int>("percent");
        QTest::newRow("0, ends hidden") << 0.0 << false << 1;
        QTest::newRow("1, ends hidden") << 1.0 << false << 99;
        QTest::newRow("0, ends shown") << 0.0 << true << 0;
        QTest::newRow("1, ends shown") << 1.0 << true << 100;
        QTest::newRow("rounds half up") << 0.125 << false << 13;
        QTest::newRow("just below the end") << 0.996 << false << 99;
        QTest::newRow("just below the end, shown") << 0.996 << true << 100;
        QTest::newRow("middle") << 0.5 << true << 50;
        QTest::newRow("beyond the end") << 1316.0 << false << 99;
        QTest::newRow("beyond the end, shown") << 1316.0 << true << 100;
        QTest::newRow("below the start") << -0.5 << true << 0;
    }
    void percentages()
    {
        QFETCH(double, fraction);
        QFETCH(bool, showEnds);
        QFETCH(int, percent);
        QCOMPARE(ProcentaPrubehu(fraction, showEnds), percent);
    }

    // Dark blue bar on white; the percentage dark blue on white, white inside the bar.
    void progressBarPicture_data()
    {
        QTest::addColumn<float>("fraction");
        QTest::newRow("empty") << 0.0f;
        QTest::newRow("a quarter") << 0.25f;
        QTest::newRow("full") << 1.0f;
    }
    void progressBarPicture()
    {
        QFETCH(float, fraction);
        QLabel picture;
        picture.resize(300, 24);
        KresliPrubeh(picture, fraction, true);
        const QImage image = picture.pixmap().toImage();
        QCOMPARE(image.size(), QSize(300, 24));
        const QRgb blue = qRgb(0, 0, 0x80), white = qRgb(255, 255, 255);
        const int barEnd = int(300 * fraction);
        // Every pixel is one of the two colours, and away from the text the bar decides.
        QSet<QRgb> colours;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 300; ++x)
                colours.insert(image.pixel(x, y) & 0xFFFFFF);
        QVERIFY(colours.size() <= 2);
        QCOMPARE(image.pixel(2, 12) & 0xFFFFFF, (barEnd > 2 ? blue : white) & 0xFFFFFF);
        QCOMPARE(image.pixel(297, 12) & 0xFFFFFF, (barEnd > 297 ? blue : white) & 0xFFFFFF);
        // The text shows in the colour the bar does not have there.
        int inverse = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 120; x < 180; ++x)
                inverse += (image.pixel(x, y) & 0xFFFFFF) == ((barEnd > x ? white : blue) & 0xFFFFFF);
        QVERIFY(inverse > 10);
    }

    // The length rule on a box, typed through the guard as the windows use it.
    void lengthRule_data()
    {
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("beeps");
        QTest::newRow("full box: dropped with a beep") << 5 << "abcde" << "x" << "abcde" << 1;
        QTest::newRow("each key beeps") << 5 << "abcd" << "xyz" << "abcdx" << 2;
        QTest::newRow("no limit of its own") << 0 << "abcde" << "xyz" << "abcdexyz" << 0;
        QTest::newRow("Czech letters") << 10 << "" << "žluťoučký" << "žluťoučký" << 0;
        QTest::newRow("Chinese characters") << 3 << "" << "中文字典" << "中文字" << 1;
    }
    void lengthRule()
    {
        QFETCH(int, maxLength);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(int, beeps);
        QLineEdit box;
        if (maxLength)
            box.setMaxLength(maxLength);
        box.setText(before);
        HlidejDelkuBoxu(box);
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box.text(), after);
        QCOMPARE(sys::beepCount(), beeps);
    }

    // The guard takes characters only: editing keys still edit.
    void editingKeysPass()
    {
        QLineEdit box;
        box.setMaxLength(3);
        box.setText(QStringLiteral("abc"));
        HlidejDelkuBoxu(box);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("ab"));
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.text(), QStringLiteral("b"));
        QCOMPARE(sys::beepCount(), 0);
    }

    // A character typed over a selection replaces it, as in any text box.
    void selectionReplaced()
    {
        QLineEdit box(QStringLiteral("hello"));
        box.setSelection(1, 3);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        HlidejDelku(box, &key, -1);
        QCOMPARE(box.text(), QStringLiteral("hxo"));
        QCOMPARE(box.cursorPosition(), 2);
        QVERIFY(key.isAccepted());
        // A key code given takes the place of the event's character; control codes do nothing.
        HlidejDelku(box, nullptr, qint16(0x010D));
        QCOMPARE(box.text(), QStringLiteral("hxčo"));
        HlidejDelku(box, nullptr, 13);
        HlidejDelku(box, nullptr, 31);
        QCOMPARE(box.text(), QStringLiteral("hxčo"));
        // A selection made backwards is replaced the same way.
        box.setSelection(3, -2);
        HlidejDelku(box, nullptr, 'y');
        QCOMPARE(box.text(), QStringLiteral("hyo"));
        QCOMPARE(box.cursorPosition(), 2);
    }

    // The limit counts the text as it will be after the replacement: a full box takes
    // what is typed over its selected text, and beeps only when it is full again.
    void retypingOverASelection_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("beeps");
        QTest::newRow("all of a full box") << "abcde" << 0 << 5 << "vwxyz" << "vwxyz" << 0;
        QTest::newRow("all of it, typed too long") << "abcde" << 0 << 5 << "uvwxyz" << "uvwxy" << 1;
        QTest::newRow("part of a full box") << "abcde" << 1 << 2 << "XYZ" << "aXYde" << 1;
        QTest::newRow("part of a box not full") << "abc" << 1 << 1 << "XYZ" << "aXYZc" << 0;
    }
    void retypingOverASelection()
    {
        QFETCH(QString, before);
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(int, beeps);
        QLineEdit box;
        box.setMaxLength(5);
        box.setText(before);
        HlidejDelkuBoxu(box);
        box.setSelection(from, length);
        QTest::keyClicks(&box, typed);
        QCOMPARE(box.text(), after);
        QCOMPARE(sys::beepCount(), beeps);
    }

    // An editable combo box takes the keys for its line edit: the limit holds there too,
    // with its beep, and each key goes in once.
    void comboBoxLineEdit()
    {
        QComboBox combo;
        combo.setEditable(true);
        combo.lineEdit()->setMaxLength(5);
        HlidejDelkuBoxu(*combo.lineEdit());
        QTest::keyClicks(&combo, QStringLiteral("abc"));
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("de"));
        QCOMPARE(combo.currentText(), QStringLiteral("abcde"));
        QCOMPARE(sys::beepCount(), 0);
        QTest::keyClicks(&combo, QStringLiteral("fg"));
        QCOMPARE(combo.currentText(), QStringLiteral("abcde"));
        QCOMPARE(sys::beepCount(), 2);
    }

    // Composed text of an input method goes in; what does not fit is cut with a beep.
    void inputMethod()
    {
        QLineEdit box;
        box.setMaxLength(5);
        box.setText(QStringLiteral("abc"));
        HlidejDelkuBoxu(box);
        QInputMethodEvent preedit(QStringLiteral("zhong"), {});
        QCoreApplication::sendEvent(&box, &preedit);
        QInputMethodEvent fits;
        fits.setCommitString(QStringLiteral("中"));
        QCoreApplication::sendEvent(&box, &fits);
        QCOMPARE(box.text(), QStringLiteral("abc中"));
        QCOMPARE(sys::beepCount(), 0);
        QInputMethodEvent tooLong;
        tooLong.setCommitString(QStringLiteral("文字"));
        QCoreApplication::sendEvent(&box, &tooLong);
        QCOMPARE(box.text(), QStringLiteral("abc中文"));
        QCOMPARE(sys::beepCount(), 1);
    }

    void keyStrokes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("qtModifiers");
        QTest::newRow("Tab") << 9 << 0 << int(Qt::Key_Tab) << int(Qt::NoModifier);
        QTest::newRow("Shift+Tab") << 9 << 256 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+A") << 65 << 512 << int(Qt::Key_A) << int(Qt::ControlModifier);
        QTest::newRow("Alt+F4") << 0x73 << 1024 << int(Qt::Key_F4) << int(Qt::AltModifier);
        QTest::newRow("all three") << 0x28 << 0x700 << int(Qt::Key_Down)
                                   << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("high byte of the key ignored") << 0x10D << 0 << int(Qt::Key_Return) << int(Qt::NoModifier);
    }
    void keyStrokes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, qtKey);
        QFETCH(int, qtModifiers);
        QWidget window;
        auto *box = new QLineEdit(&window);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        window.show();
        QApplication::setActiveWindow(&window);
        box->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        KeyRecorder recorder;
        box->installEventFilter(&recorder);
        PosliKlavesu(qint16(key), qint16(modifiers));
        QCOMPARE(recorder.keys.size(), 1);
        QCOMPARE(recorder.keys[0].first, qtKey);
        QCOMPARE(int(recorder.keys[0].second), qtModifiers);
    }

    // Enter and Down become Tab, Up becomes Shift+Tab: the focus walks the boxes.
    void moveBetweenBoxes()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        QLineEdit *boxes[3];
        for (auto &b : boxes)
            layout->addWidget(b = new QLineEdit(&window));
        window.show();
        QApplication::setActiveWindow(&window);
        boxes[0]->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        PosliKlavesu(9, 0);
        QTRY_COMPARE(QApplication::focusWidget(), boxes[1]);
        PosliKlavesu(9, 0);
        QTRY_COMPARE(QApplication::focusWidget(), boxes[2]);
        PosliKlavesu(9, 256);
        QTRY_COMPARE(QApplication::focusWidget(), boxes[1]);
    }
};

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
