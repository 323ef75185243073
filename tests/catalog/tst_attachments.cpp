// Attaching files to records: the numbering of a record's attachments, the limits the
// database does not keep, and the attachment window reached from the menus as a user
// reaches it.
#include "data/attachments.h"
#include "menudriver.h"
#include "dialogs.h"
#include "previewfixture.h"
#include "records/frmEditace.h"
#include "records/frmPriradObr.h"
#include "system.h"
#include "vberror.h"
#include "data/currentoverview.h"
#include "typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace testsupport;

namespace {

// Answers the file dialog with a path (none: cancelled) and keeps what it was asked.
class ScriptedChooser
{
public:
    explicit ScriptedChooser(std::optional<QString> answer)
    {
        m_previous = dialogs::setFileChooser([this, answer](QWidget *, const dialogs::FileRequest &request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~ScriptedChooser() { dialogs::setFileChooser(m_previous); }
    ScriptedChooser(const ScriptedChooser &) = delete;
    ScriptedChooser &operator=(const ScriptedChooser &) = delete;
    std::vector<dialogs::FileRequest> requests;

private:
    dialogs::FileChooser m_previous;
};

QString rows(qint32 inter)
{
    QStringList list;
    for (const Priloha &p : NactiPrilohy(*Db, inter))
        list << QStringLiteral("%1 %2 %3").arg(p.Poradi).arg(p.Soubor, p.Popis).trimmed();
    return list.join(QStringLiteral(", "));
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

using testsupport::chooseFromMenu;

class TestAttachments : public QObject
{
    Q_OBJECT

    std::unique_ptr<CatalogFolder> m_folder;
    std::unique_ptr<QObject> m_scope;
    QTemporaryDir m_outside;  // where the user's files come from

    // A tab of the preview selected, then the right button on it and an item of the
    // menu that pops up.
    static void chooseFromPopup(frmNahled &preview, int tab, QAction *action)
    {
        QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(tab).center());
        QTest::mousePress(preview.tabS, Qt::RightButton, {}, preview.tabS->tabRect(tab).center());
        testsupport::chooseFromOpenMenu(frmMain::Form().PopupNahledy, action);
    }

    // Katalog, a new attachment: the file chosen and saved, which is refused; the window
    // stays open until closed.
    void addRefused()
    {
        bool ran = false;
        whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
            QTest::mouseClick(w.cmdHledat, Qt::LeftButton);
            QTest::mouseClick(w.cmdUlozit, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuNahledAdd);
        QTRY_VERIFY(ran);
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
        delete frmPriradObr::Loaded();
        frmNahled::Unload();
        frmPrehled::Unload();
        frmMain::Unload();
        m_folder.reset();
    }

    // Removing closes the gap from the removed number on, stamping the rows it moves.
    void removalRenumbers_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("moved");
        QTest::newRow("1 2 3 4 less 2") << QList<int>{1, 2, 3, 4} << 2 << "1 f1, 2 f3, 3 f4" << 2;
        QTest::newRow("1 2 5 7 less 2") << QList<int>{1, 2, 5, 7} << 2 << "1 f1, 2 f5, 3 f7" << 2;
        QTest::newRow("the first") << QList<int>{1, 2} << 1 << "1 f2" << 1;
        QTest::newRow("the last") << QList<int>{1, 2, 3} << 3 << "1 f1, 2 f2" << 0;
    }
    void removalRenumbers()
    {
        QFETCH(QList<int>, before);
        QFETCH(int, removed);
        QFETCH(QString, after);
        QFETCH(int, moved);
        for (int n : before)
            Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) values (20, %1, 'f%1', '')").arg(n));
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (21, 3, 'jiny')"));
        const QDateTime now(QDate(2026, 5, 4), QTime(10, 0));
        OdeberPrilohu(*Ws, *Db, 20, removed, now);
        QCOMPARE(rows(20), after);
        QCOMPARE(rows(21), QStringLiteral("3 jiny"));
        // Only the moved rows carry the new stamp.
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=20 and Aktualizace='2026-05-04 10:00:00'")).toLong(),
                 moved);
    }

    // The renumbering is one transaction: a statement that fails half-way leaves every
    // row as it was, the removed one included.
    void renumberingIsAllOrNothing()
    {
        for (int n : {1, 2, 5, 7})
            Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (20, %1, 'f%1')").arg(n));
        Db->Execute(QStringLiteral("create trigger refuse before update on Obrazky when old.Poradi = 7 "
                                   "begin select raise(abort, 'refused'); end"));
        QVERIFY_THROWS_EXCEPTION(VbError, OdeberPrilohu(*Ws, *Db, 20, 2, QDateTime::currentDateTime()));
        QCOMPARE(rows(20), QStringLiteral("1 f1, 2 f2, 5 f5, 7 f7"));
    }

