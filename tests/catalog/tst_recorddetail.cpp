// The record detail, opened by a double click on an overview row: the record's fields
// and note read-only, one tab per attachment, and what a click on the picture opens.
#include "previewfixture.h"
#include "records/frmDetail.h"
#include "records/frmImg.h"
#include "system.h"
#include "data/currentoverview.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace testsupport;

class TestRecordDetail : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;

    static QStringList tabTexts(const QTabBar &tabs)
    {
        QStringList texts;
        for (int i = 0; i < tabs.count(); ++i)
            texts << tabs.tabText(i);
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<CatalogFolder>();
        m_scope = std::make_unique<QObject>();
        attachmentCatalog(*m_folder);
    }
    void cleanup()
    {
        m_scope.reset();
        delete frmDetail::Loaded();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // In English, a field caption and a description that look like messages ("2,5 mm")
    // stay as the user wrote them; the window's own caption is translated.
    void showsTheRecordAsItStands()
    {
        Db->Execute(QStringLiteral("update Definice set Nazev='2,5 mm' where Sekce=1"));
        Preklady = std::make_unique<MessageList>();
        NactiPreklady(m_folder->file(QStringLiteral("Lang.mdb")), QStringLiteral("2"), *Preklady);
        RecordedOpener opener;
        frmPrehled &overview = showOverview();
        bool checked = false;
        whenShown<frmDetail>(m_scope.get(), [&](frmDetail &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Detail"));
            QCOMPARE(w.lbl.size(), size_t(2));
            QCOMPARE(w.lbl[1]->text(), QStringLiteral("2,5 mm"));
            QCOMPARE(w.cmb[1]->text(), QStringLiteral("B tři přílohy"));
            QVERIFY(w.cmb[1]->isReadOnly());
            QCOMPARE(w.txtPopis->toPlainText(), QStringLiteral("druhá"));
            QVERIFY(w.txtPopis->isReadOnly());
            QCOMPARE(tabTexts(*w.tabS), (QStringList{"2,5 mm", "Plán && mapa", "Sken"}));
            // 300 × 200 px is smaller than the box: natural size, centred in it.
            QVERIFY(w.img->isVisible());
            QCOMPARE(w.img->size(), QSize(300, 200));
            QCOMPARE(w.img->geometry().center(), QRect(4, 4, 465, 349).center());
            QTest::mouseClick(w.tabS, Qt::LeftButton, {}, w.tabS->tabRect(1).center());
            QCOMPARE(w.img->pixmap().toImage(), ObrazekHlavnihoOkna(5).toImage());
            clickAt(&w, w.img);
            QCOMPARE(opener.opened, QStringList{m_folder->path() + QStringLiteral("img/plan.PDF|")});
            checked = true;
            QTest::keyClick(w.cmb[1], Qt::Key_Return);
        });
        doubleClickRow(overview, 2);
        QVERIFY(checked);
        QVERIFY(!frmDetail::Loaded());
    }

    // A record without attachments has no tab and an empty picture that opens nothing;
    // the faulty attachments show their names and open nothing either; Esc closes.
    void emptyAndFaultyPictures()
    {
        RecordedOpener opener;
        ScriptedBoxes boxes;
        frmPrehled &overview = showOverview();
        bool checked = false;
        whenShown<frmDetail>(m_scope.get(), [&](frmDetail &w) {
            QCOMPARE(w.tabS->count(), 0);
            QVERIFY(!w.img->isVisible());
            QTest::mouseClick(w.fra, Qt::LeftButton, {}, w.fra->rect().center());
            QTest::keyClick(w.cmb[1], Qt::Key_Escape);
        });
        doubleClickRow(overview, 1);
        whenShown<frmDetail>(m_scope.get(), [&](frmDetail &w) {
            const QStringList names{"chybi.jpg", "../../etc/passwd", "rozbity.jpg"};
            for (int i = 0; i < 3; ++i) {
                QTest::mouseClick(w.tabS, Qt::LeftButton, {}, w.tabS->tabRect(i).center());
                QVERIFY(!w.img->isVisible());
                QCOMPARE(w.lblSoubor->text(), names[i]);
                QTest::mouseClick(w.lblSoubor, Qt::LeftButton);
            }
            checked = true;
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        doubleClickRow(overview, 3);
        QVERIFY(checked);
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(boxes.shown().empty());
    }

    // Twenty-one fields: the window grows to hold them and the note grows with it.
    void manyFields()
    {
        for (int i = 2; i <= 21; ++i)
            defineField(1, i, i, true, QStringLiteral("Pole %1").arg(i), QStringLiteral("C"));
        frmPrehled &overview = showOverview();
        bool checked = false;
        whenShown<frmDetail>(m_scope.get(), [&](frmDetail &w) {
            QCOMPARE(w.cmb.size(), size_t(22));
            QCOMPARE(w.cmb[21]->y(), sys::toPixels(7290));
            QCOMPARE(w.height(), sys::toPixels(7635));
            QCOMPARE(w.txtPopis->height(), sys::toPixels(1665));
            QCOMPARE(w.cmb[1]->x(), sys::toPixels(1690));
            QCOMPARE(w.cmb[1]->width(), sys::toPixels(2750));
            checked = true;
            w.reject();
        });
        doubleClickRow(overview, 1);
        QVERIFY(checked);
    }
};

QTEST_MAIN(TestRecordDetail)
#include "tst_recorddetail.moc"
