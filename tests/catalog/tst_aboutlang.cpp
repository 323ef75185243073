// The about window and the language choice, opened from the main window as a user opens
// them: where they stand, what they show, what they store and when they speak.
#include "catalogfixture.h"
#include "common/LinkLabel.h"
#include "common/translation.h"
#include "data/infosettings.h"
#include "grid.h"
#include "mainwindow/frmLang.h"
#include "mainwindow/frmLogo.h"
#include "mainwindow/frmMain.h"
#include "menudriver.h"
#include "modaldriver.h"
#include "msgbox.h"
#include "system.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using testsupport::whenShown;

namespace {

// Answers the restart notice, and while it is up takes the focus from the language
// grid, as a real message box does.
class FocusTakingBoxes : public msgbox::Answerer
{
public:
    FocusTakingBoxes() { m_previous = msgbox::setAnswerer(this); }
    ~FocusTakingBoxes() override { msgbox::setAnswerer(m_previous); }
    msgbox::Answer answer(const msgbox::Shown &box) override
    {
        shown.push_back(box);
        if (frmLang *w = frmLang::Loaded())
            Q_EMIT w->flg->LostFocus();
        return {vbOK, {}};
    }
    std::vector<msgbox::Shown> shown;

private:
    msgbox::Answerer *m_previous = nullptr;
};

}  // namespace

class TestAboutLang : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;

    static frmMain &showMain(const QRect &placement)
    {
        frmMain &main = frmMain::Form();
        main.setGeometry(placement);
        main.show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(&main)); }();
        return main;
    }

    // Opens the language window with a click on the status bar's flag.
    static frmLang *clickFlag()
    {
        QLabel *flag = frmMain::Form().Panel(2);
        QTest::mouseClick(flag, Qt::LeftButton);
        return frmLang::Loaded();
    }

    static QPoint rowCentre(frmLang &w, int row)
    {
        const QTableView *view = w.flg->view();
        return view->visualRect(view->model()->index(row, 2)).center();
    }

    static QImage flagShown() { return frmMain::Form().Panel(2)->pixmap().toImage(); }
    static QImage flagOf(int language) { return frmMain::Form().iml.ListImages(language).toImage(); }

    void loadLanguage(const QString &setting) const { testsupport::loadLanguage(*m_folder, setting); }