    // A new attachment takes the highest number + 1; beyond 255, or with a name or a
    // description the columns would not hold, nothing is written.
    void addingAndLimits()
    {
        const QDateTime now = QDateTime::currentDateTime();
        QCOMPARE(UlozPrilohu(*Ws, *Db, 11, 0, QStringLiteral("a.jpg"), QStringLiteral("x"), now), 1);
        for (int n : {1, 2, 4})
            Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (20, %1, 'f')").arg(n));
        QCOMPARE(UlozPrilohu(*Ws, *Db, 20, 0, QStringLiteral("b.jpg"), QString(), now), 5);
        // A number without a row is a new attachment too.
        QCOMPARE(UlozPrilohu(*Ws, *Db, 20, 9, QStringLiteral("c.jpg"), QString(), now), 6);

        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (30, 255, 'f')"));
        const QString fifty(50, QLatin1Char('x'));
        const struct {
            qint32 inter;
            QString soubor, popis;
        } refused[] = {{30, QStringLiteral("d.jpg"), QString()},
                       {11, fifty + QStringLiteral(".jpg"), QString()},
                       {11, QStringLiteral("d.jpg"), fifty + QLatin1Char('y')},
                       {11, QStringLiteral("../../etc/passwd"), QString()},
                       {11, QStringLiteral("sub/d.jpg"), QString()}};
        const long before = scalar(QStringLiteral("select count(*) from Obrazky")).toLong();
        for (const auto &r : refused)
            QVERIFY_THROWS_EXCEPTION(VbError, UlozPrilohu(*Ws, *Db, r.inter, 0, r.soubor, r.popis, now));
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky")).toLong(), before);
        QCOMPARE(UlozPrilohu(*Ws, *Db, 11, 0, fifty.left(46) + QStringLiteral(".pdf"), fifty, now), 2);
    }

    // The old filter text as the file dialog's filters: upper-case names are found too.
    void fileDialogFilters()
    {
        QCOMPARE(dialogs::QtFilters(QStringLiteral("Náhledy (*.jpg;*.gif)|*.jpg;*.gif|Vše (*.*) |*.*")),
                 (QStringList{"Náhledy (*.jpg *.JPG *.gif *.GIF)", "Vše (*)"}));
    }

