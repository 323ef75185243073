// The preview window beside the overview: its tabs, the pictures and icons it shows and
// fits, what a click opens, and how it follows the overview's rows.
#include "data/attachments.h"
#include "data/infosettings.h"
#include "previewfixture.h"
#include "records/frmImg.h"
#include "records/imagefit.h"
#include "system.h"
#include "data/currentoverview.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabBar>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

using namespace testsupport;

class TestPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;

    static QStringList tabTexts(const QTabBar &tabs)
    {
        QStringList texts;
        for (int i = 0; i < tabs.count(); ++i)
            texts << tabs.tabText(i);
        return texts;
    }

    static void selectTab(frmNahled &preview, int index)
    {
        QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(index).center());
        QCOMPARE(preview.tabS->currentIndex(), index);
    }

private Q_SLOTS:
    void init()
    {
        for (const char *key : {"NahledZoom", "NahledProporce", "NahledWindowWidth", "NahledWindowHeight", "NahledWindowTop",
                                "NahledWindowLeft", "chkAllRecords"})
            SmazInfo(QLatin1String(key));
        m_folder = std::make_unique<CatalogFolder>();
        attachmentCatalog(*m_folder);
    }
    void cleanup()
    {
        frmNahled::Unload();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // The fitting rules, in twips, for a frame of 6000 × 4300 (area 6000 × 4000 above
    // the check boxes' strip).
    void fitting_data()
    {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<bool>("zoom");
        QTest::addColumn<bool>("proporce");
        QTest::addColumn<QRect>("place");
        const QSize small(3000, 2000);
        QTest::newRow("natural, smaller: centred") << small << false << false << QRect(1500, 1000, 3000, 2000);
        QTest::newRow("natural, too wide: left 0, centred down") << QSize(9000, 2000) << false << true << QRect(0, 1000, 9000, 2000);
        QTest::newRow("natural, too high: centred across, top 0") << QSize(3000, 5000) << false << false << QRect(1500, 0, 3000, 5000);
        QTest::newRow("natural, too large: at the corner") << QSize(9000, 6000) << false << false << QRect(0, 0, 9000, 6000);
        QTest::newRow("zoom: fills the area") << small << true << false << QRect(0, 0, 6000, 4000);
        QTest::newRow("zoom, proportions, portrait") << QSize(2000, 4000) << true << true << QRect(2000, 0, 2000, 4000);
        QTest::newRow("zoom, proportions, wide") << QSize(12000, 3000) << true << true << QRect(0, 1250, 6000, 1500);
        // Just above the frame's own ratio (6000:4300) the picture is as wide as the frame
        // and taller than the area: it starts at the top and runs behind the strip.
        QTest::newRow("zoom, proportions, just above the frame's ratio") << QSize(1400, 1000) << true << true
                                                                           << QRect(0, 0, 6000, 4286);
    }
    void fitting()
    {
        QFETCH(QSize, natural);
        QFETCH(bool, zoom);
        QFETCH(bool, proporce);
        QFETCH(QRect, place);
        QCOMPARE(UmistiVNahledu(natural, QSize(6000, 4300), zoom, proporce), place);
    }

    // The detail's box (6975 × 5235 at 60, 60) and the attachment window's area
    // (7995 × 5985 at 60, 510): only a picture that reaches the box is scaled.
    void fittingInBoxes_data()
    {
        QTest::addColumn<bool>("detail");
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QRect>("place");
        QTest::newRow("detail, just smaller") << true << QSize(6974, 5234) << QRect(61, 61, 6974, 5234);
        QTest::newRow("detail, photo 3000 × 2000 px") << true << QSize(45000, 30000) << QRect(60, 353, 6975, 4650);
        QTest::newRow("detail, exactly 4:3") << true << QSize(8000, 6000) << QRect(57, 60, 6980, 5235);
        QTest::newRow("attachment, small") << false << QSize(3000, 2000) << QRect(2558, 2503, 3000, 2000);
        QTest::newRow("attachment, wide") << false << QSize(16000, 6000) << QRect(61, 2004, 7995, 2998);
    }
    void fittingInBoxes()
    {
        QFETCH(bool, detail);
        QFETCH(QSize, natural);
        QFETCH(QRect, place);
        QCOMPARE(detail ? UmistiVDetailu(natural) : UmistiVPrirazeni(natural), place);
    }

    // The kind goes by the name's last three letters in any case; a name that is not a
    // bare file name never becomes a path.
    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("bare");
        QTest::newRow("SCAN.GIF") << "SCAN.GIF" << int(DruhSouboru::Obrazek) << true;
        QTest::newRow("foto.jpg") << "foto.jpg" << int(DruhSouboru::Obrazek) << true;
        QTest::newRow("plan.PDF") << "plan.PDF" << int(DruhSouboru::Pdf) << true;
        QTest::newRow("foto.jpeg") << "foto.jpeg" << int(DruhSouboru::Dokument) << true;
        QTest::newRow("list.doc") << "list.doc" << int(DruhSouboru::Dokument) << true;
        QTest::newRow("climbing out") << "../../etc/passwd" << int(DruhSouboru::Dokument) << false;
        QTest::newRow("absolute") << "/etc/x.jpg" << int(DruhSouboru::Obrazek) << false;
        QTest::newRow("backslash") << "..\\x.pdf" << int(DruhSouboru::Pdf) << false;
        QTest::newRow("dot dot") << ".." << int(DruhSouboru::Dokument) << false;
        QTest::newRow("empty") << "" << int(DruhSouboru::Dokument) << false;
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, bare);
        QCOMPARE(int(DruhPrilohy(name)), kind);
        QCOMPARE(CestaPrilohy(QStringLiteral("/p/"), name), bare ? QStringLiteral("/p/img/") + name : QString());
    }

    // A stored name finds its file in img/ whatever the letter case, its own case first;
    // a name with no file at all stays as it is.
    void fileFoundInAnyCase()
    {
        QCOMPARE(CestaPrilohy(AppPath, QStringLiteral("scan.gif")), m_folder->file(QStringLiteral("img/SCAN.GIF")));
        writeFile(m_folder->file(QStringLiteral("img/scan.gif")), tinyGif());
        QCOMPARE(CestaPrilohy(AppPath, QStringLiteral("scan.gif")), m_folder->file(QStringLiteral("img/scan.gif")));
        QCOMPARE(CestaPrilohy(AppPath, QStringLiteral("jina.gif")), m_folder->file(QStringLiteral("img/jina.gif")));
    }

    // One tab per attachment in Poradi order, captioned with its description as it
    // stands, then the note tab; in English "2,5 mm" is no message.
    void tabs_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("none") << 1 << QStringList{"Description"} << QList<int>{1};
        QTest::newRow("three") << 2 << QStringList{"2,5 mm", "Plán && mapa", "Sken", "Description"} << QList<int>{1, 2, 3, 4};
    }
    void tabs()
    {
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, numbers);
        loadLanguage(*m_folder, QStringLiteral("2"));
        frmNahled &preview = previewOn(row);
        QCOMPARE(tabTexts(*preview.tabS), texts);
        QList<int> shown;
        for (int i = 0; i < preview.tabS->count(); ++i)
            shown << preview.tabS->tabData(i).toInt();
        QCOMPARE(shown, numbers);
        QCOMPARE(preview.tabS->currentIndex(), 0);
        if (row == 1) {
            // The note at once.
            QVERIFY(preview.fraTxt->isVisible());
            QCOMPARE(preview.txt->toPlainText(), QStringLiteral("první poznámka"));
        } else {
            QVERIFY(!preview.fraTxt->isVisible());
            QVERIFY(preview.img->isVisible());
        }
    }

    // A picture shows fitted, a document as its icon, "SCAN.GIF" as a picture; a click on
    // the PDF icon hands the document's path to the desktop, a click on the photo opens
    // the viewer with its name.
    void kindsAndClicks()
    {
        RecordedOpener opener;
        ScriptedBoxes boxes;
        frmNahled &preview = previewOn(2);
        QVERIFY(preview.chkZoom->isChecked() && preview.chkProporce->isChecked());
        // 300 × 200 px fitted into the frame, proportions kept.
        const QSize shown = preview.img->size();
        QVERIFY(!preview.img->pixmap().isNull());
        QVERIFY(qAbs(shown.width() * 2 - shown.height() * 3) <= 3);
        QVERIFY(shown.width() == preview.fra->width() || qAbs(shown.height() - (preview.fra->height() - 20)) <= 1);

        QString caption;
        QSize size;
        QPoint centred, cutOff;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(frmImg::Loaded() && frmImg::Loaded()->isVisible());
            frmImg &viewer = *frmImg::Loaded();
            const auto close = qScopeGuard([&] { clickAt(&viewer, viewer.img); });
            caption = viewer.windowTitle();
            size = viewer.img->size();
            centred = viewer.img->pos() - QPoint((viewer.width() - 300) / 2, (viewer.height() - 200) / 2);
            // After a resize to less than the picture, it is cut off at the edges.
            viewer.resize(200, 100);
            QTest::qWait(50);
            cutOff = viewer.img->pos();
            viewer.resize(600, 400);
        });
        clickAt(&preview, preview.img);
        QCOMPARE(caption, QStringLiteral("Zobrazení:  foto.JPG"));
        QCOMPARE(size, QSize(300, 200));
        QCOMPARE(centred, QPoint(0, 0));
        QCOMPARE(cutOff, QPoint(-50, -50));
        QTRY_VERIFY(!frmImg::Loaded());

        selectTab(preview, 1);
        QCOMPARE(preview.img->pixmap().toImage(), ObrazekHlavnihoOkna(5).toImage());
        clickAt(&preview, preview.img);
        QCOMPARE(opener.opened, QStringList{m_folder->path() + QStringLiteral("img/plan.PDF|")});

        selectTab(preview, 2);
        QVERIFY(!preview.img->pixmap().isNull());
        QVERIFY(preview.img->pixmap().toImage() != ObrazekHlavnihoOkna(4).toImage());
        QCOMPARE(preview.img->property("Tag").toString(), QStringLiteral("SCAN.GIF"));
        QVERIFY(boxes.shown().empty());
    }

    // A missing picture, a stored name that climbs out of img/ and a file that is no
    // picture: an empty frame with the name, no message, and a click opens nothing.
    void brokenAttachments()
    {
        RecordedOpener opener;
        ScriptedBoxes boxes;
        frmNahled &preview = previewOn(3);
        const QStringList names{"chybi.jpg", "../../etc/passwd", "rozbity.jpg"};
        for (int i = 0; i < 3; ++i) {
            selectTab(preview, i);
            QVERIFY(!preview.img->isVisible());
            QCOMPARE(preview.img->property("Tag").toString(), QString());
            QCOMPARE(preview.lblSoubor->text(), names[i]);
            QTest::mouseClick(preview.fra, Qt::LeftButton, {}, preview.fra->rect().center());
            QTest::mouseClick(preview.lblSoubor, Qt::LeftButton);
        }
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(!frmImg::Loaded());
        QVERIFY(boxes.shown().empty());
    }

    // The viewer refuses a file that is no picture with its message.
    void viewerRefusesNoPicture()
    {
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        frmImg::LoadForm(QStringLiteral("rozbity.jpg"));
        QVERIFY(!frmImg::Loaded());
        QCOMPARE(boxes.shown().at(0).text, QStringLiteral("Obrázek nebyl nalezen."));
        QCOMPARE(boxes.shown().at(0).title, QStringLiteral("Náhled"));
    }

    // Moving through the rows quickly loads the preview once, for the row reached.
    void rowChangesAreDebounced()
    {
        for (int i = 0; i < 30; ++i)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'D %2', 1)").arg(100 + i).arg(i, 2, 10, QLatin1Char('0')));
        frmNahled &preview = previewOn(1);
        const int loads = preview.PocetNacteni;
        frmPrehled &overview = *frmPrehled::Loaded();
        goToRow(overview, 25);
        QTest::qWait(600);
        QCOMPARE(preview.PocetNacteni, loads + 1);
        QCOMPARE(tabTexts(*preview.tabS), QStringList{"Popis"});
    }

    // A record deleted while shown leaves nothing of itself; the overview's closing
    // empties the preview too.
    void goneRecordShowsNothing()
    {
        frmNahled &preview = previewOn(2);
        QCOMPARE(preview.tabS->count(), 4);
        Db->Execute(QStringLiteral("delete from Katalog where Inter=12"));
        Db->Execute(QStringLiteral("delete from Obrazky where Inter=12"));
        qint16 refresh = 3;
        frmPrehled::Loaded()->vEdit_Record(refresh);
        QCOMPARE(preview.tabS->count(), 0);
        QVERIFY(!preview.img->isVisible());
        QCOMPARE(preview.txt->toPlainText(), QString());

        Db->Execute(QStringLiteral("update Katalog set Poznamka='poznámka' where Inter=11"));
        goToRow(*frmPrehled::Loaded(), 1);
        QTRY_COMPARE(preview.tabS->count(), 1);
        QCOMPARE(preview.txt->toPlainText(), QStringLiteral("poznámka"));
        frmPrehled::Unload();
        QCOMPARE(preview.tabS->count(), 0);
        QCOMPARE(preview.txt->toPlainText(), QString());
    }

    // A closed preview stays closed: neither the overview's pause nor a record command
    // opens it.
    void closedPreviewStaysClosed()
    {
        frmPrehled &overview = showOverview();
        goToRow(overview, 2);
        QTest::qWait(400);
        qint16 refresh = 3;
        overview.vEdit_Record(refresh);
        QVERIFY(!frmNahled::Loaded());
    }

    // The proportions box shows only with zoom; the choices and the placement outlive
    // the window when it closes in its normal state.
    void checkBoxesAndPlacement()
    {
        frmNahled &preview = previewOn(2);
        QTest::mouseClick(preview.chkZoom, Qt::LeftButton);
        QVERIFY(!preview.chkZoom->isChecked());
        QVERIFY(!preview.chkProporce->isVisible());
        // Natural size: 300 × 200 px, centred.
        QCOMPARE(preview.img->size(), QSize(300, 200));
        QTest::mouseClick(preview.chkZoom, Qt::LeftButton);
        QVERIFY(preview.chkProporce->isVisible());
        QTest::mouseClick(preview.chkProporce, Qt::LeftButton);
        // The whole area above the strip.
        QCOMPARE(preview.img->geometry(), QRect(0, 0, preview.fra->width(), preview.fra->height() - sys::toPixels(300)));
        frmNahled::Unload();
        QCOMPARE(NactiInfo(QStringLiteral("NahledZoom")), QStringLiteral("True"));
        QCOMPARE(NactiInfo(QStringLiteral("NahledProporce")), QStringLiteral("False"));
        frmNahled &again = frmNahled::Form();
        QVERIFY(again.chkZoom->isChecked());
        QVERIFY(!again.chkProporce->isChecked());
    }

    // The real program, scripted with no answers (a box would end it with code 3), opened
    // on a record whose pictures are missing, no picture or outside img/: it shows them
    // without a message and keeps running.
    void realProgramShowsFaultyAttachmentsQuietly()
    {
        Db->Execute(QStringLiteral("update Katalog set Pol1c='0 vadné' where Inter=13"));
        Db.reset();
        Ws.reset();
        const QDir built(builtProgramFolder());
        for (const QString &name : {QStringLiteral("Oskal"), QStringLiteral("libTabulix.so")}) {
            QVERIFY(QFile::copy(built.filePath(name), m_folder->file(name)));
            QFile::setPermissions(m_folder->file(name), QFile::permissions(built.filePath(name)));
        }
        QTemporaryDir home;
        const QString script = home.filePath(QStringLiteral("answers.txt"));
        const QString log = home.filePath(QStringLiteral("boxes.log"));
        writeFile(script, QByteArray());
        QDir(home.path()).mkpath(QStringLiteral("Oskal"));
        writeFile(home.filePath(QStringLiteral("Oskal/Oskal.ini")),
                  "[INFO]\nSekce=1\nNahledWindowShow=true\nVyberWindowShow=false\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.insert(QStringLiteral("OSKAL_SCRIPT"), script);
        env.insert(QStringLiteral("OSKAL_SCRIPT_LOG"), log);
        QProcess oskal;
        oskal.setProcessEnvironment(env);
        oskal.start(m_folder->file(QStringLiteral("Oskal")), {});
        QVERIFY(oskal.waitForStarted());
        QVERIFY2(!oskal.waitForFinished(4000), qPrintable(QStringLiteral("the program ended with code %1").arg(oskal.exitCode())));
        QFile boxes(log);
        QVERIFY2(!boxes.open(QIODevice::ReadOnly) || boxes.readAll().isEmpty(), "a box was shown");
        oskal.terminate();
        if (!oskal.waitForFinished(5000))
            oskal.kill();
        oskal.waitForFinished(5000);
    }

    // The right button on the picture or the tabs pops up the main window's menu.
    void rightButtonPopsUpTheMenu()
    {
        frmNahled &preview = previewOn(2);
        QMenu *menu = frmMain::Form().PopupNahledy;
        clickAt(&preview, preview.img, Qt::RightButton, true);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QTest::mousePress(preview.tabS, Qt::RightButton, {}, preview.tabS->tabRect(0).center());
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