private Q_SLOTS:
    void init()
    {
        m_scope = std::make_unique<QObject>();
        SmazInfo(QStringLiteral("Lang"));
        m_folder = std::make_unique<testsupport::CatalogFolder>();
        loadLanguage(QStringLiteral("1"));
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmLogo::Loaded();
        delete frmLang::Loaded();
        frmMain::Unload();
        m_folder.reset();
    }

    // From the menu: centred by the main window's size alone, translated text by text;
    // other keys leave it, Esc closes it.
    void about_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QRect>("mainPlacement");
        QTest::addColumn<QString>("version");
        QTest::newRow("Czech at the top left") << "1" << QRect(0, 0, 900, 700) << "Verze 3.0.4";
        QTest::newRow("English, moved") << "2" << QRect(150, 90, 800, 600) << "Version 3.0.4";
        QTest::newRow("Chinese") << "3" << QRect(0, 0, 900, 700) << "版本 3.0.4";
    }
    void about()
    {
        QFETCH(QString, language);
        QFETCH(QRect, mainPlacement);
        QFETCH(QString, version);
        loadLanguage(language);
        frmMain &main = showMain(mainPlacement);
        bool ran = false;
        whenShown<frmLogo>(m_scope.get(), [&](frmLogo &w) {
            const QSize outer = main.frameGeometry().size();
            QCOMPARE(w.pos(), QPoint(outer.width() / 2 - w.width() / 2, outer.height() / 2 - w.height() / 2));
            QCOMPARE(w.lblVer->text(), version);
            QCOMPARE(w.lblPopis->text(), PrelozText(QStringLiteral("238,Elektronický katalog")));
            // The system the program runs on, in its own words, as in every language.
            QCOMPARE(w.lblPlatform->text(), QSysInfo::prettyProductName());
            QVERIFY(!w.lblPlatform->text().contains(QLatin1String("Win9x")));
            QVERIFY(w.lblCopyright->text().endsWith(QString::number(QDate::currentDate().year())));
            QCOMPARE(w.cmdOK->text(), language == QLatin1String("1") ? QStringLiteral("OK") : PrelozText(QStringLiteral("18,OK")));
            QTest::keyClick(&w, Qt::Key_A);
            QTest::keyClick(&w, Qt::Key_F5);
            QVERIFY(w.isVisible());
            QTest::keyClick(&w, Qt::Key_Escape);
            ran = true;
        });
        testsupport::chooseFromMenu(main.mnuAplikace, nullptr, main.mnuApl);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmLogo::Loaded());
    }

    // A click on the picture closes the window too.
    void aboutClosesOnItsPicture()
    {
        showMain(QRect(0, 0, 800, 600));
        whenShown<frmLogo>(m_scope.get(), [](frmLogo &w) { QTest::mouseClick(w.pic, Qt::LeftButton); });
        frmLogo::LoadForm();
        QVERIFY(!frmLogo::Loaded());
    }

    // Opened with "2" the English row is marked; the window stands over the main window's
    // bottom right corner; a click on "China" stores 3, says the restart notice once (its
    // own box taking the focus closes nothing twice), and the flag turns Chinese.
    void chooseChina()
    {
        loadLanguage(QStringLiteral("2"));
        frmMain &main = showMain(QRect(40, 30, 900, 700));
        frmLang *w = clickFlag();
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->flg->TextMatrix(1, 0), QStringLiteral("X"));
        QCOMPARE(w->flg->TextMatrix(0, 0), QString());
        QCOMPARE(w->flg->TextMatrix(2, 2), QStringLiteral("China"));
        const QRect outer = main.frameGeometry();
        QCOMPARE(w->pos(), QPoint(outer.right() + 1 - sys::toPixels(3650), outer.bottom() + 1 - sys::toPixels(1750)));

        FocusTakingBoxes boxes;
        // Hovering below the last row keeps the last row marked.
        QMouseEvent move(QEvent::MouseMove, rowCentre(*w, 2) + QPoint(0, 6), w->flg->view()->viewport()->mapToGlobal(rowCentre(*w, 2) + QPoint(0, 6)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w->flg->view()->viewport(), &move);
        QTRY_COMPARE(w->flg->Row(), 2);
        QTest::mouseClick(w->flg->view()->viewport(), Qt::LeftButton, {}, rowCentre(*w, 2));
        QTRY_VERIFY(!frmLang::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("Lang")), QStringLiteral("3"));
        QCOMPARE(Jazyk, QStringLiteral("3"));
        QCOMPARE(boxes.shown.size(), size_t(1));
        QCOMPARE(boxes.shown[0].style, vbInformation);
        QCOMPARE(boxes.shown[0].text, PrelozText(QStringLiteral("248,Provedené změny se projeví po restartu aplikace")));
        QCOMPARE(flagShown(), flagOf(3));
    }

    // Esc and the loss of the focus close the window without a change, with the notice.
    void closeWithoutChange_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("focus lost") << false;
    }
    void closeWithoutChange()
    {
        QFETCH(bool, escape);
        UlozInfo(QStringLiteral("Lang"), QStringLiteral("1"));
        showMain(QRect(0, 0, 900, 700));
        frmLang *w = clickFlag();
        QVERIFY(w);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        if (escape)
            QTest::keyClick(w->flg->view(), Qt::Key_Escape);
        else
            Q_EMIT w->flg->LostFocus();
        QTRY_VERIFY(!frmLang::Loaded());
        QCOMPARE(NactiInfo(QStringLiteral("Lang")), QStringLiteral("1"));
        QCOMPARE(Jazyk, QStringLiteral("1"));
        QCOMPARE(flagShown(), flagOf(1));
    }

    // A setting outside 1 to 3 loads the Chinese texts: the flag and the window say so.
    void settingOutsideTheLanguages()
    {
        loadLanguage(QStringLiteral("7"));
        showMain(QRect(0, 0, 900, 700));
        QCOMPARE(flagShown(), flagOf(3));
        frmLang *w = clickFlag();
        QVERIFY(w);
        QCOMPARE(w->flg->TextMatrix(2, 0), QStringLiteral("X"));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        w->close();
        QCOMPARE(flagShown(), flagOf(3));
    }

    // While the program ends the window goes without a word.
    void silentAtTheEnd()
    {
        frmMain &main = showMain(QRect(0, 0, 900, 700));
        QVERIFY(clickFlag());
        testsupport::ScriptedBoxes boxes;  // none expected
        main.close();
        QTRY_VERIFY(!frmLang::Loaded());
    }
};

QTEST_MAIN(TestAboutLang)
#include "tst_aboutlang.moc"