    // From the Katalog menu: a new attachment from a file outside img/, described by the
    // user; it is copied in, numbered after the highest, and the preview shows it.
    void addFromTheMenu()
    {
        const QString source = m_outside.filePath(QStringLiteral("novy.JPG"));
        writeJpeg(source, QSize(800, 500));
        ScriptedChooser chooser(source);
        frmNahled &preview = previewOn(2);
        bool ran = false;
        whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Přiřazení náhledu / dokumentu"));
            QCOMPARE(w.txtPopis->text(), QStringLiteral("Náhled"));
            QVERIFY(!w.cmdUlozit->isEnabled() && !w.cmdVymazat->isEnabled());
            QTest::mouseClick(w.cmdHledat, Qt::LeftButton);
            QCOMPARE(chooser.requests.size(), size_t(1));
            QCOMPARE(chooser.requests[0].title, QStringLiteral("Vyhledání souboru náhledu nebo dokumentu"));
            QVERIFY(w.img->isVisible());
            // 800 × 500 px is 12000 × 7500 twips: scaled to the area's width.
            QCOMPARE(w.img->width(), sys::toPixels(7995));
            QVERIFY(w.cmdUlozit->isEnabled() && w.cmdVymazat->isEnabled());
            // The description holds 50 characters; what is typed beyond them beeps.
            typeOver(w.txtPopis, QString(55, QLatin1Char('x')));
            QCOMPARE(w.txtPopis->text(), QString(50, QLatin1Char('x')));
            QCOMPARE(sys::beepCount(), 5);
            typeOver(w.txtPopis, QStringLiteral("2,5 mm"));
            QTest::mouseClick(w.cmdUlozit, Qt::LeftButton);
            ran = true;
        });
        chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuNahledAdd);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmPriradObr::Loaded());
        QCOMPARE(rows(12), QStringLiteral("1 foto.JPG 2,5 mm, 2 plan.PDF Plán & mapa, 3 SCAN.GIF Sken, 4 novy.JPG 2,5 mm"));
        QCOMPARE(contents(m_folder->file(QStringLiteral("img/novy.JPG"))), contents(source));
        QCOMPARE(preview.tabS->count(), 5);
        QCOMPARE(preview.tabS->tabText(3), QStringLiteral("2,5 mm"));
    }

    // The preview's tab chooses the attachment by its number, not its place: with
    // numbers 1, 2, 5 the third tab is attachment 5. Re-describing copies nothing.
    void changeTheSelectedTab()
    {
        Db->Execute(QStringLiteral("update Obrazky set Poradi=5 where Inter=12 and Poradi=3"));
        const QByteArray gif = contents(m_folder->file(QStringLiteral("img/SCAN.GIF")));
        frmNahled &preview = previewOn(2);
        bool ran = false;
        whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
            QCOMPARE(w.txtPopis->text(), QStringLiteral("Sken"));
            QVERIFY(w.img->isVisible());
            QVERIFY(w.cmdUlozit->isEnabled());
            typeOver(w.txtPopis, QStringLiteral("Nový sken"));
            QTest::mouseClick(w.cmdUlozit, Qt::LeftButton);
            ran = true;
        });
        chooseFromPopup(preview, 2, frmMain::Form().PopupNahled);
        QTRY_VERIFY(ran);
        QCOMPARE(rows(12), QStringLiteral("1 foto.JPG 2,5 mm, 2 plan.PDF Plán & mapa, 5 SCAN.GIF Nový sken"));
        QCOMPARE(contents(m_folder->file(QStringLiteral("img/SCAN.GIF"))), gif);
        QCOMPARE(preview.tabS->tabText(2), QStringLiteral("Nový sken"));

        // On the note tab there is no attachment to change: a beep, no window.
        chooseFromPopup(preview, 3, frmMain::Form().PopupNahled);
        QTRY_COMPARE(sys::beepCount(), 1);
        QVERIFY(!frmPriradObr::Loaded());
    }

    // The preview menu's description item edits the record the preview shows.
    void describeFromThePopup()
    {
        frmNahled &preview = previewOn(2);
        bool ran = false;
        whenShown<frmEditace>(m_scope.get(), [&](frmEditace &w) {
            QCOMPARE(w.cmb[2]->currentText(), QStringLiteral("B tři přílohy"));
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseFromPopup(preview, 0, frmMain::Form().PopupPopis);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!frmEditace::Loaded());
    }

    // A chosen file whose name lies in img/ already: the question says how many other
    // records use it; No stores nothing and leaves the file, Yes replaces it.
    void nameCollision()
    {
        Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (40, 1, 'FOTO.jpg')"));
        const QString source = m_outside.filePath(QStringLiteral("foto.JPG"));
        writeJpeg(source, QSize(40, 30));
        const QByteArray old = contents(m_folder->file(QStringLiteral("img/foto.JPG")));
        ScriptedChooser chooser(source);
        previewOn(3);
        for (const int answer : {vbNo, vbYes}) {
            ScriptedBoxes boxes;
            boxes.expect(answer);
            bool ran = false;
            whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
                QTest::mouseClick(w.cmdHledat, Qt::LeftButton);
                QTest::mouseClick(w.cmdUlozit, Qt::LeftButton);
                ran = true;
            });
            chooseFromMenu(frmMain::Form().mnuKatalog, nullptr, frmMain::Form().mnuNahledAdd);
            QTRY_VERIFY(ran);
            QTRY_VERIFY(!frmPriradObr::Loaded() || !frmPriradObr::Loaded()->isVisible());
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text, QStringLiteral("Náhled již existuje v adresáři. Přepsat?\n"
                                                           "Počet dalších záznamů, které tento soubor používají: 2"));
            QCOMPARE(boxes.shown()[0].title, QStringLiteral("Přiřazení náhledu / dokumentu"));
            QCOMPARE(boxes.shown()[0].style, vbYesNo | vbExclamation);
            if (answer == vbNo) {
                QCOMPARE(rows(13), QStringLiteral("1 chybi.jpg Chybí, 2 ../../etc/passwd Zlý, 3 rozbity.jpg Rozbitý"));
                QCOMPARE(contents(m_folder->file(QStringLiteral("img/foto.JPG"))), old);
            }
        }
        QCOMPARE(rows(13), QStringLiteral("1 chybi.jpg Chybí, 2 ../../etc/passwd Zlý, 3 rozbity.jpg Rozbitý, 4 foto.JPG Náhled"));
        QCOMPARE(contents(m_folder->file(QStringLiteral("img/foto.JPG"))), contents(source));
    }

    // Removing from the preview's menu: asked first; the gap closes and the file stays.
    void removeFromThePopup()
    {
        frmNahled &preview = previewOn(2);
        ScriptedBoxes boxes;
        boxes.expect(vbYes);
        bool ran = false;
        whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
            QCOMPARE(w.txtPopis->text(), QStringLiteral("Plán & mapa"));
            QTest::mouseClick(w.cmdVymazat, Qt::LeftButton);
            ran = true;
        });
        chooseFromPopup(preview, 1, frmMain::Form().PopupNahled);
        QTRY_VERIFY(ran);
        QCOMPARE(boxes.shown().at(0).text, QStringLiteral("Zrušit přiřazený náhled?"));
        QCOMPARE(rows(12), QStringLiteral("1 foto.JPG 2,5 mm, 2 SCAN.GIF Sken"));
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("img/plan.PDF"))));
        QCOMPARE(preview.tabS->count(), 3);
    }

    // Without a folder img/ beside the program (none, or a file of that name) the save
    // says so, in the language of the settings, rather than blaming the chosen file; the
    // window stays open and nothing is stored.
    void noAttachmentFolder_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fileInItsPlace");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");  // %1 the chosen file, %2 the folder
        const QString czech = QStringLiteral("Při ukládání grafického souboru %1 došlo k chybě:\n"
                                             "Složka náhledů a dokumentů chybí nebo to není složka: %2");
        QTest::newRow("Czech, a file named img") << "1" << true << "Ukládání obrázku" << czech;
        QTest::newRow("Czech, no img") << "1" << false << "Ukládání obrázku" << czech;
        QTest::newRow("English") << "2" << true << "Saving image"
                                 << "While saving image file %1 an error occurred:\n"
                                    "The folder of previews and documents is missing or is not a folder: %2";
        QTest::newRow("Chinese") << "3" << true << "保存图片" << "保存图像文件 %1 时出错：\n预览和文档文件夹不存在或不是文件夹： %2";
    }
    void noAttachmentFolder()
    {
        QFETCH(QString, language);
        QFETCH(bool, fileInItsPlace);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const LanguageFromSettings chosen(*m_folder, language);
        const QString folder = m_folder->file(QStringLiteral("img"));
        QVERIFY(QDir(folder).removeRecursively());
        if (fileInItsPlace)
            writeFile(folder, "not a folder");
        const QString source = m_outside.filePath(QStringLiteral("novy.jpg"));
        writeJpeg(source, QSize(80, 50));
        ScriptedChooser chooser(source);
        previewOn(1);
        ScriptedBoxes boxes;
        boxes.expect(vbOK);
        addRefused();
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].title, title);
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        QCOMPARE(boxes.shown()[0].text, text.arg(source, folder));
        QCOMPARE(rows(11), QString());
        QCOMPARE(QFileInfo(folder).isFile(), fileInItsPlace);
    }

    // Refused saves say why with message 269 and keep the window open: attachment 255
    // taken, a stored name that climbs out of img/.
    void refusedSaves()
    {
        for (int n = 1; n <= 255; ++n)
            Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (11, %1, 'f.pdf')").arg(n));
        const QString source = m_outside.filePath(QStringLiteral("list.doc"));
        writeFile(source, "doc");
        ScriptedChooser chooser(source);
        frmNahled &preview = previewOn(1);
        ScriptedBoxes boxes;
        boxes.expect(vbOK).expect(vbOK);
        addRefused();
        QCOMPARE(boxes.shown().at(0).title, QStringLiteral("Ukládání obrázku"));
        QCOMPARE(boxes.shown().at(0).style, int(vbCritical));
        QCOMPARE(boxes.shown().at(0).text, QStringLiteral("Při ukládání grafického souboru ") + source
                                               + QStringLiteral(" došlo k chybě:\nZáznam již má 255 náhledů a dokumentů."));
        QCOMPARE(scalar(QStringLiteral("select count(*) from Obrazky where Inter=11")).toLong(), 255);
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("img/list.doc"))));

        goToRow(*frmPrehled::Loaded(), 3);
        QTRY_COMPARE(preview.tabS->count(), 4);
        bool ran = false;
        whenShown<frmPriradObr>(m_scope.get(), [&](frmPriradObr &w) {
            QVERIFY(!w.img->isVisible());
            QCOMPARE(w.lblSoubor->text(), QStringLiteral("../../etc/passwd"));
            QTest::mouseClick(w.cmdUlozit, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            ran = true;
        });
        chooseFromPopup(preview, 1, frmMain::Form().PopupNahled);
        QTRY_VERIFY(ran);
        QVERIFY(boxes.shown().at(1).text.endsWith(QStringLiteral("Název souboru musí být holé jméno souboru nejvýše o 50 znacích.")));
        QCOMPARE(rows(13), QStringLiteral("1 chybi.jpg Chybí, 2 ../../etc/passwd Zlý, 3 rozbity.jpg Rozbitý"));
    }
};

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
